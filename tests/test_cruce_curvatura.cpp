// The engine option that lets crossover children keep their parents'
// curvatures: off, children draw fresh ones; on, each child neuron carries a
// curvature its id had in the parents' generation.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "DebugLib/Random/Random.h"
#include "NEAT/CAlgoritmoGenetico.h"

namespace {

class CMiembro : public IIndividuoIA {
public:
    ~CMiembro() { BorrarGenoma(); }
};

// Curvatures found per neuron id among the genomes of the crossover
// children of one epoch (the elite and leader copies are left out: they keep
// their genes anyway), against those of the generation before.
void CurvaturasTrasUnaEpoca(bool bConservar, int& nHeredadas, int& nNuevas)
{
    SetSemillaRandom(11);
    CAlgoritmoGenetico ag;
    ag.Inicializar(3, 1);
    ag.SetRatioDeCruce(1.0);
    ag.SetRatioDeMutacionSigmoidea(0.0);
    ag.SetProbabilidadAnyadirNeurona(0.0);
    ag.SetProbabilidadAnyadirEnlace(0.0);
    ag.SetUmbralCompatibilidadEspecie(100.0);  // one species: every child is bred by crossover
    ag.SetCruceConservaCurvatura(bConservar);
    std::vector<std::unique_ptr<CMiembro>> vMiembros;
    TPoblacionIA vPoblacion;
    std::map<int, std::set<double>> mAnteriores;
    for (int i = 0; i < 30; ++i) {
        vMiembros.emplace_back(new CMiembro);
        vPoblacion.push_back(vMiembros.back().get());
        ag.CrearMente(vPoblacion.back());
        vMiembros.back()->SetPuntuacion(1.0 + i);
        for (const SGenNeurona& gen : vPoblacion.back()->GetGenoma()->GetGenesNeurona())
            mAnteriores[gen.nID].insert(gen.dCurvaturaActivacion);
    }
    ag.Epoca(vPoblacion);
    nHeredadas = nNuevas = 0;
    for (const IIndividuoIA* pMiembro : vPoblacion) {
        // Bred children carry ids beyond those handed out to the first 30.
        if (pMiembro->GetGenoma()->GetID() < 30)
            continue;
        for (const SGenNeurona& gen : pMiembro->GetGenoma()->GetGenesNeurona())
            ++(mAnteriores[gen.nID].count(gen.dCurvaturaActivacion) ? nHeredadas : nNuevas);
    }
}

}  // namespace

TEST(CruceConservaCurvatura, ApagadoPorDefectoYEncendidoHereda)
{
    int nHeredadas = 0, nNuevas = 0;
    CurvaturasTrasUnaEpoca(false, nHeredadas, nNuevas);
    EXPECT_GT(nNuevas, 0) << "without the option a crossover child draws fresh curvatures";
    CurvaturasTrasUnaEpoca(true, nHeredadas, nNuevas);
    EXPECT_GT(nHeredadas, 0);
    EXPECT_EQ(nNuevas, 0);
}
