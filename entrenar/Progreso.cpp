#include "Progreso.h"
#include "Comun/TextoLocal.h"

#include <cstdio>

#include <unistd.h>

CProgreso::CProgreso(bool bSilencio) : m_bActivo(!bSilencio && ::isatty(STDERR_FILENO)), m_nLongitud(0) {}

CProgreso::~CProgreso() { Terminar(); }

void CProgreso::Mostrar(const std::string& sLinea)
{
    if (!m_bActivo)
        return;
    std::string sRelleno;
    if (sLinea.size() < m_nLongitud)
        sRelleno.assign(m_nLongitud - sLinea.size(), ' ');
    EscribirFormato(stderr, "\r%s%s", sLinea.c_str(), sRelleno.c_str());
    std::fflush(stderr);
    m_nLongitud = sLinea.size();
}

void CProgreso::Terminar()
{
    if (m_bActivo && m_nLongitud > 0)
        std::fputc('\n', stderr);
    m_nLongitud = 0;
}

std::string FormatearDuracion(double dSegundos)
{
    if (dSegundos < 0)
        dSegundos = 0;
    const long nTotal = static_cast<long>(dSegundos + 0.5);
    char szTexto[32];
    if (nTotal >= 3600)
        std::snprintf(szTexto, sizeof(szTexto), "%ldh%02ldm", nTotal / 3600, (nTotal % 3600) / 60);
    else if (nTotal >= 60)
        std::snprintf(szTexto, sizeof(szTexto), "%ldm%02lds", nTotal / 60, nTotal % 60);
    else
        std::snprintf(szTexto, sizeof(szTexto), "%lds", nTotal);
    return szTexto;
}
