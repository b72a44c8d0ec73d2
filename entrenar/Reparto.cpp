#include "Reparto.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Marks the start of each form, so that a stray message is not mistaken
// for a batch or an answer.
const uint64_t kMarcaLote = 0x4C4F5445u;       // "LOTE"
const uint64_t kMarcaRespuesta = 0x52455350u;  // "RESP"

// A robot's result: seven numbers and two counts.
const size_t kBytesMinimoRobot = 9 * 8;

class CEscritor {
public:
    void Entero(uint64_t n)
    {
        for (int i = 0; i < 8; ++i)
            m_sBytes.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
    }
    void EnteroConSigno(int64_t n) { Entero(static_cast<uint64_t>(n)); }
    void Real(double d)
    {
        uint64_t n = 0;
        std::memcpy(&n, &d, sizeof(n));
        Entero(n);
    }
    void Texto(const std::string& s)
    {
        Entero(s.size());
        m_sBytes += s;
    }
    const std::string& GetBytes() const { return m_sBytes; }

private:
    std::string m_sBytes;
};

// Every read checks what is left, so that a short or damaged message is
// refused instead of read past its end.
class CLector {
public:
    explicit CLector(const std::string& sBytes) : m_sBytes(sBytes), m_nPos(0) {}

    bool Entero(uint64_t& n)
    {
        if (Quedan() < 8)
            return false;
        n = 0;
        for (int i = 0; i < 8; ++i)
            n |= static_cast<uint64_t>(static_cast<unsigned char>(m_sBytes[m_nPos + i])) << (8 * i);
        m_nPos += 8;
        return true;
    }
    bool EnteroConSigno(int64_t& n)
    {
        uint64_t u = 0;
        if (!Entero(u))
            return false;
        n = static_cast<int64_t>(u);
        return true;
    }
    bool Int(int& n)
    {
        int64_t l = 0;
        if (!EnteroConSigno(l) || l < INT32_MIN || l > INT32_MAX)
            return false;
        n = static_cast<int>(l);
        return true;
    }
    bool Real(double& d)
    {
        uint64_t n = 0;
        if (!Entero(n))
            return false;
        std::memcpy(&d, &n, sizeof(d));
        return true;
    }
    bool Bool(bool& b)
    {
        uint64_t n = 0;
        if (!Entero(n) || n > 1)
            return false;
        b = n == 1;
        return true;
    }
    bool Texto(std::string& s)
    {
        uint64_t n = 0;
        if (!Entero(n) || n > Quedan())
            return false;
        s.assign(m_sBytes, m_nPos, n);
        m_nPos += n;
        return true;
    }
    // A count of items of at least nBytesMinimo bytes each: never more
    // than what is left could hold.
    bool Cuenta(size_t nBytesMinimo, size_t& n)
    {
        uint64_t u = 0;
        if (!Entero(u) || u > Quedan() / nBytesMinimo)
            return false;
        n = static_cast<size_t>(u);
        return true;
    }
    bool AlFinal() const { return m_nPos == m_sBytes.size(); }

private:
    size_t Quedan() const { return m_sBytes.size() - m_nPos; }

    const std::string& m_sBytes;
    size_t m_nPos;
};

void EscribirRobot(CEscritor& e, const SResultadoRobot& r)
{
    e.Real(r.dPuntos);
    e.EnteroConSigno(r.nPosicion);
    e.Real(r.dDanyoCausado);
    e.Real(r.dEnergiaRestante);
    e.Real(r.dTiempoVivo);
    e.EnteroConSigno(r.nDisparos);
    e.EnteroConSigno(r.nAciertos);
    e.Entero(r.vdPuntosJuego.size());
    for (double d : r.vdPuntosJuego)
        e.Real(d);
    e.Entero(r.vnPosicionJuego.size());
    for (int n : r.vnPosicionJuego)
        e.EnteroConSigno(n);
}

bool LeerRobot(CLector& l, SResultadoRobot& r)
{
    size_t nJuegos = 0, nPosiciones = 0;
    if (!(l.Real(r.dPuntos) && l.Int(r.nPosicion) && l.Real(r.dDanyoCausado) && l.Real(r.dEnergiaRestante) &&
          l.Real(r.dTiempoVivo) && l.Int(r.nDisparos) && l.Int(r.nAciertos) && l.Cuenta(8, nJuegos)))
        return false;
    r.vdPuntosJuego.assign(nJuegos, 0.0);
    for (double& d : r.vdPuntosJuego) {
        if (!l.Real(d))
            return false;
    }
    if (!l.Cuenta(8, nPosiciones))
        return false;
    r.vnPosicionJuego.assign(nPosiciones, 0);
    for (int& n : r.vnPosicionJuego) {
        if (!l.Int(n))
            return false;
    }
    return true;
}

void EscribirEncuentro(CEscritor& e, const SEncuentro& encuentro)
{
    e.Entero(encuentro.nSemilla);
    e.Entero(encuentro.vRivales.size());
    for (const SRivalEncuentro& rival : encuentro.vRivales) {
        e.Entero(static_cast<uint64_t>(rival.eRival));
        e.Texto(rival.sRed);
        e.Texto(rival.sPrograma);
    }
}

