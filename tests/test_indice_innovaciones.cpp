// The innovation database answers its look-ups through an index. Whatever
// records it holds (repeated pairs, odd ids, records added through any of
// its entry points, a cleared or copied database), every answer must be the
// one a scan from the first record gives.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "DebugLib/Random/Random.h"
#include "NEAT/CGenoma.h"
#include "NEAT/CIndicePosiciones.h"
#include "NEAT/CInnovacion.h"

namespace {

// The answers as the database defines them, by scanning.
int ComprobarPorBarrido(const CInnovacion& bd, int nIni, int nFin, TInnovacion t)
{
    for (const SInnovacion& r : bd.GetBDInnovaciones())
        if (r.nIDNeuronaInicio == nIni && r.nIDNeuronaFin == nFin && r.tipo == t)
            return r.nID;
    return -1;
}

const SInnovacion* NeuronaPorBarrido(const CInnovacion& bd, int nIDNeurona)
{
    for (const SInnovacion& r : bd.GetBDInnovaciones())
        if (r.nIDNeurona == nIDNeurona)
            return &r;
    return nullptr;
}

void ComprobarNeurona(CInnovacion& bd, int nIDNeurona)
{
    const SInnovacion* pEsperado = NeuronaPorBarrido(bd, nIDNeurona);
    testing::internal::CaptureStderr();
    const SGenNeurona gen = bd.CrearNeuronaDesdeID(nIDNeurona);
    const std::string sError = testing::internal::GetCapturedStderr();
    if (!pEsperado) {
        EXPECT_EQ(gen.nID, -1) << nIDNeurona;
        EXPECT_NE(sError.find("No se pudo encontrar el ID"), std::string::npos);
        return;
    }
    EXPECT_TRUE(sError.empty()) << sError;
    EXPECT_EQ(gen.nID, pEsperado->nIDNeurona);
    EXPECT_EQ(gen.Tipo, pEsperado->tipoNeurona);
    EXPECT_EQ(gen.dSplitX, pEsperado->dSplitX);
    EXPECT_EQ(gen.dSplitY, pEsperado->dSplitY);
}

SInnovacion Registro(int nID, TInnovacion t, int nIni, int nFin, int nIDNeurona, double x)
{
    SInnovacion r(nIni, nFin, t, nID, t == INO_Neurona ? Neurona_Oculta : Neurona_SinTipo, x, x / 2);
    r.nIDNeurona = nIDNeurona;
    return r;
}

}  // namespace

TEST(IndiceInnovaciones, ParRepetidoDevuelveElPrimerRegistro)
{
    CInnovacion bd(CGenoma(0, 2, 1));
    // Records appended whole keep the number they carry: two for the same
    // pair and kind, the later one with a smaller number.
    bd.CrearNuevaInnovacion(Registro(40, INO_Enlace, 3, 1, 0, 0));
    bd.CrearNuevaInnovacion(Registro(20, INO_Enlace, 3, 1, 0, 0));
    EXPECT_EQ(bd.ComprobarInnovacion(3, 1, INO_Enlace), 40);
    EXPECT_EQ(bd.ComprobarInnovacion(3, 1, INO_Neurona), -1);
    // Seeding made links 0->3, 1->3, 2->3 numbered 4, 5, 6, and four neuron
    // records that all name the pair 0, 0: the first of them answers.
    EXPECT_EQ(bd.ComprobarInnovacion(1, 3, INO_Enlace), 5);
    EXPECT_EQ(bd.ComprobarInnovacion(0, 0, INO_Neurona), 0);
}

TEST(IndiceInnovaciones, NeuronaDesdeIDTomaElPrimerRegistroQueLaNombre)
{
    CInnovacion bd(CGenoma(0, 2, 1));
    // A link record carrying neuron id 7 comes before the neuron record
    // that creates neuron 4 and the one that creates 5; a scan meets the
    // link record first when asked for 7.
    bd.CrearNuevaInnovacion(Registro(7, INO_Enlace, 0, 3, 7, 0.9));
    bd.CrearNuevaInnovacion(0, 3, INO_Neurona, Neurona_Oculta, 0.3, 0.5);
    bd.SetSigIDNeurona(7);
    bd.CrearNuevaInnovacion(1, 3, INO_Neurona, Neurona_Oculta, 0.6, 0.25);
    for (int nID : {0, 3, 4, 7, 8, -1})
        ComprobarNeurona(bd, nID);
    ComprobarNeurona(bd, 5);  // never handed out: the counter jumped to 7
}

