#include "Comun/TablaOpciones.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

std::vector<std::string> Nombres(const char* szNombres)
{
    std::vector<std::string> vNombres;
    std::string sResto = szNombres;
    while (!sResto.empty()) {
        const std::size_t nComa = sResto.find(',');
        std::string sNombre = sResto.substr(0, nComa);
        while (!sNombre.empty() && sNombre[0] == ' ')
            sNombre.erase(0, 1);
        vNombres.push_back(sNombre);
        sResto = nComa == std::string::npos ? "" : sResto.substr(nComa + 1);
    }
    return vNombres;
}

std::string Numero(double dValor)
{
    char szTexto[32];
    std::snprintf(szTexto, sizeof(szTexto), "%.10g", dValor);
    return szTexto;
}

std::string ValorNoValido(const std::string& sOpcion, const std::string& sValor, const std::string& sRango)
{
    return "Valor no v"
           "\xE1"
           "lido para " +
           sOpcion + ": '" + sValor + "' (" + sRango + ")";
}

bool LeerEntero(const std::string& sValor, long nMin, long nMax, long& nValor)
{
    char* pFin = nullptr;
    errno = 0;
    nValor = std::strtol(sValor.c_str(), &pFin, 10);
    return !sValor.empty() && *pFin == '\0' && errno == 0 && nValor >= nMin && nValor <= nMax;
}

std::string RangoEntero(long nMin, long nMax)
{
    return "un entero de " + std::to_string(nMin) + " a " + std::to_string(nMax);
}

template <typename T>
CTablaOpciones::TLector LectorEntero(long nMin, long nMax, T& destino)
{
    return [nMin, nMax, &destino](const std::string& sValor, std::string& sError) {
        long nValor = 0;
        if (!LeerEntero(sValor, nMin, nMax, nValor)) {
            sError = RangoEntero(nMin, nMax);
            return false;
        }
        destino = static_cast<T>(nValor);
        return true;
    };
}

// Lines of at most kAnchoAyuda columns, the continuations indented by
// nSangria: long help texts stay readable on a terminal.
const std::size_t kAnchoAyuda = 100;

std::string Partir(const std::string& sLinea, std::size_t nSangria)
{
    std::string sResultado, sResto = sLinea;
    while (sResto.size() > kAnchoAyuda) {
        const std::size_t nCorte = sResto.rfind(' ', kAnchoAyuda);
        if (nCorte == std::string::npos || nCorte <= nSangria)
            break;
        sResultado += sResto.substr(0, nCorte) + "\n";
        sResto = std::string(nSangria, ' ') + sResto.substr(nCorte + 1);
    }
    return sResultado + sResto + "\n";
}

}  // namespace

bool PideAyuda(const std::string& sPalabra)
{
    return sPalabra == "-h" || sPalabra == "--help" || sPalabra == "--ayuda" || sPalabra == "ayuda";
}

CTablaOpciones::CTablaOpciones(const std::string& sOrden, const std::string& sDescripcion)
    : m_sOrden(sOrden), m_sDescripcion(sDescripcion)
{}

CTablaOpciones::~CTablaOpciones() { Limpiar(); }

void CTablaOpciones::Limpiar()
{
    m_vOpciones.clear();
    m_vPosicionales.clear();
    m_vEjemplos.clear();
}

void CTablaOpciones::Entero(const char* szNombre, const char* szValor, long nMin, long nMax, int& nDestino,
                            const std::string& sAyuda)
{
    Otra(szNombre, szValor, std::to_string(nDestino), RangoEntero(nMin, nMax), LectorEntero(nMin, nMax, nDestino),
         sAyuda);
}

void CTablaOpciones::Entero(const char* szNombre, const char* szValor, long nMin, long nMax, unsigned& nDestino,
                            const std::string& sAyuda)
{
    Otra(szNombre, szValor, std::to_string(nDestino), RangoEntero(nMin, nMax), LectorEntero(nMin, nMax, nDestino),
         sAyuda);
}

void CTablaOpciones::Real(const char* szNombre, const char* szValor, double dMin, double dMax, double& dDestino,
                          const std::string& sAyuda)
{
    const std::string sRango =
        "un n"
        "\xFA"
        "mero de " +
        Numero(dMin) + " a " + Numero(dMax);
    Otra(
        szNombre, szValor, Numero(dDestino), sRango,
        [dMin, dMax, sRango, &dDestino](const std::string& sValor, std::string& sError) {
            char* pFin = nullptr;
            errno = 0;
            const double dValor = std::strtod(sValor.c_str(), &pFin);
            if (sValor.empty() || *pFin != '\0' || errno != 0 || !(dValor >= dMin && dValor <= dMax)) {
                sError = sRango;
                return false;
            }
            dDestino = dValor;
            return true;
        },
        sAyuda);
}

void CTablaOpciones::Texto(const char* szNombre, const char* szValor, std::string& sDestino, const std::string& sAyuda,
                           const std::string& sDefecto)
{
    Otra(
        szNombre, szValor, sDefecto, "",
        [&sDestino](const std::string& sValor, std::string& sError) {
            if (sValor.empty()) {
                sError =
                    "no puede estar vac"
                    "\xED"
                    "o";
                return false;
            }
            sDestino = sValor;
            return true;
        },
        sAyuda);
}

void CTablaOpciones::Bandera(const char* szNombre, bool& bDestino, bool bValor, const std::string& sAyuda)
{
    Otra(
        szNombre, "", "", "",
        [&bDestino, bValor](const std::string&, std::string&) {
            bDestino = bValor;
            return true;
        },
        sAyuda);
}

