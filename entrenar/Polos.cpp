// Pole balancing: the cart's equations of motion, the episodes a network
// plays and the engine parameters of the runs.
#include "Polos.h"

#include <cmath>

#include "NEAT/CAlgoritmoGenetico.h"

namespace {

const double kPi = 3.14159265358979323846;

// Input scales: each state variable over its usual span.
const double kEscalaEntradas[kTamEstado] = {kMitadPista, 10.0, kAnguloFallo, 5.0, kAnguloFallo, 16.0};

// The generalization test's grid: the half-width of each variable's range.
const double kRangoGeneralizacion[4] = {2.16, 1.35, 3.6 * kPi / 180.0, 8.6 * kPi / 180.0};
const double kFraccionesGeneralizacion[5] = {0.05, 0.25, 0.5, 0.75, 0.95};

double Signo(double d) { return d > 0 ? 1.0 : (d < 0 ? -1.0 : 0.0); }

// The network's memory back to rest: an instantaneous call leaves every
// neuron's output at 0.
void ReiniciarRed(CRedNeuronal& red, size_t nEntradas)
{
    const TVecDoubles vCeros(nEntradas, 0.0);
    red.Actualizar(vCeros, Ejecucion_Instantanea);
}

// The wiggle measure of one step: what the task without velocities punishes.
double Oscilacion(const SEstadoPolos& e)
{
    return std::fabs(e.v[Estado_X]) + std::fabs(e.v[Estado_VX]) + std::fabs(e.v[Estado_Angulo1]) +
           std::fabs(e.v[Estado_VAngulo1]);
}

}  // namespace

bool LeerTareaPolos(const std::string& sNombre, TTareaPolos& eTarea)
{
    for (int i = Polos_Simple; i <= Polos_DobleSinVelocidades; ++i) {
        if (sNombre == NombreTareaPolos(static_cast<TTareaPolos>(i))) {
            eTarea = static_cast<TTareaPolos>(i);
            return true;
        }
    }
    return false;
}

const char* NombreTareaPolos(TTareaPolos eTarea)
{
    switch (eTarea) {
        case Polos_Simple:
            return "simple";
        case Polos_Doble:
            return "doble";
        case Polos_DobleSinVelocidades:
            return "doble-sin-velocidades";
    }
    return "";
}

int EntradasPolos(TTareaPolos eTarea) { return eTarea == Polos_Simple ? 4 : (eTarea == Polos_Doble ? 6 : 3); }

bool DosPolos(TTareaPolos eTarea) { return eTarea != Polos_Simple; }

// Each pole is a uniform rod hinged at the cart. Its effective force on the
// cart and its effective mass come from eliminating the pole's angular
// acceleration from the cart's equation.
void DerivadasPolos(const SFisicaPolos& f, const SEstadoPolos& e, double dFuerza, SEstadoPolos& d)
{
    double dFuerzaPolos = 0.0, dMasaPolos = 0.0;
    for (int i = 0; i < f.nPolos; ++i) {
        const double dAngulo = e.v[Estado_Angulo1 + 2 * i], dVel = e.v[Estado_VAngulo1 + 2 * i];
        const double m = f.dMasaPolo[i], l = f.dMitadLongitud[i];
        const double dSen = std::sin(dAngulo), dCos = std::cos(dAngulo);
        const double dBisagra = f.dFriccionBisagra * dVel / (m * l);
        dFuerzaPolos += m * l * dVel * dVel * dSen - 0.75 * m * dCos * (f.dGravedad * dSen - dBisagra);
        dMasaPolos += m * (1.0 - 0.75 * dCos * dCos);
    }
    const double dAcelCarro =
        (dFuerza - f.dFriccionCarro * Signo(e.v[Estado_VX]) + dFuerzaPolos) / (f.dMasaCarro + dMasaPolos);
    d = SEstadoPolos();
    d.v[Estado_X] = e.v[Estado_VX];
    d.v[Estado_VX] = dAcelCarro;
    for (int i = 0; i < f.nPolos; ++i) {
        const double dAngulo = e.v[Estado_Angulo1 + 2 * i], dVel = e.v[Estado_VAngulo1 + 2 * i];
        const double m = f.dMasaPolo[i], l = f.dMitadLongitud[i];
        const double dBisagra = f.dFriccionBisagra * dVel / (m * l);
        d.v[Estado_Angulo1 + 2 * i] = dVel;
        d.v[Estado_VAngulo1 + 2 * i] =
            0.75 / l * (f.dGravedad * std::sin(dAngulo) - dAcelCarro * std::cos(dAngulo) - dBisagra);
    }
}

