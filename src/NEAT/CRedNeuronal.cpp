#include "CRedNeuronal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <new>
#include <sstream>

namespace {

const unsigned char kClaveRed = 0x4B;

void ErrorDecodificacion(int nLinea)
{
    std::fprintf(stderr, "ERROR (%s,%d): Fallo decodificando red neuronal\n", __FILE__, nLinea);
    std::exit(-1);
}

// One neuron and its outgoing links as read from a plain network text.
struct SEnlaceLeido {
    bool bRecurrente;
    double dPeso;
    unsigned nOrigen;
    unsigned nDestino;
};

struct SNeuronaLeida {
    int nTipo;
    int nID;
    double dCurva;
    double dSplitX;
    double dSplitY;
};

template <typename T>
bool LeerValor(std::istream& in, T& valor)
{
    in >> valor;
    return !in.fail();
}

// Unsigned counts and positions: a leading minus sign is not a count.
bool LeerSinSigno(std::istream& in, unsigned& valor)
{
    in >> std::ws;
    if (in.peek() == '-' || in.peek() == '+')
        return false;
    return LeerValor(in, valor);
}

}  // namespace

CRedNeuronal::CRedNeuronal() : m_bCompactaAlDia(false), m_bCompactaUsable(false), m_nEntradasCompacta(0) {}

CRedNeuronal::~CRedNeuronal() { Limpiar(); }

void CRedNeuronal::Limpiar()
{
    for (SNeurona* pNeurona : m_vNeuronas)
        delete pNeurona;
    m_vNeuronas.clear();
    m_mTablaCapas.clear();
    m_vdSalidas.clear();
    m_bCompactaAlDia = false;
}

const SNeurona* CRedNeuronal::AddNeurona(TNeurona TipoN, int nID, double dSplitX, double dSplitY, double dCurva)
{
    SNeurona* pNeurona = new (std::nothrow) SNeurona(TipoN, nID, dSplitX, dSplitY, dCurva);
    if (!pNeurona) {
        std::fprintf(stderr, "ERROR GRAVE(%s,%d): No hay memoria\n", __FILE__, __LINE__);
        std::exit(-1);
    }
    m_vNeuronas.push_back(pNeurona);
    m_mTablaCapas.insert(std::make_pair(dSplitY, 1));
    m_bCompactaAlDia = false;
    return pNeurona;
}

void CRedNeuronal::AddEnlace(const SNeurona* NeuronaInicio, const SNeurona* NeuronaFin, double dPeso, bool bRec)
{
    // Both neurons belong to this network, which holds them as writable.
    SNeurona* pInicio = const_cast<SNeurona*>(NeuronaInicio);
    SNeurona* pFin = const_cast<SNeurona*>(NeuronaFin);
    SEnlace enlace(dPeso, pInicio, pFin, bRec);
    pInicio->vEnlacesSalida.push_back(enlace);
    pFin->vEnlacesEntrada.push_back(enlace);
    m_bCompactaAlDia = false;
}

double CRedNeuronal::FuncionActivacion(double SumaEntradas, double Activacion)
{
    return 1.0 / (1.0 + std::exp(-SumaEntradas / Activacion));
}

void CRedNeuronal::Pasada(const TVecDoubles& Entradas)
{
    m_vdSalidas.clear();
    const size_t nNeuronas = m_vNeuronas.size();
    size_t i = 0;
    for (; i < nNeuronas && m_vNeuronas[i]->TipoNeurona == Neurona_Entrada; ++i)
        m_vNeuronas[i]->dSalida = Entradas[i];
    if (i < nNeuronas)
        m_vNeuronas[i++]->dSalida = 1.0;  // bias: never computed
    for (; i < nNeuronas; ++i) {
        SNeurona* pNeurona = m_vNeuronas[i];
        double dSuma = 0.0;
        for (const SEnlace& enlace : pNeurona->vEnlacesEntrada)
            dSuma += enlace.dPeso * enlace.pNeuronaEntrada->dSalida;
        pNeurona->dSalida = FuncionActivacion(dSuma, pNeurona->dCurvaturaSigmoidea);
        if (pNeurona->TipoNeurona == Neurona_Salida)
            m_vdSalidas.push_back(pNeurona->dSalida);
    }
}

