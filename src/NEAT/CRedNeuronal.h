#ifndef CREDNEURONAL_H
#define CREDNEURONAL_H

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "tipos.h"

enum TNeurona { Neurona_Entrada = 0, Neurona_Salida = 1, Neurona_Oculta = 2, Neurona_Sesgo = 3, Neurona_SinTipo = 4 };

enum TEjecucion { Ejecucion_Instantanea = 0, Ejecucion_PasoDinamico = 1 };

struct SNeurona;

struct SEnlace {
    SNeurona* pNeuronaEntrada;
    SNeurona* pNeuronaSalida;
    double dPeso;
    bool bRecurrente;

    SEnlace(double peso, SNeurona* pNIn, SNeurona* pNOut, bool rec)
        : pNeuronaEntrada(pNIn), pNeuronaSalida(pNOut), dPeso(peso), bRecurrente(rec)
    {}
};

struct SNeurona {
    std::vector<SEnlace> vEnlacesEntrada;
    std::vector<SEnlace> vEnlacesSalida;
    TNeurona TipoNeurona;
    int nID;
    double dCurvaturaSigmoidea;
    double dSumaEntradas;
    double dSalida;
    double dX, dY;
    double dSplitX, dSplitY;

    SNeurona(TNeurona tipo, int id, double x, double y, double curva)
        : TipoNeurona(tipo),
          nID(id),
          dCurvaturaSigmoidea(curva),
          dSumaEntradas(0.0),
          dSalida(0.0),
          dX(0.0),
          dY(0.0),
          dSplitX(x),
          dSplitY(y)
    {}
};

// A runnable network. Neurons are evaluated in the order they were added:
// inputs first, then the bias, then everything else.
//
// Besides its SNeurona objects the network keeps a private compact copy of
// itself for evaluation (weights and source positions in flat arrays, the
// neurons' outputs in one array), built on the first Actualizar after
// AddNeurona, AddEnlace or Limpiar. Each neuron still sums its incoming
// links in their stored order, so every result is the same to the last bit.
// The neurons' dSalida stay the state between calls: each call reads those
// that a pass reads before computing them, and writes all of them back. The
// copy takes the kinds, curvatures, links and weights as they were when it
// was built: writing those fields through GetRed does not reach it.
class CRedNeuronal {
public:
    CRedNeuronal();
    ~CRedNeuronal();

    void Limpiar();

    const SNeurona* AddNeurona(TNeurona TipoN, int nID, double dSplitX, double dSplitY, double dCurva);
    void AddEnlace(const SNeurona* NeuronaInicio, const SNeurona* NeuronaFin, double dPeso, bool bRec);

    const TVecDoubles& Actualizar(const TVecDoubles& Entradas, TEjecucion TipoEjec);

    const std::vector<SNeurona*>& GetRed() const { return m_vNeuronas; }

private:
    CRedNeuronal(const CRedNeuronal&);
    CRedNeuronal& operator=(const CRedNeuronal&);

    double FuncionActivacion(double SumaEntradas, double Activacion);
    void Pasada(const TVecDoubles& Entradas);

    // Compact form.
    struct SNeuronaCompacta {
        int nPrimerEnlace;  // its incoming links: [nPrimerEnlace, nFinEnlaces)
        int nFinEnlaces;
        double dCurvatura;
    };
    void ConstruirCompacta();
    void MarcarEstadoCompacta();
    void PasadaCompacta(const TVecDoubles& Entradas);
    void ActualizarCompacta(const TVecDoubles& Entradas, std::size_t nPasadas, bool bReiniciar);

    std::map<double, int> m_mTablaCapas;
    TVecDoubles m_vdSalidas;
    std::vector<SNeurona*> m_vNeuronas;

    bool m_bCompactaAlDia;   // false after every change of the network
    bool m_bCompactaUsable;  // false if a link comes from a foreign neuron
    std::size_t m_nEntradasCompacta;
    std::vector<SNeuronaCompacta> m_vNeuronasCompacta;  // by position in m_vNeuronas
    std::vector<double> m_vdPesosCompacta;              // incoming links, neuron after neuron
    std::vector<int> m_vnOrigenesCompacta;              // position of each link's source
    std::vector<int> m_vnSalidasCompacta;               // positions of the output neurons
    std::vector<int> m_vnEstadoCompacta;                // computed neurons read before they are computed
    std::vector<double> m_vdValores;                    // outputs during evaluation
};

std::ostream& operator<<(std::ostream& out, const CRedNeuronal& red);
std::istream& operator>>(std::istream& in, CRedNeuronal& red);

// The reader's two stages, for callers that must not end the process on a
// bad text. Each returns false and leaves its output untouched on failure.
bool DecodificarTextoRed(const std::string& sCodificado, std::string& sPlano);
bool CargarTextoPlanoRed(const std::string& sPlano, CRedNeuronal& red);

#endif
