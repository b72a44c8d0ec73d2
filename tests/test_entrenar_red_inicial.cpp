// A run that starts from a hand-made network: every first genome carries the
// network's direct links and output curvatures, and plays as that network.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "DebugLib/Random/Random.h"
#include "EntrenamientoRobot.h"
#include "NEAT/CGenoma.h"
#include "NEAT/CRedNeuronal.h"
#include "Opciones.h"
#include "RedInicial.h"

namespace {

const int kEntradas = 3, kSalidas = 2;

// Inputs, bias, outputs with their own curvatures, and a few direct links;
// optionally two hidden neurons computed after the outputs: one on a path
// from an input, one that remembers an output's value of the previous
// update; optionally a hidden neuron computed before an output, or a link
// into an input.
enum TForma { Directa, ConOcultas, OcultaAntes, HaciaEntrada };

std::string TextoRed(TForma forma)
{
    CRedNeuronal red;
    const SNeurona* vEntradas[kEntradas];
    for (int i = 0; i < kEntradas; ++i)
        vEntradas[i] = red.AddNeurona(Neurona_Entrada, i, i / 2.0, 0.0, 1.0);
    const SNeurona* pSesgo = red.AddNeurona(Neurona_Sesgo, kEntradas, 1.0, 0.0, 1.0);
    if (forma == OcultaAntes)
        red.AddNeurona(Neurona_Oculta, 9, 0.5, 0.5, 1.0);
    const SNeurona* pSalida0 = red.AddNeurona(Neurona_Salida, 10, 0.0, 1.0, 0.25);
    const SNeurona* pSalida1 = red.AddNeurona(Neurona_Salida, 11, 1.0, 1.0, 2.5);
    red.AddEnlace(vEntradas[0], pSalida0, -20.0, false);
    red.AddEnlace(vEntradas[2], pSalida0, 3.5, false);
    red.AddEnlace(pSesgo, pSalida0, 10.0, false);
    red.AddEnlace(vEntradas[1], pSalida1, 0.75, false);
    red.AddEnlace(pSesgo, pSalida1, -0.15, false);
    if (forma == ConOcultas) {
        const SNeurona* pOculta = red.AddNeurona(Neurona_Oculta, 12, 0.5, 0.5, 0.5);
        const SNeurona* pMemoria = red.AddNeurona(Neurona_Oculta, 13, 0.5, 0.5, 3.0);
        red.AddEnlace(vEntradas[0], pOculta, 1.5, false);
        red.AddEnlace(pOculta, pSalida1, 2.0, true);
        red.AddEnlace(pSalida0, pMemoria, -4.0, false);
        red.AddEnlace(pMemoria, pMemoria, 1.0, true);
        red.AddEnlace(pMemoria, pSalida0, 6.0, true);
        red.AddEnlace(pSalida1, pSalida0, 0.5, true);
    }
    if (forma == HaciaEntrada)
        red.AddEnlace(pSalida0, vEntradas[1], 1.0, true);
    std::ostringstream out;
    out << red;
    return out.str();
}

CRedNeuronal* LeerRed(const std::string& sTexto)
{
    std::string sPlano;
    CRedNeuronal* pRed = new CRedNeuronal;
    EXPECT_TRUE(DecodificarTextoRed(sTexto, sPlano) && CargarTextoPlanoRed(sPlano, *pRed));
    return pRed;
}

}  // namespace

