// Population file parser: a parse either fails, leaving its outputs as they
// were, or gives genomes and a database whose text, written the way a save
// writes it, parses back to the same text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Comprobar.h"
#include "NEAT/CAlgoritmoGenetico.h"

namespace {

std::string Componer(int nGeneracion, const std::vector<CGenoma>& vGenomas, const CInnovacion& bd)
{
    std::string s = std::to_string(nGeneracion) + "\n" + std::to_string(vGenomas.size()) + "\n";
    for (const CGenoma& g : vGenomas)
        s += Texto(g) + "\n";
    return s + Texto(bd);
}

// Every genome only uses neurons and innovations its database numbered.
void ComprobarIDs(const std::vector<CGenoma>& vGenomas, const CInnovacion& bd)
{
    for (const CGenoma& g : vGenomas) {
        for (const SGenNeurona& n : g.GetGenesNeurona())
            Exigir(n.nID >= 0 && n.nID < bd.GetSigIDNeurona(), "una neurona fuera de la base de datos");
        for (const SGenEnlace& e : g.GetGenesEnlace())
            Exigir(e.nIDInnovacion >= 0 && e.nIDInnovacion < bd.GetSigIDInnovacion(),
                   "una innovacion fuera de la base de datos");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pDatos, size_t nTam)
{
    const std::string sTexto(reinterpret_cast<const char*>(pDatos), nTam);
    int nGeneracion = -7;
    CGenoma testigo;
    testigo.SetID(99);
    std::vector<CGenoma> vGenomas{testigo};
    CInnovacion bd{CGenoma(0, 2, 1)};
    const std::string sAntes = Componer(nGeneracion, vGenomas, bd);
    std::string sMotivo;
    if (!LeerTextoPoblacion(sTexto, nGeneracion, vGenomas, bd, sMotivo)) {
        Exigir(!sMotivo.empty(), "un fallo sin motivo");
        Exigir(Componer(nGeneracion, vGenomas, bd) == sAntes, "una lectura fallida cambio sus salidas");
        return 0;
    }
    ComprobarIDs(vGenomas, bd);
    const std::string sEscrito = Componer(nGeneracion, vGenomas, bd);
    int nGeneracion2 = 0;
    std::vector<CGenoma> vGenomas2;
    CInnovacion bd2{CGenoma()};
    Exigir(LeerTextoPoblacion(sEscrito, nGeneracion2, vGenomas2, bd2, sMotivo), "el lector rechaza lo escrito");
    Exigir(Componer(nGeneracion2, vGenomas2, bd2) == sEscrito, "escribir lo leido no da el mismo texto");
    return 0;
}
