#include "CGrafica.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "UtilVisual.h"

namespace {

const double kAncho = 640.0;
const double kAlto = 320.0;
const double kIzquierda = 64.0;
const double kDerecha = 150.0;
const double kArriba = 34.0;
const double kAbajo = 44.0;

std::string N(double d) { return FormatearNumero(d, 2); }

std::string TextoMarca(double d)
{
    if (std::fabs(d) >= 1e6 || (std::fabs(d) < 1e-3 && d != 0)) {
        char sz[32];
        std::snprintf(sz, sizeof(sz), "%.2g", d);
        return sz;
    }
    return FormatearNumero(d, 3);
}

}  // namespace

std::vector<double> MarcasEje(double dMin, double dMax, int nMarcasDeseadas)
{
    std::vector<double> v;
    if (!(dMax > dMin) || nMarcasDeseadas < 1)
        return v;
    const double dBruto = (dMax - dMin) / nMarcasDeseadas;
    const double dPotencia = std::pow(10.0, std::floor(std::log10(dBruto)));
    const double dFraccion = dBruto / dPotencia;
    const double dPaso = dPotencia * (dFraccion <= 1 ? 1 : dFraccion <= 2 ? 2 : dFraccion <= 5 ? 5 : 10);
    for (double d = std::ceil(dMin / dPaso - 1e-9) * dPaso; d <= dMax + dPaso * 1e-9; d += dPaso)
        v.push_back(std::fabs(d) < dPaso * 1e-9 ? 0.0 : d);
    return v;
}

std::string ColorPaleta(int k)
{
    static const char* vColores[] = {"#4e79a7", "#f28e2b", "#e15759", "#76b7b2", "#59a14f", "#edc948",
                                     "#b07aa1", "#ff9da7", "#9c755f", "#bab0ac", "#1b9e77", "#d95f02",
                                     "#7570b3", "#e7298a", "#66a61e", "#e6ab02", "#a6761d", "#666666"};
    const int n = static_cast<int>(sizeof(vColores) / sizeof(vColores[0]));
    return vColores[((k % n) + n) % n];
}

CGrafica::CGrafica() : m_Tipo(Grafica_Lineas), m_nLeyendaMaxima(12) {}

void CGrafica::Limpiar()
{
    m_Tipo = Grafica_Lineas;
    m_sTitulo.clear();
    m_sEjeX.clear();
    m_sEjeY.clear();
    m_nLeyendaMaxima = 12;
    m_vSeries.clear();
}

double CGrafica::PX(double x, double dMin, double dMax) const
{
    return kIzquierda + (x - dMin) / (dMax - dMin) * (kAncho - kIzquierda - kDerecha);
}

double CGrafica::PY(double y, double dMin, double dMax) const
{
    return kAlto - kAbajo - (y - dMin) / (dMax - dMin) * (kAlto - kArriba - kAbajo);
}

void CGrafica::Rango(double& dMinX, double& dMaxX, double& dMinY, double& dMaxY) const
{
    dMinX = dMinY = HUGE_VAL;
    dMaxX = dMaxY = -HUGE_VAL;
    std::vector<double> vPila;
    for (const SSerieGrafica& s : m_vSeries) {
        vPila.resize(std::max(vPila.size(), s.vY.size()), 0.0);
        for (size_t i = 0; i < s.vX.size() && i < s.vY.size(); ++i) {
            if (!std::isfinite(s.vX[i]) || !std::isfinite(s.vY[i]))
                continue;
            dMinX = std::min(dMinX, s.vX[i]);
            dMaxX = std::max(dMaxX, s.vX[i]);
            const double y = (m_Tipo == Grafica_Apilada) ? (vPila[i] += s.vY[i]) : s.vY[i];
            dMinY = std::min(dMinY, y);
            dMaxY = std::max(dMaxY, y);
        }
    }
    if (m_Tipo == Grafica_Apilada)
        dMinY = std::min(0.0, dMinY);
    if (!(dMaxX >= dMinX)) {
        dMinX = 0;
        dMaxX = 1;
    }
    if (!(dMaxY >= dMinY)) {
        dMinY = 0;
        dMaxY = 1;
    }
    if (dMaxX - dMinX < 1e-12) {
        dMinX -= 0.5;
        dMaxX += 0.5;
    }
    if (dMaxY - dMinY < 1e-12) {
        dMinY -= 0.5;
        dMaxY += 0.5;
    }
    const double dHolgura = (m_Tipo == Grafica_Apilada) ? 0.0 : 0.05 * (dMaxY - dMinY);
    dMaxY += dHolgura;
    if (dMinY != 0.0)
        dMinY -= dHolgura;
}

