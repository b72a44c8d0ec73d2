// Formulas of the simulated arena on cases worked out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CGenerador.h"
#include "Fisica.h"

namespace {

const double kTol = 1e-9;

TEST(ArenaFisica, RozamientoYFrenoSobreLaVelocidadDeAvance)
{
    // dt 0.05: air 0.00025; rolling 1 - 9.82 * 0.05 * 0.002 = 0.999018.
    EXPECT_NEAR(VelocidadParalela(10, 0, 0, 0.05), 9.98768, kTol);
    EXPECT_NEAR(VelocidadParalela(10, 2, 0, 0.05), 10.08768, kTol);
    // Full brake: 1 - 9.82 * 0.05 * 0.1 = 0.9509.
    EXPECT_NEAR(VelocidadParalela(10, 0, 1, 0.05), 9.5065, kTol);
    // Half brake mixes both frictions: f = 0.051.
    EXPECT_NEAR(VelocidadParalela(10, 0, 0.5, 0.05), 9.74709, kTol);
    // Acceleration acts from rest, backwards too.
    EXPECT_NEAR(VelocidadParalela(0, -0.5, 0, 0.05), -0.025, kTol);
}

TEST(ArenaFisica, ElDeslizamientoLateralSeFrenaComoConFreno)
{
    EXPECT_NEAR(VelocidadLateral(4, 0.05), 4 * 0.95065, kTol);
    // Heading north: the y part is the forward speed, x slides sideways.
    double dVX = 3, dVY = 4;
    ActualizarVelocidad(dVX, dVY, kPi / 2, 1, 0, 0.05);
    EXPECT_NEAR(dVX, 2.85195, 1e-9);
    EXPECT_NEAR(dVY, 4.045072, 1e-9);
}

TEST(ArenaFisica, ElGiroSeLimitaPorLaParteMasLentaYConservaElSigno)
{
    EXPECT_NEAR(LimitarGiro(Parte_Cuerpo, 2.0), kPi / 4, kTol);
    EXPECT_NEAR(LimitarGiro(Parte_Canyon | Parte_Radar, -3.0), -kPi / 2, kTol);
    EXPECT_NEAR(LimitarGiro(Parte_Radar, -3.0), -2 * kPi / 3, kTol);
    EXPECT_NEAR(LimitarGiro(Parte_Cuerpo | Parte_Canyon | Parte_Radar, 0.5), 0.5, kTol);
    EXPECT_NEAR(LimitarGiro(Parte_Radar, 1.0), 1.0, kTol);
}

TEST(ArenaFisica, ElFrenteAbarcaTreintaGradosACadaLado)
{
    const double dGrado = kPi / 180;
    EXPECT_TRUE(EsFrontal(0, std::cos(29 * dGrado), std::sin(29 * dGrado)));
    EXPECT_TRUE(EsFrontal(0, std::cos(-29 * dGrado), std::sin(-29 * dGrado)));
    EXPECT_FALSE(EsFrontal(0, std::cos(31 * dGrado), std::sin(31 * dGrado)));
    // Unwrapped headings work the same.
    EXPECT_TRUE(EsFrontal(4 * kPi + kPi / 2, 0, 1));
    EXPECT_FALSE(EsFrontal(kPi / 2, 0, -1));
}

TEST(ArenaFisica, ReboteEnParedCircularDeLado)
{
    // e = 0.7 * 0.9 = 0.63: normal speed -3 becomes 1.89, |dv| = 4.89.
    double dVX = -3, dVY = 2;
    const double dDanyo = ChocarPared(dVX, dVY, 1, 0, 0.9, 1.0, false);
    EXPECT_NEAR(dVX, 1.89, kTol);
    EXPECT_NEAR(dVY, 2.0, kTol);  // the tangential part is kept
    // 0.5 * 4.89^2 * 0.5 * (0.5 + 1.0) * 0.37 * 0.5
    EXPECT_NEAR(dDanyo, 1.6589019375, kTol);
}

TEST(ArenaFisica, ElFrenteDuroYProtegidoSufreMenosContraLaPared)
{
    double dVX = -3, dVY = 0;
    const double dFrente = ChocarPared(dVX, dVY, 1, 0, 0.9, 1.0, true);
    // hardness 0.9, protection 0.9: 0.5 * 4.89^2 * 0.5 * 1.9 * 0.37 * 0.1
    EXPECT_NEAR(dFrente, 0.4202551575, kTol);
    // Square wall: e = 0.7 * 0.6 = 0.42, hardness 0.8.
    dVX = -3;
    const double dCuadrado = ChocarPared(dVX, dVY, 1, 0, 0.6, 0.8, false);
    EXPECT_NEAR(dVX, 1.26, kTol);
    EXPECT_NEAR(dCuadrado, 0.5 * 4.26 * 4.26 * 0.5 * 1.3 * 0.58 * 0.5, kTol);
}

TEST(ArenaFisica, ChoqueEntreRobotsConservaElMomentoYRepartePorProteccion)
{
    double dV1X = 2, dV1Y = 0, dV2X = 0, dV2Y = 0, dD1 = 0, dD2 = 0;
    ChocarRobots(dV1X, dV1Y, dV2X, dV2Y, 1, 0, false, false, dD1, dD2);
    // e = 0.49: each changes by 1.49/2 * 2 = 1.49.
    EXPECT_NEAR(dV1X, 0.51, kTol);
    EXPECT_NEAR(dV2X, 1.49, kTol);
    EXPECT_NEAR(dV1X + dV2X, 2.0, kTol);
    EXPECT_NEAR(dD1, 0.141531375, kTol);
    EXPECT_NEAR(dD2, 0.141531375, kTol);

    // Robot 1 hits with its front, robot 2 is struck on the side.
    dV1X = 2;
    dV2X = 0;
    ChocarRobots(dV1X, dV1Y, dV2X, dV2Y, 1, 0, true, false, dD1, dD2);
    EXPECT_NEAR(dD1, 0.039628785, kTol);
    EXPECT_NEAR(dD2, 0.198143925, kTol);
}

TEST(ArenaFisica, CosteDelDisparoSegunRobotsQueQuedan)
{
    EXPECT_NEAR(CosteDisparo(10, 2), 0.75, kTol);
    EXPECT_NEAR(CosteDisparo(10, 4), 0.75, kTol);
    EXPECT_NEAR(CosteDisparo(10, 8), 0.625, kTol);
    EXPECT_NEAR(CosteDisparo(0.5, 1), 0.0375, kTol);
}

TEST(ArenaFisica, PuntosDeMuertesSimultaneasYSupervivientes)
{
    // Four robots: one dies, then two together, the last survives.
    EXPECT_DOUBLE_EQ(PuntosMuerte(4, 3, 1), 1.0);
    EXPECT_DOUBLE_EQ(PuntosMuerte(4, 1, 2), 2.5);
    EXPECT_DOUBLE_EQ(PuntosSupervivencia(4, 1), 4.0);
    // The last two dying together share first and second place.
    EXPECT_DOUBLE_EQ(PuntosMuerte(4, 0, 2), 3.5);
    // Three survivors at the time limit.
    EXPECT_DOUBLE_EQ(PuntosSupervivencia(4, 3), 2.0);
}

TEST(ArenaFisica, UnJuegoDecididoRepartePuntosComoSiNoHubieraEmpates)
{
    // However deaths group, a game fought to the last robot hands out
    // 1 + 2 + ... + N points in all.
    CGenerador generador(7);
    for (int nCaso = 0; nCaso < 200; ++nCaso) {
        const int nRobots = 2 + static_cast<int>(generador.Uniforme01() * 7);
        int nVivos = nRobots;
        double dTotal = 0;
        while (nVivos > 1) {
            int nMueren = 1 + static_cast<int>(generador.Uniforme01() * nVivos);
            if (nMueren > nVivos)
                nMueren = nVivos;
            nVivos -= nMueren;
            dTotal += nMueren * PuntosMuerte(nRobots, nVivos, nMueren);
        }
        dTotal += nVivos * PuntosSupervivencia(nRobots, nVivos);
        ASSERT_DOUBLE_EQ(dTotal, nRobots * (nRobots + 1) / 2.0) << "caso " << nCaso;
    }
}

TEST(ArenaFisica, EnergiaInformadaEnMultiplosDeDiez)
{
    EXPECT_EQ(EnergiaInformada(94.9), 90);
    EXPECT_EQ(EnergiaInformada(95.0), 100);
    EXPECT_EQ(EnergiaInformada(4.9), 0);
    EXPECT_EQ(EnergiaInformada(120), 120);
    EXPECT_EQ(EnergiaInformada(-3), 0);
}

TEST(ArenaFisica, RayosContraParedesYObjetos)
{
    EXPECT_NEAR(RayoDentroCirculo(0, 0, 1, 0, 9.9), 9.9, kTol);
    EXPECT_NEAR(RayoDentroCirculo(5, 0, -1, 0, 9.9), 14.9, kTol);
    EXPECT_NEAR(RayoDentroCirculo(0, 3, 1, 0, 5), 4, kTol);
    const double dDiag = std::sqrt(0.5);
    EXPECT_NEAR(RayoDentroCuadrado(0, 0, dDiag, dDiag, 9.7), 9.7 / dDiag, 1e-9);
    EXPECT_NEAR(RayoDentroCuadrado(1, 2, 0, -1, 9.7), 11.7, kTol);
    // Distance to the surface, not to the centre.
    EXPECT_NEAR(RayoCirculo(0, 0, 1, 0, 5, 0, 0.5), 4.5, kTol);
    EXPECT_NEAR(RayoCirculo(0, 0, 1, 0, 5, 0.3, 0.5), 4.6, kTol);
    EXPECT_LT(RayoCirculo(0, 0, 1, 0, -5, 0, 0.5), 0);
    EXPECT_LT(RayoCirculo(0, 0, 1, 0, 5, 0.6, 0.5), 0);
    EXPECT_EQ(RayoCirculo(0, 0, 1, 0, 0.2, 0, 0.5), 0);
}

TEST(ArenaFisica, AngulosNormalizados)
{
    EXPECT_NEAR(NormalizarAngulo(3 * kPi / 2), -kPi / 2, kTol);
    EXPECT_NEAR(NormalizarAngulo(-kPi), kPi, kTol);
    EXPECT_NEAR(NormalizarAngulo(7), 7 - 2 * kPi, kTol);
    EXPECT_NEAR(NormalizarAngulo(-20 * kPi + 0.1), 0.1, 1e-9);
}

TEST(ArenaGenerador, SecuenciaFijaEnCualquierBibliotecaYEnRango)
{
    // The engine's 10000th output for the default seed is fixed by the
    // language standard; our conversion builds on it.
    std::mt19937_64 motor;
    motor.discard(9999);
    EXPECT_EQ(motor(), 9981545732273789042ULL);
    CGenerador a(42), b(42);
    for (int i = 0; i < 1000; ++i) {
        const double d = a.Uniforme(-2, 3);
        ASSERT_EQ(d, b.Uniforme(-2, 3));
        ASSERT_GE(d, -2);
        ASSERT_LT(d, 3);
    }
    EXPECT_NE(CGenerador::Mezclar(1, 2), CGenerador::Mezclar(2, 1));
    EXPECT_NE(CGenerador::Mezclar(1, 2), CGenerador::Mezclar(1, 3));
}

}  // namespace
