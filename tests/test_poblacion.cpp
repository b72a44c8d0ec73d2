// Population file: exact layout, the byte key, round trips, and damaged or
// unwritable files that must end in a clear error with nothing changed.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Comun/ArchivoEntero.h"
#include "DebugLib/Random/Random.h"
#include "NEAT/CAlgoritmoGenetico.h"
#include "apoyo/PruebaAlgoritmoGenetico.h"
#include "apoyo/Textos.h"

namespace {

class CIndividuo : public IIndividuoIA {
public:
    ~CIndividuo() { BorrarGenoma(); }
};

// Members that own their genomes, and the engine's view of them.
struct SPoblacion {
    std::vector<std::unique_ptr<CIndividuo>> vIndividuos;
    TPoblacionIA v;
    SPoblacion(std::size_t n, CAlgoritmoGenetico& ag)
    {
        for (std::size_t i = 0; i < n; ++i) {
            vIndividuos.emplace_back(new CIndividuo);
            v.push_back(vIndividuos.back().get());
            ag.CrearMente(v.back());
        }
    }
    void BorrarGenomas()
    {
        for (IIndividuoIA* p : v)
            p->BorrarGenoma();
    }
};

std::string ComponerTexto(int nGeneracion, const std::vector<CGenoma>& vGenomas, const CInnovacion& bd)
{
    std::string s = std::to_string(nGeneracion) + "\n" + std::to_string(vGenomas.size()) + "\n";
    for (const CGenoma& g : vGenomas)
        s += Texto(g) + "\n";
    return s + Texto(bd);
}

std::string LeerBytes(const std::string& sRuta)
{
    std::ifstream in(sRuta, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void EscribirBytes(const std::string& sRuta, const std::string& s)
{
    std::ofstream out(sRuta, std::ios::binary);
    out << s;
}

std::vector<std::string> Entradas(const std::string& sDir)
{
    std::vector<std::string> v;
    if (DIR* d = opendir(sDir.c_str())) {
        while (dirent* e = readdir(d)) {
            const std::string s = e->d_name;
            if (s != "." && s != "..")
                v.push_back(s);
        }
        closedir(d);
    }
    return v;
}

// What a death test's child checks on its way out: exit() runs atexit
// handlers, so the child can say whether the failed call changed anything.
struct SVigilancia {
    const TPoblacionIA* pPoblacion = nullptr;
    CAlgoritmoGenetico* pAG = nullptr;
    std::vector<const CGenoma*> vPunteros;
    std::vector<std::string> vTextos;
    std::string sBD;
    int nGeneracion = 0;
};
SVigilancia g_vigilancia;

void InformarSiIntacta()
{
    const SVigilancia& v = g_vigilancia;
    bool bIntacta =
        v.pAG->GetGeneracion() == v.nGeneracion && Texto(*CPruebaAlgoritmoGenetico(*v.pAG).BDInnovaciones()) == v.sBD;
    for (std::size_t i = 0; i < v.pPoblacion->size(); ++i) {
        const CGenoma* g = (*v.pPoblacion)[i]->GetGenoma();
        bIntacta = bIntacta && g == v.vPunteros[i] && Texto(*g) == v.vTextos[i];
    }
    std::fprintf(stderr, bIntacta ? "[todo intacto]\n" : "[algo cambiado]\n");
}

void Vigilar(const TPoblacionIA& vPoblacion, CAlgoritmoGenetico& ag)
{
    g_vigilancia = SVigilancia();
    g_vigilancia.pPoblacion = &vPoblacion;
    g_vigilancia.pAG = &ag;
    for (const IIndividuoIA* p : vPoblacion) {
        g_vigilancia.vPunteros.push_back(p->GetGenoma());
        g_vigilancia.vTextos.push_back(Texto(*p->GetGenoma()));
    }
    g_vigilancia.sBD = Texto(*CPruebaAlgoritmoGenetico(ag).BDInnovaciones());
    g_vigilancia.nGeneracion = ag.GetGeneracion();
    std::atexit(InformarSiIntacta);
}

// Files written from here on stop growing at nBytes; the write that would
// pass the limit fails instead of raising SIGXFSZ.
void LimitarFicheros(rlim_t nBytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite;
    limite.rlim_cur = nBytes;
    limite.rlim_max = nBytes;
    setrlimit(RLIMIT_FSIZE, &limite);
}

const char kFuente[] = "ERROR\\([^,]*ArchivoPoblacion\\.cpp,[0-9]+\\): ";

class Poblacion : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_sDir = ::testing::TempDir() + "poblacion_" + std::to_string(getpid()) + "_" + info->name();
        mkdir(m_sDir.c_str(), 0755);
        m_sFichero = m_sDir + "/poblacion.txt";
        SetSemillaRandom(11);
        m_ag.Inicializar(2, 1);
        SetSemillaRandom(11);
        m_ag.SetProbabilidadAnyadirNeurona(0.5);
        m_ag.SetProbabilidadAnyadirEnlace(0.8);
    }
    void TearDown() override
    {
        for (const std::string& s : Entradas(m_sDir)) {
            const std::string sRuta = m_sDir + "/" + s;
            if (std::remove(sRuta.c_str()) != 0)
                rmdir(sRuta.c_str());
        }
        rmdir(m_sDir.c_str());
    }

    // A few epochs with made-up scores: hidden neurons, new links, a
    // generation number other than 0.
    void Evolucionar(SPoblacion& p, int nEpocas)
    {
        for (int e = 0; e < nEpocas; ++e) {
            for (IIndividuoIA* pIndividuo : p.v)
                pIndividuo->SetPuntuacion(RandomDouble(0, 10));
            m_ag.Epoca(p.v);
        }
    }

    const CInnovacion& BD() { return *CPruebaAlgoritmoGenetico(m_ag).BDInnovaciones(); }

    std::string m_sDir;
    std::string m_sFichero;
    CAlgoritmoGenetico m_ag;
};

TEST_F(Poblacion, ClaveCeroEsElTextoPlanoLineaALinea)
{
    SPoblacion p(3, m_ag);
    Evolucionar(p, 3);
    std::string sEsperado = std::to_string(m_ag.GetGeneracion()) + "\n3\n";
    for (IIndividuoIA* pIndividuo : p.v)
        sEsperado += Texto(*pIndividuo->GetGenoma()) + "\n";
    sEsperado += Texto(BD());
    EXPECT_EQ(sEsperado.substr(0, 4), "3\n3\n");
    EscribirBytes(m_sFichero, "un fichero anterior, mas largo que nada de lo que se escribe aqui" + sEsperado);
    m_ag.SalvarPoblacion(p.v, m_sFichero.c_str(), 0);
    EXPECT_EQ(LeerBytes(m_sFichero), sEsperado);
    EXPECT_EQ(Entradas(m_sDir), std::vector<std::string>{"poblacion.txt"}) << "no temporary file is left behind";

    const TPoblacionIA vVacia;
    m_ag.SalvarPoblacion(vVacia, m_sFichero.c_str(), 0);
    EXPECT_EQ(LeerBytes(m_sFichero), "3\n0\n" + Texto(BD()));
}

TEST_F(Poblacion, IdaYVueltaConClaveDevuelveLoMismo)
{
    SPoblacion p(6, m_ag);
    Evolucionar(p, 5);
    for (const char cClave : {static_cast<char>(77), static_cast<char>(-100)}) {
        m_ag.SalvarPoblacion(p.v, m_sFichero.c_str(), cClave);

        CAlgoritmoGenetico ag;
        ag.Inicializar(2, 1);
        SPoblacion q(6, ag);
        CPruebaAlgoritmoGenetico prueba(ag);
        const int nSigGenoma = prueba.IDSigGenoma();
        q.BorrarGenomas();
        ag.RecuperarPoblacion(q.v, m_sFichero.c_str(), cClave);

        EXPECT_EQ(ag.GetGeneracion(), 5);
        for (std::size_t i = 0; i < 6; ++i)
            EXPECT_EQ(Texto(*q.v[i]->GetGenoma()), TextoTrasLeer(*p.v[i]->GetGenoma())) << i;
        EXPECT_EQ(Texto(*prueba.BDInnovaciones()), Texto(BD()));
        EXPECT_EQ(prueba.IDSigGenoma(), nSigGenoma) << "the engine's own counters stay";

        // The restored run goes on.
        for (IIndividuoIA* pIndividuo : q.v)
            pIndividuo->SetPuntuacion(RandomDouble(0, 10));
        ag.Epoca(q.v);
        EXPECT_EQ(ag.GetGeneracion(), 6);
    }
}

TEST_F(Poblacion, Clave200DaLaVueltaAlByte)
{
    SPoblacion p(9, m_ag);  // the count line is "9"
    m_ag.SalvarPoblacion(p.v, m_sFichero.c_str(), 0);
    const std::string sPlano = LeerBytes(m_sFichero);
    m_ag.SalvarPoblacion(p.v, m_sFichero.c_str(), static_cast<char>(200));
    const std::string sCifrado = LeerBytes(m_sFichero);
    ASSERT_EQ(sCifrado.size(), sPlano.size());
    ASSERT_EQ(sPlano.substr(0, 4), "0\n9\n");
    EXPECT_EQ(sCifrado[2], '\x01');
    for (std::size_t i = 0; i < sPlano.size(); ++i)
        ASSERT_EQ(static_cast<unsigned char>(sCifrado[i]), (static_cast<unsigned char>(sPlano[i]) + 200) % 256) << i;

    SPoblacion q(9, m_ag);
    q.BorrarGenomas();
    m_ag.RecuperarPoblacion(q.v, m_sFichero.c_str(), static_cast<char>(200));
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(Texto(*q.v[i]->GetGenoma()), TextoTrasLeer(*p.v[i]->GetGenoma()));
}

TEST_F(Poblacion, DiezDesdeOchoSoloCambiaLosOchoPrimeros)
{
    SPoblacion p(8, m_ag);
    Evolucionar(p, 2);
    m_ag.SalvarPoblacion(p.v, m_sFichero.c_str(), 5);
    SPoblacion q(10, m_ag);
    const CGenoma* pNoveno = q.v[8]->GetGenoma();
    const CGenoma* pDecimo = q.v[9]->GetGenoma();
    const std::string sNoveno = Texto(*pNoveno), sDecimo = Texto(*pDecimo);
    for (std::size_t i = 0; i < 8; ++i)
        q.v[i]->BorrarGenoma();
    m_ag.RecuperarPoblacion(q.v, m_sFichero.c_str(), 5);
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(Texto(*q.v[i]->GetGenoma()), TextoTrasLeer(*p.v[i]->GetGenoma())) << i;
    EXPECT_EQ(q.v[8]->GetGenoma(), pNoveno);
    EXPECT_EQ(q.v[9]->GetGenoma(), pDecimo);
    EXPECT_EQ(Texto(*pNoveno), sNoveno);
    EXPECT_EQ(Texto(*pDecimo), sDecimo);
}

TEST_F(Poblacion, UnTemporalAnteriorNoSeSigue)
{
    // A link placed where the next temporary file would go must not be
    // written through: the save takes another name.
    const std::string sVictima = m_sDir + "/victima";
    EscribirBytes(sVictima, "no tocar\n");
    const std::string sUsado = NombreTemporalJunto(m_sFichero);
    const std::size_t nPunto = sUsado.rfind('.');
    const std::string sSiguiente =
        sUsado.substr(0, nPunto + 1) + std::to_string(std::stoul(sUsado.substr(nPunto + 1)) + 1);
    ASSERT_EQ(symlink(sVictima.c_str(), sSiguiente.c_str()), 0);
    SPoblacion p(2, m_ag);
    m_ag.SalvarPoblacion(p.v, m_sFichero.c_str(), 0);
    EXPECT_EQ(LeerBytes(sVictima), "no tocar\n");
    EXPECT_EQ(LeerBytes(m_sFichero).substr(0, 4), "0\n2\n");
    EXPECT_EQ(Entradas(m_sDir).size(), 3u);
}

using PoblacionDeathTest = Poblacion;

TEST_F(PoblacionDeathTest, CincoDesdeOchoTerminaSinCambiarNingunGenoma)
{
    SPoblacion p(8, m_ag);
    m_ag.SalvarPoblacion(p.v, m_sFichero.c_str(), 0);
    SPoblacion q(5, m_ag);
    EXPECT_EXIT(
        {
            Vigilar(q.v, m_ag);
            m_ag.RecuperarPoblacion(q.v, m_sFichero.c_str(), 0);
        },
        ::testing::ExitedWithCode(255),
        "^ERROR INTERNO\\([^,]*ArchivoPoblacion\\.cpp,[0-9]+\\): El vector de poblacion tiene menos individuos "
        "\\(5\\) de los que hay en el archivo \\(8\\)\\.\n\\[todo intacto\\]\n$");
}

TEST_F(PoblacionDeathTest, FicheroDanyadoTerminaSinCambiarNada)
{
    SPoblacion p(4, m_ag);
    Evolucionar(p, 2);
    m_ag.SalvarPoblacion(p.v, m_sFichero.c_str(), 9);
    const std::string sCompleto = LeerBytes(m_sFichero);
    SPoblacion q(4, m_ag);
    const std::string sRegex = std::string("^") + kFuente + "El fichero de entrada \\(" + m_sFichero +
                               "\\) no contiene una poblaci.n v.lida: [^\n]+\\.\n\\[todo intacto\\]\n$";

    EscribirBytes(m_sFichero, sCompleto.substr(0, sCompleto.size() * 2 / 3));
    EXPECT_EXIT(
        {
            Vigilar(q.v, m_ag);
            m_ag.RecuperarPoblacion(q.v, m_sFichero.c_str(), 9);
        },
        ::testing::ExitedWithCode(255), sRegex);

    EscribirBytes(m_sFichero, sCompleto);
    EXPECT_EXIT(
        {
            Vigilar(q.v, m_ag);
            m_ag.RecuperarPoblacion(q.v, m_sFichero.c_str(), 10);
        },
        ::testing::ExitedWithCode(255), sRegex);

    EXPECT_EXIT(m_ag.RecuperarPoblacion(q.v, m_sDir.c_str(), 9), ::testing::ExitedWithCode(255),
                std::string("^") + kFuente + "No se pudo leer el fichero de entrada \\(" + m_sDir + "\\)\\.\n$");

    const std::string sFalta = m_sDir + "/no_existe";
    EXPECT_EXIT(m_ag.RecuperarPoblacion(q.v, sFalta.c_str(), 9), ::testing::ExitedWithCode(255),
                std::string("^") + kFuente + "No se pudo abrir el fichero de entrada \\(" + sFalta + "\\)\\.\n$");
}

TEST_F(PoblacionDeathTest, UnGuardadoFallidoDejaElFicheroAnterior)
{
    SPoblacion p(4, m_ag);
    const std::string sAnterior = "contenido anterior\n";
    EscribirBytes(m_sFichero, sAnterior);
    const std::string sMensaje = "^ERROR: No se pudo abrir el fichero de salida \\(" + m_sFichero + "\\)\\.\n$";

    // The disk fills up half way through the write (the limit leaves room for
    // the death test's record of the message).
    EXPECT_EXIT(
        {
            LimitarFicheros(256);
            m_ag.SalvarPoblacion(p.v, m_sFichero.c_str(), 0);
        },
        ::testing::ExitedWithCode(255), sMensaje);
    EXPECT_EQ(LeerBytes(m_sFichero), sAnterior);
    EXPECT_EQ(Entradas(m_sDir), std::vector<std::string>{"poblacion.txt"});

    // The target cannot be replaced: it is a directory.
    const std::string sDirectorio = m_sDir + "/un_directorio";
    mkdir(sDirectorio.c_str(), 0755);
    EXPECT_EXIT(m_ag.SalvarPoblacion(p.v, sDirectorio.c_str(), 0), ::testing::ExitedWithCode(255),
                "^ERROR: No se pudo abrir el fichero de salida \\(" + sDirectorio + "\\)\\.\n$");
    EXPECT_EQ(Entradas(m_sDir).size(), 2u);

    const std::string sSinDirectorio = m_sDir + "/no_existe/poblacion.txt";
    EXPECT_EXIT(m_ag.SalvarPoblacion(p.v, sSinDirectorio.c_str(), 0), ::testing::ExitedWithCode(255),
                "^ERROR: No se pudo abrir el fichero de salida \\(" + sSinDirectorio + "\\)\\.\n$");
}

// ---------------------------------------------------------------------------
// The checking parser on many damaged texts.

// Outputs that show whether a failed parse touched them.
CGenoma GenomaTestigo()
{
    CGenoma g;
    g.SetID(99);
    g.SetIdoneidad(4.5);
    return g;
}

struct SSalidas {
    int nGeneracion = -7;
    std::vector<CGenoma> vGenomas{GenomaTestigo()};
    CInnovacion bd{CGenoma(0, 3, 1)};
    std::string sMotivo;

