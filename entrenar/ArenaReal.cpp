#include "ArenaReal.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

#include "Archivos.h"
#include "Comun/ArchivoEntero.h"

namespace fs = std::filesystem;

namespace {

const char* const kNombrePrograma = "realtimebattle";
const char* const kVariablePrefijo = "RTB_PREFIX";
// Where installations keep the robots and arenas, under the prefix.
const char* const kCarpetasDatos[] = {"games/RealTimeBattle", "share/games/RealTimeBattle", "share/realtimebattle"};

// The arena's loop period and physics step cap, as written to its options.
const double kIntervalo = 0.01;
const double kPasoMaximo = 0.1;
// Seconds the arena gives the robots to start before it drops them (its
// clock keeps wall time until a game starts).
const double kArranque = 10;
const double kGraciaTerminar = 5;  // wall seconds between asking the group to end and killing it
const int kPausaVigilarMs = 200;

// Lines of the arena's output after which the run is void: it would hang
// waiting for an arena, or play with a robot that never started.
const char* const kFallosArena[] = {"Couldn't find an arena", "Error in arenafile", "Couldn't find an executable robot",
                                    "Error in parse_tournament_file", "has not given any name"};

bool EsEjecutable(const std::string& sRuta)
{
    struct stat st;
    return ::stat(sRuta.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(sRuta.c_str(), X_OK) == 0;
}

bool EsLegible(const std::string& sRuta)
{
    struct stat st;
    return ::stat(sRuta.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(sRuta.c_str(), R_OK) == 0;
}

bool Termina(const std::string& sTexto, const std::string& sFin)
{
    return sTexto.size() >= sFin.size() && sTexto.compare(sTexto.size() - sFin.size(), sFin.size(), sFin) == 0;
}

bool InstalacionEn(const std::string& sPrefijo, SInstalacionReal& instalacion)
{
    const std::string sPrograma = RutaEn(RutaEn(sPrefijo, "bin"), kNombrePrograma);
    if (!EsEjecutable(sPrograma))
        return false;
    for (const char* szDatos : kCarpetasDatos) {
        const std::string sDatos = RutaEn(sPrefijo, szDatos);
        std::error_code ec;
        if (fs::is_directory(RutaEn(sDatos, "Robots"), ec) && fs::is_directory(RutaEn(sDatos, "Arenas"), ec)) {
            instalacion.sPrefijo = sPrefijo;
            instalacion.sPrograma = sPrograma;
            instalacion.sRobots = RutaEn(sDatos, "Robots");
            instalacion.sArenas = RutaEn(sDatos, "Arenas");
            return true;
        }
    }
    return false;
}

// The prefix of the program found on the PATH: the folder above its bin.
std::string PrefijoEnPath()
{
    const char* szPath = std::getenv("PATH");
    std::string sPath = szPath ? szPath : "";
    size_t nInicio = 0;
    while (nInicio <= sPath.size()) {
        size_t nFin = sPath.find(':', nInicio);
        if (nFin == std::string::npos)
            nFin = sPath.size();
        const std::string sCarpeta = sPath.substr(nInicio, nFin - nInicio);
        const std::string sPrograma = RutaEn(sCarpeta.empty() ? "." : sCarpeta, kNombrePrograma);
        std::error_code ec;
        if (EsEjecutable(sPrograma))
            return fs::canonical(sPrograma, ec).parent_path().parent_path().string();
        nInicio = nFin + 1;
    }
    return "";
}

std::string Absoluta(const std::string& sRuta)
{
    std::error_code ec;
    const fs::path ruta = fs::absolute(sRuta, ec);
    return ec ? sRuta : ruta.lexically_normal().string();
}

// A fresh folder in the system's temporary folder, removed with everything
// in it by Limpiar.
class CCarpetaTemporal {
public:
    CCarpetaTemporal() {}
    ~CCarpetaTemporal() { Limpiar(); }

    bool Crear(std::string& sError)
    {
        std::error_code ec;
        std::string sPlantilla = (fs::temp_directory_path(ec) / "torneo-XXXXXX").string();
        if (ec || !::mkdtemp(&sPlantilla[0])) {
            sError = "No se pudo crear una carpeta temporal: " + std::string(std::strerror(errno));
            return false;
        }
        m_sRuta = sPlantilla;
        return true;
    }

    void Limpiar()
    {
        if (m_sRuta.empty())
            return;
        std::error_code ec;
        fs::remove_all(m_sRuta, ec);
        m_sRuta.clear();
    }

    const std::string& Ruta() const { return m_sRuta; }

private:
    CCarpetaTemporal(const CCarpetaTemporal&);
    CCarpetaTemporal& operator=(const CCarpetaTemporal&);

    std::string m_sRuta;
};

// The arena starts only regular executables named "*.robot": each robot
// gets such a link in the run's folder, numbered so that two copies of one
// program stay apart. Its argv[0] is that link.
bool EnlazarRobots(const std::string& sCarpeta, const std::vector<std::string>& vsRobots,
                   std::vector<std::string>& vsEnlaces, std::string& sError)
{
    vsEnlaces.clear();
    for (size_t i = 0; i < vsRobots.size(); ++i) {
        std::string sNombre = fs::path(vsRobots[i]).filename().string();
        if (Termina(sNombre, ".robot"))
            sNombre.resize(sNombre.size() - 6);
        const std::string sEnlace = RutaEn(sCarpeta, std::to_string(i + 1) + "-" + sNombre + ".robot");
        std::error_code ec;
        fs::create_symlink(vsRobots[i], sEnlace, ec);
        if (ec) {
            sError = "No se pudo enlazar el robot " + vsRobots[i] + ": " + ec.message();
            return false;
        }
        vsEnlaces.push_back(sEnlace);
    }
    return true;
}

// The arena takes only files named "*.arena".
bool EnlazarArena(const std::string& sCarpeta, const std::string& sArena, std::string& sEnlace, std::string& sError)
{
    if (Termina(sArena, ".arena")) {
        sEnlace = sArena;
        return true;
    }
    sEnlace = RutaEn(sCarpeta, fs::path(sArena).filename().string() + ".arena");
    std::error_code ec;
    fs::create_symlink(sArena, sEnlace, ec);
    if (ec)
        sError = "No se pudo enlazar la arena " + sArena + ": " + ec.message();
    return !ec;
}

std::string Numero(double d)
{
    char sz[32];
    std::snprintf(sz, sizeof(sz), "%g", d);
    return sz;
}

// The option file's labels must be the arena's own: an unknown one derails
// its reader.
std::string TextoOpciones(const SConfigReal& config, const std::string& sTemporales)
{
    return "Timeout [s]: " + Numero(config.dTiempo) + "\nTimescale: " + Numero(config.dEscala) +
           "\nUpdate interval [s]: " + Numero(kIntervalo) + "\nMax timestep: " + Numero(kPasoMaximo) +
           "\nRobot startup time [s]: " + Numero(kArranque) + "\nDirectory for temporary files: " + sTemporales + "\n";
}

// The tournament file must end with a line end: its last word is lost
// otherwise.
std::string TextoTorneo(const std::vector<std::string>& vsRobots, const std::string& sArena, int nPartidas)
{
    std::string sRobots;
    for (const std::string& s : vsRobots)
        sRobots += (sRobots.empty() ? "" : " ") + s;
    return "Robots: " + sRobots + "\nArenas: " + sArena + "\nGames/Sequence: " + std::to_string(nPartidas) +
           "\nRobots/Sequence: " + std::to_string(vsRobots.size()) + "\nSequences: 1\n";
}

// Files of one run, inside its temporary folder.
struct SFicherosPartido {
    std::string sOpciones, sTorneo, sEstadisticas, sLog, sMensajes, sSalida;
};

SFicherosPartido Ficheros(const std::string& sCarpeta)
{
    SFicherosPartido f;
    f.sOpciones = RutaEn(sCarpeta, "opciones.txt");
    f.sTorneo = RutaEn(sCarpeta, "torneo.txt");
    f.sEstadisticas = RutaEn(sCarpeta, "estadisticas.txt");
    f.sLog = RutaEn(sCarpeta, "registro.txt");
    f.sMensajes = RutaEn(sCarpeta, "mensajes.txt");
    f.sSalida = RutaEn(sCarpeta, "salida.txt");
    return f;
}

std::string LeerSiExiste(const std::string& sRuta)
{
    std::string sTexto, sError;
    LeerFichero(sRuta, sTexto, sError);
    return sTexto;
}

// The first line of the arena's output that voids the run, or "".
std::string FalloEnSalida(const std::string& sSalida)
{
    for (const char* szFallo : kFallosArena) {
        const size_t n = sSalida.find(szFallo);
        if (n == std::string::npos)
            continue;
        const size_t nInicio = sSalida.rfind('\n', n);
        const size_t nFin = sSalida.find('\n', n);
        return sSalida.substr(nInicio == std::string::npos ? 0 : nInicio + 1,
                              nFin == std::string::npos ? std::string::npos : nFin - (nInicio + 1));
    }
    return "";
}

// Counts the games begun in the growing log, reading only what was added.
class CSeguidorLog {
public:
    explicit CSeguidorLog(const std::string& sRuta) : m_sRuta(sRuta), m_nLeido(0), m_nPartidas(0), m_cUltimo('\n') {}

    int Partidas()
    {
        std::FILE* pFichero = std::fopen(m_sRuta.c_str(), "rb");
        if (!pFichero)
            return m_nPartidas;
        if (std::fseek(pFichero, m_nLeido, SEEK_SET) == 0) {
            char szBloque[65536];
            size_t n = 0;
            while ((n = std::fread(szBloque, 1, sizeof(szBloque), pFichero)) > 0) {
                for (size_t i = 0; i < n; ++i) {
                    m_nPartidas += (m_cUltimo == '\n' && szBloque[i] == 'G') ? 1 : 0;
                    m_cUltimo = szBloque[i];
                }
                m_nLeido += static_cast<long>(n);
            }
        }
        std::fclose(pFichero);
        return m_nPartidas;
    }

private:
    std::string m_sRuta;
    long m_nLeido;
    int m_nPartidas;
    char m_cUltimo;
};

volatile sig_atomic_t g_nInterrumpido = 0;

void AnotarInterrupcion(int) { g_nInterrumpido = 1; }

// Ctrl-C reaches only the terminal's process group, not the arena's own:
// while a run is on, the signal is noted and the run ends its group.
class CVigilanciaInterrupcion {
public:
    CVigilanciaInterrupcion()
    {
        g_nInterrumpido = 0;
        struct sigaction accion;
        std::memset(&accion, 0, sizeof(accion));
        accion.sa_handler = AnotarInterrupcion;
        sigemptyset(&accion.sa_mask);
        sigaction(SIGINT, &accion, &m_anteriorInt);
        sigaction(SIGTERM, &accion, &m_anteriorTerm);
    }
    ~CVigilanciaInterrupcion()
    {
        sigaction(SIGINT, &m_anteriorInt, nullptr);
        sigaction(SIGTERM, &m_anteriorTerm, nullptr);
    }

private:
    CVigilanciaInterrupcion(const CVigilanciaInterrupcion&);
    CVigilanciaInterrupcion& operator=(const CVigilanciaInterrupcion&);

    struct sigaction m_anteriorInt, m_anteriorTerm;
};

// This process's environment with the network variable set only for a
// network under test; built before the fork, as the child must not allocate.
std::vector<std::string> EntornoArena(const std::string& sRed)
{
    std::vector<std::string> vsEntorno;
    for (char** p = environ; p && *p; ++p) {
        if (std::strncmp(*p, "BOT_RED=", 8) != 0)
            vsEntorno.push_back(*p);
    }
    if (!sRed.empty())
        vsEntorno.push_back("BOT_RED=" + sRed);
    return vsEntorno;
}

// In the child: own process group, no input, output to the run's file.
[[noreturn]] void LanzarArena(const char* const* vArgs, const char* const* vEntorno, const char* szSalida)
{
    ::setpgid(0, 0);
    const int nNulo = ::open("/dev/null", O_RDONLY);
    const int nSalida = ::open(szSalida, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (nNulo < 0 || nSalida < 0)
        ::_exit(127);
    ::dup2(nNulo, STDIN_FILENO);
    ::dup2(nSalida, STDOUT_FILENO);
    ::dup2(nSalida, STDERR_FILENO);
    ::execve(vArgs[0], const_cast<char* const*>(vArgs), const_cast<char* const*>(vEntorno));
    ::_exit(127);
}

// How a run ended.
struct SFinArena {
    int nEstado = -1;    // exit status, -1 when killed
    std::string sCausa;  // why it was stopped, "" when it ended on its own
};

// Waits for the arena, stopping its whole group at the wall-clock limit, at
// an interruption or at a line of output that voids the run. Whatever is
// left of the group is killed at the end.
SFinArena Vigilar(pid_t nGrupo, const SFicherosPartido& f, double dLimite, const TAvisoPartida& fAviso)
{
    const auto tInicio = std::chrono::steady_clock::now();
    SFinArena fin;
    double dFinGracia = -1;
    int nAvisada = 0;
    CSeguidorLog seguidor(f.sLog);
    for (;;) {
        int nEstado = 0;
        const pid_t n = ::waitpid(nGrupo, &nEstado, WNOHANG);
        if (n == nGrupo || (n < 0 && errno != EINTR)) {
            if (n == nGrupo && WIFEXITED(nEstado))
                fin.nEstado = WEXITSTATUS(nEstado);
            break;
        }
        const double dTranscurrido = std::chrono::duration<double>(std::chrono::steady_clock::now() - tInicio).count();
        if (fin.sCausa.empty()) {
            const std::string sFallo = FalloEnSalida(LeerSiExiste(f.sSalida));
            if (!sFallo.empty())
                fin.sCausa =
                    "la arena avis"
                    "\xF3"
                    ": " +
                    sFallo;
            else if (g_nInterrumpido)
                fin.sCausa = "interrumpido";
            else if (dTranscurrido > dLimite)
                fin.sCausa =
                    "la arena no termin"
                    "\xF3"
                    " en el l"
                    "\xED"
                    "mite de " +
                    Numero(dLimite) + " s";
            if (!fin.sCausa.empty()) {
                ::kill(-nGrupo, SIGTERM);
                dFinGracia = dTranscurrido + kGraciaTerminar;
            }
        } else if (dFinGracia >= 0 && dTranscurrido > dFinGracia) {
            ::kill(-nGrupo, SIGKILL);
            dFinGracia = -1;
        }
        const int nPartida = seguidor.Partidas();
        if (fAviso && nPartida != nAvisada) {
            nAvisada = nPartida;
            fAviso(nPartida);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(kPausaVigilarMs));
    }
    ::kill(-nGrupo, SIGKILL);
    return fin;
}

// The last lines of the arena's output, for the message of a broken run.
std::string FinalSalida(const std::string& sSalida)
{
    const size_t kLineas = 5;
    std::vector<std::string> vLineas;
    size_t nInicio = 0;
    while (nInicio < sSalida.size()) {
        size_t nFin = sSalida.find('\n', nInicio);
        if (nFin == std::string::npos)
            nFin = sSalida.size();
        if (nFin > nInicio)
            vLineas.push_back(sSalida.substr(nInicio, nFin - nInicio));
        nInicio = nFin + 1;
    }
    std::string sFinal;
    for (size_t i = vLineas.size() > kLineas ? vLineas.size() - kLineas : 0; i < vLineas.size(); ++i)
        sFinal += vLineas[i] + "\n";
    return sFinal;
}

// What the log tells of a broken run.
std::string ResumenLog(const std::string& sLog, size_t nRobots, int nPartidas)
{
    std::vector<SRobotReal> vRobots;
    int nJugadas = 0;
    std::string sError;
    if (sLog.empty())
        return "no dej"
               "\xF3"
               " registro";
    if (!LeerLogReal(sLog, nRobots, vRobots, nJugadas, sError))
        return "el registro no sirve (" + sError + ")";
    std::string sTexto = std::to_string(nJugadas) + " de " + std::to_string(nPartidas) + " partidas completas";
    if (nJugadas > 0) {
        const SResumenReal r = ResumirRobot(vRobots, 0);
        sTexto += ", " + Numero(r.dPuntos) + " puntos del robot probado";
    }
    return sTexto;
}

// What only the log tells: how each robot moved and fired.
void AnotarConducta(const std::string& sLog, std::vector<SRobotReal>& vRobots)
{
    std::vector<SRobotReal> vLog;
    int nPartidas = 0;
    std::string sError;
    if (!LeerLogReal(sLog, vRobots.size(), vLog, nPartidas, sError))
        return;
    for (size_t i = 0; i < vRobots.size(); ++i) {
        vRobots[i].bSeMovio = vLog[i].bSeMovio;
        vRobots[i].nDisparos = vLog[i].nDisparos;
    }
}

// Before a game the arena refuses a movement command but reads its argument
// up to the next blank as a message name: after a one-argument command, that
// name runs into the next line, and a "Name" there is lost. A robot that
// decides before it is initialized can lose its name so on a loaded machine;
// if it moved or fired it played, and takes its program's name. A robot
// with no name that did neither never came to the arena.
bool ComprobarNombres(std::vector<SRobotReal>& vRobots, const std::vector<std::string>& vsRobots, std::string& sError)
{
    for (size_t i = 0; i < vRobots.size(); ++i) {
        SRobotReal& robot = vRobots[i];
        if (robot.sNombre.empty() && (robot.bSeMovio || robot.nDisparos > 0))
            robot.sNombre = fs::path(vsRobots[i]).filename().string();
        if (robot.sNombre.empty()) {
            sError = "El robot " + vsRobots[i] +
                     " no se present"
                     "\xF3"
                     " a la arena";
            return false;
        }
    }
    return true;
}

bool PrepararFicheros(const SPartidoReal& partido, const SConfigReal& config, const std::string& sCarpeta,
                      const SFicherosPartido& f, std::string& sError)
{
    std::vector<std::string> vsEnlaces;
    std::string sArena;
    const std::string sTemporales = RutaEn(sCarpeta, "tmp");
    return CrearCarpeta(sTemporales, sError) && EnlazarRobots(sCarpeta, partido.vsRobots, vsEnlaces, sError) &&
           EnlazarArena(sCarpeta, partido.sArena, sArena, sError) &&
           EscribirArchivoEntero(f.sOpciones, TextoOpciones(config, sTemporales), sError) &&
           EscribirArchivoEntero(f.sTorneo, TextoTorneo(vsEnlaces, sArena, partido.nPartidas), sError);
}

}  // namespace

bool BuscarInstalacionReal(const std::string& sPrefijo, SInstalacionReal& instalacion, std::string& sError)
{
    if (!sPrefijo.empty()) {
        if (InstalacionEn(sPrefijo, instalacion))
            return true;
        sError = "No hay arena real en " + sPrefijo +
                 " (se busc"
                 "\xF3"
                 " " +
                 sPrefijo + "/bin/" + kNombrePrograma + " y sus robots y arenas)";
        return false;
    }
    const char* szVariable = std::getenv(kVariablePrefijo);
    const std::string sVariable = szVariable ? szVariable : "";
    if (!sVariable.empty() && InstalacionEn(sVariable, instalacion))
        return true;
    const std::string sEnPath = PrefijoEnPath();
    if (!sEnPath.empty() && InstalacionEn(sEnPath, instalacion))
        return true;
    sError = std::string(
                 "No se encontr"
                 "\xF3"
                 " la arena real: ") +
             kVariablePrefijo + " " +
             (sVariable.empty() ? "no est"
                                  "\xE1"
                                  " definida"
                                : "= " + sVariable + " no la contiene") +
             ", " +
             (sEnPath.empty() ? std::string("no hay ") + kNombrePrograma + " en el PATH"
                              : sEnPath + " (del PATH) no tiene sus robots y arenas") +
             "; ind"
             "\xED"
             "quela con --rtb PREFIJO";
    return false;
}

bool RutaRobotReal(const SInstalacionReal& instalacion, const std::string& sRobot, std::string& sRuta,
                   std::string& sError)
{
    if (sRobot.find('/') == std::string::npos)
        sRuta = RutaEn(instalacion.sRobots, Termina(sRobot, ".robot") ? sRobot : sRobot + ".robot");
    else
        sRuta = Absoluta(sRobot);
    if (sRobot.empty() || !EsEjecutable(sRuta)) {
        sError = "Robot '" + sRobot + "' no encontrado o no ejecutable: " + sRuta;
        return false;
    }
    return true;
}

bool RutaArenaReal(const SInstalacionReal& instalacion, const std::string& sArena, std::string& sRuta,
                   std::string& sError)
{
    if (sArena.find('/') == std::string::npos)
        sRuta = RutaEn(instalacion.sArenas, Termina(sArena, ".arena") ? sArena : sArena + ".arena");
    else
        sRuta = Absoluta(sArena);
    if (sArena.empty() || !EsLegible(sRuta)) {
        sError = "Arena '" + sArena + "' no encontrada o ilegible: " + sRuta;
        return false;
    }
    return true;
}

double LimiteReal(int nPartidas, const SConfigReal& config)
{
    if (config.dLimite > 0)
        return config.dLimite;
    // The arena runs at its time scale unless its steps are capped; the
    // loop's own overhead slows it by up to a half.
    double dVelocidad = std::min(config.dEscala, kPasoMaximo / kIntervalo);
    if (dVelocidad > 1)
        dVelocidad /= 1.5;
    return 20 + (kArranque + 3) + nPartidas * (config.dTiempo / dVelocidad + 3);
}

bool JugarPartidoReal(const SInstalacionReal& instalacion, const SPartidoReal& partido, const SConfigReal& config,
                      const TAvisoPartida& fAviso, std::vector<SRobotReal>& vRobots, std::string& sError)
{
    CCarpetaTemporal carpeta;
    if (!carpeta.Crear(sError))
        return false;
    const SFicherosPartido f = Ficheros(carpeta.Ruta());
    if (!PrepararFicheros(partido, config, carpeta.Ruta(), f, sError))
        return false;
    const std::vector<std::string> vsEntorno = EntornoArena(partido.sRed);
    std::vector<const char*> vEntorno;
    for (const std::string& s : vsEntorno)
        vEntorno.push_back(s.c_str());
    vEntorno.push_back(nullptr);
    const char* vArgs[] = {instalacion.sPrograma.c_str(),
                           "-g",
                           "-o",
                           f.sOpciones.c_str(),
                           "-t",
                           f.sTorneo.c_str(),
                           "-s",
                           f.sEstadisticas.c_str(),
                           "-l",
                           f.sLog.c_str(),
                           "-m",
                           f.sMensajes.c_str(),
                           nullptr};
    CVigilanciaInterrupcion vigilancia;
    const pid_t nHijo = ::fork();
    if (nHijo < 0) {
        sError = "No se pudo lanzar la arena: " + std::string(std::strerror(errno));
        return false;
    }
    if (nHijo == 0)
        LanzarArena(vArgs, vEntorno.data(), f.sSalida.c_str());
    ::setpgid(nHijo, nHijo);
    const SFinArena fin = Vigilar(nHijo, f, LimiteReal(partido.nPartidas, config), fAviso);
    const size_t nRobots = partido.vsRobots.size();
    std::string sLectura;
    if (fin.sCausa.empty() && fin.nEstado == 0 &&
        LeerEstadisticasReal(LeerSiExiste(f.sEstadisticas), nRobots, partido.nPartidas, vRobots, sLectura)) {
        AnotarConducta(LeerSiExiste(f.sLog), vRobots);
        return ComprobarNombres(vRobots, partido.vsRobots, sError);
    }
    std::string sCausa = fin.sCausa;
    if (sCausa.empty())
        sCausa = fin.nEstado == 0 ? sLectura
                                  : "la arena termin"
                                    "\xF3"
                                    " con estado " +
                                        std::to_string(fin.nEstado);
    sError =
        "La arena real fall"
        "\xF3"
        " en " +
        fs::path(partido.sArena).filename().string() + ": " + sCausa + "; " +
        ResumenLog(LeerSiExiste(f.sLog), nRobots, partido.nPartidas);
    const std::string sFinal = FinalSalida(LeerSiExiste(f.sSalida));
    if (!sFinal.empty())
        sError += "\nSalida de la arena:\n" + sFinal.substr(0, sFinal.size() - 1);
    return false;
}
