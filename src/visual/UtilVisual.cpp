#include "UtilVisual.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "Comun/TextoLocal.h"

// Texts mix the programs' ISO 8859-1 with names and paths in UTF-8;
// LeerCaracter tells them apart, so each character is written once, as its
// code point.
std::string EscaparXml(const std::string& sTexto)
{
    std::string sRes;
    sRes.reserve(sTexto.size());
    for (std::size_t nPos = 0; nPos < sTexto.size();) {
        const unsigned nCodigo = LeerCaracter(sTexto, nPos);
        switch (nCodigo) {
            case '&':
                sRes += "&amp;";
                break;
            case '<':
                sRes += "&lt;";
                break;
            case '>':
                sRes += "&gt;";
                break;
            case '"':
                sRes += "&quot;";
                break;
            case '\'':
                sRes += "&#39;";
                break;
            default:
                if (nCodigo < 0x20 && nCodigo != '\n' && nCodigo != '\t' && nCodigo != '\r')
                    break;  // not allowed in XML at all
                if (nCodigo >= 0x80)
                    sRes += "&#" + std::to_string(nCodigo) + ";";
                else
                    sRes += static_cast<char>(nCodigo);
        }
    }
    return sRes;
}

std::string FormatearNumero(double dValor, int nDecimales)
{
    if (!std::isfinite(dValor))
        return "0";
    char sz[64];
    std::snprintf(sz, sizeof(sz), "%.*f", nDecimales, dValor);
    std::string s(sz);
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0')
            s.pop_back();
        if (!s.empty() && s.back() == '.')
            s.pop_back();
    }
    if (s == "-0")
        s = "0";
    return s;
}

bool LeerArchivo(const std::string& sRuta, std::string& sContenido, std::string& sError)
{
    FILE* f = std::fopen(sRuta.c_str(), "rb");
    if (!f) {
        sError = "no se puede abrir " + sRuta + ": " + std::strerror(errno);
        return false;
    }
    std::string sLeido;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
        sLeido.append(buffer, n);
    const bool bFallo = std::ferror(f) != 0;
    std::fclose(f);
    if (bFallo) {
        sError = "error leyendo " + sRuta;
        return false;
    }
    sContenido.swap(sLeido);
    return true;
}

bool ExisteArchivo(const std::string& sRuta)
{
    struct stat st;
    return stat(sRuta.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool EsCarpeta(const std::string& sRuta)
{
    struct stat st;
    return stat(sRuta.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string UnirRuta(const std::string& sCarpeta, const std::string& sNombre)
{
    if (sCarpeta.empty())
        return sNombre;
    if (sCarpeta.back() == '/')
        return sCarpeta + sNombre;
    return sCarpeta + "/" + sNombre;
}

std::string BuscarPrograma(const std::string& sNombre)
{
    if (sNombre.find('/') != std::string::npos)
        return access(sNombre.c_str(), X_OK) == 0 ? sNombre : "";
    const char* szPath = std::getenv("PATH");
    std::stringstream ss(szPath ? szPath : "/usr/bin:/bin");
    std::string sDir;
    while (std::getline(ss, sDir, ':')) {
        const std::string sCandidato = UnirRuta(sDir.empty() ? "." : sDir, sNombre);
        if (ExisteArchivo(sCandidato) && access(sCandidato.c_str(), X_OK) == 0)
            return sCandidato;
    }
    return "";
}

namespace {

// Child side: stdout to the given descriptor, stderr to another, then exec.
// Allocates nothing: the parent may have other threads (a training run's
// pool), and only async-signal-safe calls are sound between fork and exec.
void EjecutarHijo(char* const* pArgv, int fdSalida, int fdError)
{
    dup2(fdSalida, STDOUT_FILENO);
    dup2(fdError, STDERR_FILENO);
    execvp(pArgv[0], pArgv);
    _exit(127);
}

std::string PrimeraLinea(const std::string& sTexto)
{
    const size_t nFin = sTexto.find('\n');
    return nFin == std::string::npos ? sTexto : sTexto.substr(0, nFin);
}

}  // namespace

namespace {

// A file in the system's temporary folder for the child's standard error.
int CrearTemporalDeErrores(std::string& sRuta)
{
    std::error_code error;
    std::string sPlantilla = (std::filesystem::temp_directory_path(error) / "visual_errorXXXXXX").string();
    if (error)
        return -1;
    const int fd = mkstemp(sPlantilla.data());
    if (fd >= 0)
        sRuta = sPlantilla;
    return fd;
}

// Output discarded, or into a file written whole that Confirmar puts in place.
int AbrirSalida(const std::string& sRutaSalida, CArchivoEntero& salida, std::string& sError)
{
    if (sRutaSalida.empty())
        return open("/dev/null", O_WRONLY | O_CLOEXEC);
    return salida.Abrir(sRutaSalida, sError) ? salida.GetDescriptor() : -1;
}

}  // namespace

bool EjecutarPrograma(const std::vector<std::string>& vArgumentos, const std::string& sRutaSalida, std::string& sError)
{
    if (vArgumentos.empty()) {
        sError = "no hay programa que ejecutar";
        return false;
    }
    CArchivoEntero salida;
    std::string sRutaErrores;
    const int fdError = CrearTemporalDeErrores(sRutaErrores);
    const int fdSalida = fdError < 0 ? -1 : AbrirSalida(sRutaSalida, salida, sError);
    if (fdError < 0 || fdSalida < 0) {
        sError = "no se puede preparar la salida de " + vArgumentos[0];
        if (fdError >= 0) {
            close(fdError);
            unlink(sRutaErrores.c_str());
        }
        return false;
    }
    std::vector<char*> vArgv;
    for (const std::string& s : vArgumentos)
        vArgv.push_back(const_cast<char*>(s.c_str()));
    vArgv.push_back(nullptr);
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0)
        EjecutarHijo(vArgv.data(), fdSalida, fdError);
    if (sRutaSalida.empty())
        close(fdSalida);
    close(fdError);
    int nEstado = 0;
    const bool bLanzado = pid > 0 && waitpid(pid, &nEstado, 0) == pid;
    std::string sErrorHijo, sIgnorado;
    LeerArchivo(sRutaErrores, sErrorHijo, sIgnorado);
    unlink(sRutaErrores.c_str());
    const bool bBien = bLanzado && WIFEXITED(nEstado) && WEXITSTATUS(nEstado) == 0;
    if (!bBien) {
        sError = vArgumentos[0] + " ha fallado";
        if (!sErrorHijo.empty())
            sError += ": " + PrimeraLinea(sErrorHijo);
        return false;
    }
    std::string sMotivo;
    if (!sRutaSalida.empty() && !salida.Confirmar(sMotivo)) {
        sError = "no se puede escribir " + sRutaSalida + ": " + sMotivo;
        return false;
    }
    return true;
}