    bool Leer(const std::string& sTexto) { return LeerTextoPoblacion(sTexto, nGeneracion, vGenomas, bd, sMotivo); }
};

class TextoPoblacion : public Poblacion {
protected:
    void SetUp() override
    {
        Poblacion::SetUp();
        SPoblacion p(2, m_ag);
        Evolucionar(p, 2);
        m_ag.SalvarPoblacion(p.v, m_sFichero.c_str(), 0);
        m_sTexto = LeerBytes(m_sFichero);
        ASSERT_TRUE(m_leido.Leer(m_sTexto)) << m_leido.sMotivo;
        const SSalidas testigo;
        m_sTestigo = Resumen(testigo);
    }

    static std::string Resumen(const SSalidas& s) { return ComponerTexto(s.nGeneracion, s.vGenomas, s.bd); }

    void ExpectIntactas(const SSalidas& s, const std::string& sQue)
    {
        EXPECT_EQ(Resumen(s), m_sTestigo) << sQue;
        EXPECT_FALSE(s.sMotivo.empty()) << sQue;
    }

    std::string m_sTexto;
    SSalidas m_leido;
    std::string m_sTestigo;
};

std::vector<std::string> Tokens(const std::string& s)
{
    std::istringstream in(s);
    std::vector<std::string> v;
    std::string t;
    while (in >> t)
        v.push_back(t);
    return v;
}

// A value as the writer writes it back.
std::string SeisCifras(const std::string& sToken)
{
    std::ostringstream out;
    out << std::strtod(sToken.c_str(), nullptr);
    return out.str();
}

// Every value a successful parse kept is the value the text held: the
// rewritten text has the same values to six significant digits, token for
// token, except for what reading drops or renumbers: each genome's species
// and three fitness values, and the ids stored with neuron records.
void ExpectMismosValores(const std::string& sLeido, const SSalidas& s, const std::string& sQue)
{
    const std::vector<std::string> a = Tokens(sLeido);
    const std::vector<std::string> b = Tokens(ComponerTexto(s.nGeneracion, s.vGenomas, s.bd));
    ASSERT_EQ(a.size(), b.size()) << sQue;
    std::vector<bool> vDescartado(a.size(), false);
    std::size_t nPos = 2;
    for (const CGenoma& g : s.vGenomas) {
        for (std::size_t k = 3; k <= 6; ++k)
            vDescartado[nPos + k] = true;
        // The id is written unsigned, whatever sign the text gave it.
        EXPECT_EQ(static_cast<std::uint32_t>(std::strtoll(a[nPos + 2].c_str(), nullptr, 10)), g.GetID()) << sQue;
        vDescartado[nPos + 2] = true;
        nPos += 9 + 6 * g.GetNumGenesNeurona() + 6 * g.GetNumGenesEnlace();
    }
    // Neuron records are renumbered in order, whatever id they carried.
    for (std::size_t r = 0; r < s.bd.GetBDInnovaciones().size(); ++r) {
        if (s.bd.GetBDInnovaciones()[r].tipo == INO_Neurona)
            vDescartado[nPos + 1 + 8 * r + 2] = true;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!vDescartado[i]) {
            ASSERT_EQ(SeisCifras(a[i]), SeisCifras(b[i])) << sQue << ", token " << i << ": " << a[i] << " / " << b[i];
        }
    }
}

