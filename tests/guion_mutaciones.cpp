// Innovation database and the four mutations, with scripted draws: every
// test fixes the draws it feeds and checks how many were taken, of which
// kind and over which range.
#include <gtest/gtest.h>

#include <string>

#include "NEAT/CGenoma.h"
#include "NEAT/CInnovacion.h"
#include "apoyo/Informes.h"
#include "apoyo/LlamadasGuion.h"
#include "apoyo/RandomGuion.h"

namespace {

const std::string kRutaGenoma = RutaFuente(__FILE__, "src/NEAT/CGenoma.cpp");
const std::string kRutaInnovacion = RutaFuente(__FILE__, "src/NEAT/CInnovacion.cpp");

// The two-inputs, one-output minimal genome (ids 0, 1 inputs, 2 bias, 3 output;
// links 0->3, 1->3, 2->3 with innovations 4, 5, 6) with known weights.
CGenoma GenomaEjemplo()
{
    GuionCargar({0.1, 0.2, 0.3, 0.4, -0.5, 0.25, 0.75});
    return CGenoma(1, 2, 1);
}

// A genome of one input (0), the bias (1), one output (2) and the given
// links, all 0 -> 2 unless stated, small enough for the bounded split search.
CGenoma GenomaPequenyo(const TGEnlaces& vEnlaces)
{
    TGNeuronas vN = {SGenNeurona(Neurona_Entrada, 0, 0.5, 0, false), SGenNeurona(Neurona_Sesgo, 1, 0.25, 0, false),
                     SGenNeurona(Neurona_Salida, 2, 0.5, 1, false)};
    return CGenoma(0, vN, vEnlaces, 1, 1);
}

TGEnlaces Enlaces(int nCuantos, bool bHabilitados)
{
    TGEnlaces v;
    for (int i = 0; i < nCuantos; ++i)
        v.push_back(SGenEnlace(0, 2, bHabilitados, 3 + i, 0.5, false));
    return v;
}

bool MismosGenes(const CGenoma& a, const CGenoma& b)
{
    if (a.GetNumGenesEnlace() != b.GetNumGenesEnlace() || a.GetNumGenesNeurona() != b.GetNumGenesNeurona())
        return false;
    for (size_t i = 0; i < a.GetNumGenesEnlace(); ++i) {
        const SGenEnlace &x = a.GetGenesEnlace()[i], &y = b.GetGenesEnlace()[i];
        if (x.nIDNeuronaInicio != y.nIDNeuronaInicio || x.nIDNeuronaFin != y.nIDNeuronaFin || x.dPeso != y.dPeso ||
            x.bHabilitado != y.bHabilitado || x.bRecurrente != y.bRecurrente || x.nIDInnovacion != y.nIDInnovacion)
            return false;
    }
    for (size_t i = 0; i < a.GetNumGenesNeurona(); ++i) {
        const SGenNeurona &x = a.GetGenesNeurona()[i], &y = b.GetGenesNeurona()[i];
        if (x.nID != y.nID || x.Tipo != y.Tipo || x.bRecurrente != y.bRecurrente ||
            x.dCurvaturaActivacion != y.dCurvaturaActivacion)
            return false;
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Innovation database

TEST(Innovacion, SembradaDesdeGenomaMinimo)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    CInnovacion bd(g);
    const TInnovaciones& v = bd.GetBDInnovaciones();
    ASSERT_EQ(v.size(), 7u);
    const TNeurona tipos[] = {Neurona_Entrada, Neurona_Entrada, Neurona_Sesgo, Neurona_Salida};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].nID, i);
        EXPECT_EQ(v[i].tipo, INO_Neurona);
        EXPECT_EQ(v[i].nIDNeurona, i);
        EXPECT_EQ(v[i].tipoNeurona, tipos[i]);
        EXPECT_EQ(v[i].nIDNeuronaInicio, 0);
        EXPECT_EQ(v[i].nIDNeuronaFin, 0);
        EXPECT_EQ(v[i].dSplitX, g.GetGenesNeurona()[i].dSplitX);
        EXPECT_EQ(v[i].dSplitY, g.GetGenesNeurona()[i].dSplitY);
    }
    for (int j = 0; j < 3; ++j) {
        EXPECT_EQ(v[4 + j].nID, 4 + j);
        EXPECT_EQ(v[4 + j].tipo, INO_Enlace);
        EXPECT_EQ(v[4 + j].nIDNeuronaInicio, j);
        EXPECT_EQ(v[4 + j].nIDNeuronaFin, 3);
        EXPECT_EQ(v[4 + j].nIDNeurona, 0);
        EXPECT_EQ(v[4 + j].tipoNeurona, Neurona_SinTipo);
        // The numbering agrees with the genome's own innovation numbers.
        EXPECT_EQ(g.GetGenesEnlace()[j].nIDInnovacion, 4 + j);
    }
    EXPECT_EQ(bd.GetSigIDInnovacion(), 7);
    EXPECT_EQ(bd.GetSigIDNeurona(), 4);

    bd.Limpiar();
    EXPECT_TRUE(bd.GetBDInnovaciones().empty());
    EXPECT_EQ(bd.GetSigIDInnovacion(), 0);
    EXPECT_EQ(bd.GetSigIDNeurona(), 0);
}

