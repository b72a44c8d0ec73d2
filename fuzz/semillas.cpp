// Writes the fuzzers' seed corpora from the writers' own output:
//   semillas DIRECTORIO_CORPUS RED_PLANA
// where RED_PLANA is a network in plain text form (the hand-made one).
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "DebugLib/Random/Random.h"
#include "NEAT/CAlgoritmoGenetico.h"
#include "NEAT/CGenoma.h"
#include "NEAT/CInnovacion.h"
#include "NEAT/CRedNeuronal.h"

namespace {

template <typename T>
bool Escribir(const std::string& sRuta, const T& objeto)
{
    std::ofstream out(sRuta, std::ios::binary);
    out << objeto;
    out.close();
    if (!out) {
        std::cerr << "no se pudo escribir " << sRuta << "\n";
        return false;
    }
    return true;
}

// A genome grown by every structural mutation, and its database.
struct SEvolucionado {
    CGenoma genoma;
    CInnovacion bd;
    SEvolucionado(int nEntradas, int nSalidas, int nRondas) : genoma(5, nEntradas, nSalidas), bd(genoma)
    {
        for (int i = 0; i < nRondas; ++i) {
            genoma.AddNeurona(0.5, bd, 5);
            genoma.AddEnlace(0.5, 0.2, bd, 5, 5);
            genoma.MutarPesos(0.5, 0.1, 0.5);
            genoma.MutarCurvaturaActivacion(0.3, 0.2);
        }
        genoma.SetEspecie(2);
        genoma.SetIdoneidad(3.75);
    }
};

bool EscribirRedes(const std::string& sDir, const std::string& sRedPlana, CGenoma& genoma)
{
    std::ifstream in(sRedPlana, std::ios::binary);
    const std::string sPlano((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    CRedNeuronal manual;
    if (!CargarTextoPlanoRed(sPlano, manual)) {
        std::cerr << "red no valida: " << sRedPlana << "\n";
        return false;
    }
    CRedNeuronal vacia;
    return Escribir(sDir + "/red/manual", manual) && Escribir(sDir + "/red/vacia", vacia) &&
           Escribir(sDir + "/red/fenotipo", *genoma.CrearFenotipo());
}

bool EscribirGenomasEInnovaciones(const std::string& sDir, const SEvolucionado& e)
{
    CInnovacion bdOnce{CGenoma()};
    bdOnce.CrearNuevaInnovacion(3, 5, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
    bdOnce.SetSigIDNeurona(6);
    const CGenoma minimo(0, 1, 1);
    return Escribir(sDir + "/genoma/minimo", minimo) && Escribir(sDir + "/genoma/vacio", CGenoma()) &&
           Escribir(sDir + "/genoma/evolucionado", e.genoma) &&
           Escribir(sDir + "/innovaciones/minima", CInnovacion(minimo)) &&
           Escribir(sDir + "/innovaciones/vacia", CInnovacion(CGenoma())) &&
           Escribir(sDir + "/innovaciones/once_lineas", bdOnce) && Escribir(sDir + "/innovaciones/evolucionada", e.bd);
}

class CIndividuo : public IIndividuoIA {
public:
    ~CIndividuo() { BorrarGenoma(); }
};

// Population files with key 0, after a few epochs with made-up scores, and
// with no individuals.
void EscribirPoblaciones(const std::string& sDir)
{
    CAlgoritmoGenetico ag;
    ag.Inicializar(2, 1);
    SetSemillaRandom(1);
    ag.SetProbabilidadAnyadirNeurona(0.5);
    std::vector<CIndividuo> vIndividuos(4);
    TPoblacionIA vPoblacion;
    for (CIndividuo& individuo : vIndividuos) {
        vPoblacion.push_back(&individuo);
        ag.CrearMente(&individuo);
    }
    for (int nEpoca = 0; nEpoca < 8; ++nEpoca) {
        for (IIndividuoIA* pIndividuo : vPoblacion)
            pIndividuo->SetPuntuacion(RandomDouble(0, 10));
        ag.Epoca(vPoblacion);
    }
    ag.SalvarPoblacion(vPoblacion, (sDir + "/poblacion/evolucionada").c_str(), 0);
    ag.SalvarPoblacion(TPoblacionIA(), (sDir + "/poblacion/vacia").c_str(), 0);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "uso: semillas DIRECTORIO_CORPUS RED_PLANA\n";
        return 2;
    }
    SetSemillaRandom(1);
    const std::string sDir = argv[1];
    SEvolucionado e(3, 2, 12);
    if (!EscribirRedes(sDir, argv[2], e.genoma) || !EscribirGenomasEInnovaciones(sDir, e))
        return 1;
    EscribirPoblaciones(sDir);
    return 0;
}
