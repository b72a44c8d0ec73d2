// The engine's state between epochs, written and read back exactly, so that
// a stopped evolution goes on as if it had never stopped.
#include <climits>
#include <istream>
#include <limits>
#include <locale>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "CAlgoritmoGenetico.h"
#include "IDsGenoma.h"
#include "LecturaTexto.h"

namespace {

using namespace LecturaTexto;

const char* const kCabeceraEstado = "estado_motor";
const char* const kFinEstado = "fin_estado_motor";
const int kVersionEstado = 1;

// The genome text drops species and fitness values: the state keeps them
// on a line of their own before each genome.
void EscribirGenoma(std::ostream& out, const CGenoma& genoma)
{
    out << static_cast<int>(genoma.GetEspecie()) << ' ' << genoma.GetIdoneidad() << ' ' << genoma.GetNumHijosAExpandir()
        << ' ' << genoma.GetIdoneidadAjustada() << '\n'
        << genoma;
}

bool LeerGenomaCompleto(std::istream& in, CGenoma& genoma)
{
    int nEspecie = 0;
    double dIdoneidad = 0.0, dHijos = 0.0, dAjustada = 0.0;
    if (!LeerInt(in, nEspecie) || !LeerRealCualquiera(in, dIdoneidad) || !LeerRealCualquiera(in, dHijos) ||
        !LeerRealCualquiera(in, dAjustada) || !LeerGenoma(in, genoma))
        return false;
    genoma.SetEspecie(nEspecie);
    genoma.SetIdoneidad(dIdoneidad);
    genoma.SetNumHijosAExpandir(dHijos);
    genoma.SetIdoneidadAjustada(dAjustada);
    return true;
}

bool LeerPalabra(std::istream& in, const char* szEsperada)
{
    std::string s;
    return LeerToken(in, s) && s == szEsperada;
}

// One genome with its own values, made for this engine and this database.
// szQue and nCual name it in errors.
bool LeerUnGenoma(std::istream& in, const std::string& sQue, int nCual, const CInnovacion& bd, int nEntradas,
                  int nSalidas, CGenoma& genoma, std::string& sMotivo)
{
    const std::string sCual = sQue + ": el genoma " + std::to_string(nCual);
    if (!LeerGenomaCompleto(in, genoma)) {
        sMotivo = MotivoGenomaDanyado(sCual);
        return false;
    }
    if (static_cast<int>(genoma.GetNumEntradas()) != nEntradas ||
        static_cast<int>(genoma.GetNumSalidas()) != nSalidas) {
        sMotivo = sCual + " tiene " + std::to_string(genoma.GetNumEntradas()) + " entradas y " +
                  std::to_string(genoma.GetNumSalidas()) + " salidas; el motor, " + std::to_string(nEntradas) + " y " +
                  std::to_string(nSalidas);
        return false;
    }
    if (!IDsConocidos(genoma, bd)) {
        sMotivo = MotivoIDsDesconocidos(sCual);
        return false;
    }
    return true;
}

// A list of genomes: its length, then each genome.
bool LeerGenomas(std::istream& in, const std::string& sQue, const CInnovacion& bd, int nEntradas, int nSalidas,
                 std::vector<CGenoma>& vGenomas, std::string& sMotivo)
{
    int nGenomas = 0;
    if (!LeerCuenta(in, nGenomas)) {
        sMotivo =
            "falta el n"
            "\xFA"
            "mero de " +
            sQue;
        return false;
    }
    for (int i = 0; i < nGenomas; ++i) {
        CGenoma genoma;
        if (!LeerUnGenoma(in, sQue, i, bd, nEntradas, nSalidas, genoma, sMotivo))
            return false;
        vGenomas.push_back(genoma);
    }
    return true;
}

}  // namespace

void CAlgoritmoGenetico::SalvarEstado(const TPoblacionIA& vPoblacion, std::ostream& out) const
{
    const std::streamsize nPrecisionAntes = out.precision(std::numeric_limits<double>::max_digits10);
    const std::locale localeAntes = out.imbue(std::locale::classic());
    out << kCabeceraEstado << ' ' << kVersionEstado << '\n'
        << m_nGeneracion << ' ' << m_nIDSigGenoma << ' ' << m_nIDSigEspecie << ' ' << (m_bMejorIdoneidadValida ? 1 : 0)
        << ' ' << m_dMejorIdoneidad << ' ' << m_dIdoneidadTotalAjustada << ' ' << m_dIdoneidadMediaAjustada << '\n'
        << *m_pBDInnovaciones << vPoblacion.size() << '\n';
    for (const IIndividuoIA* pIndividuo : vPoblacion)
        EscribirGenoma(out, *pIndividuo->GetGenoma());
    out << m_vMejoresIndividuos.size() << '\n';
    for (const CGenoma& genoma : m_vMejoresIndividuos)
        EscribirGenoma(out, genoma);
    out << m_vEspecies.size() << '\n';
    for (const CEspecie& especie : m_vEspecies) {
        out << especie.GetID() << ' ' << especie.GetEdad() << ' ' << especie.GetEpocasSinMejora() << ' '
            << especie.GetMejorIdoneidad() << ' ' << especie.GetHijosAExpandir() << '\n';
        EscribirGenoma(out, especie.GetLider());
    }
    out << kFinEstado << '\n';
    out.precision(nPrecisionAntes);
    out.imbue(localeAntes);
}

