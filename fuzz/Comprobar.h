#ifndef FUZZ_COMPROBAR_H
#define FUZZ_COMPROBAR_H

// Shared by the fuzz targets: a broken promise of a reader is a crash, so
// that libFuzzer keeps the input that showed it.
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

inline void Fallo(const char* sMotivo)
{
    std::fprintf(stderr, "FALLO: %s\n", sMotivo);
    std::abort();
}

inline void Exigir(bool bCondicion, const char* sMotivo)
{
    if (!bCondicion)
        Fallo(sMotivo);
}

template <typename T>
std::string Texto(const T& objeto)
{
    std::ostringstream out;
    out << objeto;
    return out.str();
}

#endif
