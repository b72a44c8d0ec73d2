// Whole epochs through the public interface: order of the draws, identifiers,
// offspring per species, reports and set-up.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "DebugLib/LogUtils/CLog.h"
#include "NEAT/CAlgoritmoGenetico.h"
#include "NEAT/CEspecie.h"
#include "apoyo/Poblacion.h"
#include "apoyo/RandomGuion.h"

namespace {

std::string RutaTemporal(const std::string& sNombre)
{
    const std::string sRuta = testing::TempDir() + "epoca_" + sNombre + ".log";
    std::remove(sRuta.c_str());
    return sRuta;
}

std::string LeerArchivo(const std::string& sRuta)
{
    std::ifstream archivo(sRuta, std::ios::binary);
    std::stringstream contenido;
    contenido << archivo.rdbuf();
    return contenido.str();
}

struct SLlamadaEsperada {
    char cTipo;
    double dMin, dMax;
};

void ComprobarLlamadas(const std::vector<SLlamadaEsperada>& vEsperadas)
{
    const std::vector<SLlamadaRandom>& vLlamadas = GuionLlamadas();
    ASSERT_EQ(vLlamadas.size(), vEsperadas.size());
    for (std::size_t i = 0; i < vEsperadas.size(); ++i) {
        EXPECT_EQ(vLlamadas[i].cTipo, vEsperadas[i].cTipo) << "llamada " << i;
        EXPECT_EQ(vLlamadas[i].dMin, vEsperadas[i].dMin) << "llamada " << i;
        EXPECT_EQ(vLlamadas[i].dMax, vEsperadas[i].dMax) << "llamada " << i;
    }
}

const SLlamadaEsperada kEntero01 = {'I', 0, 1};
const SLlamadaEsperada kReal01 = {'D', 0, 1};

// Draws of the mutations of an offspring with 4 neuron and 3 link genes when
// every draw fails its rate.
std::vector<double> MutacionesQueFallan() { return std::vector<double>(1 + 1 + 3 + 4, 0.99); }

class Epoca : public ::testing::Test {
protected:
    Epoca()
    {
        GuionReiniciar();
        m_ag.Inicializar(2, 1);
    }
    ~Epoca() { CEspecie::SetRatioSuperviviencia(0.3); }

    // n members with genomes from CrearMente (ids 0 to n - 1).
    void Crear(std::size_t n)
    {
        m_pPoblacion.reset(new CPoblacionPrueba(n));
        for (std::size_t i = 0; i < n; ++i)
            m_ag.CrearMente(&(*m_pPoblacion)[i]);
    }
    // Member i gets a hand-made genome with id i: weights (w4, w5), score.
    void Dar(std::size_t i, double w4, double w5, double dPuntuacion)
    {
        m_pPoblacion->Dar(i, GenomaXor(static_cast<int>(i), w4, w5, 0.0));
        (*m_pPoblacion)[i].SetPuntuacion(dPuntuacion);
    }
    const CGenoma& Genoma(std::size_t i) { return *(*m_pPoblacion)[i].GetGenoma(); }
    unsigned int ID(std::size_t i) { return Genoma(i).GetID(); }

    // Two members scored 3 and 1 in one species; parents drawn from both.
    void DosPadres()
    {
        Crear(2);
        Dar(0, 0.5, 0.25, 3.0);
        Dar(1, -0.5, 0.75, 1.0);
        m_ag.SetNumeroIndividuosElite(0);
        m_ag.SetUmbralCompatibilidadEspecie(100.0);
        CEspecie::SetRatioSuperviviencia(1.0);
    }

    CAlgoritmoGenetico m_ag;
    std::unique_ptr<CPoblacionPrueba> m_pPoblacion;
};

}  // namespace

TEST_F(Epoca, OrdenDeSorteosDeUnHijoCruzado)
{
    DosPadres();
    std::vector<double> vGuion = {0, 0.5, 0, 1, 0, 1, 0, 0.1, 0.2, 0.3, 0.4};
    for (double d : MutacionesQueFallan())
        vGuion.push_back(d);
    GuionCargar(vGuion);

    m_ag.Epoca(m_pPoblacion->Vector());

    // g1; crossover rate; g2, equal to g1, drawn again; one coin per matching
    // gene; one curvature per child neuron; AddNeurona, AddEnlace, a weight
    // draw per link and a curvature draw per neuron.
    std::vector<SLlamadaEsperada> vEsperadas = {kEntero01, kReal01,   kEntero01, kEntero01,
                                                kEntero01, kEntero01, kEntero01};
    for (int i = 0; i < 4 + 9; ++i)
        vEsperadas.push_back(kReal01);
    ComprobarLlamadas(vEsperadas);
    EXPECT_EQ(GuionPendientes(), 0u);

    EXPECT_EQ(ID(0), 0u);  // the leader's copy
    EXPECT_EQ(ID(1), 4u);  // n + 2: crossover spent n + 1
    const TGEnlaces& enlaces = Genoma(1).GetGenesEnlace();
    ASSERT_EQ(enlaces.size(), 3u);
    EXPECT_EQ(enlaces[0].dPeso, 0.5);
    EXPECT_EQ(enlaces[1].dPeso, 0.75);
    EXPECT_EQ(enlaces[2].dPeso, 0.0);
    EXPECT_EQ(Genoma(1).GetGenesNeurona()[3].dCurvaturaActivacion, 0.4);
    EXPECT_EQ(m_ag.GetGeneracion(), 1);
}

