#include "PuntoControl.h"

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale>
#include <sstream>
#include <thread>

#include "Archivos.h"
#include "NEAT/LecturaTexto.h"

namespace {

const char* const kNombreCarpeta = "punto_control";
const char* const kSufijoNuevo = ".nuevo";
const char* const kSufijoAnterior = ".anterior";
const char* const kNombrePoblacion = "poblacion.txt";
const char* const kNombreEstado = "estado.txt";
const char* const kCabecera = "estado_entrenamiento";
const char* const kFin = "fin_estado_entrenamiento";
const int kVersion = 1;

std::string TextoReal(double d)
{
    std::ostringstream texto;
    texto.imbue(std::locale::classic());
    texto.precision(std::numeric_limits<double>::max_digits10);
    texto << d;
    return texto.str();
}

// Texts of any content go as their length, a line feed, the bytes and a
// line feed.
void AnyadirBloque(std::string& s, const std::string& sBloque)
{
    s += std::to_string(sBloque.size()) + "\n" + sBloque + "\n";
}

void AnyadirLista(std::string& s, const char* szNombre, const std::vector<std::string>& vBloques)
{
    s += std::string(szNombre) + " " + std::to_string(vBloques.size()) + "\n";
    for (const std::string& sBloque : vBloques)
        AnyadirBloque(s, sBloque);
}

// Reads estado.txt token by token; every read checks what it gets.
class CLectorEstado {
public:
    explicit CLectorEstado(const std::string& sTexto) : m_sTexto(sTexto), m_nPos(0) {}

    bool Palabra(std::string& sPalabra)
    {
        SaltarEspacios();
        const size_t nInicio = m_nPos;
        while (m_nPos < m_sTexto.size() && !EsEspacio(m_sTexto[m_nPos]))
            ++m_nPos;
        sPalabra = m_sTexto.substr(nInicio, m_nPos - nInicio);
        return !sPalabra.empty();
    }

    bool Esperar(const char* szPalabra)
    {
        std::string s;
        return Palabra(s) && s == szPalabra;
    }

    bool Entero(long long nMin, long long nMax, long long& nValor)
    {
        std::string s;
        std::istringstream in;
        if (!Palabra(s))
            return false;
        in.str(s);
        return LecturaTexto::LeerEntero(in, nMin, nMax, nValor);
    }

    bool Real(double& dValor)
    {
        std::string s;
        return Palabra(s) && LecturaTexto::ConvertirReal(s, dValor);
    }

    bool Bloque(std::string& sBloque)
    {
        long long nLongitud = 0;
        if (!Entero(0, static_cast<long long>(m_sTexto.size()), nLongitud) || !Caracter('\n'))
            return false;
        const size_t n = static_cast<size_t>(nLongitud);
        if (m_sTexto.size() - m_nPos < n)
            return false;
        sBloque = m_sTexto.substr(m_nPos, n);
        m_nPos += n;
        return Caracter('\n');
    }

    bool Lista(const char* szNombre, std::vector<std::string>& vBloques)
    {
        long long n = 0;
        if (!Esperar(szNombre) || !Cuenta(n))
            return false;
        std::vector<std::string> v(static_cast<size_t>(n));
        for (std::string& sBloque : v) {
            if (!Bloque(sBloque))
                return false;
        }
        vBloques.swap(v);
        return true;
    }

    // A number of entries, each of which takes at least a few bytes: a
    // damaged count cannot make the reader reserve more than the text.
    bool Cuenta(long long& n) { return Entero(0, static_cast<long long>(m_sTexto.size() - m_nPos) / 3, n); }

    bool AlFinal()
    {
        SaltarEspacios();
        return m_nPos == m_sTexto.size();
    }

private:
    static bool EsEspacio(char c) { return c == ' ' || c == '\n' || c == '\t' || c == '\r'; }
    void SaltarEspacios()
    {
        while (m_nPos < m_sTexto.size() && EsEspacio(m_sTexto[m_nPos]))
            ++m_nPos;
    }
    bool Caracter(char c)
    {
        if (m_nPos >= m_sTexto.size() || m_sTexto[m_nPos] != c)
            return false;
        ++m_nPos;
        return true;
    }

