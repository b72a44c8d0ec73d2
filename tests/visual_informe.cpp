#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/wait.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "apoyo/CarpetaTemporal.h"
#include "apoyo/LectorXml.h"
#include "visual/CGrafica.h"
#include "visual/CJson.h"
#include "visual/CResumen.h"
#include "visual/CTablaCsv.h"
#include "visual/Graficas.h"
#include "visual/Informe.h"
#include "visual/UtilVisual.h"

namespace {

const std::string kDatos = std::string(DATOS_PRUEBA) + "/ejecucion";

std::string Leer(const std::string& sRuta)
{
    std::string s, sError;
    EXPECT_TRUE(LeerArchivo(sRuta, s, sError)) << sError;
    return s;
}

void Escribir(const std::string& sRuta, const std::string& s)
{
    std::string sError;
    ASSERT_TRUE(EscribirArchivoEntero(sRuta, s, sError)) << sError;
}

// A copy of the example run folder, optionally without some of its files.
std::string CopiaEjecucion(const std::vector<std::string>& vSin = {})
{
    const std::string sCarpeta = CarpetaTemporal("visual_prueba");
    const char* vArchivos[] = {"estadisticas.csv", "especies.csv", "mejor_red.txt", "resumen.json", "partida.json"};
    for (const char* sz : vArchivos) {
        bool bOmitir = false;
        for (const std::string& s : vSin)
            bOmitir |= (s == sz);
        if (!bOmitir)
            Escribir(UnirRuta(sCarpeta, sz), Leer(UnirRuta(kDatos, sz)));
    }
    return sCarpeta;
}

std::vector<std::string> ArchivosEn(const std::string& sCarpeta)
{
    std::vector<std::string> v;
    DIR* d = opendir(sCarpeta.c_str());
    if (!d)
        return v;
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.')
            v.push_back(e->d_name);
    closedir(d);
    return v;
}

// Text of the embedded element <script ... id="sId"> in the page.
std::string ScriptIncrustado(const std::string& sHtml, const std::string& sId)
{
    const size_t n = sHtml.find("id=\"" + sId + "\">");
    if (n == std::string::npos)
        return "";
    const size_t nIni = sHtml.find('>', n) + 1;
    return sHtml.substr(nIni, sHtml.find("</script>", nIni) - nIni);
}

SOpcionesInforme SinProgramas()
{
    SOpcionesInforme op;
    op.bUsarGnuplot = false;
    op.bUsarGraphviz = false;
    return op;
}

int Ejecutar(const std::string& sOrden)
{
    const int n = std::system((sOrden + " >/dev/null 2>&1").c_str());
    return WIFEXITED(n) ? WEXITSTATUS(n) : -1;
}

}  // namespace

TEST(Json, LeeYEscribeSinPerderNada)
{
    CJson j;
    std::string sError;
    ASSERT_TRUE(
        j.Leer(" {\"a\": [1, -2.5e3, true, null], \"b\": {\"c\": \"x\\\"y\\\\z\\n\\u00e9\"}, \"d\": 0.1} ", sError))
        << sError;
    EXPECT_EQ(j.Escribir(), "{\"a\":[1,-2.5e3,true,null],\"b\":{\"c\":\"x\\\"y\\\\z\\u000a\\u00e9\"},\"d\":0.1}");
    EXPECT_DOUBLE_EQ(j.Buscar("a")->GetElementos()[1].GetNumero(), -2500.0);
    EXPECT_EQ(j.Buscar("b")->Buscar("c")->GetTexto(), "x\"y\\z\n\xE9");
    CJson otra;
    ASSERT_TRUE(otra.Leer(j.Escribir(), sError));
    EXPECT_EQ(otra.Escribir(), j.Escribir());
    ASSERT_TRUE(otra.Leer(" [ [], {}, [ ] ,{ } , 1.5E-2, 2e+1] ", sError)) << sError;
    EXPECT_EQ(otra.Escribir(), "[[],{},[],{},1.5E-2,2e+1]");
}