bool LeerEncuentro(CLector& l, SEncuentro& encuentro)
{
    size_t nRivales = 0;
    if (!(l.Entero(encuentro.nSemilla) && l.Cuenta(16, nRivales) && nRivales <= kMaxRivalesGrupo))
        return false;
    encuentro.vRivales.resize(nRivales);
    for (SRivalEncuentro& rival : encuentro.vRivales) {
        uint64_t nRival = 0;
        if (!(l.Entero(nRival) && nRival < static_cast<uint64_t>(kNumTiposRival) && l.Texto(rival.sRed) &&
              l.Texto(rival.sPrograma)))
            return false;
        rival.eRival = static_cast<TRival>(nRival);
    }
    return true;
}

bool LeerConfig(CLector& l, SConfigEvaluacion& config)
{
    uint64_t nArena = 0, nArchivos = 0;
    if (!(l.Entero(nArena) && nArena <= Arena_Aleatoria && l.Texto(config.sArena) && l.Entero(nArchivos)))
        return false;
    config.vsArenas.clear();
    config.vsNombresArenas.clear();
    for (uint64_t i = 0; i < nArchivos; ++i) {
        std::string sTexto, sNombre;
        if (!(l.Texto(sTexto) && l.Texto(sNombre)))
            return false;
        config.vsArenas.push_back(sTexto);
        config.vsNombresArenas.push_back(sNombre);
    }
    if (!(l.Real(config.dTiempoMaximo) && l.Real(config.dPaso)))
        return false;
    config.eArena = static_cast<TTipoArena>(nArena);
    return true;
}

}  // namespace

std::string CodificarLote(const SLote& lote)
{
    CEscritor e;
    e.Entero(kMarcaLote);
    e.Entero(lote.nId);
    e.EnteroConSigno(lote.nGeneracion);
    e.Entero(static_cast<uint64_t>(lote.config.eArena));
    e.Texto(lote.config.sArena);
    e.Entero(lote.config.vsArenas.size());
    for (size_t i = 0; i < lote.config.vsArenas.size(); ++i) {
        e.Texto(lote.config.vsArenas[i]);
        e.Texto(i < lote.config.vsNombresArenas.size() ? lote.config.vsNombresArenas[i] : std::string());
    }
    e.Real(lote.config.dTiempoMaximo);
    e.Real(lote.config.dPaso);
    e.Entero(lote.vTrabajos.size());
    for (const STrabajo& trabajo : lote.vTrabajos) {
        e.Texto(trabajo.sRed);
        e.Texto(trabajo.sPrograma);
        e.Entero(static_cast<uint64_t>(trabajo.eGuion));
        e.Entero(trabajo.vEncuentros.size());
        for (const SEncuentro& encuentro : trabajo.vEncuentros)
            EscribirEncuentro(e, encuentro);
    }
    return e.GetBytes();
}

bool DecodificarLote(const std::string& sBytes, SLote& lote)
{
    CLector l(sBytes);
    uint64_t nMarca = 0;
    size_t nTrabajos = 0;
    lote = SLote();
    if (!(l.Entero(nMarca) && nMarca == kMarcaLote && l.Entero(lote.nId) && l.Int(lote.nGeneracion) &&
          LeerConfig(l, lote.config) && l.Cuenta(16, nTrabajos)))
        return false;
    lote.vTrabajos.resize(nTrabajos);
    for (STrabajo& trabajo : lote.vTrabajos) {
        size_t nEncuentros = 0;
        uint64_t nGuion = 0;
        if (!(l.Texto(trabajo.sRed) && l.Texto(trabajo.sPrograma) && l.Entero(nGuion) &&
              nGuion < static_cast<uint64_t>(kNumTiposRival) && l.Cuenta(16, nEncuentros)))
            return false;
        trabajo.eGuion = static_cast<TRival>(nGuion);
        trabajo.vEncuentros.resize(nEncuentros);
        for (SEncuentro& encuentro : trabajo.vEncuentros) {
            if (!LeerEncuentro(l, encuentro))
                return false;
        }
    }
    return l.AlFinal();
}

std::string CodificarRespuesta(const SRespuestaLote& respuesta)
{
    CEscritor e;
    e.Entero(kMarcaRespuesta);
    e.Entero(respuesta.nId);
    e.Entero(respuesta.vEncuentros.size());
    for (const SResultadoEncuentro& r : respuesta.vEncuentros) {
        e.Real(r.dPuntuacion);
        EscribirRobot(e, r.propio);
        e.Entero(r.vRivales.size());
        for (const SResultadoRobot& rival : r.vRivales)
            EscribirRobot(e, rival);
        e.Entero(r.bGana ? 1 : 0);
        e.Entero(r.bPierde ? 1 : 0);
    }
    return e.GetBytes();
}

