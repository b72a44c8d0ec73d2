// The engine parameters of the robot's training runs, kept apart so that
// they can be tuned on their own.
#include "ParametrosRobot.h"

#include "NEAT/CAlgoritmoGenetico.h"
#include "Xor.h"

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
    AplicarParametrosXor(ag);
    ag.SetRatioDeMutacion(0.8);
    ag.SetMaxPerturbacionPeso(0.3);
}
