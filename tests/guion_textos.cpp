// Text forms of genomes and of the innovation database: exact layouts,
// round trips, and readers that refuse damaged text without touching their
// target.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "NEAT/CGenoma.h"
#include "NEAT/CInnovacion.h"
#include "apoyo/RandomGuion.h"
#include "apoyo/Textos.h"

namespace {

// The lines of a text that must end with a line feed.
std::vector<std::string> LineasTerminadas(const std::string& s)
{
    std::vector<std::string> v;
    std::string::size_type nInicio = 0, nFin;
    while ((nFin = s.find('\n', nInicio)) != std::string::npos) {
        v.push_back(s.substr(nInicio, nFin - nInicio));
        nInicio = nFin + 1;
    }
    EXPECT_EQ(nInicio, s.size()) << "the text must end with a line feed";
    return v;
}

// A genome that has been through every structural mutation, with the
// database that numbered it.
struct SEvolucionado {
    CGenoma genoma;
    CInnovacion bd;
    SEvolucionado() : genoma(3, 2, 1), bd(genoma)
    {
        for (int i = 0; i < 30; ++i) {
            genoma.AddNeurona(0.5, bd, 5);
            genoma.AddEnlace(0.5, 0.2, bd, 5, 5);
            genoma.MutarPesos(0.5, 0.1, 0.5);
        }
        genoma.OrdenarGenes();
        genoma.SetEspecie(5);
        genoma.SetIdoneidad(2.5);
        genoma.SetNumHijosAExpandir(1.25);
        genoma.SetIdoneidadAjustada(0.75);
    }
};

// A target whose content shows whether a failed read touched it.
CGenoma GenomaTestigo()
{
    CGenoma g(77, 1, 2);
    g.SetEspecie(3);
    g.SetIdoneidad(9.5);
    return g;
}

}  // namespace

// ---------------------------------------------------------------------------
// Genome

TEST(TextoGenoma, TreintaYNueveLineas)
{
    GuionReiniciar();
    GuionCargar({0.25, 0.5, 0.75, -0.5, 0.125});
    CGenoma g(12, 1, 1);
    g.SetEspecie(4);
    g.SetIdoneidad(1.5);
    const std::vector<std::string> l = LineasTerminadas(Texto(g));
    const std::vector<std::string> esperado = {"1", "1", "12",    "4",    "1.5",      "0", "0", "2", "3",  // header
                                               "0", "0", "0",     "0.25", "0.666667", "0",                 // input
                                               "3", "1", "0",     "0.5",  "0.333333", "0",                 // bias
                                               "1", "2", "0",     "0.75", "0.5",      "1",                 // output
                                               "0", "2", "-0.5",  "1",    "0",        "3",                 // 0 -> 2
                                               "1", "2", "0.125", "1",    "0",        "4"};                // 1 -> 2
    EXPECT_EQ(l, esperado);
    EXPECT_EQ(l.size(), 39u);
}

TEST(TextoGenoma, IdaYVueltaConLosSorteosDocumentados)
{
    GuionReiniciar();
    SEvolucionado e;
    const std::string sTexto = Texto(e.genoma);

    CGenoma leido = GenomaTestigo();
    leido.CrearFenotipo();
    GuionCargar({});
    std::istringstream in(sTexto);
    in >> leido;
    ASSERT_FALSE(in.fail());
    EXPECT_EQ(GuionNumLlamadas(), e.genoma.GetNumGenesNeurona());  // one draw per neuron gene
    for (const SLlamadaRandom& llamada : GuionLlamadas()) {
        EXPECT_EQ(llamada.cTipo, 'D');
        EXPECT_EQ(llamada.dMin, 0.0);
        EXPECT_EQ(llamada.dMax, 1.0);
    }

    EXPECT_EQ(Texto(leido), TextoTrasLeer(e.genoma));
    EXPECT_EQ(leido.GetEspecie(), 0u);
    EXPECT_EQ(leido.GetIdoneidad(), 0.0);
    EXPECT_EQ(leido.GetNumEntradas(), 2u);
    EXPECT_EQ(leido.GetNumSalidas(), 1u);
    EXPECT_EQ(leido.GetID(), 3u);
    testing::internal::CaptureStderr();
    EXPECT_EQ(leido.GetFenotipo(), nullptr);  // the old phenotype went with the old content
    testing::internal::GetCapturedStderr();
}

