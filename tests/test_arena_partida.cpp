// The simulated arena as a whole: messages, commands, shots, collisions,
// deaths and points, determinism, recording.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CGrabacion.h"
#include "CPartida.h"
#include "apoyo/Textos.h"

namespace {

// A text robot that records every batch of messages and answers call n
// with vsRespuestas[n] (nothing once they run out). Call 0 carries
// "Initialize", call 1 the game start, call k + 1 update k.
struct SRobotTexto {
    std::vector<std::string> vsRecibidos;
    std::vector<std::string> vsRespuestas;

    SControlador Controlador()
    {
        SControlador c;
        c.eTipo = Controlador_Texto;
        c.fTexto = [this](const std::string& sMensajes, std::string& sComandos) {
            const size_t n = vsRecibidos.size();
            vsRecibidos.push_back(sMensajes);
            if (n < vsRespuestas.size())
                sComandos = vsRespuestas[n];
        };
        return c;
    }

    void Responder(size_t nLlamada, const std::string& sComandos)
    {
        if (vsRespuestas.size() <= nLlamada)
            vsRespuestas.resize(nLlamada + 1);
        vsRespuestas[nLlamada] = sComandos;
    }
};

SControlador Guion(TControlador eTipo)
{
    SControlador c;
    c.eTipo = eTipo;
    return c;
}

// Starts the first game and then places the robots by hand.
void EmpezarColocados(CPartida& partida, const std::vector<std::vector<double>>& vPosiciones,
                      TTipoArena eArena = Arena_Circulo, double dTiempoMaximo = 120)
{
    SConfigPartida config;
    config.eArena = eArena;
    config.nSemilla = 3;
    config.dTiempoMaximo = dTiempoMaximo;
    ASSERT_TRUE(partida.Configurar(config));
    ASSERT_TRUE(partida.EmpezarSecuencia());
    partida.EmpezarJuego();
    for (size_t i = 0; i < vPosiciones.size(); ++i) {
        partida.ColocarRobot(static_cast<int>(i), vPosiciones[i][0], vPosiciones[i][1], vPosiciones[i][2]);
    }
}

void Avanzar(CPartida& partida, int nPasos)
{
    for (int i = 0; i < nPasos; ++i)
        ASSERT_TRUE(partida.Actualizar()) << "paso " << i;
}

TEST(ArenaMensajes, InicioDeSecuenciaYDeJuego)
{
    CPartida partida;
    SRobotTexto a;
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("quieto", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {});
    ASSERT_EQ(a.vsRecibidos.size(), 2u);
    EXPECT_EQ(a.vsRecibidos[0], "Initialize 1\n");
    const std::string sEsperado =
        "GameStarts\nRobotsLeft 2\n"
        "GameOption 0 0.785398\nGameOption 1 1.5708\nGameOption 2 2.0944\n"
        "GameOption 3 2\nGameOption 4 -0.5\nGameOption 5 100\nGameOption 6 120\n"
        "GameOption 7 10\nGameOption 8 10\nGameOption 9 0.5\nGameOption 10 30\n"
        "GameOption 11 10\nGameOption 12 120\nGameOption 13 0\nGameOption 14 2\n";
    EXPECT_EQ(a.vsRecibidos[1], sEsperado);
}

TEST(ArenaMensajes, OrdenYFormatoDeUnaActualizacion)
{
    CPartida partida;
    SRobotTexto a;
    a.Responder(2, "Rotate 4 5\n");  // asks too much: radar turns at 2 pi / 3
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("quieto", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {{0, 0, 0}, {5, 0, 0}});
    Avanzar(partida, 2);
    ASSERT_TRUE(partida.GetGalletas().empty() && partida.GetMinas().empty());
    ASSERT_EQ(a.vsRecibidos.size(), 4u);
    EXPECT_EQ(a.vsRecibidos[2], "Radar 4.5 0 0\nRobotInfo 100 0\nCoordinates 0 0 0\nInfo 0.05 0 0\nEnergy 100\n");
    // Radar at 0.10472 rad passes the robot at 5 m (needs < 0.1) and finds the wall.
    EXPECT_EQ(a.vsRecibidos[3], "Radar 9.9 2 0.10472\nCoordinates 0 0 0\nInfo 0.1 0 0\nEnergy 100\n");
}

// Lines composed from the protocol table; a message that takes text, or
// more values than were given, is refused and appends nothing.
TEST(ArenaMensajes, LineaSegunLaTablaDelProtocolo)
{
    std::string s = "antes\n";
    const double vdValores[3] = {1e10, -1, 0.25};
    EXPECT_TRUE(AnyadirMensaje(s, MensajeArena_Radar, vdValores, 3));
    EXPECT_TRUE(AnyadirMensaje(s, MensajeArena_Dead, vdValores, 0));
    const std::string sEsperado = "antes\nRadar 1e+10 -1 0.25\nDead\n";
    EXPECT_EQ(s, sEsperado);
    EXPECT_FALSE(AnyadirMensaje(s, MensajeArena_Radar, vdValores, 2));
    EXPECT_FALSE(AnyadirMensaje(s, MensajeArena_YourName, vdValores, 3));
    EXPECT_FALSE(AnyadirMensaje(s, MensajeArena_Warning, vdValores, 3));
    EXPECT_EQ(s, sEsperado);
}

TEST(ArenaMensajes, LasOrdenesSeMantienenHastaCambiar)
{
    CPartida partida;
    SRobotTexto a;
    a.Responder(2, "Accelerate 2\n");
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("quieto", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {{-5, 0, kPi / 2}, {5, 0, 0}});
    Avanzar(partida, 4);
    // Given after update 1, acting from update 2 on; Info reports the
    // speed before the update's own change.
    EXPECT_NE(a.vsRecibidos[3].find("Info 0.1 0 0\n"), std::string::npos);
    EXPECT_NE(a.vsRecibidos[4].find("Info 0.15 0.1 0\n"), std::string::npos);
    EXPECT_NE(a.vsRecibidos[5].find("Info 0.2 0.199877 0\n"), std::string::npos);
    EXPECT_EQ(partida.GetRobot(0).dAceleracion, 2);
}

// Programs turn their parts to an angle, by an amount, or sweep them back
// and forth, and hear when a turn is done when they ask for it.
TEST(ArenaMensajes, GirosHastaUnAnguloYBarridos)
{
    CPartida partida;
    SRobotTexto a, b;
    a.Responder(2, "RobotOption 1 2\nRotateTo 2 1.5 0.3\nRotateAmount 1 10 -0.1\nSweep 4 2 0.2 -0.2\n");
    a.Responder(12, "Rotate 4 1\n");                            // a plain turn ends the sweep
    b.Responder(2, "RotateTo 1 1 1\nRotateAmount 2 1 -0.5\n");  // no RotateTo for the body
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("b", b.Controlador());
    EmpezarColocados(partida, {{-5, 0, 1}, {5, 0, 0}});
    Avanzar(partida, 11);  // they act from update 2 on
    const SRobot& ra = partida.GetRobot(0);
    EXPECT_NEAR(ra.dCanyon, 0.3, 1e-12);  // 0.075 a step, stopped at the angle
    EXPECT_NEAR(ra.dRumbo, 1 - 0.1, 1e-12);
    EXPECT_NEAR(ra.dRadar, 0.2, 1e-9);  // 0.1 a step: up, down to -0.2, up again
    EXPECT_EQ(ra.dGiroCanyon, 0);
    EXPECT_EQ(ra.dGiroCuerpo, 0);
    std::string sTodo;
    for (const std::string& sLote : a.vsRecibidos)
        sTodo += sLote;
    size_t nRadar = 0;
    for (size_t n = sTodo.find("RotationReached 4\n"); n != std::string::npos;
         n = sTodo.find("RotationReached 4\n", n + 1))
        ++nRadar;
    EXPECT_EQ(nRadar, 3u) << sTodo;
    EXPECT_NE(sTodo.find("RotationReached 2\n"), std::string::npos);
    EXPECT_NE(sTodo.find("RotationReached 1\n"), std::string::npos);
    Avanzar(partida, 5);
    EXPECT_GT(partida.GetRobot(0).dRadar, 0.4);
    // The same Sweep sent again every update sweeps on, end to end.
    for (size_t n = 13; n < 40; ++n)
        a.Responder(n, "Sweep 4 2 -0.2 0.2\n");
    Avanzar(partida, 2);
    const double dFuera = partida.GetRobot(0).dRadar;  // beyond the range, it turns back without a jump
    EXPECT_GT(dFuera, 0.4);
    Avanzar(partida, 1);
    EXPECT_NEAR(partida.GetRobot(0).dRadar, dFuera - 0.1, 1e-9);
    Avanzar(partida, 5);
    double dMinimo = 10, dMaximo = -10;
    for (int n = 0; n < 25; ++n) {
        Avanzar(partida, 1);
        dMinimo = std::min(dMinimo, partida.GetRobot(0).dRadar);
        dMaximo = std::max(dMaximo, partida.GetRobot(0).dRadar);
    }
    EXPECT_NEAR(dMinimo, -0.2, 1e-9);
    EXPECT_NEAR(dMaximo, 0.2, 1e-9);
    const SRobot& rb = partida.GetRobot(1);
    EXPECT_EQ(rb.dRumbo, 0);
    EXPECT_NEAR(rb.dCanyon, -0.5, 1e-12);
    bool bAviso = false;
    for (const std::string& sLote : b.vsRecibidos)
        bAviso = bAviso || sLote.find("RotationReached") != std::string::npos;
    EXPECT_FALSE(bAviso) << "not asked for";
}

TEST(ArenaMensajes, ComandosMalFormadosSeIgnoranSinPerderLosBuenos)
{
    CPartida partida;
    SRobotTexto a;
    a.Responder(1,
                "Rotate\nRotate x 1\nRotate 9 1\nRotate 0 1\nRotate 1.5 1\n"
                "Accelerate nan\nAccelerate 1e999\nAccelerate\nAccelerate 1.5xyz\nShoot\n"
                "Brake abc\nPrint hola\n   \n\r\nDebug Accelerate 1\n"
                "Accelerate 5\r\nBrake -1\nRotate 1 10\n\tRotate 6 -3 extra\nBreak 0.25");
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("quieto", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {});
    const SRobot& r = partida.GetRobot(0);
    EXPECT_EQ(r.dAceleracion, 2.0);
    EXPECT_EQ(r.dFreno, 0.25);
    EXPECT_NEAR(r.dGiroCuerpo, kPi / 4, 1e-12);
    EXPECT_NEAR(r.dGiroCanyon, -kPi / 2, 1e-12);
    EXPECT_NEAR(r.dGiroRadar, -kPi / 2, 1e-12);
    EXPECT_TRUE(r.vdDisparosPendientes.empty());
}

TEST(ArenaMensajes, UnMontonDeDisparosEnUnaRespuestaNoCreceSinLimite)
{
    CPartida partida;
    SRobotTexto a;
    std::string sMuchos;
    for (int i = 0; i < 1000; ++i)
        sMuchos += "Shoot 1\n";
    a.Responder(1, sMuchos);
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("quieto", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {});
    EXPECT_LE(partida.GetRobot(0).vdDisparosPendientes.size(), 16u);
}

TEST(ArenaDisparos, CosteReservaVueloEImpacto)
{
    CPartida partida;
    SRobotTexto a, b;
    a.Responder(6, "Shoot 0.4\n");  // update 5: below the minimum, free
    a.Responder(11, "Shoot 3\n");   // update 10: pool 5
    a.Responder(15, "Shoot 30\n");  // update 14: cut to the pool, 4
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("b", b.Controlador());
    EmpezarColocados(partida, {{0, 0, 0}, {5, 0, 0}});
    Avanzar(partida, 10);
    EXPECT_NEAR(partida.GetRobot(0).dEnergia, 100, 1e-12);
    EXPECT_NEAR(partida.GetRobot(0).dReserva, 5, 1e-9);
    Avanzar(partida, 1);
    ASSERT_EQ(partida.GetDisparos().size(), 1u);
    EXPECT_NEAR(partida.GetDisparos()[0].dX, 1.15, 1e-9);  // 0.65 out, then one step
    EXPECT_NEAR(partida.GetDisparos()[0].dVX, 10, 1e-12);
    EXPECT_NEAR(partida.GetRobot(0).dEnergia, 100 - 3 * 0.075, 1e-9);
    EXPECT_NEAR(partida.GetRobot(0).dReserva, 2.5, 1e-9);
    // The radar sees its own shot 1.15 - 0.1 ahead.
    EXPECT_EQ(Lineas(a.vsRecibidos[12])[0], "Radar 1.05 1 0");
    Avanzar(partida, 6);  // update 17: still in flight
    EXPECT_NEAR(partida.GetRobot(1).dEnergia, 100, 1e-12);
    Avanzar(partida, 1);  // update 18: reaches 0.6 from b's centre
    EXPECT_NEAR(partida.GetRobot(1).dEnergia, 97, 1e-9);
    EXPECT_EQ(Lineas(b.vsRecibidos[19])[0], "Collision 1 3.14159");
    Avanzar(partida, 4);  // update 22: the second shot arrives
    ASSERT_TRUE(partida.GetMinas().empty());
    EXPECT_NEAR(partida.GetRobot(1).dEnergia, 93, 1e-9);
    EXPECT_NEAR(partida.GetRobot(0).dEnergia, 100 - 7 * 0.075, 1e-9);
    EXPECT_TRUE(partida.GetDisparos().empty());
    const SResultadoRobot r = partida.GetResultados()[0];
    EXPECT_EQ(r.nDisparos, 2);
    EXPECT_EQ(r.nAciertos, 2);
    EXPECT_NEAR(r.dDanyoCausado, 7, 1e-9);
}

TEST(ArenaDisparos, DosDisparosQueSeCruzanSeFunden)
{
    CPartida partida;
    partida.AddRobot("a", Guion(Controlador_Quieto));
    partida.AddRobot("b", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {{-8, 5, 0}, {8, 5, 0}});
    partida.AddDisparo(-0.5, 0, 10, 0, 2, 0);
    partida.AddDisparo(0.5, 0, -10, 0, 3, 1);
    Avanzar(partida, 1);
    ASSERT_EQ(partida.GetDisparos().size(), 1u);
    const SDisparo& d = partida.GetDisparos()[0];
    EXPECT_NEAR(d.dEnergia, 5, 1e-12);
    EXPECT_NEAR(d.dVX, (2 * 10 - 3 * 10) / 5.0, 1e-12);
    EXPECT_EQ(d.nTirador, -1);
}

TEST(ArenaDisparos, UnDisparoDestruyeMinaYGalletaYLaParedLoAbsorbe)
{
    CPartida partida;
    partida.AddRobot("a", Guion(Controlador_Quieto));
    partida.AddRobot("b", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {{-8, 5, 0}, {8, 5, 0}});
    partida.AddMina(2, 0, 20);
    partida.AddGalleta(0, -2, 12);
    partida.AddDisparo(1.65, 0, 10, 0, 1, 0);
    partida.AddDisparo(0, -1.45, 0, -10, 1, 0);
    partida.AddDisparo(9.0, -3, 10, 0, 1, 0);
    Avanzar(partida, 1);
    EXPECT_TRUE(partida.GetMinas().empty());
    EXPECT_TRUE(partida.GetGalletas().empty());
    EXPECT_TRUE(partida.GetDisparos().empty());
}

TEST(ArenaChoques, ParedCircularDeLadoConDanyoYMensaje)
{
    CPartida partida;
    SRobotTexto a;
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("quieto", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {{9.3, 0, kPi / 2}, {-5, 0, 0}});
    partida.GetRobotEditable(0).dVX = 4;
    Avanzar(partida, 1);
    // Sliding sideways: 4 * 0.95065 = 3.8026, wall met after 0.1 m.
    const double dV = 3.8026;
    const double dDanyo = 0.5 * std::pow(1.63 * dV, 2) * 0.5 * 1.5 * 0.37 * 0.5;
    const SRobot& r = partida.GetRobot(0);
    EXPECT_NEAR(r.dVX, -0.63 * dV, 1e-9);
    EXPECT_NEAR(r.dEnergia, 100 - dDanyo, 1e-9);
    // Pushed 0.05 / 50 off the wall, then the rest of the step flown.
    const double dResto = 1 - 0.1 / (dV * 0.05);
    EXPECT_NEAR(r.dX, 9.4 - 0.001 - 0.63 * dV * 0.05 * dResto, 1e-9);
    EXPECT_EQ(a.vsRecibidos[2],
              "Radar 3.39411 2 0\nCoordinates 9.3 0 1.5708\nInfo 0.05 4 0\nCollision 2 -1.5708\nEnergy 100\n");
}

TEST(ArenaChoques, ParedCuadradaDeFrente)
{
    CPartida partida;
    partida.AddRobot("a", Guion(Controlador_Quieto));
    partida.AddRobot("b", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {{0, -9.1, -kPi / 2}, {0, 5, 0}}, Arena_Cuadrado);
    partida.GetRobotEditable(0).dVY = -4;
    Avanzar(partida, 1);
    // Forward at 4: 4 * 0.998768; front values against a 0.6 / 0.8 wall.
    const double dV = 4 * 0.998768;
    const double dDanyo = 0.5 * std::pow(1.42 * dV, 2) * 0.5 * (0.9 + 0.8) * 0.58 * 0.1;
    EXPECT_NEAR(partida.GetRobot(0).dVY, 0.42 * dV, 1e-9);
    EXPECT_NEAR(partida.GetRobot(0).dEnergia, 100 - dDanyo, 1e-9);
}

TEST(ArenaChoques, DosRobotsDeFrente)
{
    CPartida partida;
    SRobotTexto a, b;
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("b", b.Controlador());
    EmpezarColocados(partida, {{0, 0, 0}, {1.1, 0, kPi}});
    partida.GetRobotEditable(0).dVX = 3;
    Avanzar(partida, 1);
    const double dV = 3 * 0.998768;
    const double dDanyo = 0.5 * std::pow(1.49 / 2 * dV, 2) * 0.5 * 1.8 * 0.51 * 0.1;
    EXPECT_NEAR(partida.GetRobot(0).dVX, 0.255 * dV, 1e-9);
    EXPECT_NEAR(partida.GetRobot(0).dEnergia, 100 - dDanyo, 1e-9);
    EXPECT_NEAR(partida.GetRobot(1).dEnergia, 100 - dDanyo, 1e-9);
    EXPECT_NE(a.vsRecibidos[2].find("Info 0.05 3 0\nCollision 0 0\n"), std::string::npos);
    // Straight ahead for b too; the angle is not wrapped (heading pi).
    double dAngulo = 1;
    ASSERT_EQ(std::sscanf(Lineas(b.vsRecibidos[2])[0].c_str(), "Collision 0 %lf", &dAngulo), 1);
    EXPECT_NEAR(std::cos(dAngulo), 1.0, 1e-6);
}

// A corridor 0.2 m wider than a robot between two walls that bounce the
// robot back faster than it came (bounce 3: e = 2.1), inside a square.
std::string Pasillo(double dRebote)
{
    char szTexto[256];
    std::snprintf(szTexto, sizeof(szTexto),
                  "scale 1\nboundary -10 -10 10 10\n"
                  "line 0.6 0.8 0.6 -10 10 10 10\nline 0.6 0.8 0.6 10 10 10 -10\n"
                  "line 0.6 0.8 0.6 10 -10 -10 -10\nline 0.6 0.8 0.6 -10 -10 -10 10\n"
                  "line %g 0.5 0.2 -3 0.7 3 0.7\nline %g 0.5 0.2 -3 -0.7 3 -0.7\n",
                  dRebote, dRebote);
    return szTexto;
}

TEST(ArenaChoques, DemasiadosRebotesEnUnPasoMatanYLaEnergiaGanadaTieneTope)
{
    for (double dRebote : {3.0, 1.0}) {
        CPartida partida;
        partida.AddRobot("a", Guion(Controlador_Quieto));
        partida.AddRobot("b", Guion(Controlador_Quieto));
        SConfigPartida config;
        config.eArena = Arena_Archivo;
        config.sArena = Pasillo(dRebote);
        config.sNombreArena = "pasillo";
        ASSERT_TRUE(partida.Configurar(config));
        ASSERT_TRUE(partida.EmpezarSecuencia());
        ASSERT_TRUE(partida.EmpezarJuego());
        partida.ColocarRobot(0, 0, 0, 0);  // facing along the corridor: every bounce on its side
        partida.ColocarRobot(1, 8, 8, 0);
        partida.GetRobotEditable(0).dVY = 1;
        double dEnergiaMaxima = 0;
        int nPasos = 0;
        while (partida.GetRobot(0).bVivo && nPasos < 40) {
            partida.Actualizar();
            ++nPasos;
            const SRobot& r = partida.GetRobot(0);
            ASSERT_LE(std::fabs(r.dY), 0.1 + 0.002) << "rebote " << dRebote << " paso " << nPasos;
            dEnergiaMaxima = std::max(dEnergiaMaxima, r.dEnergia);
        }
        if (dRebote > 1) {
            // Each bounce 2.1 times faster: the bounces pile up in one step
            // long before 40 steps have passed. Energy gained is capped.
            EXPECT_FALSE(partida.GetRobot(0).bVivo);
            EXPECT_LE(dEnergiaMaxima, kEnergiaMaxima);
            EXPECT_GT(dEnergiaMaxima, kEnergiaInicial);
        } else {
            EXPECT_TRUE(partida.GetRobot(0).bVivo);
        }
    }
}

TEST(ArenaChoques, NadieAtraviesaParedesNiRobots)
{
    // Fast robots turning at random: every centre stays inside and no two
    // living robots overlap, in both arenas.
    for (TTipoArena eArena : {Arena_Circulo, Arena_Cuadrado}) {
        CPartida partida;
        std::vector<SRobotTexto> vRobots(4);
        for (int i = 0; i < 4; ++i) {
            for (int k = 1; k < 800; ++k) {
                const double dGiro = std::sin(k * 0.37 + i) * 1.0;
                char szOrden[96];
                std::snprintf(szOrden, sizeof(szOrden), "Accelerate 2\nRotate 1 %g\n", dGiro);
                vRobots[i].Responder(k, szOrden);
            }
        }
        for (int i = 0; i < 4; ++i)
            partida.AddRobot("r", vRobots[i].Controlador());
        SConfigPartida config;
        config.eArena = eArena;
        config.nSemilla = 11;
        config.dTiempoMaximo = 30;
        ASSERT_TRUE(partida.Configurar(config));
        ASSERT_TRUE(partida.EmpezarSecuencia());
        partida.EmpezarJuego();
        const double dLimite = eArena == Arena_Circulo ? 9.4 : 9.2;
        int nChoques = 0;
        bool bSigue = true;
        while (bSigue) {
            bSigue = partida.Actualizar();
            for (int i = 0; i < 4; ++i) {
                const SRobot& r = partida.GetRobot(i);
                const double dAlcance =
                    eArena == Arena_Circulo ? std::hypot(r.dX, r.dY) : std::max(std::fabs(r.dX), std::fabs(r.dY));
                ASSERT_LE(dAlcance, dLimite + 1e-6);
                if (!r.bVivo)
                    continue;
                nChoques += r.percepcion.bChoquePared;
                for (int j = i + 1; j < 4; ++j) {
                    const SRobot& o = partida.GetRobot(j);
                    if (!o.bVivo)
                        continue;
                    ASSERT_GE(std::hypot(r.dX - o.dX, r.dY - o.dY), 1.0 - 1e-6);
                }
            }
        }
        EXPECT_GT(nChoques, 10);
    }
}

TEST(ArenaObjetos, GalletasSumanHastaElMaximoYMinasRestan)
{
    CPartida partida;
    SRobotTexto a;
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("b", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {{0, 0, 0}, {-5, 5, 0}});
    partida.GetRobotEditable(0).dEnergia = 115;
    partida.AddGalleta(0.7, 0, 12);
    partida.AddMina(0, -0.79, 20);
    partida.AddMina(0, 3, 20);  // out of reach
    Avanzar(partida, 1);
    EXPECT_NEAR(partida.GetRobot(0).dEnergia, 100, 1e-12);  // 115 -> 120 -> 100
    EXPECT_TRUE(partida.GetGalletas().empty());
    EXPECT_EQ(partida.GetMinas().size(), 1u);
    EXPECT_NE(a.vsRecibidos[2].find("Collision 3 0\nCollision 4 -1.5708\nEnergy 100\n"), std::string::npos);
}

TEST(ArenaPuntos, MuertesSimultaneasYFinDeJuego)
{
    CPartida partida;
    SRobotTexto a, b, c;
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("b", b.Controlador());
    partida.AddRobot("c", c.Controlador());
    EmpezarColocados(partida, {{-5, 0, 0}, {5, 0, 0}, {0, 5, 0}});
    partida.AddMina(-5, 0, 200);
    partida.AddMina(5, 0, 200);
    EXPECT_FALSE(partida.Actualizar());
    partida.TerminarSecuencia();
    const std::vector<SResultadoRobot> v = partida.GetResultados();
    EXPECT_DOUBLE_EQ(v[0].dPuntos, 1.5);
    EXPECT_DOUBLE_EQ(v[1].dPuntos, 1.5);
    EXPECT_DOUBLE_EQ(v[2].dPuntos, 3);
    EXPECT_EQ(v[0].nPosicion, 2);
    EXPECT_EQ(v[1].nPosicion, 2);
    EXPECT_EQ(v[2].nPosicion, 1);
    EXPECT_NEAR(v[2].dEnergiaRestante, 100, 1e-12);
    EXPECT_EQ(v[0].dEnergiaRestante, 0);
    const std::vector<std::string> vA = Lineas(a.vsRecibidos[2]);
    ASSERT_GE(vA.size(), 2u);
    EXPECT_EQ(vA.back(), "Dead");
    EXPECT_EQ(vA[vA.size() - 2].substr(0, 12), "Collision 4 ");
    const std::vector<std::string> vC = Lineas(c.vsRecibidos[2]);
    ASSERT_GE(vC.size(), 4u);
    EXPECT_EQ(vC[vC.size() - 4], "RobotsLeft 1");
    EXPECT_EQ(vC[vC.size() - 3], "Energy 100");
    EXPECT_EQ(vC[vC.size() - 2], "Dead");
    EXPECT_EQ(vC[vC.size() - 1], "GameFinishes");
    EXPECT_EQ(a.vsRecibidos.back(), "ExitRobot\n");
    EXPECT_EQ(c.vsRecibidos.back(), "ExitRobot\n");
    EXPECT_EQ(a.vsRecibidos.size(), 4u);
}

TEST(ArenaPuntos, SupervivientesAlLimiteDeTiempo)
{
    CPartida partida;
    for (int i = 0; i < 4; ++i)
        partida.AddRobot("q", Guion(Controlador_Quieto));
    EmpezarColocados(partida, {{-5, 0, 0}, {5, 0, 0}, {0, 5, 0}, {0, -5, 0}}, Arena_Circulo, 1.0);
    partida.AddMina(0, -5, 200);
    int nActualizaciones = 1;
    while (partida.Actualizar())
        ++nActualizaciones;
    EXPECT_EQ(nActualizaciones, 20);
    EXPECT_NEAR(partida.GetTiempo(), 1.0, 1e-12);
    const std::vector<SResultadoRobot> v = partida.GetResultados();
    EXPECT_DOUBLE_EQ(v[3].dPuntos, 1);
    EXPECT_EQ(v[3].nPosicion, 4);
    EXPECT_NEAR(v[3].dTiempoVivo, 0.05, 1e-12);
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(v[i].dPuntos, 2);  // 4 - (3 - 1)
        EXPECT_EQ(v[i].nPosicion, 1);
        EXPECT_NEAR(v[i].dTiempoVivo, 1.0, 1e-12);
    }
}