std::string CGrafica::Ejes(double dMinX, double dMaxX, double dMinY, double dMaxY) const
{
    std::ostringstream out;
    const double x0 = kIzquierda, x1 = kAncho - kDerecha, y0 = kAlto - kAbajo, y1 = kArriba;
    out << "<g class=\"ejes\" font-family=\"sans-serif\" font-size=\"10\" fill=\"#333333\">";
    for (double y : MarcasEje(dMinY, dMaxY, 5)) {
        const double py = PY(y, dMinY, dMaxY);
        out << "<line x1=\"" << N(x0) << "\" y1=\"" << N(py) << "\" x2=\"" << N(x1) << "\" y2=\"" << N(py)
            << "\" stroke=\"#e4e4e4\"/><text x=\"" << N(x0 - 6) << "\" y=\"" << N(py + 3) << "\" text-anchor=\"end\">"
            << TextoMarca(y) << "</text>";
    }
    for (double x : MarcasEje(dMinX, dMaxX, 8)) {
        const double px = PX(x, dMinX, dMaxX);
        out << "<line x1=\"" << N(px) << "\" y1=\"" << N(y0) << "\" x2=\"" << N(px) << "\" y2=\"" << N(y0 + 4)
            << "\" stroke=\"#333333\"/><text x=\"" << N(px) << "\" y=\"" << N(y0 + 15) << "\" text-anchor=\"middle\">"
            << TextoMarca(x) << "</text>";
    }
    out << "<rect x=\"" << N(x0) << "\" y=\"" << N(y1) << "\" width=\"" << N(x1 - x0) << "\" height=\"" << N(y0 - y1)
        << "\" fill=\"none\" stroke=\"#333333\"/>"
        << "<text x=\"" << N((x0 + x1) / 2) << "\" y=\"" << N(kAlto - 8) << "\" text-anchor=\"middle\">"
        << EscaparXml(m_sEjeX) << "</text>"
        << "<text transform=\"translate(14," << N((y0 + y1) / 2) << ") rotate(-90)\" text-anchor=\"middle\">"
        << EscaparXml(m_sEjeY) << "</text></g>\n";
    return out.str();
}

std::string CGrafica::Lineas(double dMinX, double dMaxX, double dMinY, double dMaxY) const
{
    std::ostringstream out;
    for (const SSerieGrafica& s : m_vSeries) {
        out << "<polyline class=\"serie\" data-nombre=\"" << EscaparXml(s.sNombre) << "\" fill=\"none\" stroke=\""
            << s.sColor << "\" stroke-width=\"1.8\" points=\"";
        for (size_t i = 0; i < s.vX.size() && i < s.vY.size(); ++i)
            if (std::isfinite(s.vX[i]) && std::isfinite(s.vY[i]))
                out << N(PX(s.vX[i], dMinX, dMaxX)) << "," << N(PY(s.vY[i], dMinY, dMaxY)) << " ";
        out << "\"><title>" << EscaparXml(s.sNombre) << "</title></polyline>\n";
    }
    return out.str();
}

std::string CGrafica::Bandas(double dMinX, double dMaxX, double dMinY, double dMaxY) const
{
    std::ostringstream out;
    std::vector<double> vBase;
    for (const SSerieGrafica& s : m_vSeries) {
        const size_t n = std::min(s.vX.size(), s.vY.size());
        vBase.resize(std::max(vBase.size(), n), 0.0);
        std::vector<double> vTecho(vBase);
        for (size_t i = 0; i < n; ++i)
            if (std::isfinite(s.vY[i]))
                vTecho[i] += s.vY[i];
        out << "<polygon class=\"banda\" data-nombre=\"" << EscaparXml(s.sNombre) << "\" fill=\"" << s.sColor
            << "\" fill-opacity=\"0.85\" stroke=\"white\" stroke-width=\"0.3\" points=\"";
        for (size_t i = 0; i < n; ++i)
            out << N(PX(s.vX[i], dMinX, dMaxX)) << "," << N(PY(vTecho[i], dMinY, dMaxY)) << " ";
        for (size_t i = n; i-- > 0;)
            out << N(PX(s.vX[i], dMinX, dMaxX)) << "," << N(PY(vBase[i], dMinY, dMaxY)) << " ";
        out << "\"><title>" << EscaparXml(s.sNombre) << "</title></polygon>\n";
        vBase.swap(vTecho);
    }
    return out.str();
}

std::string CGrafica::Leyenda() const
{
    std::ostringstream out;
    const double x = kAncho - kDerecha + 12;
    out << "<g class=\"leyenda\" font-family=\"sans-serif\" font-size=\"10\">";
    const size_t n = std::min(m_vSeries.size(), m_nLeyendaMaxima);
    for (size_t i = 0; i < n; ++i) {
        // Stacked bands read bottom-up, so list them top-down.
        const SSerieGrafica& s = m_vSeries[m_Tipo == Grafica_Apilada ? m_vSeries.size() - 1 - i : i];
        const double y = kArriba + 6 + 15 * i;
        out << "<rect x=\"" << N(x) << "\" y=\"" << N(y) << "\" width=\"10\" height=\"10\" fill=\"" << s.sColor
            << "\"/><text x=\"" << N(x + 14) << "\" y=\"" << N(y + 9) << "\">" << EscaparXml(s.sNombre) << "</text>";
    }
    if (m_vSeries.size() > n)
        out << "<text x=\"" << N(x) << "\" y=\"" << N(kArriba + 15 + 15 * n) << "\">y " << m_vSeries.size() - n
            << " m"
               "&#225;"
               "s</text>";
    out << "</g>\n";
    return out.str();
}

std::string CGrafica::GenerarSvg() const
{
    double dMinX, dMaxX, dMinY, dMaxY;
    Rango(dMinX, dMaxX, dMinY, dMaxY);
    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"grafica\" width=\"" << N(kAncho) << "\" height=\""
        << N(kAlto) << "\" viewBox=\"0 0 " << N(kAncho) << " " << N(kAlto) << "\">\n"
        << "<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n"
        << "<text x=\"" << N(kIzquierda) << "\" y=\"20\" font-family=\"sans-serif\" font-size=\"13\""
        << " font-weight=\"bold\">" << EscaparXml(m_sTitulo) << "</text>\n"
        << Ejes(dMinX, dMaxX, dMinY, dMaxY)
        << (m_Tipo == Grafica_Apilada ? Bandas(dMinX, dMaxX, dMinY, dMaxY) : Lineas(dMinX, dMaxX, dMinY, dMaxY))
        << Leyenda() << "</svg>\n";
    return out.str();
}