void PasoPolos(const SFisicaPolos& fisica, double dFuerza, double dPaso, SEstadoPolos& estado)
{
    SEstadoPolos k1, k2, k3, k4, intermedio;
    auto Avanzar = [&](const SEstadoPolos& pendiente, double dFraccion) {
        for (int i = 0; i < kTamEstado; ++i)
            intermedio.v[i] = estado.v[i] + dFraccion * dPaso * pendiente.v[i];
    };
    DerivadasPolos(fisica, estado, dFuerza, k1);
    Avanzar(k1, 0.5);
    DerivadasPolos(fisica, intermedio, dFuerza, k2);
    Avanzar(k2, 0.5);
    DerivadasPolos(fisica, intermedio, dFuerza, k3);
    Avanzar(k3, 1.0);
    DerivadasPolos(fisica, intermedio, dFuerza, k4);
    for (int i = 0; i < kTamEstado; ++i)
        estado.v[i] += dPaso / 6.0 * (k1.v[i] + 2.0 * k2.v[i] + 2.0 * k3.v[i] + k4.v[i]);
}

bool FalloPolos(const SFisicaPolos& fisica, const SEstadoPolos& e)
{
    if (!(std::fabs(e.v[Estado_X]) <= kMitadPista))
        return true;
    for (int i = 0; i < fisica.nPolos; ++i) {
        if (!(std::fabs(e.v[Estado_Angulo1 + 2 * i]) <= kAnguloFallo))
            return true;
    }
    return false;
}

double EnergiaPolos(const SFisicaPolos& f, const SEstadoPolos& e)
{
    const double dVX = e.v[Estado_VX];
    double dEnergia = 0.5 * f.dMasaCarro * dVX * dVX;
    for (int i = 0; i < f.nPolos; ++i) {
        const double dAngulo = e.v[Estado_Angulo1 + 2 * i], dVel = e.v[Estado_VAngulo1 + 2 * i];
        const double m = f.dMasaPolo[i], l = f.dMitadLongitud[i];
        // Centre of the rod at (x + l sin, l cos); its own inertia m l^2 / 3.
        const double dVXCentro = dVX + l * dVel * std::cos(dAngulo), dVYCentro = -l * dVel * std::sin(dAngulo);
        dEnergia += 0.5 * m * (dVXCentro * dVXCentro + dVYCentro * dVYCentro) + 0.5 * m * l * l / 3.0 * dVel * dVel +
                    m * f.dGravedad * l * std::cos(dAngulo);
    }
    return dEnergia;
}

double MomentoPolos(const SFisicaPolos& f, const SEstadoPolos& e)
{
    double dMomento = f.dMasaCarro * e.v[Estado_VX];
    for (int i = 0; i < f.nPolos; ++i) {
        const double m = f.dMasaPolo[i], l = f.dMitadLongitud[i];
        dMomento += m * (e.v[Estado_VX] + l * e.v[Estado_VAngulo1 + 2 * i] * std::cos(e.v[Estado_Angulo1 + 2 * i]));
    }
    return dMomento;
}

SEstadoPolos EstadoInicialPolos()
{
    SEstadoPolos e;
    e.v[Estado_Angulo1] = kAnguloInicial;
    return e;
}

SEstadoPolos EstadoGeneralizacion(int k)
{
    static const int kVariables[4] = {Estado_X, Estado_VX, Estado_Angulo1, Estado_VAngulo1};
    SEstadoPolos e;
    for (int i = 3; i >= 0; --i) {
        const double dRango = kRangoGeneralizacion[i];
        e.v[kVariables[i]] = -dRango + 2.0 * dRango * kFraccionesGeneralizacion[k % 5];
        k /= 5;
    }
    return e;
}

void EntradasRedPolos(TTareaPolos eTarea, const SEstadoPolos& e, TVecDoubles& vEntradas)
{
    static const int kSinVelocidades[3] = {Estado_X, Estado_Angulo1, Estado_Angulo2};
    vEntradas.resize(static_cast<size_t>(EntradasPolos(eTarea)));
    for (size_t i = 0; i < vEntradas.size(); ++i) {
        const int nVariable = eTarea == Polos_DobleSinVelocidades ? kSinVelocidades[i] : static_cast<int>(i);
        vEntradas[i] = e.v[nVariable] / kEscalaEntradas[nVariable];
    }
}

double FuerzaPolos(double dSalida) { return kFuerzaMaxima * (2.0 * dSalida - 1.0); }

int BalancearPolos(CRedNeuronal& red, TTareaPolos eTarea, const SEstadoPolos& inicio, int nMaxPasos,
                   double* pdIdoneidad, std::vector<SMuestraPolos>* pvTraza, int nCadaTraza)
{
    SFisicaPolos fisica;
    fisica.nPolos = DosPolos(eTarea) ? 2 : 1;
    SEstadoPolos estado = inicio;
    TVecDoubles vEntradas;
    ReiniciarRed(red, static_cast<size_t>(EntradasPolos(eTarea)));
    // The wiggle of the last 100 steps, kept in a ring.
    const int kVentana = 100;
    double vdOscilacion[kVentana] = {0};
    int nPasos = 0;
    while (nPasos < nMaxPasos) {
        EntradasRedPolos(eTarea, estado, vEntradas);
        const TVecDoubles& vSalidas = red.Actualizar(vEntradas, Ejecucion_PasoDinamico);
        const double dSalida = vSalidas.empty() ? 0.5 : vSalidas[0];
        const double dFuerza = std::isnan(dSalida) ? 0.0 : FuerzaPolos(dSalida);
        if (pvTraza && nPasos % nCadaTraza == 0)
            pvTraza->push_back(
                {nPasos * kPasoPolos, estado.v[Estado_X], estado.v[Estado_Angulo1], estado.v[Estado_Angulo2], dFuerza});
        PasoPolos(fisica, dFuerza, kPasoPolos, estado);
        if (FalloPolos(fisica, estado))
            break;
        vdOscilacion[nPasos % kVentana] = Oscilacion(estado);
        ++nPasos;
    }
    if (pdIdoneidad) {
        double dOscilacion = 0.0;
        for (double d : vdOscilacion)
            dOscilacion += d;
        const double f1 = static_cast<double>(nPasos) / kPasosEpisodio;
        const double f2 = nPasos < kVentana ? 0.0 : 0.75 / std::fmax(dOscilacion, 1e-9);
        *pdIdoneidad = 0.1 * f1 + 0.9 * f2;
    }
    return nPasos;
}

