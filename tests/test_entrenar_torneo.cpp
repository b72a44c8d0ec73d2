// Real-arena tournaments: the readers on recorded outputs of the arena, the
// command line, and the runner against stand-in arena programs that break
// in the ways a real run can.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Archivos.h"
#include "ArenaReal.h"
#include "Comun/ArchivoEntero.h"
#include "EntrenamientoRobot.h"
#include "EtapaReal.h"
#include "Jugar.h"
#include "Opciones.h"
#include "RedIntegrada.h"
#include "ResultadosReal.h"
#include "Torneo.h"

namespace fs = std::filesystem;

namespace {

std::string Grabacion(const std::string& sNombre)
{
    std::string sTexto, sError;
    EXPECT_TRUE(LeerFichero(std::string(RUTA_DATOS_ARENA_REAL) + "/" + sNombre, sTexto, sError)) << sError;
    return sTexto;
}

template <typename TOpciones, typename TLector>
bool Leer(TLector fLector, std::vector<std::string> vPalabras, TOpciones& opciones, std::string& sError)
{
    vPalabras.insert(vPalabras.begin(), {"entrenar", "torneo"});
    std::vector<char*> vArgv;
    for (std::string& s : vPalabras)
        vArgv.push_back(&s[0]);
    return fLector(static_cast<int>(vArgv.size()), vArgv.data(), 2, opciones, sError);
}

}  // namespace

TEST(EstadisticasReal, MeleeConUnMuertoDaPuestosYRangos)
{
    std::vector<SRobotReal> v;
    std::string sError;
    ASSERT_TRUE(LeerEstadisticasReal(Grabacion("melee_estadisticas.txt"), 4, 1, v, sError)) << sError;
    EXPECT_EQ(v[1].sNombre, "Seek and Destroy");
    EXPECT_EQ(v[2].sNombre, "Empty");
    EXPECT_EQ(v[3].sNombre, "xt2-bot B");
    const SResumenReal vacio = ResumirRobot(v, 2);
    EXPECT_EQ(vacio.nRango, 4);
    EXPECT_EQ(vacio.nGanadas, 0);
    EXPECT_DOUBLE_EQ(vacio.dPuestoMedio, 4.0);
    EXPECT_DOUBLE_EQ(vacio.dPuntos, 1.0);
    // The three survivors share the first place and the first rank.
    const SResumenReal propio = ResumirRobot(v, 0);
    EXPECT_EQ(propio.nRango, 1);
    EXPECT_EQ(propio.nGanadas, 1);
    EXPECT_DOUBLE_EQ(propio.dPuntos, 2.0);
}

TEST(EstadisticasReal, VariasPartidasSeSuman)
{
    std::vector<SRobotReal> v;
    std::string sError;
    ASSERT_TRUE(LeerEstadisticasReal(Grabacion("tres_estadisticas.txt"), 3, 2, v, sError)) << sError;
    EXPECT_EQ(v[2].sNombre, "Rotate&Fire-signal");
    const SResumenReal r = ResumirRobot(v, 0);
    EXPECT_EQ(r.nPartidas, 2);
    EXPECT_DOUBLE_EQ(r.dPuntos, 2.0);
    EXPECT_EQ(r.nGanadas, 2);
}

// Whatever the point where the writer stopped, nothing is handed out; and a
// file of another tournament is not taken for this one.
TEST(EstadisticasReal, CortadaOAjenaNoDaNada)
{
    const std::string sEntera = Grabacion("tres_estadisticas.txt");
    for (size_t n = 0; n < sEntera.size(); ++n) {
        std::vector<SRobotReal> v;
        std::string sError;
        EXPECT_FALSE(LeerEstadisticasReal(sEntera.substr(0, n), 3, 2, v, sError)) << "cortada en " << n;
        EXPECT_TRUE(v.empty());
        EXPECT_FALSE(sError.empty());
    }
    std::vector<SRobotReal> v;
    std::string sError;
    EXPECT_FALSE(LeerEstadisticasReal(sEntera, 4, 2, v, sError));
    EXPECT_FALSE(LeerEstadisticasReal(sEntera, 3, 3, v, sError));
    EXPECT_FALSE(LeerEstadisticasReal("Robot: \nSeq: 1  Game: 1  Pos: x  Points: 1\n", 1, 1, v, sError));
    EXPECT_FALSE(LeerEstadisticasReal("Seq: 1  Game: 1  Pos: 1  Points: 1\n", 1, 1, v, sError));
    EXPECT_TRUE(v.empty());
}

