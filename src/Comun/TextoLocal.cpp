#include "Comun/TextoLocal.h"

#include <atomic>
#include <clocale>
#include <cstdarg>
#include <cstring>
#include <vector>

#include <langinfo.h>
#include <strings.h>

namespace {

// Length of the UTF-8 sequence starting at nPos, or 0 when the bytes there
// are not one well-formed sequence (overlong forms, surrogates and values
// past U+10FFFF included).
std::size_t LongitudUtf8(const std::string& s, std::size_t nPos, unsigned& nCodigo)
{
    const unsigned char c = static_cast<unsigned char>(s[nPos]);
    std::size_t nLong = 0;
    unsigned nMinimo = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        nLong = 2, nMinimo = 0x80, nCodigo = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        nLong = 3, nMinimo = 0x800, nCodigo = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        nLong = 4, nMinimo = 0x10000, nCodigo = c & 0x07;
    } else {
        return 0;
    }
    if (nPos + nLong > s.size())
        return 0;
    for (std::size_t k = 1; k < nLong; ++k) {
        const unsigned char d = static_cast<unsigned char>(s[nPos + k]);
        if ((d & 0xC0) != 0x80)
            return 0;
        nCodigo = (nCodigo << 6) | (d & 0x3F);
    }
    if (nCodigo < nMinimo || nCodigo > 0x10FFFF || (nCodigo >= 0xD800 && nCodigo <= 0xDFFF))
        return 0;
    return nLong;
}

// -1 unknown yet, 0 not UTF-8, 1 UTF-8.
std::atomic<int> g_nLocalUtf8{-1};

// Asks the C library for the locale's encoding, then puts the C locale back
// so that nothing else in the program (number formats, character classes)
// changes.
bool ConsultarLocal()
{
    const char* szAnterior = std::setlocale(LC_CTYPE, nullptr);
    const std::string sAnterior = szAnterior ? szAnterior : "C";
    if (!std::setlocale(LC_CTYPE, ""))
        return false;
    const char* szCodigo = nl_langinfo(CODESET);
    const bool bUtf8 = szCodigo && (strcasecmp(szCodigo, "UTF-8") == 0 || strcasecmp(szCodigo, "UTF8") == 0);
    std::setlocale(LC_CTYPE, sAnterior.c_str());
    return bUtf8;
}

void AnyadirEscapeJson(std::string& sRes, unsigned nUnidad)
{
    char sz[8];
    std::snprintf(sz, sizeof(sz), "\\u%04x", nUnidad);
    sRes += sz;
}

}  // namespace

unsigned LeerCaracter(const std::string& sTexto, std::size_t& nPos)
{
    const unsigned char c = static_cast<unsigned char>(sTexto[nPos]);
    unsigned nCodigo = 0;
    const std::size_t nLong = c < 0x80 ? 0 : LongitudUtf8(sTexto, nPos, nCodigo);
    if (nLong == 0) {
        ++nPos;
        return c;
    }
    nPos += nLong;
    return nCodigo;
}

void AnyadirUtf8(std::string& sTexto, unsigned nCodigo)
{
    if (nCodigo < 0x80) {
        sTexto += static_cast<char>(nCodigo);
    } else if (nCodigo < 0x800) {
        sTexto += static_cast<char>(0xC0 | (nCodigo >> 6));
        sTexto += static_cast<char>(0x80 | (nCodigo & 0x3F));
    } else if (nCodigo < 0x10000) {
        sTexto += static_cast<char>(0xE0 | (nCodigo >> 12));
        sTexto += static_cast<char>(0x80 | ((nCodigo >> 6) & 0x3F));
        sTexto += static_cast<char>(0x80 | (nCodigo & 0x3F));
    } else {
        sTexto += static_cast<char>(0xF0 | (nCodigo >> 18));
        sTexto += static_cast<char>(0x80 | ((nCodigo >> 12) & 0x3F));
        sTexto += static_cast<char>(0x80 | ((nCodigo >> 6) & 0x3F));
        sTexto += static_cast<char>(0x80 | (nCodigo & 0x3F));
    }
}

std::string TextoUtf8(const std::string& sTexto)
{
    std::string sResultado;
    sResultado.reserve(sTexto.size());
    for (std::size_t nPos = 0; nPos < sTexto.size();)
        AnyadirUtf8(sResultado, LeerCaracter(sTexto, nPos));
    return sResultado;
}

std::string EscaparJson(const std::string& sTexto)
{
    std::string sRes;
    for (std::size_t nPos = 0; nPos < sTexto.size();) {
        const unsigned nCodigo = LeerCaracter(sTexto, nPos);
        if (nCodigo == '"' || nCodigo == '\\') {
            sRes += '\\';
            sRes += static_cast<char>(nCodigo);
        } else if (nCodigo > 0xFFFF) {
            AnyadirEscapeJson(sRes, 0xD800 + ((nCodigo - 0x10000) >> 10));
            AnyadirEscapeJson(sRes, 0xDC00 + ((nCodigo - 0x10000) & 0x3FF));
        } else if (nCodigo < 0x20 || nCodigo >= 0x7F || nCodigo == '<' || nCodigo == '>' || nCodigo == '&') {
            // '<', '>' and '&' too: they could close an inline script.
            AnyadirEscapeJson(sRes, nCodigo);
        } else {
            sRes += static_cast<char>(nCodigo);
        }
    }
    return sRes;
}

bool LocalEsUtf8()
{
    int nEstado = g_nLocalUtf8.load();
    if (nEstado < 0) {
        nEstado = ConsultarLocal() ? 1 : 0;
        g_nLocalUtf8.store(nEstado);
    }
    return nEstado == 1;
}

void FijarLocalUtf8(bool bUtf8) { g_nLocalUtf8.store(bUtf8 ? 1 : 0); }

std::string TextoLocal(const std::string& sTexto) { return LocalEsUtf8() ? TextoUtf8(sTexto) : sTexto; }

bool EscribirTexto(std::FILE* pSalida, const std::string& sTexto)
{
    const std::string s = TextoLocal(sTexto);
    return std::fwrite(s.data(), 1, s.size(), pSalida) == s.size();
}

bool EscribirFormato(std::FILE* pSalida, const char* szFormato, ...)
{
    va_list args;
    va_start(args, szFormato);
    va_list copia;
    va_copy(copia, args);
    const int nLong = std::vsnprintf(nullptr, 0, szFormato, copia);
    va_end(copia);
    if (nLong < 0) {
        va_end(args);
        return false;
    }
    std::vector<char> vTexto(static_cast<std::size_t>(nLong) + 1);
    std::vsnprintf(vTexto.data(), vTexto.size(), szFormato, args);
    va_end(args);
    return EscribirTexto(pSalida, std::string(vTexto.data(), static_cast<std::size_t>(nLong)));
}