TEST(Innovacion, ComprobarYCrear)
{
    GuionReiniciar();
    CInnovacion bd{CGenoma()};
    EXPECT_EQ(bd.ComprobarInnovacion(0, 0, INO_Neurona), -1);

    // A link answers with the last neuron id handed out (none yet: -1).
    EXPECT_EQ(bd.CrearNuevaInnovacion(3, 5, INO_Enlace, Neurona_SinTipo, 0.0, 0.0), -1);
    EXPECT_EQ(bd.SetSigIDInnovacion(0) - 1, 0);
    EXPECT_EQ(bd.ComprobarInnovacion(3, 5, INO_Enlace), 0);
    EXPECT_EQ(bd.ComprobarInnovacion(3, 5, INO_Neurona), -1);
    EXPECT_EQ(bd.ComprobarInnovacion(5, 3, INO_Enlace), -1);

    EXPECT_EQ(bd.CrearNuevaInnovacion(3, 5, INO_Neurona, Neurona_Oculta, 0.25, 0.5), 0);
    EXPECT_EQ(bd.CrearNuevaInnovacion(3, 5, INO_Neurona, Neurona_Oculta, 0.25, 0.5), 1);
    EXPECT_EQ(bd.CrearNuevaInnovacion(7, 8, INO_Enlace, Neurona_SinTipo, 0.0, 0.0), 1);
    // Duplicates are not refused, and the first one is the one found.
    EXPECT_EQ(bd.ComprobarInnovacion(3, 5, INO_Neurona), 1);
    EXPECT_EQ(bd.GetIDNeurona(1), 0);
    EXPECT_EQ(bd.GetIDNeurona(2), 1);
    EXPECT_EQ(bd.GetIDNeurona(3), 0);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 4);
    EXPECT_EQ(bd.GetSigIDNeurona(), 2);
    EXPECT_EQ(GuionNumLlamadas(), 0u);
}

TEST(Innovacion, NeuronaNuevaEnBDSembrada)
{
    GuionReiniciar();
    CInnovacion bd(GenomaEjemplo());
    EXPECT_EQ(bd.CrearNuevaInnovacion(0, 3, INO_Neurona, Neurona_Oculta, 0.5, 0.5), 4);
    EXPECT_EQ(bd.GetSigIDNeurona(), 5);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 8);
    EXPECT_EQ(bd.GetBDInnovaciones().back().nID, 7);
}

TEST(Innovacion, ContadoresSumanOFijan)
{
    GuionReiniciar();
    CInnovacion bd(GenomaEjemplo());
    EXPECT_EQ(bd.SetSigIDInnovacion(5), 12);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 12);
    EXPECT_EQ(bd.SetSigIDInnovacion(0), 12);
    bd.SetSigIDNeurona(40);
    EXPECT_EQ(bd.GetSigIDNeurona(), 40);
    // The one-argument form keeps the record's own number.
    SInnovacion r(1, 2, INO_Neurona, 99, Neurona_Oculta, 0.1, 0.2);
    EXPECT_EQ(bd.CrearNuevaInnovacion(r), 40);
    EXPECT_EQ(bd.GetBDInnovaciones().back().nID, 99);
    EXPECT_EQ(bd.GetBDInnovaciones().back().nIDNeurona, 40);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 12);
}