int GeneralizacionPolos(CRedNeuronal& red, TTareaPolos eTarea)
{
    int nAguantados = 0;
    for (int k = 0; k < kEstadosGeneralizacion; ++k) {
        if (BalancearPolos(red, eTarea, EstadoGeneralizacion(k), kPasosEpisodio) == kPasosEpisodio)
            ++nAguantados;
    }
    return nAguantados;
}

double PuntuarPolos(CRedNeuronal& red, TTareaPolos eTarea, bool& bResuelto)
{
    if (eTarea == Polos_DobleSinVelocidades) {
        double dIdoneidad = 0.0;
        BalancearPolos(red, eTarea, EstadoInicialPolos(), kPasosEpisodio, &dIdoneidad);
        bResuelto = false;
        return dIdoneidad;
    }
    const int nPasos = BalancearPolos(red, eTarea, EstadoInicialPolos(), kPasosPrueba);
    bResuelto = nPasos == kPasosPrueba;
    return nPasos;
}

bool ResuelvePolosSinVelocidades(CRedNeuronal& red, int& nGeneralizacion)
{
    nGeneralizacion = -1;
    if (BalancearPolos(red, Polos_DobleSinVelocidades, EstadoInicialPolos(), kPasosPrueba) < kPasosPrueba)
        return false;
    nGeneralizacion = GeneralizacionPolos(red, Polos_DobleSinVelocidades);
    return nGeneralizacion >= kGeneralizacionNecesaria;
}

// Tuned on runs of the two tasks with velocities (see docs/polos.md):
// from the XOR preset, a still wider compatibility threshold with room for
// fewer species, so that each species is large enough to hold on to a
// balancing strategy; a new link tried for one child in five, since a
// controller needs few links; larger weight perturbations, since the gains
// of a balancing controller lie far from the first random weights. Without
// velocities the network must build them from values a step apart, which
// takes high gains: the curvatures, which set each neuron's gain, mutate
// more often and further.
//
// Without velocities the balancing networks found are mostly high-gain
// controllers that push back and forth every step; their score over 1,000
// steps says little about whether they hold for 100,000, so the task is
// solved sooner when every generation's best is a network not tried
// before, from one of many separate lines: no elite and no unchanged
// copies of the species leaders, a narrow threshold with room for 20
// species. Each first network carries a loop on its output, the memory the
// early balancers need.
void AplicarParametrosPolos(CAlgoritmoGenetico& ag, TTareaPolos eTarea)
{
    const bool bSinVelocidades = eTarea == Polos_DobleSinVelocidades;
    ag.SetNumeroIndividuosElite(bSinVelocidades ? 0 : 2);
    ag.SetMaxEpocasPermitidasSinMejora(15);
    ag.SetMaxNumeroDeEspecies(bSinVelocidades ? 20 : 10);
    ag.SetMaxNumeroDeNeuronas(100);
    ag.SetMaxNumeroIntentosEnlaceAntiguo(5);
    ag.SetMaxIntentosAnyadirBucle(5);
    ag.SetMaxIntentosAnyadirEnlace(20);
    ag.SetEspeciacion(true);
    ag.SetUmbralCompatibilidadEspecie(bSinVelocidades ? 0.3 : 1.0);
    ag.SetRatioDeCruce(0.0);
    ag.SetRatioDeMutacion(0.5);
    ag.SetRatioDeMutacionSigmoidea(bSinVelocidades ? 0.5 : 0.3);
    ag.SetProbabilidadAnyadirNeurona(0.2);
    ag.SetProbabilidadAnyadirEnlace(0.2);
    ag.SetProbabilidadAnyadirBucle(0.3);
    ag.SetProbabilidadSustituirPeso(0.05);
    ag.SetMaxPerturbacionPeso(1.0);
    ag.SetMaxPerturbacionSigmoidea(bSinVelocidades ? 0.5 : 0.15);
    ag.SetBuclesSalidaIniciales(bSinVelocidades);
    ag.SetSinCopiaDeLideres(bSinVelocidades);
}
