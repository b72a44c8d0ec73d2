#ifndef ARENA_CPROGRAMAROBOT_H
#define ARENA_CPROGRAMAROBOT_H

#include <string>
#include <vector>

#include <sys/types.h>

#include "CPartida.h"

// A robot program driven the way the arena drives it: started with
// execl(path, path, NULL), pipes on its standard input and output, its
// "RobotOption" lines honoured (the signal it asks for is sent after each
// update's messages; its input is made non-blocking when it asks), every
// wait bounded. A program that hangs, dies or writes garbage never stalls
// the match: its lines that are not commands are dropped, a program that
// stops answering keeps its last commands, and one that is gone dies in
// the game. The program is always reaped.
//
// In a match: Controlador() gives the SControlador to hand to
// CPartida::AddRobot; each update's messages go out, then the program's
// answers are collected for at most the answer wait.
class CProgramaRobot {
public:
    CProgramaRobot();
    ~CProgramaRobot();
    CProgramaRobot(const CProgramaRobot&) = delete;
    CProgramaRobot& operator=(const CProgramaRobot&) = delete;

    // Ends the program if it still runs, reaps it and closes the pipes.
    void Limpiar();

    // Starts the program and reads its start-up lines (options, name) for
    // at most nMsArranque milliseconds, as the arena gives robots time to
    // send them. False with the reason when it cannot be started.
    bool Iniciar(const std::string& sRuta, std::string& sError, int nMsArranque = 500);

    // ---- the match
    SControlador Controlador();
    // One update: writes sMensajes, signals, appends the commands it
    // answers to sComandos.
    void Atender(const std::string& sMensajes, std::string& sComandos);
    // False once the program is gone (ended, killed, closed its output).
    bool EnMarcha();
    // Longest wait for the first answer of an update, and the quiet time
    // that ends it, in milliseconds.
    void SetEsperas(int nMsRespuesta, int nMsSilencio);
    void SetEsperaRespuesta(int nMsRespuesta) { m_nMsRespuesta = nMsRespuesta; }

    // ---- raw access, for tests of the protocol
    // Writes the text to the program's input; false if it could not all be
    // written within nMsMax milliseconds.
    bool Enviar(const std::string& sTexto, int nMsMax = 1000);
    // Sends the signal the program asked for; false when it asked for none.
    bool Senyalar();
    // Next line of the program's output, without its newline; false if none
    // came within nMsMax milliseconds. "RobotOption" lines are honoured.
    bool LeerLinea(std::string& sLinea, int nMsMax);
    // Every line that comes within nMs milliseconds.
    std::vector<std::string> LeerLineasDurante(int nMs);
    // Waits for the program to end; false if it still runs after nMsMax
    // milliseconds. Its output meanwhile stays available to LeerLinea.
    bool EsperarFin(int& nEstado, int nMsMax);

    bool SenyalPedida() const { return m_nSenyal > 0; }
    int GetSenyal() const { return m_nSenyal; }
    bool GetNoBloqueante() const { return m_bNoBloqueante; }
    const std::string& GetNombre() const { return m_sNombre; }
    pid_t GetPid() const { return m_nPid; }

private:
    void RecogerComandos(int nMsPrimera, int nMsMax, std::string& sComandos);
    bool LeerDisponible(int nMsMax);
    bool ExtraerLinea(std::string& sLinea);
    void AplicarOpcion(const std::vector<std::string>& vArgumentos);
    void CerrarDescriptores();

    pid_t m_nPid;
    bool m_bRecogido;
    int m_fdHaciaRobot;
    int m_fdEntradaRobot;  // the program's end of its input, kept to set its blocking mode
    int m_fdDesdeRobot;
    std::string m_sPendiente;
    int m_nSenyal;
    bool m_bNoBloqueante;
    std::string m_sNombre;
    int m_nMsRespuesta;
    int m_nMsSilencio;
};

#endif