    const std::string& m_sTexto;
    size_t m_nPos;
};

bool LeerCandidatos(CLectorEstado& lector, std::vector<SCandidato>& vCandidatos)
{
    long long n = 0;
    if (!lector.Esperar("candidatos") || !lector.Cuenta(n))
        return false;
    std::vector<SCandidato> v(static_cast<size_t>(n));
    for (SCandidato& c : v) {
        long long nGeneracion = 0;
        if (!lector.Entero(-1, std::numeric_limits<int>::max(), nGeneracion) || !lector.Real(c.dPuntuacion) ||
            !lector.Real(c.dValidacion) || !lector.Bloque(c.sRed))
            return false;
        c.nGeneracion = static_cast<int>(nGeneracion);
    }
    vCandidatos.swap(v);
    return true;
}

bool LeerOpcionesFijas(CLectorEstado& lector, TOpcionesFijas& vOpciones)
{
    long long n = 0;
    if (!lector.Esperar("opciones") || !lector.Cuenta(n))
        return false;
    TOpcionesFijas v(static_cast<size_t>(n));
    for (auto& opcion : v) {
        if (!lector.Palabra(opcion.first) || !lector.Bloque(opcion.second))
            return false;
    }
    vOpciones.swap(v);
    return true;
}

// For the tests of faults: ENTRENAR_PAUSA_PUNTO_CONTROL=MS pauses that many
// milliseconds between the steps of a checkpoint write, so that a test can
// kill the process in the middle of one.
void PausaDePrueba()
{
    const char* szPausa = std::getenv("ENTRENAR_PAUSA_PUNTO_CONTROL");
    if (!szPausa)
        return;
    const long nMilisegundos = std::strtol(szPausa, nullptr, 10);
    if (nMilisegundos > 0 && nMilisegundos < 60000)
        std::this_thread::sleep_for(std::chrono::milliseconds(nMilisegundos));
}

bool EsCarpetaDePuntoControl(const std::string& sCarpeta)
{
    return ExisteFichero(RutaEstadoPuntoControl(sCarpeta)) || ExisteFichero(RutaPoblacionPuntoControl(sCarpeta));
}

}  // namespace

const std::vector<std::string>& NombresLogs()
{
    static const std::vector<std::string> vNombres = {"especies.log", "genes.log", "ag.log"};
    return vNombres;
}

std::string CarpetaPuntoControl(const std::string& sSalida) { return RutaEn(sSalida, kNombreCarpeta); }

std::string RutaPoblacionPuntoControl(const std::string& sCarpeta) { return RutaEn(sCarpeta, kNombrePoblacion); }

std::string RutaEstadoPuntoControl(const std::string& sCarpeta) { return RutaEn(sCarpeta, kNombreEstado); }

std::string Huella(const std::string& sTexto)
{
    // FNV-1a, 64 bits, with the length: enough to tell two files apart.
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : sTexto) {
        h ^= c;
        h *= 1099511628211ull;
    }
    char szHuella[64];
    std::snprintf(szHuella, sizeof(szHuella), "%016" PRIx64 "-%zu", h, sTexto.size());
    return szHuella;
}

std::string TextoEstado(const SEstadoEntrenamiento& e)
{
    std::string s = std::string(kCabecera) + " " + std::to_string(kVersion) + "\n";
    s += "generacion " + std::to_string(e.nGeneracion) + "\n";
    s += "poblacion " + e.sHuellaPoblacion + "\n";
    s += "opciones " + std::to_string(e.vOpciones.size()) + "\n";
    for (const auto& opcion : e.vOpciones) {
        s += opcion.first + " ";
        AnyadirBloque(s, opcion.second);
    }
    s += "evaluaciones " + std::to_string(e.nEvaluaciones) + "\n";
    s += "mejor_historica " + TextoReal(e.dMejorHistorica) + "\n";
    s += "random ";
    AnyadirBloque(s, e.sRandom);
    AnyadirLista(s, "estadisticas", e.vsFilasEstadisticas);
    AnyadirLista(s, "especies", e.vsFilasEspecies);
    AnyadirLista(s, "logs", e.vsLogs);
    s += "candidatos " + std::to_string(e.vCandidatos.size()) + "\n";
    for (const SCandidato& c : e.vCandidatos) {
        s += std::to_string(c.nGeneracion) + " " + TextoReal(c.dPuntuacion) + " " + TextoReal(c.dValidacion) + " ";
        AnyadirBloque(s, c.sRed);
    }
    s += "campeones ";
    AnyadirBloque(s, TextoCampeones(e.campeones));
    s += "motor ";
    AnyadirBloque(s, e.sMotor);
    s += std::string(kFin) + "\n";
    return s;
}

