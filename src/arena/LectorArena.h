#ifndef ARENA_LECTORARENA_H
#define ARENA_LECTORARENA_H

#include <string>

#include "CGeometria.h"

// Reads the text of an arena file into geometria (cleared first). On
// malformed input returns false with sError = "sNombre:line: what is
// wrong" and leaves geometria empty. Never hangs: every count and every
// curve is bounded by the text that is there.
bool LeerArena(const std::string& sTexto, const std::string& sNombre, CGeometria& geometria, std::string& sError);

// Reads a whole arena file from disk and checks it with LeerArena.
bool CargarArena(const std::string& sRuta, std::string& sTexto, std::string& sError);

// The two built-in arenas as arena file texts.
const char* TextoArenaCirculo();
const char* TextoArenaCuadrado();

#endif
