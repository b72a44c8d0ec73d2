#include "CGeometria.h"

#include <algorithm>
#include <cmath>

namespace {

// Grid cells hold every figure whose box grown by this much overlaps them,
// so that discs up to this radius (robots, placement margins) are found
// through the cells their centre crosses.
const double kInflado = 0.7;
const int kMaxCeldas = 16384;
const double kInfinito = 1e300;

double Cuadrado(double d) { return d * d; }

// Faster than std::hypot, and exact enough for arena sizes.
double Largo(double dX, double dY) { return std::sqrt(dX * dX + dY * dY); }

bool AnguloDentro(double dAngulo, double dDesde, double dHasta)
{
    if (dDesde <= dHasta)
        return dAngulo >= dDesde && dAngulo <= dHasta;
    return dAngulo >= dDesde || dAngulo <= dHasta;
}

// Disc of radius dRadio at c met from outside by a point leaving p along u.
double CruceDesdeFuera(double dPX, double dPY, double dUX, double dUY, double dCX, double dCY, double dRadio)
{
    const double dWX = dPX - dCX, dWY = dPY - dCY;
    const double dB = dWX * dUX + dWY * dUY;
    const double dC = dWX * dWX + dWY * dWY - dRadio * dRadio;
    if (dC <= 0)
        return dB < 0 ? 0.0 : -1.0;
    if (dB >= 0)
        return -1.0;
    const double dDisc = dB * dB - dC;
    if (dDisc < 0)
        return -1.0;
    return -dB - std::sqrt(dDisc);
}

// Circle of radius dRadio at c met from inside.
double CruceDesdeDentro(double dPX, double dPY, double dUX, double dUY, double dCX, double dCY, double dRadio)
{
    const double dWX = dPX - dCX, dWY = dPY - dCY;
    const double dB = dWX * dUX + dWY * dUY;
    const double dC = dWX * dWX + dWY * dWY - dRadio * dRadio;
    if (dRadio <= 0 || dC >= 0)
        return dB > 0 || dRadio <= 0 ? 0.0 : -1.0;
    return -dB + std::sqrt(std::max(0.0, dB * dB - dC));
}

double CruceLinea(const SFigura& f, double dPX, double dPY, double dUX, double dUY, double dRadio, double& dNX,
                  double& dNY)
{
    const double dNormX = -f.dUY, dNormY = f.dUX;
    const double dD0 = (dPX - f.dX1) * dNormX + (dPY - f.dY1) * dNormY;
    const double dLado = dD0 >= 0 ? 1.0 : -1.0;
    const double dAcerca = dLado * (dUX * dNormX + dUY * dNormY);  // < 0: toward the face
    const double dCara = f.dMedio + dRadio;
    const double dHueco = std::fabs(dD0) - dCara;
    if (dAcerca >= 0)
        return -1.0;
    const double dT = dHueco <= 0 ? 0.0 : dHueco / -dAcerca;
    const double dS = (dPX + dT * dUX - f.dX1) * f.dUX + (dPY + dT * dUY - f.dY1) * f.dUY;
    if (dS < 0 || dS > f.dLargo)
        return -1.0;
    dNX = dLado * dNormX;
    dNY = dLado * dNormY;
    return dT;
}

bool ArcoContiene(const SFigura& f, double dX, double dY)
{
    return AnguloDentro(std::atan2(dY - f.dY1, dX - f.dX1), f.dAngulo1, f.dAngulo2);
}

// Outer face seen from outside the mid radius; through the opening, the
// inner face from inside. Inside the mid radius only the inner face.
double CruceArco(const SFigura& f, double dPX, double dPY, double dUX, double dUY, double dRadio)
{
    const double dRho = Largo(dPX - f.dX1, dPY - f.dY1);
    const double dMedio = 0.5 * (f.dRadioInterior + f.dRadio);
    const double dInterior = f.dRadioInterior - dRadio;
    if (dRho >= dMedio) {
        const double dT = CruceDesdeFuera(dPX, dPY, dUX, dUY, f.dX1, f.dY1, f.dRadio + dRadio);
        if (dT >= 0 && ArcoContiene(f, dPX + dT * dUX, dPY + dT * dUY))
            return dT;
        if (dInterior <= 0)
            return -1.0;
        const double dWX = dPX - f.dX1, dWY = dPY - f.dY1;
        const double dB = dWX * dUX + dWY * dUY;
        const double dDisc = dB * dB - (dWX * dWX + dWY * dWY - dInterior * dInterior);
        if (dDisc < 0)
            return -1.0;
        const double dLejos = -dB + std::sqrt(dDisc);
        if (dLejos >= 0 && ArcoContiene(f, dPX + dLejos * dUX, dPY + dLejos * dUY))
            return dLejos;
        return -1.0;
    }
    const double dT = CruceDesdeDentro(dPX, dPY, dUX, dUY, f.dX1, f.dY1, dInterior);
    if (dT >= 0 && ArcoContiene(f, dPX + dT * dUX, dPY + dT * dUY))
        return dT;
    return -1.0;
}

void Unitario(double dX, double dY, double& dNX, double& dNY)
{
    const double dL = Largo(dX, dY);
    dNX = dL > 0 ? dX / dL : 1.0;
    dNY = dL > 0 ? dY / dL : 0.0;
}

}  // namespace

