#include "CArenaSustituta.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

typedef std::chrono::steady_clock TReloj;

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

CArenaSustituta::CArenaSustituta()
    : m_nPid(-1), m_bRecogido(true), m_fdHaciaRobot(-1), m_fdDesdeRobot(-1), m_bSenyalPedida(false)
{}

CArenaSustituta::~CArenaSustituta() { Limpiar(); }

void CArenaSustituta::CerrarDescriptores()
{
    if (m_fdHaciaRobot != -1)
        close(m_fdHaciaRobot);
    if (m_fdDesdeRobot != -1)
        close(m_fdDesdeRobot);
    m_fdHaciaRobot = -1;
    m_fdDesdeRobot = -1;
}

void CArenaSustituta::Limpiar()
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
    m_bSenyalPedida = false;
}

bool CArenaSustituta::Iniciar(const std::string& sRuta)
{
    Limpiar();
    // A robot that dies must not take the arena with it.
    signal(SIGPIPE, SIG_IGN);
    int vHaciaRobot[2], vDesdeRobot[2];
    if (pipe2(vHaciaRobot, O_CLOEXEC) == -1)
        return false;
    if (pipe2(vDesdeRobot, O_CLOEXEC) == -1) {
        close(vHaciaRobot[0]);
        close(vHaciaRobot[1]);
        return false;
    }
    // The arena hands the robot a non-blocking input.
    const bool bListo =
        PonerNoBloqueante(vHaciaRobot[0]) && PonerNoBloqueante(vHaciaRobot[1]) && PonerNoBloqueante(vDesdeRobot[0]);
    const pid_t nPid = bListo ? fork() : -1;
    if (nPid == 0)
        EjecutarRobot(sRuta.c_str(), vHaciaRobot[0], vDesdeRobot[1]);
    close(vHaciaRobot[0]);
    close(vDesdeRobot[1]);
    m_fdHaciaRobot = vHaciaRobot[1];
    m_fdDesdeRobot = vDesdeRobot[0];
    if (nPid < 0) {
        CerrarDescriptores();
        return false;
    }
    m_nPid = nPid;
    m_bRecogido = false;
    return true;
}

bool CArenaSustituta::Enviar(const std::string& sTexto, int nMsMax)
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

bool CArenaSustituta::Senyalar()
{
    if (!m_bSenyalPedida || m_nPid <= 0 || m_bRecogido)
        return false;
    return kill(m_nPid, SIGUSR1) == 0;
}

// Appends whatever the robot wrote; waits at most nMsMax for the first byte.
// False once the robot closed its output.
bool CArenaSustituta::LeerDisponible(int nMsMax)
{
    if (m_fdDesdeRobot == -1)
        return false;
    pollfd pfd = {m_fdDesdeRobot, POLLIN, 0};
    if (poll(&pfd, 1, nMsMax) <= 0)
        return true;
    char vBuffer[4096];
    for (;;) {
        const ssize_t n = read(m_fdDesdeRobot, vBuffer, sizeof(vBuffer));
        if (n > 0) {
            m_sPendiente.append(vBuffer, static_cast<size_t>(n));
            continue;
        }
        if (n == 0) {
            close(m_fdDesdeRobot);
            m_fdDesdeRobot = -1;
            return false;
        }
        return errno == EAGAIN || errno == EINTR;
    }
}

bool CArenaSustituta::ExtraerLinea(std::string& sLinea)
{
    const size_t nFin = m_sPendiente.find('\n');
    if (nFin == std::string::npos)
        return false;
    sLinea = m_sPendiente.substr(0, nFin);
    m_sPendiente.erase(0, nFin + 1);
    if (sLinea == "RobotOption 2 10")
        m_bSenyalPedida = true;
    return true;
}

bool CArenaSustituta::LeerLinea(std::string& sLinea, int nMsMax)
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

std::vector<std::string> CArenaSustituta::LeerLineasDurante(int nMs)
{
    const TReloj::time_point tLimite = TReloj::now() + std::chrono::milliseconds(nMs);
    std::vector<std::string> vLineas;
    std::string sLinea;
    while (LeerLinea(sLinea, MsRestantes(tLimite)))
        vLineas.push_back(sLinea);
    return vLineas;
}

bool CArenaSustituta::EsperarFin(int& nEstado, int nMsMax)
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