bool LeerEstado(const std::string& sTexto, SEstadoEntrenamiento& estado, std::string& sError)
{
    CLectorEstado lector(sTexto);
    SEstadoEntrenamiento e;
    long long nVersion = 0, nGeneracion = 0, nEvaluaciones = 0;
    std::string sCampeones, sMotivoCampeones;
    bool bCorrecto = lector.Esperar(kCabecera) && lector.Entero(0, 1000, nVersion) && nVersion == kVersion;
    if (!bCorrecto) {
        sError = "no es un estado de entrenamiento";
        return false;
    }
    bCorrecto = lector.Esperar("generacion") && lector.Entero(0, std::numeric_limits<int>::max(), nGeneracion) &&
                lector.Esperar("poblacion") && lector.Palabra(e.sHuellaPoblacion) &&
                LeerOpcionesFijas(lector, e.vOpciones) && lector.Esperar("evaluaciones") &&
                lector.Entero(0, std::numeric_limits<long>::max(), nEvaluaciones) &&
                lector.Esperar("mejor_historica") && lector.Real(e.dMejorHistorica) && lector.Esperar("random") &&
                lector.Bloque(e.sRandom) && lector.Lista("estadisticas", e.vsFilasEstadisticas) &&
                lector.Lista("especies", e.vsFilasEspecies) && lector.Lista("logs", e.vsLogs) &&
                e.vsLogs.size() == NombresLogs().size() && LeerCandidatos(lector, e.vCandidatos) &&
                lector.Esperar("campeones") && lector.Bloque(sCampeones) &&
                LeerCampeones(sCampeones, e.campeones, sMotivoCampeones) && lector.Esperar("motor") &&
                lector.Bloque(e.sMotor) && lector.Esperar(kFin) && lector.AlFinal();
    if (!bCorrecto) {
        sError =
            "est"
            "\xE1"
            " incompleto o da"
            "\xF1"
            "ado";
        return false;
    }
    e.nGeneracion = static_cast<int>(nGeneracion);
    e.nEvaluaciones = static_cast<long>(nEvaluaciones);
    estado = e;
    return true;
}

bool EscribirPuntoControl(const std::string& sSalida, const std::string& sPoblacion, const std::string& sEstado,
                          std::string& sError)
{
    const std::string sCarpeta = CarpetaPuntoControl(sSalida);
    const std::string sNueva = sCarpeta + kSufijoNuevo;
    const std::string sAnterior = sCarpeta + kSufijoAnterior;
    // A new folder written whole: what a killed write left of it goes first.
    if (!Borrar(sNueva, sError))
        return false;
    if (!CrearCarpeta(sNueva, sError))
        return false;
    PausaDePrueba();
    std::string sIgnorado;
    bool bEscrita = EscribirArchivoEntero(RutaPoblacionPuntoControl(sNueva), sPoblacion, sError);
    if (bEscrita) {
        PausaDePrueba();
        bEscrita = EscribirArchivoEntero(RutaEstadoPuntoControl(sNueva), sEstado, sError);
    }
    if (!bEscrita) {
        Borrar(sNueva, sIgnorado);
        return false;
    }
    PausaDePrueba();
    // Then the swap. Between its two renames only the previous checkpoint,
    // under its second name, is on disk; LocalizarPuntoControl finds it.
    // Without a current checkpoint, an older one under that name is kept.
    if (ExisteCarpeta(sCarpeta)) {
        if (!Borrar(sAnterior, sError) || !Renombrar(sCarpeta, sAnterior, sError)) {
            Borrar(sNueva, sIgnorado);
            return false;
        }
    }
    PausaDePrueba();
    if (!Renombrar(sNueva, sCarpeta, sError)) {
        if (!ExisteCarpeta(sCarpeta) && ExisteCarpeta(sAnterior))
            Renombrar(sAnterior, sCarpeta, sIgnorado);
        Borrar(sNueva, sIgnorado);
        return false;
    }
    if (!SincronizarCarpeta(CarpetaDe(sCarpeta))) {
        sError = "No se pudo volcar la carpeta " + CarpetaDe(sCarpeta) + " al disco: " + std::strerror(errno);
        return false;
    }
    PausaDePrueba();
    Borrar(sAnterior, sIgnorado);
    return true;
}