CGeometria::CGeometria() { Limpiar(); }

void CGeometria::Limpiar()
{
    m_vFiguras.clear();
    m_vdExclusiones.clear();
    m_dX1 = m_dY1 = m_dX2 = m_dY2 = 0;
    m_vnGlobales.clear();
    m_vnInicioCelda.assign(1, 0);
    m_vnFigurasCelda.clear();
    m_dRejillaX = m_dRejillaY = 0;
    m_dCelda = 1;
    m_nColumnas = m_nFilas = 0;
    m_vnMarca.clear();
    m_nMarca = 0;
}

void CGeometria::SetLimites(double dX1, double dY1, double dX2, double dY2)
{
    m_dX1 = dX1;
    m_dY1 = dY1;
    m_dX2 = dX2;
    m_dY2 = dY2;
}

void CGeometria::AddLinea(double dRebote, double dDureza, double dGrosor, double dX1, double dY1, double dX2,
                          double dY2)
{
    SFigura f;
    f.eTipo = Figura_Linea;
    f.dRebote = dRebote;
    f.dDureza = dDureza;
    f.dX1 = dX1;
    f.dY1 = dY1;
    f.dX2 = dX2;
    f.dY2 = dY2;
    f.dMedio = 0.5 * dGrosor;
    f.dLargo = Largo(dX2 - dX1, dY2 - dY1);
    Unitario(dX2 - dX1, dY2 - dY1, f.dUX, f.dUY);
    m_vFiguras.push_back(f);
}

void CGeometria::AddCirculo(double dRebote, double dDureza, double dX, double dY, double dRadio)
{
    SFigura f;
    f.eTipo = Figura_Circulo;
    f.dRebote = dRebote;
    f.dDureza = dDureza;
    f.dX1 = dX;
    f.dY1 = dY;
    f.dRadio = dRadio;
    m_vFiguras.push_back(f);
}

void CGeometria::AddCirculoInterior(double dRebote, double dDureza, double dX, double dY, double dRadio)
{
    AddCirculo(dRebote, dDureza, dX, dY, dRadio);
    m_vFiguras.back().eTipo = Figura_CirculoInterior;
}

void CGeometria::AddArco(double dRebote, double dDureza, double dX, double dY, double dRadioInterior, double dRadio,
                         double dAngulo1, double dAngulo2)
{
    AddCirculo(dRebote, dDureza, dX, dY, dRadio);
    SFigura& f = m_vFiguras.back();
    f.eTipo = Figura_Arco;
    f.dRadioInterior = dRadioInterior;
    f.dAngulo1 = dAngulo1;
    f.dAngulo2 = dAngulo2;
}

void CGeometria::AddExclusion(double dX, double dY)
{
    m_vdExclusiones.push_back(dX);
    m_vdExclusiones.push_back(dY);
}

void CGeometria::Caja(const SFigura& f, double& dX1, double& dY1, double& dX2, double& dY2) const
{
    if (f.eTipo == Figura_Linea) {
        dX1 = std::min(f.dX1, f.dX2) - f.dMedio;
        dX2 = std::max(f.dX1, f.dX2) + f.dMedio;
        dY1 = std::min(f.dY1, f.dY2) - f.dMedio;
        dY2 = std::max(f.dY1, f.dY2) + f.dMedio;
    } else {
        dX1 = f.dX1 - f.dRadio;
        dX2 = f.dX1 + f.dRadio;
        dY1 = f.dY1 - f.dRadio;
        dY2 = f.dY1 + f.dRadio;
    }
    dX1 -= kInflado;
    dY1 -= kInflado;
    dX2 += kInflado;
    dY2 += kInflado;
}

