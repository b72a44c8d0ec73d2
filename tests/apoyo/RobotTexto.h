#ifndef ROBOTTEXTO_H
#define ROBOTTEXTO_H

#include <string>

class CRTBot;

// The robot program's controller with its built-in network, fed through
// string streams. Kept apart from the arena's headers, whose names clash
// with the controller's.
class CRobotTexto {
public:
    CRobotTexto();
    ~CRobotTexto();

    void Limpiar();
    void Turno(const std::string& sMensajes, std::string& sComandos);

private:
    CRobotTexto(const CRobotTexto&);
    CRobotTexto& operator=(const CRobotTexto&);

    struct SFlujos;
    SFlujos* m_pFlujos;
    CRTBot* m_pBot;
};

#endif
