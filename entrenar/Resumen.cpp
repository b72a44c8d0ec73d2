#include "Resumen.h"

#include <cmath>
#include <cstdio>

void CResumenJson::Limpiar()
{
    m_vEntradas.clear();
    m_vParametros.clear();
}

void CResumenJson::Anyadir(const std::string& sClave, const std::string& sValor)
{
    m_vEntradas.emplace_back(sClave, Cadena(sValor));
}

void CResumenJson::Anyadir(const std::string& sClave, double dValor)
{
    m_vEntradas.emplace_back(sClave, Numero(dValor));
}

void CResumenJson::AnyadirParametro(const std::string& sClave, const std::string& sValor)
{
    m_vParametros.emplace_back(sClave, Cadena(sValor));
}

void CResumenJson::AnyadirParametro(const std::string& sClave, double dValor)
{
    m_vParametros.emplace_back(sClave, Numero(dValor));
}

// Texts are ISO 8859-1 inside the program; JSON wants UTF-8.
std::string CResumenJson::Cadena(const std::string& sTexto)
{
    std::string s = "\"";
    for (unsigned char c : sTexto) {
        if (c == '"' || c == '\\') {
            s += '\\';
            s += static_cast<char>(c);
        } else if (c < 0x20) {
            char szEscape[8];
            std::snprintf(szEscape, sizeof(szEscape), "\\u%04x", c);
            s += szEscape;
        } else if (c >= 0x80) {
            s += static_cast<char>(0xC0 | (c >> 6));
            s += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            s += static_cast<char>(c);
        }
    }
    return s + "\"";
}

std::string CResumenJson::Numero(double dValor)
{
    if (!std::isfinite(dValor))
        return "null";
    char szNumero[32];
    std::snprintf(szNumero, sizeof(szNumero), "%.10g", dValor);
    return szNumero;
}

void CResumenJson::Escribir(std::string& sTexto, const TEntradas& vEntradas, const char* szSangria)
{
    for (size_t i = 0; i < vEntradas.size(); ++i) {
        sTexto += szSangria + Cadena(vEntradas[i].first) + ": " + vEntradas[i].second;
        sTexto += i + 1 < vEntradas.size() ? ",\n" : "\n";
    }
}

std::string CResumenJson::Texto() const
{
    std::string sTexto = "{\n";
    Escribir(sTexto, m_vEntradas, " ");
    if (!m_vParametros.empty()) {
        if (!m_vEntradas.empty())
            sTexto.insert(sTexto.size() - 1, ",");
        sTexto += " \"parametros\": {\n";
        Escribir(sTexto, m_vParametros, "  ");
        sTexto += " }\n";
    }
    return sTexto + "}\n";
}
