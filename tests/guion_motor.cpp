// The engine's steps one by one: ranking, speciation and sharing, stale
// species, tournaments, crossover and the species' share of the offspring.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "NEAT/CAlgoritmoGenetico.h"
#include "apoyo/Poblacion.h"
#include "apoyo/PruebaAlgoritmoGenetico.h"
#include "apoyo/RandomGuion.h"

namespace {

class Motor : public ::testing::Test {
protected:
    Motor() : m_prueba(m_ag)
    {
        GuionReiniciar();
        m_ag.Inicializar(2, 1);
    }

    // A population of hand-made genomes: weights (w4, w5) and a score each;
    // ids 0, 1, 2, ... in that order.
    void Poblar(const std::vector<std::vector<double>>& vDatos)
    {
        m_pPoblacion.reset(new CPoblacionPrueba(vDatos.size()));
        for (std::size_t i = 0; i < vDatos.size(); ++i) {
            m_pPoblacion->Dar(i, GenomaXor(static_cast<int>(i), vDatos[i][0], vDatos[i][1], 0.0));
            (*m_pPoblacion)[i].SetPuntuacion(vDatos[i][2]);
        }
        m_prueba.SetPoblacion(m_pPoblacion->Vector());
    }
    const CGenoma& Genoma(std::size_t i) { return *(*m_pPoblacion)[i].GetGenoma(); }

    CAlgoritmoGenetico m_ag;
    CPruebaAlgoritmoGenetico m_prueba;
    std::unique_ptr<CPoblacionPrueba> m_pPoblacion;
};

SGenEnlace Enlace(int nInnovacion, int nDesde, int nHasta, double dPeso)
{
    return SGenEnlace(nDesde, nHasta, true, nInnovacion, dPeso, false);
}

CGenoma Padre(double dIdoneidad, const TGEnlaces& vEnlaces, int nEntradas = 2, int nSalidas = 1)
{
    CGenoma genoma(99, TGNeuronas(), vEnlaces, nEntradas, nSalidas);
    genoma.SetIdoneidad(dIdoneidad);
    return genoma;
}

std::vector<int> Innovaciones(const CGenoma& genoma)
{
    std::vector<int> v;
    for (const SGenEnlace& enlace : genoma.GetGenesEnlace())
        v.push_back(enlace.nIDInnovacion);
    return v;
}

std::vector<int> IDsNeuronas(const CGenoma& genoma)
{
    std::vector<int> v;
    for (const SGenNeurona& neurona : genoma.GetGenesNeurona())
        v.push_back(neurona.nID);
    return v;
}

}  // namespace

// --- Ranking ---------------------------------------------------------------

TEST_F(Motor, OrdenaPorPuntuacionYGuardaLaElite)
{
    Poblar({{0, 0, 3}, {0, 0, 7}, {0, 0, 5}});
    m_prueba.OrdenarYSalvarIndividuos();
    EXPECT_EQ(Genoma(0).GetID(), 1u);
    EXPECT_EQ(Genoma(1).GetID(), 2u);
    EXPECT_EQ(Genoma(2).GetID(), 0u);
    // The scores stay with the members.
    EXPECT_EQ((*m_pPoblacion)[0].GetPuntuacion(), 3.0);
    EXPECT_EQ((*m_pPoblacion)[1].GetPuntuacion(), 7.0);
    EXPECT_DOUBLE_EQ(Genoma(0).GetIdoneidad(), 7.0);
    EXPECT_DOUBLE_EQ(m_prueba.MejorIdoneidad(), 7.0);
    ASSERT_EQ(m_prueba.MejoresIndividuos().size(), 2u);
    EXPECT_EQ(m_prueba.MejoresIndividuos()[0].GetID(), 1u);
    EXPECT_EQ(m_prueba.MejoresIndividuos()[1].GetID(), 2u);
}

TEST_F(Motor, PuntuacionesNegativas)
{
    Poblar({{0, 0, -2}, {0, 0, -0.5}, {0, 0, 0}});
    m_prueba.OrdenarYSalvarIndividuos();
    // Ranked by score: 0, -0.5, -2.
    EXPECT_DOUBLE_EQ(Genoma(0).GetIdoneidad(), 0.0);
    EXPECT_DOUBLE_EQ(Genoma(1).GetIdoneidad(), 2.0);
    EXPECT_DOUBLE_EQ(Genoma(2).GetIdoneidad(), 0.5);
    // The first ranking takes member 0's fitness whatever it is.
    EXPECT_TRUE(m_prueba.MejorIdoneidadValida());
    EXPECT_DOUBLE_EQ(m_prueba.MejorIdoneidad(), 0.0);
}

