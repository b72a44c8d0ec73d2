#ifndef CINNOVACION_H
#define CINNOVACION_H

#include <iosfwd>
#include <string>
#include <vector>

#include "CIndicePosiciones.h"
#include "CRedNeuronal.h"
#include "Genes.h"

class CGenoma;

enum TInnovacion { INO_Neurona = 0, INO_Enlace = 1 };

struct SInnovacion {
    int nID;
    TInnovacion tipo;
    int nIDNeuronaInicio;
    int nIDNeuronaFin;
    int nIDNeurona;
    TNeurona tipoNeurona;
    double dSplitY;
    double dSplitX;

    SInnovacion() {}
    SInnovacion(int dsd, int hasta, TInnovacion t, int id, TNeurona tNeu, double x, double y)
        : nID(id),
          tipo(t),
          nIDNeuronaInicio(dsd),
          nIDNeuronaFin(hasta),
          nIDNeurona(0),
          tipoNeurona(tNeu),
          dSplitY(y),
          dSplitX(x)
    {}
};

typedef std::vector<SInnovacion> TInnovaciones;

// The run-wide register of structural innovations.
class CInnovacion {
public:
    CInnovacion(const CGenoma& genoma);

    void Limpiar();

    int ComprobarInnovacion(int nIDNeuronaIni, int nIDNeuronaFin, TInnovacion t);
    int CrearNuevaInnovacion(int ini, int fin, TInnovacion t, TNeurona tNeu, double x, double y);
    int CrearNuevaInnovacion(SInnovacion inno);
    SGenNeurona CrearNeuronaDesdeID(int nIDNeurona);
    int GetIDNeurona(int nID) const { return m_vInnovaciones[nID].nIDNeurona; }

    int SetSigIDInnovacion(int num)
    {
        m_nSigIDInnovacion += num;
        return m_nSigIDInnovacion;
    }
    void SetSigIDNeurona(int n) { m_nSigIDNeurona = n; }
    int GetSigIDInnovacion() const { return m_nSigIDInnovacion; }
    int GetSigIDNeurona() const { return m_nSigIDNeurona; }
    const TInnovaciones& GetBDInnovaciones() const { return m_vInnovaciones; }

private:
    void Indexar(int nPosicion);

    TInnovaciones m_vInnovaciones;
    int m_nSigIDInnovacion;
    int m_nSigIDNeurona;

    // Look-up caches, rebuilt from nothing by Limpiar and extended by every
    // appended record; they hold positions in m_vInnovaciones, the first one
    // for each key, so that the answers are those of a scan from the start.
    // m_vIndiceEnlaces[t]: records of kind t by (source, target);
    // m_indiceNeuronas: records by nIDNeurona, whatever their kind.
    CIndicePosiciones m_vIndiceEnlaces[2];
    CIndicePosiciones m_indiceNeuronas;
};

std::ostream& operator<<(std::ostream& out, const CInnovacion& Inno);
std::istream& operator>>(std::istream& in, CInnovacion& Inno);

// Reads one database text and checks it whole before touching Inno: every
// value, the kinds, record i numbered i, the innovation counter equal to the
// number of records, the neuron counter at least the number of neuron
// records. On failure Inno is unchanged, the stream is left failed and the
// result is false.
bool LeerInnovaciones(std::istream& in, CInnovacion& Inno);
// The same for a reader of a larger text that holds a database: on failure
// sMotivo says why, in the words every such reader uses.
bool LeerInnovaciones(std::istream& in, CInnovacion& Inno, std::string& sMotivo);

#endif
