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

namespace {

// The orders of a scripted robot that sees one thing with its radar.
SOrdenes Decidir(void (*fDecidir)(const SPercepcion&, SMemoriaGuion&, TTipoArena, SOrdenes&), SPercepcion p,
                 SMemoriaGuion& m, int nObjeto, double dAngulo, double dDistancia)
{
    p.nRadarObjeto = nObjeto;
    p.dRadarAngulo = dAngulo;
    p.dRadarDistancia = dDistancia;
    SOrdenes o;
    fDecidir(p, m, Arena_Circulo, o);
    return o;
}

}  // namespace

TEST(ArenaGuiones, CazadorYOrbitadorVencenAlQuieto)
{
    EXPECT_GE(Victorias(Controlador_Cazador, Controlador_Quieto, 20), 16);
    EXPECT_GE(Victorias(Controlador_Orbitador, Controlador_Quieto, 20), 18);
    EXPECT_GE(Victorias(Controlador_Cazador, Controlador_Quieto, 10, Arena_Cuadrado), 8);
    EXPECT_GE(Victorias(Controlador_Orbitador, Controlador_Quieto, 10, Arena_Cuadrado), 8);
}

// Steady forward drive, cannon and radar together over a narrow cone.
TEST(ArenaGuiones, ElCazadorAvanzaYBarreUnConoEstrechoConCanyonYRadar)
{
    CPartida partida;
    partida.AddRobot("c", Guion(Controlador_Cazador));
    partida.AddRobot("q", Guion(Controlador_Quieto));
    Empezar(partida, {{-2, 0, 0}, {-8, 0, 0}});  // the other one behind it, out of the cone
    double dMin = 0, dMax = 0;
    for (int i = 0; i < 40; ++i) {
        ASSERT_TRUE(partida.Actualizar());
        const SRobot& c = partida.GetRobot(0);
        ASSERT_EQ(c.dCanyon, c.dRadar) << i;
        EXPECT_EQ(c.dAceleracion, 0.6) << i;
        dMin = std::min(dMin, NormalizarAngulo(c.dRadar));
        dMax = std::max(dMax, NormalizarAngulo(c.dRadar));
    }
    EXPECT_GT(dMax, 0.4);
    EXPECT_LT(dMin, -0.4);
    EXPECT_LT(dMax, 0.5 + kGiroMaxCanyon * 0.05 + 1e-9);
    EXPECT_GT(dMin, -0.5 - kGiroMaxCanyon * 0.05 - 1e-9);
    const SRobot& c = partida.GetRobot(0);
    EXPECT_NEAR(c.dRumbo, 0, 1e-12) << "nothing seen, no wall near: straight on";
    EXPECT_GT(c.dVX, 1.0);
    EXPECT_LT(c.dVX, 0.6 * 2.0 + 1e-9);
}

TEST(ArenaGuiones, ElCazadorSeVuelveHaciaLoQueVeDescentradoYDisparaDeFrente)
{
    SPercepcion p;
    p.dTiempo = 5;
    SMemoriaGuion m;
    SOrdenes o = Decidir(DecidirCazador, p, m, ObjetoArena_Robot, 0.3, 5);
    EXPECT_GT(o.dGiroCuerpo, 0);
    EXPECT_EQ(o.dDisparo, 0) << "off-centre: no shot";
    m = SMemoriaGuion();
    o = Decidir(DecidirCazador, p, m, ObjetoArena_Robot, -0.3, 5);
    EXPECT_LT(o.dGiroCuerpo, 0);
    m = SMemoriaGuion();
    o = Decidir(DecidirCazador, p, m, ObjetoArena_Robot, 0.02, 5);
    EXPECT_EQ(o.dGiroCuerpo, 0) << "straight ahead: no turn";
    EXPECT_EQ(o.dDisparo, kEnergiaDisparoMax);
    // A target out of sight for a moment: it keeps turning to where it was.
    m = SMemoriaGuion();
    Decidir(DecidirCazador, p, m, ObjetoArena_Robot, 0.4, 5);
    p.dTiempo = 6;
    o = Decidir(DecidirCazador, p, m, ObjetoArena_Pared, 0, 9);
    EXPECT_GT(o.dGiroCuerpo, 0);
    EXPECT_EQ(o.dDisparo, 0);
}

