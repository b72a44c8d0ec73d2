#ifndef ARENA_CPARTIDA_H
#define ARENA_CPARTIDA_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "CGenerador.h"
#include "CGeometria.h"
#include "Fisica.h"
#include "Protocolo.h"

class CGrabacion;

// The built-in circle and square, the text of an arena file, or a random
// arena drawn from the match's seed.
enum TTipoArena { Arena_Circulo = 0, Arena_Cuadrado = 1, Arena_Archivo = 2, Arena_Aleatoria = 3 };

// The most robots one match holds.
const int kMaxRobotsPartida = 8;

// Who drives a robot. The scripted kinds read the same facts that the
// messages carry; Controlador_Texto hands the messages as text lines to a
// callback and parses the command lines it returns.
enum TControlador {
    Controlador_Quieto = 0,
    Controlador_Giratorio = 1,
    Controlador_Buscador = 2,
    Controlador_Texto = 3,
    Controlador_Cazador = 4,
    Controlador_Orbitador = 5
};

// sMensajes: this update's messages, one per line, in the arena's order.
// sComandos: comes in empty; the controller appends its command lines.
typedef std::function<void(const std::string& sMensajes, std::string& sComandos)> TFuncionTexto;

// Whether the one behind a text controller is still there (a robot
// program that ended is not): a robot whose controller is gone dies.
typedef std::function<bool()> TFuncionActivo;

struct SControlador {
    TControlador eTipo = Controlador_Quieto;
    TFuncionTexto fTexto;
    TFuncionActivo fActivo;  // optional
};

struct SConfigPartida {
    TTipoArena eArena = Arena_Circulo;
    std::string sArena;        // Arena_Archivo: the file's text
    std::string sNombreArena;  // Arena_Archivo: its name, for messages and recordings
    uint64_t nSemilla = 1;
    double dPaso = 0.05;  // (0, 0.1]
    double dTiempoMaximo = 120.0;
    int nJuegos = 1;
    bool bGrabar = false;
    bool bObjetosAlAzar = true;  // off to replay recorded games, whose objects are placed by hand
};

// Totals over the games of a sequence, plus each game's points and position.
struct SResultadoRobot {
    double dPuntos = 0;
    int nPosicion = 0;            // in the last game played
    double dDanyoCausado = 0;     // energy taken from other robots by its shots
    double dEnergiaRestante = 0;  // summed over games, 0 for a game it lost
    double dTiempoVivo = 0;       // summed over games
    int nDisparos = 0;
    int nAciertos = 0;  // shots that hit another robot
    std::vector<double> vdPuntosJuego;
    std::vector<int> vnPosicionJuego;
};

// What a robot has been told in the current update. The scripted
// controllers decide from it.
struct SPercepcion {
    double dRadarDistancia = 0;
    int nRadarObjeto = -1;
    double dRadarAngulo = 0;
    double dEnergiaVista = 0;                // valid when nRadarObjeto is ObjetoArena_Robot
    double dParedDelante = -1;               // centre to the wall straight ahead; < 0 unknown
    const CGeometria* pGeometria = nullptr;  // the match's walls, for scripted robots
    double dX = 0, dY = 0, dRumbo = 0;
    double dTiempo = 0, dVelocidad = 0, dAnguloCanyon = 0;
    double dPaso = 0.05;
    double dEnergia = 0;
    int nRobotsQuedan = 0;
    int nImpactos = 0;  // shots that hit it this update
    bool bChoquePared = false;
    bool bChoqueRobot = false;
};

// Memory of the scripted controllers between updates.
struct SMemoriaGuion {
    int nImpactosRecientes = 0;
    double dUltimoImpacto = -1e9;
    double dHuidaHasta = -1e9;
    double dUltimoVisto = -1e9;
    double dUltimoDisparo = -1e9;
    double dDireccionObjetivo = 0;  // absolute
    double dDistanciaObjetivo = 0;
    double dObjetivoX = 0, dObjetivoY = 0;  // where the target was seen
    double dSentidoBarrido = 1;
    double dEsquivarHasta = -1e9;
    double dGalletaVista = -1e9;
    double dDireccionGalleta = 0;   // absolute
    double dReservaEstimada = 0;    // shot energy it reckons it has
    double dSentidoOrbita = 1;      // +1 counter-clockwise around the target
    double dCambioSentido = -1e9;   // when the orbit last turned round
    double dGiroPared = 0;          // turn it keeps until a wall is behind it
    double dGiroParedHasta = -1e9;  // when that turn ends at the latest
};

// How one rotating part turns once a program set it: at its rate for good,
// toward an angle where it stops (RotateTo, RotateAmount), or back and
// forth between two angles (Sweep).
enum TModoGiro { Giro_Continuo = 0, Giro_Hasta, Giro_Barrido };
struct SModoGiro {
    TModoGiro eModo = Giro_Continuo;
    double dHasta = 0;                    // Giro_Hasta: where it stops
    double dDerecha = 0, dIzquierda = 0;  // Giro_Barrido: the lower and the upper angle
};

struct SRobot {
    std::string sNombre;
    SControlador controlador;
    double dX = 0, dY = 0, dVX = 0, dVY = 0;
    double dRumbo = 0, dCanyon = 0, dRadar = 0;  // cannon, radar: relative
    double dGiroCuerpo = 0, dGiroCanyon = 0, dGiroRadar = 0;
    SModoGiro vModoGiro[3];  // body, cannon, radar
    int nAvisoRotacion = 0;  // RobotOption 1: 1 = RotationReached at a stop, 2 = also when a sweep turns
    double dAceleracion = 0, dFreno = 0;
    double dReserva = 0;  // shot energy available
    double dEnergia = kEnergiaInicial;
    bool bVivo = false;
    std::vector<double> vdDisparosPendientes;
    std::string sMensajes;
    std::string sComandos;
    SPercepcion percepcion;
    SMemoriaGuion memoria;
    SResultadoRobot resultado;
};

