#include "Guiones.h"

#include <algorithm>
#include <cmath>

namespace {

const double kGiroGiratorio = 0.53;
const double kBarridoGiratorio = 1.0;
const double kMemoriaGiratorio = 0.3;
const int kImpactosHuida = 4;
const double kDuracionHuida = 1.5;

const double kMemoriaBuscador = 1.0;
const double kAlineadoParaDisparar = 0.12;
const double kGiroBusqueda = 0.4;
const double kVelocidadEmbestida = 4.0;
const double kVelocidadCrucero = 2.0;
const double kSinPared = 1e10;  // no wall along a ray (an open arena)

double Limitar(double dValor, double dTope) { return std::max(-dTope, std::min(dTope, dValor)); }

// Relative turn rate that brings a part from dActual to dDeseado (both
// relative to the body) in one step.
double GiroHacia(double dDeseado, double dActual, double dPaso, double dTope)
{
    return Limitar(NormalizarAngulo(dDeseado - dActual) / dPaso, dTope);
}

void ContarImpactos(const SPercepcion& p, SMemoriaGuion& m)
{
    if (p.nImpactos == 0)
        return;
    if (p.dTiempo - m.dUltimoImpacto > 3.0)
        m.nImpactosRecientes = 0;
    m.nImpactosRecientes += p.nImpactos;
    m.dUltimoImpacto = p.dTiempo;
}

}  // namespace

double DistanciaParedEn(const SPercepcion& p, double dDireccion, TTipoArena eArena)
{
    const double dUX = std::cos(dDireccion);
    const double dUY = std::sin(dDireccion);
    if (p.pGeometria) {
        SContacto contacto;
        if (!p.pGeometria->Cruce(p.dX, p.dY, dUX, dUY, 0.0, kSinPared, contacto))
            return kSinPared;
        return contacto.dDistancia - kRadioRobot;
    }
    const double dPared = eArena == Arena_Circulo ? RayoDentroCirculo(p.dX, p.dY, dUX, dUY, 9.9)
                                                  : RayoDentroCuadrado(p.dX, p.dY, dUX, dUY, 9.7);
    return dPared - kRadioRobot;
}

double DistanciaParedDelante(const SPercepcion& p, TTipoArena eArena)
{
    if (p.dParedDelante >= 0)
        return p.dParedDelante - kRadioRobot;
    return DistanciaParedEn(p, p.dRumbo, eArena);
}

void DecidirGiratorio(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o)
{
    const double t = p.dTiempo;
    ContarImpactos(p, m);
    if (m.nImpactosRecientes >= kImpactosHuida) {
        m.dHuidaHasta = t + kDuracionHuida;
        m.nImpactosRecientes = 0;
    }
    o.dGiroCuerpo = kGiroGiratorio;
    o.dAceleracion = 0.3;
    o.dFreno = 0;
    o.dGiroCanyon = o.dGiroRadar = kBarridoGiratorio;
    o.dDisparo = 0;
    if (p.nRadarObjeto == ObjetoArena_Robot)
        m.dUltimoVisto = t;
    const bool bVeRobot = p.nRadarObjeto == ObjetoArena_Robot ||
                          (p.nRadarObjeto == ObjetoArena_Disparo && t - m.dUltimoVisto < kMemoriaGiratorio);
    if (bVeRobot) {
        // Cannon and radar still in world terms: undo the body's turn.
        o.dGiroCanyon = o.dGiroRadar = -kGiroGiratorio;
        o.dDisparo = 2;
        if (p.nRadarObjeto == ObjetoArena_Robot && p.dRadarDistancia < 2) {
            o.dFreno = 1;
            o.dAceleracion = 0;
        }
    } else if (p.nRadarObjeto == ObjetoArena_Mina && p.dRadarDistancia < 5) {
        o.dGiroCanyon = o.dGiroRadar = -kGiroGiratorio;
        o.dDisparo = 0.5;
    }
    if (DistanciaParedDelante(p, eArena) < 1.0) {
        o.dFreno = 1;
        o.dAceleracion = 0;
    }
    if (t < m.dHuidaHasta) {
        o.dGiroCuerpo = kGiroMaxCuerpo;
        o.dAceleracion = kAceleracionMax;
        o.dFreno = 0;
    }
}