// Eight robots: deaths in the same update share the places they leave, and
// every survivor at the time limit gets N - (survivors - 1).
TEST(ArenaPuntos, MeleeDeOchoConMuertesJuntasYSupervivientes)
{
    CPartida partida;
    std::vector<std::vector<double>> vPosiciones;
    for (int i = 0; i < kMaxRobotsPartida; ++i) {
        EXPECT_EQ(partida.AddRobot("q" + std::to_string(i), Guion(Controlador_Quieto)), i);
        const double dAngulo = 2 * kPi * i / kMaxRobotsPartida;
        vPosiciones.push_back({6 * std::cos(dAngulo), 6 * std::sin(dAngulo), 0});
    }
    EXPECT_EQ(partida.AddRobot("noveno", Guion(Controlador_Quieto)), -1);
    EXPECT_EQ(partida.GetNumRobots(), kMaxRobotsPartida);
    EmpezarColocados(partida, vPosiciones, Arena_Circulo, 2.0);
    auto Minar = [&](const std::vector<int>& vRobots) {
        for (int i : vRobots)
            partida.AddMina(vPosiciones[i][0], vPosiciones[i][1], 200);
    };
    Minar({0, 1, 2});
    Avanzar(partida, 1);
    EXPECT_EQ(partida.GetRobotsVivos(), 5);
    Minar({3, 4});
    Avanzar(partida, 1);
    Minar({5});
    Avanzar(partida, 1);
    EXPECT_EQ(partida.GetRobotsVivos(), 2);
    while (partida.Actualizar()) {
    }
    const std::vector<SResultadoRobot> v = partida.GetResultados();
    const double vdPuntos[8] = {2, 2, 2, 4.5, 4.5, 6, 7, 7};  // 8 - 5 - 0.5 x 2; 8 - 3 - 0.5; 8 - 2; 8 - 1
    const int vnPuestos[8] = {6, 6, 6, 4, 4, 3, 1, 1};
    for (int i = 0; i < 8; ++i) {
        EXPECT_DOUBLE_EQ(v[i].dPuntos, vdPuntos[i]) << i;
        EXPECT_EQ(v[i].nPosicion, vnPuestos[i]) << i;
    }
    EXPECT_NEAR(v[6].dTiempoVivo, 2.0, 1e-12);
}

