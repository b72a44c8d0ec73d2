// A short game in the real arena, when one is installed (RTB_PREFIX, or a
// realtimebattle on the PATH): the built robot against a sample robot.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ArenaReal.h"
#include "Torneo.h"

TEST(ArenaReal, BotJuegaUnaPartidaCorta)
{
    SInstalacionReal instalacion;
    std::string sError;
    if (!BuscarInstalacionReal("", instalacion, sError)) {
        // Asked for by RTB_PREFIX, a missing arena is a failure, not a skip.
        const char* szPrefijo = std::getenv("RTB_PREFIX");
        ASSERT_TRUE(!szPrefijo || !*szPrefijo) << sError;
        GTEST_SKIP() << "Sin arena real instalada, no se juega: " << sError;
    }
    SPartidoReal partido;
    partido.vsRobots.push_back(RUTA_BOT);
    std::string sRival;
    ASSERT_TRUE(RutaRobotReal(instalacion, "seek_and_destroy", sRival, sError)) << sError;
    partido.vsRobots.push_back(sRival);
    ASSERT_TRUE(RutaArenaReal(instalacion, "Circle", partido.sArena, sError)) << sError;
    partido.nPartidas = 1;
    SConfigReal config;
    config.dTiempo = 20;
    std::vector<SRobotReal> vRobots;
    ASSERT_TRUE(JugarPartidoReal(instalacion, partido, config, TAvisoPartida(), vRobots, sError)) << sError;
    ASSERT_EQ(vRobots.size(), 2u);
    const SRobotReal& bot = vRobots[0];
    // The robot names itself after the program the arena started.
    EXPECT_NE(bot.sNombre.find("bot"), std::string::npos) << bot.sNombre;
    ASSERT_EQ(bot.vPartidas.size(), 1u);
    EXPECT_TRUE(bot.bSeMovio);
    EXPECT_GT(bot.nDisparos, 0);
}
