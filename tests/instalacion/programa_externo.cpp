// Evolves a few generations of a small population through the installed
// headers and libraries only.
#include <cstdio>
#include <vector>

#include "NEAT/CAlgoritmoGenetico.h"
#include "NEAT/DebugLib/Random/Random.h"

namespace {

class CMiembro : public IIndividuoIA {
public:
    CGenoma* Genoma() { return m_pGenoma; }
};

double Evaluar(CMiembro& miembro)
{
    CRedNeuronal* pRed = const_cast<CRedNeuronal*>(miembro.Genoma()->CrearFenotipo());
    const TVecDoubles vEntradas = {1.0, 0.0};
    return pRed->Actualizar(vEntradas, Ejecucion_Instantanea)[0];
}

}  // namespace

int main()
{
    SetSemillaRandom(7u);
    CAlgoritmoGenetico ag;
    ag.Inicializar(2, 1);
    std::vector<CMiembro> vMiembros(12);
    TPoblacionIA vPoblacion;
    for (CMiembro& miembro : vMiembros) {
        ag.CrearMente(&miembro);
        vPoblacion.push_back(&miembro);
    }
    for (int n = 0; n < 3; ++n) {
        for (CMiembro& miembro : vMiembros)
            miembro.SetPuntuacion(Evaluar(miembro));
        ag.Epoca(vPoblacion);
    }
    const std::size_t nMejores = ag.GetMejoresFenotipos().size();
    std::printf("generaciones %d mejores %zu\n", ag.GetGeneracion(), nMejores);
    for (CMiembro& miembro : vMiembros)
        miembro.BorrarGenoma();
    return ag.GetGeneracion() == 3 && nMejores == 2 ? 0 : 1;
}