TEST(ArenaPuntos, TodosMuerenALaVez)
{
    CPartida partida;
    std::vector<std::vector<double>> vPosiciones;
    for (int i = 0; i < 5; ++i) {
        partida.AddRobot("q", Guion(Controlador_Quieto));
        vPosiciones.push_back({-6.0 + 3 * i, 0, 0});
    }
    EmpezarColocados(partida, vPosiciones);
    for (const std::vector<double>& v : vPosiciones)
        partida.AddMina(v[0], v[1], 200);
    EXPECT_FALSE(partida.Actualizar()) << "nobody left: the game is over";
    for (const SResultadoRobot& r : partida.GetResultados()) {
        EXPECT_DOUBLE_EQ(r.dPuntos, 3);  // 5 - 0 - 0.5 x 4: the mean of the five places
        EXPECT_EQ(r.nPosicion, 1);
        EXPECT_EQ(r.dEnergiaRestante, 0);
    }
}

// Eight robots always find room: none overlaps another or a wall.
TEST(ArenaPartida, OchoRobotsSeColocanSinSolaparse)
{
    for (TTipoArena eArena : {Arena_Circulo, Arena_Cuadrado}) {
        for (uint64_t nSemilla = 1; nSemilla <= 200; ++nSemilla) {
            CPartida partida;
            SConfigPartida config;
            config.eArena = eArena;
            config.nSemilla = nSemilla;
            ASSERT_TRUE(partida.Configurar(config));
            for (int i = 0; i < kMaxRobotsPartida; ++i)
                partida.AddRobot("q", Guion(Controlador_Quieto));
            ASSERT_TRUE(partida.EmpezarSecuencia());
            ASSERT_TRUE(partida.EmpezarJuego()) << nSemilla;
            for (int i = 0; i < kMaxRobotsPartida; ++i) {
                const SRobot& a = partida.GetRobot(i);
                EXPECT_GT(partida.GetGeometria().Holgura(a.dX, a.dY, kRadioRobot), 0) << nSemilla << ": " << i;
                for (int j = 0; j < i; ++j) {
                    const SRobot& b = partida.GetRobot(j);
                    EXPECT_GT(std::hypot(a.dX - b.dX, a.dY - b.dY), 2 * kRadioRobot)
                        << nSemilla << ": " << i << ", " << j;
                }
            }
        }
    }
}

