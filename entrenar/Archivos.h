#ifndef ARCHIVOS_H
#define ARCHIVOS_H

#include <string>

// sCarpeta/sNombre.
std::string RutaEn(const std::string& sCarpeta, const std::string& sNombre);

// Creates the folder and its parents when missing.
bool CrearCarpeta(const std::string& sCarpeta, std::string& sError);

// Writes a temporary file beside sRuta and renames it over sRuta, so that
// sRuta holds either its old content or the whole new one.
bool EscribirFichero(const std::string& sRuta, const std::string& sContenido, std::string& sError);

// The whole file, or false with the reason.
bool LeerFichero(const std::string& sRuta, std::string& sContenido, std::string& sError);

bool ExisteFichero(const std::string& sRuta);

#endif
