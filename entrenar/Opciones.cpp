#include "Opciones.h"

#include <cerrno>
#include <cstdlib>

namespace {

// Walks the arguments of one command.
class CLectorArgumentos {
public:
    CLectorArgumentos(int argc, char** argv, int nInicio) : m_argc(argc), m_argv(argv), m_i(nInicio) {}

    bool Fin() const { return m_i >= m_argc; }
    std::string Siguiente() { return m_argv[m_i++]; }

    bool Texto(const std::string& sOpcion, std::string& sValor, std::string& sError)
    {
        if (Fin()) {
            sError = "Falta el valor de " + sOpcion;
            return false;
        }
        sValor = Siguiente();
        return true;
    }

    bool Entero(const std::string& sOpcion, long nMin, long nMax, long& nValor, std::string& sError)
    {
        std::string sValor;
        if (!Texto(sOpcion, sValor, sError))
            return false;
        char* pFin = nullptr;
        errno = 0;
        nValor = std::strtol(sValor.c_str(), &pFin, 10);
        if (sValor.empty() || *pFin != '\0' || errno != 0 || nValor < nMin || nValor > nMax) {
            sError =
                "Valor no v"
                "\xE1"
                "lido para " +
                sOpcion + ": '" + sValor + "' (entre " + std::to_string(nMin) + " y " + std::to_string(nMax) + ")";
            return false;
        }
        return true;
    }

    bool Real(const std::string& sOpcion, double dMin, double dMax, double& dValor, std::string& sError)
    {
        std::string sValor;
        if (!Texto(sOpcion, sValor, sError))
            return false;
        char* pFin = nullptr;
        errno = 0;
        dValor = std::strtod(sValor.c_str(), &pFin);
        if (sValor.empty() || *pFin != '\0' || errno != 0 || !(dValor >= dMin && dValor <= dMax)) {
            sError =
                "Valor no v"
                "\xE1"
                "lido para " +
                sOpcion + ": '" + sValor + "'";
            return false;
        }
        return true;
    }

private:
    int m_argc;
    char** m_argv;
    int m_i;
};

template <typename T>
bool LeerEntero(CLectorArgumentos& lector, const std::string& sOpcion, long nMin, long nMax, T& valor,
                std::string& sError)
{
    long nValor = 0;
    if (!lector.Entero(sOpcion, nMin, nMax, nValor, sError))
        return false;
    valor = static_cast<T>(nValor);
    return true;
}

const long kMaxSemilla = 4294967295L;

// Options shared by the commands that play matches. bReconocida tells
// whether sOpcion was one of them.
bool LeerOpcionPartida(CLectorArgumentos& lector, const std::string& sOpcion, SConfigEvaluacion& config,
                       bool& bReconocida, std::string& sError)
{
    bReconocida = true;
    if (sOpcion == "--tiempo")
        return lector.Real(sOpcion, 1.0, 1e5, config.dTiempoMaximo, sError);
    if (sOpcion == "--arena") {
        std::string sArena;
        if (!lector.Texto(sOpcion, sArena, sError))
            return false;
        if (sArena == "circulo")
            config.eArena = Arena_Circulo;
        else if (sArena == "cuadrado")
            config.eArena = Arena_Cuadrado;
        else {
            sError = "Arena desconocida: " + sArena + " (circulo o cuadrado)";
            return false;
        }
        return true;
    }
    bReconocida = false;
    return true;
}

std::string OpcionDesconocida(const std::string& sOpcion)
{
    return "Opci"
           "\xF3"
           "n desconocida: " +
           sOpcion;
}

}  // namespace

bool LeerListaRivales(const std::string& sLista, std::vector<TRival>& vRivales, std::string& sError)
{
    std::vector<TRival> vLeidos;
    size_t nInicio = 0;
    while (nInicio <= sLista.size()) {
        size_t nComa = sLista.find(',', nInicio);
        if (nComa == std::string::npos)
            nComa = sLista.size();
        const std::string sNombre = sLista.substr(nInicio, nComa - nInicio);
        TRival eRival;
        if (!LeerRival(sNombre, eRival)) {
            sError = "Rival desconocido: '" + sNombre + "' (giratorio, buscador, quieto, poblacion)";
            return false;
        }
        vLeidos.push_back(eRival);
        nInicio = nComa + 1;
    }
    vRivales = vLeidos;
    return true;
}

