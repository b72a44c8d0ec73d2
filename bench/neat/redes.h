#ifndef BENCH_REDES_H
#define BENCH_REDES_H

// Fixed genomes, networks and databases the benchmarks measure. Everything
// is built from a fixed seed, so every run measures the same objects.
#include <vector>

#include "NEAT/CGenoma.h"
#include "NEAT/CInnovacion.h"

struct SFormaRed {
    const char* szNombre;
    int nEntradas;
    int nSalidas;
    std::vector<int> vCapasOcultas;  // neurons per hidden layer
    std::vector<int> vGradoEntrada;  // incoming links per neuron, one per hidden layer and one for the outputs
};

// 2-1: the minimal XOR genome; 10-20-5: ten inputs, bias, two hidden layers
// of ten, five outputs, 155 links, depth 3; 30-90-10: a larger one.
const std::vector<SFormaRed>& FormasRed();

// A genome in the library's layout (inputs, bias, outputs, hidden) whose
// links go from each layer to the next only, numbered in gene order.
CGenoma GenomaEnCapas(const SFormaRed& forma, unsigned int nSemilla);

int NumEnlacesHabilitados(const CGenoma& genoma);

// A database of about nRegistros records grown as a run grows it: links
// between existing neurons and neurons that split existing links.
CInnovacion BDInnovacionesDe(int nRegistros);

#endif