TEST(Json, TextosEnUtf8OEnLatin1)
{
    CJson j;
    std::string sError;
    ASSERT_TRUE(
        j.Leer("[\"poblaci\xC3\xB3n\", \"poblaci\xF3n\", \"\xE2\x82\xAC"
               "1\", \"\xC3\"]",
               sError))
        << sError;
    EXPECT_EQ(j.GetElementos()[0].GetTexto(), "poblaci\xF3n");
    EXPECT_EQ(j.GetElementos()[1].GetTexto(), "poblaci\xF3n");
    // Past U+00FF a character stays whole, and goes back out as it came.
    EXPECT_EQ(j.GetElementos()[2].GetTexto(),
              "\xE2\x82\xAC"
              "1");
    EXPECT_EQ(j.GetElementos()[3].GetTexto(), "\xC3");
    EXPECT_EQ(j.Escribir(), "[\"poblaci\\u00f3n\",\"poblaci\\u00f3n\",\"\\u20ac1\",\"\\u00c3\"]");
    // Escapes: a surrogate pair is one character, a lone one becomes '?'.
    ASSERT_TRUE(j.Leer("[\"\\ud83d\\ude00\", \"\\ud83dx\", \"\\u00f1\"]", sError)) << sError;
    EXPECT_EQ(j.GetElementos()[0].GetTexto(), "\xF0\x9F\x98\x80");
    EXPECT_EQ(j.GetElementos()[1].GetTexto(), "?x");
    EXPECT_EQ(j.GetElementos()[2].GetTexto(), "\xF1");
    EXPECT_EQ(j.Escribir(), "[\"\\ud83d\\ude00\",\"?x\",\"\\u00f1\"]");
}

TEST(Json, NadaQuePuedaCerrarElScriptDondeSeIncrusta)
{
    CJson j;
    std::string sError;
    ASSERT_TRUE(j.Leer("{\"n\": \"</script><!-- & >\"}", sError));
    const std::string s = j.Escribir();
    EXPECT_EQ(s.find('<'), std::string::npos);
    EXPECT_EQ(s.find('>'), std::string::npos);
    EXPECT_EQ(s.find('&'), std::string::npos);
    CJson vuelta;
    ASSERT_TRUE(vuelta.Leer(s, sError));
    EXPECT_EQ(vuelta.Buscar("n")->GetTexto(), "</script><!-- & >");
}

TEST(Json, TextoMaloDaErrorConLineaYNoTocaElValor)
{
    CJson j;
    std::string sError;
    ASSERT_TRUE(j.Leer("[1]", sError));
    const char* vMalos[] = {"",          "{",  "[1,]", "{\"a\" 1}", "{\"a\":1,}", "01x", "\"abc", "[1] 2", "{a:1}",
                            "[\"\\q\"]", "1.", "-",    "[tru]",     "\"\x01\"",   "1e",  "2.e1",  "3e+"};
    for (const char* sz : vMalos) {
        sError.clear();
        EXPECT_FALSE(j.Leer(sz, sError)) << sz;
        EXPECT_FALSE(sError.empty());
        EXPECT_EQ(j.Escribir(), "[1]");
    }
    EXPECT_FALSE(j.Leer("{\n\"a\": 1,\n\"b\": ?\n}", sError));
    EXPECT_NE(sError.find("nea 3"), std::string::npos) << sError;
    EXPECT_FALSE(j.Leer("[1 2]", sError));
    EXPECT_NE(sError.find(": falta ',' o ']'"), std::string::npos) << sError;
    EXPECT_FALSE(j.Leer("{\"a\": 1 \"b\": 2}", sError));
    EXPECT_NE(sError.find(": falta ',' o '}'"), std::string::npos) << sError;
    // Deep nesting is refused, not a stack overflow.
    EXPECT_FALSE(j.Leer(std::string(100000, '['), sError));
}

TEST(TablaCsv, ColumnasPorNombreEnCualquierOrden)
{
    CTablaCsv t;
    std::string sError;
    ASSERT_TRUE(t.Leer("b,a\r\n2,1\r\n4, 3\r\n\r\n", {"a", "b"}, sError)) << sError;
    ASSERT_EQ(t.GetNumFilas(), 2u);
    EXPECT_EQ(t.ValoresColumna("a"), (std::vector<double>{1, 3}));
    EXPECT_EQ(t.ValoresColumna("b"), (std::vector<double>{2, 4}));
    EXPECT_TRUE(t.ValoresColumna("c").empty());
    EXPECT_EQ(t.Columna("c"), -1);
}

