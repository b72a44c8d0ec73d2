// entrenar: evolves networks with the NEAT library (the robot's network in a
// simulated arena, XOR or pole balancing) and plays networks against the arena's rivals.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "ComandoPolos.h"
#include "ComandoXor.h"
#include "Comun/TextoLocal.h"
#include "EntrenamientoRobot.h"
#include "Jugar.h"
#include "Opciones.h"
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
        return Fallo(sError, kSalidaUso);
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
        return Fallo(sError, kSalidaUso);
    return ComandoXor(opciones, sError) ? 0 : Fallo(sError, kSalidaFallo);
}

int OrdenPolos(int argc, char** argv)
{
    SOpcionesPolos opciones;
    std::string sError;
    if (!LeerOpcionesPolos(argc, argv, 2, opciones, sError))
        return Fallo(sError, kSalidaUso);
    return ComandoPolos(opciones, sError) ? 0 : Fallo(sError, kSalidaFallo);
}

int OrdenJugar(int argc, char** argv)
{
    SOpcionesJugar opciones;
    std::string sError;
    if (!LeerOpcionesJugar(argc, argv, 2, opciones, sError))
        return Fallo(sError, kSalidaUso);
    return ComandoJugar(opciones, sError) ? 0 : Fallo(sError, kSalidaFallo);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string sOrden = argc > 1 ? argv[1] : "";
    if (sOrden == "robot")
        return OrdenRobot(argc, argv);
    if (sOrden == "xor")
        return OrdenXor(argc, argv);
    if (sOrden == "polos")
        return OrdenPolos(argc, argv);
    if (sOrden == "jugar")
        return OrdenJugar(argc, argv);
    if (sOrden == "ayuda" || sOrden == "--ayuda" || sOrden == "-h" || sOrden == "--help") {
        EscribirTexto(stdout, TextoAyuda());
        return 0;
    }
    EscribirTexto(stderr, TextoAyuda());
    return sOrden.empty() ? kSalidaUso : Fallo("Orden desconocida: " + sOrden, kSalidaUso);
}
