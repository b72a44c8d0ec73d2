#include "CGrabacion.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "Comun/ArchivoEntero.h"
#include "Comun/TextoLocal.h"

namespace {

const char* const kNombresEvento[] = {"disparo", "impacto", "pared",  "choque",
                                      "galleta", "mina",    "muerte", "destruido"};

// Three decimals, trailing zeros dropped: keeps the file compact.
void EscribirNumero(std::ostream& salida, double dValor)
{
    if (!std::isfinite(dValor))
        dValor = 0;
    char szTexto[48];
    std::snprintf(szTexto, sizeof(szTexto), "%.3f", dValor);
    size_t nLong = std::strlen(szTexto);
    while (nLong > 0 && szTexto[nLong - 1] == '0')
        --nLong;
    if (nLong > 0 && szTexto[nLong - 1] == '.')
        --nLong;
    szTexto[nLong] = '\0';
    if (std::strcmp(szTexto, "-0") == 0)
        std::strcpy(szTexto, "0");
    salida << szTexto;
}

void EscribirTexto(std::ostream& salida, const std::string& sTexto) { salida << '"' << EscaparJson(sTexto) << '"'; }

void EscribirGrupos(std::ostream& salida, const std::vector<double>& vdValores, size_t nInicio, size_t nFin,
                    size_t nAncho)
{
    salida << '[';
    for (size_t i = nInicio; i < nFin; i += nAncho) {
        if (i > nInicio)
            salida << ',';
        salida << '[';
        for (size_t k = 0; k < nAncho; ++k) {
            if (k > 0)
                salida << ',';
            EscribirNumero(salida, vdValores[i + k]);
        }
        salida << ']';
    }
    salida << ']';
}

}  // namespace

CGrabacion::CGrabacion() : m_dMedida(0), m_vdLimites{0, 0, 0, 0}, m_dPaso(0), m_nEventosAsignados(0) {}

void CGrabacion::Limpiar()
{
    m_sArena.clear();
    m_dMedida = 0;
    for (double& d : m_vdLimites)
        d = 0;
    m_vFiguras.clear();
    m_dPaso = 0;
    m_vsNombres.clear();
    m_vCuadros.clear();
    m_vdRobots.clear();
    m_vdDisparos.clear();
    m_vdGalletas.clear();
    m_vdMinas.clear();
    m_vEventos.clear();
    m_nEventosAsignados = 0;
}

void CGrabacion::Empezar(const std::string& sArena, const CGeometria& geometria, double dPaso,
                         const std::vector<std::string>& vsNombres)
{
    Limpiar();
    m_sArena = sArena;
    m_vdLimites[0] = geometria.GetX1();
    m_vdLimites[1] = geometria.GetY1();
    m_vdLimites[2] = geometria.GetX2();
    m_vdLimites[3] = geometria.GetY2();
    m_dMedida = 0.5 * std::max(m_vdLimites[2] - m_vdLimites[0], m_vdLimites[3] - m_vdLimites[1]);
    m_vFiguras = geometria.GetFiguras();
    m_dPaso = dPaso;
    m_vsNombres = vsNombres;
}

void CGrabacion::AddEvento(TEvento eTipo, int nRobot, double dX, double dY, double dValor)
{
    m_vEventos.push_back(SEvento{eTipo, nRobot, dX, dY, dValor});
}

void CGrabacion::AddCuadro(int nJuego, double dTiempo)
{
    SCuadro cuadro;
    cuadro.nJuego = nJuego;
    cuadro.dTiempo = dTiempo;
    cuadro.iRobot = m_vdRobots.size();
    cuadro.iDisparo = m_vdDisparos.size();
    cuadro.iGalleta = m_vdGalletas.size();
    cuadro.iMina = m_vdMinas.size();
    cuadro.iEvento = m_nEventosAsignados;
    cuadro.nEventos = m_vEventos.size() - m_nEventosAsignados;
    m_nEventosAsignados = m_vEventos.size();
    m_vCuadros.push_back(cuadro);
}

void CGrabacion::AddRobot(double dX, double dY, double dRumbo, double dCanyon, double dRadar, double dEnergia,
                          bool bVivo)
{
    const double vdValores[7] = {dX, dY, dRumbo, dCanyon, dRadar, dEnergia, bVivo ? 1.0 : 0.0};
    m_vdRobots.insert(m_vdRobots.end(), vdValores, vdValores + 7);
}

void CGrabacion::AddDisparo(double dX, double dY, double dEnergia)
{
    m_vdDisparos.push_back(dX);
    m_vdDisparos.push_back(dY);
    m_vdDisparos.push_back(dEnergia);
}

void CGrabacion::AddGalleta(double dX, double dY)
{
    m_vdGalletas.push_back(dX);
    m_vdGalletas.push_back(dY);
}

