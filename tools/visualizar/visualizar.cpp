// visualizar: pictures of a training run or of one network.
//   visualizar CARPETA   report of a run folder (informe.html and the rest)
//   visualizar RED       diagram of a network file (DOT and SVG)
#include <cstdio>
#include <cstring>
#include <string>

#include "Comun/TablaOpciones.h"
#include "Comun/TextoLocal.h"
#include "Informe.h"
#include "UtilVisual.h"

namespace {

struct SArgumentos {
    std::string sEntrada;
    std::string sSalida;
    SOpcionesInforme opciones;
    bool bAyuda = false;
};

void TablaOpciones(CTablaOpciones& t, SArgumentos& args)
{
    t.Posicional("CARPETA|RED", args.sEntrada, true,
                 "carpeta de una ejecuci"
                 "\xF3"
                 "n (escribe en ella informe.html, red.dot, red.svg y, si est"
                 "\xE1"
                 "n instalados, red_graphviz.svg y las gr"
                 "\xE1"
                 "ficas de gnuplot), o archivo con una red (texto de red, tal cual o dentro de un fuente: "
                 "escribe BASE.dot, BASE.svg y, con graphviz, BASE_graphviz.svg)");
    t.Texto("-s, --salida", "BASE", args.sSalida, "base de los archivos de una red",
            "RED sin extensi"
            "\xF3"
            "n");
    t.Bandera("--sin-graphviz", args.opciones.bUsarGraphviz, false, "no llama a neato");
    t.Bandera("--sin-gnuplot", args.opciones.bUsarGnuplot, false, "no llama a gnuplot");
    t.Ejemplo("visualizar salida_robot");
    t.Ejemplo("visualizar --salida red salida_robot/mejor_red.txt");
}

std::string BasePorOmision(const std::string& sRuta)
{
    const size_t nBarra = sRuta.find_last_of('/');
    const size_t nPunto = sRuta.find_last_of('.');
    if (nPunto != std::string::npos && (nBarra == std::string::npos || nPunto > nBarra + 1))
        return sRuta.substr(0, nPunto);
    return sRuta;
}

void Informar(const SResultadoInforme& resultado)
{
    for (const std::string& s : resultado.vEscritos)
        EscribirFormato(stdout, "%s\n", s.c_str());
    for (const std::string& s : resultado.vAvisos)
        EscribirFormato(stderr, "visualizar: aviso: %s\n", s.c_str());
}

}  // namespace

int main(int argc, char** argv)
{
    SArgumentos args;
    CTablaOpciones tabla("visualizar",
                         "Dibuja una ejecuci"
                         "\xF3"
                         "n de entrenamiento (informe.html) o una red (DOT y SVG).");
    TablaOpciones(tabla, args);
    std::string sError;
    if (!tabla.Leer(argc, argv, 1, args.bAyuda, sError)) {
        EscribirFormato(stderr, "visualizar: %s\n\n%s", sError.c_str(), tabla.Ayuda().c_str());
        return 2;
    }
    if (args.bAyuda) {
        EscribirTexto(stdout, tabla.Ayuda());
        return 0;
    }
    SResultadoInforme resultado;
    bool bBien;
    if (EsCarpeta(args.sEntrada)) {
        bBien = GenerarInforme(args.sEntrada, args.opciones, resultado, sError);
    } else if (ExisteArchivo(args.sEntrada)) {
        const std::string sBase = args.sSalida.empty() ? BasePorOmision(args.sEntrada) : args.sSalida;
        if (sBase + ".dot" == args.sEntrada || sBase + ".svg" == args.sEntrada) {
            EscribirFormato(stderr,
                            "visualizar: la salida sobrescribir"
                            "\xED"
                            "a %s; use --salida\n",
                            args.sEntrada.c_str());
            return 2;
        }
        bBien = GenerarDiagramasRed(args.sEntrada, sBase, args.opciones.bUsarGraphviz, resultado, sError);
    } else {
        bBien = false;
        sError = "no existe " + args.sEntrada;
    }
    Informar(resultado);
    if (!bBien) {
        EscribirFormato(stderr, "visualizar: %s\n", sError.c_str());
        return 1;
    }
    return 0;
}