bool CAlgoritmoGenetico::RecuperarEstado(TPoblacionIA& vPoblacion, std::istream& in, std::string& sMotivo)
{
    int nVersion = 0;
    if (!LeerPalabra(in, kCabeceraEstado) || !LeerInt(in, nVersion) || nVersion != kVersionEstado) {
        sMotivo = "no empieza como un estado del motor";
        return false;
    }
    int nGeneracion = 0, nIDSigGenoma = 0, nIDSigEspecie = 0;
    bool bMejorValida = false;
    double dMejor = 0.0, dTotalAjustada = 0.0, dMediaAjustada = 0.0;
    if (!LeerInt(in, nGeneracion) || !LeerCuenta(in, nIDSigGenoma) || !LeerCuenta(in, nIDSigEspecie) ||
        !LeerBool(in, bMejorValida) || !LeerRealCualquiera(in, dMejor) || !LeerRealCualquiera(in, dTotalAjustada) ||
        !LeerRealCualquiera(in, dMediaAjustada)) {
        sMotivo =
            "los contadores del motor est"
            "\xE1"
            "n da"
            "\xF1"
            "ados";
        return false;
    }
    CInnovacion bd{CGenoma()};
    if (!LeerInnovaciones(in, bd, sMotivo))
        return false;
    std::vector<CGenoma> vMiembros, vMejores;
    if (!LeerGenomas(in, "miembros", bd, m_nEntradasRedes, m_nSalidasRedes, vMiembros, sMotivo) ||
        !LeerGenomas(in, "mejores", bd, m_nEntradasRedes, m_nSalidasRedes, vMejores, sMotivo))
        return false;
    if (vMiembros.size() != vPoblacion.size()) {
        sMotivo = "guarda " + std::to_string(vMiembros.size()) +
                  " miembros y la poblaci"
                  "\xF3"
                  "n tiene " +
                  std::to_string(vPoblacion.size());
        return false;
    }
    int nEspecies = 0;
    if (!LeerCuenta(in, nEspecies)) {
        sMotivo = std::string("falta el n") + "\xFA" + "mero de especies";
        return false;
    }
    TEspecies vEspecies;
    for (int e = 0; e < nEspecies; ++e) {
        int nID = 0, nEdad = 0, nSinMejora = 0;
        double dMejorEspecie = 0.0, dHijos = 0.0;
        CGenoma lider;
        if (!LeerCuenta(in, nID) || !LeerCuenta(in, nEdad) || !LeerCuenta(in, nSinMejora) ||
            !LeerRealCualquiera(in, dMejorEspecie) || !LeerRealCualquiera(in, dHijos)) {
            sMotivo = "la especie " + std::to_string(e) +
                      " est"
                      "\xE1"
                      " da"
                      "\xF1"
                      "ada";
            return false;
        }
        if (!LeerUnGenoma(in, "especie " + std::to_string(e), 0, bd, m_nEntradasRedes, m_nSalidasRedes, lider, sMotivo))
            return false;
        vEspecies.push_back(CEspecie(lider, nID, nEdad, nSinMejora, dMejorEspecie, dHijos));
    }
    if (!LeerPalabra(in, kFinEstado)) {
        sMotivo =
            "el estado del motor no acaba donde deber"
            "\xED"
            "a";
        return false;
    }

    std::vector<CGenoma*> vNuevos;
    for (const CGenoma& genoma : vMiembros) {
        CGenoma* pGenoma = new (std::nothrow) CGenoma(genoma);
        if (!pGenoma) {
            for (CGenoma* p : vNuevos)
                delete p;
            sMotivo = "sin memoria para los genomas";
            return false;
        }
        vNuevos.push_back(pGenoma);
    }
    for (std::size_t i = 0; i < vPoblacion.size(); ++i) {
        vPoblacion[i]->BorrarGenoma();
        vPoblacion[i]->SetGenoma(vNuevos[i]);
    }
    m_nGeneracion = nGeneracion;
    m_nIDSigGenoma = nIDSigGenoma;
    m_nIDSigEspecie = nIDSigEspecie;
    m_bMejorIdoneidadValida = bMejorValida;
    m_dMejorIdoneidad = dMejor;
    m_dIdoneidadTotalAjustada = dTotalAjustada;
    m_dIdoneidadMediaAjustada = dMediaAjustada;
    *m_pBDInnovaciones = bd;
    m_vMejoresIndividuos.swap(vMejores);
    m_vEspecies.swap(vEspecies);
    return true;
}
