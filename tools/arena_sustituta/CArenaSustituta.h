#ifndef CARENASUSTITUTA_H
#define CARENASUSTITUTA_H

#include <string>
#include <vector>

#include <sys/types.h>

// Stands in for the arena: starts a robot program the way the arena does
// (execl(path, path, NULL), pipes on stdin and stdout, stdin non-blocking),
// writes messages to it, signals it and reads its commands back. Every wait
// is bounded; the robot is always reaped.
class CArenaSustituta {
public:
    CArenaSustituta();
    ~CArenaSustituta();

    // Ends the robot if it still runs, reaps it and closes the pipes.
    void Limpiar();

    bool Iniciar(const std::string& sRuta);

    // Writes the text to the robot's input; false if it could not all be
    // written within nMsMax milliseconds.
    bool Enviar(const std::string& sTexto, int nMsMax = 1000);

    // Sends SIGUSR1, but only once the robot asked for signal 10.
    bool Senyalar();

    // Next line of the robot's output, without its newline; false if none
    // came within nMsMax milliseconds. "RobotOption 2 10" is noted.
    bool LeerLinea(std::string& sLinea, int nMsMax);

    // Every line that comes within nMs milliseconds.
    std::vector<std::string> LeerLineasDurante(int nMs);

    // Waits for the robot to end; false if it still runs after nMsMax
    // milliseconds. Its output meanwhile stays available to LeerLinea.
    bool EsperarFin(int& nEstado, int nMsMax);

    bool SenyalPedida() const { return m_bSenyalPedida; }
    pid_t GetPid() const { return m_nPid; }

private:
    CArenaSustituta(const CArenaSustituta&);
    CArenaSustituta& operator=(const CArenaSustituta&);

    bool LeerDisponible(int nMsMax);
    bool ExtraerLinea(std::string& sLinea);
    void CerrarDescriptores();

    pid_t m_nPid;
    bool m_bRecogido;
    int m_fdHaciaRobot;
    int m_fdDesdeRobot;
    std::string m_sPendiente;
    bool m_bSenyalPedida;
};

#endif