TEST(LogReal, DaLosMismosResultadosQueLasEstadisticas)
{
    std::vector<SRobotReal> vEst, vLog;
    std::string sError;
    int nPartidas = 0;
    ASSERT_TRUE(LeerEstadisticasReal(Grabacion("melee_estadisticas.txt"), 4, 1, vEst, sError));
    ASSERT_TRUE(LeerLogReal(Grabacion("melee_registro.txt"), 4, vLog, nPartidas, sError)) << sError;
    EXPECT_EQ(nPartidas, 1);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(vLog[i].sNombre, vEst[i].sNombre);
        ASSERT_EQ(vLog[i].vPartidas.size(), 1u);
        EXPECT_EQ(vLog[i].vPartidas[0].nPuesto, vEst[i].vPartidas[0].nPuesto);
        EXPECT_DOUBLE_EQ(vLog[i].vPartidas[0].dPuntos, vEst[i].vPartidas[0].dPuntos);
    }
}

// The still sample robot never fires (it is pushed around, so it may move);
// the others move and fire.
TEST(LogReal, MovimientosYDisparosPorRobot)
{
    std::vector<SRobotReal> v;
    std::string sError;
    int nPartidas = 0;
    ASSERT_TRUE(LeerLogReal(Grabacion("melee_registro.txt"), 4, v, nPartidas, sError));
    EXPECT_EQ(v[2].nDisparos, 0);
    for (size_t i : {0, 1, 3}) {
        EXPECT_TRUE(v[i].bSeMovio) << i;
        EXPECT_GT(v[i].nDisparos, 0) << i;
    }
}

// A run killed in its second game: the first counts, the half game and
// the cut line do not.
TEST(LogReal, RunMatadoGuardaSoloPartidasCompletas)
{
    const std::string sLog = Grabacion("matado_registro.txt");
    ASSERT_NE(sLog.back(), '\n');
    std::vector<SRobotReal> v;
    std::string sError;
    int nPartidas = -1;
    ASSERT_TRUE(LeerLogReal(sLog, 2, v, nPartidas, sError)) << sError;
    EXPECT_EQ(nPartidas, 1);
    EXPECT_EQ(v[0].vPartidas.size(), 1u);
    EXPECT_EQ(v[1].sNombre, "Seek and Destroy");
    // Cut anywhere, a log never shows more games than were played whole.
    for (size_t n = 0; n < sLog.size(); n += 997) {
        int nCortadas = 0;
        if (LeerLogReal(sLog.substr(0, n), 2, v, nCortadas, sError)) {
            EXPECT_LE(nCortadas, 1);
        }
    }
}

TEST(LogReal, AjenoOVacioNoSirve)
{
    std::vector<SRobotReal> v;
    std::string sError;
    int nPartidas = 0;
    EXPECT_FALSE(LeerLogReal("", 2, v, nPartidas, sError));
    EXPECT_FALSE(LeerLogReal(Grabacion("matado_registro.txt"), 3, v, nPartidas, sError));
    EXPECT_FALSE(LeerLogReal("L0 ff Uno\nL1 ff Otro\nG1 1\nDR 0 x 1\n", 2, v, nPartidas, sError));
    EXPECT_TRUE(v.empty());
}

TEST(OpcionesTorneo, MezclasYArenas)
{
    SOpcionesTorneo o;
    std::string sError;
    ASSERT_TRUE(Leer(LeerOpcionesTorneo,
                     {"--rivales", "a+b+./c,d", "--arena", "Circle,Star", "--arena", "mia/x.arena", "--partidas", "3",
                      "--tiempo", "20"},
                     o, sError))
        << sError;
    ASSERT_EQ(o.vMezclas.size(), 2u);
    EXPECT_EQ(o.vMezclas[0], (TMezclaReal{"a", "b", "./c"}));
    EXPECT_EQ(TextoMezcla(o.vMezclas[0]), "a+b+./c");
    EXPECT_EQ(o.vsArenas, (std::vector<std::string>{"Circle", "Star", "mia/x.arena"}));
    EXPECT_EQ(o.nPartidas, 3);
    for (const char* szMala : {"a,,b", "+a", "a+", ""}) {
        std::vector<TMezclaReal> v;
        EXPECT_FALSE(LeerMezclasReales(szMala, v, sError)) << szMala;
    }
    SOpcionesTorneo o2;
    EXPECT_FALSE(Leer(LeerOpcionesTorneo, {"--red", "r.txt", "--robot", "./p"}, o2, sError));
    EXPECT_FALSE(Leer(LeerOpcionesTorneo, {"--partidas", "0"}, o2, sError));
}

