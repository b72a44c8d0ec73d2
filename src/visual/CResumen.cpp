#include "CResumen.h"

#include "Informe.h"
#include "UtilVisual.h"

namespace {

CJson JsonTexto(const std::string& s)
{
    CJson v;
    v.SetTexto(s);
    return v;
}

CJson JsonNumero(double d)
{
    CJson v;
    v.SetNumero(d);
    return v;
}

}  // namespace

CResumen::CResumen() { Limpiar(); }

void CResumen::Limpiar()
{
    m_Resumen.SetObjeto();
    m_Parametros.SetObjeto();
}

void CResumen::Anyadir(const std::string& sClave, const std::string& sValor)
{
    m_Resumen.SetMiembro(sClave, JsonTexto(sValor));
}

void CResumen::Anyadir(const std::string& sClave, double dValor) { m_Resumen.SetMiembro(sClave, JsonNumero(dValor)); }

void CResumen::AnyadirParametro(const std::string& sClave, const std::string& sValor)
{
    m_Parametros.SetMiembro(sClave, JsonTexto(sValor));
}

void CResumen::AnyadirParametro(const std::string& sClave, double dValor)
{
    m_Parametros.SetMiembro(sClave, JsonNumero(dValor));
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
