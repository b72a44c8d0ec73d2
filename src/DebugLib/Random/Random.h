#ifndef RANDOM_H
#define RANDOM_H

double RandomDouble(double dMin, double dMax);  // uniform in [dMin, dMax]
int RandomInt(int nMin, int nMax);              // uniform in {nMin..nMax}; nMin when nMax < nMin
void GenerarSemillaRandom();                    // seeds the generator
void SetSemillaRandom(unsigned int nSemilla);   // fixed seed, for reproducible runs

#endif
