#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "NEAT/CEspecie.h"
#include "apoyo/Poblacion.h"
#include "apoyo/RandomGuion.h"

namespace {

// n genomes with the given fitness values, ids 0, 1, 2, ...
std::vector<std::unique_ptr<CGenoma>> Genomas(const std::vector<double>& vIdoneidades)
{
    std::vector<std::unique_ptr<CGenoma>> v;
    for (std::size_t i = 0; i < vIdoneidades.size(); ++i) {
        v.emplace_back(GenomaXor(static_cast<int>(i), 0.0, 0.0, 0.0));
        v.back()->SetIdoneidad(vIdoneidades[i]);
    }
    return v;
}

CEspecie EspecieCon(const std::vector<std::unique_ptr<CGenoma>>& vGenomas, int nEdad)
{
    CEspecie especie(*vGenomas[0], 3);
    for (int n = 0; n < nEdad; ++n)
        especie.Purgar();
    if (nEdad > 0)
        especie.AddMiembro(*vGenomas[0]);
    for (std::size_t i = 1; i < vGenomas.size(); ++i)
        especie.AddMiembro(*vGenomas[i]);
    return especie;
}

}  // namespace

TEST(Especie, NuevaConSuFundador)
{
    auto v = Genomas({4.5});
    v[0]->SetID(17);
    CEspecie especie(*v[0], 8);
    EXPECT_EQ(especie.GetID(), 8);
    EXPECT_EQ(especie.GetNumMiembros(), 1);
    EXPECT_EQ(especie.GetEdad(), 0);
    EXPECT_EQ(especie.GetEpocasSinMejora(), 0);
    EXPECT_DOUBLE_EQ(especie.GetMejorIdoneidad(), 4.5);
    EXPECT_DOUBLE_EQ(especie.GetHijosAExpandir(), 0.0);
    // The leader is a copy: it outlives changes to the founder.
    v[0]->SetIdoneidad(1.0);
    EXPECT_EQ(especie.GetLider().GetID(), 17u);
    EXPECT_DOUBLE_EQ(especie.GetIdoneidadLider(), 4.5);
}

TEST(Especie, SoloUnMiembroMejorCambiaElLider)
{
    auto v = Genomas({5.0, 5.0, 6.0});
    CEspecie especie(*v[0], 0);
    especie.Purgar();
    especie.Purgar();
    especie.AddMiembro(*v[1]);  // equal: no new leader, count kept
    EXPECT_EQ(especie.GetLider().GetID(), 0u);
    EXPECT_EQ(especie.GetEpocasSinMejora(), 2);
    especie.AddMiembro(*v[2]);
    EXPECT_EQ(especie.GetLider().GetID(), 2u);
    EXPECT_DOUBLE_EQ(especie.GetMejorIdoneidad(), 6.0);
    EXPECT_EQ(especie.GetEpocasSinMejora(), 0);
    EXPECT_EQ(especie.GetEdad(), 2);
    EXPECT_EQ(especie.GetNumMiembros(), 2);
}

TEST(Especie, PurgarConservaLiderYMejorIdoneidad)
{
    auto v = Genomas({3.0, 2.0});
    CEspecie especie = EspecieCon(v, 0);
    v[0]->SetNumHijosAExpandir(1.5);
    especie.CalcularHijosAExpandir();
    especie.Purgar();
    EXPECT_EQ(especie.GetNumMiembros(), 0);
    EXPECT_EQ(especie.GetEdad(), 1);
    EXPECT_EQ(especie.GetEpocasSinMejora(), 1);
    EXPECT_DOUBLE_EQ(especie.GetHijosAExpandir(), 0.0);
    EXPECT_DOUBLE_EQ(especie.GetMejorIdoneidad(), 3.0);
    EXPECT_EQ(especie.GetLider().GetID(), 0u);
}

