// End to end: the real robot program run by the arena's program controller,
// first line by line, then in whole matches of the simulated arena. Only
// the protocol and the match's course are checked here, nothing that
// depends on the built-in network.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "CPartida.h"
#include "CProgramaRobot.h"
#include "NEAT/CRedNeuronal.h"

namespace {

typedef std::chrono::steady_clock TReloj;

const int kEspera = 3000;  // ms; generous bound for any single answer

bool EsDecision(const std::string& s) { return s.compare(0, 9, "Rotate 1 ") == 0; }

bool EsNombre(const std::string& s) { return s.compare(0, 5, "Name ") == 0; }

int Contar(const std::vector<std::string>& v, bool (*pfCumple)(const std::string&))
{
    int n = 0;
    for (const std::string& s : v)
        n += pfCumple(s) ? 1 : 0;
    return n;
}

// Lines until nNombres "Name" lines came, or kEspera ms passed.
std::vector<std::string> LeerHastaNombres(CProgramaRobot& arena, int nNombres)
{
    const TReloj::time_point tLimite = TReloj::now() + std::chrono::milliseconds(kEspera);
    std::vector<std::string> vLineas;
    std::string sLinea;
    while (Contar(vLineas, EsNombre) < nNombres && TReloj::now() < tLimite) {
        if (arena.LeerLinea(sLinea, 50))
            vLineas.push_back(sLinea);
    }
    return vLineas;
}

long long MsDesde(TReloj::time_point t)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(TReloj::now() - t).count();
}

class BotContraArena : public ::testing::Test {
protected:
    // Starts the robot and reads its three option lines and first decision.
    void Arrancar()
    {
        std::string sError;
        ASSERT_TRUE(arena.Iniciar(RUTA_BOT, sError)) << sError;
        for (const char* szOpcion : {"RobotOption 3 1", "RobotOption 2 10", "RobotOption 1 2"}) {
            ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
            ASSERT_EQ(sLinea, szOpcion);
        }
        ASSERT_TRUE(arena.SenyalPedida());
        LeerDecision();
    }

    // Reads one whole decision: the three rotations, in order, then the
    // acceleration or brake line. A shot line of the previous one is skipped.
    void LeerDecision()
    {
        do {
            ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera)) << "sin decisi"
                                                             "\xF3"
                                                             "n";
        } while (sLinea.compare(0, 6, "Shoot ") == 0);
        ASSERT_TRUE(EsDecision(sLinea)) << sLinea;
        ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
        ASSERT_EQ(sLinea.substr(0, 9), "Rotate 4 ");
        ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
        ASSERT_EQ(sLinea.substr(0, 9), "Rotate 2 ");
        ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
        ASSERT_TRUE(sLinea.compare(0, 11, "Accelerate ") == 0 || sLinea.compare(0, 6, "Brake ") == 0) << sLinea;
    }

    // The start of a sequence; the robot answers with its name.
    void EmpezarYLeerNombre()
    {
        Tick("Initialize 1\nYourName x\nGameStarts\n");
        // The first decision may have ended with a shot.
        do {
            ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
        } while (sLinea.compare(0, 6, "Shoot ") == 0);
        EXPECT_EQ(sLinea, std::string("Name ") + RUTA_BOT);
    }

    void Tick(const std::string& sMensajes)
    {
        ASSERT_TRUE(arena.Enviar(sMensajes));
        ASSERT_TRUE(arena.Senyalar());
    }

    void Terminar(const std::string& sUltimos = "ExitRobot\n")
    {
        Tick(sUltimos);
        int nEstado = -1;
        ASSERT_TRUE(arena.EsperarFin(nEstado, kEspera));
        ASSERT_TRUE(WIFEXITED(nEstado)) << nEstado;
        EXPECT_EQ(WEXITSTATUS(nEstado), 0);
    }

    CProgramaRobot arena;
    std::string sLinea;
};

}  // namespace

TEST_F(BotContraArena, ArrancaContestaInitializeYTerminaConExitRobot)
{
    Arrancar();
    EmpezarYLeerNombre();
    ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
    EXPECT_EQ(sLinea, "Colour FF0000 0000FF");
    LeerDecision();
    Terminar();
}