// The best rival of a mix over all arenas is the one with the most points
// per game in all its games, not the best on one arena.
TEST(TablaTorneo, MejorRivalSobreTodasLasArenas)
{
    auto Robot = [](const std::string& sNombre, std::vector<double> vdPuntos) {
        SRobotReal r;
        r.sNombre = sNombre;
        for (double d : vdPuntos)
            r.vPartidas.push_back(SPartidaReal{1, d});
        return r;
    };
    std::vector<SFilaTorneo> v(2);
    v[0].sMezcla = v[1].sMezcla = "a+b";
    v[0].vRobots = {Robot("bot", {1}), Robot("a", {5}), Robot("b", {3})};
    v[1].vRobots = {Robot("bot", {2, 2}), Robot("a", {1, 1}), Robot("b", {3, 3})};
    std::string sNombre;
    double d = 0;
    ASSERT_TRUE(MejorRivalTorneo(v[0], sNombre, d));
    EXPECT_EQ(sNombre, "a");
    const std::vector<SFilaTorneo> t = TotalesPorMezcla(v);
    ASSERT_EQ(t.size(), 1u);
    ASSERT_TRUE(MejorRivalTorneo(t[0], sNombre, d));
    EXPECT_EQ(sNombre, "b");
    EXPECT_DOUBLE_EQ(d, 3.0);
    EXPECT_NE(TablaTorneo(t).find("b: 3.00"), std::string::npos) << TablaTorneo(t);
    SFilaTorneo solo;
    solo.vRobots = {Robot("bot", {1})};
    EXPECT_FALSE(MejorRivalTorneo(solo, sNombre, d));
}

TEST(TablaTorneo, TotalesPonderanPorPartidas)
{
    std::vector<SFilaTorneo> v(3);
    v[0].sMezcla = v[2].sMezcla = "x";
    v[1].sMezcla = "y";
    v[0].resumen.nPartidas = 1;
    v[0].resumen.dPuestoMedio = 1;
    v[0].resumen.dPuntos = 4;
    v[2].resumen.nPartidas = 3;
    v[2].resumen.dPuestoMedio = 3;
    v[2].resumen.dPuntos = 2;
    v[2].resumen.nGanadas = 1;
    const std::vector<SFilaTorneo> t = TotalesPorMezcla(v);
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].resumen.nPartidas, 4);
    EXPECT_DOUBLE_EQ(t[0].resumen.dPuntos, 6);
    EXPECT_DOUBLE_EQ(t[0].resumen.dPuestoMedio, 2.5);
    EXPECT_EQ(t[0].resumen.nRango, 0);
    EXPECT_NE(CsvTorneo(t).find("\"total\",\"x\",4,-,6.00,1.5000,1,2.5000,\"\",\n"), std::string::npos);
}

