// Games recorded in the real arena (one scripted robot against a still one,
// every update kept) replayed against the simulator: radar distances to
// walls, free motion, bounces and their damage, pushes of the still robot,
// and whole games.
//
// The recordings print numbers with 6 significant digits (the log's energy
// with 2 decimals), so each comparison allows what that rounding can
// explain on its row, and nothing more.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CPartida.h"
#include "LectorArena.h"

namespace {

struct SChoque {
    int nTipo;
    double dAngulo;
};

// One update of the recorded robot. Position and heading are what it was
// told (before the move, after the rotation); speed is |v| before the
// update's own change; energy is the log's, after the update.
struct SFila {
    double dT = 0, dPaso = 0;
    double dX = 0, dY = 0, dRumbo = 0;
    double dRadarRel = 0, dRadarDist = 0;
    int nRadarTipo = -1;
    double dVelocidad = 0, dEnergia = 0;
    std::vector<SChoque> vChoques;
    double dAcel = 0, dFreno = 0, dGiro = 0;
};

struct SObjetoTraza {
    std::string sTipo;  // "robot:...", "cookie", "mine"
    double dDesde = 0, dHasta = -1;
    double dX = 0, dY = 0, dRumbo = 0;
};

std::string RutaDatos(const std::string& sArchivo) { return std::string(TRAZAS_DATOS) + "/" + sArchivo; }

std::vector<std::string> Campos(const std::string& sLinea)
{
    std::vector<std::string> vs;
    std::string s;
    std::istringstream entrada(sLinea);
    while (std::getline(entrada, s, ','))
        vs.push_back(s);
    if (!sLinea.empty() && sLinea.back() == ',')
        vs.push_back("");
    return vs;
}

double Real(const std::string& s) { return s.empty() ? 0.0 : std::stod(s); }

std::vector<SChoque> Choques(const std::string& s)
{
    std::vector<SChoque> v;
    std::istringstream entrada(s);
    std::string sUno;
    while (std::getline(entrada, sUno, '|')) {
        const size_t nDos = sUno.find(':');
        v.push_back(SChoque{std::stoi(sUno.substr(0, nDos)), std::stod(sUno.substr(nDos + 1))});
    }
    return v;
}

std::vector<SFila> LeerTraza(const std::string& sArena)
{
    std::vector<SFila> vFilas;
    std::ifstream entrada(RutaDatos(sArena + ".csv"));
    std::string sLinea;
    std::getline(entrada, sLinea);  // header
    double dTAnterior = 0;
    while (std::getline(entrada, sLinea)) {
        const std::vector<std::string> c = Campos(sLinea);
        if (c.size() != 13)
            break;
        SFila f;
        f.dT = Real(c[0]);
        f.dPaso = f.dT - dTAnterior;
        dTAnterior = f.dT;
        f.dX = Real(c[1]);
        f.dY = Real(c[2]);
        f.dRumbo = Real(c[3]);
        f.dRadarRel = Real(c[4]);
        f.dRadarDist = Real(c[5]);
        f.nRadarTipo = std::stoi(c[6]);
        f.dVelocidad = Real(c[7]);
        f.dEnergia = Real(c[8]);
        f.vChoques = Choques(c[9]);
        f.dAcel = Real(c[10]);
        f.dFreno = Real(c[11]);
        f.dGiro = Real(c[12]);
        vFilas.push_back(f);
    }
    return vFilas;
}

std::vector<SObjetoTraza> LeerObjetos(const std::string& sArena)
{
    std::vector<SObjetoTraza> v;
    std::ifstream entrada(RutaDatos("objetos.csv"));
    std::string sLinea;
    std::getline(entrada, sLinea);
    while (std::getline(entrada, sLinea)) {
        const std::vector<std::string> c = Campos(sLinea);
        if (c.size() != 8 || c[0] != sArena)
            continue;
        SObjetoTraza o;
        o.sTipo = c[1];
        o.dDesde = Real(c[3]);
        o.dHasta = c[4].empty() ? -1 : Real(c[4]);
        o.dX = Real(c[5]);
        o.dY = Real(c[6]);
        o.dRumbo = Real(c[7]);
        v.push_back(o);
    }
    return v;
}

// Half the last printed digit of a number printed with 6 significant digits.
double MedioDigito(double d)
{
    d = std::fabs(d);
    if (d == 0)
        return 5e-7;
    return 0.5 * std::pow(10.0, std::floor(std::log10(d)) - 5);
}

bool TocaRobot(const SFila& f)
{
    for (const SChoque& c : f.vChoques) {
        if (c.nTipo == ObjetoArena_Robot)
            return true;
    }
    return false;
}

bool SoloParedes(const SFila& f)
{
    for (const SChoque& c : f.vChoques) {
        if (c.nTipo != ObjetoArena_Pared)
            return false;
    }
    return true;
}

// The recorded arenas, written as arena files, and the built-in square,
// which must be the real one.
const char* const kCuadradoIntegrado = "Square (integrada)";
const std::vector<std::string> kArenas = {"Square", "Star", "Forest", "Flower", "Rooms", "Circles", kCuadradoIntegrado};

// The recording an arena of kArenas replays.
std::string Grabacion(const std::string& sArena) { return sArena == kCuadradoIntegrado ? "Square" : sArena; }

bool PrepararPartida(CPartida& partida, const std::string& sArena)
{
    SConfigPartida config;
    config.dTiempoMaximo = 1000;
    config.bObjetosAlAzar = false;
    if (sArena == kCuadradoIntegrado) {
        config.eArena = Arena_Cuadrado;
    } else {
        std::string sError;
        if (!CargarArena(RutaDatos(sArena + ".arena"), config.sArena, sError)) {
            ADD_FAILURE() << sError;
            return false;
        }
        config.eArena = Arena_Archivo;
        config.sNombreArena = sArena;
    }
    return partida.Configurar(config);
}

// ---------------------------------------------------------------- radar

double Rayo(const CPartida& partida, double dX, double dY, double dAngulo)
{
    return partida.DistanciaPared(dX, dY, std::cos(dAngulo), std::sin(dAngulo));
}

TEST(ArenaTrazas, RadarAParedesDesdeElCentroAntesDeMoverse)
{
    for (const std::string& sArena : kArenas) {
        CPartida partida;
        ASSERT_TRUE(PrepararPartida(partida, sArena)) << sArena;
        const std::vector<SFila> vFilas = LeerTraza(Grabacion(sArena));
        ASSERT_GT(vFilas.size(), 1000u) << sArena;
        int nFilas = 0;
        for (const SFila& f : vFilas) {
            if (f.nRadarTipo != ObjetoArena_Pared)
                continue;
            ++nFilas;
            const double dAngulo = f.dRumbo + f.dRadarRel;
            const double dCalculada = Rayo(partida, f.dX, f.dY, dAngulo);
            // What the printed origin and angle allow: the ray cast from the
            // corners of their rounding box.
            const double dDAngulo = MedioDigito(f.dRumbo) + MedioDigito(f.dRadarRel);
            double dCota = MedioDigito(f.dRadarDist) + 1e-9;
            for (int nEsquina = 0; nEsquina < 8; ++nEsquina) {
                const double dX = f.dX + (nEsquina & 1 ? 1 : -1) * MedioDigito(f.dX);
                const double dY = f.dY + (nEsquina & 2 ? 1 : -1) * MedioDigito(f.dY);
                const double dA = dAngulo + (nEsquina & 4 ? 1 : -1) * dDAngulo;
                dCota = std::max(dCota, MedioDigito(f.dRadarDist) + std::fabs(Rayo(partida, dX, dY, dA) - dCalculada));
            }
            EXPECT_NEAR(dCalculada, f.dRadarDist, dCota) << sArena << " t=" << f.dT;
        }
        EXPECT_GT(nFilas, 1000) << sArena;
    }
}

// ---------------------------------------------------------------- motion

// Velocity flown in update k, from the positions told in k and k + 1, and
// how far the printing of those positions and times can put it off.
void VelocidadVolada(const std::vector<SFila>& v, size_t k, double& dVX, double& dVY, double& dError)
{
    const SFila& a = v[k];
    const SFila& b = v[k + 1];
    dVX = (b.dX - a.dX) / a.dPaso;
    dVY = (b.dY - a.dY) / a.dPaso;
    const double dPos = std::hypot(MedioDigito(a.dX) + MedioDigito(b.dX), MedioDigito(a.dY) + MedioDigito(b.dY));
    const double dErrorPaso = MedioDigito(a.dT) + (k > 0 ? MedioDigito(v[k - 1].dT) : 0);
    dError = (dPos + std::hypot(dVX, dVY) * dErrorPaso) / a.dPaso;
}

TEST(ArenaTrazas, MovimientoLibreConRozamientoYFreno)
{
    for (const std::string& sArena : kArenas) {
        const std::vector<SFila> vFilas = LeerTraza(Grabacion(sArena));
        int nFilas = 0;
        for (size_t k = 1; k + 1 < vFilas.size(); ++k) {
            const SFila& f = vFilas[k];
            if (!f.vChoques.empty() || !vFilas[k - 1].vChoques.empty())
                continue;
            double dVX = 0, dVY = 0, dError0 = 0, dVX1 = 0, dVY1 = 0, dError1 = 0;
            VelocidadVolada(vFilas, k - 1, dVX, dVY, dError0);
            VelocidadVolada(vFilas, k, dVX1, dVY1, dError1);
            ActualizarVelocidad(dVX, dVY, f.dRumbo, f.dAcel, f.dFreno, f.dPaso);
            const double dCota = dError0 + dError1 + std::fabs(f.dAcel) * 2 * MedioDigito(f.dT) + 1e-9;
            EXPECT_LE(std::hypot(dVX - dVX1, dVY - dVY1), dCota) << sArena << " t=" << f.dT;
            ++nFilas;
        }
        EXPECT_GT(nFilas, 500) << sArena;
    }
}

// ---------------------------------------------------------------- through the simulator

// What the simulator told the recorded robot in one update.
struct SMensajes {
    double dRadarDist = 0;
    int nRadarTipo = -1;
    double dX = 0, dY = 0, dRumbo = 0, dVelocidad = 0;
    std::vector<SChoque> vChoques;
};

SMensajes Interpretar(const std::string& sTexto)
{
    SMensajes m;
    std::istringstream entrada(sTexto);
    std::string sLinea;
    while (std::getline(entrada, sLinea)) {
        double a = 0, b = 0, c = 0;
        int n = 0;
        if (std::sscanf(sLinea.c_str(), "Radar %lf %d", &a, &n) == 2) {
            m.dRadarDist = a;
            m.nRadarTipo = n;
        } else if (std::sscanf(sLinea.c_str(), "Coordinates %lf %lf %lf", &a, &b, &c) == 3) {
            m.dX = a;
            m.dY = b;
            m.dRumbo = c;
        } else if (std::sscanf(sLinea.c_str(), "Info %lf %lf", &a, &b) == 2) {
            m.dVelocidad = b;
        } else if (std::sscanf(sLinea.c_str(), "Collision %d %lf", &n, &a) == 2) {
            m.vChoques.push_back(SChoque{n, a});
        }
    }
    return m;
}

const size_t kPosicionesVelocidad = 6;

// The recorded robot inside the simulator: robot 0, told everything, its
// controls set by hand from the recording; the still robot is robot 1.
class CRepeticion {
public:
    bool Empezar(const std::string& sArena)
    {
        SControlador texto;
        texto.eTipo = Controlador_Texto;
        texto.fTexto = [this](const std::string& sMensajes, std::string&) { m_sUltimos = sMensajes; };
        m_partida.AddRobot("sonda", texto);
        m_partida.AddRobot("quieto", SControlador());
        if (!PrepararPartida(m_partida, sArena) || !m_partida.EmpezarSecuencia())
            return false;
        m_partida.EmpezarJuego();
        m_partida.ColocarRobot(1, 1e3, 1e3, 0);  // out of the way unless placed
        for (const SObjetoTraza& o : LeerObjetos(Grabacion(sArena))) {
            if (o.sTipo.compare(0, 6, "robot:") == 0)
                m_vQuieto.push_back(o);
            else
                m_vObjetos.push_back(o);
        }
        ColocarQuieto(0);
        return true;
    }