TEST(ArenaPartida, VariosJuegosEnUnaSecuencia)
{
    CPartida partida;
    SRobotTexto a;
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("b", Guion(Controlador_Buscador));
    SConfigPartida config;
    config.nJuegos = 3;
    config.dTiempoMaximo = 5;
    ASSERT_TRUE(partida.Configurar(config));
    ASSERT_TRUE(partida.Jugar());
    int nInicios = 0, nInicializar = 0;
    for (const std::string& s : a.vsRecibidos) {
        nInicios += s.find("GameStarts\n") != std::string::npos;
        nInicializar += s.find("Initialize 1\n") != std::string::npos;
    }
    EXPECT_EQ(nInicios, 3);
    EXPECT_EQ(nInicializar, 1);
    EXPECT_EQ(a.vsRecibidos.back(), "ExitRobot\n");
    const std::vector<SResultadoRobot> v = partida.GetResultados();
    ASSERT_EQ(v[0].vdPuntosJuego.size(), 3u);
    double dSuma = 0;
    for (double d : v[1].vdPuntosJuego)
        dSuma += d;
    EXPECT_DOUBLE_EQ(dSuma, v[1].dPuntos);
}

TEST(ArenaPartida, ConfiguracionInvalidaSeRechaza)
{
    CPartida partida;
    SConfigPartida config;
    config.dPaso = 0;
    EXPECT_FALSE(partida.Configurar(config));
    config.dPaso = 0.2;
    EXPECT_FALSE(partida.Configurar(config));
    // Too small to count: the steps would not fit the game's counter, or
    // would not move the clock.
    config.dPaso = 1e-300;
    EXPECT_FALSE(partida.Configurar(config));
    config.dTiempoMaximo = 1e6;
    config.dPaso = 1e-4;
    EXPECT_FALSE(partida.Configurar(config));
    config.dTiempoMaximo = 120;
    config.dPaso = 0.05;
    config.nJuegos = 0;
    EXPECT_FALSE(partida.Configurar(config));
    config.nJuegos = 1;
    config.dTiempoMaximo = std::nan("");
    EXPECT_FALSE(partida.Configurar(config));
    EXPECT_FALSE(partida.Jugar());  // no robots
    SControlador sinFuncion;
    sinFuncion.eTipo = Controlador_Texto;
    partida.AddRobot("x", sinFuncion);
    EXPECT_FALSE(partida.Jugar());
}