std::string TextoRivales(const std::vector<TRival>& vRivales)
{
    std::string sTexto;
    for (TRival eRival : vRivales)
        sTexto += (sTexto.empty() ? "" : ",") + std::string(NombreRival(eRival));
    return sTexto;
}

bool LeerOpcionesRobot(int argc, char** argv, int nInicio, SOpcionesRobot& o, std::string& sError)
{
    CLectorArgumentos lector(argc, argv, nInicio);
    while (!lector.Fin()) {
        const std::string sOpcion = lector.Siguiente();
        bool bOk = true, bReconocida = false;
        if (sOpcion == "--poblacion")
            bOk = LeerEntero(lector, sOpcion, 2, 100000, o.nPoblacion, sError);
        else if (sOpcion == "--generaciones")
            bOk = LeerEntero(lector, sOpcion, 0, 1000000, o.nGeneraciones, sError);
        else if (sOpcion == "--semilla")
            bOk = LeerEntero(lector, sOpcion, 0, kMaxSemilla, o.nSemilla, sError);
        else if (sOpcion == "--hilos")
            bOk = LeerEntero(lector, sOpcion, 1, 256, o.nHilos, sError);
        else if (sOpcion == "--partidas")
            bOk = LeerEntero(lector, sOpcion, 1, 1000, o.nPartidas, sError);
        else if (sOpcion == "--salida")
            bOk = lector.Texto(sOpcion, o.sSalida, sError);
        else if (sOpcion == "--punto-control")
            bOk = LeerEntero(lector, sOpcion, 0, 1000000, o.nIntervaloControl, sError);
        else if (sOpcion == "--reanudar")
            bOk = lector.Texto(sOpcion, o.sReanudar, sError);
        else if (sOpcion == "--instalar")
            o.bInstalar = true;
        else if (sOpcion == "--fuente-red")
            bOk = lector.Texto(sOpcion, o.sFuenteRed, sError);
        else if (sOpcion == "--silencio")
            o.bSilencio = true;
        else if (sOpcion == "--sin-informe")
            o.bInforme = false;
        else if (sOpcion == "--validacion")
            bOk = LeerEntero(lector, sOpcion, 0, 100000, o.nValidacion, sError);
        else if (sOpcion == "--espera-mpi")
            bOk = lector.Real(sOpcion, 1.0, 1e6, o.dEsperaMPI, sError);
        else if (sOpcion == "--rivales") {
            std::string sLista;
            bOk = lector.Texto(sOpcion, sLista, sError) && LeerListaRivales(sLista, o.vRivales, sError);
        } else {
            bOk = LeerOpcionPartida(lector, sOpcion, o.evaluacion, bReconocida, sError);
            if (bOk && !bReconocida) {
                sError = OpcionDesconocida(sOpcion);
                bOk = false;
            }
        }
        if (!bOk)
            return false;
    }
    return true;
}

bool LeerOpcionesXor(int argc, char** argv, int nInicio, SOpcionesXor& o, std::string& sError)
{
    CLectorArgumentos lector(argc, argv, nInicio);
    while (!lector.Fin()) {
        const std::string sOpcion = lector.Siguiente();
        bool bOk = true;
        if (sOpcion == "--ejecuciones")
            bOk = LeerEntero(lector, sOpcion, 1, 100000, o.nEjecuciones, sError);
        else if (sOpcion == "--poblacion")
            bOk = LeerEntero(lector, sOpcion, 2, 100000, o.nPoblacion, sError);
        else if (sOpcion == "--generaciones")
            bOk = LeerEntero(lector, sOpcion, 1, 1000000, o.nGeneraciones, sError);
        else if (sOpcion == "--semilla")
            bOk = LeerEntero(lector, sOpcion, 0, kMaxSemilla, o.nSemilla, sError);
        else if (sOpcion == "--salida")
            bOk = lector.Texto(sOpcion, o.sSalida, sError);
        else if (sOpcion == "--silencio")
            o.bSilencio = true;
        else {
            sError = OpcionDesconocida(sOpcion);
            bOk = false;
        }
        if (!bOk)
            return false;
    }
    return true;
}