TEST_F(Motor, PuntuacionNegativaCercaDeCeroQuedaDetras)
{
    Poblar({{0, 0, -0.1}, {0, 0, 5}});
    m_prueba.OrdenarYSalvarIndividuos();
    EXPECT_EQ(Genoma(0).GetID(), 1u);
    EXPECT_DOUBLE_EQ(Genoma(0).GetIdoneidad(), 5.0);
    EXPECT_DOUBLE_EQ(Genoma(1).GetIdoneidad(), 10.0);
    EXPECT_DOUBLE_EQ(m_prueba.MejorIdoneidad(), 5.0);

    // Afterwards the best fitness so far only rises.
    (*m_pPoblacion)[0].SetPuntuacion(2.0);
    (*m_pPoblacion)[1].SetPuntuacion(1.0);
    m_prueba.OrdenarYSalvarIndividuos();
    EXPECT_DOUBLE_EQ(m_prueba.MejorIdoneidad(), 5.0);
    (*m_pPoblacion)[0].SetPuntuacion(6.0);
    m_prueba.OrdenarYSalvarIndividuos();
    EXPECT_DOUBLE_EQ(m_prueba.MejorIdoneidad(), 6.0);
}

TEST_F(Motor, PuntuacionNaNVaAlFinalConIdoneidadCero)
{
    // Enough members for the sort's unguarded passes; NaN among them must
    // neither break the order nor spread into the fitness.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<std::vector<double>> vDatos;
    for (int i = 0; i < 40; ++i)
        vDatos.push_back({0, 0, i % 3 == 0 ? nan : static_cast<double>(i)});
    Poblar(vDatos);
    m_prueba.OrdenarYSalvarIndividuos();
    double dAnterior = 1e9;
    for (std::size_t i = 0; i < 26; ++i) {
        EXPECT_NE(Genoma(i).GetID() % 3, 0u);
        EXPECT_LT(Genoma(i).GetIdoneidad(), dAnterior);
        dAnterior = Genoma(i).GetIdoneidad();
    }
    for (std::size_t i = 26; i < 40; ++i) {
        EXPECT_EQ(Genoma(i).GetID() % 3, 0u);
        EXPECT_EQ(Genoma(i).GetIdoneidad(), 0.0);
    }
    EXPECT_DOUBLE_EQ(m_prueba.MejorIdoneidad(), 38.0);
}

// --- Speciation and sharing ------------------------------------------------

TEST_F(Motor, EspeciacionPorDistanciaAlLider)
{
    m_ag.SetMaxNumeroDeEspecies(2);
    // Distances to (0, 0): 0.2 exactly; (1, 1): 0.4, founds species 1;
    // (3, 3): nearer species 1 while the list is full; (-2, 3): as near to
    // both, joins the earlier.
    Poblar({{0, 0, 0}, {0.5, 0.5, 0}, {1, 1, 0}, {3, 3, 0}, {-2, 3, 0}});
    m_prueba.EspeciarYCalcularHijosAExpandir();
    ASSERT_EQ(m_prueba.Especies().size(), 2u);
    EXPECT_EQ(Genoma(0).GetEspecie(), 0u);
    EXPECT_EQ(Genoma(1).GetEspecie(), 0u);
    EXPECT_EQ(Genoma(2).GetEspecie(), 1u);
    EXPECT_EQ(Genoma(3).GetEspecie(), 1u);
    EXPECT_EQ(Genoma(4).GetEspecie(), 0u);
    EXPECT_EQ(m_prueba.Especies()[0].GetNumMiembros(), 3);
    EXPECT_EQ(m_prueba.IDSigEspecie(), 2);
}

TEST_F(Motor, SinEspeciacionCadaGenomaFundaUnaEspecie)
{
    m_ag.SetEspeciacion(false);
    Poblar({{0, 0, 1}, {0, 0, 1}, {0, 0, 1}});
    m_prueba.EspeciarYCalcularHijosAExpandir();
    EXPECT_EQ(m_prueba.Especies().size(), 3u);
    for (CEspecie& especie : m_prueba.Especies())
        especie.Purgar();
    m_prueba.EspeciarYCalcularHijosAExpandir();
    EXPECT_EQ(m_prueba.Especies().size(), 6u);
    EXPECT_EQ(Genoma(2).GetEspecie(), 5u);
}

