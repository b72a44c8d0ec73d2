#include "Archivos.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

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
