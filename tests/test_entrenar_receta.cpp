// The training recipe of the shipped network: lists of arenas, the same
// matches for every member of a generation, scoreboards arena by arena.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "EntrenamientoRobot.h"
#include "Jugar.h"
#include "LectorArena.h"
#include "Opciones.h"
#include "RedIntegrada.h"

namespace {

std::string CarpetaNueva(const std::string& sNombre)
{
    const std::string sCarpeta = testing::TempDir() + "receta_" + sNombre;
    std::filesystem::remove_all(sCarpeta);
    std::filesystem::create_directories(sCarpeta);
    return sCarpeta;
}

}  // namespace

// Built-in, random and file arenas mix in one list, and every entry gets
// matches; a bad entry refuses the whole list and leaves the arenas read
// before as they were.
TEST(Receta, ListaDeArenasDeVariasClases)
{
    const std::string sCarpeta = CarpetaNueva("lista");
    const std::string sArchivo = sCarpeta + "/pilar.arena";
    const std::string sTexto = "scale 1\nboundary -5 -5 5 5\ninner_circle 1 1 0 0 5\ncircle 1 1 2 0 1\n";
    std::ofstream(sArchivo) << sTexto;

    SConfigEvaluacion config;
    std::string sError;
    ASSERT_TRUE(LeerArenas("circulo,aleatoria," + sArchivo, config, sError)) << sError;
    EXPECT_EQ(config.eArena, Arena_Archivo);
    EXPECT_EQ(config.vsNombresArenas, (std::vector<std::string>{"circulo", "aleatoria", sArchivo}));
    EXPECT_EQ(config.vsArenas, (std::vector<std::string>{TextoArenaCirculo(), "", sTexto}));

    std::set<std::string> vistas;
    for (uint64_t nSemilla = 0; nSemilla < 60; ++nSemilla) {
        SConfigPartida partida;
        ElegirArena(config, nSemilla, partida);
        if (partida.eArena == Arena_Aleatoria) {
            vistas.insert("aleatoria");
        } else {
            EXPECT_EQ(partida.eArena, Arena_Archivo);
            vistas.insert(partida.sNombreArena);
        }
    }
    EXPECT_EQ(vistas, (std::set<std::string>{"circulo", "aleatoria", sArchivo}));

    // A random arena of the list is playable like any other.
    CPartida partida;
    SConfigPartida configPartida;
    configPartida.dTiempoMaximo = 2;
    for (uint64_t nSemilla = 0; configPartida.eArena != Arena_Aleatoria; ++nSemilla) {
        ElegirArena(config, nSemilla, configPartida);
        configPartida.nSemilla = nSemilla;
    }
    EXPECT_TRUE(partida.Configurar(configPartida));

    ASSERT_TRUE(LeerArenas("cuadrado," + sArchivo, config, sError)) << sError;
    for (const char* szMala : {"circulo,,cuadrado", "circulo,", "circulo,no_existe.arena"}) {
        EXPECT_FALSE(LeerArenas(szMala, config, sError)) << szMala;
        EXPECT_FALSE(sError.empty());
        EXPECT_EQ(config.sArena, "cuadrado," + sArchivo) << szMala;
        EXPECT_EQ(config.vsNombresArenas, (std::vector<std::string>{"cuadrado", sArchivo})) << szMala;
    }
    std::filesystem::remove_all(sCarpeta);
}

// The defaults are the recipe: the project's training arenas (never a
// held-out one) and random ones are loaded, every scripted rival is met in
// a duel and four different ones in a melee, and there is one match per
// rival mix, so that every mix is played in every generation.
TEST(Receta, LasOpcionesPorOmisionSonLaReceta)
{
    SOpcionesRobot o;
    EXPECT_EQ(o.evaluacion.sArena, ArenasReceta());
    EXPECT_EQ(o.sErrorArenas, "");
    EXPECT_EQ(o.evaluacion.eArena, Arena_Archivo);
    EXPECT_EQ(o.evaluacion.dTiempoMaximo, kTiempoReceta);
    int nArchivos = 0, nAleatorias = 0;
    for (const std::string& sNombre : o.evaluacion.vsNombresArenas) {
        EXPECT_EQ(sNombre.find("reserva"), std::string::npos) << sNombre;
        if (sNombre == kArenaAleatoria)
            ++nAleatorias;
        else
            nArchivos += std::filesystem::path(sNombre).extension() == ".arena";
    }
    EXPECT_GE(nArchivos, 10);
    EXPECT_EQ(nArchivos + nAleatorias, static_cast<int>(o.evaluacion.vsArenas.size()));
    EXPECT_EQ(nAleatorias * 2, nArchivos);

    EXPECT_EQ(static_cast<size_t>(o.nPartidas), o.vRivales.size());
    std::set<TRival> duelos;
    bool bMeleeDeDistintos = false;
    for (const TGrupoRivales& grupo : o.vRivales) {
        if (grupo.size() == 1)
            duelos.insert(grupo[0]);
        bMeleeDeDistintos =
            bMeleeDeDistintos || (grupo.size() == 4 && std::set<TRival>(grupo.begin(), grupo.end()).size() == 4);
    }
    EXPECT_EQ(duelos,
              (std::set<TRival>{Rival_Giratorio, Rival_Buscador, Rival_Quieto, Rival_Cazador, Rival_Orbitador}));
    EXPECT_TRUE(bMeleeDeDistintos);
}

