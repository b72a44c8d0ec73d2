#include "CJson.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "UtilVisual.h"

#include "Comun/TextoLocal.h"

namespace {
const int kProfundidadMaxima = 200;
}

// Recursive-descent reader over one text; reports the first fault with its line.
class CLectorJson {
public:
    explicit CLectorJson(const std::string& sTexto) : m_sTexto(sTexto), m_nPos(0) {}

    bool LeerDocumento(CJson& valor, std::string& sError)
    {
        if (!LeerValor(valor, 0) || (SaltarBlancos(), m_nPos != m_sTexto.size())) {
            if (m_sError.empty())
                m_sError = "texto de sobra tras el valor";
            sError =
                "JSON mal formado en la l"
                "\xED"
                "nea " +
                std::to_string(Linea()) + ": " + m_sError;
            return false;
        }
        return true;
    }

private:
    int Linea() const
    {
        int n = 1;
        for (size_t i = 0; i < m_nPos && i < m_sTexto.size(); ++i)
            n += m_sTexto[i] == '\n';
        return n;
    }

    bool Fallo(const char* szMotivo)
    {
        if (m_sError.empty())
            m_sError = szMotivo;
        return false;
    }

    void SaltarBlancos()
    {
        while (m_nPos < m_sTexto.size() && std::strchr(" \t\r\n", m_sTexto[m_nPos]) && m_sTexto[m_nPos])
            ++m_nPos;
    }

    bool Consumir(const char* szPalabra)
    {
        const size_t n = std::strlen(szPalabra);
        if (m_sTexto.compare(m_nPos, n, szPalabra) != 0)
            return false;
        m_nPos += n;
        return true;
    }

    bool LeerValor(CJson& valor, int nProfundidad)
    {
        if (nProfundidad > kProfundidadMaxima)
            return Fallo("anidamiento excesivo");
        SaltarBlancos();
        if (m_nPos >= m_sTexto.size())
            return Fallo("fin inesperado");
        const char c = m_sTexto[m_nPos];
        if (c == '{')
            return LeerObjeto(valor, nProfundidad);
        if (c == '[')
            return LeerLista(valor, nProfundidad);
        if (c == '"') {
            valor.Limpiar();
            valor.m_Tipo = Json_Texto;
            return LeerCadena(valor.m_sTexto);
        }
        if (Consumir("true")) {
            valor.SetBooleano(true);
            return true;
        }
        if (Consumir("false")) {
            valor.SetBooleano(false);
            return true;
        }
        if (Consumir("null")) {
            valor.SetNulo();
            return true;
        }
        return LeerNumero(valor);
    }

    bool LeerDigitos()
    {
        const size_t nInicio = m_nPos;
        while (m_nPos < m_sTexto.size() && m_sTexto[m_nPos] >= '0' && m_sTexto[m_nPos] <= '9')
            ++m_nPos;
        return m_nPos > nInicio;
    }

    bool LeerNumero(CJson& valor)
    {
        const size_t nInicio = m_nPos;
        if (m_nPos < m_sTexto.size() && m_sTexto[m_nPos] == '-')
            ++m_nPos;
        if (!LeerDigitos())
            return Fallo(
                "valor no v"
                "\xE1"
                "lido");
        // A fraction and an exponent, when there, need digits.
        bool bBienFormado = !Consumir(".") || LeerDigitos();
        if (bBienFormado && (Consumir("e") || Consumir("E"))) {
            if (!Consumir("+"))
                Consumir("-");
            bBienFormado = LeerDigitos();
        }
        if (!bBienFormado)
            return Fallo(
                "n"
                "\xFA"
                "mero mal formado");
        valor.Limpiar();
        valor.m_Tipo = Json_Numero;
        valor.m_sTexto = m_sTexto.substr(nInicio, m_nPos - nInicio);
        return true;
    }

    // Characters up to U+00FF are kept as their ISO 8859-1 byte, the form of
    // the programs' own texts; later ones as UTF-8. LeerCaracter reads both
    // back, so nothing is encoded twice.
    static void AnyadirCaracter(std::string& s, unsigned nCodigo)
    {
        if (nCodigo <= 0xFF)
            s += static_cast<char>(nCodigo);
        else
            AnyadirUtf8(s, nCodigo);
    }