TEST(Innovacion, NeuronaDesdeID)
{
    GuionReiniciar();
    CInnovacion bd(GenomaEjemplo());
    bd.CrearNuevaInnovacion(0, 3, INO_Neurona, Neurona_Oculta, 0.5, 0.25);

    GuionCargar({0.625});
    SGenNeurona gen = bd.CrearNeuronaDesdeID(4);
    EXPECT_EQ(gen.nID, 4);
    EXPECT_EQ(gen.Tipo, Neurona_Oculta);
    EXPECT_EQ(gen.dSplitX, 0.5);
    EXPECT_EQ(gen.dSplitY, 0.25);
    EXPECT_FALSE(gen.bRecurrente);
    EXPECT_EQ(gen.dCurvaturaActivacion, 0.625);  // fresh, not stored
    ASSERT_EQ(GuionNumLlamadas(), 1u);
    ExpectLlamada(0, 'D', 0, 1);

    gen = bd.CrearNeuronaDesdeID(0);  // link records also hold 0, the neuron record comes first
    EXPECT_EQ(gen.Tipo, Neurona_Entrada);
    EXPECT_EQ(gen.nID, 0);

    gen = bd.CrearNeuronaDesdeID(3);
    EXPECT_EQ(gen.Tipo, Neurona_Salida);
    EXPECT_EQ(gen.dSplitY, 1.0);

    GuionCargar({});
    testing::internal::CaptureStderr();
    gen = bd.CrearNeuronaDesdeID(77);
    EXPECT_TRUE(EsInforme(testing::internal::GetCapturedStderr(), "ERROR INTERNO(", kRutaInnovacion,
                          "): No se pudo encontrar el ID de una neurona en la BD de innovaciones.\n"));
    EXPECT_EQ(gen.nID, -1);
    EXPECT_EQ(gen.Tipo, Neurona_Oculta);
    EXPECT_EQ(gen.dSplitX, 0.0);
    EXPECT_EQ(gen.dSplitY, 0.0);
    EXPECT_EQ(GuionNumLlamadas(), 1u);
}

// ---------------------------------------------------------------------------
// AddNeurona

TEST(AddNeurona, PartirEnlaceYReutilizarEnOtroGenoma)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    CInnovacion bd(g);

    GuionCargar({0.0, 0, 0.375});  // rate, position, new curvature
    g.AddNeurona(0.0, bd, 5);
    ASSERT_EQ(GuionNumLlamadas(), 3u);
    EXPECT_EQ(GuionPendientes(), 0u);
    ExpectLlamada(0, 'D', 0, 1);
    ExpectLlamada(1, 'I', 0, 1);  // L = 3, s = 1
    ExpectLlamada(2, 'D', 0, 1);

    EXPECT_FALSE(g.GetGenesEnlace()[0].bHabilitado);
    ASSERT_EQ(g.GetNumGenesNeurona(), 5u);
    const SGenNeurona& nueva = g.GetGenesNeurona()[4];
    EXPECT_EQ(nueva.nID, 4);
    EXPECT_EQ(nueva.Tipo, Neurona_Oculta);
    EXPECT_EQ(nueva.dSplitX, 0.5);
    EXPECT_EQ(nueva.dSplitY, 0.5);
    EXPECT_EQ(nueva.dCurvaturaActivacion, 0.375);
    ASSERT_EQ(g.GetNumGenesEnlace(), 5u);
    const SGenEnlace& e1 = g.GetGenesEnlace()[3];
    const SGenEnlace& e2 = g.GetGenesEnlace()[4];
    EXPECT_EQ(e1.nIDNeuronaInicio, 0);
    EXPECT_EQ(e1.nIDNeuronaFin, 4);
    EXPECT_EQ(e1.nIDInnovacion, 8);
    EXPECT_EQ(e1.dPeso, 1.0);
    EXPECT_TRUE(e1.bHabilitado);
    EXPECT_EQ(e2.nIDNeuronaInicio, 4);
    EXPECT_EQ(e2.nIDNeuronaFin, 3);
    EXPECT_EQ(e2.nIDInnovacion, 9);
    EXPECT_EQ(e2.dPeso, -0.5);
    EXPECT_FALSE(e1.bRecurrente || e2.bRecurrente || nueva.bRecurrente);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 10);
    EXPECT_EQ(bd.GetSigIDNeurona(), 5);
    EXPECT_EQ(bd.ComprobarInnovacion(0, 3, INO_Neurona), 7);

    // The same split in another genome reuses neuron 4 and links 8 and 9.
    CGenoma otro = GenomaEjemplo();
    GuionCargar({0.0, 0, 0.875});
    otro.AddNeurona(0.0, bd, 5);
    EXPECT_EQ(GuionNumLlamadas(), 3u);
    EXPECT_EQ(bd.GetBDInnovaciones().size(), 10u);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 10);
    EXPECT_EQ(bd.GetSigIDNeurona(), 5);
    ASSERT_EQ(otro.GetNumGenesEnlace(), 5u);
    EXPECT_EQ(otro.GetGenesEnlace()[3].nIDInnovacion, 8);
    EXPECT_EQ(otro.GetGenesEnlace()[4].nIDInnovacion, 9);
    EXPECT_EQ(otro.GetGenesNeurona()[4].nID, 4);
    EXPECT_EQ(otro.GetGenesNeurona()[4].dCurvaturaActivacion, 0.875);
}

