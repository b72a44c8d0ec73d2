// Command line, XOR runs and their summary, output files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Archivos.h"
#include "ComandoXor.h"
#include "NEAT/CRedNeuronal.h"
#include "Opciones.h"
#include "Xor.h"

namespace {

// Runs a parser on a command line given as words after the command.
template <typename TOpciones, typename TLector>
bool Leer(TLector fLector, std::vector<std::string> vPalabras, TOpciones& opciones, std::string& sError)
{
    vPalabras.insert(vPalabras.begin(), {"entrenar", "orden"});
    std::vector<char*> vArgv;
    for (std::string& s : vPalabras)
        vArgv.push_back(&s[0]);
    return fLector(static_cast<int>(vArgv.size()), vArgv.data(), 2, opciones, sError);
}

}  // namespace

TEST(Opciones, RobotLeeCadaOpcion)
{
    SOpcionesRobot o;
    std::string sError;
    ASSERT_TRUE(Leer(LeerOpcionesRobot,
                     {"--poblacion",
                      "30",
                      "--generaciones",
                      "7",
                      "--semilla",
                      "4294967295",
                      "--hilos",
                      "3",
                      "--partidas",
                      "6",
                      "--salida",
                      "s",
                      "--punto-control",
                      "0",
                      "--reanudar",
                      "p.txt",
                      "--instalar",
                      "--silencio",
                      "--rivales",
                      "quieto,poblacion",
                      "--tiempo",
                      "30.5",
                      "--arena",
                      "cuadrado",
                      "--validacion",
                      "0",
                      "--sin-informe",
                      "--fuente-red",
                      "f.cpp"},
                     o, sError))
        << sError;
    EXPECT_EQ(o.nPoblacion, 30);
    EXPECT_EQ(o.nGeneraciones, 7);
    EXPECT_EQ(o.nSemilla, 4294967295u);
    EXPECT_EQ(o.nHilos, 3u);
    EXPECT_EQ(o.nPartidas, 6);
    EXPECT_EQ(o.sSalida, "s");
    EXPECT_EQ(o.nIntervaloControl, 0);
    EXPECT_EQ(o.sReanudar, "p.txt");
    EXPECT_TRUE(o.bInstalar);
    EXPECT_TRUE(o.bSilencio);
    EXPECT_FALSE(o.bInforme);
    EXPECT_EQ(o.vRivales, (std::vector<TGrupoRivales>{{Rival_Quieto}, {Rival_Red}}));
    EXPECT_DOUBLE_EQ(o.evaluacion.dTiempoMaximo, 30.5);
    EXPECT_EQ(o.evaluacion.eArena, Arena_Cuadrado);
    EXPECT_EQ(o.nValidacion, 0);
    EXPECT_EQ(o.sFuenteRed, "f.cpp");
}

