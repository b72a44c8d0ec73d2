#ifndef REPARTO_H
#define REPARTO_H

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "Evaluacion.h"

// A batch of matches handed to one process: the jobs carry only the matches
// of this batch, in the order of the whole list.
struct SLote {
    uint64_t nId = 0;
    int nGeneracion = 0;  // of the run; -1 while choosing the final network
    SConfigEvaluacion config;
    std::vector<STrabajo> vTrabajos;
};

// The outcome of a batch: one result per match, job by job, in its order.
struct SRespuestaLote {
    uint64_t nId = 0;
    std::vector<SResultadoEncuentro> vEncuentros;
};

// Byte forms for the wire. Numbers go little-endian and doubles by their
// bits, so that scores arrive exactly as they were computed, on any host.
std::string CodificarLote(const SLote& lote);
bool DecodificarLote(const std::string& sBytes, SLote& lote);
std::string CodificarRespuesta(const SRespuestaLote& respuesta);
bool DecodificarRespuesta(const std::string& sBytes, SRespuestaLote& respuesta);

// Plays a batch here, on nHilos threads.
SRespuestaLote JugarLote(const SLote& lote, unsigned nHilos);

// Splits one evaluation into batches and gathers their results, in
// whatever order they come back. The scores it hands out are the ones
// EvaluarTrabajos computes for the same jobs.
class CReparto {
public:
    CReparto();
    ~CReparto() { Limpiar(); }

    void Limpiar();

    void Iniciar(const std::vector<STrabajo>& vTrabajos, int nGeneracion, const SConfigEvaluacion& config);

    bool HayPendientes() const { return m_nSiguiente < m_vTareas.size(); }
    size_t GetEnCurso() const { return m_mEnCurso.size(); }
    bool Terminado() const { return !HayPendientes() && m_mEnCurso.empty(); }

    // The next nMaximo matches (at least one) not yet handed out; false
    // when none is left.
    bool Repartir(size_t nMaximo, SLote& lote);

    // Takes a batch's results; false with the reason when they answer no
    // batch in course or do not fit it.
    bool Recibir(const SRespuestaLote& respuesta, std::string& sError);

    // Once Terminado: the results of every job, scores averaged.
    void GetResultados(std::vector<SResultadoTrabajo>& vResultados) const;

private:
    CReparto(const CReparto&);
    CReparto& operator=(const CReparto&);

    const std::vector<STrabajo>* m_pTrabajos;
    int m_nGeneracion;
    SConfigEvaluacion m_config;
    std::vector<std::pair<size_t, size_t>> m_vTareas;  // (job, match)
    size_t m_nSiguiente;
    uint64_t m_nUltimoId;  // grows over the whole run: a late answer never fits a new batch
    std::map<uint64_t, std::pair<size_t, size_t>> m_mEnCurso;  // id -> range of m_vTareas
    std::vector<SResultadoTrabajo> m_vResultados;
};

#endif