TEST(AddNeurona, GenomaQueYaTieneLaNeuronaCreaOtra)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    CInnovacion bd(g);
    GuionCargar({0.0, 0, 0.5});
    g.AddNeurona(1.0, bd, 5);

    // A genome with link 0 -> 3 still enabled that already holds neuron 4.
    CGenoma base = GenomaEjemplo();
    TGNeuronas vN = base.GetGenesNeurona();
    vN.push_back(SGenNeurona(Neurona_Oculta, 4, 0.1, 0.9, false));
    CGenoma conCuatro(2, vN, base.GetGenesEnlace(), 2, 1);

    GuionCargar({0.0, 0, 0.5});
    conCuatro.AddNeurona(1.0, bd, 5);
    ASSERT_EQ(conCuatro.GetNumGenesNeurona(), 6u);
    EXPECT_EQ(conCuatro.GetGenesNeurona()[5].nID, 5);
    EXPECT_EQ(conCuatro.GetGenesEnlace()[3].nIDInnovacion, 11);
    EXPECT_EQ(conCuatro.GetGenesEnlace()[4].nIDInnovacion, 12);
    EXPECT_EQ(bd.GetBDInnovaciones()[10].nIDNeurona, 5);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 13);
    EXPECT_EQ(bd.GetSigIDNeurona(), 6);
}

TEST(AddNeurona, InnovacionConocidaSinSusEnlacesAvisa)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    CInnovacion bd(g);
    bd.SetSigIDNeurona(50);
    bd.CrearNuevaInnovacion(0, 3, INO_Neurona, Neurona_Oculta, 0.5, 0.5);  // neuron 50, links never recorded

    GuionCargar({0.0, 0, 0.5});
    testing::internal::CaptureStderr();
    g.AddNeurona(1.0, bd, 5);
    EXPECT_TRUE(EsInforme(testing::internal::GetCapturedStderr(), "ERROR INTERNO (", kRutaGenoma,
                          "): No se encuentran valores que deber\xED"
                          "an estar en la BD de innovaciones.\n"));
    // It goes on with what the look-ups gave.
    ASSERT_EQ(g.GetNumGenesEnlace(), 5u);
    EXPECT_EQ(g.GetGenesEnlace()[3].nIDInnovacion, -1);
    EXPECT_EQ(g.GetGenesEnlace()[4].nIDInnovacion, -1);
    EXPECT_EQ(g.GetGenesNeurona().back().nID, 50);
    EXPECT_EQ(bd.GetBDInnovaciones().size(), 8u);
}

