#ifndef JUGAR_H
#define JUGAR_H

#include <string>
#include <vector>

#include "Opciones.h"

// Tally of the matches against one rival.
struct SMarcador {
    TRival eRival = Rival_Quieto;
    int nPartidas = 0;
    int nGanadas = 0;
    int nEmpates = 0;
    int nPerdidas = 0;
    double dPuntos = 0;  // means per match from here on
    double dPuntosRival = 0;
    double dDanyoCausado = 0;
    double dDanyoRecibido = 0;
    double dEnergia = 0;
    double dPuntuacion = 0;
};

// Plays nPartidas matches of sRed against each rival. Seeds depend on
// nSemilla, the rival's place in the list and the match only.
std::vector<SMarcador> JugarContraRivales(const std::string& sRed, const std::string& sRedRival,
                                          const std::vector<TRival>& vRivales, int nPartidas, unsigned nSemilla,
                                          const SConfigEvaluacion& config, unsigned nHilos);

std::string TablaMarcador(const std::vector<SMarcador>& vMarcadores);

bool ComandoJugar(const SOpcionesJugar& opciones, std::string& sError);

#endif
