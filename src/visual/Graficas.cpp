#include "Graficas.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>

#include "CGrafica.h"
#include "UtilVisual.h"

const char* const kArchivoEstadisticas = "estadisticas.csv";
const char* const kArchivoEspecies = "especies.csv";

namespace {

const char* const kTituloPuntuacion =
    "Puntuaci"
    "\xF3"
    "n por generaci"
    "\xF3"
    "n";
const char* const kTituloEspecies =
    "Tama"
    "\xF1"
    "o de las especies";
const char* const kTituloTamanyo =
    "Tama"
    "\xF1"
    "o medio del genoma";
const char* const kGeneracion =
    "generaci"
    "\xF3"
    "n";

SSerieGrafica Serie(const CTablaCsv& tabla, const std::string& sColumna, const std::string& sNombre,
                    const std::string& sColor)
{
    SSerieGrafica s;
    s.sNombre = sNombre;
    s.sColor = sColor;
    s.vX = tabla.ValoresColumna("generacion");
    s.vY = tabla.ValoresColumna(sColumna);
    return s;
}

// Generations in order, and for each species its members in each of them.
struct SMatrizEspecies {
    std::vector<double> vGeneraciones;
    std::vector<int> vEspecies;
    std::vector<std::vector<double>> vMiembros;  // [species][generation]
};

SMatrizEspecies MatrizEspecies(const CTablaCsv& especies)
{
    SMatrizEspecies m;
    const int nGen = especies.Columna("generacion");
    const int nEsp = especies.Columna("especie");
    const int nMie = especies.Columna("miembros");
    std::set<double> sGeneraciones;
    std::set<int> sEspecies;
    for (size_t i = 0; i < especies.GetNumFilas(); ++i) {
        sGeneraciones.insert(especies.Valor(i, nGen));
        sEspecies.insert(static_cast<int>(especies.Valor(i, nEsp)));
    }
    m.vGeneraciones.assign(sGeneraciones.begin(), sGeneraciones.end());
    m.vEspecies.assign(sEspecies.begin(), sEspecies.end());
    std::map<double, size_t> mGen;
    for (size_t i = 0; i < m.vGeneraciones.size(); ++i)
        mGen[m.vGeneraciones[i]] = i;
    std::map<int, size_t> mEsp;
    for (size_t i = 0; i < m.vEspecies.size(); ++i)
        mEsp[m.vEspecies[i]] = i;
    m.vMiembros.assign(m.vEspecies.size(), std::vector<double>(m.vGeneraciones.size(), 0.0));
    for (size_t i = 0; i < especies.GetNumFilas(); ++i)
        m.vMiembros[mEsp[static_cast<int>(especies.Valor(i, nEsp))]][mGen[especies.Valor(i, nGen)]] +=
            especies.Valor(i, nMie);
    return m;
}

std::string NumeroGnuplot(double d)
{
    char sz[40];
    std::snprintf(sz, sizeof(sz), "%.10g", d);
    return sz;
}

// A double-quoted gnuplot string.
std::string TextoGnuplot(const std::string& s)
{
    std::string r = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\')
            r += '\\';
        r += c;
    }
    return r + "\"";
}

void BloqueEstadisticas(std::ostringstream& out, const CTablaCsv& est)
{
    const char* vColumnas[] = {"generacion", "mejor_puntuacion", "media_puntuacion", "neuronas_media", "enlaces_media"};
    out << "$estadisticas << EOD\n";
    for (size_t i = 0; i < est.GetNumFilas(); ++i) {
        for (size_t c = 0; c < 5; ++c)
            out << (c ? " " : "") << NumeroGnuplot(est.Valor(i, est.Columna(vColumnas[c])));
        out << "\n";
    }
    out << "EOD\n";
}

void BloqueEspecies(std::ostringstream& out, const SMatrizEspecies& m)
{
    out << "$especies << EOD\n";
    for (size_t g = 0; g < m.vGeneraciones.size(); ++g) {
        double dSuma = 0;
        out << NumeroGnuplot(m.vGeneraciones[g]) << " 0";
        for (size_t e = 0; e < m.vEspecies.size(); ++e)
            out << " " << NumeroGnuplot(dSuma += m.vMiembros[e][g]);
        out << "\n";
    }
    out << "EOD\n";
}

}  // namespace

std::vector<std::string> ColumnasEstadisticas()
{
    return {"generacion", "mejor_puntuacion", "media_puntuacion", "neuronas_media", "enlaces_media"};
}

std::vector<std::string> ColumnasEspecies() { return {"generacion", "especie", "miembros"}; }

std::string GraficaPuntuaciones(const CTablaCsv& est)
{
    CGrafica g;
    g.SetTitulo(kTituloPuntuacion);
    g.SetEjes(kGeneracion,
              "puntuaci"
              "\xF3"
              "n");
    g.AddSerie(Serie(est, "mejor_puntuacion", "mejor", "#d1431f"));
    g.AddSerie(Serie(est, "media_puntuacion", "media", "#1f6fd1"));
    if (est.Columna("mejor_idoneidad_historica") >= 0)
        g.AddSerie(Serie(est, "mejor_idoneidad_historica",
                         "mejor hist"
                         "\xF3"
                         "rica",
                         "#999999"));
    return g.GenerarSvg();
}

