// Genome reader: a read either fails, leaving the stream failed and the
// target as it was, or gives a genome that builds its network, evaluates,
// and writes a text that reads back to itself.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "Comprobar.h"
#include "NEAT/CGenoma.h"

namespace {

void ComprobarIdaYVuelta(const CGenoma& genoma)
{
    const std::string sEscrito = Texto(genoma);
    std::istringstream in(sEscrito);
    CGenoma copia;
    Exigir(LeerGenoma(in, copia), "el lector rechaza lo que escribe el escritor");
    Exigir(Texto(copia) == sEscrito, "escribir lo leido no da el mismo texto");
}

void ComprobarUso(CGenoma& genoma)
{
    const CRedNeuronal* pRed = genoma.CrearFenotipo();
    Exigir(pRed != nullptr, "un genoma leido no construye su red");
    CRedNeuronal* pRedEvaluable = const_cast<CRedNeuronal*>(pRed);
    const TVecDoubles vEntradas(genoma.GetNumEntradas(), 0.5);
    const TVecDoubles vSalidas = pRedEvaluable->Actualizar(vEntradas, Ejecucion_PasoDinamico);
    Exigir(vSalidas.size() == genoma.GetNumSalidas(), "la red de un genoma leido no da una salida por salida");
    genoma.CalcularCompatibilidad(genoma);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pDatos, size_t nTam)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(pDatos), nTam));
    CGenoma genoma(77, 2, 1);
    genoma.SetEspecie(3);
    const std::string sAntes = Texto(genoma);
    if (!LeerGenoma(in, genoma)) {
        Exigir(in.fail(), "una lectura fallida dejo el flujo en buen estado");
        Exigir(Texto(genoma) == sAntes, "una lectura fallida cambio el genoma");
        return 0;
    }
    Exigir(genoma.GetEspecie() == 0 && genoma.GetIdoneidad() == 0.0, "el lector conserva especie o idoneidad");
    ComprobarIdaYVuelta(genoma);
    ComprobarUso(genoma);
    return 0;
}