    // The still robot where the recording has it at time t, at rest (it
    // moves only when pushed).
    void ColocarQuieto(double dTiempo)
    {
        const SObjetoTraza* pUltimo = nullptr;
        for (const SObjetoTraza& o : m_vQuieto) {
            if (pUltimo == nullptr || o.dDesde <= dTiempo + 1e-3)
                pUltimo = &o;
        }
        if (pUltimo == nullptr)
            return;
        m_partida.ColocarRobot(1, pUltimo->dX, pUltimo->dY, pUltimo->dRumbo);
        // Moving once pushed: its velocity over the last few recorded
        // positions, each to 1 cm.
        double dVX = 0, dVY = 0;
        const size_t nUltimo = static_cast<size_t>(pUltimo - m_vQuieto.data());
        if (nUltimo >= kPosicionesVelocidad) {
            const SObjetoTraza& a = m_vQuieto[nUltimo - kPosicionesVelocidad];
            const double dLapso = pUltimo->dDesde - a.dHasta;
            if (dLapso > 0 && dLapso < 0.5) {
                dVX = (pUltimo->dX - a.dX) / dLapso;
                dVY = (pUltimo->dY - a.dY) / dLapso;
            }
        }
        m_partida.GetRobotEditable(1).dVX = dVX;
        m_partida.GetRobotEditable(1).dVY = dVY;
    }

