#include "Informe.h"

#include <ctime>
#include <sstream>

#include "CDiagramaRed.h"
#include "CJson.h"
#include "CTablaCsv.h"
#include "DibujoArena.h"
#include "EpisodioPolos.h"
#include "Graficas.h"
#include "PlantillaInforme.h"
#include "UtilVisual.h"

const char* const kArchivoInforme = "informe.html";
const char* const kArchivoMejorRed = "mejor_red.txt";
const char* const kArchivoResumen = "resumen.json";
const char* const kArchivoPartida = "partida.json";

namespace {

// Where each input stands once the folder has been read.
enum TEstadoParte { Parte_Ausente = 0, Parte_Leida, Parte_Erronea };

struct SParte {
    TEstadoParte Estado;
    std::string sError;
    SParte() : Estado(Parte_Ausente) {}
};

// Everything read from a run folder.
class CDatosEjecucion {
public:
    CDatosEjecucion() {}
    ~CDatosEjecucion() { Limpiar(); }

    void Limpiar()
    {
        m_Estadisticas.Limpiar();
        m_Especies.Limpiar();
        m_Red.Limpiar();
        m_Resumen.Limpiar();
        m_Partida.Limpiar();
        m_Episodio.Limpiar();
        m_ParteEstadisticas = m_ParteEspecies = m_ParteRed = m_ParteResumen = m_PartePartida = m_ParteEpisodio =
            SParte();
    }

    void Leer(const std::string& sCarpeta)
    {
        Limpiar();
        LeerTabla(UnirRuta(sCarpeta, kArchivoEstadisticas), ColumnasEstadisticas(), m_Estadisticas,
                  m_ParteEstadisticas);
        LeerTabla(UnirRuta(sCarpeta, kArchivoEspecies), ColumnasEspecies(), m_Especies, m_ParteEspecies);
        LeerTabla(UnirRuta(sCarpeta, kArchivoEpisodio), ColumnasEpisodio(), m_Episodio, m_ParteEpisodio);
        const std::string sRed = UnirRuta(sCarpeta, kArchivoMejorRed);
        if (ExisteArchivo(sRed))
            Anotar(CargarRed(sRed, m_Red, m_ParteRed.sError), m_ParteRed);
        LeerJson(UnirRuta(sCarpeta, kArchivoResumen), m_Resumen, m_ParteResumen);
        LeerJson(UnirRuta(sCarpeta, kArchivoPartida), m_Partida, m_PartePartida);
        if (m_ParteResumen.Estado == Parte_Leida && m_Resumen.GetTipo() != Json_Objeto)
            Fallar(m_ParteResumen, std::string(kArchivoResumen) + ": no es un objeto JSON");
        if (m_PartePartida.Estado == Parte_Leida && !PartidaValida())
            Fallar(m_PartePartida, std::string(kArchivoPartida) + ": no hay cuadros que reproducir");
    }

    bool HayAlgo() const
    {
        const SParte* v[] = {&m_ParteEstadisticas, &m_ParteEspecies, &m_ParteRed,
                             &m_ParteResumen,      &m_PartePartida,  &m_ParteEpisodio};
        for (const SParte* p : v)
            if (p->Estado != Parte_Ausente)
                return true;
        return false;
    }

    // Every input's fault, joined; empty when all read well.
    std::string Errores() const
    {
        std::string s;
        const SParte* v[] = {&m_ParteEstadisticas, &m_ParteEspecies, &m_ParteRed,
                             &m_ParteResumen,      &m_PartePartida,  &m_ParteEpisodio};
        for (const SParte* p : v)
            if (p->Estado == Parte_Erronea)
                s += (s.empty() ? "" : "; ") + p->sError;
        return s;
    }

    CTablaCsv m_Estadisticas, m_Especies, m_Episodio;
    CRedNeuronal m_Red;
    CJson m_Resumen, m_Partida;
    SParte m_ParteEstadisticas, m_ParteEspecies, m_ParteRed, m_ParteResumen, m_PartePartida, m_ParteEpisodio;

private:
    CDatosEjecucion(const CDatosEjecucion&);
    CDatosEjecucion& operator=(const CDatosEjecucion&);

