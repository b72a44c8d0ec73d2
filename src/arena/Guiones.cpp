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

double DistanciaParedDelante(const SPercepcion& p, TTipoArena eArena)
{
    if (p.dParedDelante >= 0)
        return p.dParedDelante - kRadioRobot;
    const double dUX = std::cos(p.dRumbo);
    const double dUY = std::sin(p.dRumbo);
    const double dPared = eArena == Arena_Circulo ? RayoDentroCirculo(p.dX, p.dY, dUX, dUY, 9.9)
                                                  : RayoDentroCuadrado(p.dX, p.dY, dUX, dUY, 9.7);
    return dPared - kRadioRobot;
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