// --arena takes a file or a folder of them, read and checked up front; a
// match's arena then follows from its seed alone.
TEST(Opciones, ArenaDeArchivoOCarpeta)
{
    const std::filesystem::path carpeta =
        std::filesystem::temp_directory_path() /
        ("arenas_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(carpeta / "reserva");
    const std::string sBuena = "scale 1\nboundary -5 -5 5 5\ninner_circle 1 1 0 0 5\n";
    std::ofstream(carpeta / "b.arena") << sBuena;
    std::ofstream(carpeta / "a.arena") << sBuena << "circle 1 1 0 0 1\n";
    std::ofstream(carpeta / "notas.txt") << "no es una arena";
    std::ofstream(carpeta / "reserva" / "c.arena") << sBuena;
    SConfigEvaluacion config;
    std::string sError;
    ASSERT_TRUE(LeerArenas(carpeta.string(), config, sError)) << sError;
    EXPECT_EQ(config.eArena, Arena_Archivo);
    EXPECT_EQ(config.vsNombresArenas,
              (std::vector<std::string>{(carpeta / "a.arena").string(), (carpeta / "b.arena").string()}));
    ASSERT_TRUE(LeerArenas((carpeta / "b.arena").string(), config, sError));
    EXPECT_EQ(config.vsArenas, std::vector<std::string>{sBuena});
    ASSERT_TRUE(LeerArenas("aleatoria", config, sError));
    EXPECT_EQ(config.eArena, Arena_Aleatoria);
    EXPECT_TRUE(config.vsArenas.empty());

    // Both files get matches, each match always the same one.
    ASSERT_TRUE(LeerArenas(carpeta.string(), config, sError));
    int vnVeces[2] = {0, 0};
    for (uint64_t nSemilla = 0; nSemilla < 40; ++nSemilla) {
        SConfigPartida a, b;
        ElegirArena(config, nSemilla, a);
        ElegirArena(config, nSemilla, b);
        EXPECT_EQ(a.sNombreArena, b.sNombreArena);
        ++vnVeces[a.sNombreArena == config.vsNombresArenas[0] ? 0 : 1];
    }
    EXPECT_GT(vnVeces[0], 5);
    EXPECT_GT(vnVeces[1], 5);

    // One malformed file refuses the whole folder, naming file and line.
    std::ofstream(carpeta / "c.arena") << sBuena << "circle 1 1 0 0\n";
    EXPECT_FALSE(LeerArenas(carpeta.string(), config, sError));
    EXPECT_EQ(sError, (carpeta / "c.arena").string() + ":4: falta un n\xFAmero");
    std::filesystem::remove(carpeta / "a.arena");
    std::filesystem::remove(carpeta / "b.arena");
    std::filesystem::remove(carpeta / "c.arena");
    EXPECT_FALSE(LeerArenas(carpeta.string(), config, sError));
    EXPECT_EQ(sError, "No hay archivos .arena en " + carpeta.string());
    std::filesystem::remove_all(carpeta);
}

TEST(Opciones, ValoresMalosSeRechazanConMensaje)
{
    const std::vector<std::vector<std::string>> vMalas = {
        {"--poblacion", "1"}, {"--poblacion", "10x"},
        {"--poblacion"},      {"--hilos", "0"},
        {"--semilla", "-1"},  {"--semilla", "4294967296"},
        {"--partidas", ""},   {"--tiempo", "nan"},
        {"--arena", "cruz"},  {"--rivales", "giratorio,,quieto"},
        {"--rivales", ""},    {"--rivales", "todos"},
        {"--desconocida"},    {"robot"},
    };
    for (const std::vector<std::string>& vMala : vMalas) {
        SOpcionesRobot o;
        std::string sError;
        EXPECT_FALSE(Leer(LeerOpcionesRobot, vMala, o, sError)) << vMala[0];
        EXPECT_FALSE(sError.empty()) << vMala[0];
    }
    SOpcionesXor x;
    std::string sError;
    EXPECT_FALSE(Leer(LeerOpcionesXor, {"--partidas", "3"}, x, sError)) << "not an option of xor";
    EXPECT_TRUE(Leer(LeerOpcionesXor, {"--ejecuciones", "5", "--silencio"}, x, sError)) << sError;
    EXPECT_EQ(x.nEjecuciones, 5);
    SOpcionesJugar j;
    EXPECT_TRUE(Leer(LeerOpcionesJugar, {"--red", "r.txt", "--rivales", "buscador", "--grabar", "g.json"}, j, sError))
        << sError;
    EXPECT_EQ(j.sRed, "r.txt");
    EXPECT_EQ(j.vRivales, std::vector<TGrupoRivales>{{Rival_Buscador}});
    EXPECT_FALSE(Leer(LeerOpcionesJugar, {"--instalar"}, j, sError));
    EXPECT_TRUE(j.vProgramasRivales.empty()) << "scripted rivals only";
}

// Anything that is not a scripted rival is a robot program, kept as given
// at its place; what it names is looked up when the matches start.
TEST(Opciones, JugarContraProgramasDeRobot)
{
    SOpcionesJugar j;
    std::string sError;
    ASSERT_TRUE(Leer(LeerOpcionesJugar,
                     {"--rivales", "buscador,seek_and_destroy+quieto+./mi.robot,poblacion", "--rtb", "/opt/arena"}, j,
                     sError))
        << sError;
    EXPECT_EQ(j.vRivales, (std::vector<TGrupoRivales>{
                              {Rival_Buscador}, {Rival_Programa, Rival_Quieto, Rival_Programa}, {Rival_Red}}));
    EXPECT_EQ(j.vProgramasRivales,
              (std::vector<std::vector<std::string>>{{""}, {"seek_and_destroy", "", "./mi.robot"}, {""}}));
    EXPECT_EQ(j.sRtb, "/opt/arena");
    for (const char* szMala : {"a,,b", "buscador+", "campeones+seek_and_destroy", "a+b+c+d+e+f+g+h"}) {
        SOpcionesJugar m;
        EXPECT_FALSE(Leer(LeerOpcionesJugar, {"--rivales", szMala}, m, sError)) << szMala;
        EXPECT_FALSE(sError.empty());
    }
    SOpcionesJugar g;
    EXPECT_TRUE(Leer(LeerOpcionesJugar, {"--rivales", "xt-bot-a", "--grabar", "g.json"}, g, sError)) << sError;
}

// Only a scripted robot takes the network's seat, and never beside a program.
TEST(Opciones, JugarConUnGuionEnLugarDeLaRed)
{
    SOpcionesJugar j;
    std::string sError;
    ASSERT_TRUE(Leer(LeerOpcionesJugar, {"--guion", "orbitador", "--rivales", "cazador"}, j, sError)) << sError;
    EXPECT_EQ(j.eGuion, Rival_Orbitador);
    for (const char* szMalo : {"poblacion", "campeones", "red", "xt-bot-a", "./mi.robot"}) {
        SOpcionesJugar m;
        EXPECT_FALSE(Leer(LeerOpcionesJugar, {"--guion", szMalo}, m, sError)) << szMalo;
        EXPECT_NE(sError.find("orbitador"), std::string::npos) << sError;
    }
    SOpcionesJugar p;
    EXPECT_FALSE(Leer(LeerOpcionesJugar, {"--guion", "cazador", "--programa", "./mi.robot"}, p, sError));
    EXPECT_NE(sError.find("--programa"), std::string::npos) << sError;
}

TEST(Xor, RedHechaAManoLoResuelve)
{
    // Hidden OR and AND; output = OR and not AND.
    CRedNeuronal red;
    const SNeurona* a = red.AddNeurona(Neurona_Entrada, 0, 0, 0, 1);
    const SNeurona* b = red.AddNeurona(Neurona_Entrada, 1, 1, 0, 1);
    const SNeurona* sesgo = red.AddNeurona(Neurona_Sesgo, 2, 2, 0, 1);
    const SNeurona* salida = red.AddNeurona(Neurona_Salida, 3, 0.5, 1, 1);
    const SNeurona* o = red.AddNeurona(Neurona_Oculta, 4, 0.3, 0.5, 1);
    const SNeurona* y = red.AddNeurona(Neurona_Oculta, 5, 0.6, 0.5, 1);
    for (const SNeurona* entrada : {a, b}) {
        red.AddEnlace(entrada, o, 20, false);
        red.AddEnlace(entrada, y, 20, false);
    }
    red.AddEnlace(sesgo, o, -10, false);
    red.AddEnlace(sesgo, y, -30, false);
    red.AddEnlace(o, salida, 20, false);
    red.AddEnlace(y, salida, -20, false);
    red.AddEnlace(sesgo, salida, -10, false);
    bool bResuelto = false;
    EXPECT_NEAR(PuntuarXor(red, bResuelto), 16.0, 0.01);
    EXPECT_TRUE(bResuelto);

    // Without the AND neuron it computes OR: three cases right, not solved.
    CRedNeuronal o_;
    const SNeurona* a2 = o_.AddNeurona(Neurona_Entrada, 0, 0, 0, 1);
    const SNeurona* b2 = o_.AddNeurona(Neurona_Entrada, 1, 1, 0, 1);
    const SNeurona* s2 = o_.AddNeurona(Neurona_Sesgo, 2, 2, 0, 1);
    const SNeurona* f2 = o_.AddNeurona(Neurona_Salida, 3, 0.5, 1, 1);
    o_.AddEnlace(a2, f2, 20, false);
    o_.AddEnlace(b2, f2, 20, false);
    o_.AddEnlace(s2, f2, -10, false);
    EXPECT_NEAR(PuntuarXor(o_, bResuelto), 9.0, 0.01);
    EXPECT_FALSE(bResuelto);
}

TEST(Xor, MismaSemillaMismaEjecucion)
{
    const SResultadoXor r1 = EjecutarXor(60, 15, 5);
    const SResultadoXor r2 = EjecutarXor(60, 15, 5);
    EXPECT_EQ(r1.bResuelto, r2.bResuelto);
    EXPECT_EQ(r1.nGeneraciones, r2.nGeneraciones);
    EXPECT_EQ(r1.nEvaluaciones, r2.nEvaluaciones);
    EXPECT_EQ(r1.sRed, r2.sRed);
    if (!r1.bResuelto) {
        EXPECT_EQ(r1.nGeneraciones, 15);
        EXPECT_EQ(r1.nEvaluaciones, 15 * 60);
    } else {
        EXPECT_GT(r1.nEvaluaciones, static_cast<long>(r1.nGeneraciones) * 60);
        EXPECT_LE(r1.nEvaluaciones, static_cast<long>(r1.nGeneraciones + 1) * 60);
    }
}

TEST(Xor, ResumenCuentaSoloLasResueltas)
{
    std::vector<SResultadoXor> v(4);
    v[0].bResuelto = true, v[0].nGeneraciones = 2, v[0].nEvaluaciones = 100, v[0].nOcultas = 1;
    v[1].bResuelto = false, v[1].nGeneraciones = 50, v[1].nEvaluaciones = 5000;
    v[2].bResuelto = true, v[2].nGeneraciones = 6, v[2].nEvaluaciones = 400, v[2].nOcultas = 3;
    v[3].bResuelto = true, v[3].nGeneraciones = 4, v[3].nEvaluaciones = 250, v[3].nOcultas = 2;
    const SResumenXor r = ResumirXor(v);
    EXPECT_EQ(r.nEjecuciones, 4);
    EXPECT_EQ(r.nResueltas, 3);
    EXPECT_DOUBLE_EQ(r.dMediaGeneraciones, 4.0);
    EXPECT_DOUBLE_EQ(r.dMediaEvaluaciones, 250.0);
    EXPECT_DOUBLE_EQ(r.dMedianaEvaluaciones, 250.0);
    EXPECT_DOUBLE_EQ(r.dMediaOcultas, 2.0);
    v.pop_back();
    EXPECT_DOUBLE_EQ(ResumirXor(v).dMedianaEvaluaciones, 250.0) << "mean of the middle two";
    EXPECT_EQ(ResumirXor({}).nResueltas, 0);

    const std::vector<std::string> vCsv = {CsvXor(v), CsvResumenXor(r)};
    EXPECT_EQ(vCsv[0].substr(0, vCsv[0].find('\n')),
              "ejecucion,semilla,resuelto,generaciones,evaluaciones,neuronas_ocultas,segundos");
    EXPECT_NE(vCsv[1].find("\n4,3,0.7500,"), std::string::npos) << vCsv[1];
}

TEST(Archivos, EscrituraEnteraONada)
{
    const std::string sCarpeta = testing::TempDir() + "entrenar_archivos";
    std::filesystem::remove_all(sCarpeta);
    std::string sError;
    ASSERT_TRUE(CrearCarpeta(sCarpeta + "/a/b", sError)) << sError;
    const std::string sRuta = sCarpeta + "/a/b/f.txt";
    ASSERT_TRUE(EscribirArchivoEntero(sRuta, "uno", sError)) << sError;
    ASSERT_TRUE(EscribirArchivoEntero(sRuta, "dos", sError)) << sError;
    std::string sLeido;
    ASSERT_TRUE(LeerFichero(sRuta, sLeido, sError));
    EXPECT_EQ(sLeido, "dos");
    EXPECT_FALSE(EscribirArchivoEntero(sCarpeta + "/no/existe/f.txt", "x", sError));
    EXPECT_FALSE(sError.empty());
    EXPECT_FALSE(LeerFichero(sCarpeta + "/nada.txt", sLeido, sError));
    EXPECT_EQ(sLeido, "dos") << "a failed read leaves the output alone";
    // Nothing left behind but the file itself.
    size_t n = 0;
    for (const auto& entrada : std::filesystem::directory_iterator(sCarpeta + "/a/b"))
        n += entrada.is_regular_file() ? 1 : 0;
    EXPECT_EQ(n, 1u);
    EXPECT_FALSE(CrearCarpeta(sRuta + "/dentro", sError)) << "a file is in the way";
}
