#ifndef RANDOMGUION_H
#define RANDOMGUION_H

// A random source for tests: it replays a fixed list of values and records
// every call. Once the list runs out it falls back to a seeded generator.
#include <cstddef>
#include <vector>

struct SLlamadaRandom {
    char cTipo;  // 'D' RandomDouble, 'I' RandomInt
    double dMin;
    double dMax;
    double dValor;
};

void GuionCargar(const std::vector<double>& vValores);
void GuionReiniciar();  // no script, empty record, fallback reseeded
const std::vector<SLlamadaRandom>& GuionLlamadas();
std::size_t GuionNumLlamadas();
std::size_t GuionPendientes();

#endif
