#include "LectorArena.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

const double kPiLector = 3.14159265358979323846;
const double kMaxMedida = 1e5;  // metres, after scaling
const size_t kMaxFiguras = 100000;
const size_t kMaxBytes = 4u << 20;

const char* const kCirculo =
    "scale 1\n"
    "boundary -10 -10 10 10\n"
    "inner_circle 0.9 1.0 0 0 9.9\n";

const char* const kCuadrado =
    "scale 1\n"
    "boundary -10 -10 10 10\n"
    "line 0.6 0.8 0.6 -10 10 10 10\n"
    "line 0.6 0.8 0.6 10 10 10 -10\n"
    "line 0.6 0.8 0.6 10 -10 -10 -10\n"
    "line 0.6 0.8 0.6 -10 -10 -10 10\n";

bool EsBlanco(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

double Normalizar(double dAngulo)
{
    double dA = std::fmod(dAngulo, 2 * kPiLector);
    if (dA > kPiLector)
        dA -= 2 * kPiLector;
    else if (dA < -kPiLector)
        dA += 2 * kPiLector;
    return dA;
}

// Text to show in a message: printable ASCII only, cut short.
std::string Mostrable(const std::string& s)
{
    std::string sSalida;
    for (char c : s.substr(0, 32))
        sSalida += (c >= 0x20 && c < 0x7F) ? c : '?';
    return s.size() > 32 ? sSalida + "..." : sSalida;
}

class CLector {
public:
    CLector(const std::string& sTexto, const std::string& sNombre, CGeometria& geometria)
        : m_sTexto(sTexto), m_sNombre(sNombre), m_geo(geometria)
    {}

    bool Leer(std::string& sError);

private:
    bool Error(const std::string& sQue);
    void SaltarBlancos();
    bool Token(std::string& sToken);
    bool TokenNumero(std::string& sToken);
    bool Numero(double& dValor);
    bool Medida(double& dValor);
    bool Coordenada(double& dX, double& dY);
    bool Coeficientes(double& dRebote, double& dDureza);
    bool Grosor(double& dGrosor);
    bool Radio(double& dRadio);
    bool Angulo(double& dAngulo);
    bool Entero(long& nValor);
    bool Orden(const std::string& sPalabra);
    bool Escala();
    bool UnidadAngulo();
    bool Limites();
    bool Circulo(bool bInterior);
    bool Linea();
    bool Arco();
    bool Poligono(bool bCerrado);
    bool Curva();
    bool Figuras();
    bool Segmento(double dRebote, double dDureza, double dGrosor, double dX1, double dY1, double dX2, double dY2);
    void Disco(double dRebote, double dDureza, double dGrosor, double dX, double dY);
    bool ArcoCurva(double dRebote, double dDureza, double dGrosor, double& dX, double& dY, double& dHX, double& dHY);

    const std::string& m_sTexto;
    const std::string& m_sNombre;
    CGeometria& m_geo;
    std::string m_sError;
    size_t m_nPos = 0;
    int m_nLinea = 1;
    int m_nLineaToken = 1;
    int m_nLineaOrden = 1;
    double m_dEscala = 1;
    double m_dUnidad = 1;  // radians per unit
    bool m_bEscala = false;
    bool m_bLimites = false;
    bool m_bParedes = false;
};

bool CLector::Error(const std::string& sQue)
{
    m_sError = m_sNombre + ":" + std::to_string(m_nLineaToken) + ": " + sQue;
    return false;
}

void CLector::SaltarBlancos()
{
    while (m_nPos < m_sTexto.size() && EsBlanco(m_sTexto[m_nPos])) {
        if (m_sTexto[m_nPos] == '\n')
            ++m_nLinea;
        ++m_nPos;
    }
}

bool CLector::Token(std::string& sToken)
{
    SaltarBlancos();
    m_nLineaToken = m_nLinea;
    const size_t nInicio = m_nPos;
    while (m_nPos < m_sTexto.size() && !EsBlanco(m_sTexto[m_nPos]))
        ++m_nPos;
    sToken.assign(m_sTexto, nInicio, m_nPos - nInicio);
    if (sToken.empty())
        m_nLineaToken = m_nLineaOrden;  // the text ended: blame the statement left unfinished
    return !sToken.empty();
}

// The word of a number, which the statement cannot do without.
bool CLector::TokenNumero(std::string& sToken)
{
    if (Token(sToken))
        return true;
    return Error(
        "falta un n"
        "\xFA"
        "mero");
}

bool CLector::Numero(double& dValor)
{
    std::string sToken;
    if (!TokenNumero(sToken))
        return false;
    char* pFin = nullptr;
    dValor = std::strtod(sToken.c_str(), &pFin);
    if (pFin != sToken.c_str() + sToken.size() || !std::isfinite(dValor) || std::fabs(dValor) > 1e9)
        return Error(
            "n"
            "\xFA"
            "mero no v"
            "\xE1"
            "lido: " +
            Mostrable(sToken));
    return true;
}

bool CLector::Medida(double& dValor)
{
    if (!Numero(dValor))
        return false;
    dValor *= m_dEscala;
    if (std::fabs(dValor) > kMaxMedida)
        return Error("medida demasiado grande");
    return true;
}

bool CLector::Coordenada(double& dX, double& dY) { return Medida(dX) && Medida(dY); }

bool CLector::Coeficientes(double& dRebote, double& dDureza)
{
    if (!Numero(dRebote) || !Numero(dDureza))
        return false;
    if (dRebote < 0 || dDureza < 0 || dRebote > 100 || dDureza > 100)
        return Error("rebote o dureza fuera de [0, 100]");
    return true;
}

bool CLector::Grosor(double& dGrosor)
{
    if (!Medida(dGrosor))
        return false;
    if (dGrosor < 0)
        return Error("grosor negativo");
    return true;
}

bool CLector::Radio(double& dRadio)
{
    if (!Medida(dRadio))
        return false;
    if (dRadio <= 0)
        return Error("radio no positivo");
    return true;
}

bool CLector::Angulo(double& dAngulo)
{
    if (!Numero(dAngulo))
        return false;
    dAngulo *= m_dUnidad;
    return true;
}

bool CLector::Entero(long& nValor)
{
    std::string sToken;
    if (!TokenNumero(sToken))
        return false;
    char* pFin = nullptr;
    nValor = std::strtol(sToken.c_str(), &pFin, 10);
    if (pFin != sToken.c_str() + sToken.size())
        return Error("se esperaba un entero: " + Mostrable(sToken));
    return true;
}

bool CLector::Leer(std::string& sError)
{
    m_geo.Limpiar();
    bool bBien = true;
    if (m_sTexto.compare(0, 6, "scale ") != 0)
        bBien = Error("la primera orden debe ser 'scale'");
    while (bBien) {
        SaltarBlancos();
        if (m_nPos >= m_sTexto.size())
            break;
        m_nLineaToken = m_nLineaOrden = m_nLinea;
        const size_t nInicio = m_nPos;
        while (m_nPos < m_sTexto.size() && m_sTexto[m_nPos] != ' ') {
            if (EsBlanco(m_sTexto[m_nPos]))
                break;
            ++m_nPos;
        }
        const std::string sPalabra = m_sTexto.substr(nInicio, m_nPos - nInicio);
        if (m_nPos >= m_sTexto.size() || m_sTexto[m_nPos] != ' ')
            bBien = Error("falta un espacio tras '" + Mostrable(sPalabra) + "'");
        else
            bBien = Orden(sPalabra);
    }
    if (bBien && !m_bLimites) {
        m_nLineaToken = m_nLinea;
        bBien = Error("falta 'boundary'");
    }
    if (!bBien) {
        m_geo.Limpiar();
        sError = m_sError;
        return false;
    }
    m_geo.Preparar();
    return true;
}

bool CLector::Orden(const std::string& sPalabra)
{
    if (sPalabra == "scale")
        return Escala();
    if (sPalabra == "angle_unit")
        return UnidadAngulo();
    if (sPalabra == "boundary")
        return Limites();
    if (!m_bEscala)
        return Error("la primera orden debe ser 'scale'");
    if (sPalabra == "exclusion_point" || sPalabra == "inner_circle" || sPalabra == "circle" || sPalabra == "line" ||
        sPalabra == "arc" || sPalabra == "polygon" || sPalabra == "closed_polygon" || sPalabra == "poly_curve") {
        if (!m_bLimites)
            return Error("'" + sPalabra + "' antes de 'boundary'");
        m_bParedes = true;
        if (m_geo.GetFiguras().size() > kMaxFiguras)
            return Error("demasiadas figuras");
    }
    if (sPalabra == "exclusion_point") {
        double dX, dY;
        if (!Coordenada(dX, dY))
            return false;
        m_geo.AddExclusion(dX, dY);
        return true;
    }
    if (sPalabra == "inner_circle" || sPalabra == "circle")
        return Circulo(sPalabra == "inner_circle");
    if (sPalabra == "line")
        return Linea();
    if (sPalabra == "arc")
        return Arco();
    if (sPalabra == "polygon" || sPalabra == "closed_polygon")
        return Poligono(sPalabra == "closed_polygon");
    if (sPalabra == "poly_curve")
        return Curva();
    return Error("orden desconocida: '" + Mostrable(sPalabra) + "'");
}

bool CLector::Escala()
{
    if (m_bEscala)
        return Error("'scale' repetida");
    double dEscala;
    if (!Numero(dEscala))
        return false;
    if (dEscala <= 0)
        return Error("escala no positiva");
    m_dEscala = dEscala;
    m_bEscala = true;
    return true;
}

// The unit runs alone up to the end of the line.
bool CLector::UnidadAngulo()
{
    ++m_nPos;
    m_nLineaToken = m_nLinea;
    size_t nFin = m_nPos;
    while (nFin < m_sTexto.size() && m_sTexto[nFin] != '\n')
        ++nFin;
    const std::string sUnidad = m_sTexto.substr(m_nPos, nFin - m_nPos);
    if (sUnidad == "radians")
        m_dUnidad = 1;
    else if (sUnidad == "degrees")
        m_dUnidad = kPiLector / 180;
    else
        return Error(
            "unidad de "
            "\xE1"
            "ngulo desconocida (radians o degrees, sola en su l"
            "\xED"
            "nea): '" +
            Mostrable(sUnidad) + "'");
    m_nPos = nFin;
    return true;
}

bool CLector::Limites()
{
    if (!m_bEscala)
        return Error("la primera orden debe ser 'scale'");
    if (m_bLimites)
        return Error("'boundary' repetido");
    if (m_bParedes)
        return Error("'boundary' debe ir antes de las paredes");
    double dX1, dY1, dX2, dY2;
    if (!Coordenada(dX1, dY1) || !Coordenada(dX2, dY2))
        return false;
    if (!(dX2 > dX1 && dY2 > dY1))
        return Error(
            "'boundary' sin tama"
            "\xF1"
            "o positivo");
    m_geo.SetLimites(dX1, dY1, dX2, dY2);
    m_bLimites = true;
    return true;
}

bool CLector::Circulo(bool bInterior)
{
    double dRebote, dDureza, dX, dY, dRadio;
    if (!Coeficientes(dRebote, dDureza) || !Coordenada(dX, dY) || !Radio(dRadio))
        return false;
    if (bInterior)
        m_geo.AddCirculoInterior(dRebote, dDureza, dX, dY, dRadio);
    else
        m_geo.AddCirculo(dRebote, dDureza, dX, dY, dRadio);
    return true;
}

bool CLector::Segmento(double dRebote, double dDureza, double dGrosor, double dX1, double dY1, double dX2, double dY2)
{
    if (dX1 == dX2 && dY1 == dY2)
        return Error("segmento de longitud cero");
    m_geo.AddLinea(dRebote, dDureza, dGrosor, dX1, dY1, dX2, dY2);
    return true;
}

void CLector::Disco(double dRebote, double dDureza, double dGrosor, double dX, double dY)
{
    if (dGrosor > 0)
        m_geo.AddCirculo(dRebote, dDureza, dX, dY, 0.5 * dGrosor);
}

bool CLector::Linea()
{
    double dRebote, dDureza, dGrosor, dX1, dY1, dX2, dY2;
    if (!Coeficientes(dRebote, dDureza) || !Grosor(dGrosor) || !Coordenada(dX1, dY1) || !Coordenada(dX2, dY2))
        return false;
    return Segmento(dRebote, dDureza, dGrosor, dX1, dY1, dX2, dY2);
}

bool CLector::Arco()
{
    double dRebote, dDureza, dX, dY, dInterior, dExterior, dA1, dA2;
    if (!Coeficientes(dRebote, dDureza) || !Coordenada(dX, dY) || !Medida(dInterior) || !Medida(dExterior) ||
        !Angulo(dA1) || !Angulo(dA2))
        return false;
    if (!(dInterior >= 0 && dExterior > dInterior))
        return Error(
            "radios del arco no v"
            "\xE1"
            "lidos (0 <= interior < exterior)");
    m_geo.AddArco(dRebote, dDureza, dX, dY, dInterior, dExterior, Normalizar(dA1), Normalizar(dA2));
    return true;
}

bool CLector::Poligono(bool bCerrado)
{
    double dRebote, dDureza, dGrosor;
    long nVertices = 0;
    if (!Coeficientes(dRebote, dDureza) || !Grosor(dGrosor) || !Entero(nVertices))
        return false;
    if (nVertices < 1 || static_cast<size_t>(nVertices) > kMaxFiguras)
        return Error(
            "n"
            "\xFA"
            "mero de v"
            "\xE9"
            "rtices no v"
            "\xE1"
            "lido");
    double dX0 = 0, dY0 = 0, dXAnt = 0, dYAnt = 0;
    for (long i = 0; i < nVertices; ++i) {
        double dX, dY;
        if (!Coordenada(dX, dY))
            return false;
        Disco(dRebote, dDureza, dGrosor, dX, dY);
        if (i == 0) {
            dX0 = dX;
            dY0 = dY;
        } else if (!Segmento(dRebote, dDureza, dGrosor, dXAnt, dYAnt, dX, dY)) {
            return false;
        }
        dXAnt = dX;
        dYAnt = dY;
    }
    return !bCerrado || Segmento(dRebote, dDureza, dGrosor, dXAnt, dYAnt, dX0, dY0);
}

// A tangent arc of the pen; positive angles turn clockwise.
bool CLector::ArcoCurva(double dRebote, double dDureza, double dGrosor, double& dX, double& dY, double& dHX,
                        double& dHY)
{
    double dAngulo, dRadio;
    if (!Angulo(dAngulo) || !Radio(dRadio))
        return false;
    if (dAngulo == 0)
        return Error(
            "arco de "
            "\xE1"
            "ngulo cero");
    const bool bHorario = dAngulo > 0;
    const double dCX = dX + dRadio * (bHorario ? dHY : -dHY);
    const double dCY = dY + dRadio * (bHorario ? -dHX : dHX);
    const double dPhi0 = std::atan2(dY - dCY, dX - dCX);
    const double dPhi1 = dPhi0 - dAngulo;
    double dDesde = bHorario ? dPhi1 : dPhi0;
    double dHasta = bHorario ? dPhi0 : dPhi1;
    if (std::fabs(dAngulo) >= 2 * kPiLector) {
        dDesde = -kPiLector;
        dHasta = kPiLector;
    }
    m_geo.AddArco(dRebote, dDureza, dCX, dCY, std::max(0.0, dRadio - 0.5 * dGrosor), dRadio + 0.5 * dGrosor,
                  Normalizar(dDesde), Normalizar(dHasta));
    dX = dCX + dRadio * std::cos(dPhi1);
    dY = dCY + dRadio * std::sin(dPhi1);
    const double dC = std::cos(-dAngulo), dS = std::sin(-dAngulo);
    const double dNuevoX = dHX * dC - dHY * dS;
    dHY = dHX * dS + dHY * dC;
    dHX = dNuevoX;
    Disco(dRebote, dDureza, dGrosor, dX, dY);
    return true;
}

bool CLector::Curva()
{
    double dRebote, dDureza, dGrosor, dX0, dY0, dHX, dHY;
    if (!Coeficientes(dRebote, dDureza) || !Grosor(dGrosor) || !Coordenada(dX0, dY0) || !Numero(dHX) || !Numero(dHY))
        return false;
    const double dLargo = std::hypot(dHX, dHY);
    if (!(dLargo > 0) || !std::isfinite(dLargo))
        return Error(
            "direcci"
            "\xF3"
            "n nula");
    dHX /= dLargo;
    dHY /= dLargo;
    double dX = dX0, dY = dY0;
    Disco(dRebote, dDureza, dGrosor, dX, dY);
    for (;;) {
        if (m_geo.GetFiguras().size() > kMaxFiguras)
            return Error("demasiadas figuras");
        std::string sOrden;
        if (!Token(sOrden))
            return Error("'poly_curve' sin 'C' ni 'Q' al final");
        if (sOrden == "Q")
            return true;
        if (sOrden == "C")
            return Segmento(dRebote, dDureza, dGrosor, dX, dY, dX0, dY0);
        if (sOrden == "L") {
            double dL;
            if (!Medida(dL))
                return false;
            if (dL <= 0)
                return Error("'L' con longitud no positiva");
            const double dX1 = dX + dL * dHX, dY1 = dY + dL * dHY;
            if (!Segmento(dRebote, dDureza, dGrosor, dX, dY, dX1, dY1))
                return false;
            dX = dX1;
            dY = dY1;
            Disco(dRebote, dDureza, dGrosor, dX, dY);
        } else if (sOrden == "A") {
            if (!ArcoCurva(dRebote, dDureza, dGrosor, dX, dY, dHX, dHY))
                return false;
        } else if (sOrden == "T") {
            double dGrados;
            if (!Numero(dGrados))
                return false;
            const double dA = -dGrados * kPiLector / 180;
            const double dNuevoX = dHX * std::cos(dA) - dHY * std::sin(dA);
            dHY = dHX * std::sin(dA) + dHY * std::cos(dA);
            dHX = dNuevoX;
        } else {
            return Error("orden de 'poly_curve' desconocida: '" + Mostrable(sOrden) + "'");
        }
        if (std::fabs(dX) > kMaxMedida || std::fabs(dY) > kMaxMedida)
            return Error("medida demasiado grande");
    }
}

}  // namespace

bool LeerArena(const std::string& sTexto, const std::string& sNombre, CGeometria& geometria, std::string& sError)
{
    CLector lector(sTexto, sNombre, geometria);
    return lector.Leer(sError);
}

bool CargarArena(const std::string& sRuta, std::string& sTexto, std::string& sError)
{
    std::ifstream entrada(sRuta, std::ios::binary);
    if (!entrada) {
        sError = sRuta + ": no se puede abrir";
        return false;
    }
    std::ostringstream contenido;
    contenido << entrada.rdbuf();
    if (entrada.bad() || contenido.str().size() > kMaxBytes) {
        sError = sRuta + ": no se puede leer o es demasiado grande";
        return false;
    }
    CGeometria geometria;
    if (!LeerArena(contenido.str(), sRuta, geometria, sError))
        return false;
    sTexto = contenido.str();
    return true;
}

const char* TextoArenaCirculo() { return kCirculo; }
const char* TextoArenaCuadrado() { return kCuadrado; }
