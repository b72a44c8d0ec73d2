// Two engine options for tasks that need memory from the start and many
// distinct candidates: first genomes with a loop on each output, and
// generations without unchanged copies of the species leaders.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "DebugLib/Random/Random.h"
#include "NEAT/CAlgoritmoGenetico.h"
#include "NEAT/CInnovacion.h"

namespace {

class CMiembro : public IIndividuoIA {
public:
    ~CMiembro() { BorrarGenoma(); }
};

struct SPoblacion {
    std::vector<std::unique_ptr<CMiembro>> vMiembros;
    TPoblacionIA vPoblacion;

    void Crear(CAlgoritmoGenetico& ag, int n)
    {
        for (int i = 0; i < n; ++i) {
            vMiembros.emplace_back(new CMiembro);
            vPoblacion.push_back(vMiembros.back().get());
            ag.CrearMente(vPoblacion.back());
        }
    }
};

int BuclesDe(const CGenoma& genoma, int nIDNeurona, int& nInnovacion)
{
    int nBucles = 0;
    for (const SGenEnlace& gen : genoma.GetGenesEnlace()) {
        if (gen.nIDNeuronaInicio == nIDNeurona && gen.nIDNeuronaFin == nIDNeurona) {
            EXPECT_TRUE(gen.bRecurrente);
            EXPECT_TRUE(gen.bHabilitado);
            nInnovacion = gen.nIDInnovacion;
            ++nBucles;
        }
    }
    return nBucles;
}

}  // namespace

TEST(BuclesSalidaIniciales, CadaSalidaConUnBucleCompartidoYNadaMasSinLaOpcion)
{
    SetSemillaRandom(3);
    CAlgoritmoGenetico ag;
    ag.Inicializar(3, 2);
    SPoblacion sin;
    sin.Crear(ag, 2);
    for (const IIndividuoIA* pMiembro : sin.vPoblacion)
        EXPECT_EQ(pMiembro->GetGenoma()->GetNumGenesEnlace(), 8u);  // (3 inputs + bias) x 2 outputs

    ag.SetBuclesSalidaIniciales(true);
    SPoblacion con;
    con.Crear(ag, 3);
    std::set<int> vInnovaciones[2];
    for (const IIndividuoIA* pMiembro : con.vPoblacion) {
        const CGenoma& genoma = *pMiembro->GetGenoma();
        EXPECT_EQ(genoma.GetNumGenesEnlace(), 10u);
        for (int nSalida = 0; nSalida < 2; ++nSalida) {
            const int nID = 4 + nSalida;  // outputs follow the inputs and the bias
            int nInnovacion = -1;
            EXPECT_EQ(BuclesDe(genoma, nID, nInnovacion), 1);
            vInnovaciones[nSalida].insert(nInnovacion);
            EXPECT_TRUE(genoma.GetGenesNeurona()[genoma.GetPosicionNeurona(nID)].bRecurrente);
        }
        // In innovation order, as every other genome keeps its links.
        for (size_t i = 1; i < genoma.GetNumGenesEnlace(); ++i)
            EXPECT_LT(genoma.GetGenesEnlace()[i - 1].nIDInnovacion, genoma.GetGenesEnlace()[i].nIDInnovacion);
    }
    // One innovation per output's loop, shared by every genome, so that
    // their distances do not count the loops as different genes.
    EXPECT_EQ(vInnovaciones[0].size(), 1u);
    EXPECT_EQ(vInnovaciones[1].size(), 1u);
    EXPECT_NE(*vInnovaciones[0].begin(), *vInnovaciones[1].begin());

    // A second call adds nothing.
    CGenoma copia(*con.vPoblacion[0]->GetGenoma());
    CInnovacion bd(copia);
    copia.AddBuclesSalida(bd);
    EXPECT_EQ(copia.GetNumGenesEnlace(), 10u);
}

namespace {

// Ids of the genomes of the generation after one epoch of a population
// of 20 in a single species, each scored by its position.
std::set<unsigned> IDsTrasUnaEpoca(bool bSinCopia, unsigned nElite, unsigned& nIDLider)
{
    SetSemillaRandom(5);
    CAlgoritmoGenetico ag;
    ag.Inicializar(2, 1);
    ag.SetNumeroIndividuosElite(nElite);
    ag.SetUmbralCompatibilidadEspecie(100.0);
    ag.SetSinCopiaDeLideres(bSinCopia);
    SPoblacion p;
    p.Crear(ag, 20);
    for (size_t i = 0; i < p.vMiembros.size(); ++i)
        p.vMiembros[i]->SetPuntuacion(1.0 + static_cast<double>(i));
    nIDLider = p.vPoblacion.back()->GetGenoma()->GetID();
    ag.Epoca(p.vPoblacion);
    std::set<unsigned> ids;
    for (const IIndividuoIA* pMiembro : p.vPoblacion)
        ids.insert(pMiembro->GetGenoma()->GetID());
    EXPECT_EQ(p.vPoblacion.size(), 20u);
    return ids;
}

}  // namespace

TEST(SinCopiaDeLideres, LaGeneracionSoloTieneHijosNuevos)
{
    unsigned nIDLider = 0;
    // By default the leader comes back unchanged (and twice with the elite).
    std::set<unsigned> ids = IDsTrasUnaEpoca(false, 0, nIDLider);
    EXPECT_EQ(ids.count(nIDLider), 1u);

    // With the option and no elite every member is a child: ids beyond the
    // first generation's 0..19, all different.
    ids = IDsTrasUnaEpoca(true, 0, nIDLider);
    EXPECT_EQ(ids.size(), 20u);
    EXPECT_GE(*ids.begin(), 20u);

    // The elite is a separate setting and still copies the best.
    ids = IDsTrasUnaEpoca(true, 1, nIDLider);
    EXPECT_EQ(ids.count(nIDLider), 1u);
}
