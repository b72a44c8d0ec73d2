#ifndef ARCHIVOS_H
#define ARCHIVOS_H

#include <string>

// Files are written with EscribirArchivoEntero: whole or not at all.
#include "Comun/ArchivoEntero.h"

// sCarpeta/sNombre.
std::string RutaEn(const std::string& sCarpeta, const std::string& sNombre);

// Creates the folder and its parents when missing.
bool CrearCarpeta(const std::string& sCarpeta, std::string& sError);

// The whole file, or false with the reason.
bool LeerFichero(const std::string& sRuta, std::string& sContenido, std::string& sError);

bool ExisteFichero(const std::string& sRuta);

#endif
