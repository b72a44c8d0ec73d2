#include "CGenoma.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <new>
#include <ostream>
#include <set>
#include <utility>
#include <vector>

#include "CInnovacion.h"
#include "DebugLib/Random/Random.h"
#include "LecturaTexto.h"

namespace {

// Weights of the three terms of the compatibility distance.
const double kPesoExceso = 1.0;
const double kPesoDisjuntos = 1.0;
const double kPesoEmparejados = 0.4;

// Genes one round of mutations can add: a neuron splitting a link adds one
// neuron and two links, a new link one more.
const size_t kHolguraEnlaces = 3;
const size_t kHolguraNeuronas = 1;

// Silent look-ups: they only decide whether a gene can take part in a
// mutation, so a missing neuron is no error here.
const SGenNeurona* BuscarNeurona(const TGNeuronas& vNeuronas, int nID)
{
    for (const SGenNeurona& gen : vNeuronas) {
        if (gen.nID == nID)
            return &gen;
    }
    return nullptr;
}

// A link that AddNeurona may split: enabled, not recurrent, not leaving the
// bias, and with both ends present so that the new neuron can be placed.
bool EnlaceDivisible(const SGenEnlace& enlace, const TGNeuronas& vNeuronas)
{
    if (!enlace.bHabilitado || enlace.bRecurrente)
        return false;
    const SGenNeurona* pInicio = BuscarNeurona(vNeuronas, enlace.nIDNeuronaInicio);
    if (!pInicio || pInicio->Tipo == Neurona_Sesgo)
        return false;
    return BuscarNeurona(vNeuronas, enlace.nIDNeuronaFin) != nullptr;
}

bool HayEnlaceDivisible(const TGEnlaces& vEnlaces, const TGNeuronas& vNeuronas)
{
    for (const SGenEnlace& enlace : vEnlaces) {
        if (EnlaceDivisible(enlace, vNeuronas))
            return true;
    }
    return false;
}

// Link genes in ascending innovation order but for a few at the end, as a
// mutated child has them: when all innovation numbers are distinct there is
// only one sorted order, so moving those few into place gives what the full
// sort gives. With a repeated number the order among equals is the library
// sort's own: the result is false and the genes are left untouched.
bool OrdenarColaDistinta(TGEnlaces& v)
{
    const size_t kMaxCola = 8;
    size_t nOrdenados = 1;
    while (nOrdenados < v.size() && v[nOrdenados - 1].nIDInnovacion < v[nOrdenados].nIDInnovacion)
        ++nOrdenados;
    if (nOrdenados >= v.size())
        return true;
    if (v.size() - nOrdenados > kMaxCola)
        return false;
    const TGEnlaces::iterator itCola = v.begin() + static_cast<std::ptrdiff_t>(nOrdenados);
    for (TGEnlaces::iterator it = itCola; it != v.end(); ++it) {
        if (std::binary_search(v.begin(), itCola, *it))
            return false;
        for (TGEnlaces::iterator itAntes = itCola; itAntes != it; ++itAntes)
            if (itAntes->nIDInnovacion == it->nIDInnovacion)
                return false;
    }
    for (TGEnlaces::iterator it = itCola; it != v.end(); ++it)
        std::rotate(std::upper_bound(v.begin(), it, *it), it, it + 1);
    return true;
}

// Positions of the neuron genes by id, for building a phenotype without a
// scan per link: (id, position) pairs sorted by id and then by position, so
// that with repeated ids the first gene wins, as in GetPosicionNeurona.
class CPosicionesPorID {
public:
    explicit CPosicionesPorID(const TGNeuronas& vNeuronas)
    {
        m_vPares.reserve(vNeuronas.size());
        for (size_t i = 0; i < vNeuronas.size(); ++i)
            m_vPares.push_back(std::make_pair(vNeuronas[i].nID, static_cast<int>(i)));
        std::sort(m_vPares.begin(), m_vPares.end());
    }

    // -1 when no gene has the id.
    int Buscar(int nID) const
    {
        const std::vector<std::pair<int, int>>::const_iterator it =
            std::lower_bound(m_vPares.begin(), m_vPares.end(), std::make_pair(nID, INT_MIN));
        return (it != m_vPares.end() && it->first == nID) ? it->second : -1;
    }

private:
    std::vector<std::pair<int, int>> m_vPares;
};

}  // namespace

// ---------------------------------------------------------------------------
// Construction, copying, clearing

