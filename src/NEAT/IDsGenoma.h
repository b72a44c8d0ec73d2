#ifndef IDSGENOMA_H
#define IDSGENOMA_H

#include "CGenoma.h"
#include "CInnovacion.h"

// Ids a genome may use: neurons and innovations the database has numbered.
// Readers check it before handing out a genome that refers to the database.
inline bool IDsConocidos(const CGenoma& genoma, const CInnovacion& BDInnovaciones)
{
    for (const SGenNeurona& gen : genoma.GetGenesNeurona()) {
        if (gen.nID < 0 || gen.nID >= BDInnovaciones.GetSigIDNeurona())
            return false;
    }
    for (const SGenEnlace& gen : genoma.GetGenesEnlace()) {
        if (gen.nIDInnovacion < 0 || gen.nIDInnovacion >= BDInnovaciones.GetSigIDInnovacion())
            return false;
    }
    return true;
}

#endif
