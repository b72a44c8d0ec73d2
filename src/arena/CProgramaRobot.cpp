#include "CProgramaRobot.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

typedef std::chrono::steady_clock TReloj;

const std::size_t kMaxLecturaDeUnaVez = 1 << 16;
const std::size_t kMaxLinea = 1 << 16;
// More than any robot sends in one update; what is left waits for the next.
const int kMaxLineasPorActualizacion = 1000;

int MsRestantes(TReloj::time_point tLimite)
{
    const auto nResto = std::chrono::duration_cast<std::chrono::milliseconds>(tLimite - TReloj::now()).count();
    return nResto > 0 ? static_cast<int>(nResto) : 0;
}

bool PonerNoBloqueante(int fd)
{
    const int nFlags = fcntl(fd, F_GETFL);
    return nFlags != -1 && fcntl(fd, F_SETFL, nFlags | O_NONBLOCK) != -1;
}

// In the child, between fork and exec: async-signal-safe calls only.
void EjecutarRobot(const char* szRuta, int fdEntrada, int fdSalida)
{
    if (dup2(fdEntrada, STDIN_FILENO) == -1 || dup2(fdSalida, STDOUT_FILENO) == -1)
        _exit(127);
    signal(SIGPIPE, SIG_DFL);
    sigset_t vacio;
    sigemptyset(&vacio);
    sigprocmask(SIG_SETMASK, &vacio, nullptr);
    execl(szRuta, szRuta, static_cast<char*>(nullptr));
    _exit(127);
}

}  // namespace

CProgramaRobot::CProgramaRobot()
    : m_nPid(-1),
      m_bRecogido(true),
      m_fdHaciaRobot(-1),
      m_fdEntradaRobot(-1),
      m_fdDesdeRobot(-1),
      m_nSenyal(0),
      m_bNoBloqueante(false),
      m_nMsRespuesta(50),
      m_nMsSilencio(2)
{}

CProgramaRobot::~CProgramaRobot() { Limpiar(); }

void CProgramaRobot::CerrarDescriptores()
{
    if (m_fdHaciaRobot != -1)
        close(m_fdHaciaRobot);
    if (m_fdDesdeRobot != -1)
        close(m_fdDesdeRobot);
    if (m_fdEntradaRobot != -1)
        close(m_fdEntradaRobot);
    m_fdHaciaRobot = -1;
    m_fdDesdeRobot = -1;
    m_fdEntradaRobot = -1;
}

void CProgramaRobot::Limpiar()
{
    CerrarDescriptores();
    if (m_nPid > 0 && !m_bRecogido) {
        kill(m_nPid, SIGKILL);
        while (waitpid(m_nPid, nullptr, 0) == -1 && errno == EINTR) {
        }
    }
    m_nPid = -1;
    m_bRecogido = true;
    m_sPendiente.clear();
    m_nSenyal = 0;
    m_bNoBloqueante = false;
    m_sNombre.clear();
}

bool CProgramaRobot::Iniciar(const std::string& sRuta, std::string& sError, int nMsArranque)
{
    Limpiar();
    if (access(sRuta.c_str(), X_OK) != 0) {
        sError = "No se puede ejecutar el robot " + sRuta + ": " + std::strerror(errno);
        return false;
    }
    // A robot that dies must not take the arena with it.
    signal(SIGPIPE, SIG_IGN);
    int vHaciaRobot[2], vDesdeRobot[2];
    const bool bTuberias = pipe2(vHaciaRobot, O_CLOEXEC) == 0;
    if (!bTuberias || pipe2(vDesdeRobot, O_CLOEXEC) != 0) {
        if (bTuberias) {
            close(vHaciaRobot[0]);
            close(vHaciaRobot[1]);
        }
        sError = std::string("No se pudieron crear las tuber") + "\xED" + "as del robot";
        return false;
    }
    // The arena's ends never block; the robot's input blocks until it asks
    // otherwise.
    const bool bListo = PonerNoBloqueante(vHaciaRobot[1]) && PonerNoBloqueante(vDesdeRobot[0]);
    const pid_t nPid = bListo ? fork() : -1;
    if (nPid == 0)
        EjecutarRobot(sRuta.c_str(), vHaciaRobot[0], vDesdeRobot[1]);
    close(vDesdeRobot[1]);
    m_fdEntradaRobot = vHaciaRobot[0];
    m_fdHaciaRobot = vHaciaRobot[1];
    m_fdDesdeRobot = vDesdeRobot[0];
    if (nPid < 0) {
        CerrarDescriptores();
        sError = "No se pudo arrancar el robot " + sRuta;
        return false;
    }
    m_nPid = nPid;
    m_bRecogido = false;
    m_sNombre = sRuta;
    // Start-up: the options and the name it sends before the first message.
    // Read here for their options, and left to be read again.
    const TReloj::time_point tLimite = TReloj::now() + std::chrono::milliseconds(nMsArranque);
    std::string sLinea, sLeidas;
    int nEspera = nMsArranque;
    for (int nLineas = 0; nLineas < kMaxLineasPorActualizacion; ++nLineas) {
        const int nResto = MsRestantes(tLimite);
        if ((nResto == 0 && nLineas > 0) || !LeerLinea(sLinea, std::min(nEspera, nResto)))
            break;
        sLeidas += sLinea + "\n";
        nEspera = m_nMsSilencio;
    }
    m_sPendiente.insert(0, sLeidas);
    return true;
}