TEST(TablaCsv, FilaMalaNombraSuLineaYNoTocaLaTabla)
{
    CTablaCsv t;
    std::string sError;
    ASSERT_TRUE(t.Leer("a,b\n1,2\n", {}, sError));
    const struct {
        const char* szTexto;
        const char* szEsperado;
    } vCasos[] = {
        {"a,b\n1,2\n3\n", "nea 3"}, {"a,b\n1,2\n3,x\n", "nea 3"},     {"a,b\n1,\n", "nea 2"},
        {"a,b\n1,2,3\n", "nea 2"},  {"a\n1\n", "falta la columna b"}, {"", "cabecera"},
    };
    for (const auto& c : vCasos) {
        EXPECT_FALSE(t.Leer(c.szTexto, {"a", "b"}, sError)) << c.szTexto;
        EXPECT_NE(sError.find(c.szEsperado), std::string::npos) << sError;
        EXPECT_EQ(t.ValoresColumna("a"), (std::vector<double>{1}));
    }
}

TEST(TablaCsv, UltimaLineaAMedioEscribirSeDejaParaLuego)
{
    CTablaCsv t;
    std::string sError;
    // A run in progress: its last line has no newline yet.
    ASSERT_TRUE(t.Leer("a,b\n1,2\n3,", {"a", "b"}, sError)) << sError;
    EXPECT_EQ(t.ValoresColumna("a"), (std::vector<double>{1}));
    ASSERT_TRUE(t.Leer("a,b\n1,2\n3,4", {"a", "b"}, sError)) << sError;
    EXPECT_EQ(t.ValoresColumna("a"), (std::vector<double>{1, 3}));
    // With its newline a short line is a fault, wherever it is.
    EXPECT_FALSE(t.Leer("a,b\n1,2\n3,\n", {"a", "b"}, sError));
    EXPECT_FALSE(t.Leer("a,b\n1,\n3,4", {"a", "b"}, sError));
}

TEST(Graficas, MarcasRedondasQueCubrenElRango)
{
    const std::vector<double> v = MarcasEje(0.13, 9.7, 5);
    ASSERT_GE(v.size(), 3u);
    EXPECT_GE(v.front(), 0.13);
    EXPECT_LE(v.back(), 9.7);
    EXPECT_LE(v.front() - 0.13, v[1] - v[0]);
    EXPECT_LE(9.7 - v.back(), v[1] - v[0]);
    for (double d : v)
        EXPECT_NEAR(std::fmod(d, v[1] - v[0]), 0.0, 1e-9);
    EXPECT_TRUE(MarcasEje(1, 1, 5).empty());
}

TEST(Graficas, EspeciesApiladasSumanLaPoblacion)
{
    CTablaCsv t;
    std::string sError;
    // Species 2 is missing in generation 1 and species 3 appears in it.
    ASSERT_TRUE(
        t.Leer("generacion,especie,miembros\n0,1,6\n0,2,4\n1,1,7\n1,3,3\n2,3,10\n", ColumnasEspecies(), sError));
    std::vector<SElementoXml> v;
    ASSERT_TRUE(LeerXml(GraficaEspecies(t), v, sError)) << sError;
    const std::vector<const SElementoXml*> vBandas = ElementosXml(v, "polygon", "banda");
    ASSERT_EQ(vBandas.size(), 3u);
    // The top band's upper edge is the total: the same (10) at each
    // generation, so its first three points share one height.
    double y[3];
    std::sscanf(vBandas[2]->mAtributos.at("points").c_str(), "%*f,%lf %*f,%lf %*f,%lf", &y[0], &y[1], &y[2]);
    EXPECT_DOUBLE_EQ(y[0], y[1]);
    EXPECT_DOUBLE_EQ(y[1], y[2]);
    // The bottom band (species 1) drops to nothing in generation 2.
    double yb[6];
    std::sscanf(vBandas[0]->mAtributos.at("points").c_str(), "%*f,%lf %*f,%lf %*f,%lf %*f,%lf %*f,%lf %*f,%lf", &yb[0],
                &yb[1], &yb[2], &yb[3], &yb[4], &yb[5]);
    EXPECT_DOUBLE_EQ(yb[2], yb[3]);
    EXPECT_GT(yb[5], yb[0]);
}