bool LocalizarPuntoControl(const std::string& sRuta, std::string& sCarpeta, std::string& sError)
{
    std::string sCandidata = sRuta;
    if (ExisteFichero(sRuta))  // the population file of a checkpoint
        sCandidata = CarpetaDe(sRuta);
    else if (ExisteCarpeta(sRuta) && !EsCarpetaDePuntoControl(sRuta))  // an output folder
        sCandidata = CarpetaPuntoControl(sRuta);
    if (!ExisteCarpeta(sCandidata) && ExisteCarpeta(sCandidata + kSufijoAnterior))
        sCandidata += kSufijoAnterior;
    if (!ExisteCarpeta(sCandidata)) {
        sError = "No hay punto de control en " + sRuta;
        return false;
    }
    sCarpeta = sCandidata;
    return true;
}

bool LeerPuntoControl(const std::string& sCarpeta, std::string& sPoblacion, SEstadoEntrenamiento& estado,
                      std::string& sError)
{
    const std::string sRutaEstado = RutaEstadoPuntoControl(sCarpeta);
    const std::string sRutaPoblacion = RutaPoblacionPuntoControl(sCarpeta);
    std::string sTextoEstado, sTextoPoblacion;
    if (!ExisteFichero(sRutaEstado)) {
        sError = "Falta el fichero de estado " + sRutaEstado + ": sin " + kNombreEstado +
                 " la ejecuci"
                 "\xF3"
                 "n no puede seguir igual que si no se hubiera "
                 "detenido";
        return false;
    }
    if (!LeerFichero(sRutaEstado, sTextoEstado, sError) || !LeerFichero(sRutaPoblacion, sTextoPoblacion, sError))
        return false;
    SEstadoEntrenamiento e;
    std::string sMotivo;
    if (!LeerEstado(sTextoEstado, e, sMotivo)) {
        sError = sRutaEstado + ": " + sMotivo;
        return false;
    }
    if (Huella(sTextoPoblacion) != e.sHuellaPoblacion) {
        sError = sRutaEstado + " no es el estado de " + sRutaPoblacion +
                 " (son de otra ejecuci"
                 "\xF3"
                 "n o de otra generaci"
                 "\xF3"
                 "n)";
        return false;
    }
    sPoblacion.swap(sTextoPoblacion);
    estado = e;
    return true;
}

std::string DiferenciasDeOpciones(const TOpcionesFijas& vGuardadas, const TOpcionesFijas& vAhora)
{
    std::string sDiferencias;
    for (const auto& guardada : vGuardadas) {
        std::string sAhora = "(no existe)";
        for (const auto& ahora : vAhora) {
            if (ahora.first == guardada.first)
                sAhora = ahora.second;
        }
        if (sAhora != guardada.second)
            sDiferencias +=
                "  " + guardada.first + ": " + guardada.second + " en el punto de control, " + sAhora + " ahora\n";
    }
    for (const auto& ahora : vAhora) {
        bool bGuardada = false;
        for (const auto& guardada : vGuardadas)
            bGuardada = bGuardada || guardada.first == ahora.first;
        if (!bGuardada)
            sDiferencias += "  " + ahora.first + ": no consta en el punto de control, " + ahora.second + " ahora\n";
    }
    return sDiferencias;
}
