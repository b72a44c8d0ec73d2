#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "NEAT/CRedNeuronal.h"
#include "apoyo/CarpetaTemporal.h"
#include "apoyo/LectorXml.h"
#include "apoyo/Textos.h"
#include "visual/CDiagramaRed.h"
#include "visual/Informe.h"
#include "visual/UtilVisual.h"

namespace {

// Two inputs, bias, two outputs and three hidden neurons, two of them at the
// same split; links of both signs, a recurrent link back down and a self-loop.
void ConstruirRed(CRedNeuronal& red)
{
    const SNeurona* e0 = red.AddNeurona(Neurona_Entrada, 0, 0.25, 0.0, 1.0);
    const SNeurona* e1 = red.AddNeurona(Neurona_Entrada, 1, 0.5, 0.0, 1.0);
    const SNeurona* b = red.AddNeurona(Neurona_Sesgo, 2, 0.75, 0.0, 1.0);
    const SNeurona* s0 = red.AddNeurona(Neurona_Salida, 3, 0.33, 1.0, 1.0);
    const SNeurona* s1 = red.AddNeurona(Neurona_Salida, 4, 0.66, 1.0, 1.0);
    const SNeurona* h5 = red.AddNeurona(Neurona_Oculta, 5, 0.4, 0.5, 1.0);
    const SNeurona* h6 = red.AddNeurona(Neurona_Oculta, 6, 0.4, 0.5, 1.0);
    const SNeurona* h7 = red.AddNeurona(Neurona_Oculta, 7, 0.6, 0.75, 1.0);
    red.AddEnlace(e0, h5, 2.0, false);
    red.AddEnlace(e1, h6, -0.5, false);
    red.AddEnlace(b, s1, 0.1, false);
    red.AddEnlace(h5, s0, -4.0, false);
    red.AddEnlace(h6, h7, 1.0, false);
    red.AddEnlace(h7, s1, 3.0, false);
    red.AddEnlace(s0, h5, 0.7, true);   // back down
    red.AddEnlace(h7, h7, -1.5, true);  // self-loop
}

struct SEnlaceEsperado {
    int nOrigen, nDestino;
    double dPeso;
    bool bRecurrente;
};

std::multiset<std::pair<int, int>> ParesEsperados(const CRedNeuronal& red)
{
    std::multiset<std::pair<int, int>> m;
    for (const SNeurona* n : red.GetRed())
        for (const SEnlace& e : n->vEnlacesSalida)
            m.insert(std::make_pair(e.pNeuronaEntrada->nID, e.pNeuronaSalida->nID));
    return m;
}

std::vector<SElementoXml> LeerSvg(const std::string& sSvg)
{
    std::vector<SElementoXml> v;
    std::string sError;
    EXPECT_TRUE(LeerXml(sSvg, v, sError)) << sError;
    return v;
}

// Circle of the neuron with that ID in our own SVG.
const SElementoXml* CirculoNeurona(const std::vector<SElementoXml>& v, int nID)
{
    for (size_t i = 0; i < v.size(); ++i)
        if (v[i].sNombre == "circle" && v[i].nPadre >= 0) {
            const SElementoXml& padre = v[v[i].nPadre];
            auto it = padre.mAtributos.find("data-id");
            if (it != padre.mAtributos.end() && std::atoi(it->second.c_str()) == nID)
                return &v[i];
        }
    return nullptr;
}

double Atr(const SElementoXml* el, const char* sz) { return std::atof(el->mAtributos.at(sz).c_str()); }

// The coded text as a C literal the way a generator would write it: high
// bytes as octal escapes, each closing the literal so no digit follows it.
std::string ComoLiteral(const std::string& sCodificado)
{
    std::string s = "\"";
    for (unsigned char c : sCodificado) {
        if (c >= 0x80) {
            char sz[8];
            std::snprintf(sz, sizeof(sz), "\\%03o\" \"", c);
            s += sz;
        } else {
            s += static_cast<char>(c);
        }
    }
    return s + "\"";
}

}  // namespace

TEST(DiagramaRed, SvgBienFormadoConCadaNeuronaYEnlace)
{
    CRedNeuronal red;
    ConstruirRed(red);
    CDiagramaRed diagrama;
    diagrama.Construir(red);
    const std::vector<SElementoXml> v = LeerSvg(diagrama.GenerarSvg());
    ASSERT_FALSE(v.empty());
    EXPECT_EQ(v[0].sNombre, "svg");

    std::set<int> sIDs;
    for (const SElementoXml* g : ElementosXml(v, "g", "neurona"))
        sIDs.insert(std::atoi(g->mAtributos.at("data-id").c_str()));
    EXPECT_EQ(sIDs, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7}));

    std::multiset<std::pair<int, int>> mDibujados;
    for (const SElementoXml* p : ElementosXml(v, "path", "enlace"))
        mDibujados.insert(std::make_pair(std::atoi(p->mAtributos.at("data-origen").c_str()),
                                         std::atoi(p->mAtributos.at("data-destino").c_str())));
    EXPECT_EQ(mDibujados, ParesEsperados(red));
}

