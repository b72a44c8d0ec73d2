#ifndef TEXTOS_H
#define TEXTOS_H

// Texts that tests compare: an object as its operator<< writes it, a
// genome as a reader gives it back, a network's plain text, a text's lines.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "NEAT/CGenoma.h"
#include "NEAT/CRedNeuronal.h"

template <typename T>
std::string Texto(const T& objeto)
{
    std::ostringstream out;
    out << objeto;
    return out.str();
}

// Species and fitness are not part of a genome's text: a reader gives them
// back as zeros.
inline std::string TextoTrasLeer(const CGenoma& g)
{
    CGenoma copia(g);
    copia.SetEspecie(0);
    copia.SetIdoneidad(0);
    copia.SetNumHijosAExpandir(0);
    copia.SetIdoneidadAjustada(0);
    return Texto(copia);
}

// The network's text with its coding undone.
inline std::string TextoPlano(const CRedNeuronal& red)
{
    std::string sPlano;
    EXPECT_TRUE(DecodificarTextoRed(Texto(red), sPlano));
    return sPlano;
}

inline std::vector<std::string> Lineas(const std::string& sTexto)
{
    std::vector<std::string> vLineas;
    std::istringstream in(sTexto);
    for (std::string s; std::getline(in, s);)
        vLineas.push_back(s);
    return vLineas;
}

#endif