TEST(TextoGenoma, SeguidosEnUnMismoFlujoYSinOrdenarDeNuevo)
{
    GuionReiniciar();
    CGenoma a(1, 2, 1), b(2, 1, 3);
    TGEnlaces vDesordenados = {SGenEnlace(1, 2, true, 9, 0.5, false), SGenEnlace(0, 2, false, 3, 0.25, false)};
    CGenoma c(3, CGenoma(0, 1, 1).GetGenesNeurona(), vDesordenados, 1, 1);
    // Any white space separates values.
    std::string sTexto = Texto(a) + "\n" + Texto(b) + Texto(c);
    for (char& ch : sTexto) {
        if (ch == '\n' && (&ch - &sTexto[0]) % 3 == 0)
            ch = ' ';
    }
    std::istringstream in(sTexto);
    CGenoma x, y, z;
    in >> x >> y >> z;
    ASSERT_FALSE(in.fail());
    EXPECT_EQ(Texto(x), TextoTrasLeer(a));
    EXPECT_EQ(Texto(y), TextoTrasLeer(b));
    EXPECT_EQ(z.GetGenesEnlace()[0].nIDInnovacion, 9);
    EXPECT_EQ(z.GetGenesEnlace()[1].nIDInnovacion, 3);
}

TEST(TextoGenoma, GenomasVaciosYCabecerasExtremas)
{
    GuionReiniciar();
    CGenoma vacio;
    CGenoma leido = GenomaTestigo();
    std::istringstream in(Texto(vacio));
    EXPECT_TRUE(LeerGenoma(in, leido));
    EXPECT_EQ(leido.GetNumGenesNeurona(), 0u);
    EXPECT_EQ(leido.GetID(), 0u);

    // No neuron genes but inputs and outputs announced: its network would
    // have no slot for them.
    CGenoma testigo = GenomaTestigo();
    const std::string sTestigo = Texto(testigo);
    for (const char* szCabecera : {"3\n2\n5\n0\n0\n0\n0\n0\n0\n", "0\n1\n5\n0\n0\n0\n0\n0\n0\n"}) {
        std::istringstream inSinNeuronas(szCabecera);
        EXPECT_FALSE(LeerGenoma(inSinNeuronas, testigo)) << szCabecera;
        EXPECT_EQ(Texto(testigo), sTestigo);
    }

    // A fitness no number can hold still reads back (it is dropped anyway),
    // and so does an id written from a negative int.
    CGenoma g(-3, 1, 1);
    g.SetIdoneidad(std::numeric_limits<double>::infinity());
    g.SetIdoneidadAjustada(std::nan(""));
    g.SetEspecie(-1);
    std::istringstream in2(Texto(g));
    EXPECT_TRUE(LeerGenoma(in2, leido));
    EXPECT_EQ(static_cast<int>(leido.GetID()), -3);
    EXPECT_EQ(leido.GetIdoneidad(), 0.0);
}

