// Pole balancing: the cart's physics against values worked out apart, the
// episodes and scores a network gets, and the runs of the command.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "ComandoPolos.h"
#include "Opciones.h"
#include "Polos.h"

namespace {

SEstadoPolos Estado(double x, double vx, double a1, double w1, double a2, double w2)
{
    SEstadoPolos e;
    const double v[kTamEstado] = {x, vx, a1, w1, a2, w2};
    for (int i = 0; i < kTamEstado; ++i)
        e.v[i] = v[i];
    return e;
}

double Det3(const double a[3][3])
{
    return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
           a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

// The accelerations from the equations of motion in their plain form, mass
// matrix times accelerations equals the generalized forces, solved by
// Cramer's rule: a formulation apart from the one under test.
void AceleracionesReferencia(const SFisicaPolos& f, const SEstadoPolos& e, double dFuerza, double vdAcel[3])
{
    const double m1 = f.dMasaPolo[0], m2 = f.dMasaPolo[1], l1 = f.dMitadLongitud[0], l2 = f.dMitadLongitud[1];
    const double a1 = e.v[Estado_Angulo1], w1 = e.v[Estado_VAngulo1], a2 = e.v[Estado_Angulo2],
                 w2 = e.v[Estado_VAngulo2];
    const double vx = e.v[Estado_VX];
    const double dSigno = vx > 0 ? 1.0 : (vx < 0 ? -1.0 : 0.0);
    const double masa[3][3] = {{f.dMasaCarro + m1 + m2, m1 * l1 * std::cos(a1), m2 * l2 * std::cos(a2)},
                               {m1 * l1 * std::cos(a1), 4.0 / 3.0 * m1 * l1 * l1, 0},
                               {m2 * l2 * std::cos(a2), 0, 4.0 / 3.0 * m2 * l2 * l2}};
    const double fuerzas[3] = {
        dFuerza - f.dFriccionCarro * dSigno + m1 * l1 * w1 * w1 * std::sin(a1) + m2 * l2 * w2 * w2 * std::sin(a2),
        m1 * f.dGravedad * l1 * std::sin(a1) - f.dFriccionBisagra * w1,
        m2 * f.dGravedad * l2 * std::sin(a2) - f.dFriccionBisagra * w2};
    const double dDet = Det3(masa);
    for (int k = 0; k < 3; ++k) {
        double columna[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                columna[i][j] = j == k ? fuerzas[i] : masa[i][j];
        vdAcel[k] = Det3(columna) / dDet;
    }
}

// A network of the inputs, the bias and one output linked straight to them.
void RedLineal(CRedNeuronal& red, const std::vector<double>& vPesos, double dSesgo, double dCurva)
{
    std::vector<const SNeurona*> vEntradas;
    for (size_t i = 0; i < vPesos.size(); ++i)
        vEntradas.push_back(red.AddNeurona(Neurona_Entrada, static_cast<int>(i), 0.5, 0.0, 1.0));
    const SNeurona* pSesgo = red.AddNeurona(Neurona_Sesgo, static_cast<int>(vPesos.size()), 0.1, 0.0, 1.0);
    const SNeurona* pSalida = red.AddNeurona(Neurona_Salida, static_cast<int>(vPesos.size()) + 1, 0.5, 1.0, dCurva);
    for (size_t i = 0; i < vPesos.size(); ++i)
        red.AddEnlace(vEntradas[i], pSalida, vPesos[i], false);
    red.AddEnlace(pSesgo, pSalida, dSesgo, false);
}

// A hand-tuned state feedback for the single pole: push toward the side the
// pole leans to, and gently bring the cart back. Gains in newtons per unit
// of state; the output's sigmoid is nearly linear for small sums, where
// force ~= 5 x sum / curvature.
void RedControladorSimple(CRedNeuronal& red)
{
    const double kGanancias[4] = {1.0, 2.5, 40.0, 6.0};
    const double kEscalas[4] = {2.4, 10.0, 0.628329, 5.0};
    std::vector<double> vPesos;
    for (int i = 0; i < 4; ++i)
        vPesos.push_back(kGanancias[i] * kEscalas[i] / 5.0);
    RedLineal(red, vPesos, 0.0, 1.0);
}

// A run of six generations on one thread.
SConfigPolos ConfigCorta(TTareaPolos eTarea, int nPoblacion)
{
    SConfigPolos config;
    config.eTarea = eTarea;
    config.nPoblacion = nPoblacion;
    config.nMaxGeneraciones = 6;
    config.nHilos = 1;
    return config;
}

}  // namespace

TEST(PolosFisica, LasDerivadasCoincidenConLaFormaDeMatrizDeMasas)
{
    SFisicaPolos fisica;
    const SEstadoPolos estados[] = {EstadoInicialPolos(), Estado(0.3, 1.2, -0.2, 0.7, 0.1, -2.5),
                                    Estado(-1.0, -0.4, 0.5, -1.5, -0.6, 3.0), Estado(2.0, 0.0, 0.0, 0.0, 0.0, 0.0)};
    for (const SEstadoPolos& e : estados) {
        for (double dFuerza : {-10.0, 0.0, 3.5}) {
            SEstadoPolos d;
            DerivadasPolos(fisica, e, dFuerza, d);
            double vdAcel[3];
            AceleracionesReferencia(fisica, e, dFuerza, vdAcel);
            EXPECT_NEAR(d.v[Estado_VX], vdAcel[0], 1e-12);
            EXPECT_NEAR(d.v[Estado_VAngulo1], vdAcel[1], 1e-11);
            EXPECT_NEAR(d.v[Estado_VAngulo2], vdAcel[2], 1e-10);
            EXPECT_EQ(d.v[Estado_X], e.v[Estado_VX]);
            EXPECT_EQ(d.v[Estado_Angulo1], e.v[Estado_VAngulo1]);
            EXPECT_EQ(d.v[Estado_Angulo2], e.v[Estado_VAngulo2]);
        }
    }
}

TEST(PolosFisica, PrimerosPasosRungeKuttaConocidos)
{
    // From the usual start, +10 N for one step and then -10 N, worked out
    // with the mass-matrix form in double precision.
    SFisicaPolos fisica;
    SEstadoPolos e = EstadoInicialPolos();
    PasoPolos(fisica, 10.0, 0.01, e);
    const double kPaso1[kTamEstado] = {0.00048597513980918147, 0.097195904780128933,   0.016733884311163419,
                                       -0.14324227529569131,   -0.0072970831847824205, -1.4610623948760868};
    for (int i = 0; i < kTamEstado; ++i)
        EXPECT_NEAR(e.v[i], kPaso1[i], 1e-13 * (1 + std::fabs(kPaso1[i]))) << "variable " << i;
    PasoPolos(fisica, -10.0, 0.01, e);
    const double kPaso2[kTamEstado] = {0.00097075400476816427, -0.00023675606757435352, 0.016044172987839143,
                                       0.0052783052755942528,  -0.014678074177076329,   -0.017166009495743317};
    for (int i = 0; i < kTamEstado; ++i)
        EXPECT_NEAR(e.v[i], kPaso2[i], 1e-13 * (1 + std::fabs(kPaso2[i]))) << "variable " << i;
}

TEST(PolosFisica, SinFriccionNiFuerzaSeConservanEnergiaYMomento)
{
    for (int nPolos : {1, 2}) {
        SFisicaPolos fisica;
        fisica.nPolos = nPolos;
        fisica.dFriccionCarro = fisica.dFriccionBisagra = 0.0;
        SEstadoPolos e = Estado(0.0, 0.3, 0.2, -0.5, -0.1, 1.0);
        if (nPolos == 1)
            e.v[Estado_Angulo2] = e.v[Estado_VAngulo2] = 0.0;
        const double dEnergia = EnergiaPolos(fisica, e), dMomento = MomentoPolos(fisica, e);
        // Small steps, so that the integrator's own error stays far below
        // what a wrong term in the equations would show. The poles swing
        // through large angles: nothing stops them here.
        for (int i = 0; i < 2000; ++i)
            PasoPolos(fisica, 0.0, 0.001, e);
        EXPECT_NEAR(EnergiaPolos(fisica, e), dEnergia, 1e-9) << nPolos << " polos";
        EXPECT_NEAR(MomentoPolos(fisica, e), dMomento, 1e-11) << nPolos << " polos";
        EXPECT_GT(std::fabs(e.v[Estado_Angulo1]), 0.5) << "the long pole should have fallen";
    }
}

TEST(PolosFisica, LaFriccionSoloQuitaEnergia)
{
    SFisicaPolos fisica;
    fisica.dFriccionCarro = 0.05;
    fisica.dFriccionBisagra = 0.001;
    SEstadoPolos e = Estado(0.0, 0.5, 0.1, -0.3, 0.0, 0.5);
    double dAnterior = EnergiaPolos(fisica, e);
    for (int i = 0; i < 300; ++i) {
        PasoPolos(fisica, 0.0, 0.001, e);
        const double dEnergia = EnergiaPolos(fisica, e);
        ASSERT_LE(dEnergia, dAnterior + 1e-12) << "step " << i;
        dAnterior = dEnergia;
    }
}

TEST(PolosFisica, FalloEnLosLimites)
{
    SFisicaPolos dos, uno;
    uno.nPolos = 1;
    EXPECT_FALSE(FalloPolos(dos, Estado(2.4, 0, kAnguloFallo, 0, -kAnguloFallo, 0)));
    EXPECT_TRUE(FalloPolos(dos, Estado(-2.41, 0, 0, 0, 0, 0)));
    EXPECT_TRUE(FalloPolos(dos, Estado(0, 0, -0.63, 0, 0, 0)));
    EXPECT_TRUE(FalloPolos(dos, Estado(0, 0, 0, 0, 0.63, 0)));
    EXPECT_FALSE(FalloPolos(uno, Estado(0, 0, 0, 0, 0.63, 0))) << "one pole: the short one does not count";
    EXPECT_TRUE(FalloPolos(dos, Estado(NAN, 0, 0, 0, 0, 0))) << "a state gone to NaN ends the episode";
    EXPECT_TRUE(FalloPolos(dos, Estado(0, 0, NAN, 0, 0, 0)));
}

TEST(PolosTareas, EntradasEscaladasYEstadosDeGeneralizacion)
{
    const SEstadoPolos e = Estado(1.2, -5.0, 0.314, 2.5, -0.628329, 8.0);
    TVecDoubles v;
    EntradasRedPolos(Polos_Doble, e, v);
    const std::vector<double> vDoble = {0.5, -0.5, 0.314 / 0.628329, 0.5, -1.0, 0.5};
    ASSERT_EQ(v.size(), 6u);
    for (size_t i = 0; i < v.size(); ++i)
        EXPECT_DOUBLE_EQ(v[i], vDoble[i]);
    EntradasRedPolos(Polos_Simple, e, v);
    EXPECT_EQ(v.size(), 4u);
    EntradasRedPolos(Polos_DobleSinVelocidades, e, v);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_DOUBLE_EQ(v[0], 0.5);
    EXPECT_DOUBLE_EQ(v[1], 0.314 / 0.628329);
    EXPECT_DOUBLE_EQ(v[2], -1.0);
    EXPECT_DOUBLE_EQ(FuerzaPolos(0.0), -10.0);
    EXPECT_DOUBLE_EQ(FuerzaPolos(1.0), 10.0);

    // The 625 starting states: every combination once, the corners at 5%
    // and 95% of each range, the middle one at rest, the short pole upright.
    const double kGrado = 3.14159265358979323846 / 180.0;
    const SEstadoPolos primero = EstadoGeneralizacion(0), ultimo = EstadoGeneralizacion(624),
                       medio = EstadoGeneralizacion(312);
    EXPECT_NEAR(primero.v[Estado_X], -2.16 * 0.9, 1e-12);
    EXPECT_NEAR(primero.v[Estado_VX], -1.35 * 0.9, 1e-12);
    EXPECT_NEAR(primero.v[Estado_Angulo1], -3.6 * kGrado * 0.9, 1e-12);
    EXPECT_NEAR(ultimo.v[Estado_VAngulo1], 8.6 * kGrado * 0.9, 1e-12);
    for (int i = 0; i < kTamEstado; ++i)
        EXPECT_NEAR(medio.v[i], 0.0, 1e-12);
    std::set<std::vector<double>> vistos;
    for (int k = 0; k < kEstadosGeneralizacion; ++k) {
        const SEstadoPolos s = EstadoGeneralizacion(k);
        EXPECT_EQ(s.v[Estado_Angulo2], 0.0);
        EXPECT_EQ(s.v[Estado_VAngulo2], 0.0);
        vistos.insert(std::vector<double>(s.v, s.v + kTamEstado));
    }
    EXPECT_EQ(vistos.size(), 625u);
}

TEST(PolosEpisodios, UnControladorFijoEquilibraElPoloSimple)
{
    CRedNeuronal red;
    RedControladorSimple(red);
    bool bResuelto = false;
    EXPECT_EQ(PuntuarPolos(red, Polos_Simple, bResuelto), kPasosPrueba);
    EXPECT_TRUE(bResuelto);
    // Linear feedback holds from most of the grid of starting states.
    EXPECT_GE(GeneralizacionPolos(red, Polos_Simple), 400);
}

TEST(PolosEpisodios, SinControlElPoloCaeEnAlrededorDeUnSegundo)
{
    // Output 0.5: no force. From 1 degree the long pole falls in about a
    // second, and the episode stops there.
    CRedNeuronal quieta;
    RedLineal(quieta, {0, 0, 0, 0}, 0.0, 1.0);
    const int nPasos = BalancearPolos(quieta, Polos_Simple, EstadoInicialPolos(), kPasosPrueba);
    EXPECT_GT(nPasos, 50);
    EXPECT_LT(nPasos, 200);

    // The controller with its signs turned drives the pole down faster.
    CRedNeuronal alReves;
    RedLineal(alReves, {-1.0 * 2.4 / 5, -2.5 * 10 / 5, -40 * 0.628329 / 5, -6.0}, 0.0, 1.0);
    EXPECT_LT(BalancearPolos(alReves, Polos_Simple, EstadoInicialPolos(), kPasosPrueba), nPasos);
}

TEST(PolosEpisodios, PuntuacionSinVelocidades)
{
    // Full push one way: a failure long before 100 steps, so only the
    // time term counts.
    CRedNeuronal empuje;
    RedLineal(empuje, {0, 0, 0}, 50.0, 1.0);
    double dIdoneidad = -1;
    const int nPasos =
        BalancearPolos(empuje, Polos_DobleSinVelocidades, EstadoInicialPolos(), kPasosEpisodio, &dIdoneidad);
    ASSERT_LT(nPasos, 100);
    EXPECT_DOUBLE_EQ(dIdoneidad, 0.1 * nPasos / 1000.0);
    bool bResuelto = true;
    EXPECT_DOUBLE_EQ(PuntuarPolos(empuje, Polos_DobleSinVelocidades, bResuelto), dIdoneidad);
    EXPECT_FALSE(bResuelto) << "without velocities only the long test decides";
    int nGeneralizacion = 0;
    EXPECT_FALSE(ResuelvePolosSinVelocidades(empuje, nGeneralizacion));
    EXPECT_EQ(nGeneralizacion, -1);
}

TEST(PolosEpisodios, CadaEpisodioEmpiezaConLaMemoriaEnReposo)
{
    // A self-loop on the output keeps a memory from step to step; the same
    // episode twice must give the same result and the same trace.
    CRedNeuronal red;
    RedLineal(red, {0.3, 1.0, -0.4}, 0.05, 0.5);
    const SNeurona* pSalida = red.GetRed().back();
    red.AddEnlace(pSalida, pSalida, 0.8, true);
    std::vector<SMuestraPolos> vPrimera, vSegunda;
    double d1 = 0, d2 = 0;
    const int n1 =
        BalancearPolos(red, Polos_DobleSinVelocidades, EstadoInicialPolos(), kPasosEpisodio, &d1, &vPrimera, 1);
    const int n2 =
        BalancearPolos(red, Polos_DobleSinVelocidades, EstadoInicialPolos(), kPasosEpisodio, &d2, &vSegunda, 1);
    EXPECT_EQ(n1, n2);
    EXPECT_EQ(d1, d2);
    ASSERT_EQ(vPrimera.size(), vSegunda.size());
    ASSERT_EQ(vPrimera.size(), static_cast<size_t>(n1) + (n1 < kPasosEpisodio ? 1 : 0));
    for (size_t i = 0; i < vPrimera.size(); ++i)
        EXPECT_EQ(vPrimera[i].dFuerza, vSegunda[i].dFuerza);
}

TEST(PolosEjecucion, ElResultadoNoDependeDelNumeroDeHilos)
{
    SConfigPolos config = ConfigCorta(Polos_Doble, 60);
    const SResultadoPolos uno = EjecutarPolos(config, 7);
    config.nHilos = 3;
    int nAvisos = 0;
    const SResultadoPolos tres = EjecutarPolos(config, 7, [&](const SEstadisticaGeneracion&) { ++nAvisos; });
    EXPECT_EQ(uno.bResuelto, tres.bResuelto);
    EXPECT_EQ(uno.nEvaluaciones, tres.nEvaluaciones);
    EXPECT_EQ(uno.sRed, tres.sRed);
    ASSERT_EQ(uno.vGeneraciones.size(), tres.vGeneraciones.size());
    EXPECT_EQ(nAvisos, static_cast<int>(tres.vGeneraciones.size()));
    for (size_t i = 0; i < uno.vGeneraciones.size(); ++i) {
        EXPECT_EQ(uno.vGeneraciones[i].dMejor, tres.vGeneraciones[i].dMejor);
        EXPECT_EQ(uno.vGeneraciones[i].dMedia, tres.vGeneraciones[i].dMedia);
        EXPECT_EQ(uno.vGeneraciones[i].nEvaluaciones, 60L * (static_cast<long>(i) + 1));
    }
    if (!uno.bResuelto) {
        EXPECT_EQ(uno.nEvaluaciones, 360);
    }
}

TEST(PolosEjecucion, CadaIntentoEmpiezaConOtraPoblacionYCuentaSusEvaluaciones)
{
    SConfigPolos config = ConfigCorta(Polos_DobleSinVelocidades, 20);
    const SResultadoPolos uno = EjecutarPolos(config, 3);
    // Restarts due after the cap change nothing.
    config.nGeneracionesPorIntento = 6;
    const SResultadoPolos igual = EjecutarPolos(config, 3);
    EXPECT_EQ(igual.nIntentos, 1);
    ASSERT_EQ(igual.vGeneraciones.size(), uno.vGeneraciones.size());
    for (size_t i = 0; i < uno.vGeneraciones.size(); ++i)
        EXPECT_EQ(igual.vGeneraciones[i].dMedia, uno.vGeneraciones[i].dMedia);

    config.nGeneracionesPorIntento = 2;
    const SResultadoPolos tres = EjecutarPolos(config, 3);
    ASSERT_FALSE(tres.bResuelto);
    EXPECT_EQ(tres.nIntentos, 3);
    EXPECT_EQ(tres.nEvaluaciones, 120);
    ASSERT_EQ(tres.vGeneraciones.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(tres.vGeneraciones[i].nEvaluaciones, 20L * (static_cast<long>(i) + 1));
        // The first attempt is the run without restarts.
        if (i < 2) {
            EXPECT_EQ(tres.vGeneraciones[i].dMedia, uno.vGeneraciones[i].dMedia);
        }
    }
    // Generations 2 and 4 are first genomes again (3 inputs, bias, output),
    // drawn anew: not the first attempt replayed.
    const double dNeuronasIniciales = uno.vGeneraciones[0].dNeuronasMedia;
    EXPECT_EQ(tres.vGeneraciones[2].dNeuronasMedia, dNeuronasIniciales);
    EXPECT_EQ(tres.vGeneraciones[4].dNeuronasMedia, dNeuronasIniciales);
    EXPECT_NE(tres.vGeneraciones[2].dMedia, tres.vGeneraciones[0].dMedia);
    EXPECT_NE(tres.vGeneraciones[4].dMedia, tres.vGeneraciones[2].dMedia);
    EXPECT_NE(CsvPolos({tres}).find(",0,6,3,120,"), std::string::npos);
}

TEST(PolosEjecucion, ResumenDeVariasEjecuciones)
{
    std::vector<SResultadoPolos> v(4);
    const long kEvaluaciones[4] = {1000, 3000, 99999, 2000};
    const int kGeneralizacion[4] = {250, 300, -1, 210};
    for (int i = 0; i < 4; ++i) {
        v[i].bResuelto = i != 2;
        v[i].nEvaluaciones = kEvaluaciones[i];
        v[i].nGeneralizacion = kGeneralizacion[i];
        v[i].nOcultas = i;
        v[i].nEnlaces = 10;
    }
    const SResumenPolos r = ResumirPolos(v);
    EXPECT_EQ(r.nEjecuciones, 4);
    EXPECT_EQ(r.nResueltas, 3);
    EXPECT_DOUBLE_EQ(r.dMediaEvaluaciones, 2000.0);
    EXPECT_DOUBLE_EQ(r.dMedianaEvaluaciones, 2000.0);
    EXPECT_EQ(r.nMaxEvaluaciones, 3000);
    EXPECT_EQ(r.nMinGeneralizacion, 210);
    EXPECT_NEAR(r.dMediaGeneralizacion, 760.0 / 3, 1e-12);
    EXPECT_NEAR(r.dMediaOcultas, 4.0 / 3, 1e-12);
    EXPECT_NE(TablaPolos(v, r).find("Resueltas: 3 de 4"), std::string::npos);
    const SResumenPolos vacio = ResumirPolos({SResultadoPolos()});
    EXPECT_EQ(vacio.nResueltas, 0);
    EXPECT_EQ(vacio.dMediaEvaluaciones, 0.0);
}

TEST(PolosOpciones, TareaYOpciones)
{
    const char* argumentos[] = {
        "entrenar",  "polos", "doble-sin-velocidades", "--ejecuciones", "50",           "--hilos", "4",
        "--semilla", "9",     "--poblacion",           "200",           "--sin-informe"};
    SOpcionesPolos o;
    std::string sError;
    ASSERT_TRUE(LeerOpcionesPolos(12, const_cast<char**>(argumentos), 2, o, sError)) << sError;
    EXPECT_EQ(o.eTarea, Polos_DobleSinVelocidades);
    EXPECT_EQ(o.nEjecuciones, 50);
    EXPECT_EQ(o.nHilos, 4u);
    EXPECT_EQ(o.nSemilla, 9u);
    EXPECT_EQ(o.nPoblacion, 200);
    EXPECT_FALSE(o.bInforme);
    EXPECT_EQ(o.nGeneracionesPorIntento, -1);  // the task's own

    const char* conIntento[] = {"entrenar", "polos", "doble", "--intento", "0"};
    ASSERT_TRUE(LeerOpcionesPolos(5, const_cast<char**>(conIntento), 2, o, sError)) << sError;
    EXPECT_EQ(o.nGeneracionesPorIntento, 0);
    const char* intentoNegativo[] = {"entrenar", "polos", "doble", "--intento", "-1"};
    EXPECT_FALSE(LeerOpcionesPolos(5, const_cast<char**>(intentoNegativo), 2, o, sError));

    const char* sinTarea[] = {"entrenar", "polos"};
    EXPECT_FALSE(LeerOpcionesPolos(2, const_cast<char**>(sinTarea), 2, o, sError));
    EXPECT_NE(sError.find("Falta TAREA"), std::string::npos);
    const char* malaTarea[] = {"entrenar", "polos", "triple"};
    EXPECT_FALSE(LeerOpcionesPolos(3, const_cast<char**>(malaTarea), 2, o, sError));
    EXPECT_NE(sError.find("triple"), std::string::npos);
    const char* malValor[] = {"entrenar", "polos", "simple", "--hilos", "0"};
    EXPECT_FALSE(LeerOpcionesPolos(5, const_cast<char**>(malValor), 2, o, sError));
}