TEST_F(TextoPoblacion, TruncadoEnCadaByteSeRechaza)
{
    for (std::size_t n = 0; n < m_sTexto.size(); ++n) {
        SSalidas s;
        ASSERT_FALSE(s.Leer(m_sTexto.substr(0, n))) << "cut at " << n;
        ExpectIntactas(s, "cut at " + std::to_string(n));
    }
}

TEST_F(TextoPoblacion, BytesCambiadosSeRechazanOSeLeenTalCual)
{
    const char sustitutos[] = {'0', '7', '9', '-', '+', '.', 'e', ' ', '\n', 'x', '\0'};
    int nAceptados = 0;
    for (std::size_t i = 0; i < m_sTexto.size(); ++i) {
        for (const char c : sustitutos) {
            if (m_sTexto[i] == c)
                continue;
            std::string sDanyado = m_sTexto;
            sDanyado[i] = c;
            const std::string sQue = "byte " + std::to_string(i) + " -> " + std::to_string(c);
            SSalidas s;
            if (s.Leer(sDanyado)) {
                ++nAceptados;
                ExpectMismosValores(sDanyado, s, sQue);
            } else {
                ExpectIntactas(s, sQue);
            }
            if (HasFailure())
                return;
        }
    }
    EXPECT_GT(nAceptados, 0) << "changed digits of weights still read";
}