CGenoma::CGenoma() : m_nProfundidadRed(0), m_pFenotipo(nullptr) { Limpiar(); }

CGenoma::CGenoma(const CGenoma& g) : m_nProfundidadRed(0), m_pFenotipo(nullptr) { Copiar(g); }

CGenoma::CGenoma(int id, int entradas, int salidas) : m_nProfundidadRed(0), m_pFenotipo(nullptr)
{
    Limpiar();
    m_nIDGenoma = id;
    m_nEntradasRed = entradas;
    m_nSalidasRed = salidas;

    // Bias left of the inputs, outputs spread evenly one layer below.
    double dDesplazX = 1.0 / (entradas + 2);
    for (int i = 0; i < entradas; ++i)
        m_vGenesNeurona.push_back(SGenNeurona(Neurona_Entrada, i, (i + 2) * dDesplazX, 0.0, false));
    m_vGenesNeurona.push_back(SGenNeurona(Neurona_Sesgo, entradas, dDesplazX, 0.0, false));
    dDesplazX = 1.0 / (salidas + 1);
    for (int j = 0; j < salidas; ++j)
        m_vGenesNeurona.push_back(SGenNeurona(Neurona_Salida, entradas + 1 + j, (j + 1) * dDesplazX, 1.0, false));

    // Innovation numbers follow the neuron ids, as a database seeded from
    // this genome numbers them.
    for (int i = 0; i <= entradas; ++i) {
        for (int j = 0; j < salidas; ++j) {
            const double dPeso = RandomDouble(-1, 1);
            const int nInnovacion = entradas + salidas + 1 + static_cast<int>(m_vGenesEnlace.size());
            m_vGenesEnlace.push_back(
                SGenEnlace(m_vGenesNeurona[i].nID, entradas + 1 + j, true, nInnovacion, dPeso, false));
        }
    }
}

CGenoma::CGenoma(int id, TGNeuronas vNeuronas, TGEnlaces vEnlaces, int entradas, int salidas)
    : m_nProfundidadRed(0), m_pFenotipo(nullptr)
{
    Limpiar();
    m_nIDGenoma = id;
    m_vGenesEnlace.swap(vEnlaces);
    m_vGenesNeurona.swap(vNeuronas);
    m_nEntradasRed = entradas;
    m_nSalidasRed = salidas;
}

CGenoma::~CGenoma() { Limpiar(); }

CGenoma& CGenoma::operator=(const CGenoma& g)
{
    if (&g != this)
        Copiar(g);
    return *this;
}

void CGenoma::Copiar(const CGenoma& g)
{
    if (&g == this) {
        // Clearing first would lose the genes being copied.
        BorrarFenotipo();
        return;
    }
    Limpiar();
    // Copies are what the engine mutates: room for the genes one round of
    // mutations adds, so that they do not move the genes again.
    m_vGenesEnlace.reserve(g.m_vGenesEnlace.size() + kHolguraEnlaces);
    m_vGenesEnlace.assign(g.m_vGenesEnlace.begin(), g.m_vGenesEnlace.end());
    m_vGenesNeurona.reserve(g.m_vGenesNeurona.size() + kHolguraNeuronas);
    m_vGenesNeurona.assign(g.m_vGenesNeurona.begin(), g.m_vGenesNeurona.end());
    m_nEspecie = g.m_nEspecie;
    m_nIDGenoma = g.m_nIDGenoma;
    m_nSalidasRed = g.m_nSalidasRed;
    m_nEntradasRed = g.m_nEntradasRed;
    m_dIdoneidad = g.m_dIdoneidad;
    m_dHijosAExpandir = g.m_dHijosAExpandir;
    m_dIdoneidadAjustada = g.m_dIdoneidadAjustada;
}

void CGenoma::Limpiar()
{
    BorrarFenotipo();
    m_vGenesEnlace.clear();
    m_vGenesNeurona.clear();
    m_nEspecie = 0;
    m_nSalidasRed = 0;
    m_nEntradasRed = 0;
    m_nIDGenoma = 0;
    m_dHijosAExpandir = 0.0;
    m_dIdoneidadAjustada = 0.0;
    m_dIdoneidad = 0.0;
}

void CGenoma::OrdenarGenes()
{
    if (!OrdenarColaDistinta(m_vGenesEnlace))
        std::sort(m_vGenesEnlace.begin(), m_vGenesEnlace.end());
}

