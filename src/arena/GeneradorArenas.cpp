#include "GeneradorArenas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "CGenerador.h"
#include "CGeometria.h"
#include "LectorArena.h"

namespace {

const double kPiGen = 3.14159265358979323846;
const double kCelda = 0.35;
const double kHolgura = 0.6;  // the placement margin
// Clearance of the cells a robot drives through: its radius plus half a
// cell's diagonal, so that the straight moves between neighbouring free
// cells keep it off every wall.
const double kHolguraPaso = 0.75;
const double kMinimoLibre = 0.45;  // of the enclosure's free cells, kept by the shapes inside
const int kMaxExclusiones = 200;

std::string Numero(double d)
{
    char sz[32];
    std::snprintf(sz, sizeof(sz), "%.3f", d);
    return sz;
}

// The newest exclusion points first: the last one closed the pocket this
// spot most likely lies in, so one ray usually settles it.
bool NoVeNinguna(const CGeometria& geo, const std::vector<double>& vdPuntos, double dX, double dY)
{
    for (size_t i = vdPuntos.size(); i >= 2; i -= 2) {
        const double dDX = vdPuntos[i - 2] - dX, dDY = vdPuntos[i - 1] - dY;
        const double dDist = std::sqrt(dDX * dDX + dDY * dDY);
        SContacto contacto;
        if (dDist <= kHolgura || !geo.Cruce(dX, dY, dDX / dDist, dDY / dDist, 0.0, dDist, contacto))
            return false;
    }
    return true;
}

// Builds the text shape by shape, keeping a grid of the cells where a
// robot's centre fits and of those it can reach from the middle.
class CConstructor {
public:
    explicit CConstructor(uint64_t nSemilla) : m_gen(CGenerador::Mezclar(nSemilla, 0x5EED0A7E4A)) {}

    std::string Generar();

private:
    double U(double a, double b) { return m_gen.Uniforme(a, b); }
    int Entero(int a, int b) { return std::min(b, a + static_cast<int>(U(0, b - a + 1))); }
    std::string Coeficientes() { return Numero(U(0.5, 1.0)) + " " + Numero(U(0.5, 1.0)) + " "; }

    void Recinto();
    std::string Obstaculo();
    bool Figuras(const std::string& sFragmento, CGeometria& geo) const;
    void Rejilla(double dX1, double dY1, double dX2, double dY2);
    void Bloquear(const CGeometria& geo, std::vector<char>& vbLibre) const;
    int Inundar(int nInicio, const std::vector<char>& vbDentro, std::vector<char>& vbMarca) const;
    bool Anyadir(const std::string& sFragmento);
    void CerrarBolsas();
    bool JuntoAAlcanzable(int n) const;
    double XCelda(int n) const { return m_dX1 + (n % m_nColumnas + 0.5) * kCelda; }
    double YCelda(int n) const { return m_dY1 + (n / m_nColumnas + 0.5) * kCelda; }

