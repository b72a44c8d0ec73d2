// entrenar: evolves networks with the NEAT library (the robot's network in a
// simulated arena, or XOR), plays networks against the arena's rivals and
// plays tournaments in the real arena.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "ComandoPolos.h"
#include "ComandoXor.h"
#include "Comun/TablaOpciones.h"
#include "Comun/TextoLocal.h"
#include "EntrenamientoRobot.h"
#include "Jugar.h"
#include "Opciones.h"
#include "Torneo.h"
#ifdef ENTRENAR_CON_MPI
#include "ClusterMPI.h"
#include "RobotMPI.h"
#endif

namespace {

const int kSalidaUso = 2;
const int kSalidaFallo = 1;

int Fallo(const std::string& sError, int nCodigo)
{
    EscribirFormato(stderr, "ERROR: %s\n", sError.c_str());
    return nCodigo;
}

// Bad use: the error, then the command's usage.
int FalloUso(const std::string& sError, const std::string& sAyuda)
{
    EscribirFormato(stderr, "ERROR: %s\n\n", sError.c_str());
    EscribirTexto(stderr, sAyuda);
    return kSalidaUso;
}

int Ayuda(const std::string& sAyuda)
{
    EscribirTexto(stdout, sAyuda);
    return 0;
}

int OrdenRobot(int argc, char** argv)
{
    // A file-size limit then fails the write that crosses it, which the run
    // reports and survives like a full disk, instead of ending the process.
    std::signal(SIGXFSZ, SIG_IGN);
#ifdef ENTRENAR_CON_MPI
    if (CClusterMPI::LanzadoPorMPI())
        return EntrenarRobotMPI(argc, argv);
#endif
    SOpcionesRobot opciones;
    std::string sError;
    if (!LeerOpcionesRobot(argc, argv, 2, opciones, sError))
        return FalloUso(sError, AyudaRobot());
    if (opciones.bAyuda)
        return Ayuda(AyudaRobot());
    CEntrenamientoRobot entrenamiento;
    if (!entrenamiento.Ejecutar(opciones, sError))
        return Fallo(sError, kSalidaFallo);
    ImprimirFinRobot(entrenamiento, opciones);
    return 0;
}

int OrdenXor(int argc, char** argv)
{
    SOpcionesXor opciones;
    std::string sError;
    if (!LeerOpcionesXor(argc, argv, 2, opciones, sError))
        return FalloUso(sError, AyudaXor());
    if (opciones.bAyuda)
        return Ayuda(AyudaXor());
    return ComandoXor(opciones, sError) ? 0 : Fallo(sError, kSalidaFallo);
}

int OrdenPolos(int argc, char** argv)
{
    SOpcionesPolos opciones;
    std::string sError;
    if (!LeerOpcionesPolos(argc, argv, 2, opciones, sError))
        return FalloUso(sError, AyudaPolos());
    if (opciones.bAyuda)
        return Ayuda(AyudaPolos());
    return ComandoPolos(opciones, sError) ? 0 : Fallo(sError, kSalidaFallo);
}

int OrdenJugar(int argc, char** argv)
{
    SOpcionesJugar opciones;
    std::string sError;
    if (!LeerOpcionesJugar(argc, argv, 2, opciones, sError))
        return FalloUso(sError, AyudaJugar());
    if (opciones.bAyuda)
        return Ayuda(AyudaJugar());
    return ComandoJugar(opciones, sError) ? 0 : Fallo(sError, kSalidaFallo);
}

int OrdenTorneo(int argc, char** argv)
{
    SOpcionesTorneo opciones;
    std::string sError;
    if (!LeerOpcionesTorneo(argc, argv, 2, opciones, sError))
        return FalloUso(sError, AyudaTorneo());
    if (opciones.bAyuda)
        return Ayuda(AyudaTorneo());
    return ComandoTorneo(opciones, sError) ? 0 : Fallo(sError, kSalidaFallo);
}

// The commands: a new one adds its line here.
struct SOrden {
    const char* szNombre;
    const char* szDescripcion;
    int (*fEjecutar)(int argc, char** argv);
    std::string (*fAyuda)();
};

const SOrden kOrdenes[] = {
    {"robot", "evoluciona la red del robot en la arena simulada", OrdenRobot, AyudaRobot},
    {"xor", "evoluciona redes para el XOR", OrdenXor, AyudaXor},
    {"polos", "evoluciona redes que equilibran polos sobre un carro", OrdenPolos, AyudaPolos},
    {"jugar", "juega partidas de una red y muestra el marcador", OrdenJugar, AyudaJugar},
    {"torneo", "juega torneos en la arena real instalada", OrdenTorneo, AyudaTorneo},
};

const SOrden* BuscarOrden(const std::string& sNombre)
{
    for (const SOrden& orden : kOrdenes)
        if (sNombre == orden.szNombre)
            return &orden;
    return nullptr;
}

std::string AyudaGeneral()
{
    std::string s =
        "Uso: entrenar <orden> [opciones]\n\n"
        "\xD3"
        "rdenes:\n";
    for (const SOrden& orden : kOrdenes)
        s += "  " + std::string(orden.szNombre) + std::string(8 - std::strlen(orden.szNombre), ' ') +
             orden.szDescripcion + "\n";
    s += "\nentrenar <orden> --help (o -h, o ayuda) muestra las opciones de cada orden,\n"
         "con su valor por omisi"
         "\xF3"
         "n y su rango.\n\nEjemplo:\n  entrenar robot --generaciones 10 --salida prueba\n";
    return s;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string sOrden = argc > 1 ? argv[1] : "";
    if (const SOrden* pOrden = BuscarOrden(sOrden))
        return pOrden->fEjecutar(argc, argv);
    if (PideAyuda(sOrden)) {
        // "entrenar ayuda jugar" is the usage of that command.
        const SOrden* pSobre = argc > 2 ? BuscarOrden(argv[2]) : nullptr;
        return Ayuda(pSobre ? pSobre->fAyuda() : AyudaGeneral());
    }
    if (sOrden.empty())
        return FalloUso("Falta la orden", AyudaGeneral());
    return FalloUso("Orden desconocida: " + sOrden, AyudaGeneral());
}