TEST_F(BotContraArena, UnDrenajeYUnaDecisionPorSenyalAlRitmoDeLaArena)
{
    Arrancar();
    // Each tick's probe is answered in that tick's drain, before its decision.
    for (int i = 0; i < 30; ++i) {
        Tick(
            "Radar 3.5 0 0.7\nRobotInfo 90 0\nCoordinates 1 2 0.5\nInfo 0.5 1.5 0.2\nEnergy 100\n"
            "Initialize 1\nCollision 2 0.3\nWarning 1 texto cualquiera\n");
        ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
        while (sLinea.compare(0, 6, "Shoot ") == 0)
            ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
        ASSERT_TRUE(EsNombre(sLinea)) << "tick " << i << ": " << sLinea;
        ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
        ASSERT_EQ(sLinea, "Colour FF0000 0000FF");
        LeerDecision();
        std::this_thread::sleep_for(std::chrono::milliseconds(10 + (i * 7) % 41));
    }
    // Nothing more than one decision per tick.
    for (const std::string& s : arena.LeerLineasDurante(100))
        EXPECT_FALSE(EsDecision(s) || EsNombre(s)) << s;
    Terminar();
}

TEST_F(BotContraArena, RafagaDeSenyalesSinPerderMensajes)
{
    Arrancar();
    const int nTicks = 60;
    for (int i = 0; i < nTicks; ++i) {
        Tick("Radar 2 2 0.1\nInfo 1 1 1\nInitialize 1\nEnergy 50\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::vector<std::string> vLineas = LeerHastaNombres(arena, nTicks);
    for (const std::string& s : arena.LeerLineasDurante(100))
        vLineas.push_back(s);
    EXPECT_EQ(Contar(vLineas, EsNombre), nTicks);
    const int nDecisiones = Contar(vLineas, EsDecision);
    EXPECT_GE(nDecisiones, 1);
    EXPECT_LE(nDecisiones, nTicks + 1);
    Terminar();
}

TEST_F(BotContraArena, DecideSoloCadaSegundoYNoTrasLaDecisionDeUnaSenyal)
{
    Arrancar();
    TReloj::time_point t = TReloj::now();
    LeerDecision();  // on its own, a second after the first one
    EXPECT_GE(MsDesde(t), 800);

    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    Tick("Energy 100\n");
    LeerDecision();
    t = TReloj::now();
    // The signal's decision counts: the next one on its own comes a whole
    // second later, not at the old second's end.
    EXPECT_TRUE(arena.LeerLineasDurante(800).size() <= 1u);
    LeerDecision();
    EXPECT_GE(MsDesde(t), 800);
    Terminar();
}

TEST_F(BotContraArena, SenyalSinNadaQueLeerYMensajesQueLleganDespues)
{
    Arrancar();
    Tick("");
    LeerDecision();
    // A word cut by the end of what is waiting is lost; what follows is not.
    Tick("Initia");
    LeerDecision();
    Tick("lize 1\nInitialize 2\n");
    ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
    while (sLinea.compare(0, 6, "Shoot ") == 0)
        ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
    EXPECT_TRUE(EsNombre(sLinea)) << sLinea;
    Terminar();
}

TEST_F(BotContraArena, BasuraYPalabrasEnormesNoLoTumban)
{
    Arrancar();
    std::string sBasura = "\x01\x02\xff\xfe\x80 \t\r\n";
    sBasura += std::string(30000, 'Q') + " Radar " + std::string(2000, '9') + " 0 1\n";
    sBasura += "Radar x y z\nEnergy\nInfo 1e999999 2 3\n";
    Tick(sBasura);
    LeerDecision();
    // A failed read ends a drain; later drains get through what is left.
    for (int i = 0; i < 5; ++i) {
        Tick("Initialize 1\n");
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_GE(Contar(LeerHastaNombres(arena, 1), EsNombre), 1);
    Terminar();
}

TEST_F(BotContraArena, ExitRobotDejaElRestoYHaceUnaUltimaDecision)
{
    Arrancar();
    Terminar("Radar 1 0 0\nExitRobot\nInitialize 1\n");
    std::vector<std::string> vRestantes;
    while (arena.LeerLinea(sLinea, 0))
        vRestantes.push_back(sLinea);
    EXPECT_EQ(Contar(vRestantes, EsNombre), 0);
    EXPECT_EQ(Contar(vRestantes, EsDecision), 1);
}

TEST_F(BotContraArena, SenyalNadaMasPedirlaNoLoMata)
{
    std::string sError;
    ASSERT_TRUE(arena.Iniciar(RUTA_BOT, sError)) << sError;
    ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
    ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
    ASSERT_EQ(sLinea, "RobotOption 2 10");
    ASSERT_TRUE(arena.Senyalar());
    ASSERT_TRUE(arena.LeerLinea(sLinea, kEspera));
    EXPECT_EQ(sLinea, "RobotOption 1 2");
    LeerDecision();
    Terminar();
}

namespace {

// Sets BOT_RED for the robots started while it lives.
class CRedDelEntorno {
public:
    explicit CRedDelEntorno(const std::string& sRuta) { ::setenv("BOT_RED", sRuta.c_str(), 1); }
    ~CRedDelEntorno() { ::unsetenv("BOT_RED"); }
};

}  // namespace

// The hand-made network written as training writes its networks.
std::string FicheroRedManual()
{
    std::ifstream plano(RUTA_RED_MANUAL);
    std::ostringstream texto;
    texto << plano.rdbuf();
    CRedNeuronal red;
    EXPECT_TRUE(CargarTextoPlanoRed(texto.str(), red));
    const std::string sRuta =
        (std::filesystem::temp_directory_path() / ("test_bot_red" + std::to_string(::getpid()) + ".txt")).string();
    std::ofstream fichero(sRuta);
    fichero << red;
    return sRuta;
}

TEST_F(BotContraArena, RedDeBOT_REDJuegaSinReconstruir)
{
    const std::string sFichero = FicheroRedManual();
    CRedDelEntorno red(sFichero);
    Arrancar();
    EmpezarYLeerNombre();
    Terminar();
    std::remove(sFichero.c_str());
}

// A network file that cannot be read, or that holds no network, stops the
// robot before it says anything, rather than playing the built-in network
// in its place.
TEST(BotConRedDeFichero, RedIlegibleOMalaLoDetiene)
{
    const std::string sMala =
        (std::filesystem::temp_directory_path() / ("test_bot_red_mala" + std::to_string(::getpid()) + ".txt")).string();
    std::ofstream(sMala) << "esto no es una red\n";
    for (const std::string& sRuta : {std::string(RUTA_RED_MANUAL) + ".no-existe", sMala}) {
        CRedDelEntorno red(sRuta);
        CProgramaRobot arena;
        std::string sError;
        ASSERT_TRUE(arena.Iniciar(RUTA_BOT, sError)) << sError;
        int nEstado = -1;
        ASSERT_TRUE(arena.EsperarFin(nEstado, kEspera)) << sRuta;
        ASSERT_TRUE(WIFEXITED(nEstado));
        EXPECT_NE(WEXITSTATUS(nEstado), 0) << sRuta;
        std::string sLinea;
        EXPECT_FALSE(arena.LeerLinea(sLinea, 100)) << sRuta;
    }
    std::remove(sMala.c_str());
}

// ---------------------------------------------------------------- matches

namespace {

// A script in the system's temporary folder, run as a robot program.
class CGuionRobot {
public:
    explicit CGuionRobot(const std::string& sCuerpo)
        : m_sRuta((std::filesystem::temp_directory_path() /
                   ("robot_guion_" + std::to_string(::getpid()) + "_" + std::to_string(s_nSiguiente++)))
                      .string())
    {
        std::ofstream(m_sRuta) << "#!/bin/sh\n" << sCuerpo << "\n";
        std::filesystem::permissions(m_sRuta, std::filesystem::perms::owner_all);
    }
    ~CGuionRobot() { std::remove(m_sRuta.c_str()); }
    const std::string& Ruta() const { return m_sRuta; }

private:
    static int s_nSiguiente;
    std::string m_sRuta;
};
int CGuionRobot::s_nSiguiente = 0;

SConfigPartida ConfigCorta(double dSegundos)
{
    SConfigPartida config;
    config.nSemilla = 5;
    config.dTiempoMaximo = dSegundos;
    return config;
}

SControlador Guion(TControlador eTipo)
{
    SControlador c;
    c.eTipo = eTipo;
    return c;
}

}  // namespace

// The real robot in a whole match: it turns, moves, is told of the end and
// leaves with status 0.
TEST(BotEnPartida, JuegaUnaPartidaEnteraYSaleAlAcabar)
{
    CProgramaRobot bot;
    std::string sError;
    ASSERT_TRUE(bot.Iniciar(RUTA_BOT, sError)) << sError;
    EXPECT_EQ(bot.GetSenyal(), SIGUSR1);
    EXPECT_TRUE(bot.GetNoBloqueante());
    CPartida partida;
    ASSERT_TRUE(partida.Configurar(ConfigCorta(8)));
    partida.AddRobot("bot", bot.Controlador());
    partida.AddRobot("quieto", Guion(Controlador_Quieto));
    ASSERT_TRUE(partida.EmpezarSecuencia());
    ASSERT_TRUE(partida.EmpezarJuego());
    const double dX = partida.GetRobot(0).dX, dY = partida.GetRobot(0).dY, dRumbo = partida.GetRobot(0).dRumbo;
    while (partida.Actualizar()) {
    }
    EXPECT_TRUE(partida.GetRobot(0).dX != dX || partida.GetRobot(0).dY != dY || partida.GetRobot(0).dRumbo != dRumbo);
    partida.TerminarSecuencia();
    int nEstado = -1;
    ASSERT_TRUE(bot.EsperarFin(nEstado, kEspera));
    ASSERT_TRUE(WIFEXITED(nEstado));
    EXPECT_EQ(WEXITSTATUS(nEstado), 0);
}

// Programs that hang, die or write garbage, beside the real robot and a
// scripted one: the match ends in bounded time, the dead program's robot
// dies in the game, the garbage changes nothing.
TEST(BotEnPartida, ProgramasQueSeCuelganMuerenOEscribenBasuraNoParanLaPartida)
{
    const CGuionRobot colgado("exec sleep 1000");
    const CGuionRobot muerto("exit 3");
    const CGuionRobot basura(
        "echo 'RobotOption 2 10'; while :; do echo 'Rotate x y'; echo 'Accelerate'; "
        "printf 'Shoot 1 2 3\\n\\001\\377\\n'; done");
    CProgramaRobot vProgramas[4];
    std::string sError;
    ASSERT_TRUE(vProgramas[0].Iniciar(RUTA_BOT, sError)) << sError;
    ASSERT_TRUE(vProgramas[1].Iniciar(colgado.Ruta(), sError, 50)) << sError;
    ASSERT_TRUE(vProgramas[2].Iniciar(muerto.Ruta(), sError, 50)) << sError;
    ASSERT_TRUE(vProgramas[3].Iniciar(basura.Ruta(), sError, 50)) << sError;
    for (CProgramaRobot& programa : vProgramas)
        programa.SetEsperas(20, 2);
    CPartida partida;
    ASSERT_TRUE(partida.Configurar(ConfigCorta(3)));
    const char* vszNombres[] = {"bot", "colgado", "muerto", "basura"};
    for (int i = 0; i < 4; ++i)
        partida.AddRobot(vszNombres[i], vProgramas[i].Controlador());
    partida.AddRobot("buscador", Guion(Controlador_Buscador));
    const TReloj::time_point t = TReloj::now();
    ASSERT_TRUE(partida.Jugar());
    EXPECT_LT(MsDesde(t), 60 * 1000);
    const std::vector<SResultadoRobot> v = partida.GetResultados();
    EXPECT_LT(v[2].dTiempoVivo, 1.0) << "the program that ended dies at once";
    EXPECT_GT(v[1].dTiempoVivo, v[2].dTiempoVivo);
    EXPECT_EQ(partida.GetRobot(3).dAceleracion, 0.0) << "garbage commands nothing";
    EXPECT_EQ(partida.GetRobot(3).dGiroCuerpo, 0.0);
    EXPECT_EQ(v[3].nDisparos, 0);
    EXPECT_FALSE(vProgramas[2].EnMarcha());
    EXPECT_TRUE(vProgramas[1].EnMarcha()) << "a hung program is ended only when its controller goes";
    vProgramas[1].Limpiar();
    EXPECT_FALSE(vProgramas[1].EnMarcha());
}

TEST(ProgramaRobot, UnProgramaQueNoExisteSeDiceYNoSeArranca)
{
    CProgramaRobot programa;
    std::string sError;
    EXPECT_FALSE(programa.Iniciar("/no/existe/robot", sError));
    EXPECT_NE(sError.find("/no/existe/robot"), std::string::npos) << sError;
    EXPECT_FALSE(programa.EnMarcha());
}