// Without the folder of the recipe's arenas a run that names no --arena is
// refused with the reason, instead of training somewhere else; one that
// names its arenas goes on.
TEST(Receta, SinLasArenasDeLaRecetaHayQueNombrarUna)
{
    char szPrograma[] = "entrenar", szComando[] = "robot", szArena[] = "--arena", szCirculo[] = "circulo";
    char* vSolo[] = {szPrograma, szComando};
    char* vConArena[] = {szPrograma, szComando, szArena, szCirculo};
    SOpcionesRobot o;
    o.sErrorArenas = "no existe: arenas";
    std::string sError;
    EXPECT_FALSE(LeerOpcionesRobot(2, vSolo, 2, o, sError));
    EXPECT_NE(sError.find("no existe: arenas"), std::string::npos) << sError;
    EXPECT_NE(sError.find("--arena"), std::string::npos) << sError;

    SOpcionesRobot conArena;
    conArena.sErrorArenas = "no existe: arenas";
    sError.clear();
    EXPECT_TRUE(LeerOpcionesRobot(4, vConArena, 2, conArena, sError)) << sError;
    EXPECT_EQ(conArena.evaluacion.eArena, Arena_Circulo);
}

// Within a generation every member meets the same seeds and rivals; the
// next generation meets other ones.
TEST(Receta, TodosLosMiembrosJueganLasMismasPartidas)
{
    SOpcionesRobot o;
    o.nPoblacion = 5;
    o.nGeneraciones = 2;
    o.nPartidas = 3;
    o.nHilos = 1;
    o.nValidacion = 0;
    o.evaluacion.dTiempoMaximo = 2.0;
    o.vRivales = {{Rival_Buscador}, {Rival_Giratorio, Rival_Quieto}, {Rival_Red}};
    o.sSalida = CarpetaNueva("comunes");
    o.bSilencio = true;
    o.bInforme = false;

    std::vector<std::vector<uint64_t>> vSemillasGeneracion;
    CEntrenamientoRobot entrenamiento;
    entrenamiento.SetEvaluador([&](int nGeneracion, const std::vector<STrabajo>& vTrabajos,
                                   const SConfigEvaluacion& config, std::vector<SResultadoTrabajo>& vResultados,
                                   std::string&) -> bool {
        if (nGeneracion >= 0) {
            std::vector<uint64_t> vSemillas;
            for (const SEncuentro& e : vTrabajos[0].vEncuentros)
                vSemillas.push_back(e.nSemilla);
            for (const STrabajo& trabajo : vTrabajos) {
                EXPECT_EQ(trabajo.vEncuentros.size(), 3u);
                for (size_t k = 0; k < 3 && k < trabajo.vEncuentros.size(); ++k) {
                    EXPECT_EQ(trabajo.vEncuentros[k].nSemilla, vSemillas[k]);
                    EXPECT_EQ(trabajo.vEncuentros[k].vRivales.size(), o.vRivales[k].size());
                    EXPECT_EQ(trabajo.vEncuentros[k].vRivales[0].eRival, o.vRivales[k][0]);
                }
            }
            vSemillasGeneracion.push_back(vSemillas);
        }
        EvaluarTrabajos(vTrabajos, config, 1, vResultados);
        return true;
    });
    std::string sError;
    ASSERT_TRUE(entrenamiento.Ejecutar(o, sError)) << sError;
    ASSERT_EQ(vSemillasGeneracion.size(), 2u);
    for (uint64_t nSemilla : vSemillasGeneracion[0])
        EXPECT_EQ(std::count(vSemillasGeneracion[1].begin(), vSemillasGeneracion[1].end(), nSemilla), 0);
    std::filesystem::remove_all(o.sSalida);
}

// Each arena of a list gets its own scoreboard from the same seeds, as if
// it had been played alone, and the summary has one row per arena.
TEST(Receta, MarcadorPorArena)
{
    SConfigEvaluacion config;
    std::string sError;
    ASSERT_TRUE(LeerArenas("cuadrado,circulo", config, sError)) << sError;
    config.dTiempoMaximo = 6.0;
    const std::vector<TGrupoRivales> vRivales = {{Rival_Buscador}, {Rival_Giratorio, Rival_Buscador, Rival_Quieto}};
    const std::vector<SMarcadorArena> vArenas = JugarPorArena(kRedIntegrada, "", vRivales, 3, 5, config, 2);
    ASSERT_EQ(vArenas.size(), 2u);
    EXPECT_EQ(vArenas[0].sArena, "cuadrado");
    EXPECT_EQ(vArenas[1].sArena, "circulo");

    SConfigEvaluacion soloCirculo;
    ASSERT_TRUE(LeerArenas("circulo", soloCirculo, sError));
    soloCirculo.dTiempoMaximo = 6.0;
    const std::vector<SMarcador> vSolo = JugarContraRivales(kRedIntegrada, "", vRivales, 3, 5, soloCirculo, 1);
    ASSERT_EQ(vArenas[1].vMarcadores.size(), vSolo.size());
    for (size_t r = 0; r < vSolo.size(); ++r) {
        EXPECT_EQ(vArenas[1].vMarcadores[r].nPartidas, 3);
        EXPECT_EQ(vArenas[1].vMarcadores[r].nGanadas, vSolo[r].nGanadas);
        EXPECT_DOUBLE_EQ(vArenas[1].vMarcadores[r].dPuntuacion, vSolo[r].dPuntuacion);
    }

    const std::string sTabla = TablaResumenArenas(vArenas);
    EXPECT_EQ(std::count(sTabla.begin(), sTabla.end(), '\n'), 4);
    EXPECT_NE(sTabla.find("\ncuadrado "), std::string::npos);
    EXPECT_NE(sTabla.find("\ncirculo "), std::string::npos);
    EXPECT_NE(sTabla.find("melee giratorio+buscador+quieto"), std::string::npos);
    EXPECT_EQ(TablaResumenArenas({}), "");
}
