// The robot's own controller driven by the simulated arena through the
// text callback: the wiring a training program uses.

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "CPartida.h"
#include "CRTBot.h"
#include "RedIntegrada.h"

namespace {

// One robot with its streams; each call drains the messages and decides
// once, as the program does on a signal.
struct SBotEnArena {
    std::istringstream entrada;
    std::ostringstream salida;
    CRTBot bot;
    int nLlamadas = 0;
    std::string sUltimasOrdenes;

    SBotEnArena() : bot("entrenado", kRedIntegrada, entrada, salida, 6) {}

    SControlador Controlador()
    {
        SControlador c;
        c.eTipo = Controlador_Texto;
        c.fTexto = [this](const std::string& sMensajes, std::string& sComandos) {
            entrada.str(sMensajes);
            entrada.clear();
            bot.ProcesarMensajes();
            bot.TomarDecisiones();
            sComandos = salida.str();
            salida.str("");
            sUltimasOrdenes = sComandos;
            ++nLlamadas;
        };
        return c;
    }
};

SResultadoRobot JugarContraQuieto(uint64_t nSemilla, SBotEnArena& robot, CPartida& partida)
{
    SConfigPartida config;
    config.nSemilla = nSemilla;
    config.dTiempoMaximo = 10;
    EXPECT_TRUE(partida.Configurar(config));
    partida.AddRobot("bot", robot.Controlador());
    SControlador quieto;
    partida.AddRobot("quieto", quieto);
    EXPECT_TRUE(partida.Jugar());
    return partida.GetResultados()[0];
}

TEST(ArenaBot, ElControladorDelRobotJuegaUnaPartidaCompleta)
{
    SBotEnArena robot;
    CPartida partida;
    JugarContraQuieto(8, robot, partida);
    // Initialize, game start, one call per update (200 at most), the exit.
    EXPECT_GE(robot.nLlamadas, 4);
    EXPECT_LE(robot.nLlamadas, 203);
    EXPECT_TRUE(robot.bot.HaTerminado());
}

TEST(ArenaBot, LasOrdenesDelRobotLleganALaArena)
{
    SBotEnArena robot;
    CPartida partida;
    SConfigPartida config;
    config.nSemilla = 8;
    ASSERT_TRUE(partida.Configurar(config));
    partida.AddRobot("bot", robot.Controlador());
    partida.AddRobot("quieto", SControlador());
    ASSERT_TRUE(partida.EmpezarSecuencia());
    partida.EmpezarJuego();
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(partida.Actualizar());
    // The last decision's three "Rotate" lines are what the arena now holds.
    std::istringstream ordenes(robot.sUltimasOrdenes);
    std::string sOrden;
    int nGiros = 0;
    const SRobot& r = partida.GetRobot(0);
    while (ordenes >> sOrden) {
        if (sOrden != "Rotate")
            continue;
        int nParte = 0;
        double dVelocidad = 0;
        ordenes >> nParte >> dVelocidad;
        const double dArena = nParte == 1 ? r.dGiroCuerpo : nParte == 2 ? r.dGiroCanyon : r.dGiroRadar;
        EXPECT_NEAR(dArena, dVelocidad, 1e-5) << "parte " << nParte;
        ++nGiros;
    }
    EXPECT_EQ(nGiros, 3);
}

TEST(ArenaBot, ConElMismoRobotYSemillaLaPartidaSeRepite)
{
    SBotEnArena a, b;
    CPartida pa, pb;
    const SResultadoRobot ra = JugarContraQuieto(12, a, pa);
    const SResultadoRobot rb = JugarContraQuieto(12, b, pb);
    EXPECT_EQ(ra.dPuntos, rb.dPuntos);
    EXPECT_EQ(ra.dTiempoVivo, rb.dTiempoVivo);
    EXPECT_EQ(ra.nDisparos, rb.nDisparos);
    EXPECT_EQ(pa.GetRobot(0).dX, pb.GetRobot(0).dX);
    EXPECT_EQ(pa.GetRobot(0).dEnergia, pb.GetRobot(0).dEnergia);
}

}  // namespace