// Builds the grid over the finite figures' boxes: cells of at least one
// metre, at most kMaxCeldas of them.
void CGeometria::Preparar()
{
    m_vnGlobales.clear();
    m_vnFigurasCelda.clear();
    m_vnMarca.assign(m_vFiguras.size(), 0);
    m_nMarca = 0;
    double dX1 = kInfinito, dY1 = kInfinito, dX2 = -kInfinito, dY2 = -kInfinito;
    for (size_t i = 0; i < m_vFiguras.size(); ++i) {
        if (m_vFiguras[i].eTipo == Figura_CirculoInterior) {
            m_vnGlobales.push_back(static_cast<int>(i));
            continue;
        }
        double a, b, c, d;
        Caja(m_vFiguras[i], a, b, c, d);
        dX1 = std::min(dX1, a);
        dY1 = std::min(dY1, b);
        dX2 = std::max(dX2, c);
        dY2 = std::max(dY2, d);
    }
    m_nColumnas = m_nFilas = 0;
    m_vnInicioCelda.assign(1, 0);
    if (dX1 > dX2)
        return;
    const double dAncho = dX2 - dX1, dAlto = dY2 - dY1;
    m_dCelda = std::max(1.0, std::sqrt(dAncho * dAlto / kMaxCeldas));
    m_dCelda = std::max(m_dCelda, std::max(dAncho, dAlto) / 1024.0);
    m_nColumnas = std::max(1, static_cast<int>(std::ceil(dAncho / m_dCelda)));
    m_nFilas = std::max(1, static_cast<int>(std::ceil(dAlto / m_dCelda)));
    m_dRejillaX = dX1;
    m_dRejillaY = dY1;
    std::vector<std::vector<int>> vvCeldas(static_cast<size_t>(m_nColumnas) * m_nFilas);
    for (size_t i = 0; i < m_vFiguras.size(); ++i) {
        if (m_vFiguras[i].eTipo == Figura_CirculoInterior)
            continue;
        double a, b, c, d;
        Caja(m_vFiguras[i], a, b, c, d);
        const int nC1 = std::max(0, static_cast<int>((a - m_dRejillaX) / m_dCelda));
        const int nC2 = std::min(m_nColumnas - 1, static_cast<int>((c - m_dRejillaX) / m_dCelda));
        const int nF1 = std::max(0, static_cast<int>((b - m_dRejillaY) / m_dCelda));
        const int nF2 = std::min(m_nFilas - 1, static_cast<int>((d - m_dRejillaY) / m_dCelda));
        for (int nF = nF1; nF <= nF2; ++nF) {
            for (int nC = nC1; nC <= nC2; ++nC)
                vvCeldas[static_cast<size_t>(nF) * m_nColumnas + nC].push_back(static_cast<int>(i));
        }
    }
    m_vnInicioCelda.clear();
    for (const std::vector<int>& v : vvCeldas) {
        m_vnInicioCelda.push_back(static_cast<int>(m_vnFigurasCelda.size()));
        m_vnFigurasCelda.insert(m_vnFigurasCelda.end(), v.begin(), v.end());
    }
    m_vnInicioCelda.push_back(static_cast<int>(m_vnFigurasCelda.size()));
}

bool CGeometria::CruceFigura(const SFigura& f, double dPX, double dPY, double dUX, double dUY, double dRadio,
                             SContacto& contacto) const
{
    double dT = -1, dNX = 1, dNY = 0;
    switch (f.eTipo) {
        case Figura_Linea:
            dT = CruceLinea(f, dPX, dPY, dUX, dUY, dRadio, dNX, dNY);
            break;
        case Figura_Circulo:
            dT = CruceDesdeFuera(dPX, dPY, dUX, dUY, f.dX1, f.dY1, f.dRadio + dRadio);
            break;
        case Figura_CirculoInterior:
            dT = CruceDesdeDentro(dPX, dPY, dUX, dUY, f.dX1, f.dY1, f.dRadio - dRadio);
            break;
        case Figura_Arco:
            dT = CruceArco(f, dPX, dPY, dUX, dUY, dRadio);
            break;
    }
    if (dT < 0 || dT >= contacto.dDistancia)
        return false;
    const double dQX = dPX + dT * dUX - f.dX1, dQY = dPY + dT * dUY - f.dY1;
    if (f.eTipo == Figura_Circulo || (f.eTipo == Figura_Arco && Largo(dQX, dQY) >= 0.5 * (f.dRadio + f.dRadioInterior)))
        Unitario(dQX, dQY, dNX, dNY);
    else if (f.eTipo != Figura_Linea)
        Unitario(-dQX, -dQY, dNX, dNY);
    contacto.dDistancia = dT;
    contacto.dNX = dNX;
    contacto.dNY = dNY;
    return true;
}