// ---------------------------------------------------------------------------
// Phenotype

const CRedNeuronal* CGenoma::CrearFenotipo()
{
    BorrarFenotipo();
    m_pFenotipo = new CRedNeuronal;

    std::vector<const SNeurona*> vecNeuronas;
    vecNeuronas.reserve(m_vGenesNeurona.size());
    for (const SGenNeurona& gen : m_vGenesNeurona)
        vecNeuronas.push_back(
            m_pFenotipo->AddNeurona(gen.Tipo, gen.nID, gen.dSplitX, gen.dSplitY, gen.dCurvaturaActivacion));

    const CPosicionesPorID posiciones(m_vGenesNeurona);
    for (const SGenEnlace& gen : m_vGenesEnlace) {
        if (!gen.bHabilitado)
            continue;
        // A miss goes through GetPosicionNeurona, which reports it.
        int PosDesde = posiciones.Buscar(gen.nIDNeuronaInicio);
        if (PosDesde < 0)
            PosDesde = GetPosicionNeurona(gen.nIDNeuronaInicio);
        int PosHasta = posiciones.Buscar(gen.nIDNeuronaFin);
        if (PosHasta < 0)
            PosHasta = GetPosicionNeurona(gen.nIDNeuronaFin);
        // A link to a neuron the genome lacks has no place in the network.
        if (PosDesde < 0 || PosHasta < 0)
            continue;
        m_pFenotipo->AddEnlace(vecNeuronas[PosDesde], vecNeuronas[PosHasta], gen.dPeso, gen.bRecurrente);
    }
    return m_pFenotipo;
}

const CRedNeuronal* CGenoma::GetFenotipo() const
{
    if (!m_pFenotipo)
        std::fprintf(stderr, "ERROR INTERNO(%s,%d): Los fenotipos deben crearse antes de tratar de obtenerlos.\n",
                     __FILE__, __LINE__);
    return m_pFenotipo;
}

void CGenoma::BorrarFenotipo()
{
    delete m_pFenotipo;
    m_pFenotipo = nullptr;
}

int CGenoma::GetPosicionNeurona(int IDNeurona) const
{
    for (size_t i = 0; i < m_vGenesNeurona.size(); ++i) {
        if (m_vGenesNeurona[i].nID == IDNeurona)
            return static_cast<int>(i);
    }
    std::fprintf(stderr, "ERROR: No se ha podido localizar el IDNeurona=%d!! (%s,%d)\n", IDNeurona, __FILE__, __LINE__);
    return -1;
}

// ---------------------------------------------------------------------------
// Mutations

