// Melees in training and in `entrenar jugar`: rival mixes, the score across
// field sizes, the champions of a run and the melee scoreboard.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Campeones.h"
#include "EntrenamientoRobot.h"
#include "Evaluacion.h"
#include "Jugar.h"
#include "Opciones.h"
#include "bot/RedIntegrada.h"

namespace {

SResultadoRobot Robot(double dPuntos, double dDanyo = 0, double dEnergia = 0)
{
    SResultadoRobot r;
    r.dPuntos = dPuntos;
    r.dDanyoCausado = dDanyo;
    r.dEnergiaRestante = dEnergia;
    r.vdPuntosJuego = {dPuntos};
    return r;
}

SEncuentro Encuentro(uint64_t nSemilla, const TGrupoRivales& grupo)
{
    SEncuentro e;
    e.nSemilla = nSemilla;
    for (TRival eRival : grupo)
        e.vRivales.push_back(SRivalEncuentro{eRival, EsRivalRed(eRival) ? kRedIntegrada : "", ""});
    return e;
}

}  // namespace

TEST(Melee, PuntuacionComparableEntreDueloYMelee)
{
    // A duel scores what it always did: 50 x the arena's points.
    EXPECT_EQ(PuntuarEncuentro(Robot(2, 12, 40), 2), 100 + 12 + 20);
    EXPECT_EQ(PuntuarEncuentro(Robot(1), 2), 50);
    EXPECT_EQ(PuntuarEncuentro(Robot(1.5), 2), 75);
    // First and last weigh the same whatever the field's size.
    for (int n = 2; n <= kMaxRobotsPartida; ++n) {
        EXPECT_DOUBLE_EQ(PuntuarEncuentro(Robot(n), n), 100) << n;
        EXPECT_DOUBLE_EQ(PuntuarEncuentro(Robot(1), n), 50) << n;
    }
    // Beating half the field of five scores as much as a shared place in a duel.
    EXPECT_DOUBLE_EQ(PuntuarEncuentro(Robot(3), 5), PuntuarEncuentro(Robot(1.5), 2));
    // Several games: the placing of each game adds up.
    SResultadoRobot dos = Robot(5 + 1);
    dos.vdPuntosJuego = {5, 1};
    EXPECT_DOUBLE_EQ(PuntuarEncuentro(dos, 5), 100 + 50);
    // Never negative, not even for a match without rivals.
    EXPECT_GE(PuntuarEncuentro(SResultadoRobot(), 5), 0);
    EXPECT_GE(PuntuarEncuentro(Robot(1), 1), 0);
}

TEST(Melee, ColocacionMediaSinDanyoNiEnergia)
{
    // A duel won with no damage places above a duel lost after much damage,
    // though the loser's score is higher.
    SResultadoTrabajo gana, pierde;
    SResultadoEncuentro e;
    e.vRivales.resize(1);
    e.propio = Robot(2);
    gana.vEncuentros = {e};
    e.propio = Robot(1, 90, 60);
    pierde.vEncuentros = {e};
    EXPECT_DOUBLE_EQ(ColocacionMedia(gana), 1.0);
    EXPECT_DOUBLE_EQ(ColocacionMedia(pierde), 0.0);
    EXPECT_GT(PuntuarEncuentro(pierde.vEncuentros[0].propio, 2), PuntuarEncuentro(gana.vEncuentros[0].propio, 2));
    // Third of five in one match and first in a duel of two games, each won.
    SResultadoTrabajo mixto;
    e.vRivales.resize(4);
    e.propio = Robot(3);
    mixto.vEncuentros.push_back(e);
    e.vRivales.resize(1);
    e.propio = Robot(4);
    e.propio.vdPuntosJuego = {2, 2};
    mixto.vEncuentros.push_back(e);
    EXPECT_DOUBLE_EQ(ColocacionMedia(mixto), (0.5 + 1.0) / 2);
    EXPECT_DOUBLE_EQ(ColocacionMedia(SResultadoTrabajo()), 0.0);
}