void CGeometria::ProbarCelda(int nCelda, double dPX, double dPY, double dUX, double dUY, double dRadio, double dMax,
                             SContacto& mejor) const
{
    (void)dMax;
    for (int k = m_vnInicioCelda[nCelda]; k < m_vnInicioCelda[nCelda + 1]; ++k) {
        const int nFigura = m_vnFigurasCelda[k];
        if (m_vnMarca[nFigura] == m_nMarca)
            continue;
        m_vnMarca[nFigura] = m_nMarca;
        if (CruceFigura(m_vFiguras[nFigura], dPX, dPY, dUX, dUY, dRadio, mejor))
            mejor.nFigura = nFigura;
    }
}

bool CGeometria::CeldaDe(double dX, double dY, int& nCX, int& nCY) const
{
    nCX = static_cast<int>(std::floor((dX - m_dRejillaX) / m_dCelda));
    nCY = static_cast<int>(std::floor((dY - m_dRejillaY) / m_dCelda));
    return nCX >= 0 && nCY >= 0 && nCX < m_nColumnas && nCY < m_nFilas;
}

// Walks the grid cells along the path (a 2D digital differential analyser)
// and stops once the best contact lies before the next cell.
bool CGeometria::Cruce(double dPX, double dPY, double dUX, double dUY, double dRadio, double dMax,
                       SContacto& contacto) const
{
    SContacto mejor;
    mejor.dDistancia = dMax;
    for (int nFigura : m_vnGlobales) {
        if (CruceFigura(m_vFiguras[nFigura], dPX, dPY, dUX, dUY, dRadio, mejor))
            mejor.nFigura = nFigura;
    }
    if (++m_nMarca == 0) {
        std::fill(m_vnMarca.begin(), m_vnMarca.end(), 0);
        m_nMarca = 1;
    }
    if (dRadio > kInflado) {
        for (size_t i = 0; i < m_vFiguras.size(); ++i) {
            if (m_vFiguras[i].eTipo != Figura_CirculoInterior &&
                CruceFigura(m_vFiguras[i], dPX, dPY, dUX, dUY, dRadio, mejor))
                mejor.nFigura = static_cast<int>(i);
        }
    } else if (m_nColumnas > 0) {
        // Clip the path to the grid.
        double dT0 = 0, dT1 = mejor.dDistancia;
        const double vdP[2] = {dPX, dPY}, vdU[2] = {dUX, dUY};
        const double vdMin[2] = {m_dRejillaX, m_dRejillaY};
        const double vdMax[2] = {m_dRejillaX + m_nColumnas * m_dCelda, m_dRejillaY + m_nFilas * m_dCelda};
        for (int k = 0; k < 2 && dT0 <= dT1; ++k) {
            if (vdU[k] == 0) {
                if (vdP[k] < vdMin[k] || vdP[k] > vdMax[k])
                    dT1 = -1;
                continue;
            }
            double dA = (vdMin[k] - vdP[k]) / vdU[k], dB = (vdMax[k] - vdP[k]) / vdU[k];
            if (dA > dB)
                std::swap(dA, dB);
            dT0 = std::max(dT0, dA);
            dT1 = std::min(dT1, dB);
        }
        if (dT0 <= dT1) {
            int nCX, nCY;
            CeldaDe(dPX + dT0 * dUX, dPY + dT0 * dUY, nCX, nCY);
            nCX = std::min(std::max(nCX, 0), m_nColumnas - 1);
            nCY = std::min(std::max(nCY, 0), m_nFilas - 1);
            const int nPasoX = dUX > 0 ? 1 : -1, nPasoY = dUY > 0 ? 1 : -1;
            const double dDeltaX = dUX != 0 ? m_dCelda / std::fabs(dUX) : kInfinito;
            const double dDeltaY = dUY != 0 ? m_dCelda / std::fabs(dUY) : kInfinito;
            double dSigX = dUX != 0 ? (m_dRejillaX + (nCX + (dUX > 0)) * m_dCelda - dPX) / dUX : kInfinito;
            double dSigY = dUY != 0 ? (m_dRejillaY + (nCY + (dUY > 0)) * m_dCelda - dPY) / dUY : kInfinito;
            for (;;) {
                ProbarCelda(nCY * m_nColumnas + nCX, dPX, dPY, dUX, dUY, dRadio, dMax, mejor);
                const double dSalida = std::min(dSigX, dSigY);
                if (dSalida >= mejor.dDistancia || dSalida > dT1)
                    break;
                if (dSigX < dSigY) {
                    nCX += nPasoX;
                    dSigX += dDeltaX;
                } else {
                    nCY += nPasoY;
                    dSigY += dDeltaY;
                }
                if (nCX < 0 || nCY < 0 || nCX >= m_nColumnas || nCY >= m_nFilas)
                    break;
            }
        }
    }
    if (mejor.nFigura < 0)
        return false;
    contacto = mejor;
    return true;
}

