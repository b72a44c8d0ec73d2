#include "CDiagramaRed.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "UtilVisual.h"

namespace {

const double kMargen = 40.0;
const double kAnchoUtil = 640.0;
const double kAltoUtil = 400.0;
const double kRadio = 14.0;
const double kAltoLeyenda = 28.0;
const char* kColorPositivo = "#1f6fd1";
const char* kColorNegativo = "#d1431f";

const char* ColorNodo(TNeurona tipo)
{
    switch (tipo) {
        case Neurona_Entrada:
            return "#b9e4b0";
        case Neurona_Salida:
            return "#f7c77e";
        case Neurona_Sesgo:
            return "#d6d6d6";
        case Neurona_Oculta:
            return "#bcd4f5";
        default:
            return "#ffffff";
    }
}

const char* NombreTipo(TNeurona tipo)
{
    switch (tipo) {
        case Neurona_Entrada:
            return "entrada";
        case Neurona_Salida:
            return "salida";
        case Neurona_Sesgo:
            return "sesgo";
        case Neurona_Oculta:
            return "oculta";
        default:
            return "sin tipo";
    }
}

std::string N(double d) { return FormatearNumero(d, 2); }

void Unitario(double dx, double dy, double& ux, double& uy)
{
    const double l = std::sqrt(dx * dx + dy * dy);
    ux = l > 1e-9 ? dx / l : 0.0;
    uy = l > 1e-9 ? dy / l : -1.0;
}

int ValorHex(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Resolves the escape that starts at sTexto[i] (just after the backslash),
// as the compiler would, and leaves i on its last character.
char ResolverEscape(const std::string& sTexto, size_t& i)
{
    const char c = sTexto[i];
    if (c >= '0' && c <= '7') {
        int n = 0;
        for (int k = 0; k < 3 && i < sTexto.size() && sTexto[i] >= '0' && sTexto[i] <= '7'; ++k)
            n = n * 8 + (sTexto[i++] - '0');
        --i;
        return static_cast<char>(n & 0xFF);
    }
    if (c == 'x') {
        int n = 0;
        while (i + 1 < sTexto.size() && ValorHex(sTexto[i + 1]) >= 0)
            n = (n * 16 + ValorHex(sTexto[++i])) & 0xFFF;
        return static_cast<char>(n & 0xFF);
    }
    const char* szLetras = "ntrabfv";
    const char* szValores = "\n\t\r\a\b\f\v";
    for (int k = 0; szLetras[k]; ++k)
        if (c == szLetras[k])
            return szValores[k];
    return c;  // \\, \", \' and \? stand for themselves
}

// The longest run of adjacent double-quoted literals in a source text (the
// network, as the robot carries it), joined, with the escapes resolved.
bool ExtraerLiterales(const std::string& sTexto, std::string& sLiterales)
{
    std::string sMejor, sGrupo;
    bool bDentro = false;
    for (size_t i = 0; i < sTexto.size(); ++i) {
        const char c = sTexto[i];
        if (bDentro) {
            if (c == '\\' && i + 1 < sTexto.size())
                sGrupo += ResolverEscape(sTexto, ++i);
            else if (c == '"')
                bDentro = false;
            else
                sGrupo += c;
        } else if (c == '"') {
            bDentro = true;
        } else if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            // Anything but blanks between two literals ends the run.
            if (sGrupo.size() > sMejor.size())
                sMejor = sGrupo;
            sGrupo.clear();
        }
    }
    if (bDentro)
        return false;
    if (sGrupo.size() > sMejor.size())
        sMejor = sGrupo;
    sLiterales.swap(sMejor);
    return true;
}

std::string SinBlancosExtremos(const std::string& s)
{
    const size_t nIni = s.find_first_not_of(" \t\r\n");
    if (nIni == std::string::npos)
        return "";
    const size_t nFin = s.find_last_not_of(" \t\r\n");
    return s.substr(nIni, nFin - nIni + 1);
}

}  // namespace

CDiagramaRed::CDiagramaRed() : m_dPesoMaximo(1.0), m_dAncho(0), m_dAlto(0) {}

CDiagramaRed::~CDiagramaRed() { Limpiar(); }

void CDiagramaRed::Limpiar()
{
    m_vNodos.clear();
    m_vArcos.clear();
    m_dPesoMaximo = 1.0;
    m_dAncho = 0;
    m_dAlto = 0;
}

