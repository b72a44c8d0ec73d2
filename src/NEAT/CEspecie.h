#ifndef CESPECIE_H
#define CESPECIE_H

#include <vector>

#include "CGenoma.h"

typedef std::vector<const CGenoma*> TIntegrantes;

class CEspecie {
public:
    CEspecie(const CGenoma& PrimerMiembro, int nIDEspecie);
    // A species as a saved run left it between epochs: its record and its
    // leader, without members (the next epoch places the genomes again).
    CEspecie(const CGenoma& Lider, int nIDEspecie, int nEdad, int nEpocasSinMejora, double dMejorIdoneidad,
             double dHijosAExpandir);

    void Limpiar();
    void AddMiembro(const CGenoma& nuevo);
    void Purgar();
    void AjustarIdoneidades();
    void CalcularHijosAExpandir();

    const CGenoma& GetSuperviviente() const;
    const CGenoma& GetLider() const { return m_IndividuoLider; }
    double GetIdoneidadLider() const { return m_IndividuoLider.GetIdoneidad(); }
    double GetMejorIdoneidad() const { return m_dMejorIdoneidad; }
    double GetHijosAExpandir() const { return m_dHijosAExpandir; }
    int GetNumMiembros() const { return static_cast<int>(m_vIndividuos.size()); }
    int GetEpocasSinMejora() const { return m_nEpocasSinMejora; }
    int GetID() const { return m_nID; }
    int GetEdad() const { return m_nEdad; }

    static void SetEdadEspecieJoven(unsigned int nEdad) { ms_nEdadEspecieJoven = nEdad; }
    static void SetEdadEspecieVieja(unsigned int nEdad) { ms_nEdadEspecieVieja = nEdad; }
    static void SetBonusEspecieJoven(double dBonus) { ms_dBonusEspecieJoven = dBonus; }
    static void SetPenaEspecieVieja(double dPena) { ms_dPenaEspecieVieja = dPena; }
    static void SetRatioSuperviviencia(double dRatio) { ms_dRatioSupervivencia = dRatio; }

private:
    int m_nID;
    int m_nEpocasSinMejora;
    int m_nEdad;
    double m_dMejorIdoneidad;
    double m_dHijosAExpandir;
    CGenoma m_IndividuoLider;
    TIntegrantes m_vIndividuos;

    static unsigned int ms_nEdadEspecieJoven;
    static unsigned int ms_nEdadEspecieVieja;
    static double ms_dBonusEspecieJoven;
    static double ms_dPenaEspecieVieja;
    static double ms_dRatioSupervivencia;
};

#endif
