// The entrenar program as a user meets it: usage of every command, bad use,
// a damaged network file, and its texts in the user's encoding.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "Evaluacion.h"
#include "NEAT/CRedNeuronal.h"
#include "RedIntegrada.h"
#include "apoyo/CarpetaTemporal.h"

namespace {

namespace fs = std::filesystem;

struct SSalida {
    int nCodigo = -1;
    std::string sSalida;
    std::string sError;
};

std::string Leer(const std::string& sRuta)
{
    std::ifstream f(sRuta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

class EntrenarPrograma : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_sDir = (fs::temp_directory_path() / ("entrenar_programa_" + std::to_string(getpid()))).string();
        fs::create_directories(m_sDir);
    }
    void TearDown() override { fs::remove_all(m_sDir); }

    // Runs entrenar with sArgumentos under the locale sLocal.
    SSalida Ejecutar(const std::string& sArgumentos, const std::string& sLocal = "C.UTF-8")
    {
        const std::string sOrden = "LC_ALL=" + sLocal + " " + RUTA_ENTRENAR + " " + sArgumentos + " >" + m_sDir +
                                   "/salida 2>" + m_sDir + "/error";
        SSalida s;
        const int nEstado = std::system(sOrden.c_str());
        s.nCodigo = WIFEXITED(nEstado) ? WEXITSTATUS(nEstado) : -1;
        s.sSalida = Leer(m_sDir + "/salida");
        s.sError = Leer(m_sDir + "/error");
        return s;
    }
    std::string m_sDir;
};

TEST_F(EntrenarPrograma, CadaOrdenResponde_help_h_yAyuda)
{
    for (const char* szOrden : {"robot", "xor", "polos", "jugar"}) {
        for (const char* szPide : {"--help", "-h", "ayuda"}) {
            const SSalida s = Ejecutar(std::string(szOrden) + " " + szPide);
            EXPECT_EQ(s.nCodigo, 0) << szOrden << " " << szPide;
            EXPECT_EQ(s.sSalida.rfind(std::string("Uso: entrenar ") + szOrden, 0), 0u) << s.sSalida;
            EXPECT_NE(s.sSalida.find("por omisi\xC3\xB3n"), std::string::npos) << s.sSalida;
            EXPECT_NE(s.sSalida.find("\nEjemplo:\n  entrenar "), std::string::npos) << s.sSalida;
            EXPECT_TRUE(s.sError.empty()) << s.sError;
        }
    }
    const SSalida s = Ejecutar("ayuda jugar");
    EXPECT_EQ(s.nCodigo, 0);
    EXPECT_EQ(s.sSalida.rfind("Uso: entrenar jugar", 0), 0u) << s.sSalida;
    EXPECT_EQ(Ejecutar("--help").sSalida.rfind("Uso: entrenar <orden>", 0), 0u);
}

TEST_F(EntrenarPrograma, ElMalUsoDiceElErrorYLuegoElUso)
{
    const SSalida s = Ejecutar("xor --help-me");
    EXPECT_EQ(s.nCodigo, 2);
    EXPECT_EQ(s.sError.rfind("ERROR: Opci\xC3\xB3n desconocida: --help-me\n\nUso: entrenar xor", 0), 0u) << s.sError;
    EXPECT_TRUE(s.sSalida.empty());
    // A value that could only fail later is refused at once, with its range.
    const SSalida g = Ejecutar("robot --generaciones 0 --salida " + m_sDir + "/no");
    EXPECT_EQ(g.nCodigo, 2);
    EXPECT_NE(g.sError.find("--generaciones: '0' (un entero de 1 a 1000000)"), std::string::npos) << g.sError;
    EXPECT_FALSE(fs::exists(m_sDir + "/no"));
    EXPECT_EQ(Ejecutar("nada").nCodigo, 2);
    EXPECT_EQ(Ejecutar("").nCodigo, 2);
}

TEST_F(EntrenarPrograma, TextosEnLaCodificacionDelUsuarioSinCodificarDosVeces)
{
    // A path in UTF-8 inside a message of the program's own.
    const std::string sRuta = m_sDir + "/a\xC3\xB1o.txt";
    const SSalida utf8 = Ejecutar("jugar --red '" + sRuta + "'");
    EXPECT_EQ(utf8.nCodigo, 1);
    EXPECT_NE(utf8.sError.find("a\xC3\xB1o.txt"), std::string::npos) << utf8.sError;
    const SSalida latin1 = Ejecutar("jugar --ayuda", "C");
    EXPECT_NE(latin1.sSalida.find("por omisi\xF3n"), std::string::npos) << "the programs' own bytes elsewhere";
}

TEST_F(EntrenarPrograma, UnaRedDanyadaOQueNoEstaSeNombraYTerminaConUno)
{
    const std::string sMala = m_sDir + "/mala.txt";
    std::ofstream(sMala) << "esto no es una red\n";
    for (const std::string& sArgumentos : {"jugar --red " + sMala, "jugar --red " + m_sDir + "/no_esta.txt",
                                           "jugar --rivales poblacion --red-rival " + sMala}) {
        const SSalida s = Ejecutar(sArgumentos + " --partidas 1 --tiempo 1");
        EXPECT_EQ(s.nCodigo, 1) << sArgumentos << "\n" << s.sError;
        EXPECT_EQ(s.sError.rfind("ERROR: ", 0), 0u) << s.sError;
        EXPECT_NE(s.sError.find(sArgumentos.substr(sArgumentos.rfind(' ') + 1)), std::string::npos) << s.sError;
    }
}

// Any robot program takes the network's place, run as the arena runs it.
TEST_F(EntrenarPrograma, JugarConUnProgramaDeRobot)
{
    const SSalida s = Ejecutar(std::string("jugar --programa ") + RUTA_BOT +
                               " --partidas 1 --tiempo 5 --hilos 1 --rivales quieto,buscador+giratorio");
    EXPECT_EQ(s.nCodigo, 0) << s.sError;
    EXPECT_EQ(s.sSalida.rfind(std::string("Programa: ") + RUTA_BOT + ";", 0), 0u) << s.sSalida;
    EXPECT_NE(s.sSalida.find("quieto "), std::string::npos) << s.sSalida;
    const SSalida falta = Ejecutar("jugar --programa " + m_sDir + "/no_hay_robot --partidas 1");
    EXPECT_EQ(falta.nCodigo, 1);
    EXPECT_NE(falta.sError.find(m_sDir + "/no_hay_robot"), std::string::npos) << falta.sError;
    // Recorded with programs on both sides: each different rival once.
    const SSalida g = Ejecutar(std::string("jugar --programa ") + RUTA_BOT + " --partidas 1 --tiempo 3 --rivales " +
                               RUTA_BOT + ",quieto+" + RUTA_BOT + " --grabar " + m_sDir + "/g.json");
    EXPECT_EQ(g.nCodigo, 0) << g.sError;
    const std::string sGrabacion = Leer(m_sDir + "/g.json");
    EXPECT_NE(sGrabacion.find("\"robots\":[\"entrenado\",\"bot\",\"quieto\"]"), std::string::npos)
        << sGrabacion.substr(0, 300);
    EXPECT_EQ(Ejecutar(std::string("jugar --programa ") + RUTA_BOT + " --espera 4").nCodigo, 2);
}

// The recording holds the rival network it was given, not the robot's own.
TEST(GrabarPartida, ElRivalPoblacionJuegaLaRedRival)
{
    const std::string sDir = (fs::temp_directory_path() / ("grabar_rival_" + std::to_string(getpid()))).string();
    fs::create_directories(sDir);
    SConfigEvaluacion config;
    config.dTiempoMaximo = 5;
    std::string sError;
    CRedNeuronal manual;
    ASSERT_TRUE(CargarTextoPlanoRed(Leer(RUTA_RED_MANUAL), manual));
    std::ostringstream texto;
    texto << manual;
    const std::string sManual = texto.str();
    ASSERT_TRUE(GrabarPartidaContra(kRedIntegrada, "", {Rival_Red}, 3, config, sDir + "/misma.json", sError));
    ASSERT_TRUE(GrabarPartidaContra(kRedIntegrada, sManual, {Rival_Red}, 3, config, sDir + "/otra.json", sError));
    ASSERT_TRUE(GrabarPartidaContra(kRedIntegrada, sManual, {Rival_Red}, 3, config, sDir + "/otra2.json", sError));
    EXPECT_NE(Leer(sDir + "/misma.json"), Leer(sDir + "/otra.json"));
    EXPECT_EQ(Leer(sDir + "/otra.json"), Leer(sDir + "/otra2.json"));
    fs::remove_all(sDir);
}

}  // namespace