TEST(Graficas, LasTresSonSvgValidoConSusSeries)
{
    CTablaCsv est, esp;
    std::string sError;
    ASSERT_TRUE(est.LeerArchivo(kDatos + "/estadisticas.csv", ColumnasEstadisticas(), sError)) << sError;
    ASSERT_TRUE(esp.LeerArchivo(kDatos + "/especies.csv", ColumnasEspecies(), sError)) << sError;
    std::vector<SElementoXml> v;
    ASSERT_TRUE(LeerXml(GraficaPuntuaciones(est), v, sError)) << sError;
    EXPECT_EQ(ElementosXml(v, "polyline", "serie").size(), 3u);
    ASSERT_TRUE(LeerXml(GraficaTamanyo(est), v, sError)) << sError;
    EXPECT_EQ(ElementosXml(v, "polyline", "serie").size(), 2u);
    ASSERT_TRUE(LeerXml(GraficaEspecies(esp), v, sError)) << sError;
    EXPECT_EQ(ElementosXml(v, "polygon", "banda").size(), 8u);
}

TEST(Graficas, GnuplotSiEstaInstalado)
{
    if (BuscarPrograma("gnuplot").empty())
        GTEST_SKIP() << "gnuplot no instalado";
    CTablaCsv est, esp;
    std::string sError;
    ASSERT_TRUE(est.LeerArchivo(kDatos + "/estadisticas.csv", ColumnasEstadisticas(), sError));
    ASSERT_TRUE(esp.LeerArchivo(kDatos + "/especies.csv", ColumnasEspecies(), sError));
    const std::string sCarpeta = CarpetaTemporal("visual_prueba");
    std::vector<std::string> vEscritos;
    ASSERT_TRUE(GraficasGnuplot(est, &esp, sCarpeta, vEscritos, sError)) << sError;
    ASSERT_EQ(vEscritos.size(), 3u);
    for (const std::string& s : vEscritos) {
        std::vector<SElementoXml> v;
        EXPECT_TRUE(LeerXml(Leer(s), v, sError)) << s << ": " << sError;
    }
    for (const std::string& s : ArchivosEn(sCarpeta))
        EXPECT_EQ(s.find(".tmp"), std::string::npos) << s;
}

TEST(Informe, PaginaAutonomaConTodasLasPartes)
{
    const std::string sCarpeta = CopiaEjecucion();
    SResultadoInforme resultado;
    std::string sError;
    ASSERT_TRUE(GenerarInforme(sCarpeta, SinProgramas(), resultado, sError)) << sError;
    const std::string sHtml = Leer(UnirRuta(sCarpeta, "informe.html"));
    // Nothing fetched from anywhere.
    for (const char* sz : {"src=\"http", "href=\"http", "<link", "<script src", "@import", "url(http"})
        EXPECT_EQ(sHtml.find(sz), std::string::npos) << sz;
    for (unsigned char c : sHtml)
        ASSERT_LT(c, 0x80) << "la p"
                              "\xE1"
                              "gina debe ser ASCII";
    // The recording is embedded whole.
    CJson original, incrustada;
    ASSERT_TRUE(original.Leer(Leer(kDatos + "/partida.json"), sError));
    ASSERT_TRUE(incrustada.Leer(ScriptIncrustado(sHtml, "datos-partida"), sError)) << sError;
    EXPECT_EQ(incrustada.Escribir(), original.Escribir());
    EXPECT_NE(sHtml.find("id=\"lienzo-partida\""), std::string::npos);
    EXPECT_NE(sHtml.find("id=\"deslizador\""), std::string::npos);
    // Summary, parameters, three charts and the network (15 neurons).
    EXPECT_NE(sHtml.find("entrenar robot"), std::string::npos);
    EXPECT_NE(sHtml.find("partidas_por_miembro"), std::string::npos);
    size_t nGraficas = 0, nNeuronas = 0;
    for (size_t n = 0; (n = sHtml.find("class=\"grafica\"", n)) != std::string::npos; ++n)
        ++nGraficas;
    for (size_t n = 0; (n = sHtml.find("class=\"neurona\"", n)) != std::string::npos; ++n)
        ++nNeuronas;
    EXPECT_EQ(nGraficas, 3u);
    EXPECT_EQ(nNeuronas, 15u);
    EXPECT_EQ(sHtml.find("class=\"error\""), std::string::npos);
    EXPECT_TRUE(ExisteArchivo(UnirRuta(sCarpeta, "red.dot")));
    EXPECT_TRUE(ExisteArchivo(UnirRuta(sCarpeta, "red.svg")));
}

