#include "CInnovacion.h"

#include <cstdio>

#include "CGenoma.h"

CInnovacion::CInnovacion(const CGenoma& genoma) : m_nSigIDInnovacion(0), m_nSigIDNeurona(0)
{
    Limpiar();
    // The k-th neuron gene becomes neuron k; the links are numbered after them.
    for (const SGenNeurona& gen : genoma.GetGenesNeurona())
        CrearNuevaInnovacion(0, 0, INO_Neurona, gen.Tipo, gen.dSplitX, gen.dSplitY);
    for (const SGenEnlace& gen : genoma.GetGenesEnlace())
        CrearNuevaInnovacion(gen.nIDNeuronaInicio, gen.nIDNeuronaFin, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
}

void CInnovacion::Limpiar()
{
    m_vInnovaciones.clear();
    m_nSigIDInnovacion = 0;
    m_nSigIDNeurona    = 0;
}

// The first record in database order wins: later duplicates are never found.
int CInnovacion::ComprobarInnovacion(int nIDNeuronaIni, int nIDNeuronaFin, TInnovacion t)
{
    for (const SInnovacion& inno : m_vInnovaciones) {
        if (inno.nIDNeuronaInicio == nIDNeuronaIni && inno.nIDNeuronaFin == nIDNeuronaFin && inno.tipo == t)
            return inno.nID;
    }
    return -1;
}

int CInnovacion::CrearNuevaInnovacion(int ini, int fin, TInnovacion t, TNeurona tNeu, double x, double y)
{
    SInnovacion inno(ini, fin, t, m_nSigIDInnovacion, tNeu, x, y);
    ++m_nSigIDInnovacion;
    return CrearNuevaInnovacion(inno);
}

// Answers with the last neuron id handed out, whatever the record's kind.
int CInnovacion::CrearNuevaInnovacion(SInnovacion inno)
{
    if (inno.tipo == INO_Neurona)
        inno.nIDNeurona = m_nSigIDNeurona++;
    m_vInnovaciones.push_back(inno);
    return m_nSigIDNeurona - 1;
}

// Link records hold neuron id 0, but the neuron record of neuron 0 comes
// first, so the first match is always a neuron record.
SGenNeurona CInnovacion::CrearNeuronaDesdeID(int nIDNeurona)
{
    SGenNeurona gen(Neurona_Oculta, -1, 0.0, 0.0, false);
    for (const SInnovacion& inno : m_vInnovaciones) {
        if (inno.nIDNeurona == nIDNeurona) {
            gen.Tipo    = inno.tipoNeurona;
            gen.nID     = inno.nIDNeurona;
            gen.dSplitX = inno.dSplitX;
            gen.dSplitY = inno.dSplitY;
            return gen;
        }
    }
    std::fprintf(stderr, "ERROR INTERNO(%s,%d): No se pudo encontrar el ID de una neurona en la BD de innovaciones.\n",
                 __FILE__, __LINE__);
    return gen;
}