void CGrabacion::AddMina(double dX, double dY)
{
    m_vdMinas.push_back(dX);
    m_vdMinas.push_back(dY);
}

size_t CGrabacion::Fin(size_t nCuadro, size_t SCuadro::*pInicio, size_t nTotal) const
{
    if (nCuadro + 1 < m_vCuadros.size())
        return m_vCuadros[nCuadro + 1].*pInicio;
    return nTotal;
}

void CGrabacion::EscribirCuadro(std::ostream& salida, size_t nCuadro) const
{
    const SCuadro& c = m_vCuadros[nCuadro];
    salida << "{\"j\":" << c.nJuego << ",\"t\":";
    EscribirNumero(salida, c.dTiempo);
    salida << ",\"r\":";
    EscribirGrupos(salida, m_vdRobots, c.iRobot, Fin(nCuadro, &SCuadro::iRobot, m_vdRobots.size()), 7);
    salida << ",\"d\":";
    EscribirGrupos(salida, m_vdDisparos, c.iDisparo, Fin(nCuadro, &SCuadro::iDisparo, m_vdDisparos.size()), 3);
    salida << ",\"g\":";
    EscribirGrupos(salida, m_vdGalletas, c.iGalleta, Fin(nCuadro, &SCuadro::iGalleta, m_vdGalletas.size()), 2);
    salida << ",\"m\":";
    EscribirGrupos(salida, m_vdMinas, c.iMina, Fin(nCuadro, &SCuadro::iMina, m_vdMinas.size()), 2);
    salida << ",\"e\":[";
    for (size_t i = 0; i < c.nEventos; ++i) {
        const SEvento& e = m_vEventos[c.iEvento + i];
        if (i > 0)
            salida << ',';
        salida << "[\"" << kNombresEvento[e.eTipo] << "\"," << e.nRobot << ',';
        EscribirNumero(salida, e.dX);
        salida << ',';
        EscribirNumero(salida, e.dY);
        salida << ',';
        EscribirNumero(salida, e.dValor);
        salida << ']';
    }
    salida << "]}";
}

void CGrabacion::EscribirFiguras(std::ostream& salida) const
{
    static const char* const kLetras[] = {"\"l\"", "\"c\"", "\"i\"", "\"a\""};
    salida << '[';
    for (size_t i = 0; i < m_vFiguras.size(); ++i) {
        const SFigura& f = m_vFiguras[i];
        std::vector<double> vd = {f.dX1, f.dY1};
        if (f.eTipo == Figura_Linea)
            vd.insert(vd.end(), {f.dX2, f.dY2, f.dMedio});
        else if (f.eTipo == Figura_Arco)
            vd.insert(vd.end(), {f.dRadioInterior, f.dRadio, f.dAngulo1, f.dAngulo2});
        else
            vd.push_back(f.dRadio);
        salida << (i > 0 ? ",[" : "[") << kLetras[f.eTipo];
        for (double d : vd) {
            salida << ',';
            EscribirNumero(salida, d);
        }
        salida << ']';
    }
    salida << ']';
}

bool CGrabacion::EscribirJSON(std::ostream& salida) const
{
    salida << "{\"formato\":\"grabacion-arena-1\",\"arena\":";
    EscribirTexto(salida, m_sArena);
    salida << ",\"medida\":";
    EscribirNumero(salida, m_dMedida);
    salida << ",\"limites\":[";
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            salida << ',';
        EscribirNumero(salida, m_vdLimites[i]);
    }
    salida << "],\"figuras\":";
    EscribirFiguras(salida);
    salida << ",\"paso\":";
    EscribirNumero(salida, m_dPaso);
    salida << ",\"radios\":{\"robot\":0.5,\"disparo\":0.1,\"objeto\":0.3},\"robots\":[";
    for (size_t i = 0; i < m_vsNombres.size(); ++i) {
        if (i > 0)
            salida << ',';
        EscribirTexto(salida, m_vsNombres[i]);
    }
    salida << "],\"cuadros\":[";
    for (size_t i = 0; i < m_vCuadros.size(); ++i) {
        if (i > 0)
            salida << ",\n";
        EscribirCuadro(salida, i);
    }
    salida << "]}\n";
    return static_cast<bool>(salida);
}

bool CGrabacion::GuardarJSON(const std::string& sRuta) const
{
    std::ostringstream salida;
    std::string sError;
    if (!EscribirJSON(salida) || !EscribirArchivoEntero(sRuta, salida.str(), sError)) {
        std::fprintf(stderr, "ERROR (src/arena/CGrabacion.cpp,%d): No se pudo guardar %s: %s\n", __LINE__,
                     sRuta.c_str(), sError.c_str());
        return false;
    }
    return true;
}