    // Cookies and mines appear after the update the recording gives; their
    // energies were not recorded.
    void ColocarObjetos(double dTiempo)
    {
        for (; m_nObjetos < m_vObjetos.size() && m_vObjetos[m_nObjetos].dDesde < dTiempo - 1e-3; ++m_nObjetos) {
            const SObjetoTraza& o = m_vObjetos[m_nObjetos];
            if (o.sTipo == "mine")
                m_partida.AddMina(o.dX, o.dY, 20);
            else
                m_partida.AddGalleta(o.dX, o.dY, 12);
        }
    }

    // Runs update k from the recorded controls; the heading is set from the
    // recording so that its printed rounding does not add up.
    SMensajes Actualizar(const SFila& f)
    {
        SRobot& r = m_partida.GetRobotEditable(0);
        r.dRumbo = f.dRumbo - f.dGiro * f.dPaso;
        r.dGiroCuerpo = f.dGiro;
        r.dRadar = f.dRadarRel;  // turns at a steady rate; its printed angle is what the ray used
        r.dGiroRadar = 0;
        r.dAceleracion = f.dAcel;
        r.dFreno = f.dFreno;
        m_dEnergiaAntes = r.dEnergia;
        m_partida.ActualizarConPaso(f.dPaso);
        return Interpretar(m_sUltimos);
    }

