// The engine parameters of the robot's training runs, kept apart so that
// they can be tuned on their own.
#include "ParametrosRobot.h"

#include "NEAT/CAlgoritmoGenetico.h"

// Chosen on short runs scored on a fixed set of matches: the robot's
// networks gain as the XOR ones do from no crossover (a crossover child
// draws every neuron's curvature afresh), a new link tried for every child
// with more tries to find a free pair, more curvature mutation and a wider
// compatibility threshold with room for more species; species that stop
// improving give way sooner. Weights mutate more often and by larger steps
// than in XOR: a match is decided by many small choices, and small steps
// barely change its outcome.
void AplicarParametrosRobot(CAlgoritmoGenetico& ag)
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
    ag.SetRatioDeMutacion(0.8);
    ag.SetRatioDeMutacionSigmoidea(0.3);
    ag.SetProbabilidadAnyadirNeurona(0.2);
    ag.SetProbabilidadAnyadirEnlace(1.0);
    ag.SetProbabilidadAnyadirBucle(0.3);
    ag.SetProbabilidadSustituirPeso(0.05);
    ag.SetMaxPerturbacionPeso(0.3);
    ag.SetMaxPerturbacionSigmoidea(0.15);
}
