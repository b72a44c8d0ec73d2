// The network evaluates through a private compact copy of itself. Whatever
// the network (recurrent links, self-loops, neurons in any order, an odd
// kind at the bias position, a link from another network) and whatever the
// sequence of calls and changes, every output and every neuron's dSalida
// must equal, bit for bit, what the plain walk over the neurons gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "NEAT/CRedNeuronal.h"

namespace {

// The evaluation as defined: passes over the neurons themselves, reading
// every link through its source's current dSalida.
TVecDoubles EvaluarPorNeuronas(const CRedNeuronal& red, const TVecDoubles& vEntradas, size_t nCapas, TEjecucion modo)
{
    const std::vector<SNeurona*>& v = red.GetRed();
    TVecDoubles vSalidas;
    const size_t nPasadas = modo == Ejecucion_Instantanea ? nCapas : 1;
    for (size_t p = 0; p < nPasadas; ++p) {
        vSalidas.clear();
        size_t i = 0;
        for (; i < v.size() && v[i]->TipoNeurona == Neurona_Entrada; ++i)
            v[i]->dSalida = vEntradas[i];
        if (i < v.size())
            v[i++]->dSalida = 1.0;
        for (; i < v.size(); ++i) {
            double dSuma = 0.0;
            for (const SEnlace& e : v[i]->vEnlacesEntrada)
                dSuma += e.dPeso * e.pNeuronaEntrada->dSalida;
            v[i]->dSalida = 1.0 / (1.0 + std::exp(-dSuma / v[i]->dCurvaturaSigmoidea));
            if (v[i]->TipoNeurona == Neurona_Salida)
                vSalidas.push_back(v[i]->dSalida);
        }
    }
    if (modo == Ejecucion_Instantanea)
        for (SNeurona* n : v)
            n->dSalida = 0.0;
    return vSalidas;
}

// Builds the same random network into several networks at once.
class CRedesGemelas {
public:
    CRedesGemelas(unsigned int nSemilla, int nEntradas, int nResto) : m_gen(nSemilla), m_nEntradas(nEntradas)
    {
        AddNeurona(Neurona_Entrada, nEntradas, 0.0);
        AddNeurona(Neurona_Sesgo, 1, 0.0);
        for (int i = 0; i < nResto; ++i) {
            const int nCapa = static_cast<int>(m_gen() % 4);
            AddNeurona(m_gen() % 2 ? Neurona_Salida : Neurona_Oculta, 1, nCapa / 3.0);
        }
    }

    void AddNeurona(TNeurona tipo, int nCuantas, double dY)
    {
        for (int k = 0; k < nCuantas; ++k) {
            const double dCurva = 0.2 + Uniforme();
            m_vA.push_back(m_a.AddNeurona(tipo, m_nSigID, 0.5, dY, dCurva));
            m_vB.push_back(m_b.AddNeurona(tipo, m_nSigID, 0.5, dY, dCurva));
            m_vY.push_back(dY);
            ++m_nSigID;
        }
    }

    // Links anywhere, backwards and onto themselves included.
    void AddEnlaces(int nCuantos)
    {
        for (int k = 0; k < nCuantos; ++k) {
            const size_t nDesde = m_gen() % m_vA.size(), nHasta = m_gen() % m_vA.size();
            const double dPeso = 4.0 * Uniforme() - 2.0;
            m_a.AddEnlace(m_vA[nDesde], m_vA[nHasta], dPeso, false);
            m_b.AddEnlace(m_vB[nDesde], m_vB[nHasta], dPeso, false);
        }
    }

    size_t NumCapas() const
    {
        std::vector<double> v = m_vY;
        std::sort(v.begin(), v.end());
        return static_cast<size_t>(std::unique(v.begin(), v.end()) - v.begin());
    }

    TVecDoubles Entradas()
    {
        TVecDoubles v;
        for (int i = 0; i < m_nEntradas; ++i)
            v.push_back(2.0 * Uniforme() - 1.0);
        return v;
    }

    double Uniforme() { return m_gen() / 4294967296.0; }