TEST(Melee, GruposDeRivalesEnLasOpciones)
{
    std::vector<TGrupoRivales> v;
    std::string sError;
    ASSERT_TRUE(LeerListaRivales("buscador,giratorio+quieto+poblacion+buscador,campeones", v, sError)) << sError;
    const std::vector<TGrupoRivales> vEsperados = {
        {Rival_Buscador}, {Rival_Giratorio, Rival_Quieto, Rival_Red, Rival_Buscador}, {Rival_Campeon}};
    EXPECT_EQ(v, vEsperados);
    EXPECT_EQ(TextoRivales(v), "buscador,giratorio+quieto+poblacion+buscador,campeones");

    ASSERT_TRUE(LeerListaRivales("quieto+quieto+quieto+quieto+quieto+quieto+quieto", v, sError));
    EXPECT_EQ(v[0].size(), kMaxRivalesGrupo);
    for (const char* szMala : {"quieto+quieto+quieto+quieto+quieto+quieto+quieto+quieto", "giratorio+", "+giratorio",
                               "giratorio++quieto", "giratorio+,quieto", "giratorio+cruz"}) {
        std::vector<TGrupoRivales> vAntes = v;
        sError.clear();
        EXPECT_FALSE(LeerListaRivales(szMala, v, sError)) << szMala;
        EXPECT_FALSE(sError.empty()) << szMala;
        EXPECT_EQ(v, vAntes) << "a bad list changes nothing";
    }
    EXPECT_NE(sError.find("cruz"), std::string::npos) << sError;

    // Only a training run has champions.
    SOpcionesJugar j;
    char szPrograma[] = "entrenar", szOrden[] = "jugar", szOpcion[] = "--rivales", szLista[] = "buscador+campeones";
    char* vArgv[] = {szPrograma, szOrden, szOpcion, szLista};
    EXPECT_FALSE(LeerOpcionesJugar(4, vArgv, 2, j, sError));
    EXPECT_NE(sError.find("campeones"), std::string::npos) << sError;
}

TEST(Melee, EncuentroDeVariosRivales)
{
    SConfigEvaluacion config;
    config.dTiempoMaximo = 10;
    const SResultadoEncuentro r =
        JugarEncuentro(kRedIntegrada, Encuentro(5, {Rival_Buscador, Rival_Quieto, Rival_Red, Rival_Giratorio}), config);
    ASSERT_EQ(r.vRivales.size(), 4u);
    double dMejorRival = 0, dPeorRival = 1e9;
    for (const SResultadoRobot& rival : r.vRivales) {
        EXPECT_GE(rival.dPuntos, 1);
        EXPECT_LE(rival.dPuntos, 5);
        dMejorRival = std::max(dMejorRival, rival.dPuntos);
        dPeorRival = std::min(dPeorRival, rival.dPuntos);
    }
    EXPECT_EQ(r.bGana, r.propio.dPuntos > dMejorRival);
    EXPECT_EQ(r.bPierde, r.propio.dPuntos < dMejorRival);
    EXPECT_DOUBLE_EQ(r.dPuntuacion, PuntuarEncuentro(r.propio, 5));
    // The same seed plays the same match.
    const SResultadoEncuentro otra =
        JugarEncuentro(kRedIntegrada, Encuentro(5, {Rival_Buscador, Rival_Quieto, Rival_Red, Rival_Giratorio}), config);
    EXPECT_EQ(otra.dPuntuacion, r.dPuntuacion);
    EXPECT_EQ(otra.vRivales[3].dDanyoCausado, r.vRivales[3].dDanyoCausado);
}

TEST(Melee, CampeonesAcotadosSinRepetirYElegidosPorLaSemilla)
{
    SCampeones c;
    EXPECT_EQ(ElegirCampeon(c, 1, 0), nullptr) << "none before the first generation ends";
    for (size_t i = 0; i < kMaxCampeones + 3; ++i) {
        AnyadirCampeon(c, "red " + std::to_string(i));
        AnyadirCampeon(c, "red " + std::to_string(i));
    }
    ASSERT_EQ(c.vsRedes.size(), kMaxCampeones);
    EXPECT_EQ(c.vsRedes.front(), "red 3") << "the oldest leave first";
    EXPECT_EQ(c.vsRedes.back(), "red " + std::to_string(kMaxCampeones + 2));

    std::vector<int> vVeces(kMaxCampeones, 0);
    for (uint64_t nSemilla = 0; nSemilla < 400; ++nSemilla) {
        const std::string* p = ElegirCampeon(c, nSemilla, 0);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p, ElegirCampeon(c, nSemilla, 0)) << "the same seed, the same champion";
        ++vVeces[static_cast<size_t>(p - c.vsRedes.data())];
    }
    for (int n : vVeces)
        EXPECT_GT(n, 10) << "every champion gets its turn";
}