    // Byte c (at m_nPos - 1) starts a UTF-8 sequence or is an ISO 8859-1
    // character itself, as the system's own texts are.
    void LeerCaracterAlto(std::string& s)
    {
        size_t nPos = m_nPos - 1;
        AnyadirCaracter(s, LeerCaracter(m_sTexto, nPos));
        m_nPos = nPos;
    }

    bool LeerCuatroHex(unsigned& nCodigo)
    {
        if (m_nPos + 4 > m_sTexto.size())
            return Fallo("escape incompleto");
        nCodigo = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = m_sTexto[m_nPos++];
            nCodigo <<= 4;
            if (c >= '0' && c <= '9')
                nCodigo |= c - '0';
            else if (c >= 'a' && c <= 'f')
                nCodigo |= c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                nCodigo |= c - 'A' + 10;
            else
                return Fallo(
                    "escape no v"
                    "\xE1"
                    "lido");
        }
        return true;
    }

    // \uXXXX, and a surrogate pair as the one character it stands for; a
    // lone surrogate becomes '?'.
    bool LeerEscapeUnicode(std::string& sSalida)
    {
        unsigned nCodigo = 0;
        if (!LeerCuatroHex(nCodigo))
            return false;
        if (nCodigo >= 0xD800 && nCodigo <= 0xDBFF && m_sTexto.compare(m_nPos, 2, "\\u") == 0) {
            const size_t nAntes = m_nPos;
            m_nPos += 2;
            unsigned nBajo = 0;
            if (!LeerCuatroHex(nBajo))
                return false;
            if (nBajo >= 0xDC00 && nBajo <= 0xDFFF) {
                AnyadirCaracter(sSalida, 0x10000 + ((nCodigo - 0xD800) << 10) + (nBajo - 0xDC00));
                return true;
            }
            m_nPos = nAntes;
        }
        AnyadirCaracter(sSalida, nCodigo >= 0xD800 && nCodigo <= 0xDFFF ? '?' : nCodigo);
        return true;
    }

    bool LeerCadena(std::string& sSalida)
    {
        ++m_nPos;  // opening quote
        std::string s;
        while (m_nPos < m_sTexto.size()) {
            const char c = m_sTexto[m_nPos++];
            if (c == '"') {
                sSalida.swap(s);
                return true;
            }
            if (static_cast<unsigned char>(c) < 0x20)
                return Fallo(
                    "car"
                    "\xE1"
                    "cter de control en un texto");
            if (static_cast<unsigned char>(c) >= 0x80) {
                LeerCaracterAlto(s);
                continue;
            }
            if (c != '\\') {
                s += c;
                continue;
            }
            if (m_nPos >= m_sTexto.size())
                break;
            const char e = m_sTexto[m_nPos++];
            const char* szSimples = "\"\\/bfnrt";
            const char* szValores = "\"\\/\b\f\n\r\t";
            const char* p = std::strchr(szSimples, e);
            if (e == 'u') {
                if (!LeerEscapeUnicode(s))
                    return false;
            } else if (p && e) {
                s += szValores[p - szSimples];
            } else {
                return Fallo(
                    "escape no v"
                    "\xE1"
                    "lido");
            }
        }
        return Fallo("texto sin cerrar");
    }

    // After an element of a list or an object: its closing bracket ends it
    // (bFin), a comma asks for one more element.
    bool TrasElemento(const char* szCierre, const char* szFalta, bool& bFin)
    {
        SaltarBlancos();
        bFin = Consumir(szCierre);
        return bFin || Consumir(",") || Fallo(szFalta);
    }

    bool LeerLista(CJson& valor, int nProfundidad)
    {
        ++m_nPos;
        std::vector<CJson> vElementos;
        SaltarBlancos();
        for (bool bFin = Consumir("]"); !bFin;) {
            vElementos.emplace_back();
            if (!LeerValor(vElementos.back(), nProfundidad + 1) || !TrasElemento("]", "falta ',' o ']'", bFin))
                return false;
        }
        valor.Limpiar();
        valor.m_Tipo = Json_Lista;
        valor.m_vElementos.swap(vElementos);
        return true;
    }

    bool LeerObjeto(CJson& valor, int nProfundidad)
    {
        ++m_nPos;
        std::vector<std::pair<std::string, CJson>> vMiembros;
        SaltarBlancos();
        for (bool bFin = Consumir("}"); !bFin;) {
            SaltarBlancos();
            if (m_nPos >= m_sTexto.size() || m_sTexto[m_nPos] != '"')
                return Fallo("se esperaba una clave");
            vMiembros.emplace_back();
            if (!LeerCadena(vMiembros.back().first))
                return false;
            SaltarBlancos();
            if (!Consumir(":"))
                return Fallo("falta ':'");
            if (!LeerValor(vMiembros.back().second, nProfundidad + 1) || !TrasElemento("}", "falta ',' o '}'", bFin))
                return false;
        }
        valor.Limpiar();
        valor.m_Tipo = Json_Objeto;
        valor.m_vMiembros.swap(vMiembros);
        return true;
    }

    const std::string& m_sTexto;
    size_t m_nPos;
    std::string m_sError;
};

