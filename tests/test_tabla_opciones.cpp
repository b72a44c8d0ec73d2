// Tables of options: what they read, what they refuse and say, and the usage
// they write from the same table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Comun/TablaOpciones.h"

namespace {

struct SValores {
    int nN = 5;
    unsigned nSemilla = 1;
    double dT = 2.5;
    std::string sSalida = "sal";
    std::string sEntrada;
    std::string sExtra;
    bool bBandera = false;
    bool bInforme = true;
    std::string sForma = "circulo";
};

void Tabla(CTablaOpciones& t, SValores& v)
{
    t.Posicional("ENTRADA", v.sEntrada, true, "lo que se lee");
    t.Posicional("EXTRA", v.sExtra, false, "opcional");
    t.Entero("--n", "N", 1, 10, v.nN, "cuantos");
    t.Entero("--semilla", "N", 0, 4294967295L, v.nSemilla, "semilla");
    t.Real("--t", "S", 0.5, 1e5, v.dT, "segundos");
    t.Texto("-o, --salida", "DIR", v.sSalida, "carpeta", v.sSalida);
    t.Bandera("-b", v.bBandera, true, "bandera");
    t.Bandera("--sin-informe", v.bInforme, false, "sin informe");
    t.Otra(
        "--forma", "F", v.sForma, "circulo o cuadrado",
        [&v](const std::string& s, std::string& sError) {
            if (s != "circulo" && s != "cuadrado")
                sError = "circulo o cuadrado";
            else
                v.sForma = s;
            return sError.empty();
        },
        "forma");
    t.Ejemplo("orden --n 3 entrada");
}

// Reads the words with a fresh table; sError holds the message on failure.
bool Leer(std::vector<std::string> vPalabras, SValores& v, bool& bAyuda, std::string& sError)
{
    vPalabras.insert(vPalabras.begin(), "programa");
    std::vector<char*> vArgv;
    for (std::string& s : vPalabras)
        vArgv.push_back(&s[0]);
    CTablaOpciones t("programa orden", "Hace algo.");
    Tabla(t, v);
    return t.Leer(static_cast<int>(vArgv.size()), vArgv.data(), 1, bAyuda, sError);
}

TEST(TablaOpciones, LeeCadaClaseDeOpcionYLosPosicionales)
{
    SValores v;
    bool bAyuda = true;
    std::string sError;
    ASSERT_TRUE(Leer({"--n", "10", "ent", "--semilla", "4294967295", "--t", "0.5", "-o", "x", "-b", "--sin-informe",
                      "--forma", "cuadrado", "ext"},
                     v, bAyuda, sError))
        << sError;
    EXPECT_FALSE(bAyuda);
    EXPECT_EQ(v.nN, 10);
    EXPECT_EQ(v.nSemilla, 4294967295u);
    EXPECT_DOUBLE_EQ(v.dT, 0.5);
    EXPECT_EQ(v.sSalida, "x");
    EXPECT_TRUE(v.bBandera);
    EXPECT_FALSE(v.bInforme);
    EXPECT_EQ(v.sForma, "cuadrado");
    EXPECT_EQ(v.sEntrada, "ent");
    EXPECT_EQ(v.sExtra, "ext");
    SValores w;
    ASSERT_TRUE(Leer({"--salida", "y", "ent"}, w, bAyuda, sError)) << sError;
    EXPECT_EQ(w.sSalida, "y");
    EXPECT_TRUE(w.sExtra.empty());
}

TEST(TablaOpciones, RechazaConUnMensajeQueDiceElRango)
{
    struct SCaso {
        std::vector<std::string> vPalabras;
        std::string sMensaje;
    };
    const std::vector<SCaso> vCasos = {
        {{"e", "--n", "0"}, "--n: '0' (un entero de 1 a 10)"},
        {{"e", "--n", "11"}, "un entero de 1 a 10"},
        {{"e", "--n", "3x"}, "un entero de 1 a 10"},
        {{"e", "--n", ""}, "un entero de 1 a 10"},
        {{"e", "--semilla", "-1"}, "de 0 a 4294967295"},
        {{"e", "--semilla", "4294967296"}, "de 0 a 4294967295"},
        {{"e", "--t", "nan"}, "de 0.5 a 100000"},
        {{"e", "--t", "0.4"}, "de 0.5 a 100000"},
        {{"e", "--salida", ""}, "--salida: ''"},
        {{"e", "--forma", "cruz"}, "circulo o cuadrado"},
        {{"e", "--n"}, "Falta el valor de --n"},
        {{"e", "--nada"}, "desconocida: --nada"},
        {{"e", "f", "g"}, "Sobra el argumento g"},
        {{"--n", "3"}, "Falta ENTRADA"},
    };
    for (const SCaso& caso : vCasos) {
        SValores v;
        bool bAyuda = false;
        std::string sError;
        EXPECT_FALSE(Leer(caso.vPalabras, v, bAyuda, sError)) << caso.sMensaje;
        EXPECT_NE(sError.find(caso.sMensaje), std::string::npos) << sError;
    }
}

TEST(TablaOpciones, LaAyudaSePideEnCualquierSitioMenosComoValor)
{
    for (const char* szPalabra : {"-h", "--help", "--ayuda", "ayuda"}) {
        SValores v;
        bool bAyuda = false;
        std::string sError;
        // Even after a bad option: the usage is what was asked for.
        EXPECT_TRUE(Leer({"--nada", "--n", "99", szPalabra}, v, bAyuda, sError)) << szPalabra;
        EXPECT_TRUE(bAyuda) << szPalabra;
    }
    SValores v;
    bool bAyuda = true;
    std::string sError;
    ASSERT_TRUE(Leer({"--salida", "ayuda", "e"}, v, bAyuda, sError)) << sError;
    EXPECT_FALSE(bAyuda);
    EXPECT_EQ(v.sSalida, "ayuda");
}

TEST(TablaOpciones, LaAyudaDiceCadaOpcionConSuValorPorOmisionYSuRango)
{
    SValores v;
    CTablaOpciones t("programa orden", "Hace algo.");
    Tabla(t, v);
    const std::string s = t.Ayuda();
    EXPECT_EQ(s.rfind("Uso: programa orden [opciones] ENTRADA [EXTRA]\nHace algo.\n", 0), 0u) << s;
    for (const char* sz :
         {"--n N", "(por omisi\xF3n 5; un entero de 1 a 10)", "-o, --salida DIR", "(por omisi\xF3n sal)",
          "(por omisi\xF3n 2.5; un n\xFAmero de 0.5 a 100000)", "(por omisi\xF3n circulo; circulo o cuadrado)",
          "-h, --help, ayuda", "\nEjemplo:\n  orden --n 3 entrada\n"})
        EXPECT_NE(s.find(sz), std::string::npos) << sz << "\n" << s;
    for (std::size_t nInicio = 0, nFin; (nFin = s.find('\n', nInicio)) != std::string::npos; nInicio = nFin + 1)
        EXPECT_LE(nFin - nInicio, 100u) << s.substr(nInicio, nFin - nInicio);
}

}  // namespace
