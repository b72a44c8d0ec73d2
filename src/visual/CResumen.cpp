#include "CResumen.h"

#include "Informe.h"
#include "UtilVisual.h"

CResumen::CResumen() { Limpiar(); }

void CResumen::Limpiar()
{
    m_Resumen.SetObjeto();
    m_Parametros.SetObjeto();
}

void CResumen::Anyadir(const std::string& sClave, const std::string& sValor)
{
    CJson v;
    v.SetTexto(sValor);
    m_Resumen.SetMiembro(sClave, v);
}

void CResumen::Anyadir(const std::string& sClave, double dValor)
{
    CJson v;
    v.SetNumero(dValor);
    m_Resumen.SetMiembro(sClave, v);
}

void CResumen::AnyadirParametro(const std::string& sClave, const std::string& sValor)
{
    CJson v;
    v.SetTexto(sValor);
    m_Parametros.SetMiembro(sClave, v);
}

void CResumen::AnyadirParametro(const std::string& sClave, double dValor)
{
    CJson v;
    v.SetNumero(dValor);
    m_Parametros.SetMiembro(sClave, v);
}

std::string CResumen::Texto() const
{
    CJson todo = m_Resumen;
    if (!m_Parametros.GetMiembros().empty())
        todo.SetMiembro("parametros", m_Parametros);
    return todo.Escribir() + "\n";
}

bool CResumen::Guardar(const std::string& sCarpeta, std::string& sError) const
{
    return EscribirArchivoEntero(UnirRuta(sCarpeta, kArchivoResumen), Texto(), sError);
}