std::string GraficaTamanyo(const CTablaCsv& est)
{
    CGrafica g;
    g.SetTitulo(kTituloTamanyo);
    g.SetEjes(kGeneracion, "genes por genoma");
    g.AddSerie(Serie(est, "neuronas_media", "neuronas", "#59a14f"));
    g.AddSerie(Serie(est, "enlaces_media", "enlaces", "#b07aa1"));
    return g.GenerarSvg();
}

std::string GraficaEspecies(const CTablaCsv& especies)
{
    const SMatrizEspecies m = MatrizEspecies(especies);
    CGrafica g;
    g.SetTipo(Grafica_Apilada);
    g.SetTitulo(kTituloEspecies);
    g.SetEjes(kGeneracion, "miembros");
    for (size_t e = 0; e < m.vEspecies.size(); ++e) {
        SSerieGrafica s;
        s.sNombre = "especie " + std::to_string(m.vEspecies[e]);
        s.sColor = ColorPaleta(m.vEspecies[e]);
        s.vX = m.vGeneraciones;
        s.vY = m.vMiembros[e];
        g.AddSerie(s);
    }
    return g.GenerarSvg();
}

std::string GuionGnuplot(const CTablaCsv& est, const CTablaCsv* pEspecies, const std::string& sPrefijoSalida,
                         const std::string& sSufijoSalida)
{
    std::ostringstream out;
    out << "# Charts of a training run; the data is inline.\n"
        << "set encoding iso_8859_1\n"
        << "set terminal svg size 640,320 font 'sans,10' background rgb 'white'\n"
        << "set grid ytics lc rgb '#dddddd'\n"
        << "set key outside right top\n"
        << "set xlabel " << TextoGnuplot(kGeneracion) << "\n";
    BloqueEstadisticas(out, est);
    out << "set output " << TextoGnuplot(sPrefijoSalida + "puntuaciones_gnuplot.svg" + sSufijoSalida) << "\n"
        << "set title " << TextoGnuplot(kTituloPuntuacion) << "\n"
        << "set ylabel "
        << TextoGnuplot(
               "puntuaci"
               "\xF3"
               "n")
        << "\n"
        << "plot $estadisticas using 1:2 with lines lw 2 lc rgb '#d1431f' title 'mejor', \\\n"
        << "     '' using 1:3 with lines lw 2 lc rgb '#1f6fd1' title 'media'\n"
        << "set output " << TextoGnuplot(sPrefijoSalida + "tamanyo_gnuplot.svg" + sSufijoSalida) << "\n"
        << "set title " << TextoGnuplot(kTituloTamanyo) << "\n"
        << "set ylabel 'genes por genoma'\n"
        << "plot $estadisticas using 1:4 with lines lw 2 lc rgb '#59a14f' title 'neuronas', \\\n"
        << "     '' using 1:5 with lines lw 2 lc rgb '#b07aa1' title 'enlaces'\n";
    if (pEspecies) {
        const SMatrizEspecies m = MatrizEspecies(*pEspecies);
        BloqueEspecies(out, m);
        out << "set output " << TextoGnuplot(sPrefijoSalida + "especies_gnuplot.svg" + sSufijoSalida) << "\n"
            << "set title " << TextoGnuplot(kTituloEspecies) << "\n"
            << "set ylabel 'miembros'\n"
            << "set key off\n"
            << "set style fill solid 0.85 noborder\n";
        if (m.vEspecies.empty())
            out << "plot $especies using 1:2 with lines notitle\n";
        else
            out << "plot for [i=3:" << m.vEspecies.size() + 2
                << "] $especies using 1:(column(i-1)):(column(i)) with filledcurves notitle\n";
    }
    out << "unset output\n";
    return out.str();
}

bool GraficasGnuplot(const CTablaCsv& est, const CTablaCsv* pEspecies, const std::string& sCarpeta,
                     std::vector<std::string>& vEscritos, std::string& sError)
{
    if (BuscarPrograma("gnuplot").empty()) {
        sError =
            "gnuplot no est"
            "\xE1"
            " instalado";
        return false;
    }
    // gnuplot writes beside the pictures under a fresh name; each is then
    // put in place whole.
    const std::string sSufijo = NombreTemporalJunto("");
    const std::string sGuion = UnirRuta(sCarpeta, "graficas.gp");
    if (!EscribirArchivoEntero(sGuion, GuionGnuplot(est, pEspecies, UnirRuta(sCarpeta, ""), sSufijo), sError))
        return false;
    std::vector<std::string> vNombres = {"puntuaciones_gnuplot.svg", "tamanyo_gnuplot.svg"};
    if (pEspecies)
        vNombres.push_back("especies_gnuplot.svg");
    const bool bBien = EjecutarPrograma({"gnuplot", sGuion}, "", sError);
    for (const std::string& sNombre : vNombres) {
        const std::string sRuta = UnirRuta(sCarpeta, sNombre);
        std::string sContenido, sIgnorado;
        if (bBien && LeerArchivo(sRuta + sSufijo, sContenido, sIgnorado) &&
            EscribirArchivoEntero(sRuta, sContenido, sIgnorado))
            vEscritos.push_back(sRuta);
        std::remove((sRuta + sSufijo).c_str());
    }
    if (bBien && vEscritos.size() != vNombres.size()) {
        sError =
            "gnuplot no escribi"
            "\xF3"
            " todas las gr"
            "\xE1"
            "ficas";
        return false;
    }
    return bBien;
}
