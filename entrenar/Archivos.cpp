#include "Archivos.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

std::string RutaEn(const std::string& sCarpeta, const std::string& sNombre)
{
    if (sCarpeta.empty())
        return sNombre;
    return sCarpeta.back() == '/' ? sCarpeta + sNombre : sCarpeta + "/" + sNombre;
}

bool CrearCarpeta(const std::string& sCarpeta, std::string& sError)
{
    std::error_code error;
    std::filesystem::create_directories(sCarpeta, error);
    if (error || !std::filesystem::is_directory(sCarpeta)) {
        sError = "No se pudo crear la carpeta " + sCarpeta + ": " + error.message();
        return false;
    }
    return true;
}

namespace {

std::string Motivo(const std::string& sQue, const std::string& sRuta, int nError)
{
    return sQue + " " + sRuta + ": " + std::strerror(nError);
}

bool EscribirTodo(int nDescriptor, const std::string& sContenido)
{
    size_t nHecho = 0;
    while (nHecho < sContenido.size()) {
        const ssize_t n = ::write(nDescriptor, sContenido.data() + nHecho, sContenido.size() - nHecho);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        nHecho += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

bool CrearFicheroDurable(const std::string& sRuta, const std::string& sContenido, std::string& sError)
{
    const int nDescriptor = ::open(sRuta.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (nDescriptor < 0) {
        sError = Motivo("No se pudo crear", sRuta, errno);
        return false;
    }
    int nError = 0;
    if (!EscribirTodo(nDescriptor, sContenido) || ::fsync(nDescriptor) != 0)
        nError = errno;
    if (::close(nDescriptor) != 0 && nError == 0)
        nError = errno;
    if (nError != 0) {
        sError = Motivo("No se pudo escribir", sRuta, nError);
        ::unlink(sRuta.c_str());
        return false;
    }
    return true;
}

bool SincronizarCarpeta(const std::string& sCarpeta, std::string& sError)
{
    const int nDescriptor = ::open(sCarpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (nDescriptor < 0) {
        sError = Motivo("No se pudo abrir la carpeta", sCarpeta, errno);
        return false;
    }
    const bool bCorrecto = ::fsync(nDescriptor) == 0;
    const int nError = errno;
    ::close(nDescriptor);
    if (!bCorrecto)
        sError = Motivo("No se pudo sincronizar la carpeta", sCarpeta, nError);
    return bCorrecto;
}

bool Renombrar(const std::string& sDesde, const std::string& sA, std::string& sError)
{
    if (std::rename(sDesde.c_str(), sA.c_str()) != 0) {
        sError = "No se pudo renombrar " + sDesde + " a " + sA + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool Borrar(const std::string& sRuta, std::string& sError)
{
    std::error_code error;
    std::filesystem::remove_all(sRuta, error);
    if (error) {
        sError = "No se pudo borrar " + sRuta + ": " + error.message();
        return false;
    }
    return true;
}

bool ExisteCarpeta(const std::string& sRuta)
{
    std::error_code error;
    return std::filesystem::is_directory(sRuta, error);
}

std::string CarpetaDe(const std::string& sRuta)
{
    const std::string sPadre = std::filesystem::path(sRuta).parent_path().string();
    return sPadre.empty() ? "." : sPadre;
}

bool EscribirFichero(const std::string& sRuta, const std::string& sContenido, std::string& sError)
{
    const std::string sTemporal = sRuta + ".tmp" + std::to_string(::getpid());
    // A leftover of a killed run with the same pid goes first.
    ::unlink(sTemporal.c_str());
    if (!CrearFicheroDurable(sTemporal, sContenido, sError))
        return false;
    if (!Renombrar(sTemporal, sRuta, sError)) {
        ::unlink(sTemporal.c_str());
        return false;
    }
    return SincronizarCarpeta(CarpetaDe(sRuta), sError);
}

bool LeerFichero(const std::string& sRuta, std::string& sContenido, std::string& sError)
{
    std::ifstream entrada(sRuta, std::ios::binary);
    if (!entrada) {
        sError = "No se pudo abrir " + sRuta;
        return false;
    }
    std::ostringstream texto;
    texto << entrada.rdbuf();
    if (entrada.bad()) {
        sError = "No se pudo leer " + sRuta;
        return false;
    }
    sContenido = texto.str();
    return true;
}

bool ExisteFichero(const std::string& sRuta)
{
    std::error_code error;
    return std::filesystem::is_regular_file(sRuta, error);
}