bool LeerOpcionesPolos(int argc, char** argv, int nInicio, SOpcionesPolos& o, std::string& sError)
{
    const std::string sTarea = nInicio < argc ? argv[nInicio] : "";
    if (!LeerTareaPolos(sTarea, o.eTarea)) {
        sError = (sTarea.empty() ? std::string("Falta la tarea") : "Tarea desconocida: " + sTarea) +
                 " (simple, doble o doble-sin-velocidades)";
        return false;
    }
    CLectorArgumentos lector(argc, argv, nInicio + 1);
    while (!lector.Fin()) {
        const std::string sOpcion = lector.Siguiente();
        bool bOk = true;
        if (sOpcion == "--ejecuciones")
            bOk = LeerEntero(lector, sOpcion, 1, 100000, o.nEjecuciones, sError);
        else if (sOpcion == "--poblacion")
            bOk = LeerEntero(lector, sOpcion, 2, 100000, o.nPoblacion, sError);
        else if (sOpcion == "--generaciones")
            bOk = LeerEntero(lector, sOpcion, 1, 1000000, o.nGeneraciones, sError);
        else if (sOpcion == "--semilla")
            bOk = LeerEntero(lector, sOpcion, 0, kMaxSemilla, o.nSemilla, sError);
        else if (sOpcion == "--hilos")
            bOk = LeerEntero(lector, sOpcion, 1, 256, o.nHilos, sError);
        else if (sOpcion == "--salida")
            bOk = lector.Texto(sOpcion, o.sSalida, sError);
        else if (sOpcion == "--silencio")
            o.bSilencio = true;
        else if (sOpcion == "--sin-informe")
            o.bInforme = false;
        else {
            sError = OpcionDesconocida(sOpcion);
            bOk = false;
        }
        if (!bOk)
            return false;
    }
    return true;
}

bool LeerOpcionesJugar(int argc, char** argv, int nInicio, SOpcionesJugar& o, std::string& sError)
{
    CLectorArgumentos lector(argc, argv, nInicio);
    while (!lector.Fin()) {
        const std::string sOpcion = lector.Siguiente();
        bool bOk = true, bReconocida = false;
        if (sOpcion == "--red")
            bOk = lector.Texto(sOpcion, o.sRed, sError);
        else if (sOpcion == "--partidas")
            bOk = LeerEntero(lector, sOpcion, 1, 1000000, o.nPartidas, sError);
        else if (sOpcion == "--semilla")
            bOk = LeerEntero(lector, sOpcion, 0, kMaxSemilla, o.nSemilla, sError);
        else if (sOpcion == "--hilos")
            bOk = LeerEntero(lector, sOpcion, 1, 256, o.nHilos, sError);
        else if (sOpcion == "--rivales") {
            std::string sLista;
            bOk = lector.Texto(sOpcion, sLista, sError) && LeerListaRivales(sLista, o.vRivales, sError);
        } else if (sOpcion == "--red-rival")
            bOk = lector.Texto(sOpcion, o.sRedRival, sError);
        else if (sOpcion == "--grabar")
            bOk = lector.Texto(sOpcion, o.sGrabar, sError);
        else if (sOpcion == "--silencio")
            o.bSilencio = true;
        else {
            bOk = LeerOpcionPartida(lector, sOpcion, o.evaluacion, bReconocida, sError);
            if (bOk && !bReconocida) {
                sError = OpcionDesconocida(sOpcion);
                bOk = false;
            }
        }
        if (!bOk)
            return false;
    }
    return true;
}