const TVecDoubles& CRedNeuronal::Actualizar(const TVecDoubles& Entradas, TEjecucion TipoEjec)
{
    const size_t nPasadas = (TipoEjec == Ejecucion_Instantanea) ? m_mTablaCapas.size() : 1;
    const bool bReiniciar = TipoEjec == Ejecucion_Instantanea;
    if (!m_bCompactaAlDia)
        ConstruirCompacta();
    if (m_bCompactaUsable) {
        ActualizarCompacta(Entradas, nPasadas, bReiniciar);
        return m_vdSalidas;
    }
    for (size_t nPasada = 0; nPasada < nPasadas; ++nPasada)
        Pasada(Entradas);
    if (bReiniciar) {
        for (SNeurona* pNeurona : m_vNeuronas)
            pNeurona->dSalida = 0.0;
    }
    return m_vdSalidas;
}

// ---------------------------------------------------------------------------
// Compact form: the same passes as Pasada over flat arrays.

void CRedNeuronal::ConstruirCompacta()
{
    m_bCompactaAlDia = true;
    m_bCompactaUsable = false;
    m_vNeuronasCompacta.clear();
    m_vdPesosCompacta.clear();
    m_vnOrigenesCompacta.clear();
    m_vnSalidasCompacta.clear();
    m_vnEstadoCompacta.clear();
    m_vdValores.assign(m_vNeuronas.size(), 0.0);

    // Positions by neuron address, to turn each link's source into an index.
    std::vector<std::pair<const SNeurona*, int>> vPorDireccion;
    vPorDireccion.reserve(m_vNeuronas.size());
    for (size_t i = 0; i < m_vNeuronas.size(); ++i)
        vPorDireccion.push_back(std::make_pair(m_vNeuronas[i], static_cast<int>(i)));
    std::sort(vPorDireccion.begin(), vPorDireccion.end());

    m_nEntradasCompacta = 0;
    while (m_nEntradasCompacta < m_vNeuronas.size() && m_vNeuronas[m_nEntradasCompacta]->TipoNeurona == Neurona_Entrada)
        ++m_nEntradasCompacta;
    for (size_t i = 0; i < m_vNeuronas.size(); ++i) {
        const SNeurona* pNeurona = m_vNeuronas[i];
        SNeuronaCompacta n;
        n.nPrimerEnlace = static_cast<int>(m_vdPesosCompacta.size());
        n.dCurvatura = pNeurona->dCurvaturaSigmoidea;
        for (const SEnlace& enlace : pNeurona->vEnlacesEntrada) {
            const auto it = std::lower_bound(vPorDireccion.begin(), vPorDireccion.end(),
                                             std::make_pair(static_cast<const SNeurona*>(enlace.pNeuronaEntrada), 0));
            // A source outside this network: evaluation keeps to the neurons.
            if (it == vPorDireccion.end() || it->first != enlace.pNeuronaEntrada)
                return;
            m_vdPesosCompacta.push_back(enlace.dPeso);
            m_vnOrigenesCompacta.push_back(it->second);
        }
        n.nFinEnlaces = static_cast<int>(m_vdPesosCompacta.size());
        m_vNeuronasCompacta.push_back(n);
        if (i > m_nEntradasCompacta && pNeurona->TipoNeurona == Neurona_Salida)
            m_vnSalidasCompacta.push_back(static_cast<int>(i));
    }
    MarcarEstadoCompacta();
    m_bCompactaUsable = true;
}