TEST_F(Epoca, HijoCopiadoLlevaNMasUno)
{
    DosPadres();
    std::vector<double> vGuion = {1, 0.9};
    for (double d : MutacionesQueFallan())
        vGuion.push_back(d);
    GuionCargar(vGuion);

    m_ag.Epoca(m_pPoblacion->Vector());

    std::vector<SLlamadaEsperada> vEsperadas = {kEntero01};
    for (int i = 0; i < 1 + 9; ++i)
        vEsperadas.push_back(kReal01);
    ComprobarLlamadas(vEsperadas);
    EXPECT_EQ(ID(1), 3u);
    EXPECT_EQ(Genoma(1).GetGenesEnlace()[0].dPeso, -0.5);  // copy of the member scored 1
    EXPECT_EQ(Genoma(1).GetGenesEnlace()[1].dPeso, 0.75);
}

TEST_F(Epoca, PadresIgualesTrasCincoSorteosDanUnaCopia)
{
    DosPadres();
    std::vector<double> vGuion = {0, 0.1, 0, 0, 0, 0, 0, 0};
    for (double d : MutacionesQueFallan())
        vGuion.push_back(d);
    GuionCargar(vGuion);

    m_ag.Epoca(m_pPoblacion->Vector());

    std::vector<SLlamadaEsperada> vEsperadas = {kEntero01, kReal01};
    for (int i = 0; i < 6; ++i)
        vEsperadas.push_back(kEntero01);
    for (int i = 0; i < 9; ++i)
        vEsperadas.push_back(kReal01);
    ComprobarLlamadas(vEsperadas);
    EXPECT_EQ(ID(1), 3u);  // no crossover: no id spent
    EXPECT_EQ(Genoma(1).GetGenesEnlace()[0].dPeso, 0.5);
}

TEST_F(Epoca, InformesConSuFormato)
{
    const std::string sEspecies = RutaTemporal("especies");
    const std::string sGenes = RutaTemporal("genes");
    const std::string sAG = RutaTemporal("ag");
    m_ag.SetLogEspecies(new CLog(sEspecies, "w"));
    m_ag.SetLogGenes(new CLog(sGenes, "w"));
    m_ag.SetLogAG(new CLog(sAG, "w"));
    m_ag.SetEspeciacion(false);
    Crear(2);
    Dar(0, 0, 0, 1.0);
    Dar(1, 0, 0, 3.0);

    m_ag.Epoca(m_pPoblacion->Vector());
    (*m_pPoblacion)[0].SetPuntuacion(2.0);
    (*m_pPoblacion)[1].SetPuntuacion(4.0);
    m_ag.Epoca(m_pPoblacion->Vector());

    EXPECT_EQ(LeerArchivo(sEspecies),
              "\n**** GENERACION (0) ESPECIES (2). \n**************\n"
              "ID\tIndiv.\tEdad\tSinMej\tLider\t\tHijos\n"
              "0\t1\t0\t0\t3.000000\t1.500000\t\n"
              "1\t1\t0\t0\t1.000000\t0.500000\t\n"
              "\n**** GENERACION (1) ESPECIES (4). \n**************\n"
              "ID\tIndiv.\tEdad\tSinMej\tLider\t\tHijos\n"
              "0\t0\t1\t1\t3.000000\t0.000000\t\n"
              "1\t0\t1\t1\t1.000000\t0.000000\t\n"
              "2\t1\t0\t0\t4.000000\t1.333333\t\n"
              "3\t1\t0\t0\t2.000000\t0.666667\t\n");
    const std::string sLineasGenes = LeerArchivo(sGenes);
    EXPECT_EQ(sLineasGenes.substr(0, sLineasGenes.find('\n') + 1), "4\t3\t4.000000\t3.000000\n");
    EXPECT_EQ(LeerArchivo(sAG),
              "0\t3.000000\t3.000000\t2.000000\n"
              "1\t4.000000\t4.000000\t3.000000\n");
}

