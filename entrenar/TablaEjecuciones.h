#ifndef TABLAEJECUCIONES_H
#define TABLAEJECUCIONES_H

#include <string>
#include <vector>

class CRedNeuronal;

// What the commands that run several independent evolutions (xor, polos)
// share in their tables and summaries.

// One value in a printf format ("%.1f").
std::string Numero(const char* szFormato, double dValor);

std::string Si(bool b);

// The middle value; for an even count, the mean of the middle two. 0 for none.
double Mediana(std::vector<double> vValores);

// The line under the table of runs: how many were solved, of how many, and
// the share.
std::string LineaResueltas(int nResueltas, int nEjecuciones);

void ContarRed(const CRedNeuronal& red, int& nOcultas, int& nEnlaces);

#endif
