// Plays a robot program for a few seconds in a small stand-in arena and
// shows the exchange: a circular arena with one still enemy, where only the
// robot's rotations and acceleration are simulated.
//
//   arena_sustituta RUTA_BOT [SEGUNDOS]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "CArenaSustituta.h"
#include "Comun/TextoLocal.h"

namespace {

const double kRadioArena = 9.9;
const double kRadioRobot = 0.5;
const double kEnemigoX = 4.0, kEnemigoY = 3.0;
const double kPaso = 0.03;            // seconds per tick, in real time too
const double kSegundosDetalle = 1.0;  // every line is shown this long

struct SEstado {
    double dX = 0, dY = 0, dRumbo = 0, dCanyon = 0, dRadar = 0;
    double dGiroRobot = 0, dGiroCanyon = 0, dGiroRadar = 0;
    double dVelocidad = 0, dAceleracion = 0, dFreno = 0;
    double dTiempo = 0;
    int nDisparos = 0;
    double dEnergiaDisparada = 0;
};

// Distance along the ray (x, y) + t (cos a, sin a) to a circle's surface
// seen from outside, or -1 when the ray misses it.
double RayoACirculo(double x, double y, double a, double cx, double cy, double r)
{
    const double dx = cx - x, dy = cy - y;
    const double t = dx * std::cos(a) + dy * std::sin(a);
    const double d2 = dx * dx + dy * dy - t * t;
    if (t <= 0 || d2 > r * r)
        return -1;
    return t - std::sqrt(r * r - d2);
}

// Distance along the ray to the arena wall, from inside.
double RayoAPared(double x, double y, double a)
{
    const double b = x * std::cos(a) + y * std::sin(a);
    const double c = x * x + y * y - kRadioArena * kRadioArena;
    return -b + std::sqrt(b * b - c);
}

std::string MensajesDelTick(const SEstado& e)
{
    std::ostringstream m;
    const double dAngulo = e.dRumbo + e.dRadar;
    const double dEnemigo = RayoACirculo(e.dX, e.dY, dAngulo, kEnemigoX, kEnemigoY, kRadioRobot);
    if (dEnemigo >= 0)
        m << "Radar " << dEnemigo << " 0 " << e.dRadar << "\nRobotInfo 100 0\n";
    else
        m << "Radar " << RayoAPared(e.dX, e.dY, dAngulo) << " 2 " << e.dRadar << '\n';
    m << "Coordinates " << e.dX << ' ' << e.dY << ' ' << e.dRumbo << '\n'
      << "Info " << e.dTiempo << ' ' << std::fabs(e.dVelocidad) << ' ' << e.dCanyon << '\n'
      << "Energy 100\n";
    return m.str();
}

void AplicarComando(const std::string& sLinea, SEstado& e)
{
    std::istringstream in(sLinea);
    std::string sComando;
    in >> sComando;
    if (sComando == "Rotate") {
        int nPartes = 0;
        double w = 0;
        in >> nPartes >> w;
        if (nPartes & 1)
            e.dGiroRobot = w;
        if (nPartes & 2)
            e.dGiroCanyon = w;
        if (nPartes & 4)
            e.dGiroRadar = w;
    } else if (sComando == "Accelerate") {
        in >> e.dAceleracion;
    } else if (sComando == "Brake") {
        in >> e.dFreno;
    } else if (sComando == "Shoot") {
        double dEnergia = 0;
        in >> dEnergia;
        e.nDisparos++;
        e.dEnergiaDisparada += dEnergia;
    }
}

void Mover(SEstado& e)
{
    e.dRumbo += e.dGiroRobot * kPaso;
    e.dCanyon += e.dGiroCanyon * kPaso;
    e.dRadar += e.dGiroRadar * kPaso;
    const double dRozamiento = 0.002 * (1 - e.dFreno) + 0.1 * e.dFreno;
    e.dVelocidad =
        e.dVelocidad * (std::max(0.0, 1 - 9.82 * kPaso * dRozamiento) - 0.005 * kPaso) + e.dAceleracion * kPaso;
    e.dX += e.dVelocidad * std::cos(e.dRumbo) * kPaso;
    e.dY += e.dVelocidad * std::sin(e.dRumbo) * kPaso;
    const double dDistancia = std::hypot(e.dX, e.dY);
    const double dLimite = kRadioArena - kRadioRobot;
    if (dDistancia > dLimite) {  // bounce back off the wall
        e.dX *= dLimite / dDistancia;
        e.dY *= dLimite / dDistancia;
        e.dVelocidad = -0.63 * e.dVelocidad;
    }
    e.dTiempo += kPaso;
}

void Mostrar(const char* szPrefijo, const std::string& sTexto)
{
    std::istringstream in(sTexto);
    std::string sLinea;
    while (std::getline(in, sLinea))
        EscribirFormato(stdout, "%s %s\n", szPrefijo, sLinea.c_str());
}

bool Arrancar(CArenaSustituta& arena, const std::string& sRuta)
{
    if (!arena.Iniciar(sRuta))
        return false;
    std::string sLinea;
    for (int i = 0; i < 3 && arena.LeerLinea(sLinea, 2000); ++i)
        EscribirFormato(stdout, "<- %s\n", sLinea.c_str());
    const std::string sInicio = "Initialize 1\nYourName bot\nYourColour ff0000\nGameStarts\nRobotsLeft 2\n";
    Mostrar("->", sInicio);
    arena.Enviar(sInicio);
    arena.Senyalar();
    for (const std::string& s : arena.LeerLineasDurante(200))
        EscribirFormato(stdout, "<- %s\n", s.c_str());
    return arena.SenyalPedida();
}

void Jugar(CArenaSustituta& arena, double dSegundos)
{
    SEstado e;
    int nTicksPorResumen = static_cast<int>(1.0 / kPaso), nTick = 0, nDecisiones = 0;
    while (e.dTiempo < dSegundos) {
        const bool bDetalle = e.dTiempo < kSegundosDetalle;
        const std::string sMensajes = MensajesDelTick(e);
        if (bDetalle)
            Mostrar("->", sMensajes);
        arena.Enviar(sMensajes);
        arena.Senyalar();
        for (const std::string& s : arena.LeerLineasDurante(static_cast<int>(kPaso * 1000))) {
            if (bDetalle)
                EscribirFormato(stdout, "<- %s\n", s.c_str());
            if (s.compare(0, 9, "Rotate 1 ") == 0)
                ++nDecisiones;
            AplicarComando(s, e);
        }
        Mover(e);
        if (++nTick % nTicksPorResumen == 0)
            EscribirFormato(stdout,
                            "t=%.1f s  ticks %d  decisiones %d  posici"
                            "\xF3"
                            "n (%.2f, %.2f)  rumbo %.2f  "
                            "radar %.2f  disparos %d (energ"
                            "\xED"
                            "a %.1f)\n",
                            e.dTiempo, nTick, nDecisiones, e.dX, e.dY, e.dRumbo, e.dRadar, e.nDisparos,
                            e.dEnergiaDisparada);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        EscribirTexto(stderr, "Uso: arena_sustituta RUTA_BOT [SEGUNDOS]\n");
        return 2;
    }
    const double dSegundos = argc > 2 ? std::atof(argv[2]) : 5.0;
    CArenaSustituta arena;
    if (!Arrancar(arena, argv[1])) {
        EscribirFormato(stderr,
                        "ERROR: El robot %s no arranc"
                        "\xF3"
                        " como se esperaba\n",
                        argv[1]);
        return 1;
    }
    Jugar(arena, dSegundos);
    Mostrar("->", "ExitRobot\n");
    arena.Enviar("ExitRobot\n");
    arena.Senyalar();
    int nEstado = 0;
    const bool bFin = arena.EsperarFin(nEstado, 3000);
    for (std::string s; arena.LeerLinea(s, 0);)
        EscribirFormato(stdout, "<- %s\n", s.c_str());
    if (!bFin || !WIFEXITED(nEstado)) {
        EscribirTexto(stderr,
                      "ERROR: El robot no termin"
                      "\xF3"
                      " al recibir ExitRobot\n");
        return 1;
    }
    EscribirFormato(stdout,
                    "El robot termin"
                    "\xF3"
                    " con estado %d\n",
                    WEXITSTATUS(nEstado));
    return WEXITSTATUS(nEstado) == 0 ? 0 : 1;
}
