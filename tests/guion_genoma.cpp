// Genome construction, copying, phenotype and compatibility distance, with
// the scripted random source so that every draw is known and counted.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "NEAT/CGenoma.h"
#include "apoyo/Informes.h"
#include "apoyo/LlamadasGuion.h"
#include "apoyo/RandomGuion.h"

namespace {

const std::string kRutaGenoma = RutaFuente(__FILE__, "src/NEAT/CGenoma.cpp");

// A genome whose link genes carry the given innovation numbers and weights
// (ends 0 -> 1); the two neuron genes do not matter for the distance.
CGenoma GenomaConEnlaces(const std::vector<int>& vInno, const std::vector<double>& vPesos)
{
    TGNeuronas vNeuronas = {SGenNeurona(Neurona_Entrada, 0, 0.5, 0, false),
                            SGenNeurona(Neurona_Salida, 1, 0.5, 1, false)};
    TGEnlaces vEnlaces;
    for (size_t i = 0; i < vInno.size(); ++i)
        vEnlaces.push_back(SGenEnlace(0, 1, true, vInno[i], vPesos[i], false));
    return CGenoma(0, vNeuronas, vEnlaces, 1, 1);
}

CGenoma GenomaConEnlaces(const std::vector<int>& vInno)
{
    return GenomaConEnlaces(vInno, std::vector<double>(vInno.size(), 0.0));
}

}  // namespace

// ---------------------------------------------------------------------------
// Minimal genome

TEST(GenomaMinimo, DosEntradasUnaSalida)
{
    GuionReiniciar();
    GuionCargar({0.11, 0.12, 0.13, 0.14, -0.5, 0.25, 0.75});
    CGenoma g(7, 2, 1);

    ASSERT_EQ(GuionNumLlamadas(), 7u);
    EXPECT_EQ(GuionPendientes(), 0u);
    for (size_t i = 0; i < 4; ++i)
        ExpectLlamada(i, 'D', 0, 1);
    for (size_t i = 4; i < 7; ++i)
        ExpectLlamada(i, 'D', -1, 1);

    EXPECT_EQ(g.GetID(), 7u);
    EXPECT_EQ(g.GetNumEntradas(), 2u);
    EXPECT_EQ(g.GetNumSalidas(), 1u);
    EXPECT_EQ(g.GetEspecie(), 0u);

    const TGNeuronas& n = g.GetGenesNeurona();
    ASSERT_EQ(n.size(), 4u);
    const TNeurona tipos[] = {Neurona_Entrada, Neurona_Entrada, Neurona_Sesgo, Neurona_Salida};
    const double x[] = {0.5, 0.75, 0.25, 0.5};
    const double y[] = {0, 0, 0, 1};
    const double curva[] = {0.11, 0.12, 0.13, 0.14};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(n[i].nID, i);
        EXPECT_EQ(n[i].Tipo, tipos[i]);
        EXPECT_DOUBLE_EQ(n[i].dSplitX, x[i]);
        EXPECT_EQ(n[i].dSplitY, y[i]);
        EXPECT_EQ(n[i].dCurvaturaActivacion, curva[i]);
        EXPECT_FALSE(n[i].bRecurrente);
    }

    const TGEnlaces& e = g.GetGenesEnlace();
    ASSERT_EQ(e.size(), 3u);
    const double pesos[] = {-0.5, 0.25, 0.75};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(e[k].nIDNeuronaInicio, k);
        EXPECT_EQ(e[k].nIDNeuronaFin, 3);
        EXPECT_EQ(e[k].nIDInnovacion, 4 + k);
        EXPECT_EQ(e[k].dPeso, pesos[k]);
        EXPECT_TRUE(e[k].bHabilitado);
        EXPECT_FALSE(e[k].bRecurrente);
    }
}