TEST(DiagramaRed, EntradasAbajoSalidasArribaYNadieSeSolapa)
{
    CRedNeuronal red;
    ConstruirRed(red);
    CDiagramaRed diagrama;
    diagrama.Construir(red);
    const std::vector<SElementoXml> v = LeerSvg(diagrama.GenerarSvg());
    const double yEntrada = Atr(CirculoNeurona(v, 0), "cy");
    const double yOculta = Atr(CirculoNeurona(v, 7), "cy");
    const double ySalida = Atr(CirculoNeurona(v, 3), "cy");
    EXPECT_GT(yEntrada, yOculta);
    EXPECT_GT(yOculta, ySalida);
    EXPECT_DOUBLE_EQ(Atr(CirculoNeurona(v, 0), "cy"), Atr(CirculoNeurona(v, 2), "cy"));  // bias with the inputs
    // Left to right as the split says.
    EXPECT_LT(Atr(CirculoNeurona(v, 0), "cx"), Atr(CirculoNeurona(v, 1), "cx"));
    // Hidden neurons 5 and 6 share a split but must not cover each other.
    const SElementoXml* a = CirculoNeurona(v, 5);
    const SElementoXml* b = CirculoNeurona(v, 6);
    const double d = std::hypot(Atr(a, "cx") - Atr(b, "cx"), Atr(a, "cy") - Atr(b, "cy"));
    EXPECT_GE(d, 2 * Atr(a, "r"));
}

TEST(DiagramaRed, ColorAnchoYCurvaSegunElEnlace)
{
    CRedNeuronal red;
    ConstruirRed(red);
    CDiagramaRed diagrama;
    diagrama.Construir(red);
    std::map<std::pair<int, int>, const SArcoDiagrama*> m;
    for (const SArcoDiagrama& a : diagrama.GetArcos())
        m[std::make_pair(diagrama.GetNodos()[a.nOrigen].nID, diagrama.GetNodos()[a.nDestino].nID)] = &a;
    ASSERT_EQ(m.size(), 8u);
    EXPECT_FALSE(m[std::make_pair(0, 5)]->bCurvo);
    EXPECT_TRUE(m[std::make_pair(3, 5)]->bCurvo);  // recurrent, goes back down
    const SArcoDiagrama* pBucle = m[std::make_pair(7, 7)];
    EXPECT_TRUE(pBucle->bCurvo);
    // A self-loop must leave the circle and come back: its controls lie
    // well away from the neuron.
    const SNodoDiagrama& n7 = diagrama.GetNodos()[pBucle->nOrigen];
    EXPECT_GT(std::hypot(pBucle->vdPuntos[2] - n7.dX, pBucle->vdPuntos[3] - n7.dY), 30.0);

    const std::vector<SElementoXml> v = LeerSvg(diagrama.GenerarSvg());
    std::map<std::pair<int, int>, const SElementoXml*> mSvg;
    for (const SElementoXml* p : ElementosXml(v, "path", "enlace"))
        mSvg[std::make_pair(std::atoi(p->mAtributos.at("data-origen").c_str()),
                            std::atoi(p->mAtributos.at("data-destino").c_str()))] = p;
    const SElementoXml* pFuerteNeg = mSvg[std::make_pair(5, 3)];  // -4.0
    const SElementoXml* pDebilNeg = mSvg[std::make_pair(1, 6)];   // -0.5
    const SElementoXml* pFuertePos = mSvg[std::make_pair(7, 4)];  // 3.0
    EXPECT_EQ(pFuerteNeg->mAtributos.at("stroke"), pDebilNeg->mAtributos.at("stroke"));
    EXPECT_NE(pFuerteNeg->mAtributos.at("stroke"), pFuertePos->mAtributos.at("stroke"));
    EXPECT_GT(Atr(pFuerteNeg, "stroke-width"), Atr(pFuertePos, "stroke-width"));
    EXPECT_GT(Atr(pFuertePos, "stroke-width"), Atr(pDebilNeg, "stroke-width"));
    EXPECT_TRUE(mSvg[std::make_pair(3, 5)]->mAtributos.count("stroke-dasharray"));
    EXPECT_FALSE(mSvg[std::make_pair(0, 5)]->mAtributos.count("stroke-dasharray"));
}