// A deterministic text robot: turns, fires when it sees a robot.
SControlador TextoSencillo()
{
    SControlador c;
    c.eTipo = Controlador_Texto;
    c.fTexto = [](const std::string& sMensajes, std::string& sComandos) {
        sComandos = sMensajes.find("RobotInfo") != std::string::npos ? "Shoot 3\nRotate 1 0\n"
                                                                     : "Rotate 1 0.6\nAccelerate 0.5\n";
    };
    return c;
}

struct SHuella {
    std::vector<SResultadoRobot> vResultados;
    std::string sGrabacion;
};

SHuella JugarPartida(uint64_t nSemilla, TTipoArena eArena)
{
    CPartida partida;
    SConfigPartida config;
    config.nSemilla = nSemilla;
    config.eArena = eArena;
    config.nJuegos = 2;
    config.dTiempoMaximo = 40;
    config.bGrabar = true;
    EXPECT_TRUE(partida.Configurar(config));
    partida.AddRobot("buscador", Guion(Controlador_Buscador));
    partida.AddRobot("giratorio", Guion(Controlador_Giratorio));
    partida.AddRobot("quieto", Guion(Controlador_Quieto));
    partida.AddRobot("texto", TextoSencillo());
    partida.Jugar();
    SHuella h;
    h.vResultados = partida.GetResultados();
    std::ostringstream salida;
    partida.GetGrabacion()->EscribirJSON(salida);
    h.sGrabacion = salida.str();
    return h;
}