TEST(GenomaMinimo, FuenteMayorYDosSalidas)
{
    // Source-major order: all links of input 0, then input 1, then the bias.
    GuionReiniciar();
    CGenoma g(0, 2, 2);
    EXPECT_EQ(GuionNumLlamadas(), 5u + 6u);
    const TGEnlaces& e = g.GetGenesEnlace();
    ASSERT_EQ(e.size(), 6u);
    const int ini[] = {0, 0, 1, 1, 2, 2};
    const int fin[] = {3, 4, 3, 4, 3, 4};
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(e[k].nIDNeuronaInicio, ini[k]);
        EXPECT_EQ(e[k].nIDNeuronaFin, fin[k]);
        EXPECT_EQ(e[k].nIDInnovacion, 5 + k);
    }
    EXPECT_DOUBLE_EQ(g.GetGenesNeurona()[3].dSplitX, 1.0 / 3);
    EXPECT_DOUBLE_EQ(g.GetGenesNeurona()[4].dSplitX, 2.0 / 3);
}

TEST(GenomaMinimo, SinEntradasOSinSalidas)
{
    GuionReiniciar();
    CGenoma sinEntradas(0, 0, 3);
    ASSERT_EQ(sinEntradas.GetNumGenesNeurona(), 4u);
    EXPECT_EQ(sinEntradas.GetGenesNeurona()[0].Tipo, Neurona_Sesgo);
    EXPECT_DOUBLE_EQ(sinEntradas.GetGenesNeurona()[0].dSplitX, 0.5);
    ASSERT_EQ(sinEntradas.GetNumGenesEnlace(), 3u);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(sinEntradas.GetGenesEnlace()[k].nIDNeuronaInicio, 0);
        EXPECT_EQ(sinEntradas.GetGenesEnlace()[k].nIDInnovacion, 4 + k);
    }

    GuionCargar({});
    CGenoma sinSalidas(0, 3, 0);
    EXPECT_EQ(GuionNumLlamadas(), 4u);  // curvatures only, no weights
    EXPECT_EQ(sinSalidas.GetNumGenesNeurona(), 4u);
    EXPECT_EQ(sinSalidas.GetNumGenesEnlace(), 0u);
}

TEST(GenomaMinimo, MismaFormaMismaEstructura)
{
    GuionReiniciar();
    CGenoma a(0, 3, 2), b(1, 3, 2);
    ASSERT_EQ(a.GetNumGenesEnlace(), b.GetNumGenesEnlace());
    bool bAlgunPesoDistinto = false;
    for (size_t k = 0; k < a.GetNumGenesEnlace(); ++k) {
        EXPECT_EQ(a.GetGenesEnlace()[k].nIDInnovacion, b.GetGenesEnlace()[k].nIDInnovacion);
        bAlgunPesoDistinto |= a.GetGenesEnlace()[k].dPeso != b.GetGenesEnlace()[k].dPeso;
    }
    EXPECT_TRUE(bAlgunPesoDistinto);
}

// ---------------------------------------------------------------------------
// Copying, clearing, ordering