void CTablaOpciones::Otra(const char* szNombre, const char* szValor, const std::string& sDefecto,
                          const std::string& sRango, const TLector& fLeer, const std::string& sAyuda)
{
    SOpcion opcion;
    opcion.vNombres = Nombres(szNombre);
    opcion.sValor = szValor;
    opcion.sDefecto = sDefecto;
    opcion.sRango = sRango;
    opcion.sAyuda = sAyuda;
    opcion.fLeer = fLeer;
    m_vOpciones.push_back(opcion);
}

void CTablaOpciones::Posicional(const char* szNombre, std::string& sDestino, bool bObligatorio,
                                const std::string& sAyuda)
{
    m_vPosicionales.push_back(SPosicional{szNombre, &sDestino, bObligatorio, sAyuda});
}

void CTablaOpciones::Defecto(const std::string& sDefecto)
{
    if (!m_vOpciones.empty())
        m_vOpciones.back().sDefecto = sDefecto;
}

void CTablaOpciones::Ejemplo(const std::string& sEjemplo) { m_vEjemplos.push_back(sEjemplo); }

const CTablaOpciones::SOpcion* CTablaOpciones::Buscar(const std::string& sNombre) const
{
    for (const SOpcion& opcion : m_vOpciones)
        for (const std::string& s : opcion.vNombres)
            if (s == sNombre)
                return &opcion;
    return nullptr;
}

bool CTablaOpciones::LeerPalabra(int argc, char** argv, int& i, std::size_t& nPosicional, std::string& sError) const
{
    const std::string sPalabra = argv[i++];
    const SOpcion* pOpcion = Buscar(sPalabra);
    if (pOpcion && pOpcion->sValor.empty())
        return pOpcion->fLeer("", sError);
    if (pOpcion) {
        if (i >= argc) {
            sError = "Falta el valor de " + sPalabra;
            return false;
        }
        const std::string sValor = argv[i++];
        std::string sMotivo;
        if (!pOpcion->fLeer(sValor, sMotivo)) {
            sError = ValorNoValido(sPalabra, sValor, sMotivo);
            return false;
        }
        return true;
    }
    if (sPalabra.size() > 1 && sPalabra[0] == '-') {
        sError =
            "Opci"
            "\xF3"
            "n desconocida: " +
            sPalabra;
        return false;
    }
    if (nPosicional >= m_vPosicionales.size()) {
        sError = "Sobra el argumento " + sPalabra;
        return false;
    }
    *m_vPosicionales[nPosicional++].pDestino = sPalabra;
    return true;
}

bool CTablaOpciones::Leer(int argc, char** argv, int nInicio, bool& bAyuda, std::string& sError) const
{
    // Asked for anywhere but as an option's value, the usage wins over
    // whatever else is wrong.
    for (int i = nInicio; i < argc; ++i) {
        const SOpcion* pOpcion = Buscar(argv[i]);
        if (pOpcion && !pOpcion->sValor.empty()) {
            ++i;
            continue;
        }
        if (PideAyuda(argv[i])) {
            bAyuda = true;
            return true;
        }
    }
    bAyuda = false;
    std::size_t nPosicional = 0;
    for (int i = nInicio; i < argc;)
        if (!LeerPalabra(argc, argv, i, nPosicional, sError))
            return false;
    for (std::size_t k = nPosicional; k < m_vPosicionales.size(); ++k) {
        if (m_vPosicionales[k].bObligatorio) {
            sError = "Falta " + m_vPosicionales[k].sNombre;
            return false;
        }
    }
    return true;
}

std::string CTablaOpciones::Columna(const std::string& sTexto, std::size_t nAncho)
{
    return sTexto.size() >= nAncho ? sTexto + "  " : sTexto + std::string(nAncho + 2 - sTexto.size(), ' ');
}

std::string CTablaOpciones::Ayuda() const
{
    std::string sUso = "Uso: " + m_sOrden + (m_vOpciones.empty() ? "" : " [opciones]");
    for (const SPosicional& p : m_vPosicionales)
        sUso += p.bObligatorio ? " " + p.sNombre : " [" + p.sNombre + "]";
    std::vector<std::pair<std::string, std::string>> vFilas;
    for (const SPosicional& p : m_vPosicionales)
        vFilas.emplace_back(p.sNombre, p.sAyuda);
    for (const SOpcion& o : m_vOpciones) {
        std::string sIzquierda;
        for (const std::string& s : o.vNombres)
            sIzquierda += (sIzquierda.empty() ? "" : ", ") + s;
        if (!o.sValor.empty())
            sIzquierda += " " + o.sValor;
        std::string sNota;
        if (!o.sDefecto.empty())
            sNota =
                "por omisi"
                "\xF3"
                "n " +
                o.sDefecto;
        if (!o.sRango.empty())
            sNota += (sNota.empty() ? "" : "; ") + o.sRango;
        vFilas.emplace_back(sIzquierda, o.sAyuda + (sNota.empty() ? "" : " (" + sNota + ")"));
    }
    vFilas.emplace_back("-h, --help, ayuda", "muestra esta ayuda");
    std::size_t nAncho = 0;
    for (const auto& fila : vFilas)
        nAncho = std::max(nAncho, std::min<std::size_t>(fila.first.size(), 24));
    std::string sTexto = sUso + "\n" + m_sDescripcion + "\n\n";
    for (const auto& fila : vFilas)
        sTexto += Partir("  " + Columna(fila.first, nAncho) + fila.second, nAncho + 4);
    if (!m_vEjemplos.empty())
        sTexto += m_vEjemplos.size() > 1 ? "\nEjemplos:\n" : "\nEjemplo:\n";
    for (const std::string& s : m_vEjemplos)
        sTexto += "  " + s + "\n";
    return sTexto;
}
