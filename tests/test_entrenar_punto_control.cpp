// A robot run stopped at any generation and resumed from its checkpoint
// ends with the very files of a run that never stopped; checkpoints that do
// not fit the run are refused, and one that cannot be written does not end
// the run. Runs kept tiny.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Archivos.h"
#include "EntrenamientoRobot.h"
#include "PuntoControl.h"

namespace {

const int kGeneraciones = 4;

std::string Leer(const std::string& sRuta)
{
    std::ifstream archivo(sRuta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>());
}

// Per process: ctest runs each test in its own process, several at once,
// and each process makes its own reference run.
std::string CarpetaNueva(const std::string& sNombre)
{
    const std::string sCarpeta = testing::TempDir() + "punto_control_" + std::to_string(getpid()) + "_" + sNombre;
    std::filesystem::remove_all(sCarpeta);
    return sCarpeta;
}

SOpcionesRobot Opciones(const std::string& sCarpeta, int nGeneraciones, unsigned nHilos = 1)
{
    SOpcionesRobot o;
    o.nPoblacion = 6;
    o.nGeneraciones = nGeneraciones;
    o.nPartidas = 2;
    o.nHilos = nHilos;
    o.nSemilla = 5;
    o.nValidacion = 1;
    o.nIntervaloControl = 1;
    o.evaluacion.dTiempoMaximo = 4.0;
    // Champions of earlier generations are part of what a resume restores.
    o.vRivales = {{Rival_Campeon}, {Rival_Giratorio, Rival_Quieto}};
    o.sSalida = sCarpeta;
    o.bSilencio = true;
    o.bInforme = false;
    return o;
}

bool Correr(const SOpcionesRobot& o, std::string& sError)
{
    CEntrenamientoRobot entrenamiento;
    return entrenamiento.Ejecutar(o, sError);
}

// Drops the last field of every line (the seconds of a CSV row).
std::string SinUltimoCampo(const std::string& sTexto)
{
    std::istringstream in(sTexto);
    std::string sResultado;
    for (std::string s; std::getline(in, s);)
        sResultado += s.substr(0, s.rfind(',')) + "\n";
    return sResultado;
}

// The summary without timings and without how the run was carried out.
std::string ResumenComparable(const std::string& sTexto)
{
    std::istringstream in(sTexto);
    std::string sResultado;
    for (std::string s; std::getline(in, s);) {
        bool bCircunstancia = false;
        for (const char* szClave : {"\"segundos\"", "\"hilos\"", "\"punto_control\"", "\"reanudada_desde\""})
            bCircunstancia = bCircunstancia || s.find(szClave) != std::string::npos;
        if (!bCircunstancia)
            sResultado += s.substr(0, s.find_last_not_of(',') + 1) + "\n";
    }
    return sResultado;
}

// Every result of a run, in one text, to compare two runs with.
std::string Resultados(const std::string& sCarpeta)
{
    std::string s;
    for (const char* szNombre : {"mejor_red.txt", "especies.csv", "especies.log", "genes.log", "ag.log", "partida.json",
                                 "punto_control/poblacion.txt"})
        s += std::string("== ") + szNombre + "\n" + Leer(sCarpeta + "/" + szNombre);
    s += "== estadisticas.csv\n" + SinUltimoCampo(Leer(sCarpeta + "/estadisticas.csv"));
    s += "== resumen.json\n" + ResumenComparable(Leer(sCarpeta + "/resumen.json"));
    return s;
}

class PuntoControl : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        ms_sReferencia = CarpetaNueva("referencia");
        std::string sError;
        ASSERT_TRUE(Correr(Opciones(ms_sReferencia, kGeneraciones), sError)) << sError;
    }
    // What this process left in the temporary folder.
    static void TearDownTestSuite()
    {
        const std::string sPrefijo = "punto_control_" + std::to_string(getpid()) + "_";
        std::error_code error;
        for (const auto& entrada : std::filesystem::directory_iterator(testing::TempDir(), error)) {
            if (entrada.path().filename().string().rfind(sPrefijo, 0) == 0)
                std::filesystem::remove_all(entrada.path(), error);
        }
    }
    static std::string ms_sReferencia;
};
std::string PuntoControl::ms_sReferencia;

}  // namespace