bool DecodificarRespuesta(const std::string& sBytes, SRespuestaLote& respuesta)
{
    CLector l(sBytes);
    uint64_t nMarca = 0;
    size_t nEncuentros = 0;
    respuesta = SRespuestaLote();
    if (!(l.Entero(nMarca) && nMarca == kMarcaRespuesta && l.Entero(respuesta.nId) && l.Cuenta(8, nEncuentros)))
        return false;
    respuesta.vEncuentros.resize(nEncuentros);
    for (SResultadoEncuentro& r : respuesta.vEncuentros) {
        size_t nRivales = 0;
        if (!(l.Real(r.dPuntuacion) && LeerRobot(l, r.propio) && l.Cuenta(kBytesMinimoRobot, nRivales) &&
              nRivales <= kMaxRivalesGrupo))
            return false;
        r.vRivales.resize(nRivales);
        for (SResultadoRobot& rival : r.vRivales) {
            if (!LeerRobot(l, rival))
                return false;
        }
        if (!(l.Bool(r.bGana) && l.Bool(r.bPierde)))
            return false;
    }
    return l.AlFinal();
}

SRespuestaLote JugarLote(const SLote& lote, unsigned nHilos)
{
    std::vector<SResultadoTrabajo> vResultados;
    EvaluarTrabajos(lote.vTrabajos, lote.config, nHilos, vResultados);
    SRespuestaLote respuesta;
    respuesta.nId = lote.nId;
    for (const SResultadoTrabajo& resultado : vResultados)
        respuesta.vEncuentros.insert(respuesta.vEncuentros.end(), resultado.vEncuentros.begin(),
                                     resultado.vEncuentros.end());
    return respuesta;
}

CReparto::CReparto() : m_pTrabajos(nullptr), m_nGeneracion(0), m_nSiguiente(0), m_nUltimoId(0) {}

void CReparto::Limpiar()
{
    m_pTrabajos = nullptr;
    m_vTareas.clear();
    m_nSiguiente = 0;
    m_mEnCurso.clear();
    m_vResultados.clear();
}

void CReparto::Iniciar(const std::vector<STrabajo>& vTrabajos, int nGeneracion, const SConfigEvaluacion& config)
{
    Limpiar();
    m_pTrabajos = &vTrabajos;
    m_nGeneracion = nGeneracion;
    m_config = config;
    m_vResultados.assign(vTrabajos.size(), SResultadoTrabajo());
    for (size_t t = 0; t < vTrabajos.size(); ++t) {
        m_vResultados[t].vEncuentros.resize(vTrabajos[t].vEncuentros.size());
        for (size_t e = 0; e < vTrabajos[t].vEncuentros.size(); ++e)
            m_vTareas.emplace_back(t, e);
    }
}

bool CReparto::Repartir(size_t nMaximo, SLote& lote)
{
    if (!HayPendientes())
        return false;
    const size_t nDesde = m_nSiguiente;
    const size_t nHasta = std::min(m_vTareas.size(), nDesde + std::max<size_t>(nMaximo, 1));
    lote = SLote();
    lote.nId = ++m_nUltimoId;
    lote.nGeneracion = m_nGeneracion;
    lote.config = m_config;
    for (size_t i = nDesde; i < nHasta; ++i) {
        const STrabajo& trabajo = (*m_pTrabajos)[m_vTareas[i].first];
        // Matches of one job travel together under one copy of its network.
        if (i == nDesde || m_vTareas[i].first != m_vTareas[i - 1].first) {
            lote.vTrabajos.push_back(STrabajo());
            lote.vTrabajos.back().sRed = trabajo.sRed;
            lote.vTrabajos.back().sPrograma = trabajo.sPrograma;
            lote.vTrabajos.back().eGuion = trabajo.eGuion;
        }
        lote.vTrabajos.back().vEncuentros.push_back(trabajo.vEncuentros[m_vTareas[i].second]);
    }
    m_nSiguiente = nHasta;
    m_mEnCurso[lote.nId] = std::make_pair(nDesde, nHasta);
    return true;
}

bool CReparto::Recibir(const SRespuestaLote& respuesta, std::string& sError)
{
    const auto it = m_mEnCurso.find(respuesta.nId);
    if (it == m_mEnCurso.end()) {
        sError = "respuesta a un lote desconocido (" + std::to_string(respuesta.nId) + ")";
        return false;
    }
    const size_t nDesde = it->second.first, nHasta = it->second.second;
    if (respuesta.vEncuentros.size() != nHasta - nDesde) {
        sError = "el lote " + std::to_string(respuesta.nId) +
                 " ten"
                 "\xED"
                 "a " +
                 std::to_string(nHasta - nDesde) + " partidas y volvieron " +
                 std::to_string(respuesta.vEncuentros.size());
        return false;
    }
    for (size_t i = nDesde; i < nHasta; ++i)
        m_vResultados[m_vTareas[i].first].vEncuentros[m_vTareas[i].second] = respuesta.vEncuentros[i - nDesde];
    m_mEnCurso.erase(it);
    return true;
}

void CReparto::GetResultados(std::vector<SResultadoTrabajo>& vResultados) const
{
    vResultados = m_vResultados;
    PromediarTrabajos(vResultados);
}
