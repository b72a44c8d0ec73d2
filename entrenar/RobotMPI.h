#ifndef ROBOTMPI_H
#define ROBOTMPI_H

#include <string>

#include "Opciones.h"

// `entrenar robot` as one process of an MPI job (mpirun -np N entrenar
// robot ...): rank 0 trains and writes the output folder, the others play
// the matches it hands them. Returns the process's exit code.
int EntrenarRobotMPI(int argc, char** argv);

// What rank 0 says when the job ends under it during nGeneracion (-1: while
// choosing the final network): where the run stopped and how to resume it.
std::string AvisoInterrupcionMPI(int nGeneracion, const SOpcionesRobot& opciones);

#endif
