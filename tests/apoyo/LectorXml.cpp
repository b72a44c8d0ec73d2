#include "LectorXml.h"

#include <cctype>
#include <cstring>

namespace {

class CLector {
public:
    CLector(const std::string& s, std::vector<SElementoXml>& v) : m_s(s), m_n(0), m_v(v) {}

    bool Documento(std::string& sError)
    {
        SaltarPrologo();
        if (!Elemento(-1))
            return Fallo(sError);
        SaltarMiscelanea();
        if (m_n != m_s.size()) {
            m_sError = "contenido tras el elemento ra\xEDz";
            return Fallo(sError);
        }
        return true;
    }

private:
    bool Fallo(std::string& sError)
    {
        sError = m_sError + " (posici\xF3n " + std::to_string(m_n) + ")";
        return false;
    }
    bool Error(const char* sz)
    {
        if (m_sError.empty())
            m_sError = sz;
        return false;
    }
    bool Empieza(const char* sz) const { return m_s.compare(m_n, std::strlen(sz), sz) == 0; }
    void Blancos()
    {
        while (m_n < m_s.size() && std::isspace(static_cast<unsigned char>(m_s[m_n])))
            ++m_n;
    }
    bool SaltarHasta(const char* szFin)
    {
        const size_t n = m_s.find(szFin, m_n);
        if (n == std::string::npos)
            return false;
        m_n = n + std::strlen(szFin);
        return true;
    }
    void SaltarMiscelanea()
    {
        for (;;) {
            Blancos();
            if (Empieza("<!--")) {
                if (!SaltarHasta("-->"))
                    return;
            } else if (Empieza("<?")) {
                if (!SaltarHasta("?>"))
                    return;
            } else
                return;
        }
    }
    void SaltarPrologo()
    {
        SaltarMiscelanea();
        if (Empieza("<!DOCTYPE")) {
            SaltarHasta(">");
            SaltarMiscelanea();
        }
    }
    bool Nombre(std::string& s)
    {
        const size_t n0 = m_n;
        while (m_n < m_s.size() &&
               (std::isalnum(static_cast<unsigned char>(m_s[m_n])) || std::strchr("_-:.", m_s[m_n])))
            ++m_n;
        s = m_s.substr(n0, m_n - n0);
        return !s.empty() && !std::isdigit(static_cast<unsigned char>(s[0])) && s[0] != '-' && s[0] != '.';
    }
    // Text with entities resolved; stops at szFin characters.
    bool Texto(const char* szFin, std::string& s)
    {
        while (m_n < m_s.size() && !std::strchr(szFin, m_s[m_n])) {
            if (m_s[m_n] == '<')
                return Error("'<' suelto");
            if (m_s[m_n] != '&') {
                s += m_s[m_n++];
                continue;
            }
            const size_t nFin = m_s.find(';', m_n);
            if (nFin == std::string::npos || nFin - m_n > 10)
                return Error("entidad sin cerrar");
            const std::string e = m_s.substr(m_n + 1, nFin - m_n - 1);
            if (e == "amp")
                s += '&';
            else if (e == "lt")
                s += '<';
            else if (e == "gt")
                s += '>';
            else if (e == "quot")
                s += '"';
            else if (e == "apos")
                s += '\'';
            else if (e.size() > 1 && e[0] == '#' && e.find_first_not_of("0123456789", 1) == std::string::npos)
                s += '?';
            else
                return Error("entidad desconocida");
            m_n = nFin + 1;
        }
        return true;
    }
    bool Atributos(SElementoXml& el)
    {
        for (;;) {
            const size_t nAntes = m_n;
            Blancos();
            if (Empieza("/>") || Empieza(">"))
                return true;
            if (m_n == nAntes)
                return Error("falta un blanco entre atributos");
            std::string sNombre, sValor;
            if (!Nombre(sNombre))
                return Error("nombre de atributo no v\xE1lido");
            Blancos();
            if (m_n >= m_s.size() || m_s[m_n] != '=')
                return Error("falta '=' en un atributo");
            ++m_n;
            Blancos();
            if (m_n >= m_s.size() || (m_s[m_n] != '"' && m_s[m_n] != '\''))
                return Error("atributo sin comillas");
            const char szComilla[2] = {m_s[m_n++], 0};
            if (!Texto(szComilla, sValor) || m_n >= m_s.size())
                return Error("atributo sin cerrar");
            ++m_n;
            if (el.mAtributos.count(sNombre))
                return Error("atributo repetido");
            el.mAtributos[sNombre] = sValor;
        }
    }
    bool Elemento(int nPadre)
    {
        if (m_n >= m_s.size() || m_s[m_n] != '<')
            return Error("se esperaba un elemento");
        ++m_n;
        SElementoXml el;
        el.nPadre = nPadre;
        if (!Nombre(el.sNombre))
            return Error("nombre de elemento no v\xE1lido");
        if (!Atributos(el))
            return false;
        const int nYo = static_cast<int>(m_v.size());
        m_v.push_back(el);
        if (Empieza("/>")) {
            m_n += 2;
            return true;
        }
        ++m_n;  // '>'
        return Contenido(nYo);
    }
    bool Contenido(int nYo)
    {
        for (;;) {
            std::string sTexto;
            if (!Texto("<", sTexto))
                return false;
            m_v[nYo].sTexto += sTexto;
            if (m_n >= m_s.size())
                return Error("elemento sin cerrar");
            if (Empieza("<!--")) {
                if (!SaltarHasta("-->"))
                    return Error("comentario sin cerrar");
            } else if (Empieza("<![CDATA[")) {
                const size_t n0 = m_n + 9;
                if (!SaltarHasta("]]>"))
                    return Error("CDATA sin cerrar");
                m_v[nYo].sTexto += m_s.substr(n0, m_n - 3 - n0);
            } else if (Empieza("</")) {
                m_n += 2;
                std::string sNombre;
                if (!Nombre(sNombre) || sNombre != m_v[nYo].sNombre)
                    return Error("cierre que no corresponde");
                Blancos();
                if (m_n >= m_s.size() || m_s[m_n] != '>')
                    return Error("cierre mal formado");
                ++m_n;
                return true;
            } else if (!Elemento(nYo)) {
                return false;
            }
        }
    }

    const std::string& m_s;
    size_t m_n;
    std::vector<SElementoXml>& m_v;
    std::string m_sError;
};

}  // namespace

bool LeerXml(const std::string& sDoc, std::vector<SElementoXml>& vElementos, std::string& sError)
{
    std::vector<SElementoXml> v;
    CLector lector(sDoc, v);
    if (!lector.Documento(sError))
        return false;
    vElementos.swap(v);
    return true;
}

std::vector<const SElementoXml*> ElementosXml(const std::vector<SElementoXml>& v, const std::string& sNombre,
                                              const std::string& sClase)
{
    std::vector<const SElementoXml*> r;
    for (const SElementoXml& el : v) {
        if (el.sNombre != sNombre)
            continue;
        auto it = el.mAtributos.find("class");
        if (sClase.empty() || (it != el.mAtributos.end() && it->second == sClase))
            r.push_back(&el);
    }
    return r;
}