    CRedNeuronal& A() { return m_a; }
    CRedNeuronal& B() { return m_b; }

private:
    std::mt19937 m_gen;
    int m_nEntradas;
    int m_nSigID = 0;
    CRedNeuronal m_a, m_b;
    std::vector<const SNeurona*> m_vA, m_vB;
    std::vector<double> m_vY;
};

void ComprobarLlamada(CRedesGemelas& redes, TEjecucion modo)
{
    const TVecDoubles vEntradas = redes.Entradas();
    const TVecDoubles vObtenidas = redes.A().Actualizar(vEntradas, modo);
    const TVecDoubles vEsperadas = EvaluarPorNeuronas(redes.B(), vEntradas, redes.NumCapas(), modo);
    ASSERT_EQ(vObtenidas.size(), vEsperadas.size());
    for (size_t i = 0; i < vEsperadas.size(); ++i)
        ASSERT_EQ(vObtenidas[i], vEsperadas[i]) << "salida " << i;
    for (size_t i = 0; i < redes.A().GetRed().size(); ++i)
        ASSERT_EQ(redes.A().GetRed()[i]->dSalida, redes.B().GetRed()[i]->dSalida) << "neurona " << i;
}

void ComprobarSecuencia(CRedesGemelas& redes, int nLlamadas)
{
    for (int k = 0; k < nLlamadas; ++k) {
        ComprobarLlamada(redes, k % 3 == 2 ? Ejecucion_Instantanea : Ejecucion_PasoDinamico);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

}  // namespace

TEST(RedCompacta, RedesAleatoriasIgualesBitABitEnLlamadasMezcladas)
{
    for (unsigned int nSemilla = 1; nSemilla <= 40; ++nSemilla) {
        SCOPED_TRACE(nSemilla);
        CRedesGemelas redes(nSemilla, 1 + nSemilla % 5, 1 + nSemilla % 13);
        redes.AddEnlaces(static_cast<int>(5 * nSemilla));
        ASSERT_NO_FATAL_FAILURE(ComprobarSecuencia(redes, 12));
    }
}

// Changes after an evaluation must be seen by the next one.
TEST(RedCompacta, CambiosTrasEvaluarSeTienenEnCuenta)
{
    CRedesGemelas redes(7, 3, 4);
    redes.AddEnlaces(10);
    ASSERT_NO_FATAL_FAILURE(ComprobarSecuencia(redes, 4));
    redes.AddEnlaces(6);
    ASSERT_NO_FATAL_FAILURE(ComprobarSecuencia(redes, 4));
    redes.AddNeurona(Neurona_Salida, 2, 0.5);  // a new layer and new outputs
    ASSERT_NO_FATAL_FAILURE(ComprobarSecuencia(redes, 4));
    redes.AddEnlaces(8);
    ASSERT_NO_FATAL_FAILURE(ComprobarSecuencia(redes, 4));
}

TEST(RedCompacta, LimpiarYReconstruirDaLaRedNueva)
{
    CRedNeuronal red;
    const SNeurona* e = red.AddNeurona(Neurona_Entrada, 0, 0.5, 0.0, 1.0);
    red.AddNeurona(Neurona_Sesgo, 1, 0.2, 0.0, 1.0);
    const SNeurona* s = red.AddNeurona(Neurona_Salida, 2, 0.5, 1.0, 1.0);
    red.AddEnlace(e, s, 5.0, false);
    red.Actualizar({1.0}, Ejecucion_PasoDinamico);
    red.Limpiar();
    // One neuron fewer: a cache of the old network would read past it.
    const SNeurona* b = red.AddNeurona(Neurona_Sesgo, 0, 0.2, 0.0, 1.0);
    const SNeurona* s2 = red.AddNeurona(Neurona_Salida, 1, 0.5, 1.0, 2.0);
    red.AddEnlace(b, s2, -1.0, false);
    const TVecDoubles v = red.Actualizar({}, Ejecucion_PasoDinamico);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0], 1.0 / (1.0 + std::exp(1.0 / 2.0)));
}

// The neurons' outputs are the state between stepwise calls; a caller that
// sets one between calls is heard, as with the plain walk.
TEST(RedCompacta, SalidasEscritasEntreLlamadasCuentan)
{
    CRedesGemelas redes(3, 2, 6);
    redes.AddEnlaces(25);
    ASSERT_NO_FATAL_FAILURE(ComprobarSecuencia(redes, 3));
    for (size_t i = 3; i < redes.A().GetRed().size(); ++i) {
        redes.A().GetRed()[i]->dSalida = 0.25 * i;
        redes.B().GetRed()[i]->dSalida = 0.25 * i;
    }
    ASSERT_NO_FATAL_FAILURE(ComprobarLlamada(redes, Ejecucion_PasoDinamico));
}

// The neuron after the inputs is the bias whatever its kind: an output
// there is neither computed nor reported; its incoming links are ignored.
TEST(RedCompacta, SalidaEnLugarDelSesgoNoSeInforma)
{
    CRedNeuronal red;
    const SNeurona* e = red.AddNeurona(Neurona_Entrada, 0, 0.5, 0.0, 1.0);
    const SNeurona* falsoSesgo = red.AddNeurona(Neurona_Salida, 1, 0.2, 1.0, 1.0);
    const SNeurona* s = red.AddNeurona(Neurona_Salida, 2, 0.5, 1.0, 1.0);
    red.AddEnlace(e, falsoSesgo, 3.0, false);
    red.AddEnlace(falsoSesgo, s, 2.0, false);
    const TVecDoubles v = red.Actualizar({0.5}, Ejecucion_PasoDinamico);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0], 1.0 / (1.0 + std::exp(-2.0)));
    EXPECT_EQ(falsoSesgo->dSalida, 1.0);
}

// A link whose source belongs to another network reads that neuron's
// output, as the plain walk does.
TEST(RedCompacta, EnlaceDesdeOtraRedLeeEsaNeurona)
{
    CRedNeuronal otra;
    SNeurona* ajena = const_cast<SNeurona*>(otra.AddNeurona(Neurona_Oculta, 9, 0.5, 0.5, 1.0));
    CRedNeuronal red;
    red.AddNeurona(Neurona_Sesgo, 0, 0.2, 0.0, 1.0);
    const SNeurona* s = red.AddNeurona(Neurona_Salida, 1, 0.5, 1.0, 1.0);
    red.AddEnlace(ajena, s, 1.0, false);
    ajena->dSalida = 0.75;
    EXPECT_EQ(red.Actualizar({}, Ejecucion_PasoDinamico)[0], 1.0 / (1.0 + std::exp(-0.75)));
    ajena->dSalida = -2.0;
    EXPECT_EQ(red.Actualizar({}, Ejecucion_PasoDinamico)[0], 1.0 / (1.0 + std::exp(2.0)));
}