TEST(AddNeurona, PosicionesPosiblesEnGenomaPequenyo)
{
    GuionReiniciar();
    CInnovacion bd{CGenoma()};
    CGenoma cuatro = GenomaPequenyo(Enlaces(4, true));
    GuionCargar({0.0, 1, 0.5});
    cuatro.AddNeurona(1.0, bd, 3);
    ExpectLlamada(1, 'I', 0, 1);  // s = 2: positions 0 and 1
    EXPECT_FALSE(cuatro.GetGenesEnlace()[1].bHabilitado);
    EXPECT_TRUE(cuatro.GetGenesEnlace()[0].bHabilitado);

    CGenoma nueve = GenomaPequenyo(Enlaces(9, true));
    GuionCargar({0.0, 5, 0.5});
    nueve.AddNeurona(1.0, bd, 3);
    ExpectLlamada(1, 'I', 0, 5);  // s = 3: positions 0 to 5
    EXPECT_FALSE(nueve.GetGenesEnlace()[5].bHabilitado);
}

TEST(AddNeurona, TodosLosIntentosFallanSinCambios)
{
    GuionReiniciar();
    CInnovacion bd{CGenoma()};
    TGEnlaces v = Enlaces(4, false);
    v[1].bHabilitado = true;
    v[1].bRecurrente = true;                             // recurrent: not split
    v.push_back(SGenEnlace(1, 2, true, 9, 0.5, false));  // from the bias: not split
    v.push_back(SGenEnlace(0, 2, true, 10, 0.5, false));
    CGenoma g = GenomaPequenyo(v);  // L = 6, s = 2: positions 0..3 only
    const CGenoma antes(g);
    GuionCargar({0.0, 0, 1, 2});
    g.AddNeurona(1.0, bd, 3);
    EXPECT_EQ(GuionNumLlamadas(), 4u);  // the rate and exactly three tries
    EXPECT_TRUE(MismosGenes(g, antes));
    EXPECT_TRUE(bd.GetBDInnovaciones().empty());

    GuionCargar({0.0});
    g.AddNeurona(1.0, bd, 0);  // no try allowed
    EXPECT_EQ(GuionNumLlamadas(), 1u);
    EXPECT_TRUE(MismosGenes(g, antes));
}

TEST(AddNeurona, SinNadaQueElegirNoSortea)
{
    GuionReiniciar();
    CInnovacion bd{CGenoma()};
    // One link: L - 1 - s is below 0.
    CGenoma uno = GenomaPequenyo(Enlaces(1, true));
    GuionCargar({0.0});
    uno.AddNeurona(1.0, bd, 5);
    EXPECT_EQ(GuionNumLlamadas(), 1u);
    EXPECT_TRUE(uno.GetGenesEnlace()[0].bHabilitado);

    // No links at all.
    CGenoma ninguno = GenomaPequenyo(TGEnlaces());
    GuionCargar({0.0});
    ninguno.AddNeurona(1.0, bd, 5);
    EXPECT_EQ(GuionNumLlamadas(), 1u);
    EXPECT_EQ(ninguno.GetNumGenesNeurona(), 3u);
}

TEST(AddNeurona, RatioNoSuperadoNoHaceNada)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    CInnovacion bd(g);
    const CGenoma antes(g);
    GuionCargar({0.5000001});
    g.AddNeurona(0.5, bd, 5);
    EXPECT_EQ(GuionNumLlamadas(), 1u);
    EXPECT_TRUE(MismosGenes(g, antes));
}

namespace {

// Neuron count at the limit n + m + 5 = 7 (one input, one output): the
// search without try limit applies.
CGenoma GenomaGrande(const TGEnlaces& vEnlaces)
{
    TGNeuronas vN = {SGenNeurona(Neurona_Entrada, 0, 0.5, 0, false), SGenNeurona(Neurona_Sesgo, 1, 0.25, 0, false),
                     SGenNeurona(Neurona_Salida, 2, 0.5, 1, false)};
    for (int i = 3; i < 7; ++i)
        vN.push_back(SGenNeurona(Neurona_Oculta, i, 0.5, 0.5, false));
    return CGenoma(0, vN, vEnlaces, 1, 1);
}

}  // namespace

TEST(AddNeurona, GenomaGrandeBuscaHastaEncontrar)
{
    GuionReiniciar();
    CInnovacion bd{CGenoma()};
    TGEnlaces v = Enlaces(5, false);
    v[3].bHabilitado = true;
    CGenoma g = GenomaGrande(v);
    GuionCargar({0.0, 0, 4, 1, 3, 0.5});
    g.AddNeurona(1.0, bd, 0);  // the try count plays no part here
    ASSERT_EQ(GuionNumLlamadas(), 6u);
    for (size_t i = 1; i < 5; ++i)
        ExpectLlamada(i, 'I', 0, 4);
    EXPECT_FALSE(g.GetGenesEnlace()[3].bHabilitado);
    EXPECT_EQ(g.GetNumGenesNeurona(), 8u);
}

