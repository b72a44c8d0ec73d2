// Prints a network text file as a C++ string literal, or as the whole source
// file of the robot's built-in network.
//
//   red2literal [-p] [-f] [-o SALIDA] RED
//     -p  RED holds the plain text (unscrambled), e.g. a hand-made network
//     -f  print the complete RedIntegrada.cpp; the network must suit the robot
//     -o  write to SALIDA (complete or not at all) instead of standard output
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "Comun/ArchivoEntero.h"
#include "Comun/TablaOpciones.h"
#include "Comun/TextoLocal.h"
#include "NEAT/CRedNeuronal.h"
#include "bot/CRTBot.h"
#include "bot/FuenteRed.h"

namespace {

const unsigned kEntradasBot = 6;

struct SOpciones {
    bool bPlano = false;
    bool bFuente = false;
    bool bAyuda = false;
    std::string sEntrada;
    std::string sSalida;
};

void TablaOpciones(CTablaOpciones& t, SOpciones& o)
{
    t.Posicional("RED", o.sEntrada, true, "archivo con la red en forma de texto");
    t.Bandera("-p", o.bPlano, true, "RED es texto plano, sin codificar");
    t.Bandera("-f", o.bFuente, true, "escribe el fuente completo de RedIntegrada.cpp");
    t.Texto("-o", "SALIDA", o.sSalida,
            "escribe en SALIDA (entera o nada) en vez de la salida est"
            "\xE1"
            "ndar",
            "");
    t.Ejemplo("red2literal -p -f -o src/bot/RedIntegrada.cpp tools/red2literal/red_manual.txt");
}

bool LeerArchivo(const std::string& sRuta, std::string& sContenido)
{
    std::ifstream archivo(sRuta.c_str(), std::ios::binary);
    if (!archivo)
        return false;
    sContenido.assign(std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>());
    return !archivo.bad();
}

// Loads the network, then writes it again so the literal is the writer's own.
bool TextoCanonico(const std::string& sContenido, bool bPlano, CRedNeuronal& red, std::string& sEscapado)
{
    std::string sPlano = sContenido;
    if (!bPlano && !DecodificarTextoRed(sContenido, sPlano))
        return false;
    if (!CargarTextoPlanoRed(sPlano, red))
        return false;
    std::ostringstream salida;
    salida << red;
    sEscapado = salida.str();
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    SOpciones opciones;
    CTablaOpciones tabla("red2literal",
                         "Escribe una red como literal de cadena partido, o el fuente de la red integrada del robot.");
    TablaOpciones(tabla, opciones);
    std::string sError;
    if (!tabla.Leer(argc, argv, 1, opciones.bAyuda, sError)) {
        EscribirFormato(stderr, "ERROR: %s\n\n%s", sError.c_str(), tabla.Ayuda().c_str());
        return 2;
    }
    if (opciones.bAyuda) {
        EscribirTexto(stdout, tabla.Ayuda());
        return 0;
    }
    std::string sContenido;
    if (!LeerArchivo(opciones.sEntrada, sContenido)) {
        EscribirFormato(stderr, "ERROR: No se pudo leer %s\n", opciones.sEntrada.c_str());
        return 1;
    }
    CRedNeuronal red;
    std::string sEscapado;
    if (!TextoCanonico(sContenido, opciones.bPlano, red, sEscapado)) {
        EscribirFormato(stderr,
                        "ERROR: %s no contiene una red neuronal v"
                        "\xE1"
                        "lida\n",
                        opciones.sEntrada.c_str());
        return 1;
    }
    if (opciones.bFuente && !RedApropiadaParaBot(red, kEntradasBot)) {
        EscribirFormato(stderr,
                        "ERROR: La red de %s no sirve al robot: necesita como mucho %u entradas, "
                        "el sesgo tras ellas y al menos %u salidas\n",
                        opciones.sEntrada.c_str(), kEntradasBot, kNumSalidasBot);
        return 1;
    }
    const std::string sTexto = opciones.bFuente ? GenerarFuenteRedIntegrada(sEscapado) : GenerarLiteralRed(sEscapado);
    if (opciones.sSalida.empty()) {
        std::cout << sTexto;
        std::cout.flush();
        return std::cout ? 0 : 1;
    }
    if (!EscribirArchivoEntero(opciones.sSalida, sTexto, sError)) {
        EscribirFormato(stderr, "ERROR: No se pudo escribir %s: %s\n", opciones.sSalida.c_str(), sError.c_str());
        return 1;
    }
    return 0;
}
