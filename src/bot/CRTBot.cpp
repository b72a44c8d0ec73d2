#include "CRTBot.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <ostream>
#include <sstream>

namespace {

// Longer than any message name, so a word cut to this length matches none.
const size_t kLongitudMaxPalabra = 64;

const double kRotacionMax = 0.785398;
const double kEnergiaMaxDisparo = 30.0;

// Slots written by the messages.
const unsigned kEntradaAnguloRadar = 5;
const unsigned kEntradaEnergia = 6;
const unsigned kEntradaAnguloCanyon = 7;
const unsigned kEntradaVelocidad = 8;
const unsigned kEntradaTiempo = 9;
const unsigned kEntradaEnergiaRobot = 10;
const unsigned kEntradaCompanyero = 11;
const int kNumTiposObjetoRadar = 5;

struct SMensajeAtendido {
    const char* szNombre;
    int nMensaje;
};

const SMensajeAtendido kMensajesAtendidos[] = {
    {"Initialize", Mensaje_Initialize}, {"Radar", Mensaje_Radar},   {"Info", Mensaje_Info},
    {"RobotInfo", Mensaje_RobotInfo},   {"Energy", Mensaje_Energy}, {"ExitRobot", Mensaje_ExitRobot},
};

bool EsBlanco(int c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

void ErrorRedNoApropiada(int nLinea, unsigned nNumEntradas)
{
    std::fprintf(stderr,
                 "ERROR (%s,%d): La red integrada no sirve al robot: necesita como mucho %u entradas, "
                 "el sesgo tras ellas y al menos %u salidas\n",
                 __FILE__, nLinea, nNumEntradas, kNumSalidasBot);
    std::exit(-1);
}

}  // namespace

bool RedApropiadaParaBot(const CRedNeuronal& red, unsigned nNumEntradas)
{
    const std::vector<SNeurona*>& vNeuronas = red.GetRed();
    size_t i = 0;
    while (i < vNeuronas.size() && vNeuronas[i]->TipoNeurona == Neurona_Entrada)
        ++i;
    if (i > nNumEntradas || i >= vNeuronas.size() || vNeuronas[i]->TipoNeurona != Neurona_Sesgo)
        return false;
    unsigned nSalidas = 0;
    for (++i; i < vNeuronas.size(); ++i) {
        if (vNeuronas[i]->TipoNeurona == Neurona_Salida)
            ++nSalidas;
    }
    return nSalidas >= kNumSalidasBot;
}

CRTBot::CRTBot(std::string strNombre, std::string strRed, std::istream& entrada, std::ostream& salida,
               unsigned int nNumEntradas)
    : CRedNeuronal(),
      m_strNombre(strNombre),
      m_pEntrada(&entrada),
      m_pSalida(&salida),
      m_nNumEntradas(nNumEntradas),
      m_bTerminado(false)
{
    std::istringstream texto(strRed);
    texto >> *this;  // a text that does not decode ends the process
    // Evaluation reads one slot per input neuron and a decision reads five
    // outputs: anything less would read out of range.
    if (!RedApropiadaParaBot(*this, nNumEntradas))
        ErrorRedNoApropiada(__LINE__, nNumEntradas);
    m_vdEntradas.assign(nNumEntradas, 0.0);
}

bool CRTBot::HaTerminado() { return m_bTerminado; }

void CRTBot::TerminarBot() { m_bTerminado = true; }

int CRTBot::BuscarMensajeAtendido(char* szNombre)
{
    for (const SMensajeAtendido& mensaje : kMensajesAtendidos) {
        if (std::strcmp(mensaje.szNombre, szNombre) == 0)
            return mensaje.nMensaje;
    }
    return -1;
}

// Reads one whitespace-delimited word of any length, keeping at most
// kLongitudMaxPalabra characters of it. False when no word was there.
bool CRTBot::LeerPalabra(std::string& sPalabra)
{
    sPalabra.clear();
    std::istream& in = *m_pEntrada;
    in >> std::ws;
    for (int c = in.peek(); c != std::char_traits<char>::eof() && !EsBlanco(c); c = in.peek()) {
        in.get();
        if (sPalabra.size() < kLongitudMaxPalabra)
            sPalabra += static_cast<char>(c);
    }
    return !sPalabra.empty();
}

void CRTBot::ProcesarMensajes(TBuscarMensaje pfBuscar)
{
    // The previous drain ended at the end of what was waiting.
    m_pEntrada->clear();
    std::string sPalabra;
    while (!m_pEntrada->eof() && !HaTerminado()) {
        if (!LeerPalabra(sPalabra))
            break;
        AtenderMensaje(pfBuscar(&sPalabra[0]));
    }
}

void CRTBot::AtenderMensaje(int nMensaje)
{
    switch (nMensaje) {
        case Mensaje_Initialize:
            Inicializar();
            break;
        case Mensaje_Radar:
            Radar();
            break;
        case Mensaje_Info:
            Info();
            break;
        case Mensaje_RobotInfo:
            RobotInfo();
            break;
        case Mensaje_Energy:
            Energy();
            break;
        case Mensaje_ExitRobot:
            TerminarBot();
            break;
        default:
            break;
    }
}

void CRTBot::Inicializar()
{
    Escribir("Name " + m_strNombre);
    Escribir("Colour FF0000 0000FF");
}

// Handlers write their slots only when every argument was read.
void CRTBot::Radar()
{
    double dDistancia = 0.0, dAngulo = 0.0;
    int nTipo = 0;
    if (!(*m_pEntrada >> dDistancia >> nTipo >> dAngulo))
        return;
    if (nTipo >= 0 && nTipo < kNumTiposObjetoRadar)
        SetEntrada(static_cast<unsigned>(nTipo), dDistancia);
    SetEntrada(kEntradaAnguloRadar, dAngulo);
}

void CRTBot::Energy()
{
    double dEnergia = 0.0;
    if (*m_pEntrada >> dEnergia)
        SetEntrada(kEntradaEnergia, dEnergia);
}

void CRTBot::Info()
{
    double dTiempo = 0.0, dVelocidad = 0.0, dAnguloCanyon = 0.0;
    if (!(*m_pEntrada >> dTiempo >> dVelocidad >> dAnguloCanyon))
        return;
    SetEntrada(kEntradaAnguloCanyon, dAnguloCanyon);
    SetEntrada(kEntradaVelocidad, dVelocidad);
    SetEntrada(kEntradaTiempo, dTiempo);
}

void CRTBot::RobotInfo()
{
    double dEnergia = 0.0;
    int nCompanyero = 0;
    if (!(*m_pEntrada >> dEnergia >> nCompanyero))
        return;
    SetEntrada(kEntradaEnergiaRobot, dEnergia);
    SetEntrada(kEntradaCompanyero, static_cast<double>(nCompanyero));
}

void CRTBot::SetEntrada(unsigned int nEntrada, double dValor)
{
    if (nEntrada < m_nNumEntradas)
        m_vdEntradas[nEntrada] = dValor;
}

void CRTBot::TomarDecisiones()
{
    m_vdSalidasRed = Actualizar(m_vdEntradas, Ejecucion_PasoDinamico);
    const TVecDoubles& o = m_vdSalidasRed;
    Girar(Objeto_Robot, 2.0 * o[0] - 1.0);
    Girar(Objeto_Radar, 2.0 * o[1] - 1.0);
    Girar(Objeto_Canyon, 2.0 * o[2] - 1.0);
    if (o[3] >= 0.5)
        Acelerar((o[3] - 0.5) * 3.0 - 0.5);
    else
        Frenar(2.0 * o[3]);
    Disparar(o[4]);
    m_vdEntradas.assign(m_nNumEntradas, 0.0);
}

void CRTBot::Escribir(const std::string& sLinea)
{
    *m_pSalida << sLinea << '\n';
    m_pSalida->flush();
}

void CRTBot::Girar(TObjetoRotable objeto, double dVelocidad)
{
    std::ostringstream linea;
    linea << "Rotate " << static_cast<int>(objeto) << ' ' << dVelocidad * kRotacionMax;
    Escribir(linea.str());
}

void CRTBot::Acelerar(double dAceleracion)
{
    if (dAceleracion >= 0.0)
        dAceleracion *= 2.0;
    if (!(dAceleracion >= -0.5))
        return;
    std::ostringstream linea;
    linea << "Accelerate " << dAceleracion;
    Escribir(linea.str());
}

void CRTBot::Frenar(double dFreno)
{
    if (!(dFreno > 0.0))
        return;
    std::ostringstream linea;
    linea << "Brake " << dFreno;
    Escribir(linea.str());
}

void CRTBot::Disparar(double dEnergia)
{
    if (!(dEnergia >= 0.5))
        return;
    std::ostringstream linea;
    linea << "Shoot " << (dEnergia - 0.5) * 2.0 * kEnergiaMaxDisparo;
    Escribir(linea.str());
}
