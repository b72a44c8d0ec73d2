#include "RobotTexto.h"

#include <sstream>

#include "CRTBot.h"
#include "RedIntegrada.h"

struct CRobotTexto::SFlujos {
    std::istringstream entrada;
    std::ostringstream salida;
};

CRobotTexto::CRobotTexto() : m_pFlujos(new SFlujos), m_pBot(nullptr)
{
    m_pBot = new CRTBot("red", kRedIntegrada, m_pFlujos->entrada, m_pFlujos->salida, 6);
}

CRobotTexto::~CRobotTexto() { Limpiar(); }

void CRobotTexto::Limpiar()
{
    delete m_pBot;
    m_pBot = nullptr;
    delete m_pFlujos;
    m_pFlujos = nullptr;
}

void CRobotTexto::Turno(const std::string& sMensajes, std::string& sComandos)
{
    if (!m_pBot)
        return;
    m_pFlujos->entrada.clear();
    m_pFlujos->entrada.str(sMensajes);
    m_pBot->ProcesarMensajes();
    m_pBot->TomarDecisiones();
    sComandos += m_pFlujos->salida.str();
    m_pFlujos->salida.str("");
}