TEST(AddNeurona, GenomaGrandeSinCandidatoSeRinde)
{
    GuionReiniciar();
    CInnovacion bd{CGenoma()};
    TGEnlaces v = Enlaces(3, false);
    v.push_back(SGenEnlace(1, 2, true, 20, 0.5, false));  // from the bias
    v.push_back(SGenEnlace(3, 2, true, 21, 0.5, true));   // recurrent
    CGenoma g = GenomaGrande(v);
    const CGenoma antes(g);
    GuionCargar({0.0});
    g.AddNeurona(1.0, bd, 5);
    EXPECT_EQ(GuionNumLlamadas(), 1u);
    EXPECT_TRUE(MismosGenes(g, antes));
    EXPECT_TRUE(bd.GetBDInnovaciones().empty());
}

// ---------------------------------------------------------------------------
// AddEnlace

TEST(AddEnlace, BucleEnLaSalida)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    CInnovacion bd(g);
    GuionCargar({0.0, 0.1, 3, 0.4});  // rate, loop choice, neuron position, weight
    g.AddEnlace(0.0, 0.5, bd, 3, 3);
    ASSERT_EQ(GuionNumLlamadas(), 4u);
    ExpectLlamada(0, 'D', 0, 1);
    ExpectLlamada(1, 'D', 0, 1);
    ExpectLlamada(2, 'I', 3, 3);
    ExpectLlamada(3, 'D', -1, 1);
    ASSERT_EQ(g.GetNumGenesEnlace(), 4u);
    const SGenEnlace& e = g.GetGenesEnlace()[3];
    EXPECT_EQ(e.nIDNeuronaInicio, 3);
    EXPECT_EQ(e.nIDNeuronaFin, 3);
    EXPECT_TRUE(e.bRecurrente);
    EXPECT_TRUE(e.bHabilitado);
    EXPECT_EQ(e.dPeso, 0.4);
    EXPECT_EQ(e.nIDInnovacion, 7);
    EXPECT_TRUE(g.GetGenesNeurona()[3].bRecurrente);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 8);
    EXPECT_EQ(bd.GetSigIDNeurona(), 4);

    // The neuron is marked: every further loop try fails.
    const CGenoma antes(g);
    GuionCargar({0.0, 0.1, 3, 3});
    g.AddEnlace(0.0, 0.5, bd, 2, 3);
    EXPECT_EQ(GuionNumLlamadas(), 4u);
    EXPECT_TRUE(MismosGenes(g, antes));
}

TEST(AddEnlace, BucleMiraSoloLaMarcaDeLaNeurona)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    CInnovacion bd(g);
    GuionCargar({0.0, 0.1, 3, 0.4});
    g.AddEnlace(1.0, 0.5, bd, 3, 3);
    // A copy rebuilt with clear flags takes a second loop with the same number.
    TGNeuronas vN = g.GetGenesNeurona();
    vN[3].bRecurrente = false;
    CGenoma h(1, vN, g.GetGenesEnlace(), 2, 1);
    GuionCargar({0.0, 0.1, 3, 0.2});
    h.AddEnlace(1.0, 0.5, bd, 3, 3);
    ASSERT_EQ(h.GetNumGenesEnlace(), 5u);
    EXPECT_EQ(h.GetGenesEnlace()[4].nIDInnovacion, 7);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 8);
}

TEST(AddEnlace, OrdinarioRecurrenteHaciaNeuronaMenosProfunda)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    CInnovacion bd(g);
    GuionCargar({0.0, 0, 0.5});
    g.AddNeurona(1.0, bd, 5);  // hidden 4 at depth 0.5

    // Output 3 (depth 1) -> hidden 4 (depth 0.5).
    GuionCargar({0.0, 0.9, 3, 4, -0.25});
    g.AddEnlace(1.0, 0.5, bd, 3, 3);
    ASSERT_EQ(GuionNumLlamadas(), 5u);
    ExpectLlamada(2, 'I', 0, 4);
    ExpectLlamada(3, 'I', 3, 4);
    ExpectLlamada(4, 'D', -1, 1);
    const SGenEnlace& e = g.GetGenesEnlace().back();
    EXPECT_EQ(e.nIDNeuronaInicio, 3);
    EXPECT_EQ(e.nIDNeuronaFin, 4);
    EXPECT_TRUE(e.bRecurrente);
    EXPECT_EQ(e.nIDInnovacion, 10);
    EXPECT_EQ(e.dPeso, -0.25);
    EXPECT_FALSE(g.GetGenesNeurona()[3].bRecurrente);  // only loops mark the neuron
}