// Radar keeps watch on the last known direction, scanning wider the longer
// the target is out of sight; the cannon aims at that direction. Keeping
// the radar off the cannon's line when the target is lost lets it look past
// its own shots.
static void SeguirObjetivo(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o)
{
    const double t = p.dTiempo;
    const double dRelativo = NormalizarAngulo(m.dDireccionObjetivo - p.dRumbo);
    o.dGiroCuerpo = Limitar(4.0 * dRelativo, kGiroMaxCuerpo);
    const double dObjetivoTrasGiro = dRelativo - o.dGiroCuerpo * p.dPaso;
    o.dGiroCanyon = GiroHacia(dObjetivoTrasGiro, p.dAnguloCanyon, p.dPaso, kGiroMaxCanyon);
    double dRadarDeseado = dObjetivoTrasGiro;
    if (p.nRadarObjeto != ObjetoArena_Robot) {
        m.dSentidoBarrido = -m.dSentidoBarrido;
        const double dAmplitud = std::min(0.5, 0.06 + 1.5 * (t - m.dUltimoVisto));
        dRadarDeseado += m.dSentidoBarrido * dAmplitud;
    }
    o.dGiroRadar = GiroHacia(dRadarDeseado, p.dRadarAngulo, p.dPaso, kGiroMaxRadar);
    const double dDesvioCanyon = NormalizarAngulo(m.dDireccionObjetivo - p.dRumbo - p.dAnguloCanyon);
    if (t - m.dUltimoVisto < 0.5 && std::fabs(dDesvioCanyon) < kAlineadoParaDisparar) {
        const double d = m.dDistanciaObjetivo;
        o.dDisparo = 20.0 / (d * d + 0.2) + 0.5 + 2.0 / std::max(1, p.nRobotsQuedan);
    }
    // Rams when facing the target, at a speed that still lets it aim.
    o.dAceleracion = 0;
    o.dFreno = 0;
    if (std::fabs(dRelativo) < 0.3 && p.dVelocidad < kVelocidadEmbestida)
        o.dAceleracion = kAceleracionMax;
    else if (p.dVelocidad > kVelocidadEmbestida || std::fabs(dRelativo) > 1.0)
        o.dFreno = 0.5;
    if (DistanciaParedDelante(p, eArena) < 1.2 && m.dDistanciaObjetivo > 2.0 && p.dVelocidad > 1.0) {
        o.dAceleracion = 0;
        o.dFreno = 1;
    }
}

// Sweeps cannon and radar over the front half while the body turns slowly;
// heads for cookies it saw, steps aside from shots, keeps off walls.
static void Buscar(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o)
{
    const double t = p.dTiempo;
    const double dMitad = kPi / 2;
    const double dRadar = NormalizarAngulo(p.dRadarAngulo);
    if (dRadar > dMitad)
        m.dSentidoBarrido = -1;
    else if (dRadar < -dMitad)
        m.dSentidoBarrido = 1;
    o.dGiroCuerpo = kGiroBusqueda;
    o.dGiroRadar = m.dSentidoBarrido * kGiroMaxRadar;
    o.dGiroCanyon = GiroHacia(p.dRadarAngulo, p.dAnguloCanyon, p.dPaso, kGiroMaxCanyon);
    o.dAceleracion = p.dVelocidad < kVelocidadCrucero ? 0.5 : 0;
    o.dFreno = 0;
    if (p.nRadarObjeto == ObjetoArena_Galleta) {
        m.dGalletaVista = t;
        m.dDireccionGalleta = p.dRumbo + p.dRadarAngulo;
    }
    if (p.nRadarObjeto == ObjetoArena_Disparo && p.dRadarDistancia < 4 && t - m.dUltimoDisparo > 1.0) {
        m.dEsquivarHasta = t + 0.5;
    }
    if (t - m.dGalletaVista < 1.5) {
        o.dGiroCuerpo = Limitar(4.0 * NormalizarAngulo(m.dDireccionGalleta - p.dRumbo), kGiroMaxCuerpo);
        o.dAceleracion = p.dVelocidad < kVelocidadEmbestida ? 1.0 : 0;
    }
    if (t < m.dEsquivarHasta) {
        o.dGiroCuerpo = kGiroMaxCuerpo;
        o.dAceleracion = p.dVelocidad < kVelocidadEmbestida ? kAceleracionMax : 0;
    }
    if (DistanciaParedDelante(p, eArena) < 1.5) {
        o.dGiroCuerpo = kGiroMaxCuerpo;
        o.dAceleracion = 0;
        o.dFreno = p.dVelocidad > 0.5 ? 1 : 0;
    }
}