bool CGeometria::LibreDeParedes(double dPX, double dPY, double dMargen) const
{
    for (const SFigura& f : m_vFiguras) {
        const double dWX = dPX - f.dX1, dWY = dPY - f.dY1;
        switch (f.eTipo) {
            case Figura_Linea: {
                const double dS = dWX * f.dUX + dWY * f.dUY;
                const double dD = std::fabs(-dWX * f.dUY + dWY * f.dUX);
                if (dD < f.dMedio + dMargen && dS >= 0 && dS <= f.dLargo)
                    return false;
                break;
            }
            case Figura_Circulo:
                if (dWX * dWX + dWY * dWY <= Cuadrado(f.dRadio + dMargen))
                    return false;
                break;
            case Figura_CirculoInterior:
                if (Largo(dWX, dWY) >= f.dRadio - dMargen)
                    return false;
                break;
            case Figura_Arco: {
                const double dRho = Largo(dWX, dWY);
                if (dRho >= f.dRadioInterior - dMargen && dRho <= f.dRadio + dMargen && ArcoContiene(f, dPX, dPY))
                    return false;
                break;
            }
        }
    }
    return true;
}

bool CGeometria::OcultaExclusiones(double dPX, double dPY, double dMargen) const
{
    for (size_t i = 0; i + 1 < m_vdExclusiones.size(); i += 2) {
        const double dDX = m_vdExclusiones[i] - dPX, dDY = m_vdExclusiones[i + 1] - dPY;
        const double dDist = Largo(dDX, dDY);
        if (dDist <= dMargen)
            return false;
        SContacto contacto;
        if (!Cruce(dPX, dPY, dDX / dDist, dDY / dDist, 0.0, dDist, contacto))
            return false;
    }
    return true;
}

double CGeometria::Holgura(double dPX, double dPY, double dRadio) const
{
    double dHolgura = kInfinito;
    for (const SFigura& f : m_vFiguras) {
        const double dWX = dPX - f.dX1, dWY = dPY - f.dY1;
        const double dRho = Largo(dWX, dWY);
        double dH = kInfinito;
        if (f.eTipo == Figura_Linea) {
            const double dS = dWX * f.dUX + dWY * f.dUY;
            if (dS >= 0 && dS <= f.dLargo)
                dH = std::fabs(-dWX * f.dUY + dWY * f.dUX) - f.dMedio - dRadio;
        } else if (f.eTipo == Figura_Circulo) {
            dH = dRho - f.dRadio - dRadio;
        } else if (f.eTipo == Figura_CirculoInterior) {
            dH = f.dRadio - dRadio - dRho;
        } else if (ArcoContiene(f, dPX, dPY)) {
            dH = dRho < 0.5 * (f.dRadio + f.dRadioInterior) ? f.dRadioInterior - dRadio - dRho
                                                            : dRho - f.dRadio - dRadio;
        }
        dHolgura = std::min(dHolgura, dH);
    }
    return dHolgura;
}