TEST_F(TextoPoblacion, ClaveEquivocadaSeRechaza)
{
    for (int k = 1; k < 256; ++k) {
        std::string s = m_sTexto;
        for (char& c : s)
            c = static_cast<char>(static_cast<unsigned char>(c) + k);
        SSalidas salidas;
        EXPECT_FALSE(salidas.Leer(s)) << "key off by " << k;
        ExpectIntactas(salidas, "key off by " + std::to_string(k));
    }
}

TEST_F(TextoPoblacion, FinalesEIdentificadores)
{
    SSalidas s;
    EXPECT_TRUE(s.Leer(m_sTexto + "\n \t\n")) << "trailing white space is fine";
    EXPECT_EQ(Resumen(s), Resumen(m_leido));

    struct SCaso {
        std::string sTexto;
        const char* szMotivo;
    };
    const std::string sSinBD = m_sTexto.substr(0, m_sTexto.size() - Texto(m_leido.bd).size());
    const SCaso casos[] = {
        {m_sTexto + "0\n", "sobra texto"},
        {m_sTexto.substr(0, m_sTexto.size() - 1), "a mitad de un valor"},
        {sSinBD + "0\n0\n0\n", "no conoce"},
        {"1\n-1\n", "cabecera"},
        {"1\n2\n" + Texto(m_leido.vGenomas[0]) + "\n" + Texto(m_leido.bd), "genoma 1"},
        // The engine-state reader refuses a damaged database in the same words.
        {sSinBD + "-" + Texto(m_leido.bd),
         "la base de datos de innovaciones est"
         "\xE1"
         " incompleta o da"
         "\xF1"
         "ada"},
    };
    for (const SCaso& c : casos) {
        SSalidas d;
        EXPECT_FALSE(d.Leer(c.sTexto)) << c.szMotivo;
        EXPECT_NE(d.sMotivo.find(c.szMotivo), std::string::npos) << d.sMotivo;
        ExpectIntactas(d, c.szMotivo);
    }
}

}  // namespace