TEST_F(Epoca, SinInformesCriaIgual)
{
    // The same run twice, with and without logs, from the same draws.
    const std::string sEspecies = RutaTemporal("igual_especies");
    const std::string sGenes = RutaTemporal("igual_genes");
    const std::string sAG = RutaTemporal("igual_ag");
    std::vector<std::vector<unsigned int>> vIDs;
    std::vector<std::vector<double>> vPesos;
    for (int nPasada = 0; nPasada < 2; ++nPasada) {
        GuionReiniciar();
        m_ag.Inicializar(2, 1);
        if (nPasada == 0) {
            m_ag.SetLogEspecies(new CLog(sEspecies, "w"));
            m_ag.SetLogGenes(new CLog(sGenes, "w"));
            m_ag.SetLogAG(new CLog(sAG, "w"));
        }
        Crear(12);
        for (int nGeneracion = 0; nGeneracion < 4; ++nGeneracion) {
            for (std::size_t i = 0; i < 12; ++i)
                (*m_pPoblacion)[i].SetPuntuacion(static_cast<double>((i * 7 + nGeneracion) % 5));
            m_ag.Epoca(m_pPoblacion->Vector());
        }
        vIDs.emplace_back();
        vPesos.emplace_back();
        for (std::size_t i = 0; i < 12; ++i) {
            vIDs.back().push_back(ID(i));
            for (const SGenEnlace& enlace : Genoma(i).GetGenesEnlace())
                vPesos.back().push_back(enlace.dPeso);
        }
    }
    EXPECT_EQ(vIDs[0], vIDs[1]);
    EXPECT_EQ(vPesos[0], vPesos[1]);
    // Only the first pass wrote: one line per epoch.
    const std::string sLineas = LeerArchivo(sAG);
    EXPECT_EQ(std::count(sLineas.begin(), sLineas.end(), '\n'), 4);
    EXPECT_EQ(sLineas.substr(0, 2), "0\t");
}

TEST_F(Epoca, EliteMayorQueLaPoblacion)
{
    Crear(3);
    m_ag.SetNumeroIndividuosElite(5);
    (*m_pPoblacion)[0].SetPuntuacion(3.0);
    (*m_pPoblacion)[1].SetPuntuacion(7.0);
    (*m_pPoblacion)[2].SetPuntuacion(5.0);
    GuionCargar({});

    m_ag.Epoca(m_pPoblacion->Vector());

    EXPECT_EQ(GuionNumLlamadas(), 0u);  // no breeding, no tournament
    EXPECT_EQ(ID(0), 1u);
    EXPECT_EQ(ID(1), 2u);
    EXPECT_EQ(ID(2), 0u);
    EXPECT_EQ(Genoma(0).GetIdoneidad(), 7.0);
    const TFenotipos vRedes = m_ag.GetMejoresFenotipos();
    ASSERT_EQ(vRedes.size(), 3u);
    for (const CRedNeuronal* pRed : vRedes)
        EXPECT_NE(pRed, nullptr);
    testing::internal::CaptureStderr();
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(Genoma(i).GetFenotipo(), nullptr);
    testing::internal::GetCapturedStderr();
}

TEST_F(Epoca, DosEspeciesLlenanLaPoblacion)
{
    // Expected offspring 6.4 and 3.6, elite 2: elite, leader + 5, leader + 1.
    Crear(10);
    for (std::size_t i = 0; i < 10; ++i)
        Dar(i, i < 5 ? 0.0 : 1.0, i < 5 ? 0.0 : 1.0, i < 5 ? 16.0 : 9.0);
    GuionCargar({});

    m_ag.Epoca(m_pPoblacion->Vector());

    EXPECT_LT(ID(0), 5u);
    EXPECT_LT(ID(1), 5u);
    EXPECT_NE(ID(0), ID(1));
    EXPECT_EQ(ID(2), ID(0));  // the first species' leader is the best genome
    std::set<unsigned int> vNuevos;
    for (std::size_t i : {3u, 4u, 5u, 6u, 7u, 9u}) {
        EXPECT_GE(ID(i), 11u);
        vNuevos.insert(ID(i));
    }
    EXPECT_EQ(vNuevos.size(), 6u);
    EXPECT_GE(ID(8), 5u);
    EXPECT_LT(ID(8), 10u);
    for (const SLlamadaRandom& llamada : GuionLlamadas())
        EXPECT_FALSE(llamada.cTipo == 'I' && llamada.dMax == 9.0) << "tournament draw";
}

