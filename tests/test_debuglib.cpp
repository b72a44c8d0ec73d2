// The support library that programs link in: random source and log sink.
#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DebugLib/LogUtils/CLog.h"
#include "DebugLib/Random/Random.h"

namespace {

std::string LeerArchivo(const std::string& sRuta)
{
    std::ifstream in(sRuta);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string RutaTemporal(const std::string& sNombre)
{
    const std::string sRuta = ::testing::TempDir() + "debuglib_" + sNombre;
    std::remove(sRuta.c_str());
    return sRuta;
}

}  // namespace

TEST(Random, DoubleDentroDelRango)
{
    SetSemillaRandom(1);
    double dMin = 1e9, dMax = -1e9;
    for (int i = 0; i < 20000; ++i) {
        const double d = RandomDouble(-1, 1);
        ASSERT_GE(d, -1.0);
        ASSERT_LE(d, 1.0);
        dMin = std::min(dMin, d);
        dMax = std::max(dMax, d);
    }
    // Spread over the whole range, not bunched at one end.
    EXPECT_LT(dMin, -0.99);
    EXPECT_GT(dMax, 0.99);
    for (int i = 0; i < 1000; ++i) {
        const double d = RandomDouble(2.5, 3.0);
        ASSERT_GE(d, 2.5);
        ASSERT_LE(d, 3.0);
    }
}

TEST(Random, EnteroAlcanzaAmbosExtremosYNadaMas)
{
    SetSemillaRandom(2);
    std::vector<int> vCuenta(4, 0);
    for (int i = 0; i < 4000; ++i) {
        const int n = RandomInt(0, 3);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, 3);
        ++vCuenta[n];
    }
    for (int n : vCuenta) {
        EXPECT_GT(n, 800);  // about 1000 each
        EXPECT_LT(n, 1200);
    }
    bool bMenos2 = false, bMas2 = false;
    for (int i = 0; i < 1000; ++i) {
        const int n = RandomInt(-2, 2);
        ASSERT_GE(n, -2);
        ASSERT_LE(n, 2);
        bMenos2 |= n == -2;
        bMas2 |= n == 2;
    }
    EXPECT_TRUE(bMenos2 && bMas2);
}

TEST(Random, RangoVacioOInvertidoDaElMinimo)
{
    EXPECT_EQ(RandomInt(5, 3), 5);
    EXPECT_EQ(RandomInt(7, 7), 7);
    EXPECT_EQ(RandomInt(0, -1), 0);
}

TEST(Random, RangoCompletoDeEnteros)
{
    SetSemillaRandom(3);
    bool bNegativo = false, bPositivo = false;
    for (int i = 0; i < 100; ++i) {
        const int n = RandomInt(INT_MIN, INT_MAX);
        bNegativo |= n < 0;
        bPositivo |= n > 0;
    }
    EXPECT_TRUE(bNegativo && bPositivo);
}

TEST(Random, MismaSemillaMismaSecuencia)
{
    auto Secuencia = [] {
        std::vector<double> v;
        for (int i = 0; i < 50; ++i) {
            v.push_back(RandomDouble(0, 1));
            v.push_back(RandomInt(0, 1000));
        }
        return v;
    };
    SetSemillaRandom(1234);
    const std::vector<double> a = Secuencia();
    SetSemillaRandom(1234);
    EXPECT_EQ(Secuencia(), a);
    // Seeding again after a fixed seed restarts that same sequence.
    GenerarSemillaRandom();
    EXPECT_EQ(Secuencia(), a);
    SetSemillaRandom(4321);
    EXPECT_NE(Secuencia(), a);
}

TEST(Log, ModoWEmpiezaDeCeroYModoAAnyade)
{
    const std::string sRuta = RutaTemporal("modos.txt");
    {
        std::ofstream previo(sRuta);
        previo << "viejo\n";
    }
    {
        CLog log(sRuta, "a");
        log.anyadirALog("%i\t%f\n", 3, 0.5);
    }
    EXPECT_EQ(LeerArchivo(sRuta), "viejo\n3\t0.500000\n");
    {
        CLog log(sRuta, "w");
        EXPECT_EQ(LeerArchivo(sRuta), "");
        log.anyadirALog("uno\n");
        // Each entry is complete once written: no file held open.
        EXPECT_EQ(LeerArchivo(sRuta), "uno\n");
        log.anyadirALog("dos %i\n", 2);
    }
    EXPECT_EQ(LeerArchivo(sRuta), "uno\ndos 2\n");
    std::remove(sRuta.c_str());
}

TEST(Log, BanderasDeConsolaYArchivo)
{
    const std::string sRuta = RutaTemporal("banderas.txt");
    CLog log(sRuta, "w");

    testing::internal::CaptureStdout();
    log.anyadirALog("solo archivo\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    log.mostrarPorConsola(true);
    log.mostrarEnArchivo(false);
    testing::internal::CaptureStdout();
    log.anyadirALog("solo consola %i\n", 7);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "solo consola 7\n");

    log.mostrarEnArchivo(true);
    testing::internal::CaptureStdout();
    log.anyadirALog("ambos\n");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ambos\n");

    EXPECT_EQ(LeerArchivo(sRuta), "solo archivo\nambos\n");
    std::remove(sRuta.c_str());
}

TEST(Log, RutaInaccesibleNoRompeNada)
{
    // Nowhere to write: the file entry is dropped, nothing is created on the
    // way, nothing is said on stderr, and the console still gets its copy.
    const std::string sCarpeta = ::testing::TempDir() + "no_existe_" + std::to_string(::getpid());
    CLog log(sCarpeta + "/x/log.txt", "w");
    log.mostrarPorConsola(true);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    log.anyadirALog("nada %i\n", 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "nada 1\n");
    EXPECT_FALSE(std::ifstream(sCarpeta).good());
    log.mostrarPorConsola(false);
    log.anyadirALog("otra %i\n", 2);
    EXPECT_FALSE(std::ifstream(sCarpeta + "/x/log.txt").good());
}