namespace {

// An installation whose arena program is a shell script.
class InstalacionFalsa : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string sPlantilla = (fs::temp_directory_path() / "prueba-torneo-XXXXXX").string();
        ASSERT_NE(::mkdtemp(&sPlantilla[0]), nullptr);
        m_sRaiz = sPlantilla;
        std::string sError;
        const std::string sDatos = m_sRaiz + "/games/RealTimeBattle";
        ASSERT_TRUE(CrearCarpeta(m_sRaiz + "/bin", sError) && CrearCarpeta(sDatos + "/Robots", sError) &&
                    CrearCarpeta(sDatos + "/Arenas", sError));
        ASSERT_TRUE(EscribirArchivoEntero(sDatos + "/Arenas/Circle.arena", "scale 1\n", sError));
        Escribir(sDatos + "/Robots/rival.robot", "#!/bin/sh\n");
        m_sTemporal = m_sRaiz + "/tmp";
        ASSERT_TRUE(CrearCarpeta(m_sTemporal, sError));
        const char* szAntes = std::getenv("TMPDIR");
        m_sTmpdirAntes = szAntes ? szAntes : "";
        m_bTmpdir = szAntes != nullptr;
        ::setenv("TMPDIR", m_sTemporal.c_str(), 1);
    }

    void TearDown() override
    {
        if (m_bTmpdir)
            ::setenv("TMPDIR", m_sTmpdirAntes.c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        std::error_code ec;
        fs::remove_all(m_sRaiz, ec);
    }

    void Escribir(const std::string& sRuta, const std::string& sTexto)
    {
        std::string sError;
        ASSERT_TRUE(EscribirArchivoEntero(sRuta, sTexto, sError));
        ::chmod(sRuta.c_str(), 0755);
    }

    // The script gets the arena's arguments: -s statistics -l log.
    void Arena(const std::string& sCuerpo)
    {
        Escribir(m_sRaiz + "/bin/realtimebattle",
                 "#!/bin/bash\nwhile [ $# -gt 0 ]; do case $1 in -s) S=$2;; -l) "
                 "L=$2;; esac; shift; done\n" +
                     sCuerpo);
    }

    bool Jugar(std::vector<SRobotReal>& v, std::string& sError, double dLimite = 30)
    {
        SInstalacionReal inst;
        if (!BuscarInstalacionReal(m_sRaiz, inst, sError))
            return false;
        SPartidoReal partido;
        std::string sRival;
        EXPECT_TRUE(RutaRobotReal(inst, "rival", sRival, sError));
        partido.vsRobots = {sRival, sRival, sRival};
        EXPECT_TRUE(RutaArenaReal(inst, "Circle", partido.sArena, sError));
        partido.nPartidas = 2;
        SConfigReal config;
        config.dLimite = dLimite;
        return JugarPartidoReal(inst, partido, config, TAvisoPartida(), v, sError);
    }

    bool SinTemporales() const { return fs::is_empty(m_sTemporal); }

    std::string m_sRaiz, m_sTemporal, m_sTmpdirAntes;
    bool m_bTmpdir = false;
};

bool ProcesoVivo(const std::string& sPid)
{
    std::ifstream stat("/proc/" + sPid + "/stat");
    std::string sPid2, sNombre, sEstado;
    return stat >> sPid2 >> sNombre >> sEstado && sEstado != "Z";
}

}  // namespace

TEST_F(InstalacionFalsa, RunCorrectoDaLasEstadisticas)
{
    Arena("cp " + std::string(RUTA_DATOS_ARENA_REAL) + "/tres_estadisticas.txt \"$S\"\n");
    std::vector<SRobotReal> v;
    std::string sError;
    ASSERT_TRUE(Jugar(v, sError)) << sError;
    EXPECT_EQ(v.size(), 3u);
    EXPECT_TRUE(SinTemporales());
}

// The arena's own exit status says nothing of the games: without whole
// statistics the run failed, and the log tells how far it got.
TEST_F(InstalacionFalsa, SinEstadisticasEsUnFallo)
{
    Arena("cp " + std::string(RUTA_DATOS_ARENA_REAL) + "/matado_registro.txt \"$L\"\nexit 0\n");
    std::vector<SRobotReal> v;
    std::string sError;
    EXPECT_FALSE(Jugar(v, sError));
    EXPECT_TRUE(v.empty());
    EXPECT_NE(sError.find("Estad"), std::string::npos) << sError;
    EXPECT_TRUE(SinTemporales());
}

TEST_F(InstalacionFalsa, ArenaQueSeCuelgaSeMataConSuGrupo)
{
    Arena("sleep 1000 &\necho $! > " + m_sRaiz + "/hijo\necho 'Game 1 begins'\nsleep 1000\n");
    std::vector<SRobotReal> v;
    std::string sError;
    EXPECT_FALSE(Jugar(v, sError, 1));
    EXPECT_NE(sError.find("l"
                          "\xED"
                          "mite"),
              std::string::npos)
        << sError;
    EXPECT_NE(sError.find("Game 1 begins"), std::string::npos) << sError;
    std::string sHijo;
    ASSERT_TRUE(LeerFichero(m_sRaiz + "/hijo", sHijo, sError));
    sHijo.resize(sHijo.find('\n'));
    EXPECT_FALSE(ProcesoVivo(sHijo));
    EXPECT_TRUE(SinTemporales());
}

