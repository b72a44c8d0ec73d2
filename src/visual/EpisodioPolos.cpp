#include "EpisodioPolos.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "CGrafica.h"
#include "UtilVisual.h"

const char* const kArchivoEpisodio = "episodio.csv";

namespace {

const double kGrados = 180.0 / 3.14159265358979323846;
const double kMitadPista = 2.4;            // m
const double kLongitudes[2] = {1.0, 0.1};  // m, whole poles
const char* const kColoresPolos[2] = {"#1f77b4", "#d62728"};

// Strip geometry, in SVG pixels.
const double kAnchoTira = 640.0;
const double kMargen = 56.0;
const double kAltoFila = 120.0;
const double kPixelesPorMetro = (kAnchoTira - 2 * kMargen) / (2 * kMitadPista);

std::string N(double d) { return FormatearNumero(d, 2); }

SSerieGrafica Serie(const CTablaCsv& t, const char* szColumna, const std::string& sNombre, const char* szColor,
                    double dFactor)
{
    SSerieGrafica s;
    s.sNombre = sNombre;
    s.sColor = szColor;
    s.vX = t.ValoresColumna("tiempo");
    s.vY = t.ValoresColumna(szColumna);
    for (double& y : s.vY)
        y *= dFactor;
    return s;
}

std::string FilaTira(const CTablaCsv& t, size_t nFila, double dY)
{
    const double dX = t.Valor(nFila, t.Columna("x"));
    const double vdAngulos[2] = {t.Valor(nFila, t.Columna("angulo1")), t.Valor(nFila, t.Columna("angulo2"))};
    const double dCentro = kAnchoTira / 2 + dX * kPixelesPorMetro, dRiel = dY + kAltoFila - 24;
    std::ostringstream out;
    out << "<text x=\"8\" y=\"" << N(dRiel - 4) << "\" font-size=\"12\">" << N(t.Valor(nFila, t.Columna("tiempo")))
        << " s</text>\n"
        << "<line x1=\"" << N(kMargen) << "\" y1=\"" << N(dRiel + 10) << "\" x2=\"" << N(kAnchoTira - kMargen)
        << "\" y2=\"" << N(dRiel + 10) << "\" stroke=\"#888\" stroke-width=\"2\"/>\n"
        << "<rect x=\"" << N(dCentro - 20) << "\" y=\"" << N(dRiel)
        << "\" width=\"40\" height=\"10\" fill=\"#555\"/>\n";
    for (int i = 0; i < 2; ++i) {
        // Poles drawn to the track's scale, angles as they were.
        const double dLargo = kLongitudes[i] * kPixelesPorMetro * 0.8;
        out << "<line x1=\"" << N(dCentro) << "\" y1=\"" << N(dRiel) << "\" x2=\""
            << N(dCentro + dLargo * std::sin(vdAngulos[i])) << "\" y2=\"" << N(dRiel - dLargo * std::cos(vdAngulos[i]))
            << "\" stroke=\"" << kColoresPolos[i] << "\" stroke-width=\"" << (i == 0 ? 4 : 3)
            << "\" stroke-linecap=\"round\"><title>" << N(vdAngulos[i] * kGrados) << "&#176;</title></line>\n";
    }
    return out.str();
}

}  // namespace

std::vector<std::string> ColumnasEpisodio() { return {"tiempo", "x", "angulo1", "angulo2"}; }

std::string GraficasEpisodio(const CTablaCsv& t)
{
    CGrafica posicion;
    posicion.SetTitulo("Carro");
    posicion.SetEjes("tiempo (s)",
                     "posici"
                     "\xF3"
                     "n (m)");
    posicion.AddSerie(Serie(t, "x", "x", "#555555", 1.0));
    CGrafica angulos;
    angulos.SetTitulo("Polos");
    angulos.SetEjes("tiempo (s)",
                    "\xE1"
                    "ngulo (grados)");
    angulos.AddSerie(Serie(t, "angulo1", "polo largo", kColoresPolos[0], kGrados));
    angulos.AddSerie(Serie(t, "angulo2", "polo corto", kColoresPolos[1], kGrados));
    return posicion.GenerarSvg() + angulos.GenerarSvg();
}

std::string TiraEpisodio(const CTablaCsv& t, int nCuadros)
{
    const size_t nFilas = t.GetNumFilas();
    if (nFilas == 0 || nCuadros < 1)
        return "";
    const size_t nMostrados = std::min(nFilas, static_cast<size_t>(nCuadros));
    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << N(kAnchoTira) << "\" height=\""
        << N(kAltoFila * nMostrados) << "\" viewBox=\"0 0 " << N(kAnchoTira) << " " << N(kAltoFila * nMostrados)
        << "\" font-family=\"sans-serif\">\n";
    for (size_t k = 0; k < nMostrados; ++k) {
        const size_t nFila = nMostrados == 1 ? 0 : k * (nFilas - 1) / (nMostrados - 1);
        out << FilaTira(t, nFila, kAltoFila * k);
    }
    out << "</svg>\n";
    return out.str();
}