TEST(ArenaGuiones, ElCazadorAlcanzaAlQueTieneDelante)
{
    CPartida partida;
    partida.AddRobot("c", Guion(Controlador_Cazador));
    partida.AddRobot("q", Guion(Controlador_Quieto));
    Empezar(partida, {{-4, 0, 0}, {3, 2, 0}});
    for (int i = 0; i < 200 && partida.GetRobot(1).dEnergia == 100; ++i)
        ASSERT_TRUE(partida.Actualizar());
    EXPECT_LT(partida.GetRobot(1).dEnergia, 100);
    const SRobot& c = partida.GetRobot(0);
    EXPECT_NEAR(NormalizarAngulo(c.dRumbo - std::atan2(2 - c.dY, 3 - c.dX)), 0, 0.5) << "it has turned to it";
}

TEST(ArenaGuiones, ElCazadorSeApartaDeLaParedHaciaElLadoLibre)
{
    SPercepcion p;
    p.dTiempo = 2;
    p.dVelocidad = 2;
    p.dX = 7.5;
    p.dY = 3;  // the wall ahead is near, and nearer to the left
    SMemoriaGuion m;
    SOrdenes o = Decidir(DecidirCazador, p, m, ObjetoArena_Pared, 0, 1);
    EXPECT_EQ(o.dGiroCuerpo, -kGiroMaxCuerpo);
    p.dY = -3;
    m = SMemoriaGuion();
    o = Decidir(DecidirCazador, p, m, ObjetoArena_Pared, 0, 1);
    EXPECT_EQ(o.dGiroCuerpo, kGiroMaxCuerpo);
    // It keeps the turn until open space lies ahead.
    p.dRumbo = 0.5;
    o = Decidir(DecidirCazador, p, m, ObjetoArena_Pared, 0, 1);
    EXPECT_EQ(o.dGiroCuerpo, kGiroMaxCuerpo);
    p.dRumbo = kPi;
    o = Decidir(DecidirCazador, p, m, ObjetoArena_Pared, 0, 1);
    EXPECT_EQ(o.dGiroCuerpo, 0);
}

TEST(ArenaGuiones, ElCazadorVaALasGalletasYDisparaALasMinas)
{
    SPercepcion p;
    p.dTiempo = 3;
    SMemoriaGuion m;
    SOrdenes o = Decidir(DecidirCazador, p, m, ObjetoArena_Galleta, 0.4, 4);
    EXPECT_GT(o.dGiroCuerpo, 0);
    EXPECT_EQ(o.dDisparo, 0);
    p.dTiempo = 3.5;
    o = Decidir(DecidirCazador, p, m, ObjetoArena_Pared, -0.4, 9);
    EXPECT_GT(o.dGiroCuerpo, 0) << "still steering to the cookie it saw";

    m = SMemoriaGuion();
    o = Decidir(DecidirCazador, p, m, ObjetoArena_Mina, 0.3, 3);
    EXPECT_EQ(o.dDisparo, kEnergiaDisparoMin);
    o = Decidir(DecidirCazador, p, m, ObjetoArena_Mina, 0.3, 9);
    EXPECT_EQ(o.dDisparo, 0) << "too far to bother";

    // In a match: the mine ahead is shot before the hunter reaches it.
    CPartida partida;
    partida.AddRobot("c", Guion(Controlador_Cazador));
    partida.AddRobot("q", Guion(Controlador_Quieto));
    Empezar(partida, {{-3, 0, 0}, {-8, 0, 0}});
    partida.AddMina(0, 0.3, 20);
    for (int i = 0; i < 40 && !partida.GetMinas().empty(); ++i)
        ASSERT_TRUE(partida.Actualizar());
    EXPECT_TRUE(partida.GetMinas().empty());
    EXPECT_GT(partida.GetRobot(0).dEnergia, 99);
}