// The genome's phenotype gives the network's outputs, step after step,
// hidden neurons and memories included; building the genome draws no random
// number (runs with and without a starting network draw alike), and only
// the first genome registers the hidden neurons and their links.
TEST(RedInicial, ElGenomaJuegaComoLaRed)
{
    for (TForma forma : {Directa, ConOcultas}) {
        const std::string sTexto = TextoRed(forma);
        SRedInicial inicial;
        std::string sError;
        ASSERT_TRUE(LeerRedInicial(sTexto, kEntradas, kSalidas, inicial, sError)) << sError;

        SetSemillaRandom(7);
        CGenoma minimo(4, kEntradas, kSalidas);
        CInnovacion bd(minimo);
        const std::string sEstado = GetEstadoRandom();
        CGenoma* pGenoma = GenomaDesdeRedInicial(minimo, inicial, bd);
        const int nInnovaciones = bd.GetSigIDInnovacion(), nNeuronas = bd.GetSigIDNeurona();
        CGenoma* pOtro = GenomaDesdeRedInicial(minimo, inicial, bd);
        EXPECT_EQ(sEstado, GetEstadoRandom());
        EXPECT_EQ(nInnovaciones, bd.GetSigIDInnovacion());
        EXPECT_EQ(nNeuronas, bd.GetSigIDNeurona());
        EXPECT_EQ(4u, pGenoma->GetID());
        const size_t nExtra = forma == Directa ? 0 : 6;
        EXPECT_EQ(minimo.GetNumGenesEnlace() + nExtra, pGenoma->GetNumGenesEnlace());
        EXPECT_EQ(static_cast<int>(minimo.GetNumGenesEnlace() + nExtra) + kEntradas + 1 + kSalidas +
                      (forma == Directa ? 0 : 2),
                  nInnovaciones);

        CRedNeuronal* pRed = LeerRed(sTexto);
        CRedNeuronal* vFenotipos[] = {const_cast<CRedNeuronal*>(pGenoma->CrearFenotipo()),
                                      const_cast<CRedNeuronal*>(pOtro->CrearFenotipo())};
        const TVecDoubles vCasos[] = {{0, 0, 0}, {0.4, 0, 0}, {0, 2, -1}, {1.5, -3, 0.2}, {0, 0, 0}};
        for (const TVecDoubles& v : vCasos) {
            const TVecDoubles esperado = pRed->Actualizar(v, Ejecucion_PasoDinamico);
            for (CRedNeuronal* pFenotipo : vFenotipos) {
                const TVecDoubles obtenido = pFenotipo->Actualizar(v, Ejecucion_PasoDinamico);
                ASSERT_EQ(esperado.size(), obtenido.size());
                for (size_t k = 0; k < esperado.size(); ++k)
                    EXPECT_NEAR(esperado[k], obtenido[k], 1e-12) << "salida " << k;
            }
        }
        // A neuron that a mutation adds later gets a number of its own.
        pOtro->AddNeurona(1.0, bd, 50);
        EXPECT_EQ(nNeuronas + 1, bd.GetSigIDNeurona());
        std::set<int> ids;
        for (const SGenNeurona& g : pOtro->GetGenesNeurona())
            ids.insert(g.nID);
        EXPECT_EQ(pOtro->GetGenesNeurona().size(), ids.size());
        delete pRed;
        delete pGenoma;
        delete pOtro;
    }
}

// Only inputs, the bias, outputs and hidden neurons computed after them, in
// the expected numbers, make a starting point; anything else is refused
// with why.
TEST(RedInicial, RechazaLoQueNoSirveDePartida)
{
    SRedInicial inicial;
    inicial.nEntradas = 99;
    std::string sError;
    EXPECT_FALSE(LeerRedInicial(TextoRed(OcultaAntes), kEntradas, kSalidas, inicial, sError));
    EXPECT_NE(std::string::npos, sError.find("oculta antes")) << sError;
    EXPECT_FALSE(LeerRedInicial(TextoRed(HaciaEntrada), kEntradas, kSalidas, inicial, sError));
    EXPECT_NE(std::string::npos, sError.find("hacia una entrada")) << sError;
    EXPECT_FALSE(LeerRedInicial(TextoRed(Directa), kEntradas + 1, kSalidas, inicial, sError));
    EXPECT_NE(std::string::npos, sError.find("entradas")) << sError;
    EXPECT_FALSE(LeerRedInicial("\\q", kEntradas, kSalidas, inicial, sError));
    EXPECT_NE(std::string::npos, sError.find("no es una red")) << sError;
    EXPECT_EQ(99, inicial.nEntradas);  // untouched by a refusal
}