bool Iguales(const SHuella& a, const SHuella& b)
{
    if (a.sGrabacion != b.sGrabacion || a.vResultados.size() != b.vResultados.size())
        return false;
    for (size_t i = 0; i < a.vResultados.size(); ++i) {
        const SResultadoRobot& x = a.vResultados[i];
        const SResultadoRobot& y = b.vResultados[i];
        if (x.dPuntos != y.dPuntos || x.dDanyoCausado != y.dDanyoCausado || x.dEnergiaRestante != y.dEnergiaRestante ||
            x.dTiempoVivo != y.dTiempoVivo || x.nDisparos != y.nDisparos || x.nAciertos != y.nAciertos ||
            x.vnPosicionJuego != y.vnPosicionJuego)
            return false;
    }
    return true;
}

TEST(ArenaDeterminismo, MismaSemillaMismoResultadoOtraSemillaOtro)
{
    const SHuella a = JugarPartida(5, Arena_Circulo);
    EXPECT_TRUE(Iguales(a, JugarPartida(5, Arena_Circulo)));
    EXPECT_FALSE(Iguales(a, JugarPartida(6, Arena_Circulo)));
    EXPECT_FALSE(Iguales(a, JugarPartida(5, Arena_Cuadrado)));
    // A random arena comes from the seed too.
    const SHuella b = JugarPartida(5, Arena_Aleatoria);
    EXPECT_TRUE(Iguales(b, JugarPartida(5, Arena_Aleatoria)));
    EXPECT_FALSE(Iguales(b, JugarPartida(6, Arena_Aleatoria)));
}