void CDiagramaRed::Construir(const CRedNeuronal& red)
{
    Limpiar();
    const std::vector<SNeurona*>& vNeuronas = red.GetRed();
    ColocarNodos(vNeuronas);
    SepararCoincidentes();

    std::map<const SNeurona*, int> mPosicion;
    for (size_t i = 0; i < vNeuronas.size(); ++i)
        mPosicion[vNeuronas[i]] = static_cast<int>(i);
    m_dPesoMaximo = 1e-9;
    for (size_t i = 0; i < vNeuronas.size(); ++i) {
        for (const SEnlace& enlace : vNeuronas[i]->vEnlacesSalida) {
            auto itDestino = mPosicion.find(enlace.pNeuronaSalida);
            if (itDestino == mPosicion.end())
                continue;  // a link to a neuron of another network: nothing to draw it to
            SArcoDiagrama arco;
            arco.nOrigen = static_cast<int>(i);
            arco.nDestino = itDestino->second;
            arco.dPeso = enlace.dPeso;
            arco.bRecurrente = enlace.bRecurrente;
            m_vArcos.push_back(arco);
            m_dPesoMaximo = std::max(m_dPesoMaximo, std::fabs(enlace.dPeso));
        }
    }
    for (SArcoDiagrama& arco : m_vArcos)
        TrazarArco(arco);
}

void CDiagramaRed::ColocarNodos(const std::vector<SNeurona*>& vNeuronas)
{
    // Split values normally lie in [0, 1]; widen the frame if some do not.
    double dMinX = 0, dMaxX = 1, dMinY = 0, dMaxY = 1;
    for (const SNeurona* n : vNeuronas) {
        if (!std::isfinite(n->dSplitX) || !std::isfinite(n->dSplitY))
            continue;
        dMinX = std::min(dMinX, n->dSplitX);
        dMaxX = std::max(dMaxX, n->dSplitX);
        dMinY = std::min(dMinY, n->dSplitY);
        dMaxY = std::max(dMaxY, n->dSplitY);
    }
    int nEntradas = 0, nSalidas = 0;
    for (const SNeurona* n : vNeuronas) {
        SNodoDiagrama nodo;
        nodo.nID = n->nID;
        nodo.Tipo = n->TipoNeurona;
        nodo.dCurva = n->dCurvaturaSigmoidea;
        const double sx = std::isfinite(n->dSplitX) ? n->dSplitX : 0.5;
        const double sy = std::isfinite(n->dSplitY) ? n->dSplitY : 0.5;
        nodo.dX = kMargen + (sx - dMinX) / (dMaxX - dMinX) * kAnchoUtil;
        nodo.dY = kMargen + (1.0 - (sy - dMinY) / (dMaxY - dMinY)) * kAltoUtil;
        nodo.nOrdenTipo = 0;
        if (n->TipoNeurona == Neurona_Entrada)
            nodo.nOrdenTipo = nEntradas++;
        else if (n->TipoNeurona == Neurona_Salida)
            nodo.nOrdenTipo = nSalidas++;
        m_vNodos.push_back(nodo);
    }
    m_dAncho = kAnchoUtil + 2 * kMargen;
    m_dAlto = kAltoUtil + 2 * kMargen + kAltoLeyenda;
}

// Neurons that share a place (a genome may put several hidden neurons at the
// same split) are spread sideways so each one stays visible.
void CDiagramaRed::SepararCoincidentes()
{
    std::map<std::pair<long, long>, std::vector<int>> mGrupos;
    for (size_t i = 0; i < m_vNodos.size(); ++i) {
        const long kx = std::lround(m_vNodos[i].dX / kRadio);
        const long ky = std::lround(m_vNodos[i].dY / kRadio);
        mGrupos[std::make_pair(kx, ky)].push_back(static_cast<int>(i));
    }
    for (auto& grupo : mGrupos) {
        const std::vector<int>& v = grupo.second;
        if (v.size() < 2)
            continue;
        const double dPaso = 2.4 * kRadio;
        const double dInicio = -dPaso * (v.size() - 1) / 2.0;
        for (size_t k = 0; k < v.size(); ++k) {
            m_vNodos[v[k]].dX += dInicio + dPaso * k;
            m_vNodos[v[k]].dY += (k % 2) ? kRadio * 0.6 : 0.0;
        }
    }
}