// A refused arena file leaves the arena waiting forever: its message ends
// the run at once.
TEST_F(InstalacionFalsa, ArenaRechazadaAcabaSinEsperarAlLimite)
{
    Arena("echo \"Error in arenafile 'x.arena': 'scale' not first command.\"\nsleep 1000\n");
    std::vector<SRobotReal> v;
    std::string sError;
    EXPECT_FALSE(Jugar(v, sError, 600));
    EXPECT_NE(sError.find("'scale' not first command"), std::string::npos) << sError;
}

// The second robot gave no name. If the log shows it moving, the arena lost
// its name but it played; if not, it never came.
TEST_F(InstalacionFalsa, RobotSinNombreSoloJuegaSiSeMovio)
{
    const std::string sEstadisticas =
        "printf 'Uno: \\nSeq: 1  Game: 1  Pos: 1  Points: 1\\nSeq: 1  Game: 2  Pos: 1  Points: 1\\n"
        ": \\nSeq: 1  Game: 1  Pos: 1  Points: 1\\nSeq: 1  Game: 2  Pos: 1  Points: 1\\n"
        "Tres: \\nSeq: 1  Game: 1  Pos: 1  Points: 1\\nSeq: 1  Game: 2  Pos: 1  Points: 1\\n' > \"$S\"\n";
    const std::string sPresentados = "L0 ff0000 Uno\\nL1 00ff00 \\nL2 0000ff Tres\\nG1 1\\n";
    for (bool bSeMueve : {false, true}) {
        const std::string sPosiciones = bSeMueve ? "R1 0.0 0.0 0 0 0 100\\nR1 3.0 0.0 0 0 0 100\\n" : "";
        Arena(sEstadisticas + "printf '" + sPresentados + sPosiciones + "' > \"$L\"\n");
        std::vector<SRobotReal> v;
        std::string sError;
        if (!bSeMueve) {
            EXPECT_FALSE(Jugar(v, sError));
            EXPECT_NE(sError.find("no se present"), std::string::npos) << sError;
            continue;
        }
        ASSERT_TRUE(Jugar(v, sError)) << sError;
        EXPECT_EQ(v[0].sNombre, "Uno");
        EXPECT_NE(v[1].sNombre.find("rival"), std::string::npos) << v[1].sNombre;
    }
}

TEST_F(InstalacionFalsa, RobotsYArenasSoloDeDondeSeDijo)
{
    SInstalacionReal inst;
    std::string sError, sRuta;
    Arena("exit 0\n");
    ASSERT_TRUE(BuscarInstalacionReal(m_sRaiz, inst, sError)) << sError;
    EXPECT_TRUE(RutaRobotReal(inst, "rival.robot", sRuta, sError));
    // A bare name is never looked up on the PATH or in the current folder.
    EXPECT_FALSE(RutaRobotReal(inst, "sh", sRuta, sError));
    Escribir(m_sRaiz + "/noejecutable", "x");
    ::chmod((m_sRaiz + "/noejecutable").c_str(), 0644);
    EXPECT_FALSE(RutaRobotReal(inst, m_sRaiz + "/noejecutable", sRuta, sError));
    EXPECT_NE(sError.find("no ejecutable"), std::string::npos);
    EXPECT_FALSE(RutaArenaReal(inst, "Nada", sRuta, sError));
    EXPECT_FALSE(BuscarInstalacionReal(m_sRaiz + "/bin", inst, sError));
    EXPECT_NE(sError.find(m_sRaiz + "/bin"), std::string::npos) << sError;
}

