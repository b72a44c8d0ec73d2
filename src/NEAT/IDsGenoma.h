#ifndef IDSGENOMA_H
#define IDSGENOMA_H

#include <string>

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

// Why a reader refuses a genome, in the words every reader uses; sCual
// names the genome ("el genoma 3").
inline std::string MotivoGenomaDanyado(const std::string& sCual)
{
    return sCual +
           " est"
           "\xE1"
           " incompleto o da"
           "\xF1"
           "ado";
}

inline std::string MotivoIDsDesconocidos(const std::string& sCual)
{
    return sCual + " usa neuronas o innovaciones que la base de datos no conoce";
}

#endif
