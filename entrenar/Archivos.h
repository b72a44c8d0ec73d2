#ifndef ARCHIVOS_H
#define ARCHIVOS_H

#include <string>

// Files are written with EscribirArchivoEntero: whole or not at all.
#include "Comun/ArchivoEntero.h"

// sCarpeta/sNombre.
std::string RutaEn(const std::string& sCarpeta, const std::string& sNombre);

// Creates the folder and its parents when missing.
bool CrearCarpeta(const std::string& sCarpeta, std::string& sError);

// Folders as a whole, for a checkpoint written under one name and renamed
// into place. Each is false with the reason (the system's) on failure.
bool Renombrar(const std::string& sDesde, const std::string& sA, std::string& sError);
// Removes a file or a whole folder; true when nothing is left.
bool Borrar(const std::string& sRuta, std::string& sError);
bool ExisteCarpeta(const std::string& sRuta);
// The folder that holds sRuta ("." for a bare name).
std::string CarpetaDe(const std::string& sRuta);

// The whole file, or false with the reason.
bool LeerFichero(const std::string& sRuta, std::string& sContenido, std::string& sError);

bool ExisteFichero(const std::string& sRuta);

#endif
