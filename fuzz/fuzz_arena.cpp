// Arena file reader: any input is either refused with "name:line: reason"
// and an empty geometry, or read into walls whose every number is finite
// and on which the queries of a match answer finite values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "Comprobar.h"
#include "LectorArena.h"

namespace {

bool Finita(const SFigura& f)
{
    const double vd[] = {f.dRebote, f.dDureza,        f.dX1,      f.dY1,      f.dX2, f.dY2, f.dMedio,
                         f.dRadio,  f.dRadioInterior, f.dAngulo1, f.dAngulo2, f.dUX, f.dUY, f.dLargo};
    for (double d : vd) {
        if (!std::isfinite(d))
            return false;
    }
    return true;
}

void Consultar(const CGeometria& geo)
{
    const double dX = 0.5 * (geo.GetX1() + geo.GetX2()), dY = 0.5 * (geo.GetY1() + geo.GetY2());
    for (int i = 0; i < 8; ++i) {
        const double dAngulo = i * 0.785398163397448 + 0.1;
        const double dUX = std::cos(dAngulo), dUY = std::sin(dAngulo);
        SContacto c;
        if (geo.Cruce(dX, dY, dUX, dUY, 0.0, 1e10, c))
            Exigir(c.dDistancia >= 0 && std::isfinite(c.dNX) && std::isfinite(c.dNY), "radar sin sentido");
        if (geo.Cruce(dX, dY, dUX, dUY, 0.5, 0.3, c))
            Exigir(c.dDistancia >= 0 && c.dDistancia <= 0.3, "contacto fuera del tramo");
        geo.LibreDeParedes(dX + dUX, dY + dUY, 0.6);
        geo.OcultaExclusiones(dX + dUX, dY + dUY, 0.6);
        Exigir(!std::isnan(geo.Holgura(dX, dY, 0.5)), "holgura sin sentido");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pDatos, size_t nTamanyo)
{
    const std::string sTexto(reinterpret_cast<const char*>(pDatos), nTamanyo);
    CGeometria geo;
    std::string sError;
    if (!LeerArena(sTexto, "f.arena", geo, sError)) {
        Exigir(sError.rfind("f.arena:", 0) == 0, "error sin archivo ni l\xEDnea");
        Exigir(geo.GetFiguras().empty() && geo.GetExclusiones().empty(), "rechazo que deja figuras");
        return 0;
    }
    Exigir(geo.GetX2() > geo.GetX1() && geo.GetY2() > geo.GetY1(), "l\xEDmites vac\xEDos aceptados");
    for (const SFigura& f : geo.GetFiguras())
        Exigir(Finita(f), "figura con n\xFAmeros no finitos");
    Consultar(geo);
    return 0;
}