TEST(ArenaDeterminismo, PartidasEnHilosDanLoMismoQueEnSerie)
{
    const int nPartidas = 4;
    std::vector<SHuella> vSerie, vHilos(nPartidas);
    const TTipoArena veArenas[nPartidas] = {Arena_Circulo, Arena_Aleatoria, Arena_Circulo, Arena_Aleatoria};
    for (int i = 0; i < nPartidas; ++i)
        vSerie.push_back(JugarPartida(100 + i, veArenas[i]));
    std::vector<std::thread> vHilosEnMarcha;
    for (int i = 0; i < nPartidas; ++i) {
        vHilosEnMarcha.emplace_back([i, &vHilos, &veArenas]() { vHilos[i] = JugarPartida(100 + i, veArenas[i]); });
    }
    for (std::thread& h : vHilosEnMarcha)
        h.join();
    for (int i = 0; i < nPartidas; ++i)
        EXPECT_TRUE(Iguales(vSerie[i], vHilos[i])) << "partida " << i;
}

TEST(ArenaGrabacion, CuadrosEventosYArchivo)
{
    CPartida partida;
    SConfigPartida config;
    config.nSemilla = 9;
    config.dTiempoMaximo = 2;
    config.bGrabar = true;
    ASSERT_TRUE(partida.Configurar(config));
    partida.AddRobot("g\xE9nero \"x\"", Guion(Controlador_Giratorio));
    partida.AddRobot("q", Guion(Controlador_Quieto));
    ASSERT_TRUE(partida.Jugar());
    const CGrabacion* pGrabacion = partida.GetGrabacion();
    ASSERT_NE(pGrabacion, nullptr);
    EXPECT_EQ(pGrabacion->GetNumCuadros(), 41u);  // the start plus 40 updates
    std::ostringstream salida;
    ASSERT_TRUE(pGrabacion->EscribirJSON(salida));
    const std::string s = salida.str();
    EXPECT_EQ(s.rfind("{\"formato\":\"grabacion-arena-1\",\"arena\":\"circulo\",\"medida\":10,"
                      "\"limites\":[-10,-10,10,10],\"figuras\":[[\"i\",0,0,9.9]],",
                      0),
              0u);
    EXPECT_NE(s.find("\"robots\":[\"g\\u00e9nero \\\"x\\\"\",\"q\"]"), std::string::npos);
    EXPECT_NE(s.find("{\"j\":0,\"t\":0,\"r\":[["), std::string::npos);
    EXPECT_NE(s.find("{\"j\":0,\"t\":2,"), std::string::npos);
    EXPECT_EQ(s.substr(s.size() - 3), "]}\n");

    const std::string sRuta = ::testing::TempDir() + "grabacion_arena.json";
    ASSERT_TRUE(pGrabacion->GuardarJSON(sRuta));
    std::ifstream archivo(sRuta.c_str(), std::ios::binary);
    std::stringstream leido;
    leido << archivo.rdbuf();
    EXPECT_EQ(leido.str(), s);
    EXPECT_FALSE(std::ifstream((sRuta + ".tmp").c_str()).good());
    std::remove(sRuta.c_str());
    EXPECT_FALSE(pGrabacion->GuardarJSON(::testing::TempDir() + "no/existe/g.json"));
}

