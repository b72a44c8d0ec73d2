#include "CPartida.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "CGrabacion.h"
#include "GeneradorArenas.h"
#include "Guiones.h"
#include "LectorArena.h"

#define ERROR_PARTIDA(texto) std::fprintf(stderr, "ERROR (src/arena/CPartida.cpp,%d): %s\n", __LINE__, texto)

namespace {

const double kSinImpacto = 2.0;
const double kSinRadar = 1e10;
const size_t kMaxDisparosPendientes = 16;
const int kIntentosLugar = 100;
// A robot must get a place: in an arena whose free space is a small part of
// its boundary the draws go on longer, then a grid of candidate places is
// searched, so that a game never fails to start while room is left.
const int kIntentosLugarRobot = 20000;
const double kPasoRejillaLugar = 0.05;
const double kMaxPasosJuego = 1e9;

double Cuadrado(double d) { return d * d; }

// Earliest fraction s in [0, 1] at which a circle moving from p by D touches
// a still circle at c (radii summed in dRadio); kSinImpacto if it does not.
double ImpactoCirculos(double dPX, double dPY, double dDX, double dDY, double dCX, double dCY, double dRadio)
{
    const double dWX = dPX - dCX;
    const double dWY = dPY - dCY;
    const double dA = dDX * dDX + dDY * dDY;
    const double dB = dWX * dDX + dWY * dDY;
    const double dC = dWX * dWX + dWY * dWY - dRadio * dRadio;
    if (dB >= 0 || dA <= 0)
        return kSinImpacto;  // not approaching
    if (dC <= 0)
        return 0.0;  // already touching
    const double dDisc = dB * dB - dA * dC;
    if (dDisc < 0)
        return kSinImpacto;
    const double dS = (-dB - std::sqrt(dDisc)) / dA;
    return dS <= 1.0 ? std::max(0.0, dS) : kSinImpacto;
}

// Distance from c to the segment p0-p1.
double DistanciaSegmento(double dX0, double dY0, double dX1, double dY1, double dCX, double dCY)
{
    const double dDX = dX1 - dX0;
    const double dDY = dY1 - dY0;
    const double dL2 = dDX * dDX + dDY * dDY;
    double dT = 0;
    if (dL2 > 0)
        dT = std::min(1.0, std::max(0.0, ((dCX - dX0) * dDX + (dCY - dY0) * dDY) / dL2));
    return std::sqrt(Cuadrado(dX0 + dT * dDX - dCX) + Cuadrado(dY0 + dT * dDY - dCY));
}

// Where a circle moving along the segment p0-p1 first comes within dRadio
// of c; false if it never does.
bool PrimerToque(double dX0, double dY0, double dX1, double dY1, double dCX, double dCY, double dRadio, double& dPX,
                 double& dPY)
{
    if (DistanciaSegmento(dX0, dY0, dX1, dY1, dCX, dCY) >= dRadio)
        return false;
    double dS = ImpactoCirculos(dX0, dY0, dX1 - dX0, dY1 - dY0, dCX, dCY, dRadio);
    if (dS > 1.0)
        dS = 0;  // within reach from the start
    dPX = dX0 + dS * (dX1 - dX0);
    dPY = dY0 + dS * (dY1 - dY0);
    return true;
}

bool LeerReal(const char* pTexto, size_t nLong, double& dValor)
{
    char szTexto[64];
    if (nLong == 0 || nLong >= sizeof(szTexto))
        return false;
    std::memcpy(szTexto, pTexto, nLong);
    szTexto[nLong] = '\0';
    char* pFin = nullptr;
    const double d = std::strtod(szTexto, &pFin);
    if (pFin != szTexto + nLong || !std::isfinite(d))
        return false;
    dValor = d;
    return true;
}

bool LeerEntero(const char* pTexto, size_t nLong, long& nValor)
{
    char szTexto[32];
    if (nLong == 0 || nLong >= sizeof(szTexto))
        return false;
    std::memcpy(szTexto, pTexto, nLong);
    szTexto[nLong] = '\0';
    char* pFin = nullptr;
    const long n = std::strtol(szTexto, &pFin, 10);
    if (pFin != szTexto + nLong)
        return false;
    nValor = n;
    return true;
}

bool EsEspacio(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

CPartida::CPartida()
    : m_pGrabacion(nullptr),
      m_dTiempo(0),
      m_dPaso(0),
      m_nPaso(0),
      m_nPasosMax(0),
      m_nJuego(-1),
      m_nVivos(0),
      m_nRobotsJuego(0),
      m_bJuegoTerminado(true)
{}

CPartida::~CPartida() { Limpiar(); }

void CPartida::Limpiar()
{
    delete m_pGrabacion;
    m_pGrabacion = nullptr;
    m_config = SConfigPartida();
    m_geometria.Limpiar();
    m_generador.Sembrar(m_config.nSemilla);
    m_vRobots.clear();
    m_vDisparos.clear();
    m_vGalletas.clear();
    m_vMinas.clear();
    m_dTiempo = 0;
    m_dPaso = 0;
    m_nPaso = 0;
    m_nPasosMax = 0;
    m_nJuego = -1;
    m_nVivos = 0;
    m_nRobotsJuego = 0;
    m_bJuegoTerminado = true;
}

bool CPartida::Configurar(const SConfigPartida& config)
{
    if (!(config.dPaso > 0 && config.dPaso <= 0.1)) {
        ERROR_PARTIDA("Paso de tiempo fuera de (0, 0.1]");
        return false;
    }
    if (!(config.dTiempoMaximo > 0 && config.dTiempoMaximo <= 1e6)) {
        ERROR_PARTIDA(
            "Tiempo m"
            "\xE1"
            "ximo de juego no v"
            "\xE1"
            "lido");
        return false;
    }
    if (config.nJuegos < 1) {
        ERROR_PARTIDA("Hace falta al menos un juego");
        return false;
    }
    // The steps of a game are counted in an int, and time must move on
    // with each of them.
    if (config.dTiempoMaximo / config.dPaso > kMaxPasosJuego ||
        config.dTiempoMaximo + config.dPaso == config.dTiempoMaximo) {
        ERROR_PARTIDA(
            "Paso de tiempo demasiado peque"
            "\xF1"
            "o para contar los pasos del juego");
        return false;
    }
    std::string sTexto, sNombre = config.sNombreArena, sError;
    if (config.eArena == Arena_Circulo) {
        sTexto = TextoArenaCirculo();
        sNombre = "circulo";
    } else if (config.eArena == Arena_Cuadrado) {
        sTexto = TextoArenaCuadrado();
        sNombre = "cuadrado";
    } else if (config.eArena == Arena_Archivo) {
        sTexto = config.sArena;
    } else if (config.eArena == Arena_Aleatoria) {
        sTexto = GenerarArena(config.nSemilla);
        sNombre = "aleatoria";
    } else {
        ERROR_PARTIDA("Tipo de arena desconocido");
        return false;
    }
    if (!LeerArena(sTexto, sNombre, m_geometria, sError)) {
        ERROR_PARTIDA(sError.c_str());
        return false;
    }
    m_config = config;
    m_config.sNombreArena = sNombre;
    return true;
}

int CPartida::AddRobot(const std::string& sNombre, const SControlador& controlador)
{
    if (GetNumRobots() >= kMaxRobotsPartida) {
        ERROR_PARTIDA(
            "La partida ya tiene el m"
            "\xE1"
            "ximo de robots");
        return -1;
    }
    SRobot robot;
    robot.sNombre = sNombre;
    robot.controlador = controlador;
    robot.vdDisparosPendientes.reserve(kMaxDisparosPendientes);
    robot.sMensajes.reserve(1024);
    robot.sComandos.reserve(256);
    m_vRobots.push_back(robot);
    return static_cast<int>(m_vRobots.size()) - 1;
}

bool CPartida::Jugar()
{
    if (!EmpezarSecuencia())
        return false;
    bool bBien = true;
    for (int nJuego = 0; nJuego < m_config.nJuegos && bBien; ++nJuego) {
        bBien = EmpezarJuego();
        while (Actualizar()) {
        }
    }
    TerminarSecuencia();
    return bBien;
}

bool CPartida::EmpezarSecuencia()
{
    if (m_vRobots.empty()) {
        ERROR_PARTIDA("La partida no tiene robots");
        return false;
    }
    for (const SRobot& robot : m_vRobots) {
        if (robot.controlador.eTipo == Controlador_Texto && !robot.controlador.fTexto) {
            ERROR_PARTIDA(
                "Controlador de texto sin funci"
                "\xF3"
                "n");
            return false;
        }
    }
    m_generador.Sembrar(m_config.nSemilla);
    m_vDisparos.reserve(256);
    m_vGalletas.reserve(64);
    m_vMinas.reserve(64);
    m_nJuego = -1;
    delete m_pGrabacion;
    m_pGrabacion = nullptr;
    std::vector<std::string> vsNombres;
    for (SRobot& robot : m_vRobots) {
        robot.resultado = SResultadoRobot();
        robot.bVivo = false;
        vsNombres.push_back(robot.sNombre);
    }
    if (m_config.bGrabar) {
        m_pGrabacion = new CGrabacion();
        m_pGrabacion->Empezar(m_config.sNombreArena, m_geometria, m_config.dPaso, vsNombres);
    }
    m_bJuegoTerminado = true;
    for (int i = 0; i < GetNumRobots(); ++i)
        Enviar(i, MensajeArena_Initialize, 1);
    EntregarMensajes();
    return true;
}

bool CPartida::EmpezarJuego()
{
    ++m_nJuego;
    m_vDisparos.clear();
    m_vGalletas.clear();
    m_vMinas.clear();
    m_dTiempo = 0;
    m_dPaso = m_config.dPaso;
    m_nPaso = 0;
    m_nPasosMax = static_cast<int>(std::ceil(m_config.dTiempoMaximo / m_config.dPaso - 1e-9));
    m_nRobotsJuego = GetNumRobots();
    m_bJuegoTerminado = false;
    for (SRobot& r : m_vRobots) {
        r.dX = r.dY = r.dVX = r.dVY = 0;
        r.dRumbo = r.dCanyon = r.dRadar = 0;
        r.dGiroCuerpo = r.dGiroCanyon = r.dGiroRadar = 0;
        for (SModoGiro& modo : r.vModoGiro)
            modo = SModoGiro();
        r.dAceleracion = r.dFreno = r.dReserva = 0;
        r.dEnergia = kEnergiaInicial;
        r.bVivo = false;
        r.vdDisparosPendientes.clear();
        r.percepcion = SPercepcion();
        r.memoria = SMemoriaGuion();
        r.resultado.vdPuntosJuego.push_back(0);
        r.resultado.vnPosicionJuego.push_back(0);
    }
    for (SRobot& r : m_vRobots) {
        if (!BuscarLugarLibre(kMargenLibre, r.dX, r.dY, kIntentosLugarRobot) &&
            !BuscarEnRejilla(kMargenLibre, r.dX, r.dY)) {
            ERROR_PARTIDA("No caben todos los robots en la arena");
            for (SRobot& o : m_vRobots)
                o.bVivo = false;
            m_bJuegoTerminado = true;
            return false;
        }
        r.dRumbo = m_generador.Uniforme(0, 2 * kPi);
        r.bVivo = true;
    }
    m_nVivos = m_nRobotsJuego;
    // Game options in the arena's numbering; 14 (coordinates) = absolute.
    const double vdOpciones[15] = {kGiroMaxCuerpo,
                                   kGiroMaxCanyon,
                                   kGiroMaxRadar,
                                   kAceleracionMax,
                                   kAceleracionMin,
                                   kEnergiaInicial,
                                   kEnergiaMaxima,
                                   kNivelEnergia,
                                   kVelocidadDisparo,
                                   kEnergiaDisparoMin,
                                   kEnergiaDisparoMax,
                                   kRecargaDisparo,
                                   m_config.dTiempoMaximo,
                                   0,
                                   2};
    for (int i = 0; i < GetNumRobots(); ++i) {
        m_vRobots[i].percepcion.nRobotsQuedan = m_nVivos;
        m_vRobots[i].percepcion.dEnergia = kEnergiaInicial;
        Enviar(i, MensajeArena_GameStarts);
        Enviar(i, MensajeArena_RobotsLeft, m_nVivos);
        for (int k = 0; k < 15; ++k)
            Enviar(i, MensajeArena_GameOption, k, vdOpciones[k]);
    }
    Grabar();
    EntregarMensajes();
    return true;
}

bool CPartida::Actualizar()
{
    if (m_bJuegoTerminado)
        return false;
    m_dPaso = m_config.dPaso;
    m_dTiempo = (m_nPaso + 1) * m_dPaso;  // no drift over long games
    return Avanzar();
}

bool CPartida::ActualizarConPaso(double dPaso)
{
    if (m_bJuegoTerminado)
        return false;
    if (!(dPaso > 0 && dPaso <= 0.1) || m_dTiempo + dPaso == m_dTiempo) {
        ERROR_PARTIDA("Paso de tiempo fuera de (0, 0.1]");
        return false;
    }
    m_dPaso = dPaso;
    m_dTiempo += dPaso;
    return Avanzar();
}

bool CPartida::Avanzar()
{
    ++m_nPaso;
    for (SRobot& r : m_vRobots) {
        r.percepcion.nImpactos = 0;
        r.percepcion.bChoquePared = false;
        r.percepcion.bChoqueRobot = false;
        r.percepcion.nRadarObjeto = -1;
    }
    AplicarComandos();
    MoverDisparos();
    for (int i = 0; i < GetNumRobots(); ++i) {
        if (m_vRobots[i].bVivo)
            ActualizarRobot(i);
    }
    RetirarMuertos();
    if (m_config.bObjetosAlAzar)
        GenerarObjetos();
    if (m_nVivos <= 1 || m_nPaso >= m_nPasosMax || m_dTiempo >= m_config.dTiempoMaximo - 1e-9)
        TerminarJuego();
    Grabar();
    EntregarMensajes();
    return !m_bJuegoTerminado;
}

void CPartida::TerminarSecuencia()
{
    for (int i = 0; i < GetNumRobots(); ++i)
        Enviar(i, MensajeArena_ExitRobot);
    m_bJuegoTerminado = true;
    EntregarMensajes();
}

// ---------------------------------------------------------------- geometry

double CPartida::DistanciaPared(double dPX, double dPY, double dUX, double dUY) const
{
    SContacto contacto;
    return m_geometria.Cruce(dPX, dPY, dUX, dUY, 0.0, kSinRadar, contacto) ? contacto.dDistancia : -1.0;
}

// Nothing within the margin: walls, robots, shots, cookies, mines; and
// every exclusion point hidden from p by a wall.
bool CPartida::LugarLibre(double dX, double dY, double dMargen) const
{
    if (!m_geometria.LibreDeParedes(dX, dY, dMargen))
        return false;
    for (const SRobot& r : m_vRobots) {
        if (r.bVivo && Cuadrado(r.dX - dX) + Cuadrado(r.dY - dY) <= Cuadrado(kRadioRobot + dMargen))
            return false;
    }
    for (const SDisparo& d : m_vDisparos) {
        if (Cuadrado(d.dX - dX) + Cuadrado(d.dY - dY) <= Cuadrado(kRadioDisparo + dMargen))
            return false;
    }
    for (const std::vector<SObjeto>* pLista : {&m_vGalletas, &m_vMinas}) {
        for (const SObjeto& o : *pLista) {
            if (Cuadrado(o.dX - dX) + Cuadrado(o.dY - dY) <= Cuadrado(kRadioObjeto + dMargen))
                return false;
        }
    }
    return m_geometria.OcultaExclusiones(dX, dY, dMargen);
}

// Draws places in the arena's boundary until one is free: two draws per
// try, at most nIntentos tries.
bool CPartida::BuscarLugarLibre(double dMargen, double& dX, double& dY, int nIntentos)
{
    for (int nIntento = 0; nIntento < nIntentos; ++nIntento) {
        dX = m_generador.Uniforme(m_geometria.GetX1(), m_geometria.GetX2());
        dY = m_generador.Uniforme(m_geometria.GetY1(), m_geometria.GetY2());
        if (LugarLibre(dX, dY, dMargen))
            return true;
    }
    return false;
}

// Every free place of a fine grid over the boundary; one of them drawn.
bool CPartida::BuscarEnRejilla(double dMargen, double& dX, double& dY)
{
    std::vector<std::pair<double, double>> vLibres;
    for (double dFX = m_geometria.GetX1(); dFX <= m_geometria.GetX2(); dFX += kPasoRejillaLugar) {
        for (double dFY = m_geometria.GetY1(); dFY <= m_geometria.GetY2(); dFY += kPasoRejillaLugar) {
            if (LugarLibre(dFX, dFY, dMargen))
                vLibres.emplace_back(dFX, dFY);
        }
    }
    if (vLibres.empty())
        return false;
    const size_t n = std::min(vLibres.size() - 1, static_cast<size_t>(m_generador.Uniforme01() * vLibres.size()));
    dX = vLibres[n].first;
    dY = vLibres[n].second;
    return true;
}

// Earliest fraction of the move D at which a disc of radius dRadio meets a
// wall; kSinImpacto if none.
double CPartida::ImpactoPared(double dPX, double dPY, double dDX, double dDY, double dRadio, SContacto& contacto) const
{
    const double dLargo = std::sqrt(dDX * dDX + dDY * dDY);
    if (!(dLargo > 0) || !m_geometria.Cruce(dPX, dPY, dDX / dLargo, dDY / dLargo, dRadio, dLargo, contacto))
        return kSinImpacto;
    return contacto.dDistancia / dLargo;
}

// ---------------------------------------------------------------- update

void CPartida::AplicarComandos()
{
    for (int i = 0; i < GetNumRobots(); ++i) {
        SRobot& r = m_vRobots[i];
        if (r.bVivo) {
            for (double dEnergia : r.vdDisparosPendientes)
                Disparar(i, dEnergia);
        }
        r.vdDisparosPendientes.clear();
    }
}

void CPartida::Disparar(int nRobot, double dEnergia)
{
    SRobot& r = m_vRobots[nRobot];
    dEnergia = std::min(dEnergia, r.dReserva);
    if (dEnergia < kEnergiaDisparoMin)
        return;
    r.dReserva -= dEnergia;
    r.dEnergia -= CosteDisparo(dEnergia, m_nVivos);
    const double dAngulo = r.dRumbo + r.dCanyon;
    const double dUX = std::cos(dAngulo);
    const double dUY = std::sin(dAngulo);
    SDisparo d;
    d.dX = r.dX + kSalidaDisparo * dUX;
    d.dY = r.dY + kSalidaDisparo * dUY;
    d.dVX = r.dVX + kVelocidadDisparo * dUX;
    d.dVY = r.dVY + kVelocidadDisparo * dUY;
    d.dEnergia = dEnergia;
    d.nTirador = nRobot;
    m_vDisparos.push_back(d);
    r.resultado.nDisparos++;
    r.memoria.dUltimoDisparo = m_dTiempo;
    if (m_pGrabacion)
        m_pGrabacion->AddEvento(Evento_Disparo, nRobot, d.dX, d.dY, dEnergia);
}

void CPartida::MoverDisparos()
{
    FusionarDisparos();
    size_t nQuedan = 0;
    for (size_t i = 0; i < m_vDisparos.size(); ++i) {
        if (m_vDisparos[i].dEnergia <= 0)
            continue;  // merged into another
        if (MoverDisparo(m_vDisparos[i]))
            m_vDisparos[nQuedan++] = m_vDisparos[i];
    }
    m_vDisparos.resize(nQuedan);
}

// Two shots that meet during this step become one, carrying both energies
// and their energy-weighted position and velocity.
void CPartida::FusionarDisparos()
{
    const double dDist = 2 * kRadioDisparo;
    const double dPaso = m_dPaso;
    for (size_t i = 0; i < m_vDisparos.size(); ++i) {
        SDisparo& a = m_vDisparos[i];
        for (size_t j = i + 1; j < m_vDisparos.size() && a.dEnergia > 0; ++j) {
            SDisparo& b = m_vDisparos[j];
            if (b.dEnergia <= 0)
                continue;
            const double dWX = b.dX - a.dX, dWY = b.dY - a.dY;
            const double dRX = b.dVX - a.dVX, dRY = b.dVY - a.dVY;
            const double dR2 = dRX * dRX + dRY * dRY;
            double dT = 0;
            if (dR2 > 0)
                dT = std::min(dPaso, std::max(0.0, -(dWX * dRX + dWY * dRY) / dR2));
            if (Cuadrado(dWX + dT * dRX) + Cuadrado(dWY + dT * dRY) >= dDist * dDist)
                continue;
            const double dE = a.dEnergia + b.dEnergia;
            const double dPa = a.dEnergia / dE, dPb = b.dEnergia / dE;
            a.dX = dPa * a.dX + dPb * b.dX;
            a.dY = dPa * a.dY + dPb * b.dY;
            a.dVX = dPa * a.dVX + dPb * b.dVX;
            a.dVY = dPa * a.dVY + dPb * b.dVY;
            a.dEnergia = dE;
            if (a.nTirador != b.nTirador)
                a.nTirador = -1;
            b.dEnergia = 0;
        }
    }
}

// Moves one shot for a step; false when it hit something and is gone.
bool CPartida::MoverDisparo(SDisparo& d)
{
    const double dDX = d.dVX * m_dPaso;
    const double dDY = d.dVY * m_dPaso;
    SContacto contacto;
    double dMejor = ImpactoPared(d.dX, d.dY, dDX, dDY, kRadioDisparo, contacto);
    int nObjeto = ObjetoArena_Pared;
    int nIndice = -1;
    for (int i = 0; i < GetNumRobots(); ++i) {
        const SRobot& r = m_vRobots[i];
        if (!r.bVivo)
            continue;
        const double dS = ImpactoCirculos(d.dX, d.dY, dDX, dDY, r.dX, r.dY, kRadioRobot + kRadioDisparo);
        if (dS < dMejor) {
            dMejor = dS;
            nObjeto = ObjetoArena_Robot;
            nIndice = i;
        }
    }
    const std::vector<SObjeto>* vpListas[2] = {&m_vGalletas, &m_vMinas};
    for (int nLista = 0; nLista < 2; ++nLista) {
        const std::vector<SObjeto>& v = *vpListas[nLista];
        for (size_t k = 0; k < v.size(); ++k) {
            const double dS = ImpactoCirculos(d.dX, d.dY, dDX, dDY, v[k].dX, v[k].dY, kRadioObjeto + kRadioDisparo);
            if (dS < dMejor) {
                dMejor = dS;
                nObjeto = nLista == 0 ? ObjetoArena_Galleta : ObjetoArena_Mina;
                nIndice = static_cast<int>(k);
            }
        }
    }
    if (dMejor > 1.0) {
        d.dX += dDX;
        d.dY += dDY;
        return true;
    }
    d.dX += dMejor * dDX;
    d.dY += dMejor * dDY;
    if (nObjeto == ObjetoArena_Robot) {
        SRobot& r = m_vRobots[nIndice];
        r.dEnergia -= d.dEnergia;
        r.percepcion.nImpactos++;
        EnviarColision(nIndice, ObjetoArena_Disparo, d.dX - r.dX, d.dY - r.dY);
        if (d.nTirador >= 0 && d.nTirador != nIndice) {
            m_vRobots[d.nTirador].resultado.dDanyoCausado += d.dEnergia;
            m_vRobots[d.nTirador].resultado.nAciertos++;
        }
        if (m_pGrabacion)
            m_pGrabacion->AddEvento(Evento_Impacto, nIndice, d.dX, d.dY, d.dEnergia);
    } else if (nObjeto == ObjetoArena_Galleta || nObjeto == ObjetoArena_Mina) {
        std::vector<SObjeto>& v = nObjeto == ObjetoArena_Galleta ? m_vGalletas : m_vMinas;
        if (m_pGrabacion) {
            m_pGrabacion->AddEvento(Evento_Destruido, -1, v[nIndice].dX, v[nIndice].dY, v[nIndice].dEnergia);
        }
        v.erase(v.begin() + nIndice);
    }
    return false;
}

void CPartida::ActualizarRobot(int nRobot)
{
    SRobot& r = m_vRobots[nRobot];
    const double dPaso = m_dPaso;
    AvanzarGiro(nRobot, 0, r.dRumbo, r.dGiroCuerpo, dPaso);
    AvanzarGiro(nRobot, 1, r.dCanyon, r.dGiroCanyon, dPaso);
    AvanzarGiro(nRobot, 2, r.dRadar, r.dGiroRadar, dPaso);
    r.dReserva = std::min(kEnergiaDisparoMax, r.dReserva + kRecargaDisparo * dPaso);
    BarrerRadar(nRobot);
    if (r.controlador.eTipo != Controlador_Texto) {
        const double dPared = DistanciaPared(r.dX, r.dY, std::cos(r.dRumbo), std::sin(r.dRumbo));
        r.percepcion.dParedDelante = dPared >= 0 ? dPared : kSinRadar;
        r.percepcion.pGeometria = &m_geometria;
    }
    const double dVelocidad = std::sqrt(r.dVX * r.dVX + r.dVY * r.dVY);
    SPercepcion& p = r.percepcion;
    p.dX = r.dX;
    p.dY = r.dY;
    p.dRumbo = r.dRumbo;
    p.dTiempo = m_dTiempo;
    p.dVelocidad = dVelocidad;
    p.dAnguloCanyon = r.dCanyon;
    p.dPaso = dPaso;
    Enviar(nRobot, MensajeArena_Coordinates, r.dX, r.dY, r.dRumbo);
    Enviar(nRobot, MensajeArena_Info, m_dTiempo, dVelocidad, r.dCanyon);
    ActualizarVelocidad(r.dVX, r.dVY, r.dRumbo, r.dAceleracion, r.dFreno, dPaso);
    MoverRobot(nRobot);
}

void CPartida::BarrerRadar(int nRobot)
{
    SRobot& r = m_vRobots[nRobot];
    const double dAngulo = r.dRumbo + r.dRadar;
    const double dUX = std::cos(dAngulo);
    const double dUY = std::sin(dAngulo);
    double dMejor = DistanciaPared(r.dX, r.dY, dUX, dUY);
    int nObjeto = ObjetoArena_Pared;
    if (dMejor < 0) {
        dMejor = kSinRadar;
        nObjeto = -1;
    }
    int nVisto = -1;
    for (int i = 0; i < GetNumRobots(); ++i) {
        const SRobot& o = m_vRobots[i];
        if (i == nRobot || !o.bVivo)
            continue;
        const double dT = RayoCirculo(r.dX, r.dY, dUX, dUY, o.dX, o.dY, kRadioRobot);
        if (dT >= 0 && dT < dMejor) {
            dMejor = dT;
            nObjeto = ObjetoArena_Robot;
            nVisto = i;
        }
    }
    for (const SDisparo& d : m_vDisparos) {
        const double dT = RayoCirculo(r.dX, r.dY, dUX, dUY, d.dX, d.dY, kRadioDisparo);
        if (dT >= 0 && dT < dMejor) {
            dMejor = dT;
            nObjeto = ObjetoArena_Disparo;
        }
    }
    for (const SObjeto& o : m_vGalletas) {
        const double dT = RayoCirculo(r.dX, r.dY, dUX, dUY, o.dX, o.dY, kRadioObjeto);
        if (dT >= 0 && dT < dMejor) {
            dMejor = dT;
            nObjeto = ObjetoArena_Galleta;
        }
    }
    for (const SObjeto& o : m_vMinas) {
        const double dT = RayoCirculo(r.dX, r.dY, dUX, dUY, o.dX, o.dY, kRadioObjeto);
        if (dT >= 0 && dT < dMejor) {
            dMejor = dT;
            nObjeto = ObjetoArena_Mina;
        }
    }
    SPercepcion& p = r.percepcion;
    p.dRadarDistancia = dMejor;
    p.nRadarObjeto = nObjeto;
    p.dRadarAngulo = r.dRadar;
    Enviar(nRobot, MensajeArena_Radar, dMejor, nObjeto, r.dRadar);
    if (nVisto >= 0) {
        p.dEnergiaVista = EnergiaInformada(m_vRobots[nVisto].dEnergia);
        Enviar(nRobot, MensajeArena_RobotInfo, p.dEnergiaVista, 0);
    }
}

// Moves with swept collisions: up to a few legs, each ending at the first
// contact, which is resolved before the rest of the step is flown.
void CPartida::MoverRobot(int nRobot)
{
    SRobot& r = m_vRobots[nRobot];
    const double dX0 = r.dX, dY0 = r.dY;
    double dFraccion = 1.0;
    int nRebotes = 0;
    while (dFraccion > 1e-9 && ResolverTramo(nRobot, dFraccion)) {
        if (++nRebotes > kMaxRebotesPaso) {
            r.dEnergia = 0;  // wedged: the real arena kills such a robot
            break;
        }
    }
    TocarObjetos(nRobot, dX0, dY0);
}

bool CPartida::ResolverTramo(int nRobot, double& dFraccion)
{
    SRobot& r = m_vRobots[nRobot];
    const double dDX = r.dVX * m_dPaso * dFraccion;
    const double dDY = r.dVY * m_dPaso * dFraccion;
    if (dDX * dDX + dDY * dDY < 1e-24)
        return false;
    SContacto contacto;
    double dMejor = ImpactoPared(r.dX, r.dY, dDX, dDY, kRadioRobot, contacto);
    int nOtro = -1;
    for (int i = 0; i < GetNumRobots(); ++i) {
        const SRobot& o = m_vRobots[i];
        if (i == nRobot || !o.bVivo)
            continue;
        const double dS = ImpactoCirculos(r.dX, r.dY, dDX, dDY, o.dX, o.dY, 2 * kRadioRobot);
        if (dS < dMejor) {
            dMejor = dS;
            nOtro = i;
        }
    }
    if (dMejor > 1.0) {
        r.dX += dDX;
        r.dY += dDY;
        dFraccion = 0;
        return false;
    }
    r.dX += dMejor * dDX;
    r.dY += dMejor * dDY;
    dFraccion *= 1.0 - dMejor;
    if (nOtro < 0) {
        ChocarConPared(nRobot, contacto);
        // Off the wall by a hair that grows with the step, as in the real
        // arena, before the rest of the step is flown.
        r.dX += contacto.dNX * m_dPaso * kEmpujeRebote;
        r.dY += contacto.dNY * m_dPaso * kEmpujeRebote;
        return true;
    }
    if (!SeAcercan(nRobot, nOtro)) {
        // The other robot moves away faster; it has not flown its step yet,
        // so this one waits at the contact instead of bouncing off it.
        dFraccion = 0;
        return false;
    }
    ChocarConRobot(nRobot, nOtro);
    return true;
}

bool CPartida::SeAcercan(int nRobot, int nOtro) const
{
    const SRobot& a = m_vRobots[nRobot];
    const SRobot& b = m_vRobots[nOtro];
    return (b.dVX - a.dVX) * (b.dX - a.dX) + (b.dVY - a.dVY) * (b.dY - a.dY) < 0;
}

void CPartida::ChocarConPared(int nRobot, const SContacto& contacto)
{
    SRobot& r = m_vRobots[nRobot];
    const double dNX = contacto.dNX, dNY = contacto.dNY;
    const SFigura& pared = m_geometria.GetFiguras()[contacto.nFigura];
    const bool bFrontal = EsFrontal(r.dRumbo, -dNX, -dNY);
    const double dDanyo = ChocarPared(r.dVX, r.dVY, dNX, dNY, pared.dRebote, pared.dDureza, bFrontal);
    r.dEnergia = std::min(kEnergiaMaxima, r.dEnergia - dDanyo);  // a wall bouncing over 1 gives energy
    r.percepcion.bChoquePared = true;
    EnviarColision(nRobot, ObjetoArena_Pared, -dNX, -dNY);
    if (m_pGrabacion)
        m_pGrabacion->AddEvento(Evento_Pared, nRobot, r.dX, r.dY, dDanyo);
}

void CPartida::ChocarConRobot(int nRobot, int nOtro)
{
    SRobot& a = m_vRobots[nRobot];
    SRobot& b = m_vRobots[nOtro];
    const double dL = std::sqrt(Cuadrado(b.dX - a.dX) + Cuadrado(b.dY - a.dY));
    const double dNX = dL > 0 ? (b.dX - a.dX) / dL : 1.0;
    const double dNY = dL > 0 ? (b.dY - a.dY) / dL : 0.0;
    double dDanyoA = 0, dDanyoB = 0;
    ChocarRobots(a.dVX, a.dVY, b.dVX, b.dVY, dNX, dNY, EsFrontal(a.dRumbo, dNX, dNY), EsFrontal(b.dRumbo, -dNX, -dNY),
                 dDanyoA, dDanyoB);
    a.dEnergia -= dDanyoA;
    b.dEnergia -= dDanyoB;
    a.percepcion.bChoqueRobot = true;
    b.percepcion.bChoqueRobot = true;
    EnviarColision(nRobot, ObjetoArena_Robot, dNX, dNY);
    EnviarColision(nOtro, ObjetoArena_Robot, -dNX, -dNY);
    if (m_pGrabacion) {
        m_pGrabacion->AddEvento(Evento_Choque, nRobot, a.dX, a.dY, dDanyoA);
        m_pGrabacion->AddEvento(Evento_Choque, nOtro, b.dX, b.dY, dDanyoB);
    }
}

// Cookies and mines touched anywhere along this step's path.
void CPartida::TocarObjetos(int nRobot, double dX0, double dY0)
{
    SRobot& r = m_vRobots[nRobot];
    const double dAlcance = kRadioRobot + kRadioObjeto;
    double dPX = 0, dPY = 0;  // where the robot touched it: the message's direction
    for (size_t k = 0; k < m_vGalletas.size();) {
        const SObjeto o = m_vGalletas[k];
        if (!PrimerToque(dX0, dY0, r.dX, r.dY, o.dX, o.dY, dAlcance, dPX, dPY)) {
            ++k;
            continue;
        }
        r.dEnergia = std::min(kEnergiaMaxima, r.dEnergia + o.dEnergia);
        m_vGalletas.erase(m_vGalletas.begin() + k);
        EnviarColision(nRobot, ObjetoArena_Galleta, o.dX - dPX, o.dY - dPY);
        if (m_pGrabacion)
            m_pGrabacion->AddEvento(Evento_Galleta, nRobot, o.dX, o.dY, o.dEnergia);
    }
    for (size_t k = 0; k < m_vMinas.size();) {
        const SObjeto o = m_vMinas[k];
        if (!PrimerToque(dX0, dY0, r.dX, r.dY, o.dX, o.dY, dAlcance, dPX, dPY)) {
            ++k;
            continue;
        }
        r.dEnergia -= o.dEnergia;
        m_vMinas.erase(m_vMinas.begin() + k);
        EnviarColision(nRobot, ObjetoArena_Mina, o.dX - dPX, o.dY - dPY);
        if (m_pGrabacion)
            m_pGrabacion->AddEvento(Evento_Mina, nRobot, o.dX, o.dY, o.dEnergia);
    }
}

// Robots at 0 energy or less leave together; those dying in the same
// update share the places they leave.
void CPartida::RetirarMuertos()
{
    int nMuertos = 0;
    for (const SRobot& r : m_vRobots) {
        if (r.bVivo && r.dEnergia <= 0)
            ++nMuertos;
    }
    if (nMuertos > 0) {
        const int nQuedan = m_nVivos - nMuertos;
        const double dPuntos = PuntosMuerte(m_nRobotsJuego, nQuedan, nMuertos);
        for (int i = 0; i < GetNumRobots(); ++i) {
            SRobot& r = m_vRobots[i];
            if (!r.bVivo || r.dEnergia > 0)
                continue;
            r.bVivo = false;
            r.resultado.dPuntos += dPuntos;
            r.resultado.vdPuntosJuego.back() = dPuntos;
            r.resultado.vnPosicionJuego.back() = nQuedan + 1;
            r.resultado.nPosicion = nQuedan + 1;
            r.resultado.dTiempoVivo += m_dTiempo;
            r.vdDisparosPendientes.clear();
            Enviar(i, MensajeArena_Dead);
            if (m_pGrabacion)
                m_pGrabacion->AddEvento(Evento_Muerte, i, r.dX, r.dY, dPuntos);
        }
        m_nVivos = nQuedan;
        for (int i = 0; i < GetNumRobots(); ++i) {
            if (!m_vRobots[i].bVivo)
                continue;
            m_vRobots[i].percepcion.nRobotsQuedan = m_nVivos;
            Enviar(i, MensajeArena_RobotsLeft, m_nVivos);
        }
    }
    for (int i = 0; i < GetNumRobots(); ++i) {
        SRobot& r = m_vRobots[i];
        if (!r.bVivo)
            continue;
        r.percepcion.dEnergia = EnergiaInformada(r.dEnergia);
        Enviar(i, MensajeArena_Energy, r.percepcion.dEnergia);
    }
}

// One roll for a cookie, then one for a mine. A success draws the energy,
// then places until free.
void CPartida::GenerarObjetos()
{
    const double dMargen = 2 * kRadioObjeto;
    double dX = 0, dY = 0;
    if (m_generador.Uniforme01() < m_dPaso * kProbGalleta) {
        const double dEnergia = m_generador.Uniforme(kGalletaMin, kGalletaMax);
        if (BuscarLugarLibre(dMargen, dX, dY, kIntentosLugar))
            m_vGalletas.push_back(SObjeto{dX, dY, dEnergia});
    }
    if (m_generador.Uniforme01() < m_dPaso * kProbMina) {
        const double dEnergia = m_generador.Uniforme(kMinaMin, kMinaMax);
        if (BuscarLugarLibre(dMargen, dX, dY, kIntentosLugar))
            m_vMinas.push_back(SObjeto{dX, dY, dEnergia});
    }
}

void CPartida::TerminarJuego()
{
    const double dPuntos = PuntosSupervivencia(m_nRobotsJuego, m_nVivos);
    for (int i = 0; i < GetNumRobots(); ++i) {
        SRobot& r = m_vRobots[i];
        if (!r.bVivo)
            continue;
        r.resultado.dPuntos += dPuntos;
        r.resultado.vdPuntosJuego.back() = dPuntos;
        r.resultado.vnPosicionJuego.back() = 1;
        r.resultado.nPosicion = 1;
        r.resultado.dTiempoVivo += m_dTiempo;
        r.resultado.dEnergiaRestante += r.dEnergia;
        Enviar(i, MensajeArena_Dead);
        Enviar(i, MensajeArena_GameFinishes);
    }
    m_bJuegoTerminado = true;
}

void CPartida::EntregarMensajes()
{
    for (int i = 0; i < GetNumRobots(); ++i) {
        SRobot& r = m_vRobots[i];
        const bool bObedece = r.bVivo && !m_bJuegoTerminado;
        if (r.controlador.eTipo == Controlador_Texto) {
            if (r.sMensajes.empty())
                continue;
            r.sComandos.clear();
            r.controlador.fTexto(r.sMensajes, r.sComandos);
            r.sMensajes.clear();
            if (bObedece)
                ParsearComandos(i);
            // Gone: it dies with the next update, as robots do.
            if (bObedece && r.controlador.fActivo && !r.controlador.fActivo())
                r.dEnergia = 0;
        } else if (bObedece) {
            DecidirGuion(i);
        }
    }
}

void CPartida::Grabar()
{
    if (!m_pGrabacion)
        return;
    m_pGrabacion->AddCuadro(m_nJuego, m_dTiempo);
    for (const SRobot& r : m_vRobots) {
        m_pGrabacion->AddRobot(r.dX, r.dY, r.dRumbo, r.dRumbo + r.dCanyon, r.dRumbo + r.dRadar,
                               std::max(0.0, r.dEnergia), r.bVivo);
    }
    for (const SDisparo& d : m_vDisparos)
        m_pGrabacion->AddDisparo(d.dX, d.dY, d.dEnergia);
    for (const SObjeto& o : m_vGalletas)
        m_pGrabacion->AddGalleta(o.dX, o.dY);
    for (const SObjeto& o : m_vMinas)
        m_pGrabacion->AddMina(o.dX, o.dY);
}

std::vector<SResultadoRobot> CPartida::GetResultados() const
{
    std::vector<SResultadoRobot> vResultados;
    for (const SRobot& r : m_vRobots)
        vResultados.push_back(r.resultado);
    return vResultados;
}

// ---------------------------------------------------------------- by hand

void CPartida::ColocarRobot(int nRobot, double dX, double dY, double dRumbo)
{
    SRobot& r = m_vRobots[nRobot];
    r.dX = dX;
    r.dY = dY;
    r.dRumbo = dRumbo;
}

void CPartida::AddGalleta(double dX, double dY, double dEnergia) { m_vGalletas.push_back(SObjeto{dX, dY, dEnergia}); }

void CPartida::AddMina(double dX, double dY, double dEnergia) { m_vMinas.push_back(SObjeto{dX, dY, dEnergia}); }

void CPartida::AddDisparo(double dX, double dY, double dVX, double dVY, double dEnergia, int nTirador)
{
    m_vDisparos.push_back(SDisparo{dX, dY, dVX, dVY, dEnergia, nTirador});
}

// ---------------------------------------------------------------- messages

void CPartida::Enviar(int nRobot, TMensajeArena eMensaje, double dA, double dB, double dC)
{
    SRobot& r = m_vRobots[nRobot];
    if (r.controlador.eTipo != Controlador_Texto)
        return;
    const double vdValores[3] = {dA, dB, dC};
    AnyadirMensaje(r.sMensajes, eMensaje, vdValores, 3);
}

// "Collision kind angle": angle of the other object relative to the heading.
void CPartida::EnviarColision(int nRobot, int nObjeto, double dDirX, double dDirY)
{
    const SRobot& r = m_vRobots[nRobot];
    // Not wrapped, like the heading. Straight behind is +pi, never -pi from
    // a negative zero, and no negative zero is printed.
    const double dAngulo = std::atan2(dDirY + 0.0, dDirX + 0.0) - r.dRumbo + 0.0;
    Enviar(nRobot, MensajeArena_Collision, nObjeto, dAngulo);
}

void CPartida::ParsearComandos(int nRobot)
{
    const std::string& s = m_vRobots[nRobot].sComandos;
    const char* p = s.data();
    const char* pFin = p + s.size();
    while (p < pFin) {
        const char* pLinea = p;
        while (p < pFin && *p != '\n')
            ++p;
        AplicarLinea(nRobot, pLinea, p);
        if (p < pFin)
            ++p;
    }
}

// One command line; anything malformed is ignored as a whole.
void CPartida::AplicarLinea(int nRobot, const char* p, const char* pFin)
{
    const char* vpPalabra[5];
    size_t vnLong[5];
    int nPalabras = 0;
    while (p < pFin && nPalabras < 5) {
        while (p < pFin && EsEspacio(*p))
            ++p;
        if (p >= pFin)
            break;
        vpPalabra[nPalabras] = p;
        while (p < pFin && !EsEspacio(*p))
            ++p;
        vnLong[nPalabras] = static_cast<size_t>(p - vpPalabra[nPalabras]);
        ++nPalabras;
    }
    TComandoRobot eComando;
    if (nPalabras < 2 || !BuscarComandoRobot(vpPalabra[0], vnLong[0], eComando) ||
        nPalabras - 1 < kComandosRobot[eComando].nArgumentos)
        return;
    SRobot& r = m_vRobots[nRobot];
    double dValor = 0;
    switch (eComando) {
        case ComandoRobot_Rotate: {
            long nPartes = 0;
            if (!LeerEntero(vpPalabra[1], vnLong[1], nPartes) || nPartes < 1 || nPartes > 7 ||
                !LeerReal(vpPalabra[2], vnLong[2], dValor))
                return;
            Girar(nRobot, static_cast<int>(nPartes), dValor);
            break;
        }
        case ComandoRobot_RotateTo:
        case ComandoRobot_RotateAmount:
        case ComandoRobot_Sweep: {
            long nPartes = 0;
            double dAngulo = 0, dIzquierda = 0;
            if (!LeerEntero(vpPalabra[1], vnLong[1], nPartes) || nPartes < 1 || nPartes > 7 ||
                !LeerReal(vpPalabra[2], vnLong[2], dValor) || !LeerReal(vpPalabra[3], vnLong[3], dAngulo))
                return;
            if (eComando == ComandoRobot_Sweep) {
                if (!LeerReal(vpPalabra[4], vnLong[4], dIzquierda))
                    return;
                Barrer(nRobot, static_cast<int>(nPartes), dValor, dAngulo, dIzquierda);
            } else {
                // RotateTo turns only cannon and radar: the body has no angle of its own to go to.
                const int nQue = eComando == ComandoRobot_RotateTo ? static_cast<int>(nPartes) & ~Parte_Cuerpo
                                                                   : static_cast<int>(nPartes);
                GirarHasta(nRobot, nQue, dValor, dAngulo, eComando == ComandoRobot_RotateTo);
            }
            break;
        }
        case ComandoRobot_RobotOption: {
            long nOpcion = 0, nValor = 0;
            if (LeerEntero(vpPalabra[1], vnLong[1], nOpcion) && nOpcion == OpcionRobot_EnviarRotacionAlcanzada &&
                LeerEntero(vpPalabra[2], vnLong[2], nValor))
                r.nAvisoRotacion = static_cast<int>(nValor);
            break;
        }
        case ComandoRobot_Accelerate:
            if (LeerReal(vpPalabra[1], vnLong[1], dValor))
                r.dAceleracion = std::min(kAceleracionMax, std::max(kAceleracionMin, dValor));
            break;
        case ComandoRobot_Brake:
        case ComandoRobot_Break:
            if (LeerReal(vpPalabra[1], vnLong[1], dValor))
                r.dFreno = std::min(1.0, std::max(0.0, dValor));
            break;
        case ComandoRobot_Shoot:
            if (LeerReal(vpPalabra[1], vnLong[1], dValor) && r.vdDisparosPendientes.size() < kMaxDisparosPendientes)
                r.vdDisparosPendientes.push_back(dValor);
            break;
        default:
            break;  // not simulated
    }
}

void CPartida::Girar(int nRobot, int nPartes, double dVelocidad)
{
    SRobot& r = m_vRobots[nRobot];
    const double dGiro = LimitarGiro(nPartes, dVelocidad);
    double* vpGiro[3] = {&r.dGiroCuerpo, &r.dGiroCanyon, &r.dGiroRadar};
    for (int i = 0; i < 3; ++i) {
        if (nPartes & (1 << i)) {
            *vpGiro[i] = dGiro;
            r.vModoGiro[i] = SModoGiro();
        }
    }
}

void CPartida::GirarHasta(int nRobot, int nPartes, double dVelocidad, double dAngulo, bool bAbsoluto)
{
    SRobot& r = m_vRobots[nRobot];
    const double dModulo = std::fabs(LimitarGiro(nPartes, dVelocidad));
    double* vpGiro[3] = {&r.dGiroCuerpo, &r.dGiroCanyon, &r.dGiroRadar};
    const double vdAngulo[3] = {r.dRumbo, r.dCanyon, r.dRadar};
    for (int i = 0; i < 3; ++i) {
        if (!(nPartes & (1 << i)))
            continue;
        const double dHasta = bAbsoluto ? dAngulo : vdAngulo[i] + dAngulo;
        r.vModoGiro[i].eModo = Giro_Hasta;
        r.vModoGiro[i].dHasta = dHasta;
        *vpGiro[i] = dHasta >= vdAngulo[i] ? dModulo : -dModulo;
    }
}

void CPartida::Barrer(int nRobot, int nPartes, double dVelocidad, double dDerecha, double dIzquierda)
{
    SRobot& r = m_vRobots[nRobot];
    const double dGiro = LimitarGiro(nPartes, dVelocidad);
    double* vpGiro[3] = {&r.dGiroCuerpo, &r.dGiroCanyon, &r.dGiroRadar};
    for (int i = 1; i < 3; ++i) {
        if (!(nPartes & (1 << i)))
            continue;
        // Programs repeat their Sweep every update: a part already sweeping
        // keeps its way, or it would never leave the end it reached.
        const bool bYaBarria = r.vModoGiro[i].eModo == Giro_Barrido && *vpGiro[i] != 0;
        r.vModoGiro[i].eModo = Giro_Barrido;
        r.vModoGiro[i].dDerecha = std::min(dDerecha, dIzquierda);
        r.vModoGiro[i].dIzquierda = std::max(dDerecha, dIzquierda);
        *vpGiro[i] = bYaBarria && (*vpGiro[i] < 0) != (dGiro < 0) ? -dGiro : dGiro;
    }
}

void CPartida::AvanzarGiro(int nRobot, int nParte, double& dAngulo, double& dGiro, double dPaso)
{
    SRobot& r = m_vRobots[nRobot];
    SModoGiro& modo = r.vModoGiro[nParte];
    const double dAntes = dAngulo;
    dAngulo += dGiro * dPaso;
    if (modo.eModo == Giro_Hasta) {
        if ((dGiro >= 0 && dAngulo >= modo.dHasta) || (dGiro < 0 && dAngulo <= modo.dHasta)) {
            dAngulo = modo.dHasta;
            dGiro = 0;
            modo = SModoGiro();
            if (r.nAvisoRotacion >= 1)
                Enviar(nRobot, MensajeArena_RotationReached, 1 << nParte);
        }
    } else if (modo.eModo == Giro_Barrido) {
        // Turns round at either end; a part that started beyond an end and
        // moves away from the range turns round where it is.
        const bool bArriba = dGiro > 0 && dAngulo >= modo.dIzquierda;
        const bool bAbajo = dGiro < 0 && dAngulo <= modo.dDerecha;
        if (bArriba || bAbajo) {
            const double dTope = bArriba ? modo.dIzquierda : modo.dDerecha;
            dAngulo = (bArriba ? dAntes > dTope : dAntes < dTope) ? dAntes : dTope;
            dGiro = -dGiro;
            if (r.nAvisoRotacion >= 2)
                Enviar(nRobot, MensajeArena_RotationReached, 1 << nParte);
        }
    }
}

void CPartida::DecidirGuion(int nRobot)
{
    SRobot& r = m_vRobots[nRobot];
    SOrdenes o;
    if (r.controlador.eTipo == Controlador_Giratorio) {
        DecidirGiratorio(r.percepcion, r.memoria, m_config.eArena, o);
    } else if (r.controlador.eTipo == Controlador_Buscador) {
        DecidirBuscador(r.percepcion, r.memoria, m_config.eArena, o);
    } else if (r.controlador.eTipo == Controlador_Cazador) {
        DecidirCazador(r.percepcion, r.memoria, m_config.eArena, o);
    } else if (r.controlador.eTipo == Controlador_Orbitador) {
        DecidirOrbitador(r.percepcion, r.memoria, m_config.eArena, o);
    }
    Girar(nRobot, Parte_Cuerpo, o.dGiroCuerpo);
    Girar(nRobot, Parte_Canyon, o.dGiroCanyon);
    Girar(nRobot, Parte_Radar, o.dGiroRadar);
    r.dAceleracion = std::min(kAceleracionMax, std::max(kAceleracionMin, o.dAceleracion));
    r.dFreno = std::min(1.0, std::max(0.0, o.dFreno));
    if (o.dDisparo > 0)
        r.vdDisparosPendientes.push_back(o.dDisparo);
}
