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