void DecidirBuscador(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o)
{
    if (p.nRadarObjeto == ObjetoArena_Robot) {
        m.dUltimoVisto = p.dTiempo;
        m.dDireccionObjetivo = p.dRumbo + p.dRadarAngulo;
        m.dDistanciaObjetivo = p.dRadarDistancia;
    }
    o.dDisparo = 0;
    if (p.dTiempo - m.dUltimoVisto < kMemoriaBuscador)
        SeguirObjetivo(p, m, eArena, o);
    else
        Buscar(p, m, eArena, o);
}

// ---------------------------------------------------------------- hunter

namespace {

const double kAceleracionCazador = 0.6;
const double kVelocidadCazador = 2.5;  // it stops accelerating beyond this
const double kConoCazador = 0.5;       // half the sweep, radians
const double kCentradoCazador = 0.04;  // off-centre beyond this: it turns
const double kDelanteCazador = 0.1;    // straight ahead within this: it fires
const double kMemoriaCazador = 3.0;    // seconds it keeps turning to a target lost
const double kMemoriaGalleta = 2.0;
const double kAlcanceMina = 6.0;
const double kLadoPared = 0.8;        // how far aside it looks for room
const double kDespejado = 9.0;        // open space beyond the room to turn that ends a turn
const double kTiempoGiroPared = 3.0;  // the longest turn away from a wall

// Shot energy as the arena keeps it: refills by kRecargaDisparo a second up
// to the maximum, less what was fired.
void Recargar(const SPercepcion& p, SMemoriaGuion& m)
{
    m.dReservaEstimada = std::min(kEnergiaDisparoMax, m.dReservaEstimada + kRecargaDisparo * p.dPaso);
}

void Disparar(SMemoriaGuion& m, double dEnergia, SOrdenes& o)
{
    o.dDisparo = dEnergia;
    m.dReservaEstimada = std::max(0.0, m.dReservaEstimada - dEnergia);
}

// Turn that brings the body round to an absolute direction.
double GiroCuerpoHacia(const SPercepcion& p, double dDireccion)
{
    return Limitar(4.0 * NormalizarAngulo(dDireccion - p.dRumbo), kGiroMaxCuerpo);
}

// Full turn toward the side, left or right of the heading, with more room.
double GiroHaciaElHueco(const SPercepcion& p, TTipoArena eArena)
{
    const double dIzquierda = DistanciaParedEn(p, p.dRumbo + kLadoPared, eArena);
    const double dDerecha = DistanciaParedEn(p, p.dRumbo - kLadoPared, eArena);
    return dIzquierda >= dDerecha ? kGiroMaxCuerpo : -kGiroMaxCuerpo;
}

// Cannon and radar together, from one edge of the cone to the other.
void BarrerCono(const SPercepcion& p, SMemoriaGuion& m, SOrdenes& o)
{
    const double dRadar = NormalizarAngulo(p.dRadarAngulo);
    if (dRadar >= kConoCazador)
        m.dSentidoBarrido = -1;
    else if (dRadar <= -kConoCazador)
        m.dSentidoBarrido = 1;
    o.dGiroCanyon = o.dGiroRadar = m.dSentidoBarrido * kGiroMaxCanyon;
}

// A wall closer than the room it needs to turn at its speed starts a full
// turn toward the roomier side, held until open space lies ahead: it
// crosses the arena instead of riding round a curved wall.
void EvitarParedes(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o)
{
    const double dDelante = DistanciaParedDelante(p, eArena);
    const double dHueco = 1.0 + 1.3 * p.dVelocidad / kGiroMaxCuerpo;
    if (m.dGiroPared == 0 && dDelante < dHueco) {
        m.dGiroPared = GiroHaciaElHueco(p, eArena);
        m.dGiroParedHasta = p.dTiempo + kTiempoGiroPared;
    } else if (m.dGiroPared != 0 && (dDelante > dHueco + kDespejado || p.dTiempo > m.dGiroParedHasta)) {
        m.dGiroPared = 0;
    }
    if (m.dGiroPared == 0)
        return;
    o.dGiroCuerpo = m.dGiroPared;
    if (dDelante < 1.0)
        o.dFreno = 0.5;
}

void RecordarLoVisto(const SPercepcion& p, SMemoriaGuion& m)
{
    const double dDireccion = p.dRumbo + p.dRadarAngulo;
    if (p.nRadarObjeto == ObjetoArena_Robot) {
        m.dUltimoVisto = p.dTiempo;
        m.dDireccionObjetivo = dDireccion;
        m.dDistanciaObjetivo = p.dRadarDistancia;
        m.dObjetivoX = p.dX + (p.dRadarDistancia + kRadioRobot) * std::cos(dDireccion);
        m.dObjetivoY = p.dY + (p.dRadarDistancia + kRadioRobot) * std::sin(dDireccion);
    } else if (p.nRadarObjeto == ObjetoArena_Galleta) {
        m.dGalletaVista = p.dTiempo;
        m.dDireccionGalleta = dDireccion;
    }
}

}  // namespace