namespace {

// A match the arena refuses is not a match lost or won.
TEST(JugarEncuentro, UnaPartidaQueLaArenaRechazaNoCuenta)
{
    SConfigEvaluacion config;
    config.dPaso = 1e-300;
    SEncuentro encuentro;
    encuentro.vRivales.resize(1);
    testing::internal::CaptureStderr();
    const SResultadoEncuentro r = JugarEncuentro(kRedIntegrada, encuentro, config);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Paso de tiempo"), std::string::npos);
    EXPECT_FALSE(r.bJugado);
    EXPECT_FALSE(r.bGana || r.bPierde);
    EXPECT_EQ(r.dPuntuacion, 0.0);
    config.dPaso = 0.05;
    config.dTiempoMaximo = 2;
    EXPECT_TRUE(JugarEncuentro(kRedIntegrada, encuentro, config).bJugado);
    std::string sError;
    config.dPaso = 1e-300;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(GrabarPartidaContra(kRedIntegrada, "", {Rival_Quieto}, 1, config, "nunca.json", sError));
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(sError.empty());
    EXPECT_FALSE(fs::exists("nunca.json"));
}

// A program that answers each update at once, in one write and with no
// clock of its own, plays the same match whatever time each update gives
// it: a shorter wait only plays it sooner.
TEST(JugarEncuentro, UnProgramaQueRespondeAlMomentoJuegaIgualConMenosEspera)
{
    const std::string sPrograma = CarpetaTemporal() + "/al_momento.robot";
    {
        std::ofstream f(sPrograma);
        f << "#!/bin/sh\n"
             "trap '' USR1\n"
             "visto=1\n"
             "while read -r m d t a; do\n"
             "  case \"$m\" in\n"
             "    Radar) visto=$t ;;\n"
             "    Energy) if [ \"$visto\" = 0 ]; then printf 'Shoot 5\\nRotate 7 -0.5\\n'\n"
             "            else printf 'Rotate 7 1\\nAccelerate 0.5\\n'; fi ;;\n"
             "  esac\n"
             "done\n";
    }
    fs::permissions(sPrograma, fs::perms::owner_all);
    SConfigEvaluacion config;
    config.nMsRespuesta = 300;
    config.dTiempoMaximo = 10;
    SEncuentro encuentro;
    encuentro.nSemilla = 3;
    encuentro.vRivales.resize(2);
    encuentro.vRivales[0].eRival = Rival_Giratorio;
    encuentro.vRivales[1].eRival = Rival_Programa;
    encuentro.vRivales[1].sPrograma = sPrograma;
    const SResultadoEncuentro normal = JugarEncuentro(kRedIntegrada, encuentro, config, nullptr, sPrograma);
    config.nMsRespuesta = 50;
    const SResultadoEncuentro breve = JugarEncuentro(kRedIntegrada, encuentro, config, nullptr, sPrograma);
    ASSERT_TRUE(normal.bJugado && breve.bJugado);
    EXPECT_GT(normal.propio.nDisparos, 0) << "the program played";
    EXPECT_EQ(breve.dPuntuacion, normal.dPuntuacion);
    EXPECT_EQ(breve.propio.dDanyoCausado, normal.propio.dDanyoCausado);
    ASSERT_EQ(breve.vRivales.size(), 2u);
    for (size_t i = 0; i < 2; ++i)
        EXPECT_EQ(breve.vRivales[i].dPuntos, normal.vRivales[i].dPuntos) << i;
    fs::remove_all(fs::path(sPrograma).parent_path());
}

}  // namespace
