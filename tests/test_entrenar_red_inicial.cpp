// A run that starts from a hand-made network: every first genome carries the
// network's direct links and output curvatures, and plays as that network.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "DebugLib/Random/Random.h"
#include "NEAT/CGenoma.h"
#include "NEAT/CRedNeuronal.h"
#include "RedInicial.h"

namespace {

const int kEntradas = 3, kSalidas = 2;

// Inputs, bias, outputs with their own curvatures, and a few direct links;
// optionally a hidden neuron on one path.
std::string TextoRed(bool bConOculta)
{
    CRedNeuronal red;
    const SNeurona* vEntradas[kEntradas];
    for (int i = 0; i < kEntradas; ++i)
        vEntradas[i] = red.AddNeurona(Neurona_Entrada, i, i / 2.0, 0.0, 1.0);
    const SNeurona* pSesgo = red.AddNeurona(Neurona_Sesgo, kEntradas, 1.0, 0.0, 1.0);
    const SNeurona* pSalida0 = red.AddNeurona(Neurona_Salida, 10, 0.0, 1.0, 0.25);
    const SNeurona* pSalida1 = red.AddNeurona(Neurona_Salida, 11, 1.0, 1.0, 2.5);
    red.AddEnlace(vEntradas[0], pSalida0, -20.0, false);
    red.AddEnlace(vEntradas[2], pSalida0, 3.5, false);
    red.AddEnlace(pSesgo, pSalida0, 10.0, false);
    red.AddEnlace(vEntradas[1], pSalida1, 0.75, false);
    red.AddEnlace(pSesgo, pSalida1, -0.15, false);
    if (bConOculta) {
        const SNeurona* pOculta = red.AddNeurona(Neurona_Oculta, 12, 0.5, 0.5, 1.0);
        red.AddEnlace(vEntradas[0], pOculta, 1.0, false);
        red.AddEnlace(pOculta, pSalida1, 1.0, false);
    }
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

// The genome's phenotype gives the network's outputs, step after step, and
// building the genome draws no random number (runs with and without a
// starting network draw alike).
TEST(RedInicial, ElGenomaJuegaComoLaRed)
{
    const std::string sTexto = TextoRed(false);
    SRedInicial inicial;
    std::string sError;
    ASSERT_TRUE(LeerRedInicial(sTexto, kEntradas, kSalidas, inicial, sError)) << sError;

    SetSemillaRandom(7);
    CGenoma minimo(4, kEntradas, kSalidas);
    const std::string sEstado = GetEstadoRandom();
    CGenoma* pGenoma = GenomaDesdeRedInicial(minimo, inicial);
    EXPECT_EQ(sEstado, GetEstadoRandom());
    EXPECT_EQ(4u, pGenoma->GetID());
    EXPECT_EQ(minimo.GetNumGenesEnlace(), pGenoma->GetNumGenesEnlace());

    CRedNeuronal* pRed = LeerRed(sTexto);
    const CRedNeuronal* pFenotipo = pGenoma->CrearFenotipo();
    const TVecDoubles vCasos[] = {{0, 0, 0}, {0.4, 0, 0}, {0, 2, -1}, {1.5, -3, 0.2}};
    for (const TVecDoubles& v : vCasos) {
        const TVecDoubles esperado = pRed->Actualizar(v, Ejecucion_PasoDinamico);
        const TVecDoubles obtenido = const_cast<CRedNeuronal*>(pFenotipo)->Actualizar(v, Ejecucion_PasoDinamico);
        ASSERT_EQ(esperado.size(), obtenido.size());
        for (size_t k = 0; k < esperado.size(); ++k)
            EXPECT_NEAR(esperado[k], obtenido[k], 1e-12) << "salida " << k;
    }
    delete pRed;
    delete pGenoma;
}

// Only inputs, the bias and outputs in the expected numbers, joined by
// direct links, make a starting point; anything else is refused with why.
TEST(RedInicial, RechazaLoQueNoEsUnaRedDirecta)
{
    SRedInicial inicial;
    inicial.nEntradas = 99;
    std::string sError;
    EXPECT_FALSE(LeerRedInicial(TextoRed(true), kEntradas, kSalidas, inicial, sError));
    EXPECT_NE(std::string::npos, sError.find("ocultas")) << sError;
    EXPECT_FALSE(LeerRedInicial(TextoRed(false), kEntradas + 1, kSalidas, inicial, sError));
    EXPECT_NE(std::string::npos, sError.find("entradas")) << sError;
    EXPECT_FALSE(LeerRedInicial("\\q", kEntradas, kSalidas, inicial, sError));
    EXPECT_NE(std::string::npos, sError.find("no es una red")) << sError;
    EXPECT_EQ(99, inicial.nEntradas);  // untouched by a refusal
}
