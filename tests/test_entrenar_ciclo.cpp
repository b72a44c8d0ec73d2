// Whole training runs of the robot, kept tiny: files, threads, checkpoints,
// resuming and installing the network.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Archivos.h"
#include "EntrenamientoRobot.h"
#include "NEAT/CAlgoritmoGenetico.h"
#include "RobotEntrenado.h"
#include "apoyo/Textos.h"
#include "bot/FuenteRed.h"

namespace {

std::string Leer(const std::string& sRuta)
{
    std::ifstream archivo(sRuta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>());
}

// Each CSV line without its last field (the seconds, which vary).
std::vector<std::string> SinSegundos(const std::string& sCsv)
{
    std::vector<std::string> vLineas = Lineas(sCsv);
    for (std::string& s : vLineas)
        s = s.substr(0, s.rfind(','));
    return vLineas;
}

std::string CarpetaNueva(const std::string& sNombre)
{
    const std::string sCarpeta = testing::TempDir() + "entrenar_" + sNombre;
    std::filesystem::remove_all(sCarpeta);
    return sCarpeta;
}

SOpcionesRobot OpcionesMinimas(const std::string& sCarpeta)
{
    SOpcionesRobot o;
    o.nPoblacion = 6;
    o.nGeneraciones = 2;
    o.nPartidas = 2;
    o.nHilos = 1;
    o.nSemilla = 11;
    o.nValidacion = 1;
    o.nIntervaloControl = 1;
    o.evaluacion.dTiempoMaximo = 4.0;
    o.sSalida = sCarpeta;
    o.bSilencio = true;
    o.bInforme = false;
    o.sFuenteRed = sCarpeta + "/RedIntegrada.cpp";
    return o;
}

}  // namespace

TEST(EntrenamientoRobot, CicloCompletoDejaSusArchivos)
{
    const std::string sCarpeta = CarpetaNueva("ciclo");
    SOpcionesRobot o = OpcionesMinimas(sCarpeta);
    o.bInstalar = true;
    CEntrenamientoRobot entrenamiento;
    std::string sError;
    ASSERT_TRUE(entrenamiento.Ejecutar(o, sError)) << sError;

    const std::vector<std::string> vEstadisticas = Lineas(Leer(sCarpeta + "/estadisticas.csv"));
    ASSERT_EQ(vEstadisticas.size(), 3u);
    EXPECT_EQ(vEstadisticas[0],
              "generacion,evaluaciones,mejor_puntuacion,media_puntuacion,"
              "mejor_idoneidad_historica,especies,neuronas_media,enlaces_media,segundos");
    EXPECT_EQ(vEstadisticas[1].rfind("0,12,", 0), 0u) << vEstadisticas[1];
    EXPECT_EQ(vEstadisticas[2].rfind("1,24,", 0), 0u) << vEstadisticas[2];

    const std::vector<std::string> vEspecies = Lineas(Leer(sCarpeta + "/especies.csv"));
    ASSERT_GE(vEspecies.size(), 3u);
    EXPECT_EQ(vEspecies[0], "generacion,especie,miembros,edad,lider,hijos");

    // The network chosen drives the robot, and is what got installed.
    const std::string sRed = Leer(sCarpeta + "/mejor_red.txt");
    EXPECT_EQ(sRed, entrenamiento.GetMejorRed());
    EXPECT_TRUE(ComprobarRedRobot(sRed, "mejor_red.txt", sError)) << sError;
    EXPECT_EQ(Leer(o.sFuenteRed), GenerarFuenteRedIntegrada(sRed));

    EXPECT_NE(Leer(sCarpeta + "/resumen.json").find("\"programa\":\"entrenar robot\""), std::string::npos);
    EXPECT_EQ(Leer(sCarpeta + "/partida.json").rfind("{\"formato\":", 0), 0u);
    for (const char* szLog : {"/especies.log", "/genes.log", "/ag.log"})
        EXPECT_TRUE(ExisteFichero(sCarpeta + szLog)) << szLog;
    EXPECT_FALSE(std::filesystem::exists(sCarpeta + "/poblacion.txt.parcial"));
}

TEST(EntrenamientoRobot, MismaSemillaMismaRedConUnoODosHilos)
{
    std::string sRedes[2], sEstadisticas[2], sError;
    for (unsigned nHilos : {1u, 2u}) {
        const std::string sCarpeta = CarpetaNueva("hilos" + std::to_string(nHilos));
        SOpcionesRobot o = OpcionesMinimas(sCarpeta);
        o.nHilos = nHilos;
        o.nGeneraciones = 3;
        CEntrenamientoRobot entrenamiento;
        ASSERT_TRUE(entrenamiento.Ejecutar(o, sError)) << sError;
        sRedes[nHilos - 1] = Leer(sCarpeta + "/mejor_red.txt");
        sEstadisticas[nHilos - 1] = Leer(sCarpeta + "/estadisticas.csv");
    }
    EXPECT_FALSE(sRedes[0].empty());
    EXPECT_EQ(sRedes[0], sRedes[1]);
    EXPECT_EQ(SinSegundos(sEstadisticas[0]), SinSegundos(sEstadisticas[1]));
}

