#ifndef PUNTOCONTROL_H
#define PUNTOCONTROL_H

#include <string>
#include <vector>

#include "Campeones.h"
#include "Opciones.h"

// A robot run's checkpoint: a folder punto_control/ in the output folder
// with the population file (the library's format, readable by its own
// reader) and estado.txt, everything else the run needs to go on exactly as
// if it had never stopped. The folder is written whole under another name
// and then renamed into place, so a reader finds either the previous
// checkpoint or the new one, never a mix.

// A network that led its generation, kept to choose the final one from.
struct SCandidato {
    std::string sRed;
    double dPuntuacion = 0;   // in training
    double dValidacion = -1;  // mean score on the validation matches
    double dColocacion = -1;  // mean placing on the validation matches (set when choosing, never saved)
    double dPuntosReal = -1;  // points per game in the real arena (set when choosing, never saved)
    int nGeneracion = 0;
};

// What estado.txt holds besides the engine's own state.
struct SEstadoEntrenamiento {
    int nGeneracion = 0;
    TOpcionesFijas vOpciones;      // the options the results depend on
    std::string sHuellaPoblacion;  // of the population file it goes with
    long nEvaluaciones = 0;
    double dMejorHistorica = 0;
    std::string sRandom;  // the random generator's state
    std::vector<std::string> vsFilasEstadisticas;
    std::vector<std::string> vsFilasEspecies;
    std::vector<std::string> vsLogs;  // contents, in the order of NombresLogs()
    std::vector<SCandidato> vCandidatos;
    SCampeones campeones;  // leaders fielded as rivals
    std::string sMotor;    // CAlgoritmoGenetico::SalvarEstado
};

// The engine's logs in the output folder.
const std::vector<std::string>& NombresLogs();

// The checkpoint folder of an output folder, and its two files.
std::string CarpetaPuntoControl(const std::string& sSalida);
std::string RutaPoblacionPuntoControl(const std::string& sCarpetaPuntoControl);
std::string RutaEstadoPuntoControl(const std::string& sCarpetaPuntoControl);

// A short fingerprint of a text, to tie estado.txt to its population file.
std::string Huella(const std::string& sTexto);

std::string TextoEstado(const SEstadoEntrenamiento& estado);
// False, with what is wrong, unless sTexto is a whole state.
bool LeerEstado(const std::string& sTexto, SEstadoEntrenamiento& estado, std::string& sError);

// Writes the checkpoint of sSalida; on failure the previous checkpoint is
// left as it was and sError names the path and the reason.
bool EscribirPuntoControl(const std::string& sSalida, const std::string& sPoblacion, const std::string& sEstado,
                          std::string& sError);

// The checkpoint folder that --reanudar sRuta names: a checkpoint folder,
// its population file, or an output folder. Also finds the previous
// checkpoint when a crash came between the two renames of a write.
bool LocalizarPuntoControl(const std::string& sRuta, std::string& sCarpeta, std::string& sError);

// Both files of a checkpoint folder, checked to belong together.
bool LeerPuntoControl(const std::string& sCarpeta, std::string& sPoblacion, SEstadoEntrenamiento& estado,
                      std::string& sError);

// The options of the run being started against those of the checkpoint:
// empty when they agree, else one line per difference.
std::string DiferenciasDeOpciones(const TOpcionesFijas& vGuardadas, const TOpcionesFijas& vAhora);

#endif