TEST(ArenaGrabacion, UnCuadroGuardaElEstadoYLosEventosDeSuActualizacion)
{
    CPartida partida;
    SRobotTexto a;
    a.Responder(1, "Rotate 4 1\n");
    partida.AddRobot("a", a.Controlador());
    partida.AddRobot("b", Guion(Controlador_Quieto));
    partida.AddRobot("c", Guion(Controlador_Quieto));
    SConfigPartida config;
    config.eArena = Arena_Cuadrado;
    config.bGrabar = true;
    ASSERT_TRUE(partida.Configurar(config));
    ASSERT_TRUE(partida.EmpezarSecuencia());
    partida.EmpezarJuego();
    partida.ColocarRobot(0, 1, 2, 0.5);
    partida.ColocarRobot(1, -5, -5, 0);
    partida.ColocarRobot(2, 5, -5, 0);
    partida.AddMina(-5, -5, 200);
    ASSERT_TRUE(partida.Actualizar());
    std::ostringstream salida;
    partida.GetGrabacion()->EscribirJSON(salida);
    const std::vector<std::string> v = Lineas(salida.str());
    ASSERT_EQ(v.size(), 2u);  // header with the first frame, then one frame a line
    EXPECT_NE(v[0].find("\"arena\":\"cuadrado\",\"medida\":10,\"limites\":[-10,-10,10,10],"
                        "\"figuras\":[[\"l\",-10,10,10,10,0.3],"),
              std::string::npos);
    // Cannon and radar absolute: heading 0.5 plus 0 and 0.05.
    EXPECT_EQ(v[1].rfind("{\"j\":0,\"t\":0.05,\"r\":[[1,2,0.5,0.5,0.55,100,1],[-5,-5,0,0,0,0,0],"
                         "[5,-5,0,0,0,100,1]],\"d\":[],\"g\":[],\"m\":[],"
                         "\"e\":[[\"mina\",1,-5,-5,200],[\"muerte\",1,-5,-5,1]]}",
                         0),
              0u);
}

TEST(ArenaGrabacion, SinGrabarNoHayGrabacion)
{
    CPartida partida;
    partida.AddRobot("a", Guion(Controlador_Quieto));
    partida.AddRobot("b", Guion(Controlador_Quieto));
    SConfigPartida config;
    config.dTiempoMaximo = 1;
    ASSERT_TRUE(partida.Configurar(config));
    ASSERT_TRUE(partida.Jugar());
    EXPECT_EQ(partida.GetGrabacion(), nullptr);
}

}  // namespace