TEST(AddEnlace, OrdinarioRechazaDuplicadosYBucles)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    CInnovacion bd(g);
    GuionCargar({0.0, 0, 0.5});
    g.AddNeurona(1.0, bd, 5);  // link 0 -> 3 now disabled; 0 -> 4 and 4 -> 3 exist

    // Tries: 0 -> 3 (disabled duplicate), 4 -> 4 (loop), then 1 -> 4.
    GuionCargar({0.0, 0.9, 0, 3, 4, 4, 1, 4, 0.125});
    g.AddEnlace(1.0, 0.5, bd, 3, 3);
    EXPECT_EQ(GuionNumLlamadas(), 9u);
    EXPECT_EQ(GuionPendientes(), 0u);
    const SGenEnlace& e = g.GetGenesEnlace().back();
    EXPECT_EQ(e.nIDNeuronaInicio, 1);
    EXPECT_EQ(e.nIDNeuronaFin, 4);
    EXPECT_FALSE(e.bRecurrente);
    EXPECT_EQ(e.nIDInnovacion, 10);

    // The same pair in another genome gets the same number, nothing recorded.
    CGenoma otro = GenomaEjemplo();
    GuionCargar({0.0, 0, 0.5});
    otro.AddNeurona(1.0, bd, 5);
    GuionCargar({0.0, 0.9, 1, 4, 0.5});
    otro.AddEnlace(1.0, 0.5, bd, 3, 3);
    EXPECT_EQ(otro.GetGenesEnlace().back().nIDInnovacion, 10);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 11);
    EXPECT_EQ(bd.GetBDInnovaciones().size(), 11u);

    // Out of tries: nothing added.
    const CGenoma antes(otro);
    GuionCargar({0.0, 0.9, 0, 3, 4, 4});
    otro.AddEnlace(1.0, 0.5, bd, 3, 2);
    EXPECT_EQ(GuionNumLlamadas(), 6u);
    EXPECT_TRUE(MismosGenes(otro, antes));
}

TEST(AddEnlace, IgualProfundidadNoEsRecurrente)
{
    GuionReiniciar();
    CGenoma g(0, 1, 2);  // outputs 2 and 3, both at depth 1
    CInnovacion bd(g);
    GuionCargar({0.0, 0.9, 2, 3, 0.5});
    g.AddEnlace(1.0, 0.0, bd, 3, 3);
    const SGenEnlace& e = g.GetGenesEnlace().back();
    EXPECT_EQ(e.nIDNeuronaInicio, 2);
    EXPECT_EQ(e.nIDNeuronaFin, 3);
    EXPECT_FALSE(e.bRecurrente);
}

TEST(AddEnlace, SinSalidasNoSortea)
{
    GuionReiniciar();
    CGenoma g(0, 2, 0);
    CInnovacion bd(g);
    const CGenoma antes(g);
    GuionCargar({0.0, 0.1});
    g.AddEnlace(1.0, 0.5, bd, 5, 5);  // loop attempt
    EXPECT_EQ(GuionNumLlamadas(), 2u);
    GuionCargar({0.0, 0.9});
    g.AddEnlace(1.0, 0.5, bd, 5, 5);  // ordinary attempt
    EXPECT_EQ(GuionNumLlamadas(), 2u);
    EXPECT_TRUE(MismosGenes(g, antes));
    EXPECT_EQ(bd.GetSigIDInnovacion(), 3);
}

TEST(AddEnlace, SorteoPorEncimaDelRatioNoAnyadeNada)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    CInnovacion bd(g);
    GuionCargar({0.01});
    g.AddEnlace(0.0, 0.5, bd, 3, 3);
    EXPECT_EQ(GuionNumLlamadas(), 1u);
    EXPECT_EQ(g.GetNumGenesEnlace(), 3u);
}

