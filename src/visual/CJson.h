#ifndef CJSON_H
#define CJSON_H

#include <string>
#include <utility>
#include <vector>

// A small JSON reader for the run's own files (resumen.json, partida.json).
// Numbers keep their original text so that writing a value back out is
// exact. Strings hold characters up to U+00FF as ISO 8859-1 bytes (the
// programs' own texts compare equal) and later ones as UTF-8; a lone high
// byte in the text is taken as ISO 8859-1. Written out, they are plain
// ASCII with escapes (see LeerCaracter in Comun/TextoLocal.h).

enum TJson { Json_Nulo = 0, Json_Booleano, Json_Numero, Json_Texto, Json_Lista, Json_Objeto };

class CJson {
public:
    CJson();

    void Limpiar();

    // Replaces this value with the one in sTexto; on failure leaves it
    // untouched and says where the text went wrong.
    bool Leer(const std::string& sTexto, std::string& sError);
    // Compact form, plain ASCII, safe to place inside an HTML script element.
    std::string Escribir() const;

    TJson GetTipo() const { return m_Tipo; }
    bool GetBooleano() const { return m_bValor; }
    double GetNumero() const;
    const std::string& GetTexto() const { return m_sTexto; }
    const std::vector<CJson>& GetElementos() const { return m_vElementos; }
    const std::vector<std::pair<std::string, CJson>>& GetMiembros() const { return m_vMiembros; }
    // Member by key, or nullptr.
    const CJson* Buscar(const std::string& sClave) const;
    // Scalar value as display text ("" for lists and objects).
    std::string ComoTexto() const;

    void SetNulo();
    void SetBooleano(bool b);
    void SetNumero(double d);
    void SetTexto(const std::string& s);
    void SetLista();
    void SetObjeto();
    void AddElemento(const CJson& valor);
    // Replaces an existing member of that key.
    void SetMiembro(const std::string& sClave, const CJson& valor);

private:
    friend class CLectorJson;
    void EscribirEn(std::string& sSalida) const;

    TJson m_Tipo;
    bool m_bValor;
    std::string m_sTexto;  // string value, or the text of a number
    std::vector<CJson> m_vElementos;
    std::vector<std::pair<std::string, CJson>> m_vMiembros;
};

#endif
