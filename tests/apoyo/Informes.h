#ifndef INFORMES_H
#define INFORMES_H

// Checks of the one-line reports the library writes to standard error:
// fixed text, the reporting module's source path, the line of the report.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

// Path of a library source as the compiler saw it, derived from the path of
// the calling test (both live in the same checkout).
inline std::string RutaFuente(const char* szEsteTest, const std::string& sRelativa)
{
    const std::string sTest = szEsteTest;
    const std::string::size_type nPos = sTest.rfind("tests/");
    return sTest.substr(0, nPos) + sRelativa;
}

// The line of a source file, counted from 1.
inline std::string LineaDeFuente(const std::string& sRuta, int nLinea)
{
    std::ifstream in(sRuta);
    std::string sLinea;
    for (int i = 0; i < nLinea && std::getline(in, sLinea); ++i) {
    }
    return sLinea;
}

// sSalida must be exactly sAntes + sRuta + "," + line + sDespues, and that
// line of the source must be the one that reports (it names __LINE__).
inline ::testing::AssertionResult EsInforme(const std::string& sSalida, const std::string& sAntes,
                                            const std::string& sRuta, const std::string& sDespues)
{
    const std::string sCabeza = sAntes + sRuta + ",";
    if (sSalida.compare(0, sCabeza.size(), sCabeza) != 0)
        return ::testing::AssertionFailure() << "cabecera distinta: [" << sSalida << "] esperaba [" << sCabeza << "]";
    std::string::size_type i = sCabeza.size();
    int nLinea = 0;
    const std::string::size_type nInicioNum = i;
    while (i < sSalida.size() && sSalida[i] >= '0' && sSalida[i] <= '9')
        nLinea = nLinea * 10 + (sSalida[i++] - '0');
    if (i == nInicioNum)
        return ::testing::AssertionFailure() << "sin numero de linea: [" << sSalida << "]";
    if (sSalida.substr(i) != sDespues)
        return ::testing::AssertionFailure()
               << "final distinto: [" << sSalida.substr(i) << "] esperaba [" << sDespues << "]";
    if (LineaDeFuente(sRuta, nLinea).find("__LINE__") == std::string::npos)
        return ::testing::AssertionFailure() << "la linea " << nLinea << " de " << sRuta << " no es la del informe";
    return ::testing::AssertionSuccess();
}

#endif