TEST(Genoma, CopiaSinFenotipoYOrigenIntacto)
{
    GuionReiniciar();
    CGenoma g(3, 2, 1);
    g.SetEspecie(4);
    g.SetIdoneidad(1.5);
    g.SetNumHijosAExpandir(2.5);
    g.SetIdoneidadAjustada(0.75);
    const CRedNeuronal* pRed = g.CrearFenotipo();

    CGenoma copia(g);
    CGenoma asignado;
    asignado = g;
    for (const CGenoma* c : {&copia, &asignado}) {
        EXPECT_EQ(c->GetID(), 3u);
        EXPECT_EQ(c->GetEspecie(), 4u);
        EXPECT_EQ(c->GetIdoneidad(), 1.5);
        EXPECT_EQ(c->GetNumHijosAExpandir(), 2.5);
        EXPECT_EQ(c->GetIdoneidadAjustada(), 0.75);
        EXPECT_EQ(c->GetNumGenesEnlace(), 3u);
        EXPECT_EQ(c->GetNumGenesNeurona(), 4u);
        EXPECT_EQ(c->GetGenesEnlace()[1].dPeso, g.GetGenesEnlace()[1].dPeso);
        testing::internal::CaptureStderr();
        EXPECT_EQ(c->GetFenotipo(), nullptr);
        testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(g.GetFenotipo(), pRed);

    const CGenoma& mismo = g;
    g = mismo;  // self-assignment keeps everything, the phenotype included
    EXPECT_EQ(g.GetFenotipo(), pRed);
    EXPECT_EQ(g.GetNumGenesEnlace(), 3u);

    g.Copiar(g);  // never loses the genes
    EXPECT_EQ(g.GetNumGenesEnlace(), 3u);
}

TEST(Genoma, LimpiarYConstructorDeVectores)
{
    GuionReiniciar();
    CGenoma g(3, 2, 1);
    g.SetEspecie(2);
    g.SetIdoneidad(9);
    g.CrearFenotipo();
    g.Limpiar();
    EXPECT_EQ(g.GetNumGenesEnlace(), 0u);
    EXPECT_EQ(g.GetNumGenesNeurona(), 0u);
    EXPECT_EQ(g.GetID(), 0u);
    EXPECT_EQ(g.GetEspecie(), 0u);
    EXPECT_EQ(g.GetNumEntradas(), 0u);
    EXPECT_EQ(g.GetIdoneidad(), 0.0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(g.GetFenotipo(), nullptr);
    testing::internal::GetCapturedStderr();

    CGenoma v(9, GenomaConEnlaces({5, 6}).GetGenesNeurona(), GenomaConEnlaces({5, 6}).GetGenesEnlace(), 1, 1);
    EXPECT_EQ(v.GetID(), 9u);
    EXPECT_EQ(v.GetEspecie(), 0u);
    EXPECT_EQ(v.GetIdoneidad(), 0.0);
    EXPECT_EQ(v.GetNumGenesEnlace(), 2u);
    EXPECT_EQ(v.GetGenesEnlace()[1].nIDInnovacion, 6);
}

TEST(Genoma, OrdenarGenesPorInnovacion)
{
    GuionReiniciar();
    CGenoma g = GenomaConEnlaces({9, 3, 7, 3, 1}, {0.9, 0.3, 0.7, 0.31, 0.1});
    const SGenNeurona n0 = g.GetGenesNeurona()[0];
    g.OrdenarGenes();
    const int esperado[] = {1, 3, 3, 7, 9};
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(g.GetGenesEnlace()[k].nIDInnovacion, esperado[k]);
    EXPECT_EQ(g.GetGenesEnlace()[4].dPeso, 0.9);  // genes move whole
    EXPECT_EQ(g.GetGenesNeurona()[0].dCurvaturaActivacion, n0.dCurvaturaActivacion);
}

// ---------------------------------------------------------------------------
// Phenotype

TEST(Fenotipo, GenomaMinimoDaRedCompleta)
{
    GuionReiniciar();
    GuionCargar({0.5, 0.6, 0.7, 0.8, 0.1, 0.2, 0.3});
    CGenoma g(0, 2, 1);
    const CRedNeuronal* pRed = g.CrearFenotipo();
    ASSERT_NE(pRed, nullptr);
    ASSERT_EQ(pRed->GetRed().size(), 4u);
    const SNeurona* pSalida = pRed->GetRed()[3];
    EXPECT_EQ(pSalida->TipoNeurona, Neurona_Salida);
    EXPECT_EQ(pSalida->dCurvaturaSigmoidea, 0.8);
    EXPECT_EQ(pSalida->dSplitY, 1.0);
    ASSERT_EQ(pSalida->vEnlacesEntrada.size(), 3u);
    EXPECT_EQ(pSalida->vEnlacesEntrada[0].dPeso, 0.1);
    EXPECT_EQ(pSalida->vEnlacesEntrada[2].dPeso, 0.3);
    EXPECT_EQ(pSalida->vEnlacesEntrada[2].pNeuronaEntrada->TipoNeurona, Neurona_Sesgo);

    // The network computes what the genes say.
    TVecDoubles in = {1.0, -1.0};
    CRedNeuronal& red = const_cast<CRedNeuronal&>(*pRed);
    const double dEsperado = 1.0 / (1.0 + std::exp(-(0.1 - 0.2 + 0.3) / 0.8));
    EXPECT_DOUBLE_EQ(red.Actualizar(in, Ejecucion_Instantanea)[0], dEsperado);
    EXPECT_EQ(g.GetFenotipo(), pRed);
}

TEST(Fenotipo, EnlacesDeshabilitadosNoSeExpresan)
{
    GuionReiniciar();
    TGNeuronas vN = {SGenNeurona(Neurona_Entrada, 0, 0.5, 0, false), SGenNeurona(Neurona_Sesgo, 1, 0.2, 0, false),
                     SGenNeurona(Neurona_Salida, 2, 0.5, 1, false)};
    TGEnlaces vE = {SGenEnlace(0, 2, false, 3, 1.0, false), SGenEnlace(1, 2, false, 4, 1.0, false)};
    CGenoma g(0, vN, vE, 1, 1);
    const CRedNeuronal* pRed = g.CrearFenotipo();
    ASSERT_EQ(pRed->GetRed().size(), 3u);
    for (const SNeurona* n : pRed->GetRed()) {
        EXPECT_TRUE(n->vEnlacesEntrada.empty());
        EXPECT_TRUE(n->vEnlacesSalida.empty());
    }
}

TEST(Fenotipo, EnlaceHaciaNeuronaInexistenteSeOmite)
{
    GuionReiniciar();
    TGNeuronas vN = {SGenNeurona(Neurona_Entrada, 0, 0.5, 0, false), SGenNeurona(Neurona_Sesgo, 1, 0.2, 0, false),
                     SGenNeurona(Neurona_Salida, 2, 0.5, 1, false)};
    TGEnlaces vE = {SGenEnlace(0, 2, true, 3, 1.0, false), SGenEnlace(0, 42, true, 4, 1.0, false),
                    SGenEnlace(-1, 2, true, 5, 1.0, false)};
    CGenoma g(0, vN, vE, 1, 1);
    testing::internal::CaptureStderr();
    const CRedNeuronal* pRed = g.CrearFenotipo();
    const std::string sErr = testing::internal::GetCapturedStderr();
    ASSERT_EQ(pRed->GetRed().size(), 3u);
    EXPECT_EQ(pRed->GetRed()[0]->vEnlacesSalida.size(), 1u);
    EXPECT_EQ(pRed->GetRed()[2]->vEnlacesEntrada.size(), 1u);
    // Both unknown ends are reported by the look-up.
    EXPECT_NE(sErr.find("IDNeurona=42!!"), std::string::npos);
    EXPECT_NE(sErr.find("IDNeurona=-1!!"), std::string::npos);
}

TEST(Fenotipo, CrearDosVecesYBorrar)
{
    GuionReiniciar();
    CGenoma g(0, 1, 1);
    g.CrearFenotipo();
    const CRedNeuronal* pSegunda = g.CrearFenotipo();  // the first is freed (the sanitizer build checks)
    EXPECT_EQ(g.GetFenotipo(), pSegunda);
    g.BorrarFenotipo();
    testing::internal::CaptureStderr();
    g.BorrarFenotipo();  // nothing to delete, nothing said
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Fenotipo, MensajesByteAByte)
{
    GuionReiniciar();
    CGenoma g(0, 1, 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(g.GetFenotipo(), nullptr);
    EXPECT_TRUE(EsInforme(testing::internal::GetCapturedStderr(), "ERROR INTERNO(", kRutaGenoma,
                          "): Los fenotipos deben crearse antes de tratar de obtenerlos.\n"));

    testing::internal::CaptureStderr();
    EXPECT_EQ(g.GetPosicionNeurona(17), -1);
    EXPECT_TRUE(EsInforme(testing::internal::GetCapturedStderr(),
                          "ERROR: No se ha podido localizar el IDNeurona=17!! (", kRutaGenoma, ")\n"));

    testing::internal::CaptureStderr();
    EXPECT_EQ(g.GetPosicionNeurona(2), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(Fenotipo, PosicionDelPrimerGenConEseID)
{
    GuionReiniciar();
    TGNeuronas vN = {SGenNeurona(Neurona_Entrada, 5, 0.5, 0, false), SGenNeurona(Neurona_Sesgo, 8, 0.2, 0, false),
                     SGenNeurona(Neurona_Oculta, 5, 0.5, 1, false)};
    CGenoma g(0, vN, TGEnlaces(), 1, 0);
    EXPECT_EQ(g.GetPosicionNeurona(5), 0);
    EXPECT_EQ(g.GetPosicionNeurona(8), 1);
}

// ---------------------------------------------------------------------------
// Compatibility distance

TEST(Compatibilidad, TablaDeEjemplos)
{
    GuionReiniciar();
    CGenoma a = GenomaConEnlaces({1, 2, 3}, {0.5, 1.0, 7.0});
    CGenoma b = GenomaConEnlaces({1, 2, 3}, {0.25, 2.0, -9.0});
    EXPECT_DOUBLE_EQ(a.CalcularCompatibilidad(b), 0.4 * (0.25 + 1.0) / 2);

    CGenoma c = GenomaConEnlaces({1, 2}, {1.5, 3.0});
    EXPECT_DOUBLE_EQ(a.CalcularCompatibilidad(c), 1.0 / 3 + 0.4 * 1.0);

    CGenoma d = GenomaConEnlaces({1, 4, 5}, {0.0, 0.0, 0.0});
    CGenoma e = GenomaConEnlaces({1, 2, 3, 5}, {0.5, 9.0, 9.0, 9.0});
    EXPECT_DOUBLE_EQ(d.CalcularCompatibilidad(e), 1.0 / 4 + 2.0 / 4 + 0.4 * 0.5);
}

TEST(Compatibilidad, SimetricaEIgualesADistanciaCero)
{
    GuionReiniciar();
    CGenoma a = GenomaConEnlaces({1, 4, 5, 8}, {0.5, 0.1, -0.3, 2.0});
    CGenoma b = GenomaConEnlaces({1, 2, 3, 5, 9, 10}, {0.25, 9.0, 9.0, 9.0, 1.0, 1.0});
    EXPECT_DOUBLE_EQ(a.CalcularCompatibilidad(b), b.CalcularCompatibilidad(a));
    CGenoma a2(a);
    EXPECT_EQ(a.CalcularCompatibilidad(a2), 0.0);
}

TEST(Compatibilidad, ElUltimoGenNuncaCuenta)
{
    GuionReiniciar();
    // Only the last genes differ: they are never compared.
    CGenoma a = GenomaConEnlaces({1, 2, 3}, {0.5, 0.5, 0.5});
    CGenoma b = GenomaConEnlaces({1, 2, 30}, {0.5, 0.5, 100.0});
    EXPECT_EQ(a.CalcularCompatibilidad(b), 0.0);
}

TEST(Compatibilidad, SinDivisorElTerminoValeCero)
{
    GuionReiniciar();
    // One gene each: nothing matched, the weight term would be 0/0.
    CGenoma uno = GenomaConEnlaces({1}, {0.5});
    CGenoma otro = GenomaConEnlaces({7}, {-0.5});
    EXPECT_EQ(uno.CalcularCompatibilidad(otro), 0.0);

    // No link genes on either side.
    CGenoma vacio = GenomaConEnlaces({});
    EXPECT_EQ(vacio.CalcularCompatibilidad(vacio), 0.0);
    EXPECT_EQ(vacio.CalcularCompatibilidad(uno), 0.0);
    EXPECT_EQ(uno.CalcularCompatibilidad(vacio), 0.0);

    // Nothing matched against a longer list: excess only, no NaN.
    CGenoma dos = GenomaConEnlaces({1, 2}, {0.5, 0.5});
    const double d = uno.CalcularCompatibilidad(dos);
    EXPECT_FALSE(std::isnan(d));
    EXPECT_DOUBLE_EQ(d, 1.0 / 2);
}

TEST(Compatibilidad, ListaVaciaContraTres)
{
    GuionReiniciar();
    CGenoma vacio = GenomaConEnlaces({});
    CGenoma tres = GenomaConEnlaces({4, 5, 6}, {1, 2, 3});
    EXPECT_DOUBLE_EQ(vacio.CalcularCompatibilidad(tres), 2.0 / 3);
    EXPECT_DOUBLE_EQ(tres.CalcularCompatibilidad(vacio), 2.0 / 3);
}
