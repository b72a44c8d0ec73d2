#include "RobotEntrenado.h"

#include "CRTBot.h"

CRobotEntrenado::CRobotEntrenado(const std::string& sNombre, const std::string& sRed) : m_pBot(nullptr)
{
    m_pBot = new CRTBot(sNombre, sRed, m_entrada, m_salida, kEntradasRobot);
}

CRobotEntrenado::~CRobotEntrenado() { Limpiar(); }

void CRobotEntrenado::Limpiar()
{
    delete m_pBot;
    m_pBot = nullptr;
    m_entrada.str("");
    m_entrada.clear();
    m_salida.str("");
    m_salida.clear();
}

void CRobotEntrenado::Atender(const std::string& sMensajes, std::string& sComandos)
{
    if (!m_pBot)
        return;
    // What is waiting replaces what the last drain read to its end.
    m_entrada.str(sMensajes);
    m_entrada.clear();
    m_salida.str("");
    m_salida.clear();
    m_pBot->ProcesarMensajes();
    m_pBot->TomarDecisiones();
    sComandos += m_salida.str();
}

bool CRobotEntrenado::HaTerminado() const { return !m_pBot || m_pBot->HaTerminado(); }

bool ComprobarRedRobot(const std::string& sRed, const std::string& sOrigen, std::string& sError)
{
    // The checking readers: a damaged text is an error to report, not the
    // end of the process.
    CRedNeuronal red;
    std::string sPlano;
    if (!DecodificarTextoRed(sRed, sPlano) || !CargarTextoPlanoRed(sPlano, red)) {
        sError = sOrigen +
                 " no contiene una red neuronal v"
                 "\xE1"
                 "lida";
        return false;
    }
    if (!RedApropiadaParaBot(red, kEntradasRobot)) {
        sError = sOrigen + " no tiene una red que pueda llevar el robot (como mucho " + std::to_string(kEntradasRobot) +
                 " entradas, el sesgo tras ellas y al menos " + std::to_string(kSalidasRobot) + " salidas)";
        return false;
    }
    return true;
}
