#include "DibujoArena.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

namespace {

const char* const kSuelo = "#fbfaf5";
const char* const kFondo = "#d8d6cf";
const char* const kPared = "#4a4a4a";
const double kPi2 = 6.28318530717958647692;

std::string N(double d)
{
    char sz[32];
    std::snprintf(sz, sizeof(sz), "%.3f", std::isfinite(d) ? d : 0.0);
    return sz;
}

std::vector<double> Numeros(const CJson& lista, size_t nDesde)
{
    std::vector<double> vd;
    for (size_t i = nDesde; i < lista.GetElementos().size(); ++i) {
        const CJson& v = lista.GetElementos()[i];
        vd.push_back(v.GetTipo() == Json_Numero ? v.GetNumero() : 0.0);
    }
    return vd;
}

// A ring sector as a stroke along its middle radius; y is flipped by the
// enclosing group, so counter-clockwise is the positive sweep.
std::string Arco(const std::vector<double>& v)
{
    const double dMedio = 0.5 * (v[2] + v[3]);
    double dVuelta = std::fmod(v[5] - v[4], kPi2);
    if (dVuelta <= 0)
        dVuelta += kPi2;
    std::ostringstream out;
    if (dVuelta > kPi2 - 1e-6) {
        out << "<circle cx=\"" << N(v[0]) << "\" cy=\"" << N(v[1]) << "\" r=\"" << N(dMedio) << "\" fill=\"none\"";
    } else {
        out << "<path d=\"M " << N(v[0] + dMedio * std::cos(v[4])) << ' ' << N(v[1] + dMedio * std::sin(v[4])) << " A "
            << N(dMedio) << ' ' << N(dMedio) << " 0 " << (dVuelta > kPi2 / 2 ? 1 : 0) << " 1 "
            << N(v[0] + dMedio * std::cos(v[5])) << ' ' << N(v[1] + dMedio * std::sin(v[5])) << "\" fill=\"none\"";
    }
    out << " stroke=\"" << kPared << "\" stroke-width=\"" << N(v[3] - v[2]) << "\"/>";
    return out.str();
}

std::string Figura(const std::string& sTipo, const std::vector<double>& v)
{
    std::ostringstream out;
    if (sTipo == "l" && v.size() >= 5) {
        out << "<line x1=\"" << N(v[0]) << "\" y1=\"" << N(v[1]) << "\" x2=\"" << N(v[2]) << "\" y2=\"" << N(v[3])
            << "\" stroke=\"" << kPared << "\" stroke-width=\"" << N(std::max(0.1, 2 * v[4])) << "\"/>";
    } else if (sTipo == "c" && v.size() >= 3) {
        out << "<circle cx=\"" << N(v[0]) << "\" cy=\"" << N(v[1]) << "\" r=\"" << N(v[2]) << "\" fill=\"" << kPared
            << "\"/>";
    } else if (sTipo == "i" && v.size() >= 3) {
        out << "<circle cx=\"" << N(v[0]) << "\" cy=\"" << N(v[1]) << "\" r=\"" << N(v[2])
            << "\" fill=\"none\" stroke=\"" << kPared << "\" stroke-width=\"0.3\"/>";
    } else if (sTipo == "a" && v.size() >= 6) {
        out << Arco(v);
    }
    return out.str();
}

}  // namespace

std::string SvgArena(const CJson& partida, int nAncho)
{
    const CJson* pFiguras = partida.Buscar("figuras");
    const CJson* pLimites = partida.Buscar("limites");
    if (!pFiguras || pFiguras->GetTipo() != Json_Lista || pFiguras->GetElementos().empty() || !pLimites)
        return "";
    const std::vector<double> vdL = Numeros(*pLimites, 0);
    if (vdL.size() != 4 || !(vdL[2] > vdL[0] && vdL[3] > vdL[1]))
        return "";
    const double dAncho = vdL[2] - vdL[0] + 1, dAlto = vdL[3] - vdL[1] + 1;
    std::ostringstream out, paredes, suelo;
    bool bInterior = false;
    for (const CJson& f : pFiguras->GetElementos()) {
        if (f.GetTipo() != Json_Lista || f.GetElementos().empty())
            continue;
        const std::string sTipo = f.GetElementos()[0].GetTexto();
        const std::vector<double> v = Numeros(f, 1);
        paredes << Figura(sTipo, v) << "\n";
        if (sTipo == "i" && v.size() >= 3) {
            bInterior = true;
            suelo << "<circle cx=\"" << N(v[0]) << "\" cy=\"" << N(v[1]) << "\" r=\"" << N(v[2]) << "\" fill=\""
                  << kSuelo << "\"/>\n";
        }
    }
    if (!bInterior) {
        suelo << "<rect x=\"" << N(vdL[0]) << "\" y=\"" << N(vdL[1]) << "\" width=\"" << N(vdL[2] - vdL[0])
              << "\" height=\"" << N(vdL[3] - vdL[1]) << "\" fill=\"" << kSuelo << "\"/>\n";
    }
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"arena\" width=\"" << nAncho << "\" height=\""
        << static_cast<int>(nAncho * dAlto / dAncho) << "\" viewBox=\"" << N(vdL[0] - 0.5) << ' ' << N(-vdL[3] - 0.5)
        << ' ' << N(dAncho) << ' ' << N(dAlto) << "\">\n<rect x=\"" << N(vdL[0] - 0.5) << "\" y=\"" << N(-vdL[3] - 0.5)
        << "\" width=\"" << N(dAncho) << "\" height=\"" << N(dAlto) << "\" fill=\"" << kFondo
        << "\"/>\n<g transform=\"scale(1,-1)\">\n"
        << suelo.str() << paredes.str() << "</g>\n</svg>\n";
    return out.str();
}