TEST(Especie, AjusteSegunLaEdad)
{
    struct SCaso {
        int nEdad;
        double dPrimero, dSegundo;
    };
    const SCaso casos[] = {{0, 6.25, 3.75}, {14, 6.25, 3.75}, {15, 5.0, 3.0}, {40, 5.0, 3.0}, {41, 3.75, 2.25}};
    for (const SCaso& caso : casos) {
        auto v = Genomas({10.0, 6.0});
        CEspecie especie = EspecieCon(v, caso.nEdad);
        ASSERT_EQ(especie.GetEdad(), caso.nEdad);
        especie.AjustarIdoneidades();
        EXPECT_DOUBLE_EQ(v[0]->GetIdoneidadAjustada(), caso.dPrimero) << "edad " << caso.nEdad;
        EXPECT_DOUBLE_EQ(v[1]->GetIdoneidadAjustada(), caso.dSegundo) << "edad " << caso.nEdad;
        EXPECT_DOUBLE_EQ(v[0]->GetIdoneidad(), 10.0);
    }
}

TEST(Especie, HijosSeAcumulanHastaPurgar)
{
    auto v = Genomas({1.0, 1.0});
    CEspecie especie = EspecieCon(v, 0);
    v[0]->SetNumHijosAExpandir(1.25);
    v[1]->SetNumHijosAExpandir(0.5);
    especie.CalcularHijosAExpandir();
    EXPECT_DOUBLE_EQ(especie.GetHijosAExpandir(), 1.75);
    especie.CalcularHijosAExpandir();
    EXPECT_DOUBLE_EQ(especie.GetHijosAExpandir(), 3.5);
    especie.Limpiar();
    EXPECT_DOUBLE_EQ(especie.GetHijosAExpandir(), 0.0);
    EXPECT_EQ(especie.GetNumMiembros(), 0);
}

TEST(Especie, SupervivienteSinMiembrosEsElLiderYUnoSinSorteo)
{
    auto v = Genomas({2.0, 1.0});
    CEspecie especie(*v[0], 0);
    GuionCargar({});
    EXPECT_EQ(&especie.GetSuperviviente(), v[0].get());
    especie.Purgar();
    EXPECT_EQ(&especie.GetSuperviviente(), &especie.GetLider());
    EXPECT_EQ(GuionNumLlamadas(), 0u);
}

TEST(Especie, SupervivienteEntreLosMejores)
{
    // Members -> highest position drawn from (product in double precision).
    struct SCaso {
        int nMiembros;
        int nUltimo;
    };
    const SCaso casos[] = {{2, 0}, {6, 0}, {7, 1}, {9, 1}, {10, 2}, {13, 2}, {14, 3}, {20, 5}};
    for (const SCaso& caso : casos) {
        auto v = Genomas(std::vector<double>(caso.nMiembros, 1.0));
        CEspecie especie = EspecieCon(v, 0);
        GuionCargar({static_cast<double>(caso.nUltimo)});
        const CGenoma& elegido = especie.GetSuperviviente();
        ASSERT_EQ(GuionNumLlamadas(), 1u);
        const SLlamadaRandom& llamada = GuionLlamadas()[0];
        EXPECT_EQ(llamada.cTipo, 'I');
        EXPECT_EQ(llamada.dMin, 0.0);
        EXPECT_EQ(llamada.dMax, caso.nUltimo) << caso.nMiembros << " miembros";
        EXPECT_EQ(&elegido, v[caso.nUltimo].get());
    }
}

TEST(Especie, RatioDeSupervivenciaFueraDeRango)
{
    auto v = Genomas({1.0, 1.0, 1.0});
    CEspecie especie = EspecieCon(v, 0);
    CEspecie::SetRatioSuperviviencia(1e12);
    GuionCargar({2});
    EXPECT_EQ(&especie.GetSuperviviente(), v[2].get());
    EXPECT_EQ(GuionLlamadas()[0].dMax, 2.0);
    CEspecie::SetRatioSuperviviencia(0.3);
}
