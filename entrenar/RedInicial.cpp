#include "RedInicial.h"

#include <map>

#include "NEAT/CRedNeuronal.h"

namespace {

// Position of every neuron among the inputs plus bias (as sources) or the
// outputs (as targets); -1 for anything else.
struct SPosiciones {
    std::map<const SNeurona*, int> mOrigen;
    std::map<const SNeurona*, int> mSalida;
};

bool Clasificar(const CRedNeuronal& red, int nEntradas, int nSalidas, SPosiciones& p, std::string& sError)
{
    int nVistasEntradas = 0, nVistasSalidas = 0;
    for (const SNeurona* pN : red.GetRed()) {
        if (pN->TipoNeurona == Neurona_Entrada)
            p.mOrigen[pN] = nVistasEntradas++;
        else if (pN->TipoNeurona == Neurona_Sesgo)
            p.mOrigen[pN] = nEntradas;
        else if (pN->TipoNeurona == Neurona_Salida)
            p.mSalida[pN] = nVistasSalidas++;
        else {
            sError = "tiene neuronas ocultas";
            return false;
        }
    }
    if (nVistasEntradas != nEntradas || nVistasSalidas != nSalidas ||
        static_cast<int>(p.mOrigen.size()) != nEntradas + 1) {
        sError = "debe tener " + std::to_string(nEntradas) + " entradas, el sesgo y " + std::to_string(nSalidas) +
                 " salidas";
        return false;
    }
    return true;
}

}  // namespace

bool LeerRedInicial(const std::string& sTexto, int nEntradas, int nSalidas, SRedInicial& red, std::string& sError)
{
    std::string sPlano;
    CRedNeuronal rn;
    if (!DecodificarTextoRed(sTexto, sPlano) || !CargarTextoPlanoRed(sPlano, rn)) {
        sError = "no es una red en forma de texto";
        return false;
    }
    SPosiciones p;
    if (!Clasificar(rn, nEntradas, nSalidas, p, sError))
        return false;
    SRedInicial leida;
    leida.nEntradas = nEntradas;
    leida.nSalidas = nSalidas;
    leida.vPesos.assign(static_cast<size_t>((nEntradas + 1) * nSalidas), 0.0);
    leida.vCurvaturas.assign(static_cast<size_t>(nSalidas), 1.0);
    for (const SNeurona* pN : rn.GetRed()) {
        if (pN->TipoNeurona == Neurona_Salida)
            leida.vCurvaturas[static_cast<size_t>(p.mSalida[pN])] = pN->dCurvaturaSigmoidea;
        for (const SEnlace& e : pN->vEnlacesSalida) {
            const auto itSalida = p.mSalida.find(e.pNeuronaSalida);
            if (p.mOrigen.count(pN) == 0 || itSalida == p.mSalida.end()) {
                sError = "tiene enlaces que no van de una entrada o el sesgo a una salida";
                return false;
            }
            leida.vPesos[static_cast<size_t>(p.mOrigen[pN] * nSalidas + itSalida->second)] += e.dPeso;
        }
    }
    red = leida;
    return true;
}

SRedInicial RedInicialRobot()
{
    // Input slots and outputs as the robot numbers them.
    enum { Robot = 0, Disparo = 1, Sesgo = 6 };
    enum { Cuerpo = 0, Radar = 1, Canyon = 2, Motor = 3, Gatillo = 4 };
    SRedInicial red;
    red.nEntradas = 6;
    red.nSalidas = 5;
    red.vPesos.assign(static_cast<size_t>((red.nEntradas + 1) * red.nSalidas), 0.0);
    red.vCurvaturas.assign(static_cast<size_t>(red.nSalidas), 1.0);
    auto peso = [&red](int nOrigen, int nSalida, double dPeso) {
        red.vPesos[static_cast<size_t>(nOrigen * red.nSalidas + nSalida)] = dPeso;
    };
    // A distance is at least a few centimetres, so 20 per metre saturates.
    for (int nSalida : {Radar, Canyon}) {
        peso(Sesgo, nSalida, 10.0);
        peso(Robot, nSalida, -20.0);
        peso(Disparo, nSalida, -20.0);
    }
    peso(Sesgo, Gatillo, -10.0);
    peso(Robot, Gatillo, 20.0);
    peso(Sesgo, Cuerpo, -0.15);
    peso(Robot, Motor, 0.5);
    return red;
}

CGenoma* GenomaDesdeRedInicial(const CGenoma& minimo, const SRedInicial& red)
{
    // The minimal genome numbers its inputs 0..n-1, the bias n and the
    // outputs n+1..n+m.
    const int n = red.nEntradas;
    TGNeuronas vNeuronas = minimo.GetGenesNeurona();
    // Inputs and the bias are never computed; a fixed curvature for them
    // makes every seeded genome the same.
    for (SGenNeurona& g : vNeuronas)
        g.dCurvaturaActivacion = g.Tipo == Neurona_Salida ? red.vCurvaturas[static_cast<size_t>(g.nID - n - 1)] : 1.0;
    TGEnlaces vEnlaces = minimo.GetGenesEnlace();
    for (SGenEnlace& g : vEnlaces)
        g.dPeso = red.vPesos[static_cast<size_t>(g.nIDNeuronaInicio * red.nSalidas + g.nIDNeuronaFin - n - 1)];
    return new CGenoma(static_cast<int>(minimo.GetID()), vNeuronas, vEnlaces, static_cast<int>(minimo.GetNumEntradas()),
                       static_cast<int>(minimo.GetNumSalidas()));
}
