#ifndef ENTRENAMIENTOROBOT_H
#define ENTRENAMIENTOROBOT_H

#include <functional>
#include <string>
#include <vector>

#include "Campeones.h"
#include "EstadisticaGeneracion.h"
#include "Evaluacion.h"
#include "Opciones.h"
#include "Poblacion.h"
#include "PuntoControl.h"
#include "RedInicial.h"

class CAlgoritmoGenetico;
class CProgreso;

// Stands in for a champion while the run has none.
const TRival kRivalSinCampeones = Rival_Buscador;

// Fixed key of the population checkpoint: 0 keeps the file plain text.
const char kClavePuntoControl = 0;

// Plays a generation's jobs somewhere else than on this process's threads
// (the MPI back end); nGeneracion is -1 while choosing the final network.
// False with the reason when the evaluation could not be completed.
typedef std::function<bool(int nGeneracion, const std::vector<STrabajo>& vTrabajos, const SConfigEvaluacion& config,
                           std::vector<SResultadoTrabajo>& vResultados, std::string& sError)>
    TEvaluador;

// The population file of an output folder's checkpoint.
std::string RutaPuntoControl(const std::string& sSalida);

// One training run of the robot's network: evaluation in the simulated
// arena, the engine's epochs, checkpoints and the files of the output folder.
class CEntrenamientoRobot {
public:
    CEntrenamientoRobot();
    ~CEntrenamientoRobot();

    void Limpiar();

    // Evaluation through fEvaluador instead of the thread pool; kept by
    // Limpiar, as it is part of how the program runs, not of one run.
    void SetEvaluador(const TEvaluador& fEvaluador) { m_fEvaluador = fEvaluador; }

    // The whole run; false with the reason when it could not run or write.
    bool Ejecutar(const SOpcionesRobot& opciones, std::string& sError);

    // The network chosen at the end, in the network text form.
    const std::string& GetMejorRed() const { return m_sMejorRed; }
    const SCandidato& GetCandidatoFinal() const { return m_final; }
    const std::string& GetEtapaReal() const { return m_sEtapaReal; }
    const std::vector<SEstadisticaGeneracion>& GetEstadisticas() const { return m_vEstadisticas; }
    const SCampeones& GetCampeones() const { return m_campeones; }

private:
    CEntrenamientoRobot(const CEntrenamientoRobot&);
    CEntrenamientoRobot& operator=(const CEntrenamientoRobot&);

    bool Preparar(std::string& sError);
    bool ElegirRedInicial(SRedInicial& red, std::string& sError) const;
    void CrearPrimerGenoma(CIndividuo& miembro, const SRedInicial& red);
    bool CargarPuntoControl(SEstadoEntrenamiento& estado, std::string& sError) const;
    bool ComprobarPoblacionGuardada(const std::string& sTexto, int nGeneracion, std::string& sError) const;
    bool RestaurarMotor(const SEstadoEntrenamiento& estado, std::string& sError);
    bool RestaurarArchivos(const SEstadoEntrenamiento& estado, std::string& sError);
    void Reanudar(const SEstadoEntrenamiento& estado);
    void EntregarLogs();
    void CrearFenotipos();
    std::vector<STrabajo> CrearTrabajos(int nGeneracion) const;
    SRivalEncuentro ElegirRival(TRival eRival, uint64_t nSemilla, size_t nMiembro, size_t nPuesto) const;
    void Puntuar(const std::vector<SResultadoTrabajo>& vResultados, SEstadisticaGeneracion& estadistica);
    void AnotarEspecies(int nGeneracion);
    bool RunGeneracion(CProgreso& progreso, double dInicio, int nPrimera, std::string& sError);
    void GuardarPuntoControl();
    bool EstadoActual(std::string& sPoblacion, std::string& sEstado, std::string& sError) const;
    std::string FilasEstadisticas() const;
    bool Evaluar(int nGeneracion, const std::vector<STrabajo>& vTrabajos, std::vector<SResultadoTrabajo>& vResultados,
                 std::string& sError) const;
    bool ElegirRedFinal(std::string& sError);
    void AnyadirRedDePartida(std::vector<SCandidato>& vElegidos) const;
    void EtapaReal(std::vector<SCandidato>& vElegidos);
    bool EscribirEstadisticas(std::string& sError) const;
    bool EscribirSalidasFinales(double dSegundos, std::string& sError);
    bool GrabarPartida(std::string& sError) const;
    bool Instalar(std::string& sError) const;

    SOpcionesRobot m_opciones;
    TEvaluador m_fEvaluador;
    CAlgoritmoGenetico* m_pAG;
    CPoblacion m_poblacion;
    std::vector<std::string> m_vsRedes;  // this generation's networks, by member
    std::vector<SCandidato> m_vCandidatos;
    SCampeones m_campeones;  // leaders of the generations played, fielded as rivals
    std::vector<SEstadisticaGeneracion> m_vEstadisticas;
    std::vector<std::string> m_vsFilasEstadisticas;  // of the generations before this session
    std::vector<std::string> m_vsFilasEspecies;
    std::string m_sMejorRed;
    SCandidato m_final;
    std::string m_sEtapaReal;  // how the real-arena stage went, "" when not asked for
    long m_nEvaluaciones;
    double m_dMejorHistorica;
    int m_nUltimoPuntoControl;         // generation of the last good checkpoint; -1 none
    std::string m_sFalloPuntoControl;  // why the latest checkpoint could not be written
};

// The lines that close a run on stdout: the network chosen and where the
// results are.
void ImprimirFinRobot(const CEntrenamientoRobot& entrenamiento, const SOpcionesRobot& opciones);

// Validates sRed against each mix of scripted rivals of vRivales (the
// networks left out), nPartidas matches each, with seeds that depend only
// on nSemilla: mean score.
double ValidarRed(const std::string& sRed, const std::vector<TGrupoRivales>& vRivales, int nPartidas, unsigned nSemilla,
                  const SConfigEvaluacion& config, unsigned nHilos);

#endif
