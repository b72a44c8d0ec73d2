// grabar_partida SALIDA [SEGUNDOS] [SEMILLA]: plays one game of the robot's
// built-in network against the scripted opponents in the simulated arena and
// writes its recording, for the report's tests and their example run.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "CGrabacion.h"
#include "CPartida.h"
#include "RobotTexto.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "Uso: grabar_partida SALIDA [SEGUNDOS] [SEMILLA]\n");
        return 2;
    }
    SConfigPartida config;
    config.dTiempoMaximo = argc > 2 ? std::atof(argv[2]) : 20.0;
    config.nSemilla = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 3;
    config.bGrabar = true;
    CRobotTexto robot;
    CPartida partida;
    if (!partida.Configurar(config))
        return 1;
    SControlador red;
    red.eTipo = Controlador_Texto;
    red.fTexto = [&robot](const std::string& sMensajes, std::string& sComandos) { robot.Turno(sMensajes, sComandos); };
    SControlador girador, buscador, quieto;
    girador.eTipo = Controlador_Giratorio;
    buscador.eTipo = Controlador_Buscador;
    partida.AddRobot("red", red);
    partida.AddRobot("girador", girador);
    partida.AddRobot("buscador", buscador);
    partida.AddRobot("quieto", quieto);
    if (!partida.Jugar() || !partida.GetGrabacion() || !partida.GetGrabacion()->GuardarJSON(argv[1]))
        return 1;
    std::printf("%zu cuadros\n", partida.GetGrabacion()->GetNumCuadros());
    return 0;
}