TEST(TextoGenoma, TruncadoEnCadaByteNoEntregaNadaAMedias)
{
    GuionReiniciar();
    SEvolucionado e;
    const std::string sTexto = Texto(e.genoma);
    // Only the last value can be cut and still look whole: the form has no
    // end marker. Anything shorter must fail.
    const std::string::size_type nUltimoValor = sTexto.find_last_of('\n', sTexto.size() - 2) + 1;
    CGenoma testigo = GenomaTestigo();
    const CRedNeuronal* pRed = testigo.CrearFenotipo();
    const std::string sTestigo = Texto(testigo);
    for (std::string::size_type n = 0; n < sTexto.size(); ++n) {
        std::istringstream in(sTexto.substr(0, n));
        const bool bLeido = LeerGenoma(in, testigo);
        if (n <= nUltimoValor) {
            ASSERT_FALSE(bLeido) << "cortado en " << n;
            ASSERT_TRUE(in.fail());
            ASSERT_EQ(Texto(testigo), sTestigo) << "cortado en " << n;
            ASSERT_EQ(testigo.GetFenotipo(), pRed);
        } else {
            ASSERT_TRUE(bLeido);
            testigo = GenomaTestigo();
            pRed = testigo.CrearFenotipo();
        }
    }
}

TEST(TextoGenoma, ValoresDanyadosSeRechazan)
{
    GuionReiniciar();
    GuionCargar({0.25, 0.5, 0.75, -0.5, 0.125});
    const std::vector<std::string> base = LineasTerminadas(Texto(CGenoma(12, 1, 1)));
    struct SDanyo {
        size_t nLinea;
        std::string sValor;
        const char* szQue;
    };
    const SDanyo danyos[] = {
        {0, "-1", "negative input count"},
        {0, "2", "more inputs than the layout holds"},
        {1, "x", "not a number"},
        {7, "-2", "negative link count"},
        {7, "3", "more links than written"},
        {8, "4", "more neurons than written"},
        {8, "99999999999", "count beyond int"},
        {9, "4", "neuron gene without kind"},
        {9, "7", "no such kind"},
        {9, "2", "input replaced by a hidden neuron"},
        {11, "2", "flag other than 0 or 1"},
        {12, "nan", "NaN curvature"},
        {13, "inf", "infinite coordinate"},
        {14, "1e999", "coordinate beyond double"},
        {22, "0", "duplicated neuron id"},
        {27, "5", "link from a neuron the genome lacks"},
        {29, "0.5.5", "malformed weight"},
        {29, "1" + std::string(80, '0'), "overlong value"},
        {30, "1.0", "flag written as a real"},
        {32, "3x", "trailing garbage"},
    };
    for (const SDanyo& d : danyos) {
        std::vector<std::string> l = base;
        l[d.nLinea] = d.sValor;
        std::string sTexto;
        for (const std::string& s : l)
            sTexto += s + "\n";
        CGenoma testigo = GenomaTestigo();
        const std::string sTestigo = Texto(testigo);
        std::istringstream in(sTexto);
        in >> testigo;
        EXPECT_TRUE(in.fail()) << d.szQue;
        EXPECT_EQ(Texto(testigo), sTestigo) << d.szQue;
    }
}

TEST(TextoGenoma, OcultaAntesDeLasSalidasSeRechaza)
{
    GuionReiniciar();
    CGenoma g(0, 1, 1);
    TGNeuronas vN = g.GetGenesNeurona();
    vN.insert(vN.begin() + 2, SGenNeurona(Neurona_Oculta, 9, 0.5, 0.5, false));
    CGenoma malo(0, vN, g.GetGenesEnlace(), 1, 1);
    CGenoma testigo = GenomaTestigo();
    std::istringstream in(Texto(malo));
    EXPECT_FALSE(LeerGenoma(in, testigo));
    EXPECT_EQ(testigo.GetID(), 77u);
}

TEST(TextoGenoma, BasuraAleatoriaNuncaRompeNada)
{
    GuionReiniciar();
    std::mt19937 gen(7);
    const std::string sBueno = Texto(CGenoma(1, 2, 2));
    const char alfabeto[] = "0123456789-+.e \n";
    for (int k = 0; k < 3000; ++k) {
        std::string s = sBueno;
        // Flip a few characters of a valid text, or make one up.
        if (k % 2 == 0) {
            for (int j = 0; j < 3; ++j)
                s[gen() % s.size()] = alfabeto[gen() % (sizeof(alfabeto) - 1)];
        } else {
            s.assign(gen() % 200, ' ');
            for (char& c : s)
                c = alfabeto[gen() % (sizeof(alfabeto) - 1)];
        }
        CGenoma testigo = GenomaTestigo();
        const std::string sTestigo = Texto(testigo);
        std::istringstream in(s);
        if (!LeerGenoma(in, testigo)) {
            ASSERT_EQ(Texto(testigo), sTestigo);
        } else {
            testigo.CrearFenotipo();  // whatever was accepted builds a network
        }
    }
}

