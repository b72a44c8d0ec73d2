// XOR: the scoring and the engine parameters of its runs, kept apart so that
// they can be tuned on their own.
#include "Xor.h"

#include <cmath>

#include "NEAT/CAlgoritmoGenetico.h"

// Tuned over runs of 100 members (see docs/rendimiento.md): a wider
// compatibility threshold with room for more species keeps more lines of
// descent alive; no crossover, since a crossover child draws every neuron's
// curvature afresh and so undoes what its parents had found; more frequent
// curvature mutation to tune the steepness of the few neurons instead; a
// new link tried for every child, with more tries to find a free pair, and
// fewer new neurons, so that structure grows by links first; species that
// stop improving give way sooner.
void AplicarParametrosXor(CAlgoritmoGenetico& ag)
{
    ag.SetNumeroIndividuosElite(2);
    ag.SetMaxEpocasPermitidasSinMejora(10);
    ag.SetMaxNumeroDeEspecies(20);
    ag.SetMaxNumeroDeNeuronas(100);
    ag.SetMaxNumeroIntentosEnlaceAntiguo(5);
    ag.SetMaxIntentosAnyadirBucle(5);
    ag.SetMaxIntentosAnyadirEnlace(20);
    ag.SetEspeciacion(true);
    ag.SetUmbralCompatibilidadEspecie(0.5);
    ag.SetRatioDeCruce(0.0);
    ag.SetRatioDeMutacion(0.5);
    ag.SetRatioDeMutacionSigmoidea(0.3);
    ag.SetProbabilidadAnyadirNeurona(0.2);
    ag.SetProbabilidadAnyadirEnlace(1.0);
    ag.SetProbabilidadAnyadirBucle(0.3);
    ag.SetProbabilidadSustituirPeso(0.05);
    ag.SetMaxPerturbacionPeso(0.15);
    ag.SetMaxPerturbacionSigmoidea(0.15);
}

double PuntuarXor(CRedNeuronal& red, bool& bResuelto)
{
    static const double kCasos[4][3] = {{0, 0, 0}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}};
    double dError = 0.0;
    bResuelto = true;
    for (const auto& caso : kCasos) {
        const TVecDoubles vEntradas = {caso[0], caso[1]};
        const TVecDoubles& vSalidas = red.Actualizar(vEntradas, Ejecucion_Instantanea);
        if (vSalidas.empty() || std::isnan(vSalidas[0])) {
            bResuelto = false;
            return 0.0;
        }
        dError += std::fabs(vSalidas[0] - caso[2]);
        bResuelto = bResuelto && ((vSalidas[0] > 0.5) == (caso[2] > 0.5));
    }
    return (4.0 - dError) * (4.0 - dError);
}
