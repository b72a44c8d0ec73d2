// Innovation database reader: a read either fails, leaving the stream failed
// and the database as it was, or gives a consistent database whose text
// reads back to itself and that can keep numbering innovations.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "Comprobar.h"
#include "NEAT/CGenoma.h"
#include "NEAT/CInnovacion.h"

namespace {

void ComprobarCoherencia(const CInnovacion& bd)
{
    const TInnovaciones& vRegistros = bd.GetBDInnovaciones();
    Exigir(bd.GetSigIDInnovacion() == static_cast<int>(vRegistros.size()),
           "el contador de innovaciones no es el numero de registros");
    int nNeurona = 0;
    for (size_t i = 0; i < vRegistros.size(); ++i) {
        Exigir(vRegistros[i].nID == static_cast<int>(i), "un registro no lleva su posicion como numero");
        if (vRegistros[i].tipo == INO_Neurona)
            Exigir(vRegistros[i].nIDNeurona == nNeurona++, "las neuronas no quedan numeradas en orden");
    }
    Exigir(bd.GetSigIDNeurona() >= nNeurona, "el contador de neuronas queda por detras de sus registros");
}

void ComprobarIdaYVuelta(const CInnovacion& bd)
{
    const std::string sEscrito = Texto(bd);
    std::istringstream in(sEscrito);
    CInnovacion copia{CGenoma()};
    Exigir(LeerInnovaciones(in, copia), "el lector rechaza lo que escribe el escritor");
    Exigir(Texto(copia) == sEscrito, "escribir lo leido no da el mismo texto");
}

// New records continue the numbering of the ones read.
void ComprobarUso(CInnovacion& bd)
{
    const int nSiguiente = bd.GetSigIDInnovacion();
    bd.CrearNuevaInnovacion(-5, -6, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
    Exigir(bd.GetSigIDInnovacion() == nSiguiente + 1 && bd.GetBDInnovaciones().back().nID == nSiguiente,
           "una innovacion nueva no sigue la numeracion leida");
    Exigir(bd.ComprobarInnovacion(-5, -6, INO_Enlace) >= 0, "una innovacion nueva no se encuentra");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pDatos, size_t nTam)
{
    std::istringstream in(std::string(reinterpret_cast<const char*>(pDatos), nTam));
    CInnovacion bd{CGenoma(0, 2, 1)};
    const std::string sAntes = Texto(bd);
    if (!LeerInnovaciones(in, bd)) {
        Exigir(in.fail(), "una lectura fallida dejo el flujo en buen estado");
        Exigir(Texto(bd) == sAntes, "una lectura fallida cambio la base de datos");
        return 0;
    }
    ComprobarCoherencia(bd);
    ComprobarIdaYVuelta(bd);
    ComprobarUso(bd);
    return 0;
}