TEST_F(PuntoControl, ParadaEnCualquierGeneracionDaLaMismaEjecucion)
{
    const std::string sEsperado = Resultados(ms_sReferencia);
    ASSERT_NE(sEsperado.find("== ag.log\n0\t"), std::string::npos);
    for (int k = 1; k < kGeneraciones; ++k) {
        // Stopped with one thread, resumed with two: the count may change.
        SCOPED_TRACE("stopped after generation " + std::to_string(k));
        const std::string sCarpeta = CarpetaNueva("parada" + std::to_string(k));
        std::string sError;
        ASSERT_TRUE(Correr(Opciones(sCarpeta, k, 1), sError)) << sError;
        SOpcionesRobot o = Opciones(sCarpeta, kGeneraciones, 2);
        o.sReanudar = sCarpeta;
        ASSERT_TRUE(Correr(o, sError)) << sError;
        EXPECT_EQ(Resultados(sCarpeta), sEsperado);
    }
}

// What a run wrote after its last checkpoint (logs, rows) is not counted
// twice, and a crash between the two renames of a checkpoint write leaves
// the previous checkpoint to resume from.
TEST_F(PuntoControl, LoEscritoTrasElPuntoControlNoCuentaDosVeces)
{
    const std::string sCarpeta = CarpetaNueva("despues");
    std::string sError;
    SOpcionesRobot o = Opciones(sCarpeta, 1);
    ASSERT_TRUE(Correr(o, sError)) << sError;
    const std::string sCopia = sCarpeta + "_gen1";
    std::filesystem::remove_all(sCopia);
    std::filesystem::copy(CarpetaPuntoControl(sCarpeta), sCopia);
    o.nGeneraciones = 3;
    ASSERT_TRUE(Correr(o, sError)) << sError;
    // The state of generation 1 put back as a crashed swap leaves it: only
    // under its second name, beside a half-made new one.
    std::filesystem::remove_all(CarpetaPuntoControl(sCarpeta));
    std::filesystem::rename(sCopia, CarpetaPuntoControl(sCarpeta) + ".anterior");
    std::filesystem::create_directories(CarpetaPuntoControl(sCarpeta) + ".nuevo");
    std::ofstream(CarpetaPuntoControl(sCarpeta) + ".nuevo/poblacion.txt") << "0\n";

    o.nGeneraciones = kGeneraciones;
    o.sReanudar = CarpetaPuntoControl(sCarpeta);
    ASSERT_TRUE(Correr(o, sError)) << sError;
    EXPECT_EQ(Resultados(sCarpeta), Resultados(ms_sReferencia));
    EXPECT_FALSE(std::filesystem::exists(CarpetaPuntoControl(sCarpeta) + ".nuevo"));
    EXPECT_FALSE(std::filesystem::exists(CarpetaPuntoControl(sCarpeta) + ".anterior"));
}

// Stopped after its last checkpoint and before the statistics of its last
// generation were written: the resume runs no generation, yet ends with
// every row.
TEST_F(PuntoControl, ParadaTrasElUltimoPuntoControl)
{
    const std::string sCarpeta = CarpetaNueva("tras_ultimo");
    std::string sError;
    SOpcionesRobot o = Opciones(sCarpeta, kGeneraciones);
    ASSERT_TRUE(Correr(o, sError)) << sError;
    for (const char* szNombre : {"estadisticas.csv", "especies.csv"}) {
        const std::string sTexto = Leer(sCarpeta + "/" + szNombre);
        std::ofstream(sCarpeta + "/" + szNombre) << sTexto.substr(0, sTexto.find('\n') + 1);
    }
    o.sReanudar = sCarpeta;
    ASSERT_TRUE(Correr(o, sError)) << sError;
    EXPECT_EQ(Resultados(sCarpeta), Resultados(ms_sReferencia));
}

