#ifndef ETAPAREAL_H
#define ETAPAREAL_H

#include <string>
#include <vector>

#include "Opciones.h"

class CProgreso;

// The real arena's files and sample robots that stand for the simulated
// arena and scripted rivals of a training recipe.
std::vector<std::string> ArenasRealesDeReceta(const SConfigEvaluacion& config);
std::vector<TMezclaReal> RivalesRealesDeReceta(const std::vector<TGrupoRivales>& vRivales);

// The last stage of a run: each network file of vsRedes plays, with the
// built robot, the recipe's arenas and rivals in the installed real arena,
// nPartidas games on each arena against each rival. Points per game by
// network, or false with why the stage could not be played (no arena
// installed, a run that broke).
bool JugarEtapaReal(const SOpcionesRobot& opciones, const std::vector<std::string>& vsRedes, CProgreso& progreso,
                    std::vector<double>& vdPuntosPorPartida, std::string& sError);

#endif
