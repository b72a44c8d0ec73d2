#ifndef POBLACION_H
#define POBLACION_H

// Population members and hand-made genomes for the engine's tests.
#include <memory>
#include <vector>

#include "NEAT/CGenoma.h"
#include "NEAT/IIndividuoIA.h"

// A member that frees its genome when it goes.
class CMiembroPrueba : public IIndividuoIA {
public:
    ~CMiembroPrueba() { BorrarGenoma(); }
    CGenoma* Genoma() { return m_pGenoma; }
};

// Owns its members; Vector() is what the engine receives.
class CPoblacionPrueba {
public:
    explicit CPoblacionPrueba(std::size_t nMiembros)
    {
        for (std::size_t i = 0; i < nMiembros; ++i) {
            m_vMiembros.push_back(std::unique_ptr<CMiembroPrueba>(new CMiembroPrueba));
            m_vPoblacion.push_back(m_vMiembros.back().get());
        }
    }
    TPoblacionIA& Vector() { return m_vPoblacion; }
    CMiembroPrueba& operator[](std::size_t i) { return *m_vMiembros[i]; }
    std::size_t size() const { return m_vMiembros.size(); }
    // Replaces member i's genome (freeing the old one).
    void Dar(std::size_t i, CGenoma* pGenoma)
    {
        m_vMiembros[i]->BorrarGenoma();
        m_vMiembros[i]->SetGenoma(pGenoma);
    }

private:
    std::vector<std::unique_ptr<CMiembroPrueba>> m_vMiembros;
    TPoblacionIA m_vPoblacion;
};

// The shape of a minimal genome with two inputs and one output (neurons 0 to
// 3, links 4, 5 and 6 into the output), with chosen weights. Two such genomes
// lie 0.2 * (|dw4| + |dw5|) apart.
inline CGenoma* GenomaXor(int nID, double w4, double w5, double w6)
{
    TGNeuronas vNeuronas;
    vNeuronas.push_back(SGenNeurona(Neurona_Entrada, 0, 0.5, 0.0, false));
    vNeuronas.push_back(SGenNeurona(Neurona_Entrada, 1, 0.75, 0.0, false));
    vNeuronas.push_back(SGenNeurona(Neurona_Sesgo, 2, 0.25, 0.0, false));
    vNeuronas.push_back(SGenNeurona(Neurona_Salida, 3, 0.5, 1.0, false));
    TGEnlaces vEnlaces;
    vEnlaces.push_back(SGenEnlace(0, 3, true, 4, w4, false));
    vEnlaces.push_back(SGenEnlace(1, 3, true, 5, w5, false));
    vEnlaces.push_back(SGenEnlace(2, 3, true, 6, w6, false));
    return new CGenoma(nID, vNeuronas, vEnlaces, 2, 1);
}

#endif
