// Scripted opponents: each does what its model does, and the stronger ones
// win as they should.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CPartida.h"
#include "Guiones.h"

namespace {

SControlador Guion(TControlador eTipo)
{
    SControlador c;
    c.eTipo = eTipo;
    return c;
}

// Wins of the first robot over the second in 1 v 1 matches of one game.
int Victorias(TControlador eA, TControlador eB, int nPartidas, TTipoArena eArena = Arena_Circulo)
{
    int nVictorias = 0;
    for (int i = 0; i < nPartidas; ++i) {
        CPartida partida;
        SConfigPartida config;
        config.nSemilla = 1000 + i;
        config.eArena = eArena;
        EXPECT_TRUE(partida.Configurar(config));
        partida.AddRobot("a", Guion(eA));
        partida.AddRobot("b", Guion(eB));
        partida.Jugar();
        const std::vector<SResultadoRobot> v = partida.GetResultados();
        nVictorias += v[0].dPuntos > v[1].dPuntos;
    }
    return nVictorias;
}

void Empezar(CPartida& partida, const std::vector<std::vector<double>>& vPosiciones)
{
    SConfigPartida config;
    config.nSemilla = 21;
    ASSERT_TRUE(partida.Configurar(config));
    ASSERT_TRUE(partida.EmpezarSecuencia());
    partida.EmpezarJuego();
    for (size_t i = 0; i < vPosiciones.size(); ++i) {
        partida.ColocarRobot(static_cast<int>(i), vPosiciones[i][0], vPosiciones[i][1], vPosiciones[i][2]);
    }
}

TEST(ArenaGuiones, ElBuscadorYElGiratorioVencenAlQuieto)
{
    EXPECT_GE(Victorias(Controlador_Buscador, Controlador_Quieto, 30), 25);
    EXPECT_GE(Victorias(Controlador_Giratorio, Controlador_Quieto, 30), 21);
    EXPECT_GE(Victorias(Controlador_Buscador, Controlador_Quieto, 20, Arena_Cuadrado), 16);
}

TEST(ArenaGuiones, ElBuscadorVenceAlGiratorioMasVecesQueAlReves)
{
    const int nBuscador = Victorias(Controlador_Buscador, Controlador_Giratorio, 30);
    const int nGiratorio = Victorias(Controlador_Giratorio, Controlador_Buscador, 30);
    EXPECT_GT(nBuscador, 15);
    EXPECT_LT(nGiratorio, 15);
}

TEST(ArenaGuiones, ElQuietoNiSeMueveNiDispara)
{
    CPartida partida;
    SConfigPartida config;
    config.nSemilla = 4;
    config.dTiempoMaximo = 20;
    ASSERT_TRUE(partida.Configurar(config));
    partida.AddRobot("q", Guion(Controlador_Quieto));
    partida.AddRobot("q2", Guion(Controlador_Quieto));
    ASSERT_TRUE(partida.EmpezarSecuencia());
    partida.EmpezarJuego();
    const double dX = partida.GetRobot(0).dX, dY = partida.GetRobot(0).dY;
    while (partida.Actualizar()) {
    }
    EXPECT_EQ(partida.GetRobot(0).dX, dX);
    EXPECT_EQ(partida.GetRobot(0).dY, dY);
    EXPECT_EQ(partida.GetResultados()[0].nDisparos, 0);
}

TEST(ArenaGuiones, ElGiratorioGiraYBarreMientrasNoVeNada)
{
    CPartida partida;
    partida.AddRobot("g", Guion(Controlador_Giratorio));
    partida.AddRobot("q", Guion(Controlador_Quieto));
    Empezar(partida, {{0, 0, 0}, {0, -8, 0}});
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(partida.Actualizar());
    const SRobot& g = partida.GetRobot(0);
    EXPECT_NEAR(g.dRumbo, 10 * 0.05 * 0.53, 1e-9);
    EXPECT_NEAR(g.dRadar, 10 * 0.05 * 1.0, 1e-9);
    EXPECT_EQ(g.dRadar, g.dCanyon);
    EXPECT_GT(g.dVX * std::cos(g.dRumbo) + g.dVY * std::sin(g.dRumbo), 0);
}

TEST(ArenaGuiones, ElGiratorioSeFijaEnElRobotQueVeYLeDispara)
{
    CPartida partida;
    partida.AddRobot("g", Guion(Controlador_Giratorio));
    partida.AddRobot("q", Guion(Controlador_Quieto));
    Empezar(partida, {{0, 0, 0}, {5, 0, 0}});
    ASSERT_TRUE(partida.Actualizar());
    ASSERT_EQ(partida.GetRobot(0).percepcion.nRadarObjeto, ObjetoArena_Robot);
    const SRobot& g = partida.GetRobot(0);
    const double dAbsoluto = g.dRumbo + g.dRadar;
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(partida.Actualizar());
    // The body keeps turning; the radar stays put in world terms.
    EXPECT_NEAR(g.dRumbo + g.dRadar, dAbsoluto, 1e-9);
    EXPECT_GT(g.dRumbo, 5 * 0.05 * 0.53);
    EXPECT_GE(partida.GetResultados()[0].nDisparos, 4);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(partida.Actualizar());
    EXPECT_LT(partida.GetRobot(1).dEnergia, 100);
}

TEST(ArenaGuiones, ElGiratorioHuyeTrasVariosImpactos)
{
    SPercepcion p;
    SMemoriaGuion m;
    SOrdenes o;
    p.dTiempo = 10;
    p.nImpactos = 2;
    DecidirGiratorio(p, m, Arena_Circulo, o);
    EXPECT_NEAR(o.dGiroCuerpo, 0.53, 1e-12);
    p.dTiempo = 10.5;
    DecidirGiratorio(p, m, Arena_Circulo, o);
    EXPECT_NEAR(o.dGiroCuerpo, kGiroMaxCuerpo, 1e-12);
    EXPECT_EQ(o.dAceleracion, kAceleracionMax);
    p.nImpactos = 0;
    p.dTiempo = 13;
    DecidirGiratorio(p, m, Arena_Circulo, o);
    EXPECT_NEAR(o.dGiroCuerpo, 0.53, 1e-12);
}

TEST(ArenaGuiones, ElGiratorioFrenaAnteLaPared)
{
    SPercepcion p;
    SMemoriaGuion m;
    SOrdenes o;
    p.dX = 8.5;  // 0.9 from the wall straight ahead
    DecidirGiratorio(p, m, Arena_Circulo, o);
    EXPECT_EQ(o.dFreno, 1);
    p.dRumbo = kPi;
    DecidirGiratorio(p, m, Arena_Circulo, o);
    EXPECT_EQ(o.dFreno, 0);
}

TEST(ArenaGuiones, EnergiaDeDisparoDelBuscador)
{
    SPercepcion p;
    SMemoriaGuion m;
    SOrdenes o;
    p.dTiempo = 1;
    p.nRadarObjeto = ObjetoArena_Robot;
    p.dRadarDistancia = 3;
    p.nRobotsQuedan = 2;
    DecidirBuscador(p, m, Arena_Circulo, o);
    EXPECT_NEAR(o.dDisparo, 20 / 9.2 + 0.5 + 1, 1e-12);
    EXPECT_EQ(o.dAceleracion, kAceleracionMax);  // facing it: rams
    p.nRobotsQuedan = 4;
    p.dRadarDistancia = 0.5;
    DecidirBuscador(p, m, Arena_Circulo, o);
    EXPECT_NEAR(o.dDisparo, 20 / 0.45 + 0.5 + 0.5, 1e-12);
}

TEST(ArenaGuiones, ElBuscadorSeVuelveHaciaLoQueVe)
{
    CPartida partida;
    partida.AddRobot("b", Guion(Controlador_Buscador));
    partida.AddRobot("q", Guion(Controlador_Quieto));
    Empezar(partida, {{0, 0, 0}, {0, 6, 0}});
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(partida.Actualizar());
    const SRobot& b = partida.GetRobot(0);
    EXPECT_NEAR(NormalizarAngulo(b.dRumbo - std::atan2(6 - b.dY, -b.dX)), 0, 0.3);
    EXPECT_LT(partida.GetRobot(1).dEnergia, 100);
}

TEST(ArenaGuiones, ElBuscadorBarreElFrenteSinPasarseDeMedioGiro)
{
    CPartida partida;
    partida.AddRobot("b", Guion(Controlador_Buscador));
    partida.AddRobot("q", Guion(Controlador_Quieto));
    // The other robot is out of the sweep at first: straight behind.
    Empezar(partida, {{0, 0, 0}, {-6, 0, 0}});
    double dMin = 0, dMax = 0;
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(partida.Actualizar());
        const SRobot& b = partida.GetRobot(0);
        if (b.percepcion.nRadarObjeto == ObjetoArena_Robot)
            break;
        dMin = std::min(dMin, b.dRadar);
        dMax = std::max(dMax, b.dRadar);
    }
    EXPECT_GT(dMax, 1.4);
    EXPECT_LT(dMin, -1.4);
    EXPECT_LT(dMax, kPi / 2 + 0.11);
    EXPECT_GT(dMin, -kPi / 2 - 0.11);
}

}  // namespace