TEST(Melee, CampeonesVuelvenDeSuTextoOSeRechazan)
{
    SCampeones c;
    AnyadirCampeon(c, "3\n0 0 1\n\nred 4\n");  // a network text may hold anything
    AnyadirCampeon(c, std::string("\0\xFF", 2));
    AnyadirCampeon(c, "");
    const std::string sTexto = TextoCampeones(c);
    SCampeones leidos;
    std::string sError;
    ASSERT_TRUE(LeerCampeones(sTexto, leidos, sError)) << sError;
    EXPECT_EQ(leidos.vsRedes, c.vsRedes);
    ASSERT_TRUE(LeerCampeones(TextoCampeones(SCampeones()), leidos, sError));
    EXPECT_TRUE(leidos.vsRedes.empty());

    leidos = c;
    for (size_t n = 0; n < sTexto.size(); ++n) {
        EXPECT_FALSE(LeerCampeones(sTexto.substr(0, n), leidos, sError)) << n;
        EXPECT_EQ(leidos.vsRedes, c.vsRedes) << "a refused text changes nothing";
    }
    EXPECT_FALSE(LeerCampeones(sTexto + "x", leidos, sError));
    EXPECT_FALSE(LeerCampeones("campeones 99999999999\n", leidos, sError));
    EXPECT_FALSE(LeerCampeones("campeones 1\nred 999\nabc\n", leidos, sError));
    EXPECT_FALSE(LeerCampeones("campeones -1\n", leidos, sError));
}

// A run with melees and champions: the first generation meets the stand-in,
// later ones the leaders, and the run is the same on any number of threads.
TEST(Melee, EntrenamientoConMeleesYCampeones)
{
    const std::string sCarpeta = testing::TempDir() + "entrenar_melee";
    std::filesystem::remove_all(sCarpeta);
    SOpcionesRobot o;
    o.nPoblacion = 5;
    o.nGeneraciones = 3;
    o.nPartidas = 2;
    o.nHilos = 1;
    o.nSemilla = 3;
    o.nValidacion = 1;
    o.evaluacion.dTiempoMaximo = 3.0;
    o.sSalida = sCarpeta;
    o.bSilencio = true;
    o.bInforme = false;
    o.vRivales = {{Rival_Campeon}, {Rival_Giratorio, Rival_Red, Rival_Campeon}};
    std::string sError;
    CEntrenamientoRobot uno;
    ASSERT_TRUE(uno.Ejecutar(o, sError)) << sError;
    EXPECT_GE(uno.GetCampeones().vsRedes.size(), 1u);
    EXPECT_LE(uno.GetCampeones().vsRedes.size(), 3u);
    o.nHilos = 3;
    CEntrenamientoRobot tres;
    ASSERT_TRUE(tres.Ejecutar(o, sError)) << sError;
    EXPECT_EQ(tres.GetMejorRed(), uno.GetMejorRed());
    EXPECT_EQ(tres.GetCampeones().vsRedes, uno.GetCampeones().vsRedes);
    ASSERT_EQ(tres.GetEstadisticas().size(), 3u);
    for (size_t g = 0; g < 3; ++g)
        EXPECT_EQ(tres.GetEstadisticas()[g].dMejor, uno.GetEstadisticas()[g].dMejor) << g;
    std::filesystem::remove_all(sCarpeta);
}

