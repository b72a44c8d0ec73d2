#ifndef GENES_H
#define GENES_H

#include <vector>

#include "CRedNeuronal.h"
#include "DebugLib/Random/Random.h"

struct SGenNeurona {
    int nID;
    TNeurona Tipo;
    bool bRecurrente;
    double dCurvaturaActivacion;
    double dSplitX;
    double dSplitY;

    // Every neuron gene draws its own curvature.
    SGenNeurona(TNeurona t, int id, double x, double y, bool r)
        : nID(id), Tipo(t), bRecurrente(r), dCurvaturaActivacion(RandomDouble(0, 1)), dSplitX(x), dSplitY(y)
    {}
};

struct SGenEnlace {
    int nIDNeuronaInicio;
    int nIDNeuronaFin;
    double dPeso;
    bool bHabilitado;
    bool bRecurrente;
    int nIDInnovacion;

    SGenEnlace() {}
    SGenEnlace(int in, int fin, bool h, int tag, double p, bool r)
        : nIDNeuronaInicio(in), nIDNeuronaFin(fin), dPeso(p), bHabilitado(h), bRecurrente(r), nIDInnovacion(tag)
    {}
};

// Link genes are ordered by innovation number alone.
inline bool operator<(const SGenEnlace& GenIzq, const SGenEnlace& GenDcha)
{
    return GenIzq.nIDInnovacion < GenDcha.nIDInnovacion;
}

typedef std::vector<SGenNeurona> TGNeuronas;
typedef std::vector<SGenEnlace> TGEnlaces;

#endif