    static void Anotar(bool bBien, SParte& parte) { parte.Estado = bBien ? Parte_Leida : Parte_Erronea; }
    static void Fallar(SParte& parte, const std::string& sError)
    {
        parte.Estado = Parte_Erronea;
        parte.sError = sError;
    }

    static void LeerTabla(const std::string& sRuta, const std::vector<std::string>& vColumnas, CTablaCsv& tabla,
                          SParte& parte)
    {
        if (ExisteArchivo(sRuta))
            Anotar(tabla.LeerArchivo(sRuta, vColumnas, parte.sError), parte);
    }

    static void LeerJson(const std::string& sRuta, CJson& json, SParte& parte)
    {
        if (!ExisteArchivo(sRuta))
            return;
        std::string sTexto;
        bool bBien = LeerArchivo(sRuta, sTexto, parte.sError) && json.Leer(sTexto, parte.sError);
        if (!bBien && parte.sError.find(sRuta) == std::string::npos)
            parte.sError = sRuta + ": " + parte.sError;
        Anotar(bBien, parte);
    }

    bool PartidaValida() const
    {
        const CJson* pCuadros = m_Partida.Buscar("cuadros");
        return m_Partida.GetTipo() == Json_Objeto && pCuadros && pCuadros->GetTipo() == Json_Lista &&
               !pCuadros->GetElementos().empty();
    }
};

std::string Html(const std::string& s) { return EscaparXml(s); }

std::string Aviso(const SParte& parte, const char* szArchivo, const char* szFalta)
{
    if (parte.Estado == Parte_Erronea)
        return "<p class=\"error\">" + Html(parte.sError) + "</p>\n";
    return "<p class=\"aviso\">" + Html(std::string("No hay ") + szArchivo + ": " + szFalta) + "</p>\n";
}

std::string TablaJson(const CJson& objeto, const char* szTitulo)
{
    std::ostringstream out;
    out << "<table><tr><th colspan=\"2\"><b>" << Html(szTitulo) << "</b></th></tr>\n";
    for (const auto& miembro : objeto.GetMiembros()) {
        if (miembro.first == "parametros" && miembro.second.GetTipo() == Json_Objeto)
            continue;
        const CJson& v = miembro.second;
        const bool bEscalar = v.GetTipo() != Json_Lista && v.GetTipo() != Json_Objeto;
        out << "<tr><th>" << Html(miembro.first) << "</th><td>" << Html(bEscalar ? v.ComoTexto() : v.Escribir())
            << "</td></tr>\n";
    }
    out << "</table>\n";
    return out.str();
}

std::string UltimaGeneracion(const CTablaCsv& est)
{
    if (est.GetNumFilas() == 0)
        return "";
    const size_t n = est.GetNumFilas() - 1;
    std::ostringstream out;
    out << "<table><tr><th colspan=\"2\"><b>"
        << Html(
               "\xDA"
               "ltima generaci"
               "\xF3"
               "n")
        << "</b></th></tr>\n";
    for (size_t c = 0; c < est.GetColumnas().size(); ++c)
        out << "<tr><th>" << Html(est.GetColumnas()[c]) << "</th><td>"
            << FormatearNumero(est.Valor(n, static_cast<int>(c)), 4) << "</td></tr>\n";
    out << "</table>\n";
    return out.str();
}

std::string SeccionResumen(const CDatosEjecucion& d)
{
    std::ostringstream out;
    out << "<section id=\"resumen\"><h2>Resumen</h2>\n";
    if (d.m_ParteResumen.Estado != Parte_Leida)
        out << Aviso(d.m_ParteResumen, kArchivoResumen,
                     "sin resumen ni par"
                     "\xE1"
                     "metros de la ejecuci"
                     "\xF3"
                     "n");
    out << "<div class=\"tablas\">\n";
    if (d.m_ParteResumen.Estado == Parte_Leida) {
        out << TablaJson(d.m_Resumen,
                         "Ejecuci"
                         "\xF3"
                         "n");
        const CJson* pParametros = d.m_Resumen.Buscar("parametros");
        if (pParametros && pParametros->GetTipo() == Json_Objeto)
            out << TablaJson(*pParametros,
                             "Par"
                             "\xE1"
                             "metros");
    }
    if (d.m_ParteEstadisticas.Estado == Parte_Leida)
        out << UltimaGeneracion(d.m_Estadisticas);
    out << "</div></section>\n";
    return out.str();
}

std::string EnlacesArchivos(const std::vector<std::string>& vRutas)
{
    std::string s;
    for (const std::string& sRuta : vRutas) {
        const std::string sNombre = sRuta.substr(sRuta.find_last_of('/') + 1);
        s += (s.empty() ? "" : ", ") + std::string("<a href=\"") + Html(sNombre) + "\">" + Html(sNombre) + "</a>";
    }
    return s;
}

std::string SeccionGraficas(const CDatosEjecucion& d, const std::vector<std::string>& vGnuplot)
{
    std::ostringstream out;
    out << "<section id=\"graficas\"><h2>Evoluci"
           "&#243;"
           "n</h2>\n";
    if (d.m_ParteEstadisticas.Estado != Parte_Leida)
        out << Aviso(d.m_ParteEstadisticas, kArchivoEstadisticas,
                     "sin estad"
                     "\xED"
                     "sticas por generaci"
                     "\xF3"
                     "n");
    if (d.m_ParteEspecies.Estado != Parte_Leida)
        out << Aviso(d.m_ParteEspecies, kArchivoEspecies,
                     "sin tama"
                     "\xF1"
                     "os de especie");
    out << "<div class=\"graficas\">\n";
    if (d.m_ParteEstadisticas.Estado == Parte_Leida)
        out << GraficaPuntuaciones(d.m_Estadisticas);
    if (d.m_ParteEspecies.Estado == Parte_Leida)
        out << GraficaEspecies(d.m_Especies);
    if (d.m_ParteEstadisticas.Estado == Parte_Leida)
        out << GraficaTamanyo(d.m_Estadisticas);
    out << "</div>\n";
    if (!vGnuplot.empty())
        out << "<p class=\"nota\">Las mismas gr"
               "&#225;"
               "ficas con gnuplot: "
            << EnlacesArchivos(vGnuplot) << "</p>\n";
    out << "</section>\n";
    return out.str();
}

std::string SeccionRed(const CDatosEjecucion& d, const std::vector<std::string>& vArchivos)
{
    std::ostringstream out;
    out << "<section id=\"red\"><h2>Mejor red</h2>\n";
    if (d.m_ParteRed.Estado != Parte_Leida) {
        out << Aviso(d.m_ParteRed, kArchivoMejorRed, "sin la mejor red") << "</section>\n";
        return out.str();
    }
    CDiagramaRed diagrama;
    diagrama.Construir(d.m_Red);
    int nOcultas = 0;
    for (const SNodoDiagrama& n : diagrama.GetNodos())
        nOcultas += n.Tipo == Neurona_Oculta;
    out << "<p>" << diagrama.GetNodos().size() << " neuronas (" << nOcultas << " ocultas), "
        << diagrama.GetArcos().size() << " enlaces.";
    if (!vArchivos.empty())
        out << " Archivos: " << EnlacesArchivos(vArchivos) << ".";
    out << "</p>\n<div class=\"diagrama\">\n" << diagrama.GenerarSvgIncrustado() << "</div>\n</section>\n";
    return out.str();
}

std::string SeccionPartida(const CDatosEjecucion& d)
{
    std::ostringstream out;
    out << "<section id=\"partida\"><h2>Partida de la mejor red</h2>\n";
    if (d.m_PartePartida.Estado != Parte_Leida) {
        out << Aviso(d.m_PartePartida, kArchivoPartida, "sin partida grabada") << "</section>\n";
        return out.str();
    }
    const std::string sArena = SvgArena(d.m_Partida, 320);
    if (!sArena.empty()) {
        const CJson* pNombre = d.m_Partida.Buscar("arena");
        out << "<p>Arena: " << Html(pNombre ? pNombre->ComoTexto() : std::string())
            << "</p>\n<div class=\"diagrama\">\n"
            << sArena << "</div>\n";
    }
    out << "<div id=\"controles\"><button id=\"boton-reproducir\" type=\"button\">Reproducir</button>"
        << "<input id=\"deslizador\" type=\"range\" min=\"0\" max=\"0\" step=\"1\" value=\"0\">"
        << "<span id=\"tiempo\"></span><label>velocidad <select id=\"velocidad\">"
        << "<option value=\"0.25\">0.25x</option><option value=\"0.5\">0.5x</option>"
        << "<option value=\"1\" selected>1x</option><option value=\"2\">2x</option>"
        << "<option value=\"4\">4x</option><option value=\"8\">8x</option></select></label></div>\n"
        << "<div id=\"reproductor\"><canvas id=\"lienzo-partida\" width=\"640\" height=\"640\"></canvas>"
        << "<div id=\"lado-partida\"><div id=\"lista-robots\"><b>Robots</b> (energ"
           "&#237;"
           "a)</div>"
        << "<pre id=\"sucesos\"></pre></div></div>\n"
        << "<p class=\"nota\">Cada robot en su color: rumbo (trazo blanco), ca"
           "&#241;"
           "&#243;"
           "n (trazo oscuro), "
        << "radar (l"
           "&#237;"
           "nea verde) y energ"
           "&#237;"
           "a (barra). Puntos negros: disparos; verdes: galletas; "
        << "grises con borde rojo: minas. Anillos: impactos (rojo), choques, muertes.</p>\n"
        << "<script type=\"application/json\" id=\"datos-partida\">" << d.m_Partida.Escribir() << "</script>\n"
        << "</section>\n";
    return out.str();
}

// Runs that balance poles have an episode instead of a match.
std::string SeccionEpisodio(const CDatosEjecucion& d)
{
    std::ostringstream out;
    out << "<section id=\"episodio\"><h2>Episodio de la mejor red</h2>\n";
    if (d.m_ParteEpisodio.Estado != Parte_Leida) {
        out << Aviso(d.m_ParteEpisodio, kArchivoEpisodio, "sin episodio") << "</section>\n";
        return out.str();
    }
    out << "<div class=\"graficas\">\n"
        << GraficasEpisodio(d.m_Episodio) << "</div>\n"
        << "<p class=\"nota\">El carro y los polos (largo en azul, corto en rojo) en varios instantes del "
           "episodio, a escala sobre la pista.</p>\n<div class=\"diagrama\">\n"
        << TiraEpisodio(d.m_Episodio, 8) << "</div>\n</section>\n";
    return out.str();
}

std::string FechaActual()
{
    const std::time_t t = std::time(nullptr);
    struct tm tmUtc;
    gmtime_r(&t, &tmUtc);
    char sz[64];
    std::strftime(sz, sizeof(sz), "%Y-%m-%d %H:%M UTC", &tmUtc);
    return sz;
}

std::string Pagina(const std::string& sCarpeta, const CDatosEjecucion& d, const std::vector<std::string>& vGnuplot,
                   const std::vector<std::string>& vRed)
{
    std::ostringstream out;
    out << "<!DOCTYPE html>\n<html lang=\"es\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<title>Informe de entrenamiento</title>\n<style>" << EstiloInforme() << "</style>\n</head>\n<body>\n"
        << "<header><h1>Informe de entrenamiento</h1><p>" << Html(sCarpeta) << " &#8212; generado el " << FechaActual()
        << "</p></header>\n<main>\n"
        << SeccionResumen(d) << SeccionGraficas(d, vGnuplot) << "<div class=\"fila\">\n"
        << SeccionRed(d, vRed) << (d.m_ParteEpisodio.Estado != Parte_Ausente ? SeccionEpisodio(d) : SeccionPartida(d))
        << "</div>\n"
        << "</main>\n<script>" << GuionReproductor() << "</script>\n</body>\n</html>\n";
    return out.str();
}

void EscribirSiPuede(const std::string& sRuta, const std::string& sContenido, std::vector<std::string>& vEscritos,
                     SResultadoInforme& resultado)
{
    std::string sError;
    if (EscribirArchivoEntero(sRuta, sContenido, sError)) {
        vEscritos.push_back(sRuta);
        resultado.vEscritos.push_back(sRuta);
    } else {
        resultado.vAvisos.push_back(sError);
    }
}

void DiagramasRed(const CRedNeuronal& red, const std::string& sBase, bool bUsarGraphviz,
                  std::vector<std::string>& vEscritos, SResultadoInforme& resultado)
{
    CDiagramaRed diagrama;
    diagrama.Construir(red);
    const std::string sDot = sBase + ".dot";
    EscribirSiPuede(sDot, diagrama.GenerarDot(), vEscritos, resultado);
    EscribirSiPuede(sBase + ".svg", diagrama.GenerarSvg(), vEscritos, resultado);
    if (!bUsarGraphviz)
        return;
    if (BuscarPrograma("neato").empty()) {
        resultado.vAvisos.push_back(
            "graphviz no est"
            "\xE1"
            " instalado: sin " +
            sBase + "_graphviz.svg");
        return;
    }
    std::string sError;
    const std::string sSvg = sBase + "_graphviz.svg";
    if (EjecutarPrograma({"neato", "-n2", "-Tsvg", sDot}, sSvg, sError)) {
        vEscritos.push_back(sSvg);
        resultado.vEscritos.push_back(sSvg);
    } else {
        resultado.vAvisos.push_back(sError);
    }
}

}  // namespace