TEST_F(Epoca, TresEspeciesYUnTorneo)
{
    // Expected offspring 3.34, 3.33, 3.33 without elite: three leaders with
    // two offspring each, then one tournament copy from two draws.
    m_ag.SetNumeroIndividuosElite(0);
    Crear(10);
    for (std::size_t i = 0; i < 10; ++i) {
        const double w = i < 4 ? 0.0 : (i < 7 ? 1.0 : -1.0);
        Dar(i, w, w, i < 4 ? 334.0 : 333.0);
    }
    GuionCargar({});

    m_ag.Epoca(m_pPoblacion->Vector());

    for (std::size_t i : {0u, 3u, 6u, 9u})
        EXPECT_LT(ID(i), 10u) << i;
    for (std::size_t i : {1u, 2u, 4u, 5u, 7u, 8u})
        EXPECT_GE(ID(i), 11u) << i;
    EXPECT_LT(ID(0), 4u);

    const std::vector<SLlamadaRandom>& vLlamadas = GuionLlamadas();
    const std::size_t n = vLlamadas.size();
    ASSERT_GE(n, 2u);
    std::size_t nTorneo = 0;
    for (const SLlamadaRandom& llamada : vLlamadas)
        nTorneo += llamada.cTipo == 'I' && llamada.dMax == 9.0 ? 1 : 0;
    EXPECT_EQ(nTorneo, 2u);
    EXPECT_EQ(vLlamadas[n - 1].dMax, 9.0);
    EXPECT_EQ(vLlamadas[n - 2].dMax, 9.0);
    // Ranked members 0 to 3 hold the genomes scored 334.
    const bool bGanaMejor = vLlamadas[n - 1].dValor < 4 || vLlamadas[n - 2].dValor < 4;
    EXPECT_EQ(Genoma(9).GetIdoneidad(), bGanaMejor ? 334.0 : 333.0);
}

TEST_F(Epoca, PoblacionVaciaNoCambiaNada)
{
    TPoblacionIA vVacia;
    GuionCargar({});
    m_ag.Epoca(vVacia);
    EXPECT_EQ(m_ag.GetGeneracion(), 0);
    EXPECT_EQ(GuionNumLlamadas(), 0u);
    EXPECT_TRUE(m_ag.GetMejoresFenotipos().empty());
}

TEST_F(Epoca, PoblacionMenorQueCincoRellenaConUnSorteo)
{
    // Three species due 1.4, 1.3 and 1.3 offspring pass on their leaders
    // only; the fourth genome comes from a tournament of 4 / 5 = 0 draws,
    // which still draws once.
    m_ag.SetNumeroIndividuosElite(0);
    Crear(4);
    Dar(0, 0, 0, 14.0);
    Dar(1, 0, 0, 14.0);
    Dar(2, 1, 1, 13.0);
    Dar(3, -1, -1, 13.0);
    GuionCargar({});

    m_ag.Epoca(m_pPoblacion->Vector());

    ComprobarLlamadas({{'I', 0, 3}});
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_LT(ID(i), 4u);
    const std::size_t nGanador = static_cast<std::size_t>(GuionLlamadas()[0].dValor);
    EXPECT_EQ(Genoma(3).GetIdoneidad(), nGanador < 2 ? 14.0 : 13.0);
}

TEST_F(Epoca, InicializarRestableceParametrosYBorraLogs)
{
    const std::string sRuta = RutaTemporal("antes");
    m_ag.SetLogAG(new CLog(sRuta, "w"));
    m_ag.SetNumeroIndividuosElite(0);
    m_ag.Inicializar(2, 1);
    m_ag.SetUmbralCompatibilidadEspecie(100.0);
    Crear(3);
    EXPECT_EQ(ID(0), 0u);
    EXPECT_EQ(ID(2), 2u);
    (*m_pPoblacion)[0].SetPuntuacion(1.0);
    (*m_pPoblacion)[1].SetPuntuacion(3.0);
    (*m_pPoblacion)[2].SetPuntuacion(2.0);
    m_ag.Epoca(m_pPoblacion->Vector());
    // Elite back at 2: the two best come first.
    EXPECT_EQ(ID(0), 1u);
    EXPECT_EQ(ID(1), 2u);
    EXPECT_EQ(LeerArchivo(sRuta), "");
}

TEST_F(Epoca, ReinicializarOlvidaLaEjecucionAnterior)
{
    Crear(6);
    for (int nGeneracion = 0; nGeneracion < 3; ++nGeneracion) {
        for (std::size_t i = 0; i < 6; ++i)
            (*m_pPoblacion)[i].SetPuntuacion(static_cast<double>(i));
        m_ag.Epoca(m_pPoblacion->Vector());
    }
    m_ag.Inicializar(3, 2);
    EXPECT_TRUE(m_ag.GetMejoresFenotipos().empty());
    Crear(6);
    for (std::size_t i = 0; i < 6; ++i)
        (*m_pPoblacion)[i].SetPuntuacion(static_cast<double>(i));
    m_ag.Epoca(m_pPoblacion->Vector());
    // No leader of the old run comes back into the new population.
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(Genoma(i).GetNumEntradas(), 3u);
        EXPECT_EQ(Genoma(i).GetNumSalidas(), 2u);
    }
}
