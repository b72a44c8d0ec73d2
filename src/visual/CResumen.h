#ifndef CRESUMEN_H
#define CRESUMEN_H

#include <string>

#include "CJson.h"

// Writer of resumen.json, the run's summary that the report shows: scalar
// entries in the order they were added, and the run's parameters under
// "parametros". For example:
//   {"programa":"entrenar robot","semilla":7,"generaciones":50,
//    "mejor_puntuacion":3.5,"parametros":{"poblacion":150,"partidas":4}}
class CResumen {
public:
    CResumen();

    void Limpiar();

    void Anyadir(const std::string& sClave, const std::string& sValor);
    void Anyadir(const std::string& sClave, double dValor);
    void AnyadirParametro(const std::string& sClave, const std::string& sValor);
    void AnyadirParametro(const std::string& sClave, double dValor);

    std::string Texto() const;
    // Writes <sCarpeta>/resumen.json whole or not at all.
    bool Guardar(const std::string& sCarpeta, std::string& sError) const;

private:
    CJson m_Resumen;
    CJson m_Parametros;
};

#endif