// entrenar jugar finds its program rivals where entrenar torneo finds them.
TEST_F(InstalacionFalsa, RivalesProgramaDeJugarSeBuscanComoEnElTorneo)
{
    Arena("exit 0\n");
    Escribir(m_sRaiz + "/propio", "#!/bin/sh\n");
    std::string sError;
    std::vector<std::vector<std::string>> v = {{"rival", ""}, {"quieto", "rival.robot", m_sRaiz + "/propio"}};
    v[1][0] = "";
    ASSERT_TRUE(ResolverProgramasRivales(m_sRaiz, v, sError)) << sError;
    const std::string sRival = m_sRaiz + "/games/RealTimeBattle/Robots/rival.robot";
    EXPECT_EQ(v, (std::vector<std::vector<std::string>>{{sRival, ""}, {"", sRival, m_sRaiz + "/propio"}}));

    std::vector<std::vector<std::string>> vNada = {{"buscadorr"}};
    EXPECT_FALSE(ResolverProgramasRivales(m_sRaiz, vNada, sError));
    EXPECT_NE(sError.find("Rival desconocido: 'buscadorr'"), std::string::npos) << sError;
    EXPECT_EQ(vNada[0][0], "buscadorr");
    Escribir(m_sRaiz + "/noejecutable", "x");
    ::chmod((m_sRaiz + "/noejecutable").c_str(), 0644);
    std::vector<std::vector<std::string>> vNoEjecutable = {{m_sRaiz + "/noejecutable"}};
    EXPECT_FALSE(ResolverProgramasRivales(m_sRaiz, vNoEjecutable, sError));
    EXPECT_NE(sError.find("no ejecutable"), std::string::npos) << sError;
    // Without an installation a name says where it was looked for; a path
    // needs none.
    std::vector<std::vector<std::string>> vSinArena = {{"rival"}};
    EXPECT_FALSE(ResolverProgramasRivales(m_sRaiz + "/bin", vSinArena, sError));
    EXPECT_NE(sError.find(m_sRaiz + "/bin"), std::string::npos) << sError;
    EXPECT_NE(sError.find("./rival"), std::string::npos) << sError;
    std::vector<std::vector<std::string>> vRuta = {{m_sRaiz + "/propio"}};
    EXPECT_TRUE(ResolverProgramasRivales(m_sRaiz + "/bin", vRuta, sError)) << sError;
}

// A robot program fields a rival of a simulated match, named after its file;
// one that cannot be started leaves its matches unplayed, not drawn.
TEST_F(InstalacionFalsa, UnProgramaEsRivalEnLaArenaSimulada)
{
    const std::string sGiro = m_sRaiz + "/giro.robot";
    Escribir(sGiro, "#!/bin/sh\necho 'Name giro'\nwhile read l; do echo 'Rotate 1 1'; echo 'Shoot 1'; done\n");
    SConfigEvaluacion config;
    config.dTiempoMaximo = 3;
    const std::vector<TGrupoRivales> vRivales = {{Rival_Programa}, {Rival_Quieto, Rival_Programa}};
    const std::vector<SMarcador> v =
        JugarContraRivales(kRedIntegrada, "", vRivales, 1, 1, config, 2, "", {{sGiro}, {"", sGiro}});
    ASSERT_EQ(v.size(), 2u);
    for (const SMarcador& m : v) {
        EXPECT_EQ(m.nPartidas, 1);
        EXPECT_EQ(m.nNoJugadas, 0);
        EXPECT_EQ(m.vRobots.back().sNombre, "giro");
    }
    // It took a place among the three robots of the melee.
    EXPECT_GE(v[1].vRobots[2].dPuesto, 1.0);
    EXPECT_LE(v[1].vRobots[2].dPuesto, 3.0);
    const std::string sTabla = TablaMarcador(v);
    EXPECT_NE(sTabla.find("giro   "), std::string::npos) << sTabla;
    EXPECT_NE(sTabla.find("red+quieto+giro"), std::string::npos) << sTabla;

    testing::internal::CaptureStderr();
    const std::vector<SMarcador> vFalta =
        JugarContraRivales(kRedIntegrada, "", {{Rival_Programa}}, 2, 1, config, 1, "", {{m_sRaiz + "/no_esta"}});
    EXPECT_NE(testing::internal::GetCapturedStderr().find("no_esta"), std::string::npos);
    EXPECT_EQ(vFalta[0].nPartidas, 0);
    EXPECT_EQ(vFalta[0].nNoJugadas, 2);
}