CJson::CJson() : m_Tipo(Json_Nulo), m_bValor(false) {}

void CJson::Limpiar()
{
    m_Tipo = Json_Nulo;
    m_bValor = false;
    m_sTexto.clear();
    m_vElementos.clear();
    m_vMiembros.clear();
}

bool CJson::Leer(const std::string& sTexto, std::string& sError)
{
    CJson leido;
    CLectorJson lector(sTexto);
    if (!lector.LeerDocumento(leido, sError))
        return false;
    *this = leido;
    return true;
}

double CJson::GetNumero() const { return m_Tipo == Json_Numero ? std::strtod(m_sTexto.c_str(), nullptr) : 0.0; }

const CJson* CJson::Buscar(const std::string& sClave) const
{
    for (const auto& miembro : m_vMiembros)
        if (miembro.first == sClave)
            return &miembro.second;
    return nullptr;
}

std::string CJson::ComoTexto() const
{
    switch (m_Tipo) {
        case Json_Nulo:
            return "null";
        case Json_Booleano:
            return m_bValor ? "true" : "false";
        case Json_Numero:
        case Json_Texto:
            return m_sTexto;
        default:
            return "";
    }
}

void CJson::SetNulo() { Limpiar(); }
void CJson::SetBooleano(bool b)
{
    Limpiar();
    m_Tipo = Json_Booleano;
    m_bValor = b;
}

void CJson::SetNumero(double d)
{
    Limpiar();
    m_Tipo = Json_Numero;
    char sz[40];
    std::snprintf(sz, sizeof(sz), "%.10g", d);
    // JSON has no infinities or NaN.
    m_sTexto = (std::strpbrk(sz, "ni") ? "0" : sz);
}

void CJson::SetTexto(const std::string& s)
{
    Limpiar();
    m_Tipo = Json_Texto;
    m_sTexto = s;
}
void CJson::SetLista()
{
    Limpiar();
    m_Tipo = Json_Lista;
}
void CJson::SetObjeto()
{
    Limpiar();
    m_Tipo = Json_Objeto;
}
void CJson::AddElemento(const CJson& valor) { m_vElementos.push_back(valor); }

void CJson::SetMiembro(const std::string& sClave, const CJson& valor)
{
    for (auto& miembro : m_vMiembros)
        if (miembro.first == sClave) {
            miembro.second = valor;
            return;
        }
    m_vMiembros.emplace_back(sClave, valor);
}

std::string CJson::Escribir() const
{
    std::string s;
    EscribirEn(s);
    return s;
}

void CJson::EscribirEn(std::string& sSalida) const
{
    switch (m_Tipo) {
        case Json_Nulo:
        case Json_Booleano:
        case Json_Numero:
            sSalida += ComoTexto();
            break;
        case Json_Texto:
            sSalida += '"' + EscaparJson(m_sTexto) + '"';
            break;
        case Json_Lista:
            sSalida += '[';
            for (size_t i = 0; i < m_vElementos.size(); ++i) {
                if (i)
                    sSalida += ',';
                m_vElementos[i].EscribirEn(sSalida);
            }
            sSalida += ']';
            break;
        case Json_Objeto:
            sSalida += '{';
            for (size_t i = 0; i < m_vMiembros.size(); ++i) {
                if (i)
                    sSalida += ',';
                sSalida += '"' + EscaparJson(m_vMiembros[i].first) + "\":";
                m_vMiembros[i].second.EscribirEn(sSalida);
            }
            sSalida += '}';
            break;
    }
}
