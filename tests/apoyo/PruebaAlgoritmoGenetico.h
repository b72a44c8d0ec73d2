#ifndef PRUEBAALGORITMOGENETICO_H
#define PRUEBAALGORITMOGENETICO_H

// Test access to the engine's private steps and state.
#include <vector>

#include "NEAT/CAlgoritmoGenetico.h"

class CPruebaAlgoritmoGenetico {
public:
    explicit CPruebaAlgoritmoGenetico(CAlgoritmoGenetico& ag) : m_ag(ag) {}

    void SetPoblacion(TPoblacionIA& vPoblacion) { m_ag.m_vPoblacion = &vPoblacion; }
    void ResetearYEliminar() { m_ag.ResetearYEliminar(); }
    void OrdenarYSalvarIndividuos() { m_ag.OrdenarYSalvarIndividuos(); }
    void EspeciarYCalcularHijosAExpandir() { m_ag.EspeciarYCalcularHijosAExpandir(); }
    const CGenoma* TournamentSelection(unsigned int n) { return m_ag.TournamentSelection(n); }
    CGenoma* Cruce(const CGenoma& madre, const CGenoma& padre) { return m_ag.Cruce(madre, padre); }
    void AddIDNeurona(int nID, std::vector<int>& vIDs) { m_ag.AddIDNeurona(nID, vIDs); }
    void CriarEspecies(std::vector<CGenoma*>& vNueva) { m_ag.CriarEspecies(vNueva); }

    TEspecies& Especies() { return m_ag.m_vEspecies; }
    const std::vector<CGenoma>& MejoresIndividuos() const { return m_ag.m_vMejoresIndividuos; }
    double& MejorIdoneidad() { return m_ag.m_dMejorIdoneidad; }
    bool& MejorIdoneidadValida() { return m_ag.m_bMejorIdoneidadValida; }
    double IdoneidadTotalAjustada() const { return m_ag.m_dIdoneidadTotalAjustada; }
    double IdoneidadMediaAjustada() const { return m_ag.m_dIdoneidadMediaAjustada; }
    int& IDSigGenoma() { return m_ag.m_nIDSigGenoma; }
    int& IDSigEspecie() { return m_ag.m_nIDSigEspecie; }
    const CInnovacion* BDInnovaciones() const { return m_ag.m_pBDInnovaciones; }
    unsigned int IndividuosElite() const { return m_ag.m_nIndividuosElite; }
    double RatioDeCruce() const { return m_ag.m_dRatioDeCruce; }

private:
    CAlgoritmoGenetico& m_ag;
};

#endif