TEST_F(Motor, IdoneidadCompartidaEntreDosEspecies)
{
    // Species 0, age 20, whose leader matches the first genome; the other two
    // genomes are far from it and found a young species together.
    Poblar({{0, 0, 6}, {5, 5, 4}, {5, 5, 2}});
    for (std::size_t i = 0; i < 3; ++i)
        (*m_pPoblacion)[i].Genoma()->SetIdoneidad((*m_pPoblacion)[i].GetPuntuacion());
    m_prueba.Especies().push_back(CEspecie(Genoma(0), 0));
    for (int n = 0; n < 20; ++n)
        m_prueba.Especies()[0].Purgar();
    m_prueba.IDSigEspecie() = 1;

    m_prueba.EspeciarYCalcularHijosAExpandir();

    ASSERT_EQ(m_prueba.Especies().size(), 2u);
    EXPECT_EQ(m_prueba.Especies()[1].GetEdad(), 0);
    EXPECT_DOUBLE_EQ(Genoma(0).GetIdoneidadAjustada(), 6.0);
    EXPECT_DOUBLE_EQ(Genoma(1).GetIdoneidadAjustada(), 2.5);
    EXPECT_DOUBLE_EQ(Genoma(2).GetIdoneidadAjustada(), 1.25);
    EXPECT_DOUBLE_EQ(m_prueba.IdoneidadTotalAjustada(), 9.75);
    EXPECT_DOUBLE_EQ(m_prueba.IdoneidadMediaAjustada(), 3.25);
    EXPECT_NEAR(Genoma(0).GetNumHijosAExpandir(), 1.846, 1e-3);
    EXPECT_NEAR(Genoma(1).GetNumHijosAExpandir(), 0.769, 1e-3);
    EXPECT_NEAR(Genoma(2).GetNumHijosAExpandir(), 0.385, 1e-3);
    EXPECT_NEAR(m_prueba.Especies()[0].GetHijosAExpandir(), 1.846, 1e-3);
    EXPECT_NEAR(m_prueba.Especies()[1].GetHijosAExpandir(), 1.154, 1e-3);
    EXPECT_EQ(Genoma(0).GetEspecie(), 0u);
    EXPECT_EQ(Genoma(2).GetEspecie(), 1u);
}

TEST_F(Motor, TodasLasPuntuacionesCeroDanUnHijoPorGenoma)
{
    Poblar({{0, 0, 0}, {3, 3, 0}, {0, 0, 0}});
    m_prueba.OrdenarYSalvarIndividuos();
    m_prueba.EspeciarYCalcularHijosAExpandir();
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(Genoma(i).GetNumHijosAExpandir(), 1.0);
    double dTotal = 0.0;
    for (const CEspecie& especie : m_prueba.Especies())
        dTotal += especie.GetHijosAExpandir();
    EXPECT_EQ(dTotal, 3.0);
}

// --- Stale species ---------------------------------------------------------

TEST_F(Motor, EspecieEstancadaSeEliminaA31No30)
{
    Poblar({{0, 0, 1}});
    std::unique_ptr<CGenoma> base(GenomaXor(0, 0, 0, 0));
    CGenoma peor(*base);
    peor.SetIdoneidad(4.0);
    CGenoma mejor(peor);
    mejor.SetIdoneidad(10.0);
    TEspecies& vEspecies = m_prueba.Especies();
    vEspecies.push_back(CEspecie(peor, 0));   // 31 after the purge, below the best: goes
    vEspecies.push_back(CEspecie(mejor, 1));  // 31, equal to the best: stays
    vEspecies.push_back(CEspecie(peor, 2));   // 30: stays
    for (int n = 0; n < 30; ++n) {
        vEspecies[0].Purgar();
        vEspecies[1].Purgar();
        if (n < 29)
            vEspecies[2].Purgar();
    }
    m_prueba.MejorIdoneidad() = 10.0;
    m_prueba.ResetearYEliminar();
    ASSERT_EQ(vEspecies.size(), 2u);
    EXPECT_EQ(vEspecies[0].GetID(), 1);
    EXPECT_EQ(vEspecies[0].GetEpocasSinMejora(), 31);
    EXPECT_EQ(vEspecies[1].GetID(), 2);
    EXPECT_EQ(vEspecies[1].GetEpocasSinMejora(), 30);
    // The next generation drops the third one as well, keeps the best.
    m_prueba.ResetearYEliminar();
    ASSERT_EQ(vEspecies.size(), 1u);
    EXPECT_EQ(vEspecies[0].GetID(), 1);
}

