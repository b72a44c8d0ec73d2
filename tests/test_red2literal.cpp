// The red2literal tool, run as a program.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "NEAT/CRedNeuronal.h"
#include "bot/FuenteRed.h"

namespace {

std::string Leer(const std::string& sRuta)
{
    std::ifstream f(sRuta.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

void Escribir(const std::string& sRuta, const std::string& sTexto)
{
    std::ofstream f(sRuta.c_str(), std::ios::binary);
    f << sTexto;
}

int Ejecutar(const std::string& sArgumentos)
{
    const std::string sOrden = std::string(RUTA_RED2LITERAL) + " " + sArgumentos + " 2>/dev/null";
    const int nEstado = std::system(sOrden.c_str());
    return WIFEXITED(nEstado) ? WEXITSTATUS(nEstado) : -1;
}

class Red2Literal : public ::testing::Test {
protected:
    Red2Literal() : sDir("red2literal_prueba_" + std::to_string(getpid()))
    {
        EXPECT_EQ(std::system(("mkdir -p " + sDir).c_str()), 0);
    }
    ~Red2Literal() { std::system(("rm -rf " + sDir).c_str()); }
    std::string sDir;
};

}  // namespace

TEST_F(Red2Literal, FuenteDeUnaRedPlanaEsLaDelEscritor)
{
    const std::string sSalida = sDir + "/RedIntegrada.cpp";
    ASSERT_EQ(Ejecutar("-p -f -o " + sSalida + " " + RUTA_RED_MANUAL), 0);
    CRedNeuronal red;
    ASSERT_TRUE(CargarTextoPlanoRed(Leer(RUTA_RED_MANUAL), red));
    std::ostringstream texto;
    texto << red;
    EXPECT_EQ(Leer(sSalida), GenerarFuenteRedIntegrada(texto.str()));

    // The scrambled text of the same network gives the same literal.
    Escribir(sDir + "/red.txt", texto.str());
    ASSERT_EQ(Ejecutar(sDir + "/red.txt > " + sDir + "/literal.txt"), 0);
    EXPECT_EQ(Leer(sDir + "/literal.txt"), GenerarLiteralRed(texto.str()));
}

TEST_F(Red2Literal, EntradaMalaNoTocaLaSalida)
{
    const std::string sSalida = sDir + "/RedIntegrada.cpp";
    Escribir(sSalida, "anterior");
    Escribir(sDir + "/mala.txt", "3 0 0 1");
    EXPECT_EQ(Ejecutar("-p -f -o " + sSalida + " " + sDir + "/mala.txt"), 1);
    EXPECT_EQ(Ejecutar("-f -o " + sSalida + " " + sDir + "/no_existe.txt"), 1);
    EXPECT_EQ(Leer(sSalida), "anterior");

    // A network that decodes but cannot drive the robot: a literal, no source.
    CRedNeuronal red;
    red.AddNeurona(Neurona_Entrada, 0, 0, 0, 1);
    red.AddNeurona(Neurona_Sesgo, 1, 0, 0, 1);
    red.AddNeurona(Neurona_Salida, 2, 0, 1, 1);
    std::ostringstream texto;
    texto << red;
    Escribir(sDir + "/pequenya.txt", texto.str());
    EXPECT_EQ(Ejecutar("-f -o " + sSalida + " " + sDir + "/pequenya.txt"), 1);
    EXPECT_EQ(Leer(sSalida), "anterior");
    EXPECT_EQ(Ejecutar("-o " + sSalida + " " + sDir + "/pequenya.txt"), 0);
    EXPECT_EQ(Leer(sSalida), GenerarLiteralRed(texto.str()));
    EXPECT_NE(Ejecutar(""), 0);
}
