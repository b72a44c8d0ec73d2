// Network text reader: decoding and loading either fail and leave the
// network empty, or give a network the writer can write and the reader read
// back to the same text.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

#include "Comprobar.h"
#include "NEAT/CRedNeuronal.h"

namespace {

bool IDsUnicos(const CRedNeuronal& red)
{
    std::set<int> ids;
    for (const SNeurona* pNeurona : red.GetRed()) {
        if (!ids.insert(pNeurona->nID).second)
            return false;
    }
    return true;
}

size_t ContarEntradas(const CRedNeuronal& red)
{
    size_t n = 0;
    while (n < red.GetRed().size() && red.GetRed()[n]->TipoNeurona == Neurona_Entrada)
        ++n;
    return n;
}

// Writing names link ends by neuron id, so only a network with unique ids
// is expected to come back unchanged.
void ComprobarIdaYVuelta(const CRedNeuronal& red)
{
    const std::string sEscrito = Texto(red);
    std::string sPlano;
    Exigir(DecodificarTextoRed(sEscrito, sPlano), "el lector no descodifica lo que escribe el escritor");
    CRedNeuronal copia;
    Exigir(CargarTextoPlanoRed(sPlano, copia), "el lector rechaza lo que escribe el escritor");
    if (IDsUnicos(red))
        Exigir(Texto(copia) == sEscrito, "escribir lo leido no da el mismo texto");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pDatos, size_t nTam)
{
    const std::string sEntrada(reinterpret_cast<const char*>(pDatos), nTam);
    std::string sPlano = "sin tocar";
    if (!DecodificarTextoRed(sEntrada, sPlano)) {
        Exigir(sPlano == "sin tocar", "una descodificacion fallida cambio su salida");
        return 0;
    }
    CRedNeuronal red;
    if (!CargarTextoPlanoRed(sPlano, red)) {
        Exigir(red.GetRed().empty(), "una lectura fallida dejo neuronas en la red");
        return 0;
    }
    ComprobarIdaYVuelta(red);
    // A network that loads can be evaluated in both modes.
    const TVecDoubles vEntradas(ContarEntradas(red), 0.5);
    red.Actualizar(vEntradas, Ejecucion_PasoDinamico);
    red.Actualizar(vEntradas, Ejecucion_Instantanea);
    return 0;
}