// --- Tournament --------------------------------------------------------------

TEST_F(Motor, TorneoDeUnSorteo)
{
    Poblar({{0, 0, 1}, {0, 0, 2}, {0, 0, 3}, {0, 0, 4}, {0, 0, 5}});
    GuionCargar({3});
    EXPECT_EQ(m_prueba.TournamentSelection(1), &Genoma(3));
    ASSERT_EQ(GuionNumLlamadas(), 1u);
    EXPECT_EQ(GuionLlamadas()[0].cTipo, 'I');
    EXPECT_EQ(GuionLlamadas()[0].dMin, 0.0);
    EXPECT_EQ(GuionLlamadas()[0].dMax, 4.0);
}

TEST_F(Motor, TorneoGanaElPrimeroEntreIguales)
{
    Poblar({{0, 0, 1}, {0, 0, 5}, {0, 0, 1}, {0, 0, 5}, {0, 0, 5}});
    m_prueba.OrdenarYSalvarIndividuos();  // fitness 5 5 5 1 1, ids 1 3 4 0 2 in some order
    GuionCargar({3, 2, 1, 0});
    const CGenoma* pGanador = m_prueba.TournamentSelection(4);
    EXPECT_EQ(pGanador, &Genoma(2));
    EXPECT_EQ(GuionNumLlamadas(), 4u);
}

// --- Crossover ---------------------------------------------------------------