void CDiagramaRed::TrazarArco(SArcoDiagrama& arco) const
{
    const SNodoDiagrama& a = m_vNodos[arco.nOrigen];
    const SNodoDiagrama& b = m_vNodos[arco.nDestino];
    double* p = arco.vdPuntos;
    if (arco.nOrigen == arco.nDestino) {
        // Self-loop: a lobe above the neuron.
        arco.bCurvo = true;
        const double v[8] = {a.dX - kRadio * 0.6, a.dY - kRadio * 0.8, a.dX - kRadio * 2.4, a.dY - kRadio * 3.6,
                             a.dX + kRadio * 2.4, a.dY - kRadio * 3.6, a.dX + kRadio * 0.6, a.dY - kRadio * 0.8};
        std::copy(v, v + 8, p);
        return;
    }
    // Going up the picture is going deeper; anything else loops back.
    const bool bHaciaAdelante = b.dY < a.dY - 1e-6;
    arco.bCurvo = arco.bRecurrente || !bHaciaAdelante;
    const double dx = b.dX - a.dX, dy = b.dY - a.dY;
    const double dLargo = std::sqrt(dx * dx + dy * dy);
    double cx = (a.dX + b.dX) / 2, cy = (a.dY + b.dY) / 2;
    if (arco.bCurvo) {
        // Bend to the left of the direction of travel, so a link and its
        // reverse bow to opposite sides.
        double ux, uy;
        Unitario(dx, dy, ux, uy);
        const double dFlecha = 0.25 * dLargo + 18.0;
        cx += uy * dFlecha;
        cy -= ux * dFlecha;
    }
    double u0x, u0y, u1x, u1y;
    Unitario(cx - a.dX, cy - a.dY, u0x, u0y);
    Unitario(cx - b.dX, cy - b.dY, u1x, u1y);
    const double x0 = a.dX + u0x * kRadio, y0 = a.dY + u0y * kRadio;
    const double x3 = b.dX + u1x * kRadio, y3 = b.dY + u1y * kRadio;
    // The quadratic through (cx, cy) as a cubic.
    p[0] = x0;
    p[1] = y0;
    p[2] = x0 + 2.0 / 3.0 * (cx - x0);
    p[3] = y0 + 2.0 / 3.0 * (cy - y0);
    p[4] = x3 + 2.0 / 3.0 * (cx - x3);
    p[5] = y3 + 2.0 / 3.0 * (cy - y3);
    p[6] = x3;
    p[7] = y3;
}

std::string CDiagramaRed::Etiqueta(const SNodoDiagrama& nodo) const
{
    switch (nodo.Tipo) {
        case Neurona_Entrada:
            return "E" + std::to_string(nodo.nOrdenTipo);
        case Neurona_Salida:
            return "S" + std::to_string(nodo.nOrdenTipo);
        case Neurona_Sesgo:
            return "B";
        default:
            return std::to_string(nodo.nID);
    }
}

std::string CDiagramaRed::Descripcion(const SNodoDiagrama& nodo) const
{
    return std::string("Neurona ") + std::to_string(nodo.nID) + " (" + NombreTipo(nodo.Tipo) + "), curvatura " +
           FormatearNumero(nodo.dCurva, 4);
}

std::string CDiagramaRed::ColorArco(const SArcoDiagrama& arco) const
{
    return arco.dPeso < 0 ? kColorNegativo : kColorPositivo;
}

double CDiagramaRed::AnchoArco(const SArcoDiagrama& arco) const
{
    return 0.6 + 4.4 * std::min(1.0, std::fabs(arco.dPeso) / m_dPesoMaximo);
}

double CDiagramaRed::OpacidadArco(const SArcoDiagrama& arco) const
{
    return 0.35 + 0.65 * std::min(1.0, std::fabs(arco.dPeso) / m_dPesoMaximo);
}