// A recording that carries its arena's walls gets a picture of them: the
// floor inside the enclosing circle, a thick line, a pillar and an arc.
TEST(Informe, DibujaLasParedesDeLaArena)
{
    const std::string sCarpeta = CopiaEjecucion({"partida.json"});
    Escribir(UnirRuta(sCarpeta, "partida.json"),
             "{\"formato\":\"grabacion-arena-1\",\"arena\":\"prueba\",\"medida\":10,"
             "\"limites\":[-10,-10,10,10],\"figuras\":[[\"i\",0,0,9.9],[\"l\",-5,2,5,2,0.25],"
             "[\"c\",3,-3,1.5],[\"a\",0,0,4,5,0,1.5707963]],\"paso\":0.05,\"robots\":[\"a\"],"
             "\"cuadros\":[{\"j\":0,\"t\":0,\"r\":[[0,0,0,0,0,100,1]],\"d\":[],\"g\":[],\"m\":[],\"e\":[]}]}");
    SResultadoInforme resultado;
    std::string sError;
    ASSERT_TRUE(GenerarInforme(sCarpeta, SinProgramas(), resultado, sError)) << sError;
    const std::string sHtml = Leer(UnirRuta(sCarpeta, "informe.html"));
    EXPECT_NE(sHtml.find("<p>Arena: prueba</p>"), std::string::npos);
    EXPECT_NE(sHtml.find("<circle cx=\"0.000\" cy=\"0.000\" r=\"9.900\" fill=\"#fbfaf5\"/>"), std::string::npos);
    EXPECT_NE(sHtml.find("<line x1=\"-5.000\" y1=\"2.000\" x2=\"5.000\" y2=\"2.000\" stroke=\"#4a4a4a\" "
                         "stroke-width=\"0.500\"/>"),
              std::string::npos);
    EXPECT_NE(sHtml.find("<circle cx=\"3.000\" cy=\"-3.000\" r=\"1.500\" fill=\"#4a4a4a\"/>"), std::string::npos);
    // A quarter ring at mid radius 4.5 from (4.5, 0) to (0, 4.5), one metre wide.
    EXPECT_NE(sHtml.find("<path d=\"M 4.500 0.000 A 4.500 4.500 0 0 1 0.000 4.500\" fill=\"none\" "
                         "stroke=\"#4a4a4a\" stroke-width=\"1.000\"/>"),
              std::string::npos);
    // The same walls reach the replay's script.
    EXPECT_NE(ScriptIncrustado(sHtml, "datos-partida").find("\"figuras\""), std::string::npos);
}

TEST(Informe, PartesQueFaltanDejanUnaNota)
{
    const std::string sCarpeta = CopiaEjecucion({"partida.json", "especies.csv", "resumen.json"});
    SResultadoInforme resultado;
    std::string sError;
    ASSERT_TRUE(GenerarInforme(sCarpeta, SinProgramas(), resultado, sError)) << sError;
    const std::string sHtml = Leer(UnirRuta(sCarpeta, "informe.html"));
    EXPECT_EQ(sHtml.find("id=\"datos-partida\""), std::string::npos);
    EXPECT_NE(sHtml.find("No hay partida.json"), std::string::npos);
    EXPECT_NE(sHtml.find("No hay especies.csv"), std::string::npos);
    EXPECT_NE(sHtml.find("No hay resumen.json"), std::string::npos);
}

