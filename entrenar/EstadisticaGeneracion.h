#ifndef ESTADISTICAGENERACION_H
#define ESTADISTICAGENERACION_H

// One generation of a run: a row of estadisticas.csv and a point of the
// report's charts.
struct SEstadisticaGeneracion {
    int nGeneracion = 0;
    long nEvaluaciones = 0;  // so far in this run: matches played, or networks tried
    double dMejor = 0;
    double dMedia = 0;
    double dMejorHistorica = 0;
    int nEspecies = 0;
    double dNeuronasMedia = 0;
    double dEnlacesMedia = 0;
    double dSegundos = 0;
};

#endif
