#include "DebugLib/LogUtils/CLog.h"

#include <cstdarg>
#include <cstdio>

CLog::CLog(std::string sRuta, const char* szModo)
    : m_bMostrarPorConsola(false), m_bMostrarEnArchivo(true), m_sRuta(sRuta)
{
    // "w" starts the file afresh; any other mode keeps what it holds.
    if (szModo && szModo[0] == 'w' && !m_sRuta.empty()) {
        if (FILE* pArchivo = std::fopen(m_sRuta.c_str(), "w"))
            std::fclose(pArchivo);
    }
}

CLog::~CLog() {}

void CLog::anyadirALog(const char* format, ...)
{
    if (m_bMostrarPorConsola) {
        va_list args;
        va_start(args, format);
        std::vprintf(format, args);
        va_end(args);
        std::fflush(stdout);
    }
    if (m_bMostrarEnArchivo && !m_sRuta.empty()) {
        if (FILE* pArchivo = std::fopen(m_sRuta.c_str(), "a")) {
            va_list args;
            va_start(args, format);
            std::vfprintf(pArchivo, format, args);
            va_end(args);
            std::fclose(pArchivo);
        }
    }
}

void CLog::mostrarPorConsola(bool bMostrar) { m_bMostrarPorConsola = bMostrar; }

void CLog::mostrarEnArchivo(bool bMostrar) { m_bMostrarEnArchivo = bMostrar; }
