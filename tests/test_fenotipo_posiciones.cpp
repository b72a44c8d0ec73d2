// Phenotype construction finds neuron positions through a sorted index of
// the genes rather than a scan per link. On genomes with ids in any order,
// repeated ids, missing ends and disabled links, the network must be the
// one the per-link scan gives (first gene with an id wins), and every
// missing end of an enabled link must be reported once.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "DebugLib/Random/Random.h"
#include "NEAT/CGenoma.h"

namespace {

int PrimeraPosicion(const TGNeuronas& v, int nID)
{
    for (size_t i = 0; i < v.size(); ++i)
        if (v[i].nID == nID)
            return static_cast<int>(i);
    return -1;
}

int Posicion(const std::vector<SNeurona*>& v, const SNeurona* p)
{
    for (size_t i = 0; i < v.size(); ++i)
        if (v[i] == p)
            return static_cast<int>(i);
    return -1;
}

// (source position, target position, weight) of every link, per neuron, in
// stored order, as the scan would place them.
void ComprobarRed(const CGenoma& g, const CRedNeuronal& red, int& nFallos)
{
    const TGNeuronas& vN = g.GetGenesNeurona();
    const std::vector<SNeurona*>& vRed = red.GetRed();
    ASSERT_EQ(vRed.size(), vN.size());
    std::vector<std::vector<std::pair<int, double>>> vEntrantes(vN.size());
    nFallos = 0;
    for (const SGenEnlace& e : g.GetGenesEnlace()) {
        if (!e.bHabilitado)
            continue;
        const int nDesde = PrimeraPosicion(vN, e.nIDNeuronaInicio), nHasta = PrimeraPosicion(vN, e.nIDNeuronaFin);
        nFallos += (nDesde < 0) + (nHasta < 0);
        if (nDesde >= 0 && nHasta >= 0)
            vEntrantes[nHasta].push_back(std::make_pair(nDesde, e.dPeso));
    }
    for (size_t i = 0; i < vN.size(); ++i) {
        const std::vector<SEnlace>& v = vRed[i]->vEnlacesEntrada;
        ASSERT_EQ(v.size(), vEntrantes[i].size()) << "neurona " << i;
        for (size_t k = 0; k < v.size(); ++k) {
            EXPECT_EQ(Posicion(vRed, v[k].pNeuronaEntrada), vEntrantes[i][k].first);
            EXPECT_EQ(v[k].dPeso, vEntrantes[i][k].second);
        }
    }
}

size_t Apariciones(const std::string& s, const std::string& sParte)
{
    size_t n = 0;
    for (size_t i = s.find(sParte); i != std::string::npos; i = s.find(sParte, i + 1))
        ++n;
    return n;
}

}  // namespace

TEST(FenotipoPosiciones, IgualQueElBarridoConIDsRepetidosYDesordenados)
{
    SetSemillaRandom(3);
    std::mt19937 gen(17);
    for (int nCaso = 0; nCaso < 60; ++nCaso) {
        SCOPED_TRACE(nCaso);
        // Ids drawn from a narrow range, so that some repeat, in any order.
        TGNeuronas vN;
        const int nNeuronas = 1 + static_cast<int>(gen() % 12);
        for (int i = 0; i < nNeuronas; ++i)
            vN.push_back(SGenNeurona(i == 0 ? Neurona_Sesgo : Neurona_Oculta, static_cast<int>(gen() % 15) - 2, 0.5,
                                     0.5, false));
        TGEnlaces vE;
        const int nEnlaces = static_cast<int>(gen() % 30);
        for (int k = 0; k < nEnlaces; ++k)
            vE.push_back(SGenEnlace(static_cast<int>(gen() % 17) - 3, static_cast<int>(gen() % 17) - 3, gen() % 5 != 0,
                                    k, 0.01 * k, false));
        CGenoma g(0, vN, vE, 0, 0);
        testing::internal::CaptureStderr();
        const CRedNeuronal* pRed = g.CrearFenotipo();
        const std::string sErr = testing::internal::GetCapturedStderr();
        int nFallos = 0;
        ASSERT_NO_FATAL_FAILURE(ComprobarRed(g, *pRed, nFallos));
        EXPECT_EQ(Apariciones(sErr, "ERROR: No se ha podido localizar el IDNeurona="), static_cast<size_t>(nFallos));
    }
}
