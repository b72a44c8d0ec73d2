#include "redes.h"

#include <cstddef>

#include "DebugLib/Random/Random.h"

const std::vector<SFormaRed>& FormasRed()
{
    static const std::vector<SFormaRed> vFormas = {
        {"2-1", 2, 1, {}, {3}},
        {"10-20-5", 10, 5, {10, 10}, {6, 5, 9}},
        {"30-90-10", 30, 10, {30, 30, 30}, {10, 10, 10, 15}},
    };
    return vFormas;
}

namespace {

// Ids of each layer: inputs and bias, the hidden layers, the outputs.
std::vector<std::vector<int>> IDsPorCapa(const SFormaRed& forma)
{
    std::vector<std::vector<int>> vCapas(1);
    for (int i = 0; i <= forma.nEntradas; ++i)
        vCapas[0].push_back(i);
    int nSigID = forma.nEntradas + 1 + forma.nSalidas;
    for (int nTam : forma.vCapasOcultas) {
        vCapas.push_back({});
        for (int j = 0; j < nTam; ++j)
            vCapas.back().push_back(nSigID++);
    }
    vCapas.push_back({});
    for (int j = 0; j < forma.nSalidas; ++j)
        vCapas.back().push_back(forma.nEntradas + 1 + j);
    return vCapas;
}

}  // namespace

CGenoma GenomaEnCapas(const SFormaRed& forma, unsigned int nSemilla)
{
    SetSemillaRandom(nSemilla);
    const std::vector<std::vector<int>> vCapas = IDsPorCapa(forma);
    const double dCapas = static_cast<double>(vCapas.size() - 1);

    TGNeuronas vNeuronas;
    const int n = forma.nEntradas, m = forma.nSalidas;
    for (int i = 0; i < n; ++i)
        vNeuronas.push_back(SGenNeurona(Neurona_Entrada, i, (i + 2.0) / (n + 2), 0.0, false));
    vNeuronas.push_back(SGenNeurona(Neurona_Sesgo, n, 1.0 / (n + 2), 0.0, false));
    for (int j = 0; j < m; ++j)
        vNeuronas.push_back(SGenNeurona(Neurona_Salida, n + 1 + j, (j + 1.0) / (m + 1), 1.0, false));
    for (std::size_t c = 1; c + 1 < vCapas.size(); ++c) {
        for (std::size_t j = 0; j < vCapas[c].size(); ++j)
            vNeuronas.push_back(
                SGenNeurona(Neurona_Oculta, vCapas[c][j], (j + 1.0) / (vCapas[c].size() + 1), c / dCapas, false));
    }

    // Neuron j of a layer reads from neurons j, j+1, ... of the layer before.
    TGEnlaces vEnlaces;
    int nInnovacion = static_cast<int>(vNeuronas.size());
    for (std::size_t c = 1; c < vCapas.size(); ++c) {
        const std::vector<int>& vAntes = vCapas[c - 1];
        for (std::size_t j = 0; j < vCapas[c].size(); ++j) {
            for (int t = 0; t < forma.vGradoEntrada[c - 1]; ++t) {
                const int nDesde = vAntes[(j + t) % vAntes.size()];
                vEnlaces.push_back(SGenEnlace(nDesde, vCapas[c][j], true, nInnovacion++, RandomDouble(-1, 1), false));
            }
        }
    }
    return CGenoma(0, vNeuronas, vEnlaces, n, m);
}

int NumEnlacesHabilitados(const CGenoma& genoma)
{
    int nEnlaces = 0;
    for (const SGenEnlace& gen : genoma.GetGenesEnlace())
        nEnlaces += gen.bHabilitado ? 1 : 0;
    return nEnlaces;
}

CInnovacion BDInnovacionesDe(int nRegistros)
{
    SetSemillaRandom(7);
    CInnovacion bd(CGenoma(0, 2, 1));
    // Every third step splits a link (three records), the others join two
    // known neurons (one record).
    int nPar = 0;
    while (static_cast<int>(bd.GetBDInnovaciones().size()) < nRegistros) {
        const int nNeuronas = bd.GetSigIDNeurona();
        const int nDesde = nPar % nNeuronas;
        const int nHasta = (nPar / nNeuronas + nDesde + 1) % nNeuronas;
        ++nPar;
        if (nPar % 3 == 0) {
            bd.CrearNuevaInnovacion(nDesde, nHasta, INO_Neurona, Neurona_Oculta, 0.5, 0.5);
            const int nNueva = bd.GetSigIDNeurona() - 1;
            bd.CrearNuevaInnovacion(nDesde, nNueva, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
            bd.CrearNuevaInnovacion(nNueva, nHasta, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
        } else {
            bd.CrearNuevaInnovacion(nDesde, nHasta, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
        }
    }
    return bd;
}