void DecidirCazador(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o)
{
    const double t = p.dTiempo;
    Recargar(p, m);
    RecordarLoVisto(p, m);
    BarrerCono(p, m, o);
    o.dAceleracion = p.dVelocidad < kVelocidadCazador ? kAceleracionCazador : 0;
    o.dFreno = 0;
    o.dDisparo = 0;
    o.dGiroCuerpo = 0;
    if (t - m.dUltimoVisto < kMemoriaCazador) {
        if (std::fabs(NormalizarAngulo(m.dDireccionObjetivo - p.dRumbo)) > kCentradoCazador)
            o.dGiroCuerpo = GiroCuerpoHacia(p, m.dDireccionObjetivo);
    } else if (t - m.dGalletaVista < kMemoriaGalleta) {
        o.dGiroCuerpo = GiroCuerpoHacia(p, m.dDireccionGalleta);
    }
    const bool bDelante = std::fabs(NormalizarAngulo(p.dRadarAngulo)) < kDelanteCazador;
    if (p.nRadarObjeto == ObjetoArena_Robot && bDelante)
        Disparar(m, kEnergiaDisparoMax, o);
    else if (p.nRadarObjeto == ObjetoArena_Mina && p.dRadarDistancia < kAlcanceMina)
        Disparar(m, kEnergiaDisparoMin, o);
    // A target in sight wins over a wall that still leaves room to stop.
    if (t - m.dUltimoVisto < kMemoriaCazador && DistanciaParedDelante(p, eArena) > 1.0 + p.dVelocidad)
        m.dGiroPared = 0;
    else
        EvitarParedes(p, m, eArena, o);
}

// ---------------------------------------------------------------- orbiter