// A pass sets the inputs and the bias before anything reads them, and a
// computed neuron before the neurons after it read it; only the others need
// the value the last call left.
void CRedNeuronal::MarcarEstadoCompacta()
{
    std::vector<bool> vLeida(m_vNeuronas.size(), false);
    for (size_t i = m_nEntradasCompacta + 1; i < m_vNeuronasCompacta.size(); ++i) {
        const SNeuronaCompacta& n = m_vNeuronasCompacta[i];
        for (int k = n.nPrimerEnlace; k < n.nFinEnlaces; ++k) {
            const size_t nOrigen = static_cast<size_t>(m_vnOrigenesCompacta[k]);
            if (nOrigen >= i && nOrigen > m_nEntradasCompacta)
                vLeida[nOrigen] = true;
        }
    }
    for (size_t i = 0; i < vLeida.size(); ++i) {
        if (vLeida[i])
            m_vnEstadoCompacta.push_back(static_cast<int>(i));
    }
}

void CRedNeuronal::PasadaCompacta(const TVecDoubles& Entradas)
{
    double* const pValores = m_vdValores.data();
    const double* const pPesos = m_vdPesosCompacta.data();
    const int* const pOrigenes = m_vnOrigenesCompacta.data();
    const size_t nNeuronas = m_vNeuronasCompacta.size();
    size_t i = 0;
    for (; i < m_nEntradasCompacta; ++i)
        pValores[i] = Entradas[i];
    if (i < nNeuronas)
        pValores[i++] = 1.0;  // bias: never computed
    for (; i < nNeuronas; ++i) {
        const SNeuronaCompacta& n = m_vNeuronasCompacta[i];
        double dSuma = 0.0;
        for (int k = n.nPrimerEnlace; k < n.nFinEnlaces; ++k)
            dSuma += pPesos[k] * pValores[pOrigenes[k]];
        pValores[i] = FuncionActivacion(dSuma, n.dCurvatura);
    }
}

void CRedNeuronal::ActualizarCompacta(const TVecDoubles& Entradas, size_t nPasadas, bool bReiniciar)
{
    const size_t nNeuronas = m_vNeuronas.size();
    // The neurons' outputs are the state between calls: read those a pass
    // reads first, run the passes, write them all back.
    for (int nPos : m_vnEstadoCompacta)
        m_vdValores[nPos] = m_vNeuronas[nPos]->dSalida;
    for (size_t nPasada = 0; nPasada < nPasadas; ++nPasada)
        PasadaCompacta(Entradas);
    if (nPasadas > 0) {
        m_vdSalidas.clear();
        for (int nPos : m_vnSalidasCompacta)
            m_vdSalidas.push_back(m_vdValores[nPos]);
    }
    if (bReiniciar)
        std::fill(m_vdValores.begin(), m_vdValores.end(), 0.0);
    for (size_t i = 0; i < nNeuronas; ++i)
        m_vNeuronas[i]->dSalida = m_vdValores[i];
}

// ---------------------------------------------------------------------------
// Text form: a plain text of numbers, shifted by a one-byte key and escaped
// so that it can stand inside a double-quoted string literal.

std::ostream& operator<<(std::ostream& out, const CRedNeuronal& red)
{
    const std::vector<SNeurona*>& vNeuronas = red.GetRed();
    std::ostringstream plano;
    std::map<int, unsigned> mPosiciones;

    plano << static_cast<unsigned>(vNeuronas.size()) << '\n';
    for (unsigned i = 0; i < vNeuronas.size(); ++i) {
        const SNeurona* pNeurona = vNeuronas[i];
        plano << static_cast<int>(pNeurona->TipoNeurona) << '\n'
              << pNeurona->nID << '\n'
              << pNeurona->dCurvaturaSigmoidea << '\n'
              << pNeurona->dSplitX << '\n'
              << pNeurona->dSplitY << '\n';
        mPosiciones[pNeurona->nID] = i;
    }
    plano << '\n';
    for (const SNeurona* pNeurona : vNeuronas) {
        plano << static_cast<unsigned>(pNeurona->vEnlacesSalida.size()) << '\n';
        for (const SEnlace& enlace : pNeurona->vEnlacesSalida) {
            plano << (enlace.bRecurrente ? 1 : 0) << '\n'
                  << enlace.dPeso << '\n'
                  << mPosiciones[enlace.pNeuronaEntrada->nID] << '\n'
                  << mPosiciones[enlace.pNeuronaSalida->nID] << '\n';
        }
    }

    const std::string sPlano = plano.str();
    std::string sCodificado;
    sCodificado.reserve(sPlano.size() + sPlano.size() / 8);
    for (unsigned char c : sPlano) {
        const unsigned char s = static_cast<unsigned char>(c + kClaveRed);
        if (s == 0x0A)
            sCodificado += "\\n";
        else if (s == 0x5C)
            sCodificado += "\\\\";
        else if (s == 0x22)
            sCodificado += "\\\"";
        else
            sCodificado += static_cast<char>(s);
    }
    out.write(sCodificado.data(), static_cast<std::streamsize>(sCodificado.size()));
    return out;
}