TEST(IndiceInnovaciones, LimpiarOlvidaLoIndexado)
{
    CInnovacion bd(CGenoma(0, 2, 1));
    bd.CrearNuevaInnovacion(0, 1, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
    bd.Limpiar();
    EXPECT_EQ(bd.ComprobarInnovacion(0, 1, INO_Enlace), -1);
    EXPECT_EQ(bd.ComprobarInnovacion(0, 3, INO_Enlace), -1);
    ComprobarNeurona(bd, 0);
    // Filled again, it answers for the new records only.
    bd.CrearNuevaInnovacion(5, 6, INO_Neurona, Neurona_Oculta, 0.1, 0.2);
    EXPECT_EQ(bd.ComprobarInnovacion(5, 6, INO_Neurona), 0);
    ComprobarNeurona(bd, 0);
}

TEST(IndiceInnovaciones, CopiaYOriginalSonIndependientes)
{
    CInnovacion bd(CGenoma(0, 2, 1));
    CInnovacion copia(bd);
    bd.CrearNuevaInnovacion(2, 3, INO_Neurona, Neurona_Oculta, 0.5, 0.5);
    copia.CrearNuevaInnovacion(1, 3, INO_Neurona, Neurona_Oculta, 0.7, 0.5);
    EXPECT_EQ(bd.ComprobarInnovacion(2, 3, INO_Neurona), 7);
    EXPECT_EQ(bd.ComprobarInnovacion(1, 3, INO_Neurona), -1);
    EXPECT_EQ(copia.ComprobarInnovacion(1, 3, INO_Neurona), 7);
    EXPECT_EQ(copia.ComprobarInnovacion(2, 3, INO_Neurona), -1);
    ComprobarNeurona(bd, 4);
    ComprobarNeurona(copia, 4);
    copia = bd;
    EXPECT_EQ(copia.ComprobarInnovacion(2, 3, INO_Neurona), 7);
    EXPECT_EQ(copia.ComprobarInnovacion(1, 3, INO_Neurona), -1);
}

TEST(IndiceInnovaciones, BaseLeidaDeTextoResponde)
{
    CInnovacion bd(CGenoma(0, 3, 2));
    for (int k = 0; k < 50; ++k)
        bd.CrearNuevaInnovacion(k % 6, (k * 5) % 7, k % 3 ? INO_Enlace : INO_Neurona,
                                k % 3 ? Neurona_SinTipo : Neurona_Oculta, 0.5, 0.5);
    std::stringstream texto;
    texto << bd;
    CInnovacion leida(CGenoma(0, 1, 1));
    texto >> leida;
    ASSERT_FALSE(texto.fail());
    for (int nIni = -1; nIni < 8; ++nIni)
        for (int nFin = -1; nFin < 8; ++nFin)
            for (TInnovacion t : {INO_Neurona, INO_Enlace})
                EXPECT_EQ(leida.ComprobarInnovacion(nIni, nFin, t), ComprobarPorBarrido(leida, nIni, nFin, t));
    for (int nID = -1; nID <= leida.GetSigIDNeurona(); ++nID)
        ComprobarNeurona(leida, nID);
}

// Many records from narrow id ranges, so that pairs repeat often, with
// negative and extreme ids, through both creation forms; the index grows
// many times on the way. Every answer must be the scan's.
TEST(IndiceInnovaciones, CoincideConElBarridoEnUnaBaseGrande)
{
    SetSemillaRandom(5);
    CInnovacion bd(CGenoma(0, 2, 1));
    std::mt19937 gen(99);
    const int vRaros[] = {-2147483647 - 1, -1, 2147483647, 65536, -65536};
    auto Id = [&](int nRango) { return gen() % 20 == 0 ? vRaros[gen() % 5] : static_cast<int>(gen() % nRango) - 2; };
    for (int k = 0; k < 6000; ++k) {
        const TInnovacion t = gen() % 3 == 0 ? INO_Neurona : INO_Enlace;
        if (gen() % 4 == 0)
            bd.CrearNuevaInnovacion(Registro(Id(9000), t, Id(60), Id(60), Id(400), 0.001 * k));
        else
            bd.CrearNuevaInnovacion(Id(60), Id(60), t, t == INO_Neurona ? Neurona_Oculta : Neurona_SinTipo, 0.001 * k,
                                    0.5);
    }
    for (int q = 0; q < 3000; ++q) {
        const int nIni = Id(64), nFin = Id(64);
        const TInnovacion t = q % 2 ? INO_Enlace : INO_Neurona;
        ASSERT_EQ(bd.ComprobarInnovacion(nIni, nFin, t), ComprobarPorBarrido(bd, nIni, nFin, t))
            << nIni << " " << nFin << " " << t;
    }
    for (int q = 0; q < 600; ++q)
        ComprobarNeurona(bd, Id(2500));
    for (int nRaro : vRaros)
        ComprobarNeurona(bd, nRaro);
}

TEST(IndicePosiciones, GuardaLaPrimeraPosicionYCreceSinPerderClaves)
{
    CIndicePosiciones indice;
    EXPECT_EQ(indice.Buscar(0), -1);
    for (int i = 0; i < 5000; ++i) {
        indice.InsertarSiFalta(static_cast<std::uint64_t>(i) << 32, i);
        indice.InsertarSiFalta(static_cast<std::uint64_t>(i) << 32, i + 100000);
    }
    for (int i = 0; i < 5000; ++i)
        ASSERT_EQ(indice.Buscar(static_cast<std::uint64_t>(i) << 32), i);
    EXPECT_EQ(indice.Buscar(1), -1);
    EXPECT_EQ(indice.Buscar(~std::uint64_t(0)), -1);
    indice.Limpiar();
    EXPECT_EQ(indice.Buscar(0), -1);
}