TEST(EntrenamientoRobot, ReanudarContinuaLaEjecucion)
{
    const std::string sCarpeta = CarpetaNueva("reanudar");
    SOpcionesRobot o = OpcionesMinimas(sCarpeta);
    std::string sError;
    {
        CEntrenamientoRobot primera;
        ASSERT_TRUE(primera.Ejecutar(o, sError)) << sError;
    }
    const std::string sPuntoControl = RutaPuntoControl(sCarpeta);
    ASSERT_TRUE(ExisteFichero(sPuntoControl));
    EXPECT_EQ(Lineas(Leer(sPuntoControl))[0], "2");
    EXPECT_EQ(Lineas(Leer(sPuntoControl))[1], "6");

    // Asking for fewer generations than were run is an error, not a run;
    // as many finishes the run (as after a stop while writing its results).
    o.sReanudar = sPuntoControl;
    o.nGeneraciones = 1;
    CEntrenamientoRobot nada;
    EXPECT_FALSE(nada.Ejecutar(o, sError));
    o.nGeneraciones = 2;
    const std::string sRed = Leer(sCarpeta + "/mejor_red.txt");
    std::filesystem::remove(sCarpeta + "/mejor_red.txt");
    CEntrenamientoRobot fin;
    ASSERT_TRUE(fin.Ejecutar(o, sError)) << sError;
    EXPECT_EQ(Leer(sCarpeta + "/mejor_red.txt"), sRed);

    o.nGeneraciones = 4;
    CEntrenamientoRobot segunda;
    ASSERT_TRUE(segunda.Ejecutar(o, sError)) << sError;
    const std::vector<std::string> vEstadisticas = Lineas(Leer(sCarpeta + "/estadisticas.csv"));
    ASSERT_EQ(vEstadisticas.size(), 5u) << "rows of the first run are kept";
    for (int g = 0; g < 4; ++g)
        EXPECT_EQ(vEstadisticas[g + 1].rfind(std::to_string(g) + ",", 0), 0u) << vEstadisticas[g + 1];
    ASSERT_EQ(segunda.GetEstadisticas().size(), 2u);
    EXPECT_EQ(segunda.GetEstadisticas()[0].nGeneracion, 2);
    EXPECT_EQ(Lineas(Leer(sPuntoControl))[0], "4");
}

TEST(EntrenamientoRobot, ReanudarDesdeAlgoQueNoEsPoblacionFallaSinTerminar)
{
    const std::string sCarpeta = CarpetaNueva("mala");
    SOpcionesRobot o = OpcionesMinimas(sCarpeta);
    std::string sError;
    o.sReanudar = sCarpeta + "/no_existe.txt";
    CEntrenamientoRobot falta;
    EXPECT_FALSE(falta.Ejecutar(o, sError));
    EXPECT_NE(sError.find("no_existe.txt"), std::string::npos) << sError;

    std::filesystem::create_directories(sCarpeta);
    o.sReanudar = sCarpeta + "/basura.txt";
    std::ofstream(o.sReanudar) << "hola\n";
    CEntrenamientoRobot basura;
    EXPECT_FALSE(basura.Ejecutar(o, sError));
    EXPECT_NE(sError.find("basura.txt"), std::string::npos) << sError;
    EXPECT_FALSE(ExisteFichero(sCarpeta + "/mejor_red.txt"));

    o.sReanudar = sCarpeta + "/cortada.txt";
    std::ofstream(o.sReanudar) << "0\n1\n";
    CEntrenamientoRobot cortada;
    EXPECT_FALSE(cortada.Ejecutar(o, sError)) << "a file cut after its head";

    // A population of XOR networks cannot drive the robot, even with a
    // state that goes with it.
    {
        CAlgoritmoGenetico ag;
        ag.Inicializar(2, 1);
        CPoblacion poblacion;
        poblacion.Crear(3);
        for (size_t i = 0; i < 3; ++i)
            ag.CrearMente(&poblacion.GetMiembro(i));
        const std::string sPuntoControl = sCarpeta + "/xor";
        std::filesystem::create_directories(sPuntoControl);
        const std::string sTexto = ag.TextoPoblacion(poblacion.GetPoblacionIA());
        std::ofstream(RutaPoblacionPuntoControl(sPuntoControl)) << sTexto;
        SEstadoEntrenamiento estado;
        estado.sHuellaPoblacion = Huella(sTexto);
        estado.vOpciones = OpcionesQueFijanLaEjecucion(o);
        estado.vsLogs.resize(NombresLogs().size());
        std::ofstream(RutaEstadoPuntoControl(sPuntoControl)) << TextoEstado(estado);
        o.sReanudar = sPuntoControl;
        poblacion.Limpiar();
    }
    CEntrenamientoRobot xor_;
    EXPECT_FALSE(xor_.Ejecutar(o, sError));
    EXPECT_NE(sError.find("robots"), std::string::npos) << sError;
}
