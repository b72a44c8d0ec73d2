// An evolution stopped between two epochs and restored into a new engine
// goes on exactly as the uninterrupted one; the random source's state comes
// back the same way. Damaged states are refused without touching anything.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "DebugLib/Random/Random.h"
#include "NEAT/CAlgoritmoGenetico.h"
#include "apoyo/Poblacion.h"

namespace {

const int kEntradas = 3;
const int kSalidas = 1;
const std::size_t kMiembros = 30;
const int kEpocas = 12;

// Any score that depends on the weights and the shape will do; hidden
// neurons pay, so that genomes grow and species split and go stale.
double Puntuar(CGenoma& genoma)
{
    CRedNeuronal& red = const_cast<CRedNeuronal&>(*genoma.CrearFenotipo());
    double dError = 0.0;
    for (int nCaso = 0; nCaso < 8; ++nCaso) {
        const double a = nCaso & 1, b = (nCaso >> 1) & 1, c = (nCaso >> 2) & 1;
        const double dParidad = static_cast<int>(a + b + c) % 2;
        dError += std::fabs(red.Actualizar({a, b, c}, Ejecucion_Instantanea)[0] - dParidad);
    }
    return (8.0 - dError) * (8.0 - dError) + 0.5 * genoma.GetNumGenesNeurona();
}

void Preparar(CAlgoritmoGenetico& ag)
{
    ag.Inicializar(kEntradas, kSalidas);
    ag.SetProbabilidadAnyadirNeurona(0.4);
    ag.SetProbabilidadAnyadirEnlace(0.8);
    ag.SetMaxEpocasPermitidasSinMejora(2);
    ag.SetUmbralCompatibilidadEspecie(0.15);
}

void Epocas(CAlgoritmoGenetico& ag, CPoblacionPrueba& poblacion, int nEpocas)
{
    for (int n = 0; n < nEpocas; ++n) {
        for (std::size_t i = 0; i < poblacion.size(); ++i)
            poblacion[i].SetPuntuacion(Puntuar(*poblacion[i].Genoma()));
        ag.Epoca(poblacion.Vector());
    }
}

std::string Estado(const CAlgoritmoGenetico& ag, CPoblacionPrueba& poblacion)
{
    std::ostringstream out;
    ag.SalvarEstado(poblacion.Vector(), out);
    return out.str();
}

// kEpocas epochs from seed 9, stopping after nParada when it is not 0; the
// state and the best networks' outputs at the end.
std::string Correr(int nParada)
{
    SetSemillaRandom(9);
    std::unique_ptr<CAlgoritmoGenetico> ag(new CAlgoritmoGenetico);
    Preparar(*ag);
    std::unique_ptr<CPoblacionPrueba> poblacion(new CPoblacionPrueba(kMiembros));
    for (std::size_t i = 0; i < kMiembros; ++i)
        ag->CrearMente(&(*poblacion)[i]);
    if (nParada > 0) {
        Epocas(*ag, *poblacion, nParada);
        const std::string sEstado = Estado(*ag, *poblacion);
        const std::string sRandom = GetEstadoRandom();
        // Another process: nothing of the first engine survives.
        poblacion.reset(new CPoblacionPrueba(kMiembros));
        ag.reset(new CAlgoritmoGenetico);
        SetSemillaRandom(12345);
        Preparar(*ag);
        std::istringstream in(sEstado);
        std::string sMotivo;
        EXPECT_TRUE(ag->RecuperarEstado(poblacion->Vector(), in, sMotivo)) << sMotivo;
        EXPECT_EQ(Estado(*ag, *poblacion), sEstado) << "the restored state writes back the same text";
        EXPECT_TRUE(SetEstadoRandom(sRandom));
    }
    Epocas(*ag, *poblacion, kEpocas - nParada);
    std::ostringstream resultado;
    resultado << Estado(*ag, *poblacion);
    for (const CRedNeuronal* pRed : ag->GetMejoresFenotipos())
        resultado << const_cast<CRedNeuronal*>(pRed)->Actualizar({1, 0, 1}, Ejecucion_Instantanea)[0] << '\n';
    resultado << ag->GetEspecies().size() << '\n';
    return resultado.str();
}

}  // namespace

TEST(EstadoMotor, ParadoYRecuperadoSigueIgualQueSinParar)
{
    const std::string sSeguido = Correr(0);
    // Early (young species), in the middle and just before the end, when
    // stale species have been removed and the best fitness is carried.
    for (int nParada : {1, 5, kEpocas - 1}) {
        SCOPED_TRACE("stopped after epoch " + std::to_string(nParada));
        EXPECT_EQ(Correr(nParada), sSeguido);
    }
}