// ---------------------------------------------------------------------------
// Parametric mutations

TEST(MutarPesos, SustituirPerturbarYSaltar)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();  // weights -0.5, 0.25, 0.75
    // gene 0: changes, replaced by 0.9; gene 1: changes, perturbed by 0.5 * 0.2;
    // gene 2: a draw equal to the rate does not change it.
    GuionCargar({0.1, 0.05, 0.9, 0.2, 0.5, 0.5, 0.3});
    g.MutarPesos(0.3, 0.1, 0.2);
    ASSERT_EQ(GuionNumLlamadas(), 7u);
    const char tipos[] = {'D', 'D', 'D', 'D', 'D', 'D', 'D'};
    const double mins[] = {0, 0, -1, 0, 0, -1, 0};
    for (size_t i = 0; i < 7; ++i)
        ExpectLlamada(i, tipos[i], mins[i], 1);
    EXPECT_EQ(g.GetGenesEnlace()[0].dPeso, 0.9);
    EXPECT_DOUBLE_EQ(g.GetGenesEnlace()[1].dPeso, 0.25 + 0.1);
    EXPECT_EQ(g.GetGenesEnlace()[2].dPeso, 0.75);
}

TEST(MutarPesos, IncluyeDeshabilitadosYNoRecorta)
{
    GuionReiniciar();
    CGenoma g = GenomaPequenyo(Enlaces(1, false));
    GuionCargar({0.0, 0.9, 1.0});
    g.MutarPesos(0.5, 0.1, 3.0);
    EXPECT_DOUBLE_EQ(g.GetGenesEnlace()[0].dPeso, 3.5);
}

TEST(MutarPesos, RatioCeroNoCambiaNada)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();
    const CGenoma antes(g);
    GuionCargar({0.0, 0.0, 0.0});
    g.MutarPesos(0.0, 1.0, 1.0);
    EXPECT_EQ(GuionNumLlamadas(), 3u);  // one draw per gene
    EXPECT_TRUE(MismosGenes(g, antes));
}

TEST(MutarCurvatura, TodasLasNeuronasEnOrden)
{
    GuionReiniciar();
    CGenoma g = GenomaEjemplo();  // curvatures 0.1 0.2 0.3 0.4
    GuionCargar({0.0, -1.0, 0.7, 0.2, 1.0, 0.6});
    g.MutarCurvaturaActivacion(0.6, 0.5);
    ASSERT_EQ(GuionNumLlamadas(), 6u);
    ExpectLlamada(1, 'D', -1, 1);
    ExpectLlamada(2, 'D', 0, 1);
    EXPECT_DOUBLE_EQ(g.GetGenesNeurona()[0].dCurvaturaActivacion, 0.1 - 0.5);  // input, may go negative
    EXPECT_EQ(g.GetGenesNeurona()[1].dCurvaturaActivacion, 0.2);
    EXPECT_DOUBLE_EQ(g.GetGenesNeurona()[2].dCurvaturaActivacion, 0.3 + 0.5);  // bias too
    EXPECT_EQ(g.GetGenesNeurona()[3].dCurvaturaActivacion, 0.4);               // draw equal to the rate

    const CGenoma antes(g);
    GuionCargar({0.0, 0.0, 0.0, 0.0});
    g.MutarCurvaturaActivacion(0.0, 1.0);
    EXPECT_EQ(GuionNumLlamadas(), 4u);
    EXPECT_TRUE(MismosGenes(g, antes));
}

// ---------------------------------------------------------------------------
// Predicates

TEST(Predicados, EnlaceDuplicadoEIDExistente)
{
    GuionReiniciar();
    CGenoma g = GenomaPequenyo({SGenEnlace(0, 2, false, 3, 0.5, false)});
    EXPECT_TRUE(g.EnlaceDuplicado(0, 2));  // disabled still counts
    EXPECT_FALSE(g.EnlaceDuplicado(2, 0));
    EXPECT_FALSE(g.EnlaceDuplicado(1, 2));
    EXPECT_TRUE(g.IDNeuronaYaExiste(1));
    EXPECT_FALSE(g.IDNeuronaYaExiste(3));
}
