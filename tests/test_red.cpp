#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "NEAT/CRedNeuronal.h"
#include "apoyo/Textos.h"

namespace {

double Sigmoide(double x, double a) { return 1.0 / (1.0 + std::exp(-x / a)); }

// in -> hidden -> out, with the hidden neuron added after the output.
void ConstruirRedOcultaAlFinal(CRedNeuronal& red)
{
    const SNeurona* in = red.AddNeurona(Neurona_Entrada, 0, 0.5, 0.0, 1.0);
    red.AddNeurona(Neurona_Sesgo, 1, 0.25, 0.0, 1.0);
    const SNeurona* out = red.AddNeurona(Neurona_Salida, 2, 0.5, 1.0, 1.0);
    const SNeurona* hid = red.AddNeurona(Neurona_Oculta, 3, 0.5, 0.5, 1.0);
    red.AddEnlace(in, hid, 2.0, false);
    red.AddEnlace(hid, out, -3.0, false);
}

}  // namespace

TEST(RedNeuronal, PerceptronIgualEnAmbosModos)
{
    CRedNeuronal red;
    const SNeurona* x1 = red.AddNeurona(Neurona_Entrada, 0, 0.5, 0, 0.7);
    const SNeurona* x2 = red.AddNeurona(Neurona_Entrada, 1, 0.75, 0, 0.7);
    const SNeurona* b = red.AddNeurona(Neurona_Sesgo, 2, 0.25, 0, 0.7);
    const SNeurona* o = red.AddNeurona(Neurona_Salida, 3, 0.5, 1, 0.7);
    red.AddEnlace(x1, o, 0.3, false);
    red.AddEnlace(x2, o, -1.2, false);
    red.AddEnlace(b, o, 0.5, false);
    const double esperado = Sigmoide(0.3 * 2.0 - 1.2 * -1.5 + 0.5, 0.7);
    TVecDoubles in = {2.0, -1.5};
    ASSERT_EQ(red.Actualizar(in, Ejecucion_Instantanea).size(), 1u);
    EXPECT_DOUBLE_EQ(red.Actualizar(in, Ejecucion_Instantanea)[0], esperado);
    EXPECT_DOUBLE_EQ(red.Actualizar(in, Ejecucion_PasoDinamico)[0], esperado);
}

TEST(RedNeuronal, InstantaneaAsientaYReinicia)
{
    CRedNeuronal red;
    ConstruirRedOcultaAlFinal(red);
    const double asentado = Sigmoide(-3.0 * Sigmoide(2.0 * 0.8, 1.0), 1.0);
    TVecDoubles in = {0.8};
    EXPECT_DOUBLE_EQ(red.Actualizar(in, Ejecucion_Instantanea)[0], asentado);
    for (const SNeurona* n : red.GetRed())
        EXPECT_EQ(n->dSalida, 0.0);
    EXPECT_DOUBLE_EQ(red.Actualizar(in, Ejecucion_Instantanea)[0], asentado);
}

