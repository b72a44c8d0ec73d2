#include "Comun/ArchivoEntero.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::string Causa() { return std::strerror(errno); }

std::string CarpetaDe(const std::string& sRuta)
{
    const std::size_t nBarra = sRuta.find_last_of('/');
    if (nBarra == std::string::npos)
        return ".";
    return nBarra == 0 ? "/" : sRuta.substr(0, nBarra);
}

}  // namespace

// Without this a crash soon after the rename may leave the old directory
// entry. File systems that cannot flush a folder say EINVAL: nothing to do.
bool SincronizarCarpeta(const std::string& sCarpeta)
{
    const int nDescriptor = open(sCarpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nDescriptor < 0)
        return false;
    const bool bBien = fsync(nDescriptor) == 0 || errno == EINVAL;
    const int nError = errno;
    close(nDescriptor);
    errno = nError;
    return bBien;
}

std::string NombreTemporalJunto(const std::string& sRuta)
{
    static std::atomic<unsigned long> nContador{0};
    return sRuta + ".tmp" + std::to_string(getpid()) + "." + std::to_string(nContador++);
}

CArchivoEntero::CArchivoEntero() : m_nDescriptor(-1) {}

CArchivoEntero::~CArchivoEntero() { Limpiar(); }

void CArchivoEntero::Limpiar()
{
    if (m_nDescriptor >= 0)
        close(m_nDescriptor);
    if (!m_sTemporal.empty())
        unlink(m_sTemporal.c_str());
    m_nDescriptor = -1;
    m_sTemporal.clear();
    m_sRuta.clear();
}

bool CArchivoEntero::Fallo(const std::string& sMotivo, std::string& sError)
{
    sError = sMotivo;
    Limpiar();
    return false;
}

bool CArchivoEntero::Abrir(const std::string& sRuta, std::string& sError)
{
    Limpiar();
    // A name already taken (a leftover, a link someone placed) is never
    // reused: O_EXCL refuses it and the next name is tried.
    for (int nIntento = 0; nIntento < 100; ++nIntento) {
        const std::string sTemporal = NombreTemporalJunto(sRuta);
        const int nDescriptor = open(sTemporal.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (nDescriptor >= 0) {
            m_sRuta = sRuta;
            m_sTemporal = sTemporal;
            m_nDescriptor = nDescriptor;
            return true;
        }
        if (errno != EEXIST)
            return Fallo("No se pudo crear " + sTemporal + ": " + Causa(), sError);
    }
    return Fallo("No se pudo crear un archivo temporal junto a " + sRuta, sError);
}

bool CArchivoEntero::Escribir(const char* pDatos, std::size_t nBytes, std::string& sError)
{
    if (m_nDescriptor < 0)
        return Fallo("No hay archivo abierto para escribir", sError);
    while (nBytes > 0) {
        const ssize_t nEscritos = write(m_nDescriptor, pDatos, nBytes);
        if (nEscritos < 0 && errno == EINTR)
            continue;
        if (nEscritos <= 0)
            return Fallo("No se pudo escribir " + m_sTemporal + ": " + Causa(), sError);
        pDatos += nEscritos;
        nBytes -= static_cast<std::size_t>(nEscritos);
    }
    return true;
}

bool CArchivoEntero::Confirmar(std::string& sError)
{
    if (m_nDescriptor < 0)
        return Fallo("No hay archivo abierto para confirmar", sError);
    if (fsync(m_nDescriptor) != 0)
        return Fallo("No se pudo volcar " + m_sTemporal + " al disco: " + Causa(), sError);
    const int nDescriptor = m_nDescriptor;
    m_nDescriptor = -1;
    if (close(nDescriptor) != 0)
        return Fallo("No se pudo cerrar " + m_sTemporal + ": " + Causa(), sError);
    if (std::rename(m_sTemporal.c_str(), m_sRuta.c_str()) != 0)
        return Fallo("No se pudo renombrar " + m_sTemporal + " a " + m_sRuta + ": " + Causa(), sError);
    m_sTemporal.clear();
    const std::string sCarpeta = CarpetaDe(m_sRuta);
    m_sRuta.clear();
    if (!SincronizarCarpeta(sCarpeta))
        return Fallo("No se pudo volcar la carpeta " + sCarpeta + " al disco: " + Causa(), sError);
    return true;
}

bool EscribirArchivoEntero(const std::string& sRuta, const std::string& sContenido, std::string& sError)
{
    CArchivoEntero archivo;
    return archivo.Abrir(sRuta, sError) && archivo.Escribir(sContenido.data(), sContenido.size(), sError) &&
           archivo.Confirmar(sError);
}