// The designed starting point does what the recipe says of it: radar and
// cannon turn together, one way while the beam is empty or sees a wall, the
// other way on a robot or a shot; the trigger pulls on a robot only.
TEST(RedInicial, LaRedDisenyadaApuntaYDispara)
{
    SetSemillaRandom(1);
    CGenoma minimo(0, 6, 5);
    CInnovacion bd(minimo);
    CGenoma* pGenoma = GenomaDesdeRedInicial(minimo, RedInicialRobot(), bd);
    CRedNeuronal* pRed = const_cast<CRedNeuronal*>(pGenoma->CrearFenotipo());
    auto salidas = [pRed](int nSlot, double dDistancia) {
        TVecDoubles v(6, 0.0);
        if (nSlot >= 0)
            v[static_cast<size_t>(nSlot)] = dDistancia;
        return pRed->Actualizar(v, Ejecucion_PasoDinamico);
    };
    const TVecDoubles vacio = salidas(-1, 0.0), pared = salidas(2, 4.0);
    const TVecDoubles robot = salidas(0, 6.0), cerca = salidas(0, 0.6), disparo = salidas(1, 2.0);
    for (const TVecDoubles* p : {&vacio, &pared}) {
        EXPECT_GT((*p)[1], 0.99);
        EXPECT_LT((*p)[4], 0.5);
    }
    for (const TVecDoubles* p : {&robot, &cerca, &disparo})
        EXPECT_LT((*p)[1], 0.5);
    for (const TVecDoubles* p : {&vacio, &pared, &robot, &cerca, &disparo})
        EXPECT_EQ((*p)[1], (*p)[2]);
    EXPECT_GT(robot[4], 0.99);
    EXPECT_GT(cerca[4], 0.5);
    EXPECT_LT(disparo[4], 0.5);

    EXPECT_GT(robot[3], vacio[3]);
    delete pGenoma;
}

namespace {

// A short silent run of one-second matches against the still robot, from
// the given start, writing into a fresh folder of the test's own.
SOpcionesRobot OpcionesCorridaCorta(const std::string& sRedInicial, int nPoblacion, int nGeneraciones, int nValidacion,
                                    const std::string& sCarpeta)
{
    SOpcionesRobot o;
    o.nPoblacion = nPoblacion;
    o.nGeneraciones = nGeneraciones;
    o.nPartidas = 1;
    o.nHilos = 1;
    o.nValidacion = nValidacion;
    o.evaluacion.dTiempoMaximo = 1.0;
    o.vRivales = {{Rival_Quieto}};
    o.sRedInicial = sRedInicial;
    o.sSalida = testing::TempDir() + sCarpeta;
    o.bSilencio = true;
    o.bInforme = false;
    std::filesystem::remove_all(o.sSalida);
    return o;
}

// The networks of a short run's first generation, as the members play them.
bool RedesPrimeraGeneracion(const std::string& sRedInicial, std::set<std::string>& redes, std::string& sError)
{
    const SOpcionesRobot o = OpcionesCorridaCorta(sRedInicial, 4, 1, 0, "red_inicial_corrida");
    CEntrenamientoRobot entrenamiento;
    entrenamiento.SetEvaluador([&redes](int nGeneracion, const std::vector<STrabajo>& vTrabajos,
                                        const SConfigEvaluacion& config, std::vector<SResultadoTrabajo>& vResultados,
                                        std::string&) -> bool {
        for (const STrabajo& trabajo : vTrabajos) {
            if (nGeneracion == 0)
                redes.insert(trabajo.sRed);
        }
        EvaluarTrabajos(vTrabajos, config, 1, vResultados);
        return true;
    });
    const bool bBien = entrenamiento.Ejecutar(o, sError);
    EXPECT_EQ(bBien, std::filesystem::exists(o.sSalida)) << "a refused run writes nothing";
    std::filesystem::remove_all(o.sSalida);
    return bBien;
}

}  // namespace

// With the designed start every member of the first generation plays that
// network; without one each has its own random weights; a start that is not
// usable stops the run before anything is written, naming the file.
TEST(RedInicial, PrimeraGeneracionDeUnaCorrida)
{
    std::set<std::string> disenyada, ninguna, mala;
    std::string sError;
    ASSERT_TRUE(RedesPrimeraGeneracion(kRedInicialDisenyada, disenyada, sError)) << sError;
    EXPECT_EQ(1u, disenyada.size());
    ASSERT_TRUE(RedesPrimeraGeneracion(kRedInicialNinguna, ninguna, sError)) << sError;
    EXPECT_EQ(4u, ninguna.size());
    const std::string sFalta = testing::TempDir() + "no_existe_red_inicial.txt";
    EXPECT_FALSE(RedesPrimeraGeneracion(sFalta, mala, sError));
    EXPECT_NE(std::string::npos, sError.find(sFalta)) << sError;
    EXPECT_TRUE(mala.empty());
}