TEST(EtapaReal, OpcionYRecetaEnLaArenaReal)
{
    SOpcionesRobot o;
    std::string sError;
    ASSERT_TRUE(Leer(LeerOpcionesRobot, {"--etapa-real", "3,5", "--rtb", "/opt/arena"}, o, sError)) << sError;
    EXPECT_EQ(o.nEtapaRealRedes, 3);
    EXPECT_EQ(o.nEtapaRealPartidas, 5);
    EXPECT_EQ(o.sRtb, "/opt/arena");
    for (const char* szMalo : {"3", "3,", ",5", "0,5", "9,5", "3,0", "3,5x", "a,b"}) {
        SOpcionesRobot o2;
        EXPECT_FALSE(Leer(LeerOpcionesRobot, {"--etapa-real", szMalo}, o2, sError)) << szMalo;
    }
    // Each scripted mix once, in order; networks of the population have
    // no program to stand for them.
    const std::vector<TMezclaReal> v = RivalesRealesDeReceta({{Rival_Buscador},
                                                              {Rival_Giratorio},
                                                              {Rival_Buscador},
                                                              {Rival_Red},
                                                              {Rival_Quieto},
                                                              {Rival_Quieto, Rival_Red, Rival_Giratorio}});
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[0], TMezclaReal{"seek_and_destroy"});
    EXPECT_EQ(v[2], TMezclaReal{"empty"});
    EXPECT_EQ(v[3], (TMezclaReal{"empty", "rotate_and_fire_signal"}));
    SConfigEvaluacion config;
    config.eArena = Arena_Cuadrado;
    EXPECT_EQ(ArenasRealesDeReceta(config), std::vector<std::string>{"Square.arena"});
    // A list: built-in shapes by their installed names, once each; random
    // arenas have no file.
    std::string sErrorArenas;
    ASSERT_TRUE(LeerArenas("cuadrado,aleatoria,circulo,cuadrado", config, sErrorArenas)) << sErrorArenas;
    EXPECT_EQ(ArenasRealesDeReceta(config), (std::vector<std::string>{"Square.arena", "Circle.arena"}));
    ASSERT_TRUE(LeerArenas("aleatoria,aleatoria", config, sErrorArenas));
    EXPECT_EQ(ArenasRealesDeReceta(config), std::vector<std::string>{"Circle.arena"});
}

namespace {

SOpcionesRobot OpcionesEtapa(const std::string& sCarpeta, const std::string& sRtb)
{
    SOpcionesRobot o;
    o.nPoblacion = 8;
    o.nGeneraciones = 4;
    o.nPartidas = 1;
    o.nHilos = 1;
    o.nSemilla = 5;
    o.nValidacion = 1;
    o.nIntervaloControl = 0;
    o.evaluacion.dTiempoMaximo = 4.0;
    o.vRivales = {{Rival_Buscador}};
    std::string sError;
    LeerArenas("circulo", o.evaluacion, sError);
    o.sSalida = sCarpeta;
    o.bSilencio = true;
    o.bInforme = false;
    o.nEtapaRealRedes = 3;
    o.nEtapaRealPartidas = 1;
    o.sRtb = sRtb;
    return o;
}

}  // namespace

// The arena stand-in gives the robot 3 points with the second network and
// 1 with any other: the second ships, whatever the validation said.
TEST_F(InstalacionFalsa, EtapaRealEligeLaDeMasPuntosPorPartida)
{
    Escribir(m_sRaiz + "/games/RealTimeBattle/Robots/seek_and_destroy.robot", "#!/bin/sh\n");
    std::string sError;
    ASSERT_TRUE(EscribirArchivoEntero(m_sRaiz + "/games/RealTimeBattle/Arenas/Circle.arena", "scale 1\n", sError));
    Arena(
        "P=1; case $BOT_RED in *_2.txt) P=3;; esac\n"
        "printf 'bot: \\nSeq: 1  Game: 1  Pos: 1  Points: %s\\nrival: \\nSeq: 1  Game: 1  Pos: 2  Points: 0\\n' $P "
        "> \"$S\"\n");
    const std::string sSalida = m_sRaiz + "/salida";
    CEntrenamientoRobot entrenamiento;
    ASSERT_TRUE(entrenamiento.Ejecutar(OpcionesEtapa(sSalida, m_sRaiz), sError)) << sError;
    std::string sSegunda;
    ASSERT_TRUE(LeerFichero(sSalida + "/candidata_real_2.txt", sSegunda, sError)) << "hacen falta dos candidatas";
    EXPECT_EQ(entrenamiento.GetEtapaReal(), "hecha");
    EXPECT_EQ(entrenamiento.GetMejorRed(), sSegunda);
    EXPECT_DOUBLE_EQ(entrenamiento.GetCandidatoFinal().dPuntosReal, 3.0);
    std::string sResumen;
    ASSERT_TRUE(LeerFichero(sSalida + "/resumen.json", sResumen, sError));
    EXPECT_NE(sResumen.find("\"puntos_por_partida_real\":3,"), std::string::npos) << sResumen;
}

