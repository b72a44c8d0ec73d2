#include "CTablaCsv.h"

#include <cstdlib>
#include <sstream>

#include "UtilVisual.h"

namespace {

std::vector<std::string> PartirLinea(const std::string& sLinea)
{
    std::vector<std::string> v;
    std::string sCampo;
    std::stringstream ss(sLinea);
    while (std::getline(ss, sCampo, ','))
        v.push_back(sCampo);
    if (!sLinea.empty() && sLinea.back() == ',')
        v.push_back("");
    return v;
}

std::string Recortar(const std::string& s)
{
    const size_t nIni = s.find_first_not_of(" \t\r");
    if (nIni == std::string::npos)
        return "";
    return s.substr(nIni, s.find_last_not_of(" \t\r") - nIni + 1);
}

bool ConvertirNumero(const std::string& sCampo, double& dValor)
{
    const std::string s = Recortar(sCampo);
    if (s.empty())
        return false;
    char* pFin = nullptr;
    dValor = std::strtod(s.c_str(), &pFin);
    return pFin && *pFin == '\0';
}

bool LeerFila(const std::string& sLinea, int nLinea, const std::vector<std::string>& vColumnas,
              std::vector<double>& vFila, std::string& sError)
{
    const std::vector<std::string> vCampos = PartirLinea(Recortar(sLinea));
    if (vCampos.size() != vColumnas.size()) {
        sError =
            "l"
            "\xED"
            "nea " +
            std::to_string(nLinea) + ": " + std::to_string(vCampos.size()) + " campos, se esperaban " +
            std::to_string(vColumnas.size());
        return false;
    }
    vFila.assign(vCampos.size(), 0.0);
    for (size_t i = 0; i < vCampos.size(); ++i)
        if (!ConvertirNumero(vCampos[i], vFila[i])) {
            sError =
                "l"
                "\xED"
                "nea " +
                std::to_string(nLinea) +
                ": valor no num"
                "\xE9"
                "rico en " +
                vColumnas[i] + ": '" + vCampos[i] + "'";
            return false;
        }
    return true;
}

}  // namespace

CTablaCsv::CTablaCsv() {}

void CTablaCsv::Limpiar()
{
    m_vColumnas.clear();
    m_mColumnas.clear();
    m_vFilas.clear();
}

bool CTablaCsv::Leer(const std::string& sTexto, const std::vector<std::string>& vObligatorias, std::string& sError)
{
    std::stringstream ss(sTexto);
    std::string sLinea;
    if (!std::getline(ss, sLinea) || Recortar(sLinea).empty()) {
        sError = "falta la cabecera";
        return false;
    }
    std::vector<std::string> vColumnas = PartirLinea(Recortar(sLinea));
    std::map<std::string, int> mColumnas;
    for (size_t i = 0; i < vColumnas.size(); ++i) {
        vColumnas[i] = Recortar(vColumnas[i]);
        mColumnas[vColumnas[i]] = static_cast<int>(i);
    }
    for (const std::string& sObligatoria : vObligatorias)
        if (!mColumnas.count(sObligatoria)) {
            sError = "falta la columna " + sObligatoria;
            return false;
        }
    std::vector<std::vector<double>> vFilas;
    int nLinea = 1;
    while (std::getline(ss, sLinea)) {
        ++nLinea;
        if (Recortar(sLinea).empty())
            continue;
        std::vector<double> vFila;
        if (!LeerFila(sLinea, nLinea, vColumnas, vFila, sError)) {
            // A last line without its newline is still being written (the
            // report may be made while a run goes on): leave it for later.
            if (ss.eof() && sTexto.back() != '\n')
                break;
            return false;
        }
        vFilas.push_back(vFila);
    }
    m_vColumnas.swap(vColumnas);
    m_mColumnas.swap(mColumnas);
    m_vFilas.swap(vFilas);
    return true;
}

bool CTablaCsv::LeerArchivo(const std::string& sRuta, const std::vector<std::string>& vObligatorias,
                            std::string& sError)
{
    std::string sTexto;
    if (!::LeerArchivo(sRuta, sTexto, sError))
        return false;
    if (!Leer(sTexto, vObligatorias, sError)) {
        sError = sRuta + ": " + sError;
        return false;
    }
    return true;
}

int CTablaCsv::Columna(const std::string& sNombre) const
{
    auto it = m_mColumnas.find(sNombre);
    return it == m_mColumnas.end() ? -1 : it->second;
}

std::vector<double> CTablaCsv::ValoresColumna(const std::string& sNombre) const
{
    std::vector<double> v;
    const int nCol = Columna(sNombre);
    if (nCol < 0)
        return v;
    for (const std::vector<double>& fila : m_vFilas)
        v.push_back(fila[nCol]);
    return v;
}