std::string TextoAyuda()
{
    return "Uso: entrenar <orden> [opciones]\n"
           "\n"
           "entrenar robot   evoluciona la red del robot en la arena simulada\n"
           "  --poblacion N       miembros de la poblaci"
           "\xF3"
           "n (100)\n"
           "  --generaciones N    generaciones a evolucionar (40)\n"
           "  --semilla N         semilla de la ejecuci"
           "\xF3"
           "n (1)\n"
           "  --hilos N           hilos de evaluaci"
           "\xF3"
           "n (2)\n"
           "  --partidas N        partidas por miembro y generaci"
           "\xF3"
           "n (4)\n"
           "  --rivales LISTA     rivales por turno, de giratorio, buscador, quieto y poblacion\n"
           "                      (buscador,giratorio,buscador,quieto)\n"
           "  --tiempo S          segundos de juego por partida (120)\n"
           "  --arena A           circulo o cuadrado (circulo)\n"
           "  --salida DIR        carpeta de resultados (salida_robot)\n"
           "  --punto-control N   guarda la poblaci"
           "\xF3"
           "n cada N generaciones (5; 0 = al final)\n"
           "  --reanudar FICHERO  contin"
           "\xFA"
           "a desde una poblaci"
           "\xF3"
           "n guardada\n"
           "  --validacion N      partidas por rival para elegir la red final (10)\n"
           "  --instalar          escribe la mejor red en la fuente de la red integrada del robot\n"
           "  --fuente-red RUTA   fuente que escribe --instalar (" ENTRENAR_RUTA_RED_INTEGRADA
           ")\n"
           "  --espera-mpi S      con mpirun: espera m"
           "\xE1"
           "xima por un lote de otro proceso (600)\n"
           "  --sin-informe       no genera informe.html\n"
           "  --silencio          sin l"
           "\xED"
           "nea de progreso\n"
           "\n"
           "entrenar xor     evoluciona redes para el XOR\n"
           "  --ejecuciones N     ejecuciones independientes (1)\n"
           "  --poblacion N       miembros (150)\n"
           "  --generaciones N    generaciones como mucho por ejecuci"
           "\xF3"
           "n (300)\n"
           "  --semilla N         semilla de la primera ejecuci"
           "\xF3"
           "n (1)\n"
           "  --salida DIR        carpeta de resultados (salida_xor)\n"
           "  --silencio          sin l"
           "\xED"
           "nea de progreso\n"
           "\n"
           "entrenar polos TAREA   evoluciona redes que equilibran polos sobre un carro;\n"
           "                 TAREA: simple, doble o doble-sin-velocidades\n"
           "  --ejecuciones N     ejecuciones independientes (1)\n"
           "  --poblacion N       miembros (150; 1000 en doble-sin-velocidades)\n"
           "  --generaciones N    generaciones como mucho por ejecuci"
           "\xF3"
           "n (300)\n"
           "  --semilla N         semilla de la primera ejecuci"
           "\xF3"
           "n (1)\n"
           "  --hilos N           hilos de evaluaci"
           "\xF3"
           "n (2)\n"
           "  --salida DIR        carpeta de resultados (salida_polos_TAREA)\n"
           "  --sin-informe       no genera informe.html\n"
           "  --silencio          sin l"
           "\xED"
           "nea de progreso\n"
           "\n"
           "entrenar jugar   juega partidas de una red y muestra el marcador\n"
           "  --red FICHERO       red en forma de texto (la red integrada del robot)\n"
           "  --partidas N        partidas por rival (10)\n"
           "  --rivales LISTA     giratorio,buscador,quieto,poblacion (giratorio,buscador,quieto)\n"
           "  --red-rival FICHERO red del rival 'poblacion' (la misma red)\n"
           "  --semilla N         semilla (1)\n"
           "  --hilos N           hilos (2)\n"
           "  --tiempo S          segundos de juego por partida (120)\n"
           "  --arena A           circulo o cuadrado (circulo)\n"
           "  --grabar FICHERO    graba la primera partida en JSON\n"
           "  --silencio          sin l"
           "\xED"
           "nea de progreso\n";
}