// Without an arena the stage says why and the validation's choice ships.
TEST_F(InstalacionFalsa, EtapaRealSinArenaSeSaltaYLaEjecucionSigue)
{
    std::string sError;
    CEntrenamientoRobot conEtapa, sinEtapa;
    ASSERT_TRUE(conEtapa.Ejecutar(OpcionesEtapa(m_sRaiz + "/con", m_sRaiz + "/no-hay"), sError)) << sError;
    SOpcionesRobot o = OpcionesEtapa(m_sRaiz + "/sin", "");
    o.nEtapaRealRedes = 0;
    ASSERT_TRUE(sinEtapa.Ejecutar(o, sError)) << sError;
    EXPECT_EQ(conEtapa.GetEtapaReal().rfind("saltada: ", 0), 0u) << conEtapa.GetEtapaReal();
    EXPECT_NE(conEtapa.GetEtapaReal().find(m_sRaiz + "/no-hay"), std::string::npos);
    EXPECT_EQ(conEtapa.GetMejorRed(), sinEtapa.GetMejorRed());
    EXPECT_LT(conEtapa.GetCandidatoFinal().dPuntosReal, 0);
}

// The whole command on the stand-in: a good run writes its table; a broken
// one writes none, and a network file that is no network stops it before
// the arena starts.
TEST_F(InstalacionFalsa, ComandoTorneoSoloEscribeResultadosEnteros)
{
    SOpcionesTorneo o;
    o.sRtb = m_sRaiz;
    o.nPartidas = 1;
    o.vMezclas = {{"rival"}};
    o.bSilencio = true;
    o.sSalida = m_sRaiz + "/torneo";
    std::string sError;
    Arena(
        "printf 'bot: \\nSeq: 1  Game: 1  Pos: 1  Points: 2\\nrival: \\nSeq: 1  Game: 1  Pos: 2  Points: 1\\n' "
        "> \"$S\"\n");
    ASSERT_TRUE(ComandoTorneo(o, sError)) << sError;
    std::string sCsv;
    ASSERT_TRUE(LeerFichero(o.sSalida + "/torneo.csv", sCsv, sError));
    EXPECT_NE(sCsv.find("\"Circle.arena\",\"rival\",1,1,2.00,2.0000,1,1.0000,\"rival\",1.0000\n"), std::string::npos)
        << sCsv;
    ASSERT_TRUE(LeerFichero(o.sSalida + "/partidas.csv", sCsv, sError));
    EXPECT_EQ(sCsv,
              "arena,rivales,partida,robot,nombre,puesto,puntos\n\"Circle.arena\",\"rival\",1,0,\"bot\",1,2\n"
              "\"Circle.arena\",\"rival\",1,1,\"rival\",2,1\n");

    o.sSalida = m_sRaiz + "/roto";
    Arena("exit 3\n");
    EXPECT_FALSE(ComandoTorneo(o, sError));
    EXPECT_NE(sError.find("estado 3"), std::string::npos) << sError;
    EXPECT_FALSE(ExisteFichero(o.sSalida + "/torneo.csv"));

    o.sRed = m_sRaiz + "/mala_red.txt";
    ASSERT_TRUE(EscribirArchivoEntero(o.sRed, "no es una red\n", sError));
    Arena("touch " + m_sRaiz + "/arrancada\n");
    EXPECT_FALSE(ComandoTorneo(o, sError));
    EXPECT_NE(sError.find("no contiene una red"), std::string::npos) << sError;
    EXPECT_FALSE(ExisteFichero(m_sRaiz + "/arrancada"));
}