// ---------------------------------------------------------------------------
// Innovation database

TEST(TextoInnovacion, VaciaYOnceLineas)
{
    GuionReiniciar();
    CInnovacion bd{CGenoma()};
    EXPECT_EQ(Texto(bd), "0\n0\n0\n");

    bd.CrearNuevaInnovacion(3, 5, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
    bd.SetSigIDNeurona(6);
    EXPECT_EQ(LineasTerminadas(Texto(bd)),
              (std::vector<std::string>{"1", "1", "4", "0", "3", "5", "0", "0", "0", "1", "6"}));
}

TEST(TextoInnovacion, BloqueDeNeurona)
{
    GuionReiniciar();
    CInnovacion bd{CGenoma()};
    bd.SetSigIDNeurona(9);
    bd.CrearNuevaInnovacion(SInnovacion(2, 4, INO_Neurona, 7, Neurona_Oculta, 0.25, 0.5));
    const std::vector<std::string> l = LineasTerminadas(Texto(bd));
    EXPECT_EQ(std::vector<std::string>(l.begin() + 1, l.begin() + 9),
              (std::vector<std::string>{"0", "2", "9", "2", "4", "0.25", "0.5", "7"}));
}

TEST(TextoInnovacion, IdaYVueltaReemplazaLoQueHabia)
{
    GuionReiniciar();
    SEvolucionado e;
    e.bd.CrearNuevaInnovacion(0, 4, INO_Neurona, Neurona_Oculta, 1.0 / 3, 2.0 / 3);
    const std::string sTexto = Texto(e.bd);

    CInnovacion leida(CGenoma(0, 5, 5));  // holds other records that must go
    GuionCargar({});
    std::istringstream in(sTexto);
    in >> leida;
    ASSERT_FALSE(in.fail());
    EXPECT_EQ(GuionNumLlamadas(), 0u);
    EXPECT_EQ(Texto(leida), sTexto);
    const TInnovaciones &a = leida.GetBDInnovaciones(), &b = e.bd.GetBDInnovaciones();
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        EXPECT_EQ(a[i].nID, b[i].nID);
        EXPECT_EQ(a[i].tipo, b[i].tipo);
        EXPECT_EQ(a[i].nIDNeurona, b[i].nIDNeurona);
        EXPECT_EQ(a[i].nIDNeuronaInicio, b[i].nIDNeuronaInicio);
        EXPECT_EQ(a[i].nIDNeuronaFin, b[i].nIDNeuronaFin);
        EXPECT_NEAR(a[i].dSplitX, b[i].dSplitX, 1e-6);
    }
    EXPECT_EQ(leida.GetSigIDInnovacion(), e.bd.GetSigIDInnovacion());
    EXPECT_EQ(leida.GetSigIDNeurona(), e.bd.GetSigIDNeurona());
    EXPECT_DOUBLE_EQ(a.back().dSplitX, 0.333333);
}

TEST(TextoInnovacion, NeuronasRenumeradasEnOrden)
{
    GuionReiniciar();
    // Two neuron records stored with ids 5 and 2, then a link record with 8.
    const std::string sTexto =
        "3\n"
        "0 2 5 0 0 0.5 0 0\n"
        "0 1 2 0 0 0.5 1 1\n"
        "1 4 8 0 1 0 0 2\n"
        "3\n"
        "40\n";
    CInnovacion bd{CGenoma()};
    std::istringstream in(sTexto);
    ASSERT_TRUE(LeerInnovaciones(in, bd));
    EXPECT_EQ(bd.GetBDInnovaciones()[0].nIDNeurona, 0);
    EXPECT_EQ(bd.GetBDInnovaciones()[1].nIDNeurona, 1);
    EXPECT_EQ(bd.GetBDInnovaciones()[2].nIDNeurona, 8);
    EXPECT_EQ(bd.GetSigIDNeurona(), 40);
    EXPECT_EQ(bd.GetSigIDInnovacion(), 3);
}