TEST(RedNeuronal, PasoDinamicoTieneMemoria)
{
    CRedNeuronal red;
    ConstruirRedOcultaAlFinal(red);
    TVecDoubles in = {0.8};
    EXPECT_DOUBLE_EQ(red.Actualizar(in, Ejecucion_PasoDinamico)[0], 0.5);  // hidden still 0
    const double asentado = Sigmoide(-3.0 * Sigmoide(1.6, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(red.Actualizar(in, Ejecucion_PasoDinamico)[0], asentado);
    EXPECT_DOUBLE_EQ(red.Actualizar(in, Ejecucion_PasoDinamico)[0], asentado);
    EXPECT_NE(red.GetRed()[3]->dSalida, 0.0);
}

TEST(RedNeuronal, SesgoNuncaSeCalculaYCapasIguales)
{
    CRedNeuronal red;
    const SNeurona* in = red.AddNeurona(Neurona_Entrada, 0, 0.5, 0, 1);
    const SNeurona* b = red.AddNeurona(Neurona_Oculta, 1, 0.5, 0, 1);  // kind ignored: it is the bias slot
    const SNeurona* o = red.AddNeurona(Neurona_Salida, 2, 0.5, 1, 1);
    const SNeurona* o2 = red.AddNeurona(Neurona_Salida, 3, 0.7, 1, 1);
    red.AddEnlace(in, b, 50.0, false);
    red.AddEnlace(b, o, 1.0, false);
    red.AddEnlace(o, o2, 1.0, false);
    TVecDoubles in1 = {3.0};
    // Two distinct depths: two passes, enough for o -> o2.
    const TVecDoubles& s = red.Actualizar(in1, Ejecucion_Instantanea);
    ASSERT_EQ(s.size(), 2u);
    EXPECT_DOUBLE_EQ(s[0], Sigmoide(1.0, 1.0));
    EXPECT_DOUBLE_EQ(s[1], Sigmoide(Sigmoide(1.0, 1.0), 1.0));
}

TEST(RedNeuronal, RedVaciaYLimpiar)
{
    CRedNeuronal red;
    TVecDoubles nada;
    EXPECT_TRUE(red.Actualizar(nada, Ejecucion_Instantanea).empty());
    ConstruirRedOcultaAlFinal(red);
    TVecDoubles in = {0.3};
    const double antes = red.Actualizar(in, Ejecucion_Instantanea)[0];
    red.Limpiar();
    EXPECT_TRUE(red.GetRed().empty());
    ConstruirRedOcultaAlFinal(red);
    EXPECT_DOUBLE_EQ(red.Actualizar(in, Ejecucion_Instantanea)[0], antes);
}

TEST(TextoRed, IdaYVueltaConservaNeuronasEnlacesYResultados)
{
    CRedNeuronal red;
    ConstruirRedOcultaAlFinal(red);
    red.AddEnlace(red.GetRed()[3], red.GetRed()[3], 0.1234567, true);
    std::ostringstream out;
    out << red;
    const std::string sTexto = out.str();
    EXPECT_EQ(sTexto.find('"'), std::string::npos);

    CRedNeuronal copia;
    std::istringstream in(sTexto);
    in >> copia;
    ASSERT_EQ(copia.GetRed().size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(copia.GetRed()[i]->TipoNeurona, red.GetRed()[i]->TipoNeurona);
        EXPECT_EQ(copia.GetRed()[i]->nID, red.GetRed()[i]->nID);
        EXPECT_EQ(copia.GetRed()[i]->vEnlacesSalida.size(), red.GetRed()[i]->vEnlacesSalida.size());
    }
    const SEnlace& bucle = copia.GetRed()[3]->vEnlacesSalida[1];
    EXPECT_TRUE(bucle.bRecurrente);
    EXPECT_DOUBLE_EQ(bucle.dPeso, 0.123457);
    TVecDoubles x = {0.4};
    EXPECT_NEAR(copia.Actualizar(x, Ejecucion_Instantanea)[0], red.Actualizar(x, Ejecucion_Instantanea)[0], 1e-5);
}

TEST(TextoRed, NumeroDeLineasYRedVacia)
{
    CRedNeuronal red;
    EXPECT_EQ(TextoPlano(red), "0\n\n");
    ConstruirRedOcultaAlFinal(red);
    const std::string sPlano = TextoPlano(red);
    const long nLineas = std::count(sPlano.begin(), sPlano.end(), '\n');
    EXPECT_EQ(nLineas, 1 + 5 * 4 + 1 + 4 + 4 * 2);
    EXPECT_NE(sPlano.find("\n0.25\n"), std::string::npos);
}

TEST(TextoRed, FormaEscapadaYResueltaDanLaMismaRed)
{
    CRedNeuronal red;
    ConstruirRedOcultaAlFinal(red);
    std::ostringstream out;
    out << red;
    std::string sEscapado = out.str(), sResuelto;
    for (size_t i = 0; i < sEscapado.size(); ++i) {
        if (sEscapado[i] == '\\') {
            const char c = sEscapado[++i];
            sResuelto += (c == 'n') ? '\n' : c;
        } else {
            sResuelto += sEscapado[i];
        }
    }
    std::string sPlano;
    ASSERT_TRUE(DecodificarTextoRed("\\n\\\\\\\"", sPlano));
    EXPECT_EQ(sPlano, std::string({char(0x0A - 0x4B), char(0x5C - 0x4B), char(0x22 - 0x4B)}));
    CRedNeuronal a, b;
    std::istringstream ia(sEscapado), ib(sResuelto);
    ia >> a;
    ib >> b;
    std::ostringstream oa, ob;
    oa << a;
    ob << b;
    EXPECT_EQ(oa.str(), ob.str());
}

TEST(TextoRed, ElLectorAnyadeSinVaciar)
{
    CRedNeuronal red;
    ConstruirRedOcultaAlFinal(red);
    std::ostringstream out;
    out << red;
    std::istringstream in(out.str());
    in >> red;
    EXPECT_EQ(red.GetRed().size(), 8u);
}

TEST(TextoRedDeathTest, EscapesInvalidosYTextosMalformados)
{
    const char* kMensaje = "ERROR \\(.*CRedNeuronal.cpp,[0-9]+\\): Fallo decodificando red neuronal";
    auto Leer = [](const std::string& s) {
        CRedNeuronal red;
        std::istringstream in(s);
        in >> red;
    };
    EXPECT_EXIT(Leer("abc\\x"), ::testing::ExitedWithCode(255), kMensaje);
    EXPECT_EXIT(Leer("abc\\"), ::testing::ExitedWithCode(255), kMensaje);

    auto Codificar = [](const std::string& plano) {
        std::string s;
        for (unsigned char c : plano) {
            const unsigned char k = static_cast<unsigned char>(c + 0x4B);
            if (k == 0x0A)
                s += "\\n";
            else if (k == 0x5C)
                s += "\\\\";
            else if (k == 0x22)
                s += "\\\"";
            else
                s += static_cast<char>(k);
        }
        return s;
    };
    const char* malformados[] = {
        "1\n0\n0\nx\n0\n0\n\n0\n",              // value that does not parse
        "2\n0\n0\n1\n0\n0\n\n0\n",              // too few values
        "1\n7\n0\n1\n0\n0\n\n0\n",              // kind outside 0..4
        "1\n0\n0\n1\n0\n0\n\n1\n0\n1\n0\n1\n",  // link target not below N
        "1\n0\n0\n1\n0\n0\n\n0\nbasura\n",      // trailing garbage
    };
    for (const char* m : malformados)
        EXPECT_EXIT(Leer(Codificar(m)), ::testing::ExitedWithCode(255), kMensaje) << m;

    CRedNeuronal red;
    EXPECT_FALSE(CargarTextoPlanoRed("1\n0\n0\n1\n0\n0\n\n1\n0\n1\n0\n1\n", red));
    EXPECT_TRUE(red.GetRed().empty());
}
