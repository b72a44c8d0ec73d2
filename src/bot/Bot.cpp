#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iostream>
#include <new>
#include <sstream>
#include <string>

#include <sys/select.h>

#include "CRTBot.h"
#include "RedIntegrada.h"

struct SMensaje {
    const char* szNombre;
    int nArgumentos;
    int nTiposArgumentos[4];  // 0 none, 1 text, 2 real, 3 integer, 4 hexadecimal
};

const SMensaje kMensajes2Robot[25] = {
    {"Initialize", 1, {3, 0, 0, 0}}, {"YourName", 1, {1, 0, 0, 0}},
    {"YourColour", 1, {4, 0, 0, 0}}, {"GameOption", 2, {3, 2, 0, 0}},
    {"GameStarts", 0, {0, 0, 0, 0}}, {"Radar", 3, {2, 3, 2, 0}},
    {"Info", 3, {2, 2, 2, 0}},       {"Coordinates", 3, {2, 2, 2, 0}},
    {"RobotInfo", 2, {2, 3, 0, 0}},  {"RotationReached", 1, {3, 0, 0, 0}},
    {"Energy", 1, {2, 0, 0, 0}},     {"RobotsLeft", 1, {3, 0, 0, 0}},
    {"Collision", 2, {3, 2, 0, 0}},  {"Warning", 2, {3, 1, 0, 0}},
    {"Dead", 0, {0, 0, 0, 0}},       {"GameFinishes", 0, {0, 0, 0, 0}},
    {"ExitRobot", 0, {0, 0, 0, 0}},  {"", 0, {0, 0, 0, 0}},
};

const SMensaje kMensajes2RTB[25] = {
    {"RobotOption", 2, {3, 3, 0, 0}}, {"Name", 1, {1, 0, 0, 0}},
    {"Colour", 2, {4, 4, 0, 0}},      {"Rotate", 2, {3, 2, 0, 0}},
    {"RotateTo", 3, {3, 2, 2, 0}},    {"RotateAmount", 3, {3, 2, 2, 0}},
    {"Sweep", 4, {3, 2, 2, 2}},       {"Accelerate", 1, {2, 0, 0, 0}},
    {"Brake", 1, {2, 0, 0, 0}},       {"Break", 1, {2, 0, 0, 0}},
    {"Shoot", 1, {2, 0, 0, 0}},       {"Print", 1, {1, 0, 0, 0}},
    {"Debug", 1, {1, 0, 0, 0}},       {"DebugLine", 4, {2, 2, 2, 2}},
    {"DebugCircle", 3, {2, 2, 2, 0}}, {"", 0, {0, 0, 0, 0}},
};

CRTBot* Bot = nullptr;

// Set by the handler, consumed by the main loop, which does all the work.
volatile sig_atomic_t g_nSenyalRecibida = 0;

int msg2enum(char* szPalabra)
{
    for (int i = 0; kMensajes2Robot[i].szNombre[0] != '\0'; ++i) {
        if (std::strcmp(kMensajes2Robot[i].szNombre, szPalabra) == 0)
            return i;
    }
    return -1;
}

void manejar_senyal(int) { g_nSenyalRecibida = 1; }

namespace {

const long kNanosPorSegundo = 1000000000L;

timespec Ahora()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t;
}

// Time left until a full second has passed since tDesde; zero when it has.
timespec RestoDeSegundo(const timespec& tDesde)
{
    const timespec tAhora = Ahora();
    long long nTranscurrido =
        (tAhora.tv_sec - tDesde.tv_sec) * static_cast<long long>(kNanosPorSegundo) + (tAhora.tv_nsec - tDesde.tv_nsec);
    long long nResto = kNanosPorSegundo - nTranscurrido;
    if (nResto < 0)
        nResto = 0;
    timespec t;
    t.tv_sec = static_cast<time_t>(nResto / kNanosPorSegundo);
    t.tv_nsec = static_cast<long>(nResto % kNanosPorSegundo);
    return t;
}

// SIGUSR1 stays blocked except while the loop waits, so the handler only
// ever interrupts the wait and a decision never runs inside another one.
// Returns the mask to wait with.
sigset_t PrepararSenyal()
{
    sigset_t conjunto, anterior;
    sigemptyset(&conjunto);
    sigaddset(&conjunto, SIGUSR1);
    sigprocmask(SIG_BLOCK, &conjunto, &anterior);

    struct sigaction accion;
    std::memset(&accion, 0, sizeof(accion));
    accion.sa_handler = manejar_senyal;
    sigemptyset(&accion.sa_mask);
    sigaction(SIGUSR1, &accion, nullptr);

    sigdelset(&anterior, SIGUSR1);
    return anterior;
}

void EscribirOpciones()
{
    std::cout << "RobotOption 3 1\n"
              << "RobotOption 2 10\n"
              << "RobotOption 1 2\n";
    std::cout.flush();
}

// One drain and one decision per signal; a decision on its own only after a
// full second without any.
void BucleRobot(const sigset_t& mascaraEspera)
{
    Bot->TomarDecisiones();
    timespec tUltimaDecision = Ahora();
    while (!Bot->HaTerminado()) {
        if (g_nSenyalRecibida) {
            g_nSenyalRecibida = 0;
            Bot->ProcesarMensajes(msg2enum);
        } else {
            const timespec tEspera = RestoDeSegundo(tUltimaDecision);
            if (tEspera.tv_sec != 0 || tEspera.tv_nsec != 0) {
                pselect(0, nullptr, nullptr, nullptr, &tEspera, &mascaraEspera);
                continue;
            }
        }
        Bot->TomarDecisiones();
        tUltimaDecision = Ahora();
    }
}

// A network file named by BOT_RED replaces the built-in network, so that a
// trained network plays without rebuilding the robot. False with a message
// when the variable names a file that cannot be read whole.
bool RedDelRobot(std::string& sRed)
{
    const char* szRuta = std::getenv("BOT_RED");
    if (!szRuta || szRuta[0] == '\0') {
        sRed = kRedIntegrada;
        return true;
    }
    std::ifstream fichero(szRuta, std::ios::binary);
    std::ostringstream contenido;
    contenido << fichero.rdbuf();
    if (!fichero || fichero.bad() || contenido.str().empty()) {
        std::fprintf(stderr, "ERROR: No se pudo leer la red de BOT_RED: %s\n", szRuta);
        return false;
    }
    sRed = contenido.str();
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    // The standard streams read and write the descriptors directly, so a read
    // that finds nothing waiting leaves no sticky state behind.
    std::ios::sync_with_stdio(false);
    const std::string sNombre = (argc > 0 && argv[0]) ? argv[0] : "";

    std::string sRed;
    if (!RedDelRobot(sRed))
        return 1;
    Bot = new (std::nothrow) CRTBot(sNombre, sRed, std::cin, std::cout, 6);
    if (!Bot) {
        std::fputs("ERROR: No se pudo inicializar el Bot\n", stderr);
        return -1;
    }
    // The handler is in place before the arena learns that it may signal.
    const sigset_t mascaraEspera = PrepararSenyal();
    EscribirOpciones();
    BucleRobot(mascaraEspera);
    return 0;
}