namespace {

const double kDistanciaOrbita = 6.0;
const double kVelocidadOrbita = 2.5;
const double kCorreccionOrbita = 0.5;  // radians of heading per metre off the orbit
const double kMaxCorreccionOrbita = 0.7;
const double kMemoriaOrbitador = 2.0;
const double kRetrasoCambioSentido = 2.0;
const double kEnergiaOrbitador = 4.0;
const double kParedOrbita = 2.5;

// Radar and cannon: the radar keeps watch on the target, scanning wider the
// longer it is out of sight, or spins while there is none; the cannon aims
// where the target was last seen.
void ApuntarOrbitador(const SPercepcion& p, SMemoriaGuion& m, SOrdenes& o, bool bObjetivo)
{
    const double t = p.dTiempo;
    if (!bObjetivo) {
        o.dGiroRadar = kGiroMaxRadar;
        o.dGiroCanyon = GiroHacia(p.dRadarAngulo, p.dAnguloCanyon, p.dPaso, kGiroMaxCanyon);
        return;
    }
    const double dRelativo = NormalizarAngulo(m.dDireccionObjetivo - p.dRumbo) - o.dGiroCuerpo * p.dPaso;
    // A shot leaves with the robot's own velocity added: the cannon leans
    // against the sideways part of it so that the shot flies at the target.
    const double dLateral = p.dVelocidad * std::sin(p.dRumbo - m.dDireccionObjetivo);
    const double dCompensacion = -std::asin(Limitar(dLateral / kVelocidadDisparo, 0.9));
    o.dGiroCanyon = GiroHacia(dRelativo + dCompensacion, p.dAnguloCanyon, p.dPaso, kGiroMaxCanyon);
    double dRadarDeseado = dRelativo;
    if (p.nRadarObjeto != ObjetoArena_Robot) {
        // Back and forth across where the target should be, wider the
        // longer it is lost.
        const double dAmplitud = std::min(1.0, 0.15 + 1.5 * (t - m.dUltimoVisto));
        if (std::fabs(NormalizarAngulo(dRelativo + m.dSentidoBarrido * dAmplitud - p.dRadarAngulo)) <
            kGiroMaxRadar * p.dPaso)
            m.dSentidoBarrido = -m.dSentidoBarrido;
        dRadarDeseado += m.dSentidoBarrido * dAmplitud;
    }
    o.dGiroRadar = GiroHacia(dRadarDeseado, p.dRadarAngulo, p.dPaso, kGiroMaxRadar);
    const double dDesvio = NormalizarAngulo(m.dDireccionObjetivo + dCompensacion - p.dRumbo - p.dAnguloCanyon);
    const double dTolerancia = std::atan2(kRadioRobot, std::max(1.0, m.dDistanciaObjetivo));
    if (t - m.dUltimoVisto < 0.3 && std::fabs(dDesvio) < dTolerancia && m.dReservaEstimada >= kEnergiaOrbitador)
        Disparar(m, kEnergiaOrbitador, o);
}

// Heading across the line to the target, leaning in when too far and out
// when too close; the orbit turns round when a wall stands in its way.
void Orbitar(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o)
{
    const double dCorreccion =
        Limitar(kCorreccionOrbita * (m.dDistanciaObjetivo - kDistanciaOrbita), kMaxCorreccionOrbita);
    double dRumbo = m.dDireccionObjetivo + m.dSentidoOrbita * (kPi / 2 - dCorreccion);
    if (DistanciaParedEn(p, dRumbo, eArena) < kParedOrbita && p.dTiempo - m.dCambioSentido > kRetrasoCambioSentido) {
        m.dSentidoOrbita = -m.dSentidoOrbita;
        m.dCambioSentido = p.dTiempo;
        dRumbo = m.dDireccionObjetivo + m.dSentidoOrbita * (kPi / 2 - dCorreccion);
    }
    o.dGiroCuerpo = GiroCuerpoHacia(p, dRumbo);
    const bool bEncarado = std::fabs(NormalizarAngulo(dRumbo - p.dRumbo)) < 1.0;
    o.dAceleracion = bEncarado && p.dVelocidad < kVelocidadOrbita ? 1.0 : 0;
    o.dFreno = p.dVelocidad > kVelocidadOrbita + 0.5 || !bEncarado ? 0.3 : 0;
}

}  // namespace

void DecidirOrbitador(const SPercepcion& p, SMemoriaGuion& m, TTipoArena eArena, SOrdenes& o)
{
    Recargar(p, m);
    RecordarLoVisto(p, m);
    o.dDisparo = 0;
    const bool bObjetivo = p.dTiempo - m.dUltimoVisto < kMemoriaOrbitador;
    if (bObjetivo && p.nRadarObjeto != ObjetoArena_Robot) {
        // Out of sight: the target is taken to stay where it was seen.
        m.dDireccionObjetivo = std::atan2(m.dObjetivoY - p.dY, m.dObjetivoX - p.dX);
        m.dDistanciaObjetivo = std::hypot(m.dObjetivoX - p.dX, m.dObjetivoY - p.dY) - kRadioRobot;
    }
    if (bObjetivo) {
        Orbitar(p, m, eArena, o);
    } else {
        // Wanders slowly while its radar looks round.
        o.dGiroCuerpo = kGiroBusqueda;
        o.dAceleracion = p.dVelocidad < kVelocidadCrucero ? 0.5 : 0;
        o.dFreno = 0;
    }
    ApuntarOrbitador(p, m, o, bObjetivo);
    if (DistanciaParedDelante(p, eArena) < 1.0 + p.dVelocidad) {
        o.dGiroCuerpo = GiroHaciaElHueco(p, eArena);
        o.dAceleracion = 0;
        o.dFreno = p.dVelocidad > 1.0 ? 1 : 0;
    }
}