TEST_F(PuntoControl, SeNiegaLoQueNoEncaja)
{
    const std::string sPuntoControl = CarpetaPuntoControl(ms_sReferencia);
    const std::string sCarpeta = CarpetaNueva("negado");
    std::string sError;
    auto Negado = [&](const SOpcionesRobot& o) {
        sError.clear();
        EXPECT_FALSE(Correr(o, sError));
        EXPECT_FALSE(std::filesystem::exists(sCarpeta)) << "nothing is written before the checks";
        return sError;
    };
    SOpcionesRobot o = Opciones(sCarpeta, kGeneraciones + 2);
    o.sReanudar = sPuntoControl;

    // Options that change the run: each difference is named.
    SOpcionesRobot otras = o;
    otras.nPoblacion = 7;
    otras.nSemilla = 6;
    std::string sErrorArena;
    ASSERT_TRUE(LeerArenas("cuadrado", otras.evaluacion, sErrorArena));
    const std::string sOpciones = Negado(otras);
    const std::string sArenas = "--arena: " + std::to_string(o.evaluacion.vsArenas.size()) + " archivos de arena";
    for (const std::string& sParte :
         {std::string("--poblacion: 6 en el punto de control, 7 ahora"), std::string("--semilla: 5"), sArenas})
        EXPECT_NE(sOpciones.find(sParte), std::string::npos) << sOpciones;
    EXPECT_EQ(sOpciones.find("--partidas"), std::string::npos) << sOpciones;
    otras = o;
    otras.vRivales = {{Rival_Quieto}};
    EXPECT_NE(Negado(otras).find("--rivales"), std::string::npos) << sError;
    // Arena files count by their content, not by where they are read from.
    SOpcionesRobot conArchivo = o;
    conArchivo.evaluacion.sArena = "a/mia.arena";
    conArchivo.evaluacion.vsArenas = {"scale 10\n"};
    SOpcionesRobot movido = conArchivo;
    movido.evaluacion.sArena = "b/mia.arena";
    EXPECT_EQ(DiferenciasDeOpciones(OpcionesQueFijanLaEjecucion(conArchivo), OpcionesQueFijanLaEjecucion(movido)), "");
    movido.evaluacion.vsArenas = {"scale 11\n"};
    EXPECT_NE(DiferenciasDeOpciones(OpcionesQueFijanLaEjecucion(conArchivo), OpcionesQueFijanLaEjecucion(movido)), "");
    otras = o;
    otras.evaluacion.dTiempoMaximo = 5.0;
    EXPECT_NE(Negado(otras).find("--tiempo: 4 en el punto de control, 5 ahora"), std::string::npos) << sError;

    // A population file without its state, or with another run's state.
    const std::string sSuelta = CarpetaNueva("suelta");
    std::filesystem::create_directories(sSuelta);
    std::filesystem::copy_file(RutaPoblacionPuntoControl(sPuntoControl), sSuelta + "/poblacion.txt");
    o.sReanudar = sSuelta + "/poblacion.txt";
    EXPECT_NE(Negado(o).find("estado.txt"), std::string::npos) << sError;
    const std::string sOtra = CarpetaNueva("otra");
    ASSERT_TRUE(Correr(Opciones(sOtra, 1), sError)) << sError;
    std::filesystem::copy_file(RutaEstadoPuntoControl(CarpetaPuntoControl(sOtra)), sSuelta + "/estado.txt");
    EXPECT_NE(Negado(o).find("no es el estado de"), std::string::npos) << sError;

    // A damaged state.
    const std::string sEstado = Leer(RutaEstadoPuntoControl(sPuntoControl));
    std::filesystem::copy_file(RutaPoblacionPuntoControl(sPuntoControl), sSuelta + "/poblacion.txt",
                               std::filesystem::copy_options::overwrite_existing);
    std::ofstream(sSuelta + "/estado.txt", std::ios::binary) << sEstado.substr(0, sEstado.size() / 2);
    EXPECT_NE(Negado(o).find("incompleto"), std::string::npos) << sError;
}

