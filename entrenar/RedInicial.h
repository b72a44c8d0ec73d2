#ifndef RED_INICIAL_H
#define RED_INICIAL_H

#include <string>
#include <vector>

#include "NEAT/CGenoma.h"
#include "NEAT/CInnovacion.h"

// A link that does not go straight from an input or the bias to an output.
// Neurons are numbered as a genome numbers them: inputs 0..n-1, the bias n,
// outputs n+1..n+m, hidden neurons n+m+1 on, in the order the network
// computes them (after the outputs, so an output reads a hidden neuron's
// value of the previous update).
struct SEnlaceInicial {
    int nOrigen;
    int nDestino;
    double dPeso;
};

// A starting point for a run: every member's first genome takes its direct
// weights (links the text lacks weigh 0), its other links and hidden
// neurons, and its curvatures, so evolution starts from a controller that
// already plays instead of from random weights.
struct SRedInicial {
    int nEntradas = 0;
    int nSalidas = 0;
    std::vector<double> vPesos;              // [origen * nSalidas + salida]; origen nEntradas is the bias
    std::vector<double> vCurvaturas;         // per output
    std::vector<double> vCurvaturasOcultas;  // per hidden neuron
    std::vector<SEnlaceInicial> vOtrosEnlaces;
};

// Reads a network text (the form of the robot's built-in network) into a
// starting point for genomes of nEntradas inputs and nSalidas outputs;
// false with the reason when the text does not decode, has other numbers of
// inputs or outputs, computes a hidden neuron before an output or has a
// link into an input or the bias.
bool LeerRedInicial(const std::string& sTexto, int nEntradas, int nSalidas, SRedInicial& red, std::string& sError);

// The robot's designed starting point (--red-inicial disenyada): radar and
// cannon sweep together until the beam meets a robot or a shot and then
// turn back (so they dither on a target, and a shot in flight keeps the aim
// on it), the cannon fires at a robot in the beam, the body turns slowly and
// the robot speeds up toward a robot it sees.
SRedInicial RedInicialRobot();

// A genome like the minimal one it is given (same id, genes, innovation
// numbers) with the starting point's weights, curvatures, hidden neurons
// and other links; those are registered in bd the first time. Draws no
// random numbers.
CGenoma* GenomaDesdeRedInicial(const CGenoma& minimo, const SRedInicial& red, CInnovacion& bd);

#endif