TEST(Informe, ArchivoMaloEsUnErrorPeroElRestoSeVe)
{
    const std::string sCarpeta = CopiaEjecucion();
    Escribir(UnirRuta(sCarpeta, "partida.json"), "{\"cuadros\": [ {\"t\": 0.05, ");  // cut short
    Escribir(UnirRuta(sCarpeta, "estadisticas.csv"),
             Leer(kDatos + "/estadisticas.csv") + "30,6200,3.1\n");  // a short line
    SResultadoInforme resultado;
    std::string sError;
    EXPECT_FALSE(GenerarInforme(sCarpeta, SinProgramas(), resultado, sError));
    EXPECT_NE(sError.find("partida.json"), std::string::npos) << sError;
    EXPECT_NE(sError.find("estadisticas.csv"), std::string::npos) << sError;
    EXPECT_NE(sError.find("nea 32"), std::string::npos) << sError;
    const std::string sHtml = Leer(UnirRuta(sCarpeta, "informe.html"));
    EXPECT_EQ(sHtml.find("id=\"datos-partida\""), std::string::npos);
    EXPECT_NE(sHtml.find("class=\"error\""), std::string::npos);
    EXPECT_NE(sHtml.find("class=\"neurona\""), std::string::npos);
}

TEST(Informe, PartidaSinCuadrosNoSeIncrusta)
{
    const std::string sCarpeta = CopiaEjecucion();
    for (const char* sz : {"[1, 2, 3]", "{\"cuadros\": []}", "{\"cuadros\": {}}"}) {
        Escribir(UnirRuta(sCarpeta, "partida.json"), sz);
        std::string sError;
        SResultadoInforme resultado;
        EXPECT_FALSE(GenerarInforme(sCarpeta, SinProgramas(), resultado, sError)) << sz;
        EXPECT_NE(sError.find("cuadros"), std::string::npos) << sError;
        EXPECT_EQ(Leer(UnirRuta(sCarpeta, "informe.html")).find("id=\"datos-partida\""), std::string::npos);
    }
}

TEST(Informe, SinDatosNoEscribeNada)
{
    std::string sError;
    EXPECT_FALSE(GenerarInforme("/no/existe/ejecucion", sError));
    EXPECT_NE(sError.find("/no/existe/ejecucion"), std::string::npos);
    const std::string sVacia = CarpetaTemporal("visual_prueba");
    EXPECT_FALSE(GenerarInforme(sVacia, sError));
    EXPECT_TRUE(ArchivosEn(sVacia).empty());
}

TEST(Informe, ReescribeSinDejarTemporales)
{
    const std::string sCarpeta = CopiaEjecucion();
    std::string sError;
    Escribir(UnirRuta(sCarpeta, "informe.html"), "viejo");
    ASSERT_TRUE(GenerarInforme(sCarpeta, sError)) << sError;
    EXPECT_NE(Leer(UnirRuta(sCarpeta, "informe.html")), "viejo");
    for (const std::string& s : ArchivosEn(sCarpeta))
        EXPECT_EQ(s.find(".tmp"), std::string::npos) << s;
}

TEST(Resumen, LoQueEscribeElEntrenamientoSaleEnElInforme)
{
    const std::string sCarpeta = CopiaEjecucion({"resumen.json"});
    CResumen resumen;
    resumen.Anyadir("programa", "entrenar robot");
    resumen.Anyadir("semilla", 1234);
    resumen.Anyadir("semilla", 99);  // replaces, keeps its place
    resumen.AnyadirParametro(
        "poblaci"
        "\xF3"
        "n",
        150);
    resumen.AnyadirParametro("rivales", "girador <y> buscador");
    // A path the user typed, in UTF-8: written and shown once encoded.
    resumen.AnyadirParametro("reanudada_desde", "salida_a\xC3\xB1o/poblacion.txt");
    std::string sError;
    ASSERT_TRUE(resumen.Guardar(sCarpeta, sError)) << sError;
    CJson j;
    ASSERT_TRUE(j.Leer(Leer(UnirRuta(sCarpeta, "resumen.json")), sError)) << sError;
    ASSERT_EQ(j.GetMiembros().size(), 3u);
    EXPECT_EQ(j.GetMiembros()[1].first, "semilla");
    EXPECT_DOUBLE_EQ(j.GetMiembros()[1].second.GetNumero(), 99);
    EXPECT_DOUBLE_EQ(j.Buscar("parametros")
                         ->Buscar("poblaci"
                                  "\xF3"
                                  "n")
                         ->GetNumero(),
                     150);

    SResultadoInforme resultado;
    ASSERT_TRUE(GenerarInforme(sCarpeta, SinProgramas(), resultado, sError)) << sError;
    const std::string sHtml = Leer(UnirRuta(sCarpeta, "informe.html"));
    EXPECT_NE(sHtml.find("poblaci&#243;n"), std::string::npos);
    EXPECT_NE(sHtml.find("girador &lt;y&gt; buscador"), std::string::npos);
    EXPECT_NE(Leer(UnirRuta(sCarpeta, "resumen.json")).find("salida_a\\u00f1o/"), std::string::npos);
    EXPECT_NE(sHtml.find("salida_a&#241;o/poblacion.txt"), std::string::npos);
}

