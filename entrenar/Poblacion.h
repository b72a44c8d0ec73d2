#ifndef POBLACION_H
#define POBLACION_H

#include <vector>

#include "NEAT/IIndividuoIA.h"

// A member of a training population: owns its genome.
class CIndividuo : public IIndividuoIA {
public:
    ~CIndividuo() { BorrarGenoma(); }
    CGenoma* GetGenomaEditable() { return m_pGenoma; }
};

// The population a training program hands to the engine; owns its members.
class CPoblacion {
public:
    CPoblacion() {}
    ~CPoblacion() { Limpiar(); }

    void Limpiar();
    void Crear(size_t nMiembros);

    size_t GetTamanyo() const { return m_vMiembros.size(); }
    CIndividuo& GetMiembro(size_t i) { return *m_vMiembros[i]; }
    TPoblacionIA& GetPoblacionIA() { return m_vPoblacionIA; }
    const TPoblacionIA& GetPoblacionIA() const { return m_vPoblacionIA; }

private:
    CPoblacion(const CPoblacion&);
    CPoblacion& operator=(const CPoblacion&);

    std::vector<CIndividuo*> m_vMiembros;
    TPoblacionIA m_vPoblacionIA;
};

#endif
