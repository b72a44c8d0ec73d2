// Batches of matches for other processes: their byte forms, the
// bookkeeping that gathers results in any order, and a training run whose
// evaluation goes through such batches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "EntrenamientoRobot.h"
#include "Reparto.h"
#include "bot/RedIntegrada.h"

namespace {

SResultadoRobot RobotRaro(double dBase)
{
    SResultadoRobot r;
    r.dPuntos = dBase;
    r.nPosicion = -3;
    r.dDanyoCausado = std::numeric_limits<double>::denorm_min();
    r.dEnergiaRestante = -0.0;
    r.dTiempoVivo = 0.1 + 0.2;  // not a short decimal
    r.nDisparos = 2147483647;
    r.nAciertos = -2147483647 - 1;
    r.vdPuntosJuego = {1.0 / 3.0, 1e300};
    r.vnPosicionJuego = {1, 2, 3};
    return r;
}

SLote LoteDePrueba()
{
    SLote lote;
    lote.nId = 0xFEDCBA9876543210ull;
    lote.nGeneracion = -1;
    lote.config.eArena = Arena_Archivo;
    lote.config.sArena = "arenas";
    lote.config.vsArenas = {"scale 1\nboundary 0 0 1 1\n", "scale 2\n"};
    lote.config.vsNombresArenas = {"a.arena", "b.arena"};
    lote.config.dTiempoMaximo = 12.5;
    lote.config.dPaso = 0.03;
    STrabajo trabajo;
    trabajo.sRed = std::string(
        "red\0con\xFF"
        "bytes\n",
        14);
    SEncuentro encuentro;
    encuentro.nSemilla = 0xFFFFFFFFFFFFFFFFull;
    encuentro.vRivales = {SRivalEncuentro{Rival_Red, "otra red", ""}, SRivalEncuentro{Rival_Buscador, "", ""},
                          SRivalEncuentro{Rival_Programa, "", "/ruta/de/un.robot"}};
    trabajo.vEncuentros.push_back(encuentro);  // a melee
    encuentro.vRivales = {SRivalEncuentro{Rival_Buscador, "", ""}};
    trabajo.vEncuentros.push_back(encuentro);
    lote.vTrabajos.push_back(trabajo);
    lote.vTrabajos.push_back(STrabajo());  // a job with nothing to play still travels
    lote.vTrabajos.back().sPrograma = "./robot bajo prueba";
    lote.vTrabajos.push_back(STrabajo());
    lote.vTrabajos.back().eGuion = Rival_Orbitador;
    return lote;
}

SRespuestaLote RespuestaDePrueba()
{
    SRespuestaLote respuesta;
    respuesta.nId = 7;
    SResultadoEncuentro r;
    r.dPuntuacion = std::nextafter(100.0, 200.0);
    r.propio = RobotRaro(2.0);
    r.vRivales = {RobotRaro(-1.0), RobotRaro(3.0)};
    r.vRivales[0].vdPuntosJuego.clear();
    r.bGana = true;
    respuesta.vEncuentros.push_back(r);
    r.bGana = false;
    r.bPierde = true;
    respuesta.vEncuentros.push_back(r);
    return respuesta;
}

void EsperarIguales(const SResultadoRobot& a, const SResultadoRobot& b)
{
    EXPECT_EQ(std::memcmp(&a.dPuntos, &b.dPuntos, sizeof(double)), 0);
    EXPECT_EQ(a.nPosicion, b.nPosicion);
    EXPECT_EQ(a.dDanyoCausado, b.dDanyoCausado);
    EXPECT_TRUE(std::signbit(b.dEnergiaRestante) == std::signbit(a.dEnergiaRestante));
    EXPECT_EQ(a.dTiempoVivo, b.dTiempoVivo);
    EXPECT_EQ(a.nDisparos, b.nDisparos);
    EXPECT_EQ(a.nAciertos, b.nAciertos);
    EXPECT_EQ(a.vdPuntosJuego, b.vdPuntosJuego);
    EXPECT_EQ(a.vnPosicionJuego, b.vnPosicionJuego);
}

// Real matches against every kind of rival, different for each job.
std::vector<STrabajo> TrabajosReales()
{
    std::vector<STrabajo> vTrabajos(3);
    for (size_t t = 0; t < vTrabajos.size(); ++t) {
        vTrabajos[t].sRed = kRedIntegrada;
        for (int k = 0; k < 3; ++k) {
            SEncuentro encuentro;
            encuentro.nSemilla = SemillaEncuentro(5, 0, t, static_cast<uint64_t>(k));
            for (size_t nRival = 0; nRival <= t; ++nRival) {
                SRivalEncuentro rival;
                rival.eRival = static_cast<TRival>((t + nRival + static_cast<size_t>(k)) % 4);
                if (rival.eRival == Rival_Red)
                    rival.sRed = kRedIntegrada;
                encuentro.vRivales.push_back(rival);
            }
            vTrabajos[t].vEncuentros.push_back(encuentro);
        }
    }
    return vTrabajos;
}

SConfigEvaluacion ConfigCorta()
{
    SConfigEvaluacion config;
    config.dTiempoMaximo = 4.0;
    return config;
}

std::string Leer(const std::string& sRuta)
{
    std::ifstream archivo(sRuta, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(Reparto, LoteYRespuestaVuelvenIgualesBitABit)
{
    const SLote lote = LoteDePrueba();
    SLote leido;
    ASSERT_TRUE(DecodificarLote(CodificarLote(lote), leido));
    EXPECT_EQ(leido.nId, lote.nId);
    EXPECT_EQ(leido.nGeneracion, -1);
    EXPECT_EQ(leido.config.eArena, Arena_Archivo);
    EXPECT_EQ(leido.config.sArena, "arenas");
    EXPECT_EQ(leido.config.vsArenas, lote.config.vsArenas);
    EXPECT_EQ(leido.config.vsNombresArenas, lote.config.vsNombresArenas);
    EXPECT_EQ(leido.config.dTiempoMaximo, 12.5);
    EXPECT_EQ(leido.config.dPaso, 0.03);
    ASSERT_EQ(leido.vTrabajos.size(), 3u);
    EXPECT_EQ(leido.vTrabajos[0].sRed, lote.vTrabajos[0].sRed);
    ASSERT_EQ(leido.vTrabajos[0].vEncuentros.size(), 2u);
    EXPECT_EQ(leido.vTrabajos[0].vEncuentros[0].nSemilla, 0xFFFFFFFFFFFFFFFFull);
    ASSERT_EQ(leido.vTrabajos[0].vEncuentros[0].vRivales.size(), 3u);
    EXPECT_EQ(leido.vTrabajos[0].vEncuentros[0].vRivales[0].eRival, Rival_Red);
    EXPECT_EQ(leido.vTrabajos[0].vEncuentros[0].vRivales[0].sRed, "otra red");
    EXPECT_EQ(leido.vTrabajos[0].vEncuentros[0].vRivales[1].eRival, Rival_Buscador);
    EXPECT_EQ(leido.vTrabajos[0].vEncuentros[0].vRivales[1].sRed, "");
    // Robot programs travel with their matches, not left behind.
    EXPECT_EQ(leido.vTrabajos[0].vEncuentros[0].vRivales[2].eRival, Rival_Programa);
    EXPECT_EQ(leido.vTrabajos[0].vEncuentros[0].vRivales[2].sPrograma, "/ruta/de/un.robot");
    EXPECT_EQ(leido.vTrabajos[1].sPrograma, "./robot bajo prueba");
    ASSERT_EQ(leido.vTrabajos[0].vEncuentros[1].vRivales.size(), 1u);
    EXPECT_EQ(leido.vTrabajos[0].vEncuentros[1].vRivales[0].eRival, Rival_Buscador);
    EXPECT_TRUE(leido.vTrabajos[1].vEncuentros.empty());
    // So does a script that plays in the network's place.
    EXPECT_EQ(leido.vTrabajos[0].eGuion, Rival_Red);
    EXPECT_EQ(leido.vTrabajos[2].eGuion, Rival_Orbitador);

    const SRespuestaLote respuesta = RespuestaDePrueba();
    SRespuestaLote leida;
    ASSERT_TRUE(DecodificarRespuesta(CodificarRespuesta(respuesta), leida));
    EXPECT_EQ(leida.nId, 7u);
    ASSERT_EQ(leida.vEncuentros.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(leida.vEncuentros[i].dPuntuacion, respuesta.vEncuentros[i].dPuntuacion);
        EXPECT_EQ(leida.vEncuentros[i].bGana, respuesta.vEncuentros[i].bGana);
        EXPECT_EQ(leida.vEncuentros[i].bPierde, respuesta.vEncuentros[i].bPierde);
        EsperarIguales(respuesta.vEncuentros[i].propio, leida.vEncuentros[i].propio);
        ASSERT_EQ(leida.vEncuentros[i].vRivales.size(), 2u);
        for (size_t r = 0; r < 2; ++r)
            EsperarIguales(respuesta.vEncuentros[i].vRivales[r], leida.vEncuentros[i].vRivales[r]);
    }
}

TEST(Reparto, MensajesCortadosOAlteradosSeRechazan)
{
    const std::string sLote = CodificarLote(LoteDePrueba());
    const std::string sRespuesta = CodificarRespuesta(RespuestaDePrueba());
    SLote lote;
    SRespuestaLote respuesta;
    // Every cut, wherever it falls, is refused rather than read past its end.
    for (size_t n = 0; n < sLote.size(); ++n)
        EXPECT_FALSE(DecodificarLote(sLote.substr(0, n), lote)) << n;
    for (size_t n = 0; n < sRespuesta.size(); ++n)
        EXPECT_FALSE(DecodificarRespuesta(sRespuesta.substr(0, n), respuesta)) << n;
    EXPECT_FALSE(DecodificarLote(sLote + "x", lote));
    EXPECT_FALSE(DecodificarRespuesta(sRespuesta + std::string(8, '\0'), respuesta));
    // One form is never taken for the other.
    EXPECT_FALSE(DecodificarLote(sRespuesta, lote));
    EXPECT_FALSE(DecodificarRespuesta(sLote, respuesta));

    // A count far beyond what the message holds must not be trusted.
    std::string sEnorme = sLote;
    const size_t nPosCuenta = 8 * 6;  // after mark, id, generation, arena, time, step
    for (size_t i = 0; i < 8; ++i)
        sEnorme[nPosCuenta + i] = '\x7F';
    EXPECT_FALSE(DecodificarLote(sEnorme, lote));
    // An unknown rival: the byte where two lots that differ only in the
    // first rival part is that rival's.
    SLote otroRival = LoteDePrueba();
    otroRival.vTrabajos[0].vEncuentros[0].vRivales[0].eRival = Rival_Giratorio;
    const std::string sOtro = CodificarLote(otroRival);
    ASSERT_EQ(sOtro.size(), sLote.size());
    const size_t nPosRival =
        static_cast<size_t>(std::mismatch(sLote.begin(), sLote.end(), sOtro.begin()).first - sLote.begin());
    ASSERT_LT(nPosRival, sLote.size());
    std::string sRivalMalo = sLote;
    sRivalMalo[nPosRival] = 9;
    EXPECT_FALSE(DecodificarLote(sRivalMalo, lote));
}

TEST(Reparto, LotesCubrenCadaPartidaUnaVezEnOrden)
{
    std::vector<STrabajo> vTrabajos = TrabajosReales();
    vTrabajos.insert(vTrabajos.begin() + 1, STrabajo());  // nothing to play
    CReparto reparto;
    reparto.Iniciar(vTrabajos, 4, ConfigCorta());
    std::vector<uint64_t> vSemillas;
    std::vector<uint64_t> vIds;
    SLote lote;
    while (reparto.Repartir(2, lote)) {
        EXPECT_EQ(lote.nGeneracion, 4);
        size_t nPartidas = 0;
        for (const STrabajo& trabajo : lote.vTrabajos) {
            EXPECT_FALSE(trabajo.vEncuentros.empty()) << "no empty job goes out";
            for (const SEncuentro& encuentro : trabajo.vEncuentros) {
                vSemillas.push_back(encuentro.nSemilla);
                ++nPartidas;
            }
        }
        EXPECT_GE(nPartidas, 1u);
        EXPECT_LE(nPartidas, 2u);
        vIds.push_back(lote.nId);
    }
    std::vector<uint64_t> vEsperadas;
    for (const STrabajo& trabajo : vTrabajos)
        for (const SEncuentro& encuentro : trabajo.vEncuentros)
            vEsperadas.push_back(encuentro.nSemilla);
    EXPECT_EQ(vSemillas, vEsperadas);
    EXPECT_EQ(reparto.GetEnCurso(), vIds.size());
    EXPECT_FALSE(reparto.Terminado()) << "handed out is not done";
    EXPECT_EQ(std::set<uint64_t>(vIds.begin(), vIds.end()).size(), vIds.size());
}

TEST(Reparto, ResultadosEnCualquierOrdenDanLasPuntuacionesDeLosHilos)
{
    const std::vector<STrabajo> vTrabajos = TrabajosReales();
    std::vector<SResultadoTrabajo> vEsperados;
    EvaluarTrabajos(vTrabajos, ConfigCorta(), 2, vEsperados);

    CReparto reparto;
    reparto.Iniciar(vTrabajos, 0, ConfigCorta());
    std::vector<SLote> vLotes;
    SLote lote;
    while (reparto.Repartir(2, lote))
        vLotes.push_back(lote);
    ASSERT_GE(vLotes.size(), 3u);
    std::reverse(vLotes.begin(), vLotes.end());
    std::string sError;
    for (const SLote& enviado : vLotes) {
        // Each batch crosses the wire both ways, as between processes.
        SLote recibido;
        ASSERT_TRUE(DecodificarLote(CodificarLote(enviado), recibido));
        SRespuestaLote respuesta;
        ASSERT_TRUE(DecodificarRespuesta(CodificarRespuesta(JugarLote(recibido, 1)), respuesta));
        ASSERT_TRUE(reparto.Recibir(respuesta, sError)) << sError;
    }
    ASSERT_TRUE(reparto.Terminado());
    std::vector<SResultadoTrabajo> vResultados;
    reparto.GetResultados(vResultados);
    ASSERT_EQ(vResultados.size(), vEsperados.size());
    for (size_t t = 0; t < vResultados.size(); ++t) {
        EXPECT_EQ(std::memcmp(&vResultados[t].dPuntuacion, &vEsperados[t].dPuntuacion, sizeof(double)), 0) << t;
        ASSERT_EQ(vResultados[t].vEncuentros.size(), vEsperados[t].vEncuentros.size());
        for (size_t e = 0; e < vResultados[t].vEncuentros.size(); ++e)
            EXPECT_EQ(vResultados[t].vEncuentros[e].propio.dDanyoCausado,
                      vEsperados[t].vEncuentros[e].propio.dDanyoCausado);
    }
}

TEST(Reparto, RespuestasQueNoEncajanSeRechazan)
{
    const std::vector<STrabajo> vTrabajos = TrabajosReales();
    CReparto reparto;
    reparto.Iniciar(vTrabajos, 0, ConfigCorta());
    SLote lote;
    ASSERT_TRUE(reparto.Repartir(0, lote)) << "a batch holds at least one match";
    SRespuestaLote respuesta;
    respuesta.nId = lote.nId;
    std::string sError;
    EXPECT_FALSE(reparto.Recibir(respuesta, sError)) << "no results for its match";
    EXPECT_NE(sError.find("1 partidas y volvieron 0"), std::string::npos) << sError;

    respuesta.vEncuentros.resize(1);
    respuesta.nId = lote.nId + 100;
    EXPECT_FALSE(reparto.Recibir(respuesta, sError)) << "unknown batch";
    respuesta.nId = lote.nId;
    EXPECT_TRUE(reparto.Recibir(respuesta, sError)) << sError;
    EXPECT_FALSE(reparto.Recibir(respuesta, sError)) << "the same batch twice";

    // A new evaluation never takes an answer meant for the last one.
    reparto.Iniciar(vTrabajos, 1, ConfigCorta());
    SLote nuevo;
    ASSERT_TRUE(reparto.Repartir(1, nuevo));
    EXPECT_NE(nuevo.nId, lote.nId);
    EXPECT_FALSE(reparto.Recibir(respuesta, sError));
}

// A run evaluated through shuffled batches, as the MPI back end does,
// chooses the same network and saves the same population as one run on
// the thread pool.
TEST(Reparto, EntrenamientoPorLotesIgualAlDeHilos)
{
    const std::string sBase = testing::TempDir() + "entrenar_reparto";
    std::filesystem::remove_all(sBase);
    SOpcionesRobot o;
    o.nPoblacion = 8;
    o.nGeneraciones = 2;
    o.nPartidas = 2;
    o.nHilos = 2;
    o.nSemilla = 23;
    o.nValidacion = 1;
    o.evaluacion.dTiempoMaximo = 4.0;
    o.bSilencio = true;
    o.bInforme = false;
    o.sSalida = sBase + "/hilos";
    std::string sError;
    {
        CEntrenamientoRobot entrenamiento;
        ASSERT_TRUE(entrenamiento.Ejecutar(o, sError)) << sError;
    }

    std::vector<int> vGeneraciones;
    std::mt19937 barajar(3);
    o.sSalida = sBase + "/lotes";
    CEntrenamientoRobot porLotes;
    porLotes.SetEvaluador([&](int nGeneracion, const std::vector<STrabajo>& vTrabajos, const SConfigEvaluacion& config,
                              std::vector<SResultadoTrabajo>& vResultados, std::string&) {
        vGeneraciones.push_back(nGeneracion);
        CReparto reparto;
        reparto.Iniciar(vTrabajos, nGeneracion, config);
        std::vector<SLote> vLotes;
        SLote lote;
        while (reparto.Repartir(3, lote))
            vLotes.push_back(lote);
        std::shuffle(vLotes.begin(), vLotes.end(), barajar);
        std::string sFallo;
        for (const SLote& l : vLotes)
            EXPECT_TRUE(reparto.Recibir(JugarLote(l, 1), sFallo)) << sFallo;
        reparto.GetResultados(vResultados);
        return true;
    });
    ASSERT_TRUE(porLotes.Ejecutar(o, sError)) << sError;
    EXPECT_EQ(vGeneraciones, (std::vector<int>{0, 1, -1}));
    EXPECT_EQ(Leer(sBase + "/lotes/mejor_red.txt"), Leer(sBase + "/hilos/mejor_red.txt"));
    EXPECT_EQ(Leer(RutaPuntoControl(sBase + "/lotes")), Leer(RutaPuntoControl(sBase + "/hilos")));
}

// When the evaluation cannot be completed the run stops, says which
// generation, and leaves what it saved before untouched.
TEST(Reparto, FalloDeEvaluacionNombraLaGeneracionYConservaLoGuardado)
{
    const std::string sCarpeta = testing::TempDir() + "entrenar_reparto_fallo";
    std::filesystem::remove_all(sCarpeta);
    SOpcionesRobot o;
    o.nPoblacion = 6;
    o.nGeneraciones = 4;
    o.nPartidas = 1;
    o.nHilos = 1;
    o.nValidacion = 1;
    o.nIntervaloControl = 1;
    o.evaluacion.dTiempoMaximo = 4.0;
    o.bSilencio = true;
    o.bInforme = false;
    o.sSalida = sCarpeta;
    std::string sPuntoControl;
    CEntrenamientoRobot entrenamiento;
    entrenamiento.SetEvaluador([&](int nGeneracion, const std::vector<STrabajo>& vTrabajos,
                                   const SConfigEvaluacion& config, std::vector<SResultadoTrabajo>& vResultados,
                                   std::string& sError) {
        if (nGeneracion == 2) {
            sPuntoControl = Leer(RutaPuntoControl(sCarpeta));
            sError = "el proceso 1 no responde";
            return false;
        }
        EvaluarTrabajos(vTrabajos, config, 1, vResultados);
        return true;
    });
    std::string sError;
    EXPECT_FALSE(entrenamiento.Ejecutar(o, sError));
    EXPECT_EQ(sError,
              "Generaci"
              "\xF3"
              "n 2: el proceso 1 no responde");
    EXPECT_EQ(Leer(RutaPuntoControl(sCarpeta)), sPuntoControl);
    EXPECT_FALSE(std::filesystem::exists(sCarpeta + "/mejor_red.txt"));
    std::ifstream estadisticas(sCarpeta + "/estadisticas.csv");
    std::vector<std::string> vFilas;
    for (std::string s; std::getline(estadisticas, s);)
        vFilas.push_back(s);
    ASSERT_EQ(vFilas.size(), 3u) << "generations 0 and 1 stay on record";
    EXPECT_EQ(vFilas[2].rfind("1,", 0), 0u);
}