namespace {

// How a fake evaluator judges one network: the generation (negative for the
// validation matches), whether it is the start's network, its position.
using TJuez = std::function<void(int nGeneracion, bool bPartida, size_t i, SResultadoTrabajo& resultado)>;

// A short run judged by fJuez; false when it fails. sPartida is the first
// generation's leader, that is the start when there is one.
bool EleccionFinal(const std::string& sInicial, int nGeneraciones, const std::string& sCarpeta, const TJuez& fJuez,
                   std::string& sPartida, SCandidato& final)
{
    const SOpcionesRobot o = OpcionesCorridaCorta(sInicial, 6, nGeneraciones, 1, sCarpeta);
    CEntrenamientoRobot entrenamiento;
    entrenamiento.SetEvaluador([&](int nGeneracion, const std::vector<STrabajo>& vTrabajos, const SConfigEvaluacion&,
                                   std::vector<SResultadoTrabajo>& vResultados, std::string&) -> bool {
        if (nGeneracion == 0)
            sPartida = vTrabajos.front().sRed;
        vResultados.assign(vTrabajos.size(), SResultadoTrabajo());
        for (size_t i = 0; i < vTrabajos.size(); ++i)
            fJuez(nGeneracion, vTrabajos[i].sRed == sPartida, i, vResultados[i]);
        return true;
    });
    std::string sError;
    const bool bBien = entrenamiento.Ejecutar(o, sError);
    EXPECT_TRUE(bBien) << sError;
    final = entrenamiento.GetCandidatoFinal();
    std::filesystem::remove_all(o.sSalida);
    return bBien;
}

}  // namespace

// Training scores are noisy: a start that every later leader outscores in
// training still becomes the run's network when it wins the validation
// matches; a run from random weights has no start to keep.
TEST(RedInicial, LaRedDePartidaCompiteEnLaEleccionFinal)
{
    const TJuez fJuez = [](int nGeneracion, bool bPartida, size_t i, SResultadoTrabajo& r) {
        if (nGeneracion < 0)
            r.dPuntuacion = bPartida ? 100.0 : 1.0;
        else
            r.dPuntuacion = bPartida ? 1.0 : 10.0 + nGeneracion + static_cast<double>(i);
    };
    for (const std::string& sInicial : {std::string(kRedInicialDisenyada), std::string(kRedInicialNinguna)}) {
        std::string sPartida;
        SCandidato final;
        ASSERT_TRUE(EleccionFinal(sInicial, 12, "red_inicial_eleccion", fJuez, sPartida, final));
        if (sInicial == kRedInicialDisenyada)
            EXPECT_EQ(sPartida, final.sRed);
        else
            EXPECT_NE(sPartida, final.sRed);
    }
}

// The final choice goes by placing, not by score: a leader whose damage
// buys it the higher validation score loses to a start that wins its
// matches.
TEST(RedInicial, LaEleccionFinalVaPorColocacion)
{
    const TJuez fJuez = [](int nGeneracion, bool bPartida, size_t i, SResultadoTrabajo& r) {
        r.dPuntuacion = bPartida ? 1.0 : 100.0 + static_cast<double>(i);
        if (nGeneracion >= 0)
            return;
        SResultadoEncuentro duelo;
        duelo.vRivales.resize(1);
        duelo.propio.dPuntos = bPartida ? 2.0 : 1.0;
        duelo.propio.vdPuntosJuego = {duelo.propio.dPuntos};
        r.vEncuentros = {duelo};
    };
    std::string sPartida;
    SCandidato final;
    ASSERT_TRUE(EleccionFinal(kRedInicialDisenyada, 4, "red_inicial_colocacion", fJuez, sPartida, final));
    EXPECT_EQ(sPartida, final.sRed);
    EXPECT_DOUBLE_EQ(1.0, final.dColocacion);
}
