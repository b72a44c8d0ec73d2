#include "CEspecie.h"

#include "DebugLib/Random/Random.h"

unsigned int CEspecie::ms_nEdadEspecieJoven = 15;
unsigned int CEspecie::ms_nEdadEspecieVieja = 40;
double CEspecie::ms_dBonusEspecieJoven = 1.25;
double CEspecie::ms_dPenaEspecieVieja = 0.75;
double CEspecie::ms_dRatioSupervivencia = 0.3;

namespace {

// Members are genomes owned by the population, never const objects: the
// species writes their adjusted fitness through the pointers it keeps.
CGenoma* Escribible(const CGenoma* pGenoma) { return const_cast<CGenoma*>(pGenoma); }

}  // namespace

CEspecie::CEspecie(const CGenoma& PrimerMiembro, int nIDEspecie)
    : m_nID(0), m_nEpocasSinMejora(0), m_nEdad(0), m_dMejorIdoneidad(0.0), m_dHijosAExpandir(0.0)
{
    Limpiar();
    m_nID = nIDEspecie;
    m_IndividuoLider = PrimerMiembro;
    m_dMejorIdoneidad = PrimerMiembro.GetIdoneidad();
    m_vIndividuos.push_back(&PrimerMiembro);
}

CEspecie::CEspecie(const CGenoma& Lider, int nIDEspecie, int nEdad, int nEpocasSinMejora, double dMejorIdoneidad,
                   double dHijosAExpandir)
    : m_nID(nIDEspecie),
      m_nEpocasSinMejora(nEpocasSinMejora),
      m_nEdad(nEdad),
      m_dMejorIdoneidad(dMejorIdoneidad),
      m_dHijosAExpandir(dHijosAExpandir),
      m_IndividuoLider(Lider)
{}

void CEspecie::Limpiar()
{
    m_nID = 0;
    m_nEdad = 0;
    m_nEpocasSinMejora = 0;
    m_dMejorIdoneidad = 0.0;
    m_dHijosAExpandir = 0.0;
    m_vIndividuos.clear();
}

void CEspecie::AddMiembro(const CGenoma& nuevo)
{
    if (nuevo.GetIdoneidad() > m_dMejorIdoneidad) {
        m_IndividuoLider = nuevo;
        m_dMejorIdoneidad = nuevo.GetIdoneidad();
        m_nEpocasSinMejora = 0;
    }
    m_vIndividuos.push_back(&nuevo);
}

void CEspecie::Purgar()
{
    m_vIndividuos.clear();
    ++m_nEdad;
    ++m_nEpocasSinMejora;
    m_dHijosAExpandir = 0.0;
}

void CEspecie::AjustarIdoneidades()
{
    if (m_vIndividuos.empty())
        return;
    // The age is never negative, so comparing it as unsigned is exact.
    const unsigned int nEdad = static_cast<unsigned int>(m_nEdad);
    double dFactor = 1.0;
    if (nEdad < ms_nEdadEspecieJoven)
        dFactor = ms_dBonusEspecieJoven;
    else if (nEdad > ms_nEdadEspecieVieja)
        dFactor = ms_dPenaEspecieVieja;
    const double dMiembros = static_cast<double>(m_vIndividuos.size());
    for (const CGenoma* pMiembro : m_vIndividuos) {
        const double dIdoneidad = pMiembro->GetIdoneidad() * dFactor;
        Escribible(pMiembro)->SetIdoneidadAjustada(dIdoneidad / dMiembros);
    }
}

void CEspecie::CalcularHijosAExpandir()
{
    for (const CGenoma* pMiembro : m_vIndividuos)
        m_dHijosAExpandir += pMiembro->GetNumHijosAExpandir();
}

const CGenoma& CEspecie::GetSuperviviente() const
{
    const int nMiembros = GetNumMiembros();
    if (nMiembros == 0)
        return m_IndividuoLider;
    if (nMiembros == 1)
        return *m_vIndividuos[0];
    // Product in double precision, truncated: 10 members give one of the
    // first three. Compared before converting, so no ratio overflows the int.
    const double dProducto = nMiembros * ms_dRatioSupervivencia;
    int nUltimo = 0;
    if (dProducto >= nMiembros)
        nUltimo = nMiembros - 1;
    else if (dProducto >= 1.0)
        nUltimo = static_cast<int>(dProducto) - 1;
    return *m_vIndividuos[RandomInt(0, nUltimo)];
}
