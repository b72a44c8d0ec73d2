#ifndef RANDOM_H
#define RANDOM_H

#include <string>

double RandomDouble(double dMin, double dMax);  // uniform in [dMin, dMax]
int RandomInt(int nMin, int nMax);              // uniform in {nMin..nMax}; nMin when nMax < nMin
void GenerarSemillaRandom();                    // seeds the generator
void SetSemillaRandom(unsigned int nSemilla);   // fixed seed, for reproducible runs

// The generator's whole state as text, so that a stopped run can go on
// with the very draws it would have made. SetEstadoRandom accepts only a
// complete text from GetEstadoRandom; on anything else it returns false and
// leaves the generator as it was.
std::string GetEstadoRandom();
bool SetEstadoRandom(const std::string& sEstado);

#endif
