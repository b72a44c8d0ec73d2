#ifndef ARCHIVOS_H
#define ARCHIVOS_H

#include <string>

// sCarpeta/sNombre.
std::string RutaEn(const std::string& sCarpeta, const std::string& sNombre);

// Creates the folder and its parents when missing.
bool CrearCarpeta(const std::string& sCarpeta, std::string& sError);

// Writes a temporary file beside sRuta, flushes it to the disk and renames
// it over sRuta, then flushes the folder: sRuta holds either its old content
// or the whole new one, also after a crash or a power cut. On failure the
// reason names the path and what the system said (disk full, ...).
bool EscribirFichero(const std::string& sRuta, const std::string& sContenido, std::string& sError);

// Creates sRuta (which must not exist) with sContenido and flushes it to
// the disk; a file left half written is removed.
bool CrearFicheroDurable(const std::string& sRuta, const std::string& sContenido, std::string& sError);

// Flushes a folder's entries (new and renamed names) to the disk.
bool SincronizarCarpeta(const std::string& sCarpeta, std::string& sError);

// Renames, with the system's reason on failure.
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