TEST(EstadoMotor, ValoresExactos)
{
    SetSemillaRandom(3);
    // Weights with more digits than a default stream writes, and fitness
    // values a default stream would round.
    CAlgoritmoGenetico agXor;
    agXor.Inicializar(2, 1);
    CPoblacionPrueba xor_(1);
    xor_.Dar(0, GenomaXor(7, 0.1234567890123456789, -1.0 / 3.0, 2.0 / 7.0));
    xor_[0].Genoma()->SetIdoneidad(1.0 / 3.0);
    xor_[0].Genoma()->SetEspecie(4);
    std::ostringstream out;
    agXor.SalvarEstado(xor_.Vector(), out);
    CAlgoritmoGenetico agXor2;
    agXor2.Inicializar(2, 1);
    CPoblacionPrueba xor2(1);
    std::istringstream in(out.str());
    std::string sMotivo;
    ASSERT_TRUE(agXor2.RecuperarEstado(xor2.Vector(), in, sMotivo)) << sMotivo;
    const CGenoma& g = *xor2[0].Genoma();
    EXPECT_EQ(g.GetID(), 7u);
    EXPECT_EQ(g.GetEspecie(), 4u);
    EXPECT_EQ(g.GetIdoneidad(), 1.0 / 3.0);
    ASSERT_EQ(g.GetNumGenesEnlace(), 3u);
    EXPECT_EQ(g.GetGenesEnlace()[0].dPeso, 0.1234567890123456789);
    EXPECT_EQ(g.GetGenesEnlace()[1].dPeso, -1.0 / 3.0);
    EXPECT_EQ(g.GetGenesNeurona()[1].dSplitX, 0.75);
    EXPECT_EQ(g.GetGenesNeurona()[2].dCurvaturaActivacion, xor_[0].Genoma()->GetGenesNeurona()[2].dCurvaturaActivacion);

    // An engine of another shape refuses it.
    CAlgoritmoGenetico ag2;
    Preparar(ag2);
    CPoblacionPrueba otra(1);
    std::istringstream in2(out.str());
    EXPECT_FALSE(ag2.RecuperarEstado(otra.Vector(), in2, sMotivo));
    EXPECT_NE(sMotivo.find("entradas"), std::string::npos) << sMotivo;
}

TEST(EstadoMotor, EstadoDanyadoNoCambiaNada)
{
    SetSemillaRandom(4);
    CAlgoritmoGenetico ag;
    Preparar(ag);
    CPoblacionPrueba poblacion(kMiembros);
    for (std::size_t i = 0; i < kMiembros; ++i)
        ag.CrearMente(&poblacion[i]);
    Epocas(ag, poblacion, 3);
    const std::string sEstado = Estado(ag, poblacion);

    CAlgoritmoGenetico destino;
    Preparar(destino);
    CPoblacionPrueba vacia(kMiembros);
    for (std::size_t i = 0; i < kMiembros; ++i)
        destino.CrearMente(&vacia[i]);
    const std::string sAntes = Estado(destino, vacia);
    const CGenoma* pPrimero = vacia[0].GetGenoma();
    std::string sMotivo;
    // Cut anywhere (inside a number too), or with a stray word at the end.
    for (std::size_t nCorte : {std::size_t(0), std::size_t(10), sEstado.size() / 3, sEstado.size() / 2,
                               sEstado.size() - 20, sEstado.size() - 3}) {
        std::istringstream in(sEstado.substr(0, nCorte));
        EXPECT_FALSE(destino.RecuperarEstado(vacia.Vector(), in, sMotivo)) << nCorte;
        EXPECT_FALSE(sMotivo.empty());
    }
    std::istringstream mal(sEstado.substr(0, sEstado.size() - 3) + "xyz\n");
    EXPECT_FALSE(destino.RecuperarEstado(vacia.Vector(), mal, sMotivo));

    // A negative count of innovation records: refused in the same words as
    // by the population reader.
    const std::size_t nBD = sEstado.find('\n', sEstado.find('\n') + 1) + 1;
    std::istringstream bdMala(sEstado.substr(0, nBD) + "-" + sEstado.substr(nBD));
    EXPECT_FALSE(destino.RecuperarEstado(vacia.Vector(), bdMala, sMotivo));
    EXPECT_EQ(sMotivo,
              "la base de datos de innovaciones est"
              "\xE1"
              " incompleta o da"
              "\xF1"
              "ada");

    // Another population size: says both.
    CPoblacionPrueba corta(kMiembros - 1);
    std::istringstream entero(sEstado);
    EXPECT_FALSE(destino.RecuperarEstado(corta.Vector(), entero, sMotivo));
    EXPECT_NE(sMotivo.find(std::to_string(kMiembros)), std::string::npos) << sMotivo;
    EXPECT_NE(sMotivo.find(std::to_string(kMiembros - 1)), std::string::npos) << sMotivo;

    EXPECT_EQ(vacia[0].GetGenoma(), pPrimero);
    EXPECT_EQ(Estado(destino, vacia), sAntes);
}

TEST(EstadoRandom, SigueLaMismaSecuencia)
{
    SetSemillaRandom(77);
    RandomDouble(0, 1);
    const std::string sEstado = GetEstadoRandom();
    std::vector<double> vEsperado;
    for (int i = 0; i < 700; ++i)  // past the generator's refill of its words
        vEsperado.push_back(i % 2 ? RandomDouble(-1, 1) : RandomInt(0, 9));
    SetSemillaRandom(1);
    ASSERT_TRUE(SetEstadoRandom(sEstado));
    for (int i = 0; i < 700; ++i)
        ASSERT_EQ(i % 2 ? RandomDouble(-1, 1) : RandomInt(0, 9), vEsperado[i]) << i;
}

TEST(EstadoRandom, TextoQueNoEsUnEstadoSeRechaza)
{
    SetSemillaRandom(5);
    const std::string sBueno = GetEstadoRandom();
    const std::string sSinIndice = sBueno.substr(0, sBueno.rfind(' '));
    SetSemillaRandom(6);
    const double dSiguiente = RandomDouble(0, 1);
    SetSemillaRandom(6);
    for (const std::string& sMalo :
         {std::string(), std::string("1 2 3"), sSinIndice, sSinIndice + " 625", sSinIndice + " -1", sBueno + " 1",
          "99999999999 " + sBueno.substr(sBueno.find(' ') + 1), sSinIndice + " x"}) {
        EXPECT_FALSE(SetEstadoRandom(sMalo)) << sMalo.substr(0, 40);
    }
    EXPECT_EQ(RandomDouble(0, 1), dSiguiente) << "a refused text leaves the generator alone";
}