void CGenoma::AddEnlace(double dRatioMutacion, double dProbLoop, CInnovacion& BDInnovaciones, int nIntentosLoop,
                        int nIntentosEnlace)
{
    if (RandomDouble(0, 1) > dRatioMutacion)
        return;

    int nIDInicio = -1;
    int nIDFin = -1;
    bool bRecurrente = false;

    // Neither a loop nor an ordinary link may end at an input or the bias;
    // with no neuron after the bias there is nothing to draw.
    const int nPrimeraDestino = m_nEntradasRed + 1;
    const int nUltima = static_cast<int>(m_vGenesNeurona.size()) - 1;
    const bool bHayDestino = nUltima >= nPrimeraDestino;

    if (dProbLoop > RandomDouble(0, 1)) {
        while (bHayDestino && nIntentosLoop-- > 0) {
            SGenNeurona& gen = m_vGenesNeurona[RandomInt(nPrimeraDestino, nUltima)];
            if (gen.bRecurrente || gen.Tipo == Neurona_Sesgo || gen.Tipo == Neurona_Entrada)
                continue;
            nIDInicio = nIDFin = gen.nID;
            gen.bRecurrente = true;
            bRecurrente = true;
            break;
        }
    } else {
        while (bHayDestino && nIntentosEnlace-- > 0) {
            nIDInicio = m_vGenesNeurona[RandomInt(0, nUltima)].nID;
            nIDFin = m_vGenesNeurona[RandomInt(nPrimeraDestino, nUltima)].nID;
            if (!EnlaceDuplicado(nIDInicio, nIDFin) && nIDInicio != nIDFin)
                break;
            nIDInicio = nIDFin = -1;
        }
    }
    if (nIDInicio < 0 || nIDFin < 0)
        return;

    int idInno = BDInnovaciones.ComprobarInnovacion(nIDInicio, nIDFin, INO_Enlace);
    if (m_vGenesNeurona[GetPosicionNeurona(nIDInicio)].dSplitY > m_vGenesNeurona[GetPosicionNeurona(nIDFin)].dSplitY)
        bRecurrente = true;
    if (idInno < 0) {
        BDInnovaciones.CrearNuevaInnovacion(nIDInicio, nIDFin, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
        idInno = BDInnovaciones.SetSigIDInnovacion(0) - 1;
    }
    const double dPeso = RandomDouble(-1, 1);
    m_vGenesEnlace.push_back(SGenEnlace(nIDInicio, nIDFin, true, idInno, dPeso, bRecurrente));
}

void CGenoma::AddNeurona(double dRatioMutacion, CInnovacion& BDInnovaciones, int nIntentosEnlaceAnt)
{
    if (RandomDouble(0, 1) > dRatioMutacion)
        return;

    const int tamanyoMini = m_nSalidasRed + m_nEntradasRed + 5;
    const int L = static_cast<int>(m_vGenesEnlace.size());
    int nElegido = -1;

    if (static_cast<int>(m_vGenesNeurona.size()) < tamanyoMini) {
        // Small genome: the newest sqrt(L) links are left alone.
        const int s = static_cast<int>(std::sqrt(static_cast<float>(L)));
        const int nMax = L - 1 - s;
        while (nMax >= 0 && nIntentosEnlaceAnt-- > 0) {
            const int nPos = RandomInt(0, nMax);
            if (EnlaceDivisible(m_vGenesEnlace[nPos], m_vGenesNeurona)) {
                nElegido = nPos;
                break;
            }
        }
    } else if (HayEnlaceDivisible(m_vGenesEnlace, m_vGenesNeurona)) {
        // Larger genome: no try limit, but only once a candidate is known to exist.
        do {
            nElegido = RandomInt(0, L - 1);
        } while (!EnlaceDivisible(m_vGenesEnlace[nElegido], m_vGenesNeurona));
    }
    if (nElegido < 0)
        return;

    SGenEnlace& enlace = m_vGenesEnlace[nElegido];
    enlace.bHabilitado = false;
    const double pesoOriginal = enlace.dPeso;
    const int nNeuronaInicio = enlace.nIDNeuronaInicio;
    const int nNeuronaFin = enlace.nIDNeuronaFin;

    const SGenNeurona& genInicio = m_vGenesNeurona[GetPosicionNeurona(nNeuronaInicio)];
    const SGenNeurona& genFin = m_vGenesNeurona[GetPosicionNeurona(nNeuronaFin)];
    const double nuevoSplitY = (genInicio.dSplitY + genFin.dSplitY) / 2.0;
    const double nuevoSplitX = (genInicio.dSplitX + genFin.dSplitX) / 2.0;

    int idInno = BDInnovaciones.ComprobarInnovacion(nNeuronaInicio, nNeuronaFin, INO_Neurona);
    // The genome already holds the neuron this split once made: it needs a fresh one.
    if (idInno >= 0 && IDNeuronaYaExiste(BDInnovaciones.GetIDNeurona(idInno)))
        idInno = -1;

    if (idInno < 0) {
        const int nIDNuevaNeurona = BDInnovaciones.CrearNuevaInnovacion(nNeuronaInicio, nNeuronaFin, INO_Neurona,
                                                                        Neurona_Oculta, nuevoSplitX, nuevoSplitY);
        m_vGenesNeurona.push_back(SGenNeurona(Neurona_Oculta, nIDNuevaNeurona, nuevoSplitX, nuevoSplitY, false));

        const int idInnoEnl1 = BDInnovaciones.SetSigIDInnovacion(0);
        BDInnovaciones.CrearNuevaInnovacion(nNeuronaInicio, nIDNuevaNeurona, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
        m_vGenesEnlace.push_back(SGenEnlace(nNeuronaInicio, nIDNuevaNeurona, true, idInnoEnl1, 1.0, false));

        const int idInnoEnl2 = BDInnovaciones.SetSigIDInnovacion(0);
        BDInnovaciones.CrearNuevaInnovacion(nIDNuevaNeurona, nNeuronaFin, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
        m_vGenesEnlace.push_back(SGenEnlace(nIDNuevaNeurona, nNeuronaFin, true, idInnoEnl2, pesoOriginal, false));
        return;
    }

    const int nIDNuevaNeurona = BDInnovaciones.GetIDNeurona(idInno);
    const int idInnoEnl1 = BDInnovaciones.ComprobarInnovacion(nNeuronaInicio, nIDNuevaNeurona, INO_Enlace);
    const int idInnoEnl2 = BDInnovaciones.ComprobarInnovacion(nIDNuevaNeurona, nNeuronaFin, INO_Enlace);
    if (idInnoEnl1 < 0 || idInnoEnl2 < 0)
        std::fprintf(stderr,
                     "ERROR INTERNO (%s,%d): No se encuentran valores que deber"
                     "\xED"
                     "an estar en la BD de innovaciones.\n",
                     __FILE__, __LINE__);
    m_vGenesEnlace.push_back(SGenEnlace(nNeuronaInicio, nIDNuevaNeurona, true, idInnoEnl1, 1.0, false));
    m_vGenesEnlace.push_back(SGenEnlace(nIDNuevaNeurona, nNeuronaFin, true, idInnoEnl2, pesoOriginal, false));
    m_vGenesNeurona.push_back(SGenNeurona(Neurona_Oculta, nIDNuevaNeurona, nuevoSplitX, nuevoSplitY, false));
}

void CGenoma::MutarPesos(double dRatioMutacion, double dProbSustituirPeso, double dMaxPerturbacion)
{
    for (SGenEnlace& gen : m_vGenesEnlace) {
        if (!(dRatioMutacion > RandomDouble(0, 1)))
            continue;
        if (dProbSustituirPeso > RandomDouble(0, 1))
            gen.dPeso = RandomDouble(-1, 1);
        else
            gen.dPeso += RandomDouble(-1, 1) * dMaxPerturbacion;
    }
}

void CGenoma::MutarCurvaturaActivacion(double dRatioMutacion, double dMaxPerturbacion)
{
    for (SGenNeurona& gen : m_vGenesNeurona) {
        if (dRatioMutacion > RandomDouble(0, 1))
            gen.dCurvaturaActivacion += RandomDouble(-1, 1) * dMaxPerturbacion;
    }
}

void CGenoma::AddBuclesSalida(CInnovacion& BDInnovaciones)
{
    for (SGenNeurona& gen : m_vGenesNeurona) {
        if (gen.Tipo != Neurona_Salida || EnlaceDuplicado(gen.nID, gen.nID))
            continue;
        gen.bRecurrente = true;
        int idInno = BDInnovaciones.ComprobarInnovacion(gen.nID, gen.nID, INO_Enlace);
        if (idInno < 0) {
            BDInnovaciones.CrearNuevaInnovacion(gen.nID, gen.nID, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
            idInno = BDInnovaciones.SetSigIDInnovacion(0) - 1;
        }
        m_vGenesEnlace.push_back(SGenEnlace(gen.nID, gen.nID, true, idInno, RandomDouble(-1, 1), true));
    }
    OrdenarGenes();
}

bool CGenoma::EnlaceDuplicado(int IDNeuronaIn, int IDNeuronaOut) const
{
    for (const SGenEnlace& gen : m_vGenesEnlace) {
        if (gen.nIDNeuronaInicio == IDNeuronaIn && gen.nIDNeuronaFin == IDNeuronaOut)
            return true;
    }
    return false;
}

bool CGenoma::IDNeuronaYaExiste(int nID) const { return BuscarNeurona(m_vGenesNeurona, nID) != nullptr; }

// ---------------------------------------------------------------------------
// Compatibility distance

double CGenoma::CalcularCompatibilidad(const CGenoma& genoma) const
{
    const TGEnlaces& v1 = m_vGenesEnlace;
    const TGEnlaces& v2 = genoma.m_vGenesEnlace;
    const int nFin1 = static_cast<int>(v1.size()) - 1;
    const int nFin2 = static_cast<int>(v2.size()) - 1;

    // Each walk stops on its list's last gene; an empty list stands at its
    // end from the start, so nothing outside a list is ever read.
    int g1 = std::min(0, nFin1);
    int g2 = std::min(0, nFin2);
    int NumExceso = 0, NumDisjuntos = 0, NumEmparejados = 0;
    double DiferenciaPesos = 0.0;

    // Both walks before their last gene: matching or disjoint genes.
    while (g1 < nFin1 && g2 < nFin2) {
        const int nInno1 = v1[g1].nIDInnovacion, nInno2 = v2[g2].nIDInnovacion;
        if (nInno1 == nInno2) {
            DiferenciaPesos += std::fabs(v1[g1].dPeso - v2[g2].dPeso);
            ++g1;
            ++g2;
            ++NumEmparejados;
        } else {
            ++NumDisjuntos;
            if (nInno1 < nInno2)
                ++g1;
            else
                ++g2;
        }
    }
    // One walk on its last gene: every step of the other is an excess gene.
    NumExceso = (g1 == nFin1) ? nFin2 - g2 : nFin1 - g1;

    // A term with nothing to divide by counts 0 rather than NaN.
    const int nGenesMasLargo = std::max(nFin1, nFin2) + 1;
    double dDistancia = 0.0;
    if (nGenesMasLargo > 0)
        dDistancia += kPesoExceso * NumExceso / nGenesMasLargo + kPesoDisjuntos * NumDisjuntos / nGenesMasLargo;
    if (NumEmparejados > 0)
        dDistancia += kPesoEmparejados * DiferenciaPesos / NumEmparejados;
    return dDistancia;
}

// ---------------------------------------------------------------------------
// Text form: one value per line, header, neuron blocks, link blocks.

std::ostream& operator<<(std::ostream& out, const CGenoma& Genoma)
{
    out << Genoma.GetNumEntradas() << '\n'
        << Genoma.GetNumSalidas() << '\n'
        << Genoma.GetID() << '\n'
        << Genoma.GetEspecie() << '\n'
        << Genoma.GetIdoneidad() << '\n'
        << Genoma.GetNumHijosAExpandir() << '\n'
        << Genoma.GetIdoneidadAjustada() << '\n'
        << Genoma.GetNumGenesEnlace() << '\n'
        << Genoma.GetNumGenesNeurona() << '\n';
    for (const SGenNeurona& gen : Genoma.GetGenesNeurona()) {
        out << static_cast<int>(gen.Tipo) << '\n'
            << gen.nID << '\n'
            << (gen.bRecurrente ? 1 : 0) << '\n'
            << gen.dCurvaturaActivacion << '\n'
            << gen.dSplitX << '\n'
            << gen.dSplitY << '\n';
    }
    for (const SGenEnlace& gen : Genoma.GetGenesEnlace()) {
        out << gen.nIDNeuronaInicio << '\n'
            << gen.nIDNeuronaFin << '\n'
            << gen.dPeso << '\n'
            << (gen.bHabilitado ? 1 : 0) << '\n'
            << (gen.bRecurrente ? 1 : 0) << '\n'
            << gen.nIDInnovacion << '\n';
    }
    return out;
}

namespace {

using namespace LecturaTexto;

// Counts of inputs and outputs stay far from the int limit so that the
// mutations' arithmetic on them cannot overflow.
const long long kMaxEntradasSalidas = INT_MAX / 4;

struct SCabeceraGenoma {
    int nEntradas;
    int nSalidas;
    int nID;
    int nEnlaces;
    int nNeuronas;
};

// Identifiers and species are written unsigned; a negative int comes back
// from its unsigned form.
bool LeerIdentificador(std::istream& in, int& nValor)
{
    long long n = 0;
    if (!LeerEntero(in, INT_MIN, UINT_MAX, n))
        return false;
    nValor = static_cast<int>(static_cast<unsigned int>(n & 0xFFFFFFFFLL));
    return true;
}

bool LeerCabecera(std::istream& in, SCabeceraGenoma& cab)
{
    long long nEntradas = 0, nSalidas = 0;
    int nEspecie = 0;
    double dIdoneidad = 0.0, dHijos = 0.0, dIdoneidadAjus = 0.0;
    // Species and the three fitness values are read and dropped.
    if (!LeerEntero(in, 0, kMaxEntradasSalidas, nEntradas) || !LeerEntero(in, 0, kMaxEntradasSalidas, nSalidas) ||
        !LeerIdentificador(in, cab.nID) || !LeerIdentificador(in, nEspecie) || !LeerRealCualquiera(in, dIdoneidad) ||
        !LeerRealCualquiera(in, dHijos) || !LeerRealCualquiera(in, dIdoneidadAjus) || !LeerCuenta(in, cab.nEnlaces) ||
        !LeerCuenta(in, cab.nNeuronas))
        return false;
    cab.nEntradas = static_cast<int>(nEntradas);
    cab.nSalidas = static_cast<int>(nSalidas);
    return true;
}

bool LeerGenNeurona(std::istream& in, TGNeuronas& vNeuronas)
{
    // The placeholder draws its curvature, which the text then replaces.
    SGenNeurona gen(Neurona_SinTipo, 0, 0.0, 0.0, false);
    int nTipo = 0;
    if (!LeerInt(in, nTipo) || nTipo < Neurona_Entrada || nTipo > Neurona_Sesgo)
        return false;
    gen.Tipo = static_cast<TNeurona>(nTipo);
    if (!LeerInt(in, gen.nID) || !LeerBool(in, gen.bRecurrente) || !LeerReal(in, gen.dCurvaturaActivacion) ||
        !LeerReal(in, gen.dSplitX) || !LeerReal(in, gen.dSplitY))
        return false;
    vNeuronas.push_back(gen);
    return true;
}

bool LeerGenEnlace(std::istream& in, TGEnlaces& vEnlaces)
{
    SGenEnlace gen;
    if (!LeerInt(in, gen.nIDNeuronaInicio) || !LeerInt(in, gen.nIDNeuronaFin) || !LeerReal(in, gen.dPeso) ||
        !LeerBool(in, gen.bHabilitado) || !LeerBool(in, gen.bRecurrente) || !LeerInt(in, gen.nIDInnovacion))
        return false;
    vEnlaces.push_back(gen);
    return true;
}

// The layout the mutations and the network rely on: inputs 0..n-1, the
// bias n, the m outputs, then hidden neurons; unique ids; every link end a
// neuron of the genome. A genome without neuron genes is the empty one: no
// links, no inputs, no outputs (its network has no slot for any).
bool EstructuraValida(const SCabeceraGenoma& cab, const TGNeuronas& vNeuronas, const TGEnlaces& vEnlaces)
{
    if (vNeuronas.empty())
        return vEnlaces.empty() && cab.nEntradas == 0 && cab.nSalidas == 0;
    const int n = cab.nEntradas;
    const int m = cab.nSalidas;
    if (static_cast<long long>(vNeuronas.size()) < static_cast<long long>(n) + 1 + m)
        return false;
    for (int i = 0; i < static_cast<int>(vNeuronas.size()); ++i) {
        const SGenNeurona& gen = vNeuronas[i];
        if (i < n && (gen.Tipo != Neurona_Entrada || gen.nID != i))
            return false;
        if (i == n && (gen.Tipo != Neurona_Sesgo || gen.nID != n))
            return false;
        if (i > n && i <= n + m && gen.Tipo != Neurona_Salida)
            return false;
        if (i > n + m && gen.Tipo != Neurona_Oculta)
            return false;
    }
    std::set<int> ids;
    for (const SGenNeurona& gen : vNeuronas) {
        if (!ids.insert(gen.nID).second)
            return false;
    }
    for (const SGenEnlace& gen : vEnlaces) {
        if (!ids.count(gen.nIDNeuronaInicio) || !ids.count(gen.nIDNeuronaFin))
            return false;
    }
    return true;
}

}  // namespace

bool LeerGenoma(std::istream& in, CGenoma& GenomaNew)
{
    SCabeceraGenoma cab;
    TGNeuronas vNeuronas;
    TGEnlaces vEnlaces;
    bool bCorrecto = LeerCabecera(in, cab);
    for (int i = 0; bCorrecto && i < cab.nNeuronas; ++i)
        bCorrecto = LeerGenNeurona(in, vNeuronas);
    for (int i = 0; bCorrecto && i < cab.nEnlaces; ++i)
        bCorrecto = LeerGenEnlace(in, vEnlaces);
    if (!bCorrecto || !EstructuraValida(cab, vNeuronas, vEnlaces)) {
        in.setstate(std::ios::failbit);
        return false;
    }

    CGenoma* GenomaTmp = new (std::nothrow) CGenoma(cab.nID, vNeuronas, vEnlaces, cab.nEntradas, cab.nSalidas);
    if (!GenomaTmp) {
        std::fprintf(stderr, "ERROR GRAVE(%s,%d): No hay suficiente memoria para crear un nuevo genoma.\n", __FILE__,
                     __LINE__);
        std::exit(-1);
    }
    GenomaNew.Copiar(*GenomaTmp);
    delete GenomaTmp;
    return true;
}

std::istream& operator>>(std::istream& in, CGenoma& GenomaNew)
{
    LeerGenoma(in, GenomaNew);
    return in;
}