TEST(DiagramaRed, DotFijaCadaNeuronaYTraeCadaEnlace)
{
    CRedNeuronal red;
    ConstruirRed(red);
    CDiagramaRed diagrama;
    diagrama.Construir(red);
    const std::string sDot = diagrama.GenerarDot();
    EXPECT_EQ(sDot.rfind("digraph", 0), 0u);
    EXPECT_EQ(std::count(sDot.begin(), sDot.end(), '{'), std::count(sDot.begin(), sDot.end(), '}'));
    EXPECT_EQ(std::count(sDot.begin(), sDot.end(), '"') % 2, 0);

    const std::regex reNodo("\\n  n(\\d+) \\[pos=\"(-?[\\d.]+),(-?[\\d.]+)!\", label=\"([^\"]*)\"");
    std::map<std::string, double> mY;  // label -> y
    std::map<int, std::string> mNombre;
    for (auto it = std::sregex_iterator(sDot.begin(), sDot.end(), reNodo); it != std::sregex_iterator(); ++it) {
        mY[(*it)[4]] = std::atof((*it)[3].str().c_str());
        mNombre[std::atoi((*it)[1].str().c_str())] = (*it)[4];
    }
    ASSERT_EQ(mNombre.size(), red.GetRed().size());
    // Graphviz's y grows upward: the outputs above the inputs.
    EXPECT_GT(mY["S0"], mY["E0"]);
    EXPECT_GT(mY["S1"], mY["B"]);

    const std::regex reArco("\\n  n(\\d+) -> n(\\d+) \\[pos=\"e,[^\"]+\"[^\\n]*");
    int nArcos = 0, nDiscontinuos = 0;
    for (auto it = std::sregex_iterator(sDot.begin(), sDot.end(), reArco); it != std::sregex_iterator(); ++it) {
        ++nArcos;
        nDiscontinuos += (*it)[0].str().find("style=dashed") != std::string::npos;
    }
    EXPECT_EQ(nArcos, 8);
    EXPECT_EQ(nDiscontinuos, 2);
}

TEST(DiagramaRed, RedVaciaYRedSinEnlacesDanDibujosValidos)
{
    CRedNeuronal vacia;
    CDiagramaRed diagrama;
    diagrama.Construir(vacia);
    EXPECT_TRUE(ElementosXml(LeerSvg(diagrama.GenerarSvg()), "g", "neurona").empty());
    EXPECT_NE(diagrama.GenerarDot().find("}"), std::string::npos);

    CRedNeuronal red;
    red.AddNeurona(Neurona_Entrada, 0, 0.5, 0.0, 1.0);
    red.AddNeurona(Neurona_Sesgo, 1, 0.5, 0.0, 1.0);  // same place as the input
    red.AddNeurona(Neurona_Salida, 2, 0.5, 1.0, 1.0);
    diagrama.Construir(red);
    const std::vector<SElementoXml> v = LeerSvg(diagrama.GenerarSvg());
    EXPECT_EQ(ElementosXml(v, "g", "neurona").size(), 3u);
    EXPECT_NE(Atr(CirculoNeurona(v, 0), "cx"), Atr(CirculoNeurona(v, 1), "cx"));
}

TEST(CargarRed, AceptaTextoCodificadoPlanoYDentroDeUnFuente)
{
    CRedNeuronal original;
    ConstruirRed(original);
    std::ostringstream out;
    out << original;
    const std::string sCodificado = out.str();
    const std::string sPlano = TextoPlano(original);
    const std::string sFuente = "#include \"CRTBot.h\"\n// red entrenada\nconst char* kRed =\n    " +
                                ComoLiteral(sCodificado.substr(0, 40)) + "\n    " +
                                ComoLiteral(sCodificado.substr(40)) + ";\n";
    const std::string vTextos[] = {sCodificado, sCodificado + "\n", sPlano, sFuente};
    for (const std::string& sTexto : vTextos) {
        CRedNeuronal red;
        std::string sError;
        ASSERT_TRUE(CargarTextoRed(sTexto, red, sError)) << sError << "\n" << sTexto;
        EXPECT_EQ(TextoPlano(red), sPlano);
    }
}