    CGenerador m_gen;
    double m_dX1 = 0, m_dY1 = 0, m_dX2 = 0, m_dY2 = 0;
    std::string m_sCabecera, m_sCuerpo;
    int m_nColumnas = 0, m_nFilas = 0;
    std::vector<char> m_vbLibre, m_vbAlcanzable;
    int m_nAlcanzables = 0, m_nAlcanzablesRecinto = 0;
};

bool CConstructor::Figuras(const std::string& sFragmento, CGeometria& geo) const
{
    std::string sError;
    return LeerArena(m_sCabecera + sFragmento, "aleatoria", geo, sError);
}

void CConstructor::Rejilla(double dX1, double dY1, double dX2, double dY2)
{
    m_dX1 = dX1;
    m_dY1 = dY1;
    m_dX2 = dX2;
    m_dY2 = dY2;
    m_sCabecera = "scale 1\nboundary " + Numero(dX1) + " " + Numero(dY1) + " " + Numero(dX2) + " " + Numero(dY2) +
                  "\nangle_unit degrees\n";
    m_nColumnas = static_cast<int>(std::ceil((dX2 - dX1) / kCelda));
    m_nFilas = static_cast<int>(std::ceil((dY2 - dY1) / kCelda));
    m_vbLibre.assign(static_cast<size_t>(m_nColumnas) * m_nFilas, 1);
}

// Cells near the shapes of geo stop being free; only those within the
// shapes' boxes need a look, unless a shape encloses.
void CConstructor::Bloquear(const CGeometria& geo, std::vector<char>& vbLibre) const
{
    double dX1 = 1e300, dY1 = 1e300, dX2 = -1e300, dY2 = -1e300;
    for (const SFigura& f : geo.GetFiguras()) {
        if (f.eTipo == Figura_CirculoInterior) {
            dX1 = dY1 = -1e300;
            dX2 = dY2 = 1e300;
            break;
        }
        const double dR = f.eTipo == Figura_Linea ? f.dMedio : f.dRadio;
        dX1 = std::min(dX1, std::min(f.dX1, f.eTipo == Figura_Linea ? f.dX2 : f.dX1) - dR);
        dX2 = std::max(dX2, std::max(f.dX1, f.eTipo == Figura_Linea ? f.dX2 : f.dX1) + dR);
        dY1 = std::min(dY1, std::min(f.dY1, f.eTipo == Figura_Linea ? f.dY2 : f.dY1) - dR);
        dY2 = std::max(dY2, std::max(f.dY1, f.eTipo == Figura_Linea ? f.dY2 : f.dY1) + dR);
    }
    const double dH = kHolguraPaso;
    const int nC1 = std::max(0, static_cast<int>(std::max(-1e9, (dX1 - dH - m_dX1) / kCelda)) - 1);
    const int nC2 = std::min(m_nColumnas - 1, static_cast<int>(std::min(1e9, (dX2 + dH - m_dX1) / kCelda)) + 1);
    const int nF1 = std::max(0, static_cast<int>(std::max(-1e9, (dY1 - dH - m_dY1) / kCelda)) - 1);
    const int nF2 = std::min(m_nFilas - 1, static_cast<int>(std::min(1e9, (dY2 + dH - m_dY1) / kCelda)) + 1);
    for (int nF = nF1; nF <= nF2; ++nF) {
        for (int nC = nC1; nC <= nC2; ++nC) {
            const int n = nF * m_nColumnas + nC;
            if (vbLibre[n] && !geo.LibreDeParedes(XCelda(n), YCelda(n), kHolguraPaso))
                vbLibre[n] = 0;
        }
    }
}

// Four-neighbour flood fill over the cells marked in vbDentro.
int CConstructor::Inundar(int nInicio, const std::vector<char>& vbDentro, std::vector<char>& vbMarca) const
{
    vbMarca.assign(vbDentro.size(), 0);
    std::vector<int> vnPila(1, nInicio);
    vbMarca[nInicio] = 1;
    int nCuenta = 0;
    while (!vnPila.empty()) {
        const int n = vnPila.back();
        vnPila.pop_back();
        ++nCuenta;
        const int nC = n % m_nColumnas, nF = n / m_nColumnas;
        const int vnVecinos[4][2] = {{nC - 1, nF}, {nC + 1, nF}, {nC, nF - 1}, {nC, nF + 1}};
        for (const auto& v : vnVecinos) {
            if (v[0] < 0 || v[1] < 0 || v[0] >= m_nColumnas || v[1] >= m_nFilas)
                continue;
            const int k = v[1] * m_nColumnas + v[0];
            if (vbDentro[k] && !vbMarca[k]) {
                vbMarca[k] = 1;
                vnPila.push_back(k);
            }
        }
    }
    return nCuenta;
}

void CConstructor::Recinto()
{
    const std::string sCoef = Coeficientes();
    const double dGrosor = U(0.5, 1.0);
    const int nTipo = Entero(0, 4);
    std::string sFigura;
    if (nTipo == 0) {
        const double dR = U(9, 15);
        Rejilla(-dR, -dR, dR, dR);
        sFigura = "inner_circle " + sCoef + "0 0 " + Numero(dR) + "\n";
    } else if (nTipo == 1 || nTipo == 4) {
        const double dW = U(8, 16), dH = U(7, 14);
        Rejilla(-dW, -dH, dW, dH);
        if (nTipo == 1) {
            const double vd[5][2] = {{-dW, dH}, {dW, dH}, {dW, -dH}, {-dW, -dH}, {-dW, dH}};
            for (int i = 0; i < 4; ++i) {
                sFigura += "line " + sCoef + Numero(dGrosor) + " " + Numero(vd[i][0]) + " " + Numero(vd[i][1]) + " " +
                           Numero(vd[i + 1][0]) + " " + Numero(vd[i + 1][1]) + "\n";
            }
        } else {
            // A box with rounded corners, drawn counter-clockwise.
            const double dR = U(1.5, 0.6 * std::min(dW, dH));
            const std::string sGiro = " A -90 " + Numero(dR);
            sFigura = "poly_curve " + sCoef + Numero(dGrosor) + " " + Numero(-dW + dR) + " " + Numero(-dH) + " 1 0 L " +
                      Numero(2 * (dW - dR)) + sGiro + " L " + Numero(2 * (dH - dR)) + sGiro + " L " +
                      Numero(2 * (dW - dR)) + sGiro + " L " + Numero(2 * (dH - dR)) + sGiro + " Q\n";
        }
    } else {
        // A polygon or a star around the middle.
        const double dR = U(10, 16);
        const int nPuntas = nTipo == 2 ? Entero(3, 8) : Entero(4, 7);
        const int nVertices = nTipo == 2 ? nPuntas : 2 * nPuntas;
        const double dInterior = U(0.5, 0.7);
        const double dGiro = U(0, 2 * kPiGen);
        std::vector<double> vdX, vdY;
        for (int i = 0; i < nVertices; ++i) {
            const double dAng = dGiro + 2 * kPiGen * (i + (nTipo == 2 ? U(-0.2, 0.2) : 0)) / nVertices;
            const double dRadio = nTipo == 2 ? dR * U(0.85, 1.1) : (i % 2 == 0 ? dR : dR * dInterior);
            vdX.push_back(dRadio * std::cos(dAng));
            vdY.push_back(dRadio * std::sin(dAng));
        }
        const double dMargen = dGrosor + 0.5;
        Rejilla(
            *std::min_element(vdX.begin(), vdX.end()) - dMargen, *std::min_element(vdY.begin(), vdY.end()) - dMargen,
            *std::max_element(vdX.begin(), vdX.end()) + dMargen, *std::max_element(vdY.begin(), vdY.end()) + dMargen);
        sFigura = "closed_polygon " + sCoef + Numero(dGrosor) + " " + std::to_string(nVertices);
        for (int i = 0; i < nVertices; ++i)
            sFigura += " " + Numero(vdX[i]) + " " + Numero(vdY[i]);
        sFigura += "\n";
    }
    CGeometria geo;
    Figuras(sFigura, geo);
    Bloquear(geo, m_vbLibre);
    m_sCuerpo = sFigura;
    // The middle, or the free cell nearest to it, starts the fill.
    int nInicio = -1;
    double dMejor = 1e300;
    for (int n = 0; n < static_cast<int>(m_vbLibre.size()); ++n) {
        const double d = XCelda(n) * XCelda(n) + YCelda(n) * YCelda(n);
        if (m_vbLibre[n] && d < dMejor) {
            dMejor = d;
            nInicio = n;
        }
    }
    m_vbAlcanzable.assign(m_vbLibre.size(), 0);
    m_nAlcanzables = nInicio >= 0 ? Inundar(nInicio, m_vbLibre, m_vbAlcanzable) : 0;
    m_nAlcanzablesRecinto = m_nAlcanzables;
}

std::string CConstructor::Obstaculo()
{
    const std::string sCoef = Coeficientes();
    const double dX = U(m_dX1 + 2, m_dX2 - 2), dY = U(m_dY1 + 2, m_dY2 - 2);
    const double dGiro = U(0, 2 * kPiGen);
    const double dCos = std::cos(dGiro), dSin = std::sin(dGiro);
    auto Punto = [&](double dA, double dB) {
        return " " + Numero(dX + dA * dCos - dB * dSin) + " " + Numero(dY + dA * dSin + dB * dCos);
    };
    switch (Entero(0, 5)) {
        case 0:  // pillar
            return "circle " + sCoef + Numero(dX) + " " + Numero(dY) + " " + Numero(U(0.5, 2.2)) + "\n";
        case 1: {  // straight wall
            const double dL = U(1.5, 5);
            return "polygon " + sCoef + Numero(U(0.3, 0.9)) + " 2" + Punto(-dL, 0) + Punto(dL, 0) + "\n";
        }
        case 2: {  // corner
            const double dA = U(2, 6), dB = U(2, 6);
            return "polygon " + sCoef + Numero(U(0.3, 0.9)) + " 3" + Punto(dA, 0) + Punto(0, 0) + Punto(0, dB) + "\n";
        }
        case 3: {  // solid block, with an exclusion point inside
            const int nLados = Entero(3, 5);
            const double dR = U(1, 2.5);
            std::string s = "closed_polygon " + sCoef + "0.5 " + std::to_string(nLados);
            for (int i = 0; i < nLados; ++i)
                s += Punto(dR * std::cos(2 * kPiGen * i / nLados), dR * std::sin(2 * kPiGen * i / nLados));
            return s + "\nexclusion_point " + Numero(dX) + " " + Numero(dY) + "\n";
        }
        case 4: {  // room: three sides of a box, the fourth its door
            const double dA = U(2.5, 4.5), dB = U(2.5, 4.5);
            return "polygon " + sCoef + Numero(U(0.3, 0.7)) + " 4" + Punto(dA, -dB) + Punto(-dA, -dB) + Punto(-dA, dB) +
                   Punto(dA, dB) + "\n";
        }
        default: {  // arc
            const double dInterior = U(2, 5);
            const double dDesde = U(-180, 180);
            double dHasta = dDesde + U(60, 270);
            if (dHasta > 180)
                dHasta -= 360;
            return "arc " + sCoef + Numero(dX) + " " + Numero(dY) + " " + Numero(dInterior) + " " +
                   Numero(dInterior + U(0.4, 0.8)) + " " + Numero(dDesde) + " " + Numero(dHasta) + "\n";
        }
    }
}

// Keeps a shape only if the reachable cells it leaves still form one piece
// and enough of them remain.
bool CConstructor::Anyadir(const std::string& sFragmento)
{
    CGeometria geo;
    if (!Figuras(sFragmento, geo))
        return false;
    std::vector<char> vbLibre = m_vbLibre;
    Bloquear(geo, vbLibre);
    std::vector<char> vbDentro(vbLibre.size(), 0);
    int nQuedan = 0, nInicio = -1;
    for (size_t n = 0; n < vbLibre.size(); ++n) {
        vbDentro[n] = vbLibre[n] && m_vbAlcanzable[n];
        if (vbDentro[n]) {
            ++nQuedan;
            nInicio = static_cast<int>(n);
        }
    }
    if (nQuedan < kMinimoLibre * m_nAlcanzablesRecinto || nInicio < 0)
        return false;
    if (nQuedan < m_nAlcanzables) {
        std::vector<char> vbMarca;
        if (Inundar(nInicio, vbDentro, vbMarca) != nQuedan)
            return false;
        m_vbAlcanzable = vbMarca;
    }
    m_vbLibre = vbLibre;
    m_nAlcanzables = nQuedan;
    m_sCuerpo += sFragmento;
    return true;
}

bool CConstructor::JuntoAAlcanzable(int n) const
{
    const int nC = n % m_nColumnas, nF = n / m_nColumnas;
    for (int nF2 = std::max(0, nF - 1); nF2 <= std::min(m_nFilas - 1, nF + 1); ++nF2) {
        for (int nC2 = std::max(0, nC - 1); nC2 <= std::min(m_nColumnas - 1, nC + 1); ++nC2) {
            if (m_vbAlcanzable[nF2 * m_nColumnas + nC2])
                return true;
        }
    }
    return false;
}

// A spot that placement would accept but that is not next to a reachable
// cell gets an exclusion point: it then refuses itself and every spot that
// sees it.
void CConstructor::CerrarBolsas()
{
    CGeometria geo;
    Figuras(m_sCuerpo, geo);
    // Reachable now means at the placement margin: narrow ends of the free
    // space stay open to placement rather than hidden behind exclusion points.
    std::vector<char> vbLibre(m_vbLibre.size(), 0);
    int nInicio = -1;
    for (int n = 0; n < static_cast<int>(vbLibre.size()); ++n) {
        vbLibre[n] = geo.LibreDeParedes(XCelda(n), YCelda(n), kHolgura);
        if (m_vbAlcanzable[n])
            nInicio = n;
    }
    if (nInicio >= 0) {
        std::vector<char> vbMarca;
        Inundar(nInicio, vbLibre, vbMarca);
        m_vbAlcanzable = vbMarca;
    }
    int nExclusiones = static_cast<int>(geo.GetExclusiones().size() / 2);
    std::vector<double> vdNuevas;
    for (int n = 0; n < static_cast<int>(m_vbLibre.size()) && nExclusiones < kMaxExclusiones; ++n) {
        if (JuntoAAlcanzable(n))
            continue;
        const double dX = XCelda(n), dY = YCelda(n);
        if (!vbLibre[n] || !NoVeNinguna(geo, vdNuevas, dX, dY) || !geo.OcultaExclusiones(dX, dY, kHolgura))
            continue;
        vdNuevas.push_back(dX);
        vdNuevas.push_back(dY);
        geo.AddExclusion(dX, dY);
        m_sCuerpo += "exclusion_point " + Numero(dX) + " " + Numero(dY) + "\n";
        ++nExclusiones;
    }
}

std::string CConstructor::Generar()
{
    Recinto();
    const int nObstaculos = Entero(0, 12);
    for (int i = 0; i < nObstaculos; ++i) {
        for (int nIntento = 0; nIntento < 6; ++nIntento) {
            if (Anyadir(Obstaculo()))
                break;
        }
    }
    CerrarBolsas();
    return m_sCabecera + m_sCuerpo;
}

}  // namespace

std::string GenerarArena(uint64_t nSemilla)
{
    CConstructor constructor(nSemilla);
    return constructor.Generar();
}
