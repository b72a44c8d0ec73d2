#ifndef ROBOTENTRENADO_H
#define ROBOTENTRENADO_H

#include <sstream>
#include <string>

class CRTBot;

// Number of input slots the robot program feeds its network.
const unsigned kEntradasRobot = 6;
const unsigned kSalidasRobot = 5;

// The arena's headers and the controller's both name an Objeto_Robot, so
// this header keeps the controller's out of the simulation's sources.

// A robot of the simulated arena driven by the very controller that the
// robot program runs: each update's messages go into its input stream, then
// one drain and one decision, and the command lines it writes go back.
class CRobotEntrenado {
public:
    // sRed: a network in the text form, escaped or not. A text that does not
    // decode, or a network that cannot drive the robot, ends the process as
    // it would end the robot program.
    CRobotEntrenado(const std::string& sNombre, const std::string& sRed);
    ~CRobotEntrenado();

    void Limpiar();

    // One update: messages in, commands appended to sComandos.
    void Atender(const std::string& sMensajes, std::string& sComandos);

    bool HaTerminado() const;

private:
    CRobotEntrenado(const CRobotEntrenado&);
    CRobotEntrenado& operator=(const CRobotEntrenado&);

    std::stringstream m_entrada;
    std::stringstream m_salida;
    CRTBot* m_pBot;
};

// Checks that a network text decodes to a network that can drive the robot
// (sOrigen names it in the message).
bool ComprobarRedRobot(const std::string& sRed, const std::string& sOrigen, std::string& sError);

#endif
