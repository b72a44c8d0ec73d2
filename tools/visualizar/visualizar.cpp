// visualizar: pictures of a training run or of one network.
//   visualizar CARPETA   report of a run folder (informe.html and the rest)
//   visualizar RED       diagram of a network file (DOT and SVG)
#include <cstdio>
#include <cstring>
#include <string>

#include "Comun/TextoLocal.h"
#include "Informe.h"
#include "UtilVisual.h"

namespace {

const char* const kUso =
    "Uso: visualizar [opciones] CARPETA|RED\n"
    "  CARPETA  carpeta de una ejecuci"
    "\xF3"
    "n: escribe en ella informe.html, red.dot, red.svg\n"
    "           y, si est"
    "\xE1"
    "n instalados, red_graphviz.svg y las gr"
    "\xE1"
    "ficas de gnuplot\n"
    "  RED      archivo con una red (texto de red, tal cual o dentro de un fuente):\n"
    "           escribe BASE.dot, BASE.svg y, con graphviz, BASE_graphviz.svg\n"
    "Opciones:\n"
    "  -s, --salida BASE  base de los archivos de una red (por omisi"
    "\xF3"
    "n, RED sin extensi"
    "\xF3"
    "n)\n"
    "      --sin-graphviz no llama a neato\n"
    "      --sin-gnuplot  no llama a gnuplot\n"
    "  -h, --ayuda        muestra esta ayuda\n";

struct SArgumentos {
    std::string sEntrada;
    std::string sSalida;
    SOpcionesInforme opciones;
    bool bAyuda;
    SArgumentos() : bAyuda(false) {}
};

bool LeerArgumentos(int argc, char** argv, SArgumentos& args, std::string& sError)
{
    for (int i = 1; i < argc; ++i) {
        const std::string s = argv[i];
        if (s == "-h" || s == "--ayuda") {
            args.bAyuda = true;
        } else if (s == "-s" || s == "--salida") {
            if (i + 1 >= argc) {
                sError = "falta el valor de " + s;
                return false;
            }
            args.sSalida = argv[++i];
        } else if (s == "--sin-graphviz") {
            args.opciones.bUsarGraphviz = false;
        } else if (s == "--sin-gnuplot") {
            args.opciones.bUsarGnuplot = false;
        } else if (!s.empty() && s[0] == '-') {
            sError =
                "opci"
                "\xF3"
                "n desconocida: " +
                s;
            return false;
        } else if (args.sEntrada.empty()) {
            args.sEntrada = s;
        } else {
            sError = "sobra el argumento " + s;
            return false;
        }
    }
    if (!args.bAyuda && args.sEntrada.empty()) {
        sError = "falta la carpeta o la red";
        return false;
    }
    return true;
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
    std::string sError;
    if (!LeerArgumentos(argc, argv, args, sError)) {
        EscribirFormato(stderr, "visualizar: %s\n%s", sError.c_str(), kUso);
        return 2;
    }
    if (args.bAyuda) {
        EscribirFormato(stdout, "%s", kUso);
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
