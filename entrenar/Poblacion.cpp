#include "Poblacion.h"

void CPoblacion::Limpiar()
{
    for (CIndividuo* pMiembro : m_vMiembros)
        delete pMiembro;
    m_vMiembros.clear();
    m_vPoblacionIA.clear();
}

void CPoblacion::Crear(size_t nMiembros)
{
    Limpiar();
    for (size_t i = 0; i < nMiembros; ++i) {
        m_vMiembros.push_back(new CIndividuo);
        m_vPoblacionIA.push_back(m_vMiembros.back());
    }
}
