// Writing a file whole: the target holds the old content or the whole new
// one, nothing is left beside it, and failures come back with a reason.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "Comun/ArchivoEntero.h"

namespace {

namespace fs = std::filesystem;

class ArchivoEntero : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_sDir = (fs::temp_directory_path() / ("archivo_entero_" + std::to_string(getpid()))).string();
        fs::remove_all(m_sDir);
        fs::create_directories(m_sDir);
        m_sRuta = m_sDir + "/datos.txt";
    }
    void TearDown() override
    {
        std::error_code e;
        fs::permissions(m_sDir, fs::perms::owner_all, e);
        fs::remove_all(m_sDir, e);
    }
    std::string Leer(const std::string& sRuta)
    {
        std::ifstream in(sRuta, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::size_t Entradas()
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(m_sDir), fs::directory_iterator()));
    }
    std::string m_sDir, m_sRuta;
};

TEST_F(ArchivoEntero, EscribeYSustituyeSinDejarTemporales)
{
    std::string sError;
    ASSERT_TRUE(EscribirArchivoEntero(m_sRuta, "uno\n", sError)) << sError;
    EXPECT_EQ(Leer(m_sRuta), "uno\n");
    const std::string sGrande(1 << 20, 'x');
    ASSERT_TRUE(EscribirArchivoEntero(m_sRuta, sGrande, sError)) << sError;
    EXPECT_EQ(Leer(m_sRuta), sGrande);
    ASSERT_TRUE(EscribirArchivoEntero(m_sRuta, "", sError)) << sError;
    EXPECT_EQ(Leer(m_sRuta), "");
    EXPECT_EQ(Entradas(), 1u);
}

TEST_F(ArchivoEntero, UnFalloDejaElDestinoComoEstabaYDiceQue)
{
    std::string sError;
    ASSERT_TRUE(EscribirArchivoEntero(m_sRuta, "viejo", sError));
    // The target is a folder: the rename fails after the data was written.
    const std::string sCarpeta = m_sDir + "/carpeta";
    fs::create_directories(sCarpeta + "/dentro");
    EXPECT_FALSE(EscribirArchivoEntero(sCarpeta, "nuevo", sError));
    EXPECT_NE(sError.find(sCarpeta), std::string::npos) << sError;
    EXPECT_TRUE(fs::is_directory(sCarpeta + "/dentro"));
    // A folder that does not exist.
    sError.clear();
    EXPECT_FALSE(EscribirArchivoEntero(m_sDir + "/no/hay/nada.txt", "x", sError));
    EXPECT_FALSE(sError.empty());
    EXPECT_EQ(Leer(m_sRuta), "viejo");
    EXPECT_EQ(Entradas(), 2u);
}

TEST_F(ArchivoEntero, UnaCarpetaSinPermisoDeEscrituraNoSeToca)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes anywhere";
    std::string sError;
    ASSERT_TRUE(EscribirArchivoEntero(m_sRuta, "viejo", sError));
    fs::permissions(m_sDir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(EscribirArchivoEntero(m_sRuta, "nuevo", sError));
    EXPECT_EQ(Leer(m_sRuta), "viejo");
}

TEST_F(ArchivoEntero, NoSigueUnEnlacePuestoDondeIriaElTemporal)
{
    const std::string sVictima = m_sDir + "/victima";
    std::string sError;
    ASSERT_TRUE(EscribirArchivoEntero(sVictima, "no tocar", sError));
    const std::string sUsado = NombreTemporalJunto(m_sRuta);
    const std::size_t nPunto = sUsado.rfind('.');
    const std::string sSiguiente =
        sUsado.substr(0, nPunto + 1) + std::to_string(std::stoul(sUsado.substr(nPunto + 1)) + 1);
    ASSERT_EQ(symlink(sVictima.c_str(), sSiguiente.c_str()), 0);
    ASSERT_TRUE(EscribirArchivoEntero(m_sRuta, "nuevo", sError)) << sError;
    EXPECT_EQ(Leer(sVictima), "no tocar");
    EXPECT_EQ(Leer(m_sRuta), "nuevo");
}

TEST_F(ArchivoEntero, PorPartesYDescartado)
{
    std::string sError;
    {
        CArchivoEntero archivo;
        ASSERT_TRUE(archivo.Abrir(m_sRuta, sError));
        ASSERT_TRUE(archivo.Escribir("a", 1, sError));
        // Dropped without Confirmar: the target never appears.
    }
    EXPECT_FALSE(fs::exists(m_sRuta));
    EXPECT_EQ(Entradas(), 0u);
    CArchivoEntero archivo;
    ASSERT_TRUE(archivo.Abrir(m_sRuta, sError));
    ASSERT_EQ(write(archivo.GetDescriptor(), "por descriptor", 14), 14);
    ASSERT_TRUE(archivo.Confirmar(sError)) << sError;
    EXPECT_EQ(Leer(m_sRuta), "por descriptor");
    EXPECT_FALSE(archivo.Confirmar(sError));
    EXPECT_EQ(Entradas(), 1u);
}

}  // namespace