TEST(Melee, MarcadorDeDuelosYMelees)
{
    SConfigEvaluacion config;
    config.dTiempoMaximo = 20;
    const std::vector<TGrupoRivales> vRivales = {{Rival_Quieto}, {Rival_Buscador, Rival_Giratorio, Rival_Quieto}};
    const std::vector<SMarcador> v = JugarContraRivales(kRedIntegrada, "", vRivales, 4, 1, config, 2);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].nGanadas + v[0].nEmpates + v[0].nPerdidas, 4);
    const SMarcador& melee = v[1];
    ASSERT_EQ(melee.vRobots.size(), 4u);
    EXPECT_EQ(melee.vRobots[1].sNombre, "buscador");
    int nPrimeros = 0;
    double dPuntos = 0;
    for (const SMarcadorRobot& r : melee.vRobots) {
        EXPECT_GE(r.dPuesto, 1);
        EXPECT_LE(r.dPuesto, 4);
        EXPECT_GE(r.dPuntos, 1);
        EXPECT_LE(r.dPuntos, 4);
        nPrimeros += r.nPrimeros;
        dPuntos += r.dPuntos;
    }
    EXPECT_GE(nPrimeros, 4) << "every match has a first place";
    EXPECT_GE(dPuntos, 4 - 1e-9) << "every robot of a game gets a point at least";

    const std::string sTabla = TablaMarcador(v);
    EXPECT_NE(sTabla.find("quieto "), std::string::npos) << sTabla;
    EXPECT_NE(sTabla.find("red+buscador+giratorio+quieto"), std::string::npos) << sTabla;
    EXPECT_NE(sTabla.find("%Primeros"), std::string::npos) << sTabla;
    EXPECT_NE(sTabla.find("%Empates"), std::string::npos) << sTabla;
}

TEST(Melee, UnMarcadorPorArena)
{
    SConfigEvaluacion config;
    EXPECT_EQ(ArenasPorSeparado(config).size(), 1u) << "the circle";
    config.eArena = Arena_Archivo;
    config.sArena = "arenas";
    config.vsArenas = {"a", "b", "c"};
    config.vsNombresArenas = {"arenas/A.arena", "arenas/B.arena", "arenas/C.arena"};
    const std::vector<SConfigEvaluacion> v = ArenasPorSeparado(config);
    ASSERT_EQ(v.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(v[i].vsArenas, std::vector<std::string>{config.vsArenas[i]});
        EXPECT_EQ(v[i].vsNombresArenas, std::vector<std::string>{config.vsNombresArenas[i]});
        EXPECT_EQ(v[i].sArena, config.vsNombresArenas[i]);
        EXPECT_EQ(v[i].dTiempoMaximo, config.dTiempoMaximo);
    }
}

// A script can take the network's seat, so that the rivals can be measured
// against each other with the same tables.
TEST(Melee, UnGuionJuegaEnLugarDeLaRed)
{
    SConfigEvaluacion config;
    config.dTiempoMaximo = 20;
    const SEncuentro encuentro = Encuentro(3, {Rival_Buscador});
    EXPECT_GT(JugarEncuentro(kRedIntegrada, encuentro, config).propio.nDisparos, 0);
    const SResultadoEncuentro quieto = JugarEncuentro(kRedIntegrada, encuentro, config, nullptr, "", Rival_Quieto);
    ASSERT_TRUE(quieto.bJugado);
    EXPECT_EQ(quieto.propio.nDisparos, 0) << "the still robot never fires";
    EXPECT_GT(quieto.vRivales[0].nDisparos, 0);

    const std::vector<SMarcador> v = JugarContraRivales(kRedIntegrada, "", {{Rival_Buscador, Rival_Giratorio}}, 2, 1,
                                                        config, 2, "", {}, Rival_Cazador);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].vRobots[0].sNombre, "cazador");
    EXPECT_NE(TablaMarcador(v).find("Melee de 3: cazador+buscador+giratorio, 2 partidas, puntuaci"
                                    "\xF3"
                                    "n de cazador "),
              std::string::npos)
        << TablaMarcador(v);
    EXPECT_NE(TablaResumenArenas({{"una", v}, {"otra", v}}).find("puntos medios de cazador y lo mejor"),
              std::string::npos);
}
