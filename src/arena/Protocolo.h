#ifndef ARENA_PROTOCOLO_H
#define ARENA_PROTOCOLO_H

#include <cstddef>
#include <string>
#include <vector>

// The arena's protocol, written down once: the messages it sends a robot,
// the commands a robot sends it (names and argument counts), the object
// kinds and rotating parts they number, and the options a robot may ask for.
// The simulated arena composes and reads its lines from these tables, and so
// does the controller that runs a robot program.

// Object kinds as the radar and "Collision" number them.
enum TObjetoArena {
    ObjetoArena_Robot = 0,
    ObjetoArena_Disparo = 1,
    ObjetoArena_Pared = 2,
    ObjetoArena_Galleta = 3,
    ObjetoArena_Mina = 4
};

// Part bits of "Rotate".
enum TParte { Parte_Cuerpo = 1, Parte_Canyon = 2, Parte_Radar = 4 };

// Arena to robot.
enum TMensajeArena {
    MensajeArena_Initialize = 0,
    MensajeArena_YourName,
    MensajeArena_YourColour,
    MensajeArena_GameOption,
    MensajeArena_GameStarts,
    MensajeArena_Radar,
    MensajeArena_Info,
    MensajeArena_Coordinates,
    MensajeArena_RobotInfo,
    MensajeArena_RotationReached,
    MensajeArena_Energy,
    MensajeArena_RobotsLeft,
    MensajeArena_Collision,
    MensajeArena_Warning,
    MensajeArena_Dead,
    MensajeArena_GameFinishes,
    MensajeArena_ExitRobot,
    kNumMensajesArena
};

// Robot to arena. "Break" is an old spelling of "Brake", still accepted.
enum TComandoRobot {
    ComandoRobot_RobotOption = 0,
    ComandoRobot_Name,
    ComandoRobot_Colour,
    ComandoRobot_Rotate,
    ComandoRobot_RotateTo,
    ComandoRobot_RotateAmount,
    ComandoRobot_Sweep,
    ComandoRobot_Accelerate,
    ComandoRobot_Brake,
    ComandoRobot_Break,
    ComandoRobot_Shoot,
    ComandoRobot_Print,
    ComandoRobot_Debug,
    ComandoRobot_DebugLine,
    ComandoRobot_DebugCircle,
    kNumComandosRobot
};

// What a robot asks for with "RobotOption option value".
enum TOpcionRobot {
    OpcionRobot_EnviarSenyal = 0,             // send the signal (value 0/1)
    OpcionRobot_EnviarRotacionAlcanzada = 1,  // "RotationReached" messages (0, 1, 2)
    OpcionRobot_Senyal = 2,                   // the signal to send when messages wait (0 = none)
    OpcionRobot_NoBloqueante = 3              // its input does not block (0/1)
};

// A message's name and its arguments, one letter each: 'd' an integer,
// 'g' a real, 'x' a hexadecimal number, 't' text to the end of the line.
struct SFormaMensaje {
    const char* szNombre;
    const char* szArgumentos;
};

// A command's name and how many words follow it.
struct SFormaLinea {
    const char* szNombre;
    int nArgumentos;  // -1: the rest of the line is one text
};

extern const SFormaMensaje kMensajesArena[kNumMensajesArena];
extern const SFormaLinea kComandosRobot[kNumComandosRobot];

const char* NombreMensaje(TMensajeArena eMensaje);

// Appends the line of a message and its end of line to sSalida: the name,
// then the first values of pdValores (nValores of them), one per letter of
// the message's arguments, integers written whole and reals as %g. False,
// and nothing appended, for a message with a text or hexadecimal argument
// or one that takes more than nValores values.
bool AnyadirMensaje(std::string& sSalida, TMensajeArena eMensaje, const double* pdValores, int nValores);

// The command named by the n characters at p.
bool BuscarComandoRobot(const char* p, std::size_t n, TComandoRobot& eComando);

// Splits a command line into its kind and words. False for a line that is
// not a command of the table with its number of arguments: such a line is
// ignored as a whole.
bool LeerComandoRobot(const std::string& sLinea, TComandoRobot& eComando, std::vector<std::string>& vArgumentos);

#endif