bool GenerarInforme(const std::string& sCarpeta, std::string& sError)
{
    SResultadoInforme resultado;
    return GenerarInforme(sCarpeta, SOpcionesInforme(), resultado, sError);
}

bool GenerarInforme(const std::string& sCarpeta, const SOpcionesInforme& opciones, SResultadoInforme& resultado,
                    std::string& sError)
{
    if (!EsCarpeta(sCarpeta)) {
        sError = "no existe la carpeta " + sCarpeta;
        return false;
    }
    CDatosEjecucion datos;
    datos.Leer(sCarpeta);
    if (!datos.HayAlgo()) {
        sError =
            "no hay datos de ninguna ejecuci"
            "\xF3"
            "n en " +
            sCarpeta;
        return false;
    }
    std::vector<std::string> vGnuplot, vRed;
    if (opciones.bUsarGnuplot && datos.m_ParteEstadisticas.Estado == Parte_Leida) {
        std::string sAviso;
        const CTablaCsv* pEspecies = datos.m_ParteEspecies.Estado == Parte_Leida ? &datos.m_Especies : nullptr;
        if (!GraficasGnuplot(datos.m_Estadisticas, pEspecies, sCarpeta, vGnuplot, sAviso))
            resultado.vAvisos.push_back(sAviso);
        resultado.vEscritos.insert(resultado.vEscritos.end(), vGnuplot.begin(), vGnuplot.end());
    }
    if (datos.m_ParteRed.Estado == Parte_Leida)
        DiagramasRed(datos.m_Red, UnirRuta(sCarpeta, "red"), opciones.bUsarGraphviz, vRed, resultado);

    const std::string sInforme = UnirRuta(sCarpeta, kArchivoInforme);
    if (!EscribirArchivoEntero(sInforme, Pagina(sCarpeta, datos, vGnuplot, vRed), sError))
        return false;
    resultado.vEscritos.push_back(sInforme);
    sError = datos.Errores();
    return sError.empty();
}

bool GenerarDiagramasRed(const std::string& sRutaRed, const std::string& sBase, bool bUsarGraphviz,
                         SResultadoInforme& resultado, std::string& sError)
{
    CRedNeuronal red;
    if (!CargarRed(sRutaRed, red, sError))
        return false;
    std::vector<std::string> vEscritos;
    const size_t nAvisos = resultado.vAvisos.size();
    DiagramasRed(red, sBase, bUsarGraphviz, vEscritos, resultado);
    // The two own files are the product; graphviz is a bonus.
    if (vEscritos.size() < 2) {
        sError = resultado.vAvisos.size() > nAvisos ? resultado.vAvisos[nAvisos] : "no se pudo escribir " + sBase;
        return false;
    }
    return true;
}
