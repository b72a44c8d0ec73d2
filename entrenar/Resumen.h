#ifndef RESUMEN_H
#define RESUMEN_H

#include <string>
#include <utility>
#include <vector>

// resumen.json: scalar entries in the order added, and the run's parameters
// under "parametros".
class CResumenJson {
public:
    void Limpiar();
    void Anyadir(const std::string& sClave, const std::string& sValor);
    void Anyadir(const std::string& sClave, double dValor);
    void AnyadirParametro(const std::string& sClave, const std::string& sValor);
    void AnyadirParametro(const std::string& sClave, double dValor);
    std::string Texto() const;

private:
    typedef std::vector<std::pair<std::string, std::string>> TEntradas;  // key, JSON value
    static std::string Cadena(const std::string& sTexto);
    static std::string Numero(double dValor);
    static void Escribir(std::string& sTexto, const TEntradas& vEntradas, const char* szSangria);

    TEntradas m_vEntradas;
    TEntradas m_vParametros;
};

#endif