TEST(Visualizar, OrdenSobreUnaRedYSobreUnaCarpeta)
{
    const std::string sPrograma = PROGRAMA_VISUALIZAR;
    const std::string sCarpeta = CopiaEjecucion();
    const std::string sBase = UnirRuta(sCarpeta, "dibujo");
    EXPECT_EQ(Ejecutar(sPrograma + " --sin-graphviz " + UnirRuta(sCarpeta, "mejor_red.txt") + " -s " + sBase), 0);
    EXPECT_TRUE(ExisteArchivo(sBase + ".dot"));
    EXPECT_TRUE(ExisteArchivo(sBase + ".svg"));
    EXPECT_EQ(Ejecutar(sPrograma + " --sin-graphviz --sin-gnuplot " + sCarpeta), 0);
    EXPECT_TRUE(ExisteArchivo(UnirRuta(sCarpeta, "informe.html")));
    // Bad use and bad input are told apart by the exit status.
    EXPECT_EQ(Ejecutar(sPrograma), 2);
    EXPECT_EQ(Ejecutar(sPrograma + " --no-existe " + sCarpeta), 2);
    EXPECT_EQ(Ejecutar(sPrograma + " /no/existe"), 1);
    EXPECT_EQ(Ejecutar(sPrograma + " " + UnirRuta(sCarpeta, "resumen.json")), 1);
    // Never writes its output over its input.
    EXPECT_EQ(Ejecutar(sPrograma + " " + sBase + ".svg"), 2);
}

TEST(Informe, EpisodioDePolosEnLugarDeLaPartida)
{
    const std::string sCarpeta = CopiaEjecucion({"partida.json"});
    std::string sEpisodio = "tiempo,x,angulo1,angulo2,fuerza\n";
    for (int i = 0; i < 20; ++i)
        sEpisodio += std::to_string(0.02 * i) + "," + std::to_string(0.01 * i) + ",0.01745,-0.002,1.5\n";
    Escribir(UnirRuta(sCarpeta, "episodio.csv"), sEpisodio);
    SResultadoInforme resultado;
    std::string sError;
    ASSERT_TRUE(GenerarInforme(sCarpeta, SinProgramas(), resultado, sError)) << sError;
    std::string sHtml = Leer(UnirRuta(sCarpeta, "informe.html"));
    EXPECT_NE(sHtml.find("id=\"episodio\""), std::string::npos);
    EXPECT_EQ(sHtml.find("No hay partida.json"), std::string::npos) << "an episode stands in for the match";
    size_t nGraficas = 0;
    for (size_t n = 0; (n = sHtml.find("class=\"grafica\"", n)) != std::string::npos; ++n)
        ++nGraficas;
    EXPECT_EQ(nGraficas, 5u) << "the run's three and the episode's two";
    // Eight snapshots of the cart, the first at the start, the last at the end.
    const size_t nTira = sHtml.find("<svg", sHtml.find("id=\"episodio\""));
    size_t nCarros = 0;
    for (size_t n = sHtml.find("</svg>", nTira); (n = sHtml.find("<rect", n)) != std::string::npos; ++n)
        ++nCarros;
    EXPECT_GE(nCarros, 8u);
    EXPECT_NE(sHtml.find(">0 s<"), std::string::npos);
    EXPECT_NE(sHtml.find(">0.38 s<"), std::string::npos);

    Escribir(UnirRuta(sCarpeta, "episodio.csv"), "tiempo,x\n0,0\n");  // no angles
    EXPECT_FALSE(GenerarInforme(sCarpeta, SinProgramas(), resultado, sError));
    EXPECT_NE(sError.find("angulo1"), std::string::npos) << sError;
    sHtml = Leer(UnirRuta(sCarpeta, "informe.html"));
    EXPECT_NE(sHtml.find("id=\"episodio\""), std::string::npos);
    EXPECT_NE(sHtml.find("class=\"error\""), std::string::npos);
}
