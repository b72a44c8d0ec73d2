#include "RobotMPI.h"

#include <cstdio>

#include "Archivos.h"
#include "ClusterMPI.h"
#include "Comun/TextoLocal.h"
#include "EntrenamientoRobot.h"
#include "PuntoControl.h"

namespace {

const int kSalidaUso = 2;
const int kSalidaFallo = 1;

std::string Momento(int nGeneracion)
{
    if (nGeneracion < 0)
        return "durante la elecci"
               "\xF3"
               "n de la red final";
    return "en la generaci"
           "\xF3"
           "n " +
           std::to_string(nGeneracion);
}

std::string ComoReanudar(const SOpcionesRobot& opciones)
{
    const std::string sPuntoControl = CarpetaPuntoControl(opciones.sSalida);
    // The first checkpoint may be written after this text was made.
    if (!ExisteCarpeta(sPuntoControl))
        return "Si existe " + sPuntoControl +
               ", contin"
               "\xFA"
               "e con --reanudar " +
               sPuntoControl +
               "; si no, la ejecuci"
               "\xF3"
               "n debe empezar de nuevo.\n";
    return "Lo guardado sigue en " + opciones.sSalida + "/; para continuar: --reanudar " + sPuntoControl + "\n";
}

int Trabajador(CClusterMPI& cluster, const SOpcionesRobot& opciones)
{
    std::string sError;
    if (!cluster.Atender(opciones.nHilos, sError)) {
        EscribirFormato(stderr, "ERROR: proceso %d: %s\n", cluster.GetRango(), sError.c_str());
        cluster.Abortar(kSalidaFallo);
    }
    cluster.Terminar();
    return 0;
}

int Principal(CClusterMPI& cluster, const SOpcionesRobot& opciones)
{
    bool bFalloMPI = false;
    CEntrenamientoRobot entrenamiento;
    entrenamiento.SetEvaluador([&](int nGeneracion, const std::vector<STrabajo>& vTrabajos,
                                   const SConfigEvaluacion& config, std::vector<SResultadoTrabajo>& vResultados,
                                   std::string& sError) {
        CClusterMPI::SetAvisoInterrupcion(AvisoInterrupcionMPI(nGeneracion, opciones));
        bFalloMPI = !cluster.Evaluar(nGeneracion, vTrabajos, config, opciones.nHilos, vResultados, sError);
        return !bFalloMPI;
    });
    std::string sError;
    if (!entrenamiento.Ejecutar(opciones, sError)) {
        EscribirFormato(stderr, "ERROR: %s\n", sError.c_str());
        if (bFalloMPI) {
            // A rank is lost: the job cannot end in order.
            EscribirTexto(stderr, ComoReanudar(opciones));
            std::fflush(stderr);
            cluster.Abortar(kSalidaFallo);
        }
        cluster.Terminar();
        return kSalidaFallo;
    }
    CClusterMPI::SetAvisoInterrupcion(std::string());
    cluster.Terminar();
    ImprimirFinRobot(entrenamiento, opciones);
    return 0;
}

}  // namespace

std::string AvisoInterrupcionMPI(int nGeneracion, const SOpcionesRobot& opciones)
{
    return "ERROR: el trabajo MPI se detuvo " + Momento(nGeneracion) +
           ": un proceso termin"
           "\xF3"
           " o el trabajo fue interrumpido.\n" +
           ComoReanudar(opciones);
}

int EntrenarRobotMPI(int argc, char** argv)
{
    CClusterMPI cluster;
    std::string sError;
    if (!cluster.Iniciar(&argc, &argv, sError)) {
        EscribirFormato(stderr, "ERROR: %s\n", sError.c_str());
        return kSalidaFallo;
    }
    SOpcionesRobot opciones;
    // Every rank reads the same options; only rank 0 speaks of them.
    const bool bLeidas = LeerOpcionesRobot(argc, argv, 2, opciones, sError);
    if (!bLeidas || opciones.bAyuda) {
        if (cluster.GetRango() == 0 && !bLeidas)
            EscribirFormato(stderr, "ERROR: %s\n\n%s", sError.c_str(), AyudaRobot().c_str());
        if (cluster.GetRango() == 0 && bLeidas)
            EscribirTexto(stdout, AyudaRobot());
        cluster.Terminar();
        return bLeidas ? 0 : kSalidaUso;
    }
    cluster.SetEspera(opciones.dEsperaMPI);
    if (cluster.GetRango() != 0)
        return Trabajador(cluster, opciones);
    return Principal(cluster, opciones);
}