struct SDisparo {
    double dX, dY, dVX, dVY, dEnergia;
    int nTirador;  // -1 once shots of different robots merged
};

struct SObjeto {
    double dX, dY, dEnergia;
};

// One match: a sequence of games between the robots added, in one arena,
// from one seed. Deterministic and self-contained, so matches may run in
// parallel threads. Use either Jugar, or EmpezarSecuencia, then per game
// EmpezarJuego and Actualizar until it returns false, then
// TerminarSecuencia.
class CPartida {
public:
    CPartida();
    ~CPartida();
    CPartida(const CPartida&) = delete;
    CPartida& operator=(const CPartida&) = delete;

    void Limpiar();

    bool Configurar(const SConfigPartida& config);
    // The robot's index, or -1 when the match is full.
    int AddRobot(const std::string& sNombre, const SControlador& controlador);

    bool Jugar();

    bool EmpezarSecuencia();
    // False when the robots do not all fit in the arena: no game then.
    bool EmpezarJuego();
    bool Actualizar();
    void TerminarSecuencia();

    // One update with a step of its own, as the real arena takes them
    // (wall time between updates); replays recorded games.
    bool ActualizarConPaso(double dPaso);

    // Distance from p along the unit direction u to the arena's wall.
    double DistanciaPared(double dPX, double dPY, double dUX, double dUY) const;

    // Placing things by hand, for tests and tools.
    void ColocarRobot(int nRobot, double dX, double dY, double dRumbo);
    SRobot& GetRobotEditable(int nRobot) { return m_vRobots[nRobot]; }
    void AddGalleta(double dX, double dY, double dEnergia);
    void AddMina(double dX, double dY, double dEnergia);
    void AddDisparo(double dX, double dY, double dVX, double dVY, double dEnergia, int nTirador);

    const SConfigPartida& GetConfig() const { return m_config; }
    int GetNumRobots() const { return static_cast<int>(m_vRobots.size()); }
    const SRobot& GetRobot(int nRobot) const { return m_vRobots[nRobot]; }
    const std::vector<SDisparo>& GetDisparos() const { return m_vDisparos; }
    const std::vector<SObjeto>& GetGalletas() const { return m_vGalletas; }
    const std::vector<SObjeto>& GetMinas() const { return m_vMinas; }
    double GetTiempo() const { return m_dTiempo; }
    int GetJuego() const { return m_nJuego; }
    int GetRobotsVivos() const { return m_nVivos; }
    std::vector<SResultadoRobot> GetResultados() const;
    const CGrabacion* GetGrabacion() const { return m_pGrabacion; }
    const CGeometria& GetGeometria() const { return m_geometria; }

private:
    // Geometry.
    bool LugarLibre(double dX, double dY, double dMargen) const;
    bool BuscarLugarLibre(double dMargen, double& dX, double& dY, int nIntentos);
    bool BuscarEnRejilla(double dMargen, double& dX, double& dY);
    double ImpactoPared(double dPX, double dPY, double dDX, double dDY, double dRadio, SContacto& contacto) const;

    // One update.
    bool Avanzar();
    void AplicarComandos();
    void Disparar(int nRobot, double dEnergia);
    void MoverDisparos();
    void FusionarDisparos();
    bool MoverDisparo(SDisparo& disparo);
    void ActualizarRobot(int nRobot);
    void BarrerRadar(int nRobot);
    void MoverRobot(int nRobot);
    bool ResolverTramo(int nRobot, double& dFraccion);
    bool SeAcercan(int nRobot, int nOtro) const;
    void ChocarConPared(int nRobot, const SContacto& contacto);
    void ChocarConRobot(int nRobot, int nOtro);
    void TocarObjetos(int nRobot, double dX0, double dY0);
    void RetirarMuertos();
    void GenerarObjetos();
    void TerminarJuego();
    void EntregarMensajes();
    void Grabar();

    // Messages.
    // A message as the protocol table shapes it; the values its arguments
    // do not take are left out.
    void Enviar(int nRobot, TMensajeArena eMensaje, double dA = 0, double dB = 0, double dC = 0);
    void EnviarColision(int nRobot, int nObjeto, double dDirX, double dDirY);
    void ParsearComandos(int nRobot);
    void AplicarLinea(int nRobot, const char* pLinea, const char* pFin);
    void Girar(int nRobot, int nPartes, double dVelocidad);
    // RotateTo (bAbsoluto) and RotateAmount: the parts turn toward the angle
    // (relative to the body for cannon and radar) and stop there.
    void GirarHasta(int nRobot, int nPartes, double dVelocidad, double dAngulo, bool bAbsoluto);
    void Barrer(int nRobot, int nPartes, double dVelocidad, double dDerecha, double dIzquierda);
    // Turns one part for a step in its mode; the RotationReached it is due.
    void AvanzarGiro(int nRobot, int nParte, double& dAngulo, double& dGiro, double dPaso);
    void DecidirGuion(int nRobot);

    SConfigPartida m_config;
    CGeometria m_geometria;
    CGenerador m_generador;
    std::vector<SRobot> m_vRobots;
    std::vector<SDisparo> m_vDisparos;
    std::vector<SObjeto> m_vGalletas;
    std::vector<SObjeto> m_vMinas;
    CGrabacion* m_pGrabacion;
    double m_dTiempo;
    double m_dPaso;  // of the current update
    int m_nPaso;
    int m_nPasosMax;
    int m_nJuego;
    int m_nVivos;
    int m_nRobotsJuego;
    bool m_bJuegoTerminado;
};

#endif