bool CProgramaRobot::Enviar(const std::string& sTexto, int nMsMax)
{
    const TReloj::time_point tLimite = TReloj::now() + std::chrono::milliseconds(nMsMax);
    size_t nEscrito = 0;
    while (nEscrito < sTexto.size() && m_fdHaciaRobot != -1) {
        const ssize_t n = write(m_fdHaciaRobot, sTexto.data() + nEscrito, sTexto.size() - nEscrito);
        if (n > 0) {
            nEscrito += static_cast<size_t>(n);
            continue;
        }
        if (n == -1 && errno != EAGAIN && errno != EINTR)
            return false;
        pollfd pfd = {m_fdHaciaRobot, POLLOUT, 0};
        const int nResto = MsRestantes(tLimite);
        if (nResto == 0 || poll(&pfd, 1, nResto) <= 0)
            return false;
    }
    return nEscrito == sTexto.size();
}

bool CProgramaRobot::Senyalar()
{
    if (m_nSenyal <= 0 || m_nPid <= 0 || m_bRecogido)
        return false;
    return kill(m_nPid, m_nSenyal) == 0;
}

void CProgramaRobot::AplicarOpcion(const std::vector<std::string>& vArgumentos)
{
    char* pFin = nullptr;
    const long nOpcion = std::strtol(vArgumentos[0].c_str(), &pFin, 10);
    if (*pFin != '\0')
        return;
    const long nValor = std::strtol(vArgumentos[1].c_str(), &pFin, 10);
    if (*pFin != '\0')
        return;
    if (nOpcion == OpcionRobot_Senyal && nValor >= 0 && nValor < NSIG) {
        m_nSenyal = static_cast<int>(nValor);
    } else if (nOpcion == OpcionRobot_NoBloqueante && m_fdEntradaRobot != -1) {
        m_bNoBloqueante = nValor != 0;
        const int nFlags = fcntl(m_fdEntradaRobot, F_GETFL);
        if (nFlags != -1)
            fcntl(m_fdEntradaRobot, F_SETFL, m_bNoBloqueante ? (nFlags | O_NONBLOCK) : (nFlags & ~O_NONBLOCK));
    }
}

void CProgramaRobot::SetEsperas(int nMsRespuesta, int nMsSilencio)
{
    m_nMsRespuesta = nMsRespuesta;
    m_nMsSilencio = nMsSilencio;
}

bool CProgramaRobot::EnMarcha()
{
    if (m_nPid <= 0 || m_bRecogido)
        return false;
    int nEstado = 0;
    if (waitpid(m_nPid, &nEstado, WNOHANG) == m_nPid) {
        m_bRecogido = true;
        return false;
    }
    return true;
}

SControlador CProgramaRobot::Controlador()
{
    SControlador controlador;
    controlador.eTipo = Controlador_Texto;
    controlador.fTexto = [this](const std::string& sMensajes, std::string& sComandos) {
        Atender(sMensajes, sComandos);
    };
    controlador.fActivo = [this]() { return EnMarcha(); };
    return controlador;
}

// Commands that came since the last update count for this one.
void CProgramaRobot::RecogerComandos(int nMsPrimera, int nMsMax, std::string& sComandos)
{
    // Until it goes quiet, and never past nMsMax: a program that writes
    // without end does not hold the match.
    const TReloj::time_point tLimite = TReloj::now() + std::chrono::milliseconds(nMsMax);
    std::string sLinea;
    int nEspera = nMsPrimera;
    for (int nLineas = 0; nLineas < kMaxLineasPorActualizacion; ++nLineas) {
        const int nResto = MsRestantes(tLimite);
        if ((nResto == 0 && nLineas > 0) || !LeerLinea(sLinea, std::min(nEspera, nResto)))
            break;
        nEspera = m_nMsSilencio;
        TComandoRobot eComando;
        std::vector<std::string> vArgumentos;
        if (!LeerComandoRobot(sLinea, eComando, vArgumentos) || eComando == ComandoRobot_RobotOption)
            continue;
        sComandos += sLinea;
        sComandos += '\n';
    }
}