TEST_F(Motor, CruceGenesDisjuntosDelMejor)
{
    const CGenoma madre = Padre(5, {Enlace(1, 0, 3, 1.1), Enlace(2, 1, 3, 1.2), Enlace(3, 1, 3, 1.3),
                                    Enlace(5, 0, 3, 1.5), Enlace(8, 3, 3, 1.8)});
    const CGenoma padre = Padre(3, {Enlace(1, 0, 3, 2.1), Enlace(2, 1, 3, 2.2), Enlace(4, 2, 3, 2.4),
                                    Enlace(5, 0, 3, 2.5), Enlace(6, 2, 3, 2.6), Enlace(9, 2, 1, 2.9)});
    const int nID = m_prueba.IDSigGenoma();
    GuionCargar({1, 0, 1, 0.25, 0.5, 0.75});
    std::unique_ptr<CGenoma> hijo(m_prueba.Cruce(madre, padre));

    EXPECT_EQ(Innovaciones(*hijo), (std::vector<int>{1, 2, 3, 5, 8}));
    const TGEnlaces& enlaces = hijo->GetGenesEnlace();
    EXPECT_EQ(enlaces[0].dPeso, 2.1);
    EXPECT_EQ(enlaces[1].dPeso, 1.2);
    EXPECT_EQ(enlaces[2].dPeso, 1.3);
    EXPECT_EQ(enlaces[3].dPeso, 2.5);
    EXPECT_EQ(enlaces[4].dPeso, 1.8);
    // Neuron 2 is touched only by padre's dropped genes.
    EXPECT_EQ(IDsNeuronas(*hijo), (std::vector<int>{0, 1, 3}));
    const TGNeuronas& neuronas = hijo->GetGenesNeurona();
    EXPECT_EQ(neuronas[0].Tipo, Neurona_Entrada);
    EXPECT_EQ(neuronas[2].Tipo, Neurona_Salida);
    EXPECT_EQ(neuronas[2].dSplitY, 1.0);
    EXPECT_EQ(neuronas[0].dCurvaturaActivacion, 0.25);
    EXPECT_EQ(neuronas[2].dCurvaturaActivacion, 0.75);

    ASSERT_EQ(GuionNumLlamadas(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(GuionLlamadas()[i].cTipo, i < 3 ? 'I' : 'D');
        EXPECT_EQ(GuionLlamadas()[i].dMin, 0.0);
        EXPECT_EQ(GuionLlamadas()[i].dMax, 1.0);
    }
    EXPECT_EQ(static_cast<int>(hijo->GetID()), nID);
    EXPECT_EQ(m_prueba.IDSigGenoma(), nID + 1);
    EXPECT_EQ(hijo->GetIdoneidad(), 0.0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(hijo->GetFenotipo(), nullptr);
    testing::internal::GetCapturedStderr();
}

TEST_F(Motor, CruceConPadreMejorTomaEntradasDeLaMadre)
{
    const CGenoma madre = Padre(3, {Enlace(1, 0, 3, 1.1), Enlace(3, 1, 3, 1.3)}, 2, 1);
    const CGenoma padre = Padre(5, {Enlace(1, 0, 3, 2.1), Enlace(4, 2, 3, 2.4)}, 7, 4);
    GuionCargar({0});
    std::unique_ptr<CGenoma> hijo(m_prueba.Cruce(madre, padre));
    EXPECT_EQ(Innovaciones(*hijo), (std::vector<int>{1, 4}));
    EXPECT_EQ(hijo->GetGenesEnlace()[0].dPeso, 1.1);
    EXPECT_EQ(hijo->GetNumEntradas(), 2u);
    EXPECT_EQ(hijo->GetNumSalidas(), 1u);
    EXPECT_EQ(IDsNeuronas(*hijo), (std::vector<int>{0, 2, 3}));
}

TEST_F(Motor, CruceIgualIdoneidadGanaElMasCorto)
{
    const CGenoma madre = Padre(2, {Enlace(1, 0, 3, 1), Enlace(2, 1, 3, 1), Enlace(3, 2, 3, 1), Enlace(6, 1, 3, 1),
                                    Enlace(7, 1, 3, 1), Enlace(8, 1, 3, 1), Enlace(9, 1, 3, 1)});
    const CGenoma padre =
        Padre(2, {Enlace(1, 0, 3, 2), Enlace(2, 1, 3, 2), Enlace(4, 2, 3, 2), Enlace(5, 0, 3, 2), Enlace(10, 0, 3, 2)});
    GuionCargar({0, 0});
    std::unique_ptr<CGenoma> hijo(m_prueba.Cruce(madre, padre));
    EXPECT_EQ(Innovaciones(*hijo), (std::vector<int>{1, 2, 4, 5, 10}));
    // Two matching genes, no tie-break draw, then one draw per neuron.
    ASSERT_EQ(GuionNumLlamadas(), 2u + 4u);
    EXPECT_EQ(GuionLlamadas()[2].cTipo, 'D');
}

TEST_F(Motor, CruceEmpateTotalLoDecideUnSorteo)
{
    const CGenoma madre = Padre(2, {Enlace(1, 0, 3, 1), Enlace(3, 1, 3, 1)});
    const CGenoma padre = Padre(2, {Enlace(1, 0, 3, 2), Enlace(4, 2, 3, 2)});
    GuionCargar({1, 0});  // padre is the better one; gene 1 from madre
    std::unique_ptr<CGenoma> hijo(m_prueba.Cruce(madre, padre));
    EXPECT_EQ(Innovaciones(*hijo), (std::vector<int>{1, 4}));
    EXPECT_EQ(hijo->GetGenesEnlace()[0].dPeso, 1.0);
    GuionCargar({0, 0});
    hijo.reset(m_prueba.Cruce(madre, padre));
    EXPECT_EQ(Innovaciones(*hijo), (std::vector<int>{1, 3}));
}

TEST_F(Motor, CruceInnovacionRepetidaNoSeDuplica)
{
    const CGenoma madre = Padre(5, {Enlace(1, 0, 3, 1), Enlace(1, 2, 3, 1)});
    const CGenoma padre = Padre(1, {Enlace(1, 0, 3, 2)});
    GuionCargar({0});
    std::unique_ptr<CGenoma> hijo(m_prueba.Cruce(madre, padre));
    EXPECT_EQ(Innovaciones(*hijo), (std::vector<int>{1}));
    EXPECT_EQ(hijo->GetGenesEnlace()[0].nIDNeuronaInicio, 0);
    EXPECT_EQ(IDsNeuronas(*hijo), (std::vector<int>{0, 2, 3}));
}

TEST_F(Motor, CruceDePadresIgualesYSinGenes)
{
    std::unique_ptr<CGenoma> base(GenomaXor(5, 0.1, 0.2, 0.3));
    base->SetIdoneidad(1.0);
    const int nID = m_prueba.IDSigGenoma();
    std::unique_ptr<CGenoma> hijo(m_prueba.Cruce(*base, *base));
    EXPECT_EQ(Innovaciones(*hijo), (std::vector<int>{4, 5, 6}));
    EXPECT_EQ(hijo->GetGenesEnlace()[1].dPeso, 0.2);
    EXPECT_EQ(IDsNeuronas(*hijo), (std::vector<int>{0, 1, 2, 3}));

    const CGenoma vacio = Padre(0, {}, 3, 2);
    std::unique_ptr<CGenoma> hijoVacio(m_prueba.Cruce(vacio, vacio));
    EXPECT_EQ(hijoVacio->GetNumGenesEnlace(), 0u);
    EXPECT_EQ(hijoVacio->GetNumGenesNeurona(), 0u);
    EXPECT_EQ(hijoVacio->GetNumEntradas(), 3u);
    EXPECT_EQ(hijoVacio->GetNumSalidas(), 2u);
    // Two crossovers, two consecutive ids.
    EXPECT_EQ(static_cast<int>(hijoVacio->GetID()), nID + 1);
    EXPECT_EQ(m_prueba.IDSigGenoma(), nID + 2);
}

TEST_F(Motor, AddIDNeuronaSinRepetidos)
{
    std::vector<int> v = {2, 4};
    m_prueba.AddIDNeurona(4, v);
    EXPECT_EQ(v, (std::vector<int>{2, 4}));
    v = {2, 7};
    m_prueba.AddIDNeurona(4, v);
    EXPECT_EQ(v, (std::vector<int>{2, 7, 4}));
}

// --- The species' share of the offspring ------------------------------------

TEST_F(Motor, LiderSiempreYHijosRedondeados)
{
    m_ag.SetRatioDeMutacion(0.0);
    m_ag.SetRatioDeMutacionSigmoidea(0.0);
    m_ag.SetProbabilidadAnyadirNeurona(-1.0);
    m_ag.SetProbabilidadAnyadirEnlace(-1.0);
    Poblar(std::vector<std::vector<double>>(10, {0, 0, 1}));
    const double dHijos[] = {0.4, 2.5, 1.49};
    std::vector<std::unique_ptr<CGenoma>> vFundadores;
    for (int i = 0; i < 3; ++i) {
        vFundadores.emplace_back(GenomaXor(20 + i, i, i, 0));
        vFundadores.back()->SetNumHijosAExpandir(dHijos[i]);
        m_prueba.Especies().push_back(CEspecie(*vFundadores.back(), i));
        m_prueba.Especies().back().CalcularHijosAExpandir();
    }
    const int nID = m_prueba.IDSigGenoma();

    std::vector<CGenoma*> vNueva;
    m_prueba.CriarEspecies(vNueva);

    ASSERT_EQ(vNueva.size(), 5u);
    EXPECT_EQ(vNueva[0]->GetID(), 20u);
    EXPECT_EQ(vNueva[1]->GetID(), 21u);
    EXPECT_EQ(static_cast<int>(vNueva[2]->GetID()), nID + 1);
    EXPECT_EQ(static_cast<int>(vNueva[3]->GetID()), nID + 2);
    EXPECT_EQ(vNueva[4]->GetID(), 22u);
    // One-member species: copies of the member, no crossover draw at all.
    for (const SLlamadaRandom& llamada : GuionLlamadas())
        EXPECT_FALSE(llamada.cTipo == 'I' && llamada.dMax == 1.0);
    EXPECT_EQ(vNueva[2]->GetGenesEnlace()[0].dPeso, 1.0);
    for (CGenoma* pGenoma : vNueva)
        delete pGenoma;
}

TEST_F(Motor, HijosSinSitioNoSeCrian)
{
    Poblar(std::vector<std::vector<double>>(3, {0, 0, 1}));
    std::unique_ptr<CGenoma> fundador(GenomaXor(30, 0, 0, 0));
    fundador->SetNumHijosAExpandir(40.0);
    m_prueba.Especies().push_back(CEspecie(*fundador, 0));
    m_prueba.Especies().back().CalcularHijosAExpandir();
    m_prueba.Especies().push_back(CEspecie(*fundador, 1));
    std::vector<CGenoma*> vNueva;
    m_prueba.CriarEspecies(vNueva);
    EXPECT_EQ(vNueva.size(), 3u);
    for (CGenoma* pGenoma : vNueva)
        delete pGenoma;
}
