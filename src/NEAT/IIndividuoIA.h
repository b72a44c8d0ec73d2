#ifndef IINDIVIDUOIA_H
#define IINDIVIDUOIA_H

#include <vector>

#include "CGenoma.h"

// The engine's view of a population member. The member owns its genome; the
// destructor leaves it alone (the owner calls BorrarGenoma).
class IIndividuoIA {
public:
    IIndividuoIA() : m_dPuntuacion(0.0), m_pGenoma(nullptr) {}
    void SetGenoma(CGenoma* genoma) { m_pGenoma = genoma; }
    const CGenoma* GetGenoma() const { return m_pGenoma; }
    double GetPuntuacion() const { return m_dPuntuacion; }
    void SetPuntuacion(double dPuntuacion) { m_dPuntuacion = dPuntuacion; }
    void BorrarGenoma()
    {
        if (m_pGenoma) {
            delete m_pGenoma;
            m_pGenoma = nullptr;
        }
    }

protected:
    double m_dPuntuacion;
    CGenoma* m_pGenoma;
};

typedef std::vector<IIndividuoIA*> TPoblacionIA;

#endif