    void Colocar(double dX, double dY, double dVX, double dVY, double dEnergia)
    {
        SRobot& r = m_partida.GetRobotEditable(0);
        r.dX = dX;
        r.dY = dY;
        r.dVX = dVX;
        r.dVY = dVY;
        r.dEnergia = dEnergia;
    }

    const SRobot& Robot() const { return m_partida.GetRobot(0); }
    const SRobot& Quieto() const { return m_partida.GetRobot(1); }

    // How far the radar's distance to the robot, cookie or mine it saw (the
    // simulator found dDist) may be off, given that each sits within 5 mm
    // of where it was placed in x and in y; negative for a grazing ray that
    // such a shift could make miss.
    double CotaRadarObjeto(const SFila& f, double dDist) const
    {
        const double dAngulo = f.dRumbo + f.dRadarRel;
        const double dUX = std::cos(dAngulo), dUY = std::sin(dAngulo);
        std::vector<SObjeto> vCandidatos;
        double dRadio = kRadioObjeto;
        if (f.nRadarTipo == ObjetoArena_Robot) {
            vCandidatos.push_back(SObjeto{Quieto().dX, Quieto().dY, 0});
            dRadio = kRadioRobot;
        } else {
            vCandidatos = f.nRadarTipo == ObjetoArena_Galleta ? m_partida.GetGalletas() : m_partida.GetMinas();
        }
        for (const SObjeto& o : vCandidatos) {
            if (std::fabs(RayoCirculo(f.dX, f.dY, dUX, dUY, o.dX, o.dY, dRadio) - dDist) > 1e-3 * (1 + dDist))
                continue;
            double dCota = MedioDigito(dDist) + MedioDigito(f.dRadarDist) + MedioDigito(f.dX) + MedioDigito(f.dY) +
                           dDist * (MedioDigito(f.dRumbo) + MedioDigito(f.dRadarRel));
            double dDesvio = 0;
            for (int nEsquina = 0; nEsquina < 4; ++nEsquina) {
                const double dT = RayoCirculo(f.dX, f.dY, dUX, dUY, o.dX + (nEsquina & 1 ? 5e-3 : -5e-3),
                                              o.dY + (nEsquina & 2 ? 5e-3 : -5e-3), dRadio);
                if (dT < 0)
                    return -1;
                dDesvio = std::max(dDesvio, std::fabs(dT - dDist));
            }
            return dCota + dDesvio;
        }
        ADD_FAILURE() << "t=" << f.dT << ": the radar's object is not among those placed";
        return -1;
    }
    double Holgura() const { return m_partida.GetGeometria().Holgura(Robot().dX, Robot().dY, kRadioRobot); }
    double Danyo() const { return m_dEnergiaAntes - Robot().dEnergia; }

private:
    CPartida m_partida;
    std::vector<SObjetoTraza> m_vQuieto;   // its recorded positions, in time order
    std::vector<SObjetoTraza> m_vObjetos;  // in order of appearance
    size_t m_nObjetos = 0;
    std::string m_sUltimos;
    double m_dEnergiaAntes = 0;
};

// Each bounce from the recorded state just before it: speed after it,
// damage, where the rest of the step took the robot, and the message.
TEST(ArenaTrazas, CadaReboteDesdeElEstadoGrabado)
{
    for (const std::string& sArena : kArenas) {
        CRepeticion repeticion;
        ASSERT_TRUE(repeticion.Empezar(sArena)) << sArena;
        const std::vector<SFila> vFilas = LeerTraza(Grabacion(sArena));
        int nRebotes = 0, nAlFilo = 0;
        for (size_t k = 2; k + 1 < vFilas.size(); ++k) {
            const SFila& f = vFilas[k];
            if (f.vChoques.empty() || !SoloParedes(f) || !vFilas[k - 1].vChoques.empty())
                continue;
            double dVX = 0, dVY = 0, dError = 0;
            VelocidadVolada(vFilas, k - 1, dVX, dVY, dError);
            repeticion.Colocar(f.dX, f.dY, dVX, dVY, 100);
            repeticion.ColocarQuieto(vFilas[k - 1].dT);
            const SMensajes m = repeticion.Actualizar(f);
            if (m.vChoques.size() != f.vChoques.size() && repeticion.Holgura() < dError * f.dPaso) {
                ++nAlFilo;  // the recorded robot just reached the wall: within rounding either way
                continue;
            }
            ASSERT_EQ(m.vChoques.size(), f.vChoques.size()) << sArena << " t=" << f.dT;
            // A bounce can at most double a velocity error; the angle and the
            // new speed are printed to 6 digits.
            const double dCotaV = 2 * dError + MedioDigito(vFilas[k + 1].dVelocidad) + 1e-9;
            const SRobot& r = repeticion.Robot();
            EXPECT_NEAR(std::hypot(r.dVX, r.dVY), vFilas[k + 1].dVelocidad, dCotaV) << sArena << " t=" << f.dT;
            EXPECT_NEAR(r.dX, vFilas[k + 1].dX, dCotaV * f.dPaso + 2e-5) << sArena << " t=" << f.dT;
            EXPECT_NEAR(r.dY, vFilas[k + 1].dY, dCotaV * f.dPaso + 2e-5) << sArena << " t=" << f.dT;
            for (size_t i = 0; i < f.vChoques.size(); ++i) {
                EXPECT_EQ(m.vChoques[i].nTipo, ObjetoArena_Pared);
                EXPECT_NEAR(m.vChoques[i].dAngulo, f.vChoques[i].dAngulo, 1e-3) << sArena << " t=" << f.dT;
            }
            // Damage goes as the square of the speed change; the log's energy
            // has 2 decimals.
            const double dDanyo = repeticion.Danyo();
            const double dCotaDanyo = 0.01 + 2 * dDanyo * 2 * dError / std::max(0.1, std::hypot(dVX, dVY));
            EXPECT_NEAR(dDanyo, vFilas[k - 1].dEnergia - f.dEnergia, dCotaDanyo) << sArena << " t=" << f.dT;
            ++nRebotes;
        }
        EXPECT_GT(nRebotes, 20) << sArena;
        EXPECT_LE(nAlFilo, 2) << sArena;
    }
}

// The three pushes of the still robot, from the recorded state before each:
// speed after it and the message. The still robot's place is recorded to
// 1 cm, which turns the contact normal by up to 0.015 rad; its velocity,
// from positions 1 cm apart, is off by up to about 0.05 m/s.
TEST(ArenaTrazas, EmpujonesAlRobotQuieto)
{
    int nEmpujones = 0;
    for (const char* szArena : {"Flower", "Rooms"}) {
        const std::string sArena = szArena;
        CRepeticion repeticion;
        ASSERT_TRUE(repeticion.Empezar(sArena));
        const std::vector<SFila> vFilas = LeerTraza(sArena);
        for (size_t k = 2; k + 1 < vFilas.size(); ++k) {
            const SFila& f = vFilas[k];
            if (!TocaRobot(f) || !vFilas[k - 1].vChoques.empty())
                continue;
            double dVX = 0, dVY = 0, dError = 0;
            VelocidadVolada(vFilas, k - 1, dVX, dVY, dError);
            repeticion.Colocar(f.dX, f.dY, dVX, dVY, 100);
            repeticion.ColocarQuieto(vFilas[k - 1].dT);
            const SRobot& o = repeticion.Quieto();
            const double dRelativa = std::hypot(dVX - o.dVX, dVY - o.dVY);
            const SMensajes m = repeticion.Actualizar(f);
            ASSERT_EQ(m.vChoques.size(), 1u) << sArena << " t=" << f.dT;
            EXPECT_EQ(m.vChoques[0].nTipo, ObjetoArena_Robot);
            EXPECT_NEAR(m.vChoques[0].dAngulo, f.vChoques[0].dAngulo, 0.02) << sArena << " t=" << f.dT;
            const SRobot& r = repeticion.Robot();
            EXPECT_NEAR(std::hypot(r.dVX, r.dVY), vFilas[k + 1].dVelocidad, 0.015 * dRelativa + 0.05 + 2 * dError)
                << sArena << " t=" << f.dT;
            ++nEmpujones;
        }
    }
    EXPECT_EQ(nEmpujones, 3);
}

// Wall collisions of a row, in order.
std::vector<SChoque> DeParedes(const std::vector<SChoque>& v)
{
    std::vector<SChoque> w;
    for (const SChoque& c : v) {
        if (c.nTipo == ObjetoArena_Pared)
            w.push_back(c);
    }
    return w;
}

std::vector<SChoque> DeObjetos(const std::vector<SChoque>& v)
{
    std::vector<SChoque> w;
    for (const SChoque& c : v) {
        if (c.nTipo == ObjetoArena_Galleta || c.nTipo == ObjetoArena_Mina)
            w.push_back(c);
    }
    return w;
}

// Cookies and mines sit where the recording put them to 1 cm, so a touch
// may come one update apart, from a direction a few hundredths apart.
void ExpectMismosToques(const std::vector<std::vector<SChoque>>& vSim, const std::vector<std::vector<SChoque>>& vReal,
                        const std::string& sArena)
{
    int nSim = 0, nReal = 0;
    for (size_t k = 0; k < vReal.size(); ++k) {
        nSim += static_cast<int>(vSim[k].size());
        nReal += static_cast<int>(vReal[k].size());
        for (const SChoque& c : vReal[k]) {
            bool bVisto = false;
            for (size_t j = k > 0 ? k - 1 : 0; j <= k + 1 && j < vSim.size(); ++j) {
                for (const SChoque& s : vSim[j])
                    bVisto = bVisto || (s.nTipo == c.nTipo && std::fabs(s.dAngulo - c.dAngulo) < 0.05);
            }
            EXPECT_TRUE(bVisto) << sArena << " tipo " << c.nTipo << " fila " << k << " angulo " << c.dAngulo;
        }
    }
    EXPECT_EQ(nSim, nReal) << sArena;
}

// The whole game from rest, with the recorded controls and steps; the
// position is taken from the recording at each update (a hair's error at a
// round pillar would otherwise grow bounce by bounce), the velocity is the
// simulator's own all game long. The still robot is recorded to 1 cm, so a
// replay ends where the recorded robot first pushes it.
TEST(ArenaTrazas, PartidaEnteraRepetidaSigueLaGrabada)
{
    const double kTolVelocidad = 1e-3;  // five hundred times the printed speed's rounding
    for (const std::string& sArena : kArenas) {
        CRepeticion repeticion;
        ASSERT_TRUE(repeticion.Empezar(sArena)) << sArena;
        const std::vector<SFila> vFilas = LeerTraza(Grabacion(sArena));
        repeticion.Colocar(vFilas[0].dX, vFilas[0].dY, 0, 0, 100);
        double dMaxPos = 0, dMaxVel = 0, dMaxDanyo = 0;
        int nParedes = 0, nObjetosVistos = 0;
        size_t k = 0;
        std::vector<std::vector<SChoque>> vObjetosSim, vObjetosReal;
        for (; k + 1 < vFilas.size() && !TocaRobot(vFilas[k]); ++k) {
            const SFila& f = vFilas[k];
            const SFila& g = vFilas[k + 1];
            const std::string sDonde = sArena + " t=" + std::to_string(f.dT);
            repeticion.ColocarObjetos(f.dT);
            repeticion.Colocar(f.dX, f.dY, repeticion.Robot().dVX, repeticion.Robot().dVY, repeticion.Robot().dEnergia);
            const SMensajes m = repeticion.Actualizar(f);
            ASSERT_NEAR(m.dVelocidad, f.dVelocidad, kTolVelocidad) << sDonde;
            ASSERT_EQ(m.nRadarTipo, f.nRadarTipo) << sDonde;
            if (f.nRadarTipo != ObjetoArena_Pared) {
                // Walls are checked on every row above; here the other robot,
                // cookies and mines, which the recording places to 1 cm.
                const double dCota = repeticion.CotaRadarObjeto(f, m.dRadarDist);
                if (dCota >= 0) {
                    EXPECT_NEAR(m.dRadarDist, f.dRadarDist, dCota) << sDonde;
                    ++nObjetosVistos;
                }
            }
            // Where the move ends: the velocity's tolerance over the step, the
            // rounding of both positions, and of the step at this speed.
            const SRobot& r = repeticion.Robot();
            const double dCota = kTolVelocidad * f.dPaso + MedioDigito(f.dX) + MedioDigito(g.dX) + MedioDigito(f.dY) +
                                 MedioDigito(g.dY) + std::hypot(r.dVX, r.dVY) * 2 * MedioDigito(f.dT);
            const double dError = std::hypot(r.dX - g.dX, r.dY - g.dY);
            ASSERT_LE(dError, dCota) << sDonde;
            dMaxPos = std::max(dMaxPos, dError);
            dMaxVel = std::max(dMaxVel, std::fabs(m.dVelocidad - f.dVelocidad));
            const std::vector<SChoque> vSim = DeParedes(m.vChoques);
            const std::vector<SChoque> vReal = DeParedes(f.vChoques);
            ASSERT_EQ(vSim.size(), vReal.size()) << sDonde;
            for (size_t i = 0; i < vSim.size(); ++i)
                EXPECT_NEAR(vSim[i].dAngulo, vReal[i].dAngulo, 1e-3) << sDonde;
            if (!vReal.empty() && SoloParedes(f) && k > 0) {
                ++nParedes;
                const double dReal = vFilas[k - 1].dEnergia - f.dEnergia;
                dMaxDanyo = std::max(dMaxDanyo, std::fabs(repeticion.Danyo() - dReal));
                EXPECT_NEAR(repeticion.Danyo(), dReal, 0.01 + 1e-9) << sDonde;  // two energies to 2 decimals
            }
            vObjetosSim.push_back(DeObjetos(m.vChoques));
            vObjetosReal.push_back(DeObjetos(f.vChoques));
        }
        EXPECT_GT(k, 400u) << sArena;
        EXPECT_GT(nObjetosVistos, 5) << sArena;
        ExpectMismosToques(vObjetosSim, vObjetosReal, sArena);
        std::printf(
            "%s: %zu updates, %d bounces, %d objects seen, |dpos| <= %.1e m, |dv| <= %.1e m/s, |ddamage| <= %.3f\n",
            sArena.c_str(), k, nParedes, nObjetosVistos, dMaxPos, dMaxVel, dMaxDanyo);
    }
}

}  // namespace