TEST(EstadoEntrenamiento, SoloSeLeeEntero)
{
    SEstadoEntrenamiento e;
    e.nGeneracion = 3;
    e.vOpciones = {{"--rivales", "quieto,buscador"}, {"--tiempo", "0.10000000000000001"}};
    e.sHuellaPoblacion = Huella("abc");
    e.nEvaluaciones = 36;
    e.dMejorHistorica = 1.0 / 3.0;
    e.sRandom = "1 2 3";
    e.vsFilasEstadisticas = {"0,12,1.0\n", "1,24,2.0\n"};
    e.vsLogs = {"a\n\n", "", "c 7\n"};
    SCandidato c;
    c.sRed = "red\ncon lineas\n";
    c.dPuntuacion = 0.1;
    c.nGeneracion = 2;
    e.vCandidatos = {c};
    e.campeones.vsRedes = {"red A\n", "red B"};
    e.sMotor = "estado_motor 1\n...";
    const std::string sTexto = TextoEstado(e);
    SEstadoEntrenamiento leido;
    std::string sError;
    ASSERT_TRUE(LeerEstado(sTexto, leido, sError)) << sError;
    EXPECT_EQ(TextoEstado(leido), sTexto);
    EXPECT_EQ(leido.dMejorHistorica, 1.0 / 3.0);
    EXPECT_EQ(leido.vCandidatos[0].sRed, c.sRed);
    for (size_t n = 0; n < sTexto.size(); n += 7)
        EXPECT_FALSE(LeerEstado(sTexto.substr(0, n), leido, sError)) << "cut at " << n;
    EXPECT_FALSE(LeerEstado(sTexto + "x", leido, sError));
    EXPECT_NE(Huella("abc"), Huella("abd"));
}

// A file-size limit (as a full disk) makes the checkpoints of generations 3
// and 4 fail: each is reported with its path and reason, the checkpoint of
// generation 2 stays as it was, the run goes on to the end and fails saying
// which generation is saved. Resumed from there, it is the same run.
TEST_F(PuntoControl, PuntoControlQueNoSePuedeEscribir)
{
    const std::string sCarpeta = CarpetaNueva("lleno");
    std::string sError;
    ASSERT_TRUE(Correr(Opciones(sCarpeta, 2), sError)) << sError;
    const std::string sPuntoControl = CarpetaPuntoControl(sCarpeta);
    const std::string sAntes = Leer(RutaEstadoPuntoControl(sPuntoControl));
    const std::string sAvisos = sCarpeta + "_avisos.txt";
    const std::string sRespuesta = sCarpeta + "_respuesta.txt";

    SOpcionesRobot o = Opciones(sCarpeta, kGeneraciones);
    o.sReanudar = sPuntoControl;
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // Below the state file, above the CSV files and the logs.
        const rlim_t nLimite = static_cast<rlim_t>(sAntes.size() * 3 / 4);
        rlimit limite = {nLimite, nLimite};
        std::signal(SIGXFSZ, SIG_IGN);
        if (!std::freopen(sAvisos.c_str(), "w", stderr) || setrlimit(RLIMIT_FSIZE, &limite) != 0)
            _exit(3);
        std::string sFallo;
        const bool bBien = Correr(o, sFallo);
        std::ofstream(sRespuesta) << sFallo;
        std::fflush(stderr);
        _exit(bBien ? 0 : 1);
    }
    int nEstado = 0;
    ASSERT_EQ(waitpid(pid, &nEstado, 0), pid);
    ASSERT_TRUE(WIFEXITED(nEstado));
    EXPECT_EQ(WEXITSTATUS(nEstado), 1) << "the run reports that it could not be saved";

    const std::string sFallo = Leer(sRespuesta);
    EXPECT_NE(sFallo.find(std::string("generaci") + "\xF3" + "n 2"), std::string::npos) << sFallo;
    EXPECT_NE(sFallo.find(sPuntoControl), std::string::npos) << sFallo;
    const std::string sTextoAvisos = Leer(sAvisos);
    size_t nAvisos = 0;
    for (size_t n = sTextoAvisos.find("AVISO: No se pudo guardar el punto de control"); n != std::string::npos;
         n = sTextoAvisos.find("AVISO: No se pudo guardar el punto de control", n + 1))
        ++nAvisos;
    EXPECT_EQ(nAvisos, 2u) << sTextoAvisos;
    EXPECT_NE(sTextoAvisos.find(sPuntoControl + ".nuevo/estado.txt"), std::string::npos) << sTextoAvisos;
    EXPECT_NE(sTextoAvisos.find("File too large"), std::string::npos) << sTextoAvisos;
    EXPECT_NE(Leer(sCarpeta + "/estadisticas.csv").find("\n3,"), std::string::npos) << "the run went on";
    EXPECT_EQ(Leer(RutaEstadoPuntoControl(sPuntoControl)), sAntes) << "the saved checkpoint is intact";

    ASSERT_TRUE(Correr(o, sError)) << sError;
    EXPECT_EQ(Resultados(sCarpeta), Resultados(ms_sReferencia));
}