TEST(CargarRed, LaRedQueLlevaElRobot)
{
    CRedNeuronal red;
    std::string sError;
    ASSERT_TRUE(CargarRed(RUTA_RED_INTEGRADA, red, sError)) << sError;
    int nEntradas = 0, nSalidas = 0;
    for (const SNeurona* n : red.GetRed()) {
        nEntradas += n->TipoNeurona == Neurona_Entrada;
        nSalidas += n->TipoNeurona == Neurona_Salida;
    }
    EXPECT_EQ(nEntradas, 6);
    EXPECT_EQ(nSalidas, 5);
}

TEST(CargarRed, TextoMaloDaErrorYNoTocaLaRed)
{
    CRedNeuronal red;
    std::string sError;
    const std::string vMalos[] = {"", "hola", "\"sin cerrar", "3\n0\n0\n1\n0\n0\n"};
    for (const std::string& s : vMalos) {
        sError.clear();
        EXPECT_FALSE(CargarTextoRed(s, red, sError)) << s;
        EXPECT_FALSE(sError.empty());
        EXPECT_TRUE(red.GetRed().empty());
    }
    EXPECT_FALSE(CargarRed("/no/existe/red.txt", red, sError));
    EXPECT_NE(sError.find("/no/existe/red.txt"), std::string::npos);
}

TEST(DiagramasRed, ArchivosDeUnaRedYGraphvizSiEstaInstalado)
{
    const std::string sCarpeta = CarpetaTemporal("visual_prueba");
    CRedNeuronal red;
    ConstruirRed(red);
    std::ostringstream out;
    out << red;
    std::string sError;
    const std::string sRed = UnirRuta(sCarpeta, "mi_red.txt");
    ASSERT_TRUE(EscribirArchivoEntero(sRed, out.str(), sError));

    SResultadoInforme resultado;
    const bool bGraphviz = !BuscarPrograma("neato").empty();
    ASSERT_TRUE(GenerarDiagramasRed(sRed, UnirRuta(sCarpeta, "mi_red"), true, resultado, sError)) << sError;
    std::string sSvg;
    ASSERT_TRUE(LeerArchivo(UnirRuta(sCarpeta, "mi_red.svg"), sSvg, sError));
    EXPECT_EQ(ElementosXml(LeerSvg(sSvg), "g", "neurona").size(), 8u);
    EXPECT_TRUE(ExisteArchivo(UnirRuta(sCarpeta, "mi_red.dot")));
    if (!bGraphviz) {
        EXPECT_FALSE(resultado.vAvisos.empty());
        GTEST_SKIP() << "graphviz no instalado";
    }
    ASSERT_TRUE(LeerArchivo(UnirRuta(sCarpeta, "mi_red_graphviz.svg"), sSvg, sError)) << sError;
    const std::vector<SElementoXml> v = LeerSvg(sSvg);
    EXPECT_EQ(ElementosXml(v, "g", "node").size(), 8u);
    EXPECT_EQ(ElementosXml(v, "g", "edge").size(), 8u);
}

namespace {

// Another program's output is put in place whole; its error text goes
// through a file in the system's temporary folder (TMPDIR), left empty.
std::string Contenido(const std::string& sRuta)
{
    std::string s, sError;
    LeerArchivo(sRuta, s, sError);
    return s;
}

TEST(EjecutarPrograma, SalidaEnteraYErroresPorLaCarpetaTemporalDelSistema)
{
    const std::string sCarpeta = CarpetaTemporal("visual_prueba");
    const std::string sTemporal = sCarpeta + "/tmp";
    ASSERT_TRUE(std::filesystem::create_directory(sTemporal));
    const char* szAnterior = std::getenv("TMPDIR");
    const std::string sAnterior = szAnterior ? szAnterior : "";
    setenv("TMPDIR", sTemporal.c_str(), 1);
    std::string sError;
    const std::string sSalida = sCarpeta + "/salida.txt";
    EXPECT_TRUE(EjecutarPrograma({"sh", "-c", "echo hola"}, sSalida, sError)) << sError;
    EXPECT_EQ(Contenido(sSalida), "hola\n");
    EXPECT_FALSE(EjecutarPrograma({"sh", "-c", "echo parcial; echo roto >&2; exit 3"}, sSalida, sError));
    EXPECT_EQ(sError, "sh ha fallado: roto");
    EXPECT_EQ(Contenido(sSalida), "hola\n") << "a failed program leaves the old output";
    if (szAnterior)
        setenv("TMPDIR", sAnterior.c_str(), 1);
    else
        unsetenv("TMPDIR");
    EXPECT_TRUE(std::filesystem::is_empty(sTemporal));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(sCarpeta), std::filesystem::directory_iterator()), 2);
    std::filesystem::remove_all(sCarpeta);
}

}  // namespace
