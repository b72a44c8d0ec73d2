#ifndef UTILVISUAL_H
#define UTILVISUAL_H

#include <string>
#include <vector>

// Files are written with EscribirArchivoEntero: whole or not at all.
#include "Comun/ArchivoEntero.h"
// EscaparJson, and the reading of mixed ISO 8859-1 / UTF-8 texts.
#include "Comun/TextoLocal.h"

// Small helpers shared by the diagram, the plots and the report: text
// escaping, whole-file reading and writing, and running outside programs.

std::string EscaparXml(const std::string& sTexto);
// Short decimal form for coordinates and values written into SVG/DOT/JSON.
std::string FormatearNumero(double dValor, int nDecimales = 2);

bool LeerArchivo(const std::string& sRuta, std::string& sContenido, std::string& sError);
bool ExisteArchivo(const std::string& sRuta);
bool EsCarpeta(const std::string& sRuta);
std::string UnirRuta(const std::string& sCarpeta, const std::string& sNombre);

// Full path of an executable found in PATH, or "" when there is none.
std::string BuscarPrograma(const std::string& sNombre);
// Runs vArgumentos[0] (looked up in PATH) without a shell, its standard
// output written atomically to sRutaSalida (discarded when empty) and its
// standard error kept for the message. True when it ended with status 0.
bool EjecutarPrograma(const std::vector<std::string>& vArgumentos, const std::string& sRutaSalida, std::string& sError);

#endif
