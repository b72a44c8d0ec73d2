#ifndef PARAMETROSROBOT_H
#define PARAMETROSROBOT_H

class CAlgoritmoGenetico;

// Engine parameters for training the robot's network; call after
// Inicializar.
void AplicarParametrosRobot(CAlgoritmoGenetico& ag);

#endif