// Around a still target: at its distance, all the way round, hitting it.
TEST(ArenaGuiones, ElOrbitadorRodeaASuObjetivoADistanciaMientrasDispara)
{
    CPartida partida;
    partida.AddRobot("o", Guion(Controlador_Orbitador));
    partida.AddRobot("q", Guion(Controlador_Quieto));
    Empezar(partida, {{-6, 0, kPi / 2}, {0, 0, 0}});
    partida.GetRobotEditable(1).dEnergia = 1000;  // lasts long enough to be circled
    double dAnguloPrevio = std::atan2(partida.GetRobot(0).dY, partida.GetRobot(0).dX);
    double dVuelta = 0, dMin = 1e9, dMax = 0;
    for (int i = 0; i < 800 && partida.Actualizar(); ++i) {
        const SRobot& o = partida.GetRobot(0);
        const double dAngulo = std::atan2(o.dY, o.dX);
        dVuelta += NormalizarAngulo(dAngulo - dAnguloPrevio);
        dAnguloPrevio = dAngulo;
        if (i > 60) {
            dMin = std::min(dMin, std::hypot(o.dX, o.dY));
            dMax = std::max(dMax, std::hypot(o.dX, o.dY));
        }
    }
    EXPECT_GT(std::fabs(dVuelta), 2 * kPi) << "a full lap at least";
    EXPECT_GT(dMin, 3.5);
    EXPECT_LT(dMax, 8.5);
    EXPECT_LT(partida.GetRobot(1).dEnergia, 900);
}

TEST(ArenaGuiones, ElOrbitadorSeAcercaOSeAlejaYDaLaVueltaAnteLaPared)
{
    SPercepcion p;
    p.dTiempo = 4;
    p.dRumbo = kPi / 2;  // across the line to a target straight to its right
    SMemoriaGuion m;
    SOrdenes o = Decidir(DecidirOrbitador, p, m, ObjetoArena_Robot, -kPi / 2, 10);
    EXPECT_LT(o.dGiroCuerpo, 0) << "too far: leans toward it";
    m = SMemoriaGuion();
    o = Decidir(DecidirOrbitador, p, m, ObjetoArena_Robot, -kPi / 2, 3);
    EXPECT_GT(o.dGiroCuerpo, 0) << "too close: leans away";
    m = SMemoriaGuion();
    o = Decidir(DecidirOrbitador, p, m, ObjetoArena_Robot, -kPi / 2, 6);
    EXPECT_NEAR(o.dGiroCuerpo, 0, 1e-9) << "at its distance: straight across";
    EXPECT_EQ(m.dSentidoOrbita, 1);

    // Its way round would run into the wall: it turns the orbit round.
    p.dX = 6;
    p.dY = 6;
    p.dRumbo = 0;
    m = SMemoriaGuion();
    o = Decidir(DecidirOrbitador, p, m, ObjetoArena_Robot, -kPi / 2, 6);
    EXPECT_EQ(m.dSentidoOrbita, -1);
    EXPECT_GT(o.dGiroCuerpo, 0) << "round toward the open side";
}

// Scripted robots measure walls through the match's own geometry.
TEST(ArenaGuiones, DistanciaALaParedEnCualquierDireccion)
{
    CPartida partida;
    partida.AddRobot("q", Guion(Controlador_Quieto));
    SConfigPartida config;
    config.eArena = Arena_Cuadrado;
    ASSERT_TRUE(partida.Configurar(config));
    ASSERT_TRUE(partida.EmpezarSecuencia());
    ASSERT_TRUE(partida.EmpezarJuego());
    SPercepcion p;
    p.pGeometria = &partida.GetGeometria();
    EXPECT_NEAR(DistanciaParedEn(p, 0, Arena_Circulo), 9.7 - 0.5, 1e-9) << "the match's walls, not the argument's";
    EXPECT_NEAR(DistanciaParedEn(p, kPi / 4, Arena_Circulo), 9.7 * std::sqrt(2.0) - 0.5, 1e-9);
    p.dX = 5;
    EXPECT_NEAR(DistanciaParedEn(p, kPi, Arena_Circulo), 14.7 - 0.5, 1e-9);
    p.pGeometria = nullptr;  // a percepcion made by hand: the built-in arena named
    EXPECT_NEAR(DistanciaParedEn(p, 0, Arena_Circulo), std::sqrt(9.9 * 9.9) - 5 - 0.5, 1e-9);
    EXPECT_NEAR(DistanciaParedEn(p, kPi / 2, Arena_Cuadrado), 9.7 - 0.5, 1e-9);
}