bool DecodificarTextoRed(const std::string& sCodificado, std::string& sPlano)
{
    std::string sResultado;
    sResultado.reserve(sCodificado.size());
    for (size_t i = 0; i < sCodificado.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(sCodificado[i]);
        if (c == '\\') {
            if (i + 1 >= sCodificado.size())
                return false;
            const char cEscape = sCodificado[++i];
            if (cEscape == 'n')
                c = 0x0A;
            else if (cEscape == '\\')
                c = 0x5C;
            else if (cEscape == '"')
                c = 0x22;
            else
                return false;
        }
        sResultado += static_cast<char>(static_cast<unsigned char>(c - kClaveRed));
    }
    sPlano.swap(sResultado);
    return true;
}

bool CargarTextoPlanoRed(const std::string& sPlano, CRedNeuronal& red)
{
    std::istringstream in(sPlano);
    unsigned nNeuronas = 0;
    if (!LeerSinSigno(in, nNeuronas))
        return false;

    // Everything is read and checked before the network is touched.
    std::vector<SNeuronaLeida> vNeuronas;
    for (unsigned i = 0; i < nNeuronas; ++i) {
        SNeuronaLeida n;
        if (!LeerValor(in, n.nTipo) || !LeerValor(in, n.nID) || !LeerValor(in, n.dCurva) || !LeerValor(in, n.dSplitX) ||
            !LeerValor(in, n.dSplitY))
            return false;
        if (n.nTipo < Neurona_Entrada || n.nTipo > Neurona_SinTipo)
            return false;
        vNeuronas.push_back(n);
    }
    std::vector<SEnlaceLeido> vEnlaces;
    for (unsigned i = 0; i < nNeuronas; ++i) {
        unsigned nEnlaces = 0;
        if (!LeerSinSigno(in, nEnlaces))
            return false;
        for (unsigned j = 0; j < nEnlaces; ++j) {
            SEnlaceLeido e;
            int nRecurrente = 0;
            if (!LeerValor(in, nRecurrente) || (nRecurrente != 0 && nRecurrente != 1))
                return false;
            e.bRecurrente = (nRecurrente == 1);
            if (!LeerValor(in, e.dPeso) || !LeerSinSigno(in, e.nOrigen) || !LeerSinSigno(in, e.nDestino))
                return false;
            if (e.nOrigen >= nNeuronas || e.nDestino >= nNeuronas)
                return false;
            vEnlaces.push_back(e);
        }
    }
    in >> std::ws;
    if (!in.eof())
        return false;

    std::vector<const SNeurona*> vPosiciones;
    vPosiciones.reserve(vNeuronas.size());
    for (const SNeuronaLeida& n : vNeuronas)
        vPosiciones.push_back(red.AddNeurona(static_cast<TNeurona>(n.nTipo), n.nID, n.dSplitX, n.dSplitY, n.dCurva));
    for (const SEnlaceLeido& e : vEnlaces)
        red.AddEnlace(vPosiciones[e.nOrigen], vPosiciones[e.nDestino], e.dPeso, e.bRecurrente);
    return true;
}

std::istream& operator>>(std::istream& in, CRedNeuronal& red)
{
    const std::string sCodificado((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.setstate(std::ios::eofbit);
    std::string sPlano;
    if (!DecodificarTextoRed(sCodificado, sPlano))
        ErrorDecodificacion(__LINE__);
    if (!CargarTextoPlanoRed(sPlano, red))
        ErrorDecodificacion(__LINE__);
    return in;
}
