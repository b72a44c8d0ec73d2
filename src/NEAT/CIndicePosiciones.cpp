#include "CIndicePosiciones.h"

namespace {

const std::size_t kCasillasIniciales = 64;

}  // namespace

CIndicePosiciones::CIndicePosiciones() : m_nOcupadas(0), m_nBits(0) {}

void CIndicePosiciones::Limpiar()
{
    m_vCasillas.clear();
    m_nOcupadas = 0;
    m_nBits = 0;
}

// Fibonacci hashing: the top bits of the product spread consecutive ids.
std::size_t CIndicePosiciones::Inicio(std::uint64_t nClave) const
{
    return static_cast<std::size_t>((nClave * 0x9E3779B97F4A7C15ULL) >> (64 - m_nBits));
}

int CIndicePosiciones::Buscar(std::uint64_t nClave) const
{
    if (m_vCasillas.empty())
        return -1;
    const std::size_t nMascara = m_vCasillas.size() - 1;
    for (std::size_t i = Inicio(nClave);; i = (i + 1) & nMascara) {
        const SCasilla& c = m_vCasillas[i];
        if (c.nPosicion < 0)
            return -1;
        if (c.nClave == nClave)
            return c.nPosicion;
    }
}

bool CIndicePosiciones::InsertarSiFalta(std::uint64_t nClave, int nPosicion)
{
    // At most 70% full, so that probes stay short and always end.
    if ((m_nOcupadas + 1) * 10 > m_vCasillas.size() * 7)
        Crecer();
    const std::size_t nMascara = m_vCasillas.size() - 1;
    for (std::size_t i = Inicio(nClave);; i = (i + 1) & nMascara) {
        SCasilla& c = m_vCasillas[i];
        if (c.nPosicion < 0) {
            c.nClave = nClave;
            c.nPosicion = nPosicion;
            ++m_nOcupadas;
            return true;
        }
        if (c.nClave == nClave)
            return false;
    }
}

void CIndicePosiciones::Crecer()
{
    std::vector<SCasilla> vAntes;
    vAntes.swap(m_vCasillas);
    const std::size_t nNuevas = vAntes.empty() ? kCasillasIniciales : 2 * vAntes.size();
    m_vCasillas.assign(nNuevas, SCasilla{0, -1});
    m_nBits = 0;
    while ((std::size_t(1) << m_nBits) < nNuevas)
        ++m_nBits;
    m_nOcupadas = 0;
    // Re-inserted in table order; each key is there once, so nothing is lost.
    for (const SCasilla& c : vAntes) {
        if (c.nPosicion >= 0)
            InsertarSiFalta(c.nClave, c.nPosicion);
    }
}