std::string CDiagramaRed::GenerarDot() const
{
    std::ostringstream out;
    const double dAltoTotal = m_dAlto;
    auto Punto = [dAltoTotal](double x, double y) { return N(x) + "," + N(dAltoTotal - y); };
    out << "digraph red {\n"
        << "  graph [splines=true, outputorder=edgesfirst, bgcolor=\"white\"];\n"
        << "  node [shape=circle, fixedsize=true, width=" << N(2 * kRadio / 72.0)
        << ", style=filled, fontsize=9, fontname=\"Helvetica\"];\n"
        << "  edge [arrowsize=0.5];\n";
    for (size_t i = 0; i < m_vNodos.size(); ++i) {
        const SNodoDiagrama& n = m_vNodos[i];
        out << "  n" << i << " [pos=\"" << Punto(n.dX, n.dY) << "!\", label=\"" << Etiqueta(n) << "\", fillcolor=\""
            << ColorNodo(n.Tipo) << "\", tooltip=\"" << Descripcion(n) << "\"];\n";
    }
    for (const SArcoDiagrama& a : m_vArcos) {
        const double* p = a.vdPuntos;
        // The curve stops short of the target so that graphviz's arrowhead
        // ends on the circle.
        double ux, uy;
        Unitario(p[6] - p[4], p[7] - p[5], ux, uy);
        const double dPunta = 6.0;
        out << "  n" << a.nOrigen << " -> n" << a.nDestino << " [pos=\"e," << Punto(p[6], p[7]) << " "
            << Punto(p[0], p[1]) << " " << Punto(p[2], p[3]) << " " << Punto(p[4] - ux * dPunta, p[5] - uy * dPunta)
            << " " << Punto(p[6] - ux * dPunta, p[7] - uy * dPunta) << "\", color=\"" << ColorArco(a)
            << "\", penwidth=" << N(AnchoArco(a)) << ", tooltip=\"peso " << FormatearNumero(a.dPeso, 4) << "\"";
        if (a.bRecurrente)
            out << ", style=dashed";
        out << "];\n";
    }
    out << "}\n";
    return out.str();
}

std::string CDiagramaRed::SvgArco(const SArcoDiagrama& a) const
{
    const double* p = a.vdPuntos;
    std::ostringstream out;
    out << "<path class=\"enlace\" data-origen=\"" << m_vNodos[a.nOrigen].nID << "\" data-destino=\""
        << m_vNodos[a.nDestino].nID << "\" data-peso=\"" << FormatearNumero(a.dPeso, 6) << "\" d=\"M" << N(p[0]) << ","
        << N(p[1]) << " C" << N(p[2]) << "," << N(p[3]) << " " << N(p[4]) << "," << N(p[5]) << " " << N(p[6]) << ","
        << N(p[7]) << "\" fill=\"none\" stroke=\"" << ColorArco(a) << "\" stroke-width=\"" << N(AnchoArco(a))
        << "\" stroke-opacity=\"" << N(OpacidadArco(a)) << "\" marker-end=\"url(#"
        << (a.dPeso < 0 ? "red-flecha-neg" : "red-flecha-pos") << ")\"";
    if (a.bRecurrente)
        out << " stroke-dasharray=\"5,3\"";
    out << "><title>" << m_vNodos[a.nOrigen].nID << " &#8594; " << m_vNodos[a.nDestino].nID << ": peso "
        << FormatearNumero(a.dPeso, 4) << (a.bRecurrente ? " (recurrente)" : "") << "</title></path>\n";
    return out.str();
}

std::string CDiagramaRed::SvgNodo(const SNodoDiagrama& n) const
{
    std::ostringstream out;
    out << "<g class=\"neurona\" data-id=\"" << n.nID << "\" data-tipo=\"" << static_cast<int>(n.Tipo) << "\">"
        << "<title>" << EscaparXml(Descripcion(n)) << "</title>"
        << "<circle cx=\"" << N(n.dX) << "\" cy=\"" << N(n.dY) << "\" r=\"" << N(kRadio) << "\" fill=\""
        << ColorNodo(n.Tipo) << "\" stroke=\"#333333\" stroke-width=\"1\"/>"
        << "<text x=\"" << N(n.dX) << "\" y=\"" << N(n.dY + 3.5) << "\" text-anchor=\"middle\" font-size=\"10\""
        << " font-family=\"sans-serif\">" << EscaparXml(Etiqueta(n)) << "</text></g>\n";
    return out.str();
}

