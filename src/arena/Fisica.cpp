#include "Fisica.h"

#include <algorithm>
#include <cmath>

double VelocidadParalela(double dVPar, double dAcel, double dFreno, double dPaso)
{
    const double dAire = std::min(kResistenciaAire * dPaso, 0.5);
    const double dRoce = kRozamientoRodar * (1.0 - dFreno) + kRozamientoFreno * dFreno;
    return dVPar * (std::max(0.0, 1.0 - kGravedad * dPaso * dRoce) - dAire) + dAcel * dPaso;
}

double VelocidadLateral(double dVPerp, double dPaso)
{
    const double dAire = std::min(kResistenciaAire * dPaso, 0.5);
    return dVPerp * (std::max(0.0, 1.0 - kGravedad * dPaso * kRozamientoFreno) - dAire);
}

void ActualizarVelocidad(double& dVX, double& dVY, double dRumbo, double dAcel, double dFreno, double dPaso)
{
    const double dDX = std::cos(dRumbo);
    const double dDY = std::sin(dRumbo);
    const double dPar = dVX * dDX + dVY * dDY;
    const double dPerpX = dVX - dPar * dDX;
    const double dPerpY = dVY - dPar * dDY;
    const double dParNueva = VelocidadParalela(dPar, dAcel, dFreno, dPaso);
    const double dFactorLateral = VelocidadLateral(1.0, dPaso);
    dVX = dParNueva * dDX + dPerpX * dFactorLateral;
    dVY = dParNueva * dDY + dPerpY * dFactorLateral;
}

double LimitarGiro(int nPartes, double dVelocidad)
{
    double dTope = 1e300;
    if (nPartes & Parte_Cuerpo)
        dTope = std::min(dTope, kGiroMaxCuerpo);
    if (nPartes & Parte_Canyon)
        dTope = std::min(dTope, kGiroMaxCanyon);
    if (nPartes & Parte_Radar)
        dTope = std::min(dTope, kGiroMaxRadar);
    const double dModulo = std::min(std::fabs(dVelocidad), dTope);
    return dVelocidad < 0 ? -dModulo : dModulo;
}

bool EsFrontal(double dRumbo, double dDirX, double dDirY)
{
    const double dLong = std::sqrt(dDirX * dDirX + dDirY * dDirY);
    if (dLong <= 0)
        return false;
    const double dCos = (dDirX * std::cos(dRumbo) + dDirY * std::sin(dRumbo)) / dLong;
    return dCos >= std::cos(kAnguloFrente) - 1e-12;
}

double ChocarPared(double& dVX, double& dVY, double dNX, double dNY, double dRebotePared, double dDurezaPared,
                   bool bFrontal)
{
    const double dReboteR = bFrontal ? kReboteFrente : kReboteRobot;
    const double dDurezaR = bFrontal ? kDurezaFrente : kDurezaRobot;
    const double dProtR = bFrontal ? kProteccionFrente : kProteccionRobot;
    const double dE = dReboteR * dRebotePared;
    const double dVN = dVX * dNX + dVY * dNY;
    const double dDVX = -(1.0 + dE) * dVN * dNX;
    const double dDVY = -(1.0 + dE) * dVN * dNY;
    dVX += dDVX;
    dVY += dDVY;
    const double dDV2 = dDVX * dDVX + dDVY * dDVY;
    return 0.5 * kMasaRobot * dDV2 * 0.5 * (dDurezaR + dDurezaPared) * (1.0 - dE) * (1.0 - dProtR);
}

void ChocarRobots(double& dV1X, double& dV1Y, double& dV2X, double& dV2Y, double dNX, double dNY, bool bFrontal1,
                  bool bFrontal2, double& dDanyo1, double& dDanyo2)
{
    const double dB1 = bFrontal1 ? kReboteFrente : kReboteRobot;
    const double dB2 = bFrontal2 ? kReboteFrente : kReboteRobot;
    const double dH1 = bFrontal1 ? kDurezaFrente : kDurezaRobot;
    const double dH2 = bFrontal2 ? kDurezaFrente : kDurezaRobot;
    const double dP1 = bFrontal1 ? kProteccionFrente : kProteccionRobot;
    const double dP2 = bFrontal2 ? kProteccionFrente : kProteccionRobot;
    const double dE = dB1 * dB2;
    const double dRel = (dV2X - dV1X) * dNX + (dV2Y - dV1Y) * dNY;
    const double dCambio = (1.0 + dE) / 2.0 * dRel;
    dV1X += dCambio * dNX;
    dV1Y += dCambio * dNY;
    dV2X -= dCambio * dNX;
    dV2Y -= dCambio * dNY;
    const double dDV2 = dCambio * dCambio;
    const double dComun = 0.5 * kMasaRobot * dDV2 * 0.5 * (dH1 + dH2) * (1.0 - dE);
    dDanyo1 = dComun * (1.0 - dP1);
    dDanyo2 = dComun * (1.0 - dP2);
}

double CosteDisparo(double dEnergia, int nRobotsQuedan)
{
    const double dFactor = nRobotsQuedan > 0 ? std::min(0.075, 0.5 / nRobotsQuedan) : 0.075;
    return dEnergia * dFactor;
}

double PuntosMuerte(int nRobots, int nQuedan, int nMuertos) { return nRobots - nQuedan - 0.5 * (nMuertos - 1); }

double PuntosSupervivencia(int nRobots, int nSupervivientes) { return nRobots - (nSupervivientes - 1); }

double EnergiaInformada(double dEnergia) { return kNivelEnergia * std::floor(dEnergia / kNivelEnergia + 0.5); }

double NormalizarAngulo(double dAngulo)
{
    double dA = std::fmod(dAngulo, 2.0 * kPi);
    if (dA <= -kPi)
        dA += 2.0 * kPi;
    else if (dA > kPi)
        dA -= 2.0 * kPi;
    return dA + 0.0;  // no negative zero in messages
}

double RayoCirculo(double dPX, double dPY, double dUX, double dUY, double dCX, double dCY, double dRadio)
{
    const double dWX = dCX - dPX;
    const double dWY = dCY - dPY;
    const double dProy = dWX * dUX + dWY * dUY;
    const double dDist2 = dWX * dWX + dWY * dWY;
    const double dR2 = dRadio * dRadio;
    if (dDist2 <= dR2)
        return 0.0;  // the origin lies inside the object
    if (dProy <= 0)
        return -1.0;
    const double dLateral2 = dDist2 - dProy * dProy;
    if (dLateral2 > dR2)
        return -1.0;
    return dProy - std::sqrt(dR2 - dLateral2);
}

double RayoDentroCirculo(double dPX, double dPY, double dUX, double dUY, double dRadio)
{
    const double dB = dPX * dUX + dPY * dUY;
    const double dC = dPX * dPX + dPY * dPY - dRadio * dRadio;
    const double dDisc = std::max(0.0, dB * dB - dC);
    return std::max(0.0, -dB + std::sqrt(dDisc));
}

static double RayoEje(double dP, double dU, double dLado)
{
    if (dU > 0)
        return (dLado - dP) / dU;
    if (dU < 0)
        return (-dLado - dP) / dU;
    return 1e300;
}

double RayoDentroCuadrado(double dPX, double dPY, double dUX, double dUY, double dLado)
{
    const double dT = std::min(RayoEje(dPX, dUX, dLado), RayoEje(dPY, dUY, dLado));
    return std::max(0.0, dT);
}
