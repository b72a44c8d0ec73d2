#ifndef XOR_H
#define XOR_H

class CAlgoritmoGenetico;
class CRedNeuronal;

const int kEntradasXor = 2;
const int kSalidasXor = 1;

// Engine parameters for XOR runs; call after Inicializar.
void AplicarParametrosXor(CAlgoritmoGenetico& ag);

// Score of a network on the four cases: (4 - total error)^2. bResuelto when
// every output lies on the right side of 0.5.
double PuntuarXor(CRedNeuronal& red, bool& bResuelto);

#endif