TEST(TextoInnovacion, BDIncoherenteODanyadaSeRechaza)
{
    GuionReiniciar();
    const char* textos[] = {
        "1\n0 2 0 0 0 0.5 0 1\n1\n1\n",                 // record 0 numbered 1
        "1\n0 2 0 0 0 0.5 0 0\n2\n1\n",                 // innovation counter beyond the records
        "1\n0 2 0 0 0 0.5 0 0\n0\n1\n",                 // innovation counter below the records
        "2\n0 2 0 0 0 0 0 0\n0 2 0 0 0 0 0 1\n2\n1\n",  // two neurons, neuron counter 1
        "1\n2 2 0 0 0 0.5 0 0\n1\n1\n",                 // no such kind of innovation
        "1\n0 4 0 0 0 0.5 0 0\n1\n1\n",                 // neuron record without neuron kind
        "1\n1 5 0 0 0 0 0 0\n1\n1\n",                   // no such neuron kind
        "1\n0 2 0 0 0 nan 0 0\n1\n1\n",                 // NaN coordinate
        "1\n0 2 0 0 0 0.5 0 0\n1\n",                    // a counter missing
        "2\n0 2 0 0 0 0.5 0 0\n1\n1\n",                 // fewer records than announced
        "-1\n0\n0\n",                                   // negative count
        "x\n",                                          // not a number
        "",                                             // nothing at all
    };
    for (const char* sz : textos) {
        CInnovacion bd(CGenoma(0, 1, 1));
        const std::string sAntes = Texto(bd);
        std::istringstream in(sz);
        in >> bd;
        EXPECT_TRUE(in.fail()) << sz;
        EXPECT_EQ(Texto(bd), sAntes) << sz;
    }
}

TEST(TextoInnovacion, TruncadoEnCadaByte)
{
    GuionReiniciar();
    SEvolucionado e;
    const std::string sTexto = Texto(e.bd);
    const std::string::size_type nUltimoValor = sTexto.find_last_of('\n', sTexto.size() - 2) + 1;
    CInnovacion testigo(CGenoma(0, 1, 1));
    const std::string sTestigo = Texto(testigo);
    for (std::string::size_type n = 0; n <= nUltimoValor; ++n) {
        std::istringstream in(sTexto.substr(0, n));
        ASSERT_FALSE(LeerInnovaciones(in, testigo)) << "cortado en " << n;
        ASSERT_EQ(Texto(testigo), sTestigo);
    }
}

TEST(TextoInnovacion, BasuraAleatoriaNuncaRompeNada)
{
    GuionReiniciar();
    std::mt19937 gen(11);
    CGenoma g(0, 2, 1);
    CInnovacion bueno(g);
    const std::string sBueno = Texto(bueno);
    const char alfabeto[] = "0123456789-. \n";
    for (int k = 0; k < 3000; ++k) {
        std::string s = sBueno;
        for (int j = 0; j < 2; ++j)
            s[gen() % s.size()] = alfabeto[gen() % (sizeof(alfabeto) - 1)];
        CInnovacion bd(g);
        std::istringstream in(s);
        if (LeerInnovaciones(in, bd)) {
            // Whatever was accepted keeps numbers and positions in step.
            for (size_t i = 0; i < bd.GetBDInnovaciones().size(); ++i)
                ASSERT_EQ(bd.GetBDInnovaciones()[i].nID, static_cast<int>(i));
        } else {
            ASSERT_EQ(Texto(bd), sBueno);
        }
    }
}
