#ifndef CRTBOT_H
#define CRTBOT_H

#include <iosfwd>
#include <string>

#include "NEAT/CRedNeuronal.h"
#include "NEAT/tipos.h"

// Parts of the robot that a "Rotate" command turns, numbered as the arena
// expects them.
enum TObjetoRotable { Objeto_Robot = 1, Objeto_Canyon = 2, Objeto_Radar = 4 };

// Numbers of the arena messages that the controller acts on, as they stand
// in the robot's protocol table.
enum TMensajeAtendido {
    Mensaje_Initialize = 0,
    Mensaje_Radar = 5,
    Mensaje_Info = 6,
    Mensaje_RobotInfo = 8,
    Mensaje_Energy = 10,
    Mensaje_ExitRobot = 16
};

// Turns a message name into its number in the protocol table, -1 if none.
typedef int (*TBuscarMensaje)(char* szNombre);

// Fewest network outputs that a decision reads.
const unsigned kNumSalidasBot = 5;

// The robot controller: a network fed from the arena's messages whose
// outputs become commands.
class CRTBot : public CRedNeuronal {
public:
    CRTBot(std::string strNombre, std::string strRed, std::istream& entrada, std::ostream& salida,
           unsigned int nNumEntradas);

    bool HaTerminado();
    void TerminarBot();

    // Reads every waiting message and acts on it; stops at the end of the
    // waiting input, at a failed read, or once "ExitRobot" was read.
    void ProcesarMensajes(TBuscarMensaje pfBuscar = BuscarMensajeAtendido);
    void TomarDecisiones();

    void Inicializar();
    void Radar();
    void Energy();
    void Info();
    void RobotInfo();

    void SetEntrada(unsigned int nEntrada, double dValor);

    void Girar(TObjetoRotable objeto, double dVelocidad);
    void Acelerar(double dAceleracion);
    void Frenar(double dFreno);
    void Disparar(double dEnergia);

    const TVecDoubles& GetEntradas() const { return m_vdEntradas; }
    const TVecDoubles& GetSalidasRed() const { return m_vdSalidasRed; }

    // Knows only the messages that the controller acts on: the others do
    // nothing anyway, so the drain behaves as with the full table.
    static int BuscarMensajeAtendido(char* szNombre);

private:
    CRTBot(const CRTBot&);
    CRTBot& operator=(const CRTBot&);

    bool LeerPalabra(std::string& sPalabra);
    void AtenderMensaje(int nMensaje);
    void Escribir(const std::string& sLinea);

    std::string m_strNombre;
    std::istream* m_pEntrada;
    std::ostream* m_pSalida;
    TVecDoubles m_vdEntradas;
    TVecDoubles m_vdSalidasRed;
    unsigned m_nNumEntradas;
    bool m_bTerminado;
};

// Whether a network can drive the robot: at most nNumEntradas inputs, the
// bias right after them, and at least kNumSalidasBot outputs.
bool RedApropiadaParaBot(const CRedNeuronal& red, unsigned nNumEntradas);

#endif
