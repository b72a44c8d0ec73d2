#include "CInnovacion.h"

#include <cstdio>
#include <istream>
#include <ostream>

#include "CGenoma.h"
#include "LecturaTexto.h"

namespace {

std::uint64_t ClaveExtremos(int nIni, int nFin)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(nIni)) << 32) | static_cast<std::uint32_t>(nFin);
}

std::uint64_t ClaveNeurona(int nIDNeurona) { return static_cast<std::uint32_t>(nIDNeurona); }

bool TipoIndexado(TInnovacion t) { return t == INO_Neurona || t == INO_Enlace; }

}  // namespace

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
    m_nSigIDNeurona = 0;
    m_vIndiceEnlaces[INO_Neurona].Limpiar();
    m_vIndiceEnlaces[INO_Enlace].Limpiar();
    m_indiceNeuronas.Limpiar();
}

void CInnovacion::Indexar(int nPosicion)
{
    const SInnovacion& inno = m_vInnovaciones[nPosicion];
    if (TipoIndexado(inno.tipo)) {
        const std::uint64_t nClave = ClaveExtremos(inno.nIDNeuronaInicio, inno.nIDNeuronaFin);
        m_vIndiceEnlaces[inno.tipo].InsertarSiFalta(nClave, nPosicion);
    }
    m_indiceNeuronas.InsertarSiFalta(ClaveNeurona(inno.nIDNeurona), nPosicion);
}

// The first record in database order wins: later duplicates are never found.
int CInnovacion::ComprobarInnovacion(int nIDNeuronaIni, int nIDNeuronaFin, TInnovacion t)
{
    if (TipoIndexado(t)) {
        const int nPos = m_vIndiceEnlaces[t].Buscar(ClaveExtremos(nIDNeuronaIni, nIDNeuronaFin));
        return nPos < 0 ? -1 : m_vInnovaciones[nPos].nID;
    }
    // A kind outside the enum is not indexed; no record made here has one.
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
    Indexar(static_cast<int>(m_vInnovaciones.size()) - 1);
    return m_nSigIDNeurona - 1;
}

// Link records hold neuron id 0, but the neuron record of neuron 0 comes
// first, so the first match is always a neuron record.
SGenNeurona CInnovacion::CrearNeuronaDesdeID(int nIDNeurona)
{
    SGenNeurona gen(Neurona_Oculta, -1, 0.0, 0.0, false);
    const int nPos = m_indiceNeuronas.Buscar(ClaveNeurona(nIDNeurona));
    if (nPos >= 0) {
        const SInnovacion& inno = m_vInnovaciones[nPos];
        gen.Tipo = inno.tipoNeurona;
        gen.nID = inno.nIDNeurona;
        gen.dSplitX = inno.dSplitX;
        gen.dSplitY = inno.dSplitY;
        return gen;
    }
    std::fprintf(stderr, "ERROR INTERNO(%s,%d): No se pudo encontrar el ID de una neurona en la BD de innovaciones.\n",
                 __FILE__, __LINE__);
    return gen;
}

// ---------------------------------------------------------------------------
// Text form: the record count, eight lines per record, the two counters.

std::ostream& operator<<(std::ostream& out, const CInnovacion& Inno)
{
    const TInnovaciones& vRegistros = Inno.GetBDInnovaciones();
    out << static_cast<unsigned int>(vRegistros.size()) << '\n';
    for (const SInnovacion& r : vRegistros) {
        out << static_cast<int>(r.tipo) << '\n'
            << static_cast<int>(r.tipoNeurona) << '\n'
            << r.nIDNeurona << '\n'
            << r.nIDNeuronaInicio << '\n'
            << r.nIDNeuronaFin << '\n'
            << r.dSplitX << '\n'
            << r.dSplitY << '\n'
            << r.nID << '\n';
    }
    out << Inno.GetSigIDInnovacion() << '\n' << Inno.GetSigIDNeurona() << '\n';
    return out;
}

namespace {

using namespace LecturaTexto;

bool LeerRegistro(std::istream& in, SInnovacion& r)
{
    int nTipo = 0, nTipoNeurona = 0;
    if (!LeerInt(in, nTipo) || (nTipo != INO_Neurona && nTipo != INO_Enlace))
        return false;
    if (!LeerInt(in, nTipoNeurona) || nTipoNeurona < Neurona_Entrada || nTipoNeurona > Neurona_SinTipo)
        return false;
    // A neuron record names the kind of a real neuron.
    if (nTipo == INO_Neurona && nTipoNeurona == Neurona_SinTipo)
        return false;
    r.tipo = static_cast<TInnovacion>(nTipo);
    r.tipoNeurona = static_cast<TNeurona>(nTipoNeurona);
    return LeerInt(in, r.nIDNeurona) && LeerInt(in, r.nIDNeuronaInicio) && LeerInt(in, r.nIDNeuronaFin) &&
           LeerReal(in, r.dSplitX) && LeerReal(in, r.dSplitY) && LeerInt(in, r.nID);
}

}  // namespace

bool LeerInnovaciones(std::istream& in, CInnovacion& Inno)
{
    int nRegistros = 0;
    bool bCorrecto = LeerCuenta(in, nRegistros);
    TInnovaciones vRegistros;
    int nRegistrosNeurona = 0;
    // Innovation numbers are positions: GetIDNeurona indexes by them.
    for (int i = 0; bCorrecto && i < nRegistros; ++i) {
        SInnovacion r;
        bCorrecto = LeerRegistro(in, r) && r.nID == i;
        if (bCorrecto) {
            nRegistrosNeurona += (r.tipo == INO_Neurona) ? 1 : 0;
            vRegistros.push_back(r);
        }
    }
    int nSigIDInnovacion = 0, nSigIDNeurona = 0;
    bCorrecto = bCorrecto && LeerInt(in, nSigIDInnovacion) && LeerInt(in, nSigIDNeurona) &&
                nSigIDInnovacion == nRegistros && nSigIDNeurona >= nRegistrosNeurona;
    if (!bCorrecto) {
        in.setstate(std::ios::failbit);
        return false;
    }

    // Neuron records are renumbered 0, 1, 2, ... as they are appended.
    Inno.Limpiar();
    for (const SInnovacion& r : vRegistros)
        Inno.CrearNuevaInnovacion(r);
    Inno.SetSigIDInnovacion(nSigIDInnovacion);
    Inno.SetSigIDNeurona(nSigIDNeurona);
    return true;
}

bool LeerInnovaciones(std::istream& in, CInnovacion& Inno, std::string& sMotivo)
{
    if (LeerInnovaciones(in, Inno))
        return true;
    sMotivo =
        "la base de datos de innovaciones est"
        "\xE1"
        " incompleta o da"
        "\xF1"
        "ada";
    return false;
}

std::istream& operator>>(std::istream& in, CInnovacion& Inno)
{
    LeerInnovaciones(in, Inno);
    return in;
}
