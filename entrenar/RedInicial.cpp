#include "RedInicial.h"

#include <map>

#include "NEAT/CRedNeuronal.h"

namespace {

// Where the direct link from neuron nOrigen to output neuron nDestino (both
// numbered as a genome numbers them) keeps its weight in vPesos.
size_t IndiceDirecto(const SRedInicial& red, int nOrigen, int nDestino)
{
    return static_cast<size_t>(nOrigen * red.nSalidas + nDestino - red.nEntradas - 1);
}

// Every neuron's number as a genome numbers it (see SEnlaceInicial).
bool Numerar(const CRedNeuronal& red, int nEntradas, int nSalidas, std::map<const SNeurona*, int>& mNumeros,
             std::string& sError)
{
    int nVistasEntradas = 0, nVistasSalidas = 0, nSesgos = 0, nOcultas = 0;
    for (const SNeurona* pN : red.GetRed()) {
        if (pN->TipoNeurona == Neurona_Entrada)
            mNumeros[pN] = nVistasEntradas++;
        else if (pN->TipoNeurona == Neurona_Sesgo)
            mNumeros[pN] = nEntradas + nSesgos++;
        else if (pN->TipoNeurona == Neurona_Salida && nOcultas > 0) {
            sError = "calcula una neurona oculta antes que una salida";
            return false;
        } else if (pN->TipoNeurona == Neurona_Salida)
            mNumeros[pN] = nEntradas + 1 + nVistasSalidas++;
        else
            mNumeros[pN] = nEntradas + 1 + nSalidas + nOcultas++;
    }
    if (nVistasEntradas != nEntradas || nVistasSalidas != nSalidas || nSesgos != 1) {
        sError = "debe tener " + std::to_string(nEntradas) + " entradas, el sesgo y " + std::to_string(nSalidas) +
                 " salidas";
        return false;
    }
    return true;
}

// Adds one link of the text: a direct one into the weight table, any other
// to the list (weights of repeated links add up, as the network adds them).
bool Anyadir(const SNeurona& origen, const SEnlace& e, const std::map<const SNeurona*, int>& mNumeros,
             std::map<std::pair<int, int>, double>& mOtros, SRedInicial& red, std::string& sError)
{
    const int n = red.nEntradas;
    const int nOrigen = mNumeros.at(&origen), nDestino = mNumeros.at(e.pNeuronaSalida);
    if (nDestino <= n) {
        sError = "tiene enlaces hacia una entrada o el sesgo";
        return false;
    }
    const bool bSalida = nDestino <= n + red.nSalidas;
    if (nOrigen <= n && bSalida)
        red.vPesos[IndiceDirecto(red, nOrigen, nDestino)] += e.dPeso;
    else
        mOtros[{nOrigen, nDestino}] += e.dPeso;
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
    std::map<const SNeurona*, int> mNumeros;
    if (!Numerar(rn, nEntradas, nSalidas, mNumeros, sError))
        return false;
    SRedInicial leida;
    leida.nEntradas = nEntradas;
    leida.nSalidas = nSalidas;
    leida.vPesos.assign(static_cast<size_t>((nEntradas + 1) * nSalidas), 0.0);
    leida.vCurvaturas.assign(static_cast<size_t>(nSalidas), 1.0);
    std::map<std::pair<int, int>, double> mOtros;
    for (const SNeurona* pN : rn.GetRed()) {
        const int nNumero = mNumeros[pN];
        if (pN->TipoNeurona == Neurona_Salida)
            leida.vCurvaturas[static_cast<size_t>(nNumero - nEntradas - 1)] = pN->dCurvaturaSigmoidea;
        else if (pN->TipoNeurona == Neurona_Oculta)
            leida.vCurvaturasOcultas.push_back(pN->dCurvaturaSigmoidea);
        for (const SEnlace& e : pN->vEnlacesSalida) {
            if (!Anyadir(*pN, e, mNumeros, mOtros, leida, sError))
                return false;
        }
    }
    for (const auto& otro : mOtros)
        leida.vOtrosEnlaces.push_back({otro.first.first, otro.first.second, otro.second});
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

namespace {

// Hidden neuron k of the starting point, registered in bd the first time.
SGenNeurona NeuronaOculta(const SGenNeurona& plantilla, const SRedInicial& red, size_t k, CInnovacion& bd)
{
    const size_t nOcultas = red.vCurvaturasOcultas.size();
    SGenNeurona g = plantilla;  // a copy: a new gene would draw its curvature
    g.Tipo = Neurona_Oculta;
    g.nID = red.nEntradas + 1 + red.nSalidas + static_cast<int>(k);
    g.bRecurrente = false;
    g.dCurvaturaActivacion = red.vCurvaturasOcultas[k];
    g.dSplitX = (static_cast<double>(k) + 1.0) / (static_cast<double>(nOcultas) + 1.0);
    g.dSplitY = 0.5;
    if (bd.GetSigIDNeurona() == g.nID)
        bd.CrearNuevaInnovacion(0, 0, INO_Neurona, Neurona_Oculta, g.dSplitX, g.dSplitY);
    return g;
}

SGenEnlace OtroEnlace(const SEnlaceInicial& e, CInnovacion& bd)
{
    int nInnovacion = bd.ComprobarInnovacion(e.nOrigen, e.nDestino, INO_Enlace);
    if (nInnovacion < 0) {
        nInnovacion = bd.GetSigIDInnovacion();
        bd.CrearNuevaInnovacion(e.nOrigen, e.nDestino, INO_Enlace, Neurona_SinTipo, 0.0, 0.0);
    }
    // Neurons are computed in number order: a link that reads a neuron
    // computed later, or itself, reads its previous value.
    return SGenEnlace(e.nOrigen, e.nDestino, true, nInnovacion, e.dPeso, e.nOrigen >= e.nDestino);
}

}  // namespace

CGenoma* GenomaDesdeRedInicial(const CGenoma& minimo, const SRedInicial& red, CInnovacion& bd)
{
    // The minimal genome numbers its inputs 0..n-1, the bias n and the
    // outputs n+1..n+m.
    const int n = red.nEntradas;
    TGNeuronas vNeuronas = minimo.GetGenesNeurona();
    // Inputs and the bias are never computed; a fixed curvature for them
    // makes every seeded genome the same.
    for (SGenNeurona& g : vNeuronas)
        g.dCurvaturaActivacion = g.Tipo == Neurona_Salida ? red.vCurvaturas[static_cast<size_t>(g.nID - n - 1)] : 1.0;
    const SGenNeurona plantilla = vNeuronas.back();
    for (size_t k = 0; k < red.vCurvaturasOcultas.size(); ++k)
        vNeuronas.push_back(NeuronaOculta(plantilla, red, k, bd));
    TGEnlaces vEnlaces = minimo.GetGenesEnlace();
    for (SGenEnlace& g : vEnlaces)
        g.dPeso = red.vPesos[IndiceDirecto(red, g.nIDNeuronaInicio, g.nIDNeuronaFin)];
    for (const SEnlaceInicial& e : red.vOtrosEnlaces)
        vEnlaces.push_back(OtroEnlace(e, bd));
    CGenoma* pGenoma = new CGenoma(static_cast<int>(minimo.GetID()), vNeuronas, vEnlaces,
                                   static_cast<int>(minimo.GetNumEntradas()), static_cast<int>(minimo.GetNumSalidas()));
    pGenoma->OrdenarGenes();
    return pGenoma;
}
