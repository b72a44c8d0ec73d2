#ifndef CGENOMA_H
#define CGENOMA_H

#include <iosfwd>

#include "CRedNeuronal.h"
#include "Genes.h"

class CInnovacion;

class CGenoma {
public:
    CGenoma();
    CGenoma(const CGenoma& g);
    CGenoma(int id, int entradas, int salidas);
    CGenoma(int id, TGNeuronas vNeuronas, TGEnlaces vEnlaces, int entradas, int salidas);
    ~CGenoma();

    CGenoma& operator=(const CGenoma& g);
    void Copiar(const CGenoma& g);
    void Limpiar();
    void OrdenarGenes();

    // Phenotype
    const CRedNeuronal* CrearFenotipo();
    const CRedNeuronal* GetFenotipo() const;
    void BorrarFenotipo();
    int GetPosicionNeurona(int IDNeurona) const;

    // Mutations
    void AddEnlace(double dRatioMutacion, double dProbLoop, CInnovacion& BDInnovaciones, int nIntentosLoop,
                   int nIntentosEnlace);
    void AddNeurona(double dRatioMutacion, CInnovacion& BDInnovaciones, int nIntentosEnlaceAnt);
    void MutarPesos(double dRatioMutacion, double dProbSustituirPeso, double dMaxPerturbacion);
    void MutarCurvaturaActivacion(double dRatioMutacion, double dMaxPerturbacion);
    // A recurrent link from each output to itself, weight drawn in (-1, 1),
    // for the outputs that have none yet.
    void AddBuclesSalida(CInnovacion& BDInnovaciones);
    bool EnlaceDuplicado(int IDNeuronaIn, int IDNeuronaOut) const;
    bool IDNeuronaYaExiste(int nID) const;

    double CalcularCompatibilidad(const CGenoma& genoma) const;

    // Accessors
    unsigned int GetID() const { return static_cast<unsigned int>(m_nIDGenoma); }
    void SetID(int nID) { m_nIDGenoma = nID; }
    unsigned int GetEspecie() const { return static_cast<unsigned int>(m_nEspecie); }
    void SetEspecie(int nEspecie) { m_nEspecie = nEspecie; }
    unsigned int GetNumSalidas() const { return static_cast<unsigned int>(m_nSalidasRed); }
    unsigned int GetNumEntradas() const { return static_cast<unsigned int>(m_nEntradasRed); }
    unsigned int GetNumGenesEnlace() const { return static_cast<unsigned int>(m_vGenesEnlace.size()); }
    unsigned int GetNumGenesNeurona() const { return static_cast<unsigned int>(m_vGenesNeurona.size()); }
    double GetIdoneidad() const { return m_dIdoneidad; }
    void SetIdoneidad(double dIdoneidad) { m_dIdoneidad = dIdoneidad; }
    double GetNumHijosAExpandir() const { return m_dHijosAExpandir; }
    void SetNumHijosAExpandir(double dHijos) { m_dHijosAExpandir = dHijos; }
    double GetIdoneidadAjustada() const { return m_dIdoneidadAjustada; }
    void SetIdoneidadAjustada(double dIdoneidad) { m_dIdoneidadAjustada = dIdoneidad; }
    const TGEnlaces& GetGenesEnlace() const { return m_vGenesEnlace; }
    const TGNeuronas& GetGenesNeurona() const { return m_vGenesNeurona; }
    TGEnlaces::const_iterator GetItPrimerGen() const { return m_vGenesEnlace.begin(); }
    TGEnlaces::const_iterator GetItFinGenes() const { return m_vGenesEnlace.end(); }

private:
    int m_nIDGenoma;
    int m_nEspecie;
    int m_nSalidasRed;
    int m_nEntradasRed;
    [[maybe_unused]] int m_nProfundidadRed;  // kept for the record layout; nothing reads it
    double m_dIdoneidad;
    double m_dHijosAExpandir;
    double m_dIdoneidadAjustada;
    TGEnlaces m_vGenesEnlace;
    TGNeuronas m_vGenesNeurona;
    CRedNeuronal* m_pFenotipo;
};

std::ostream& operator<<(std::ostream& out, const CGenoma& Genoma);
std::istream& operator>>(std::istream& in, CGenoma& GenomaNew);

// Reads one genome text and checks it whole (every value, the counts, the
// kinds, the neuron layout, unique neuron ids, link ends) before touching
// GenomaNew. On failure GenomaNew is unchanged, the stream is left failed
// and the result is false. Draws one RandomDouble per neuron gene read.
bool LeerGenoma(std::istream& in, CGenoma& GenomaNew);

#endif