void CProgramaRobot::Atender(const std::string& sMensajes, std::string& sComandos)
{
    if (!EnMarcha())
        return;
    RecogerComandos(0, m_nMsSilencio, sComandos);
    // A program that does not read its input loses what does not fit.
    Enviar(sMensajes, m_nMsSilencio);
    Senyalar();
    RecogerComandos(m_nMsRespuesta, m_nMsRespuesta, sComandos);
}

// Appends whatever the robot wrote; waits at most nMsMax for the first byte.
// False once the robot closed its output.
bool CProgramaRobot::LeerDisponible(int nMsMax)
{
    if (m_fdDesdeRobot == -1)
        return false;
    pollfd pfd = {m_fdDesdeRobot, POLLIN, 0};
    if (poll(&pfd, 1, nMsMax) <= 0)
        return true;
    // A bounded amount per call: a program that writes without end must
    // not keep the reader here, and a line without end is dropped.
    char vBuffer[4096];
    for (std::size_t nLeidos = 0; nLeidos < kMaxLecturaDeUnaVez;) {
        const ssize_t n = read(m_fdDesdeRobot, vBuffer, sizeof(vBuffer));
        if (n > 0) {
            m_sPendiente.append(vBuffer, static_cast<size_t>(n));
            nLeidos += static_cast<std::size_t>(n);
            if (m_sPendiente.size() > kMaxLinea && m_sPendiente.find('\n') == std::string::npos)
                m_sPendiente.clear();
            continue;
        }
        if (n == 0) {
            close(m_fdDesdeRobot);
            m_fdDesdeRobot = -1;
            return false;
        }
        return errno == EAGAIN || errno == EINTR;
    }
    return true;
}

bool CProgramaRobot::ExtraerLinea(std::string& sLinea)
{
    const size_t nFin = m_sPendiente.find('\n');
    if (nFin == std::string::npos)
        return false;
    sLinea = m_sPendiente.substr(0, nFin);
    m_sPendiente.erase(0, nFin + 1);
    TComandoRobot eComando;
    std::vector<std::string> vArgumentos;
    if (LeerComandoRobot(sLinea, eComando, vArgumentos)) {
        if (eComando == ComandoRobot_RobotOption)
            AplicarOpcion(vArgumentos);
        else if (eComando == ComandoRobot_Name)
            m_sNombre = sLinea.substr(sLinea.find("Name") + 5);
    }
    return true;
}

bool CProgramaRobot::LeerLinea(std::string& sLinea, int nMsMax)
{
    const TReloj::time_point tLimite = TReloj::now() + std::chrono::milliseconds(nMsMax);
    for (;;) {
        if (ExtraerLinea(sLinea))
            return true;
        if (m_fdDesdeRobot == -1)
            return false;
        const int nResto = MsRestantes(tLimite);
        LeerDisponible(nResto);
        if (nResto == 0)
            return ExtraerLinea(sLinea);
    }
}

std::vector<std::string> CProgramaRobot::LeerLineasDurante(int nMs)
{
    const TReloj::time_point tLimite = TReloj::now() + std::chrono::milliseconds(nMs);
    std::vector<std::string> vLineas;
    std::string sLinea;
    while (LeerLinea(sLinea, MsRestantes(tLimite)))
        vLineas.push_back(sLinea);
    return vLineas;
}

bool CProgramaRobot::EsperarFin(int& nEstado, int nMsMax)
{
    if (m_nPid <= 0)
        return false;
    const TReloj::time_point tLimite = TReloj::now() + std::chrono::milliseconds(nMsMax);
    for (;;) {
        const pid_t n = waitpid(m_nPid, &nEstado, WNOHANG);
        if (n == m_nPid) {
            m_bRecogido = true;
            return true;
        }
        if (n == -1 && errno != EINTR)
            return false;
        const int nResto = MsRestantes(tLimite);
        if (nResto == 0)
            return false;
        // Keep the robot's output flowing so that it cannot block on it.
        if (!LeerDisponible(nResto < 5 ? nResto : 5))
            usleep(1000);
    }
}