std::string CDiagramaRed::SvgLeyenda() const
{
    const double y = m_dAlto - kAltoLeyenda / 2;
    std::ostringstream out;
    out << "<g class=\"leyenda\" font-size=\"11\" font-family=\"sans-serif\">";
    const struct {
        TNeurona tipo;
        const char* texto;
    } vTipos[] = {
        {Neurona_Entrada, "entrada"}, {Neurona_Sesgo, "sesgo"}, {Neurona_Oculta, "oculta"}, {Neurona_Salida, "salida"}};
    double x = kMargen;
    for (const auto& t : vTipos) {
        out << "<circle cx=\"" << N(x) << "\" cy=\"" << N(y) << "\" r=\"6\" fill=\"" << ColorNodo(t.tipo)
            << "\" stroke=\"#333333\"/><text x=\"" << N(x + 10) << "\" y=\"" << N(y + 4) << "\">" << t.texto
            << "</text>";
        x += 80;
    }
    out << "<line x1=\"" << N(x) << "\" y1=\"" << N(y) << "\" x2=\"" << N(x + 24) << "\" y2=\"" << N(y)
        << "\" stroke=\"" << kColorPositivo << "\" stroke-width=\"3\"/><text x=\"" << N(x + 30) << "\" y=\"" << N(y + 4)
        << "\">peso &gt; 0</text>";
    x += 100;
    out << "<line x1=\"" << N(x) << "\" y1=\"" << N(y) << "\" x2=\"" << N(x + 24) << "\" y2=\"" << N(y)
        << "\" stroke=\"" << kColorNegativo << "\" stroke-width=\"3\"/><text x=\"" << N(x + 30) << "\" y=\"" << N(y + 4)
        << "\">peso &lt; 0</text>";
    x += 100;
    out << "<line x1=\"" << N(x) << "\" y1=\"" << N(y) << "\" x2=\"" << N(x + 24) << "\" y2=\"" << N(y)
        << "\" stroke=\"#555555\" stroke-width=\"2\" stroke-dasharray=\"5,3\"/><text x=\"" << N(x + 30) << "\" y=\""
        << N(y + 4) << "\">recurrente</text></g>\n";
    return out.str();
}

std::string CDiagramaRed::GenerarSvgIncrustado() const
{
    std::ostringstream out;
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"diagrama-red\" width=\"" << N(m_dAncho) << "\" height=\""
        << N(m_dAlto) << "\" viewBox=\"0 0 " << N(m_dAncho) << " " << N(m_dAlto) << "\">\n"
        << "<defs>";
    const char* vColores[2] = {kColorPositivo, kColorNegativo};
    const char* vIds[2] = {"red-flecha-pos", "red-flecha-neg"};
    for (int i = 0; i < 2; ++i)
        out << "<marker id=\"" << vIds[i] << "\" viewBox=\"0 0 10 10\" refX=\"10\" refY=\"5\" markerWidth=\"8\""
            << " markerHeight=\"8\" markerUnits=\"userSpaceOnUse\" orient=\"auto\"><path d=\"M0,0 L10,5 L0,10 z\""
            << " fill=\"" << vColores[i] << "\"/></marker>";
    out << "</defs>\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n<g class=\"enlaces\">\n";
    for (const SArcoDiagrama& a : m_vArcos)
        out << SvgArco(a);
    out << "</g>\n<g class=\"neuronas\">\n";
    for (const SNodoDiagrama& n : m_vNodos)
        out << SvgNodo(n);
    out << "</g>\n" << SvgLeyenda() << "</svg>\n";
    return out.str();
}

std::string CDiagramaRed::GenerarSvg() const
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + GenerarSvgIncrustado();
}

bool CargarTextoRed(const std::string& sTexto, CRedNeuronal& red, std::string& sError)
{
    std::string sCodificado = SinBlancosExtremos(sTexto);
    if (sCodificado.find('"') != std::string::npos && !ExtraerLiterales(sTexto, sCodificado)) {
        sError = "literal de texto sin cerrar";
        return false;
    }
    std::string sPlano;
    if (DecodificarTextoRed(sCodificado, sPlano) && CargarTextoPlanoRed(sPlano, red))
        return true;
    // Also accept the plain form, as written before scrambling.
    if (CargarTextoPlanoRed(sTexto, red))
        return true;
    sError =
        "no es un texto de red neuronal v"
        "\xE1"
        "lido";
    return false;
}

bool CargarRed(const std::string& sRuta, CRedNeuronal& red, std::string& sError)
{
    std::string sTexto;
    if (!LeerArchivo(sRuta, sTexto, sError))
        return false;
    if (!CargarTextoRed(sTexto, red, sError)) {
        sError = sRuta + ": " + sError;
        return false;
    }
    return true;
}
