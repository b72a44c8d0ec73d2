#include "Opciones.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <locale>
#include <sstream>

#include "Comun/TablaOpciones.h"
#include "LectorArena.h"
#include "PuntoControl.h"

namespace {

std::vector<std::string> Partir(const std::string& sTexto, char cSeparador)
{
    std::vector<std::string> vPartes;
    size_t nInicio = 0;
    for (;;) {
        const size_t nFin = sTexto.find(cSeparador, nInicio);
        vPartes.push_back(sTexto.substr(nInicio, nFin == std::string::npos ? std::string::npos : nFin - nInicio));
        if (nFin == std::string::npos)
            return vPartes;
        nInicio = nFin + 1;
    }
}

const long kMaxSemilla = 4294967295L;

}  // namespace

namespace {

// Adds the arenas that one item of --arena names: a built-in arena (its
// text), a random one (an empty text stands for it), a file or every .arena
// of a folder.
bool AnyadirArenas(const std::string& sArena, SConfigEvaluacion& config, std::string& sError)
{
    if (sArena == "circulo" || sArena == "cuadrado" || sArena == kArenaAleatoria) {
        config.vsArenas.push_back(sArena == "circulo"    ? TextoArenaCirculo()
                                  : sArena == "cuadrado" ? TextoArenaCuadrado()
                                                         : "");
        config.vsNombresArenas.push_back(sArena);
        return true;
    }
    std::error_code error;
    std::vector<std::string> vsRutas;
    if (std::filesystem::is_directory(sArena, error)) {
        for (const auto& entrada : std::filesystem::directory_iterator(sArena, error)) {
            if (entrada.path().extension() == ".arena" && entrada.is_regular_file(error))
                vsRutas.push_back(entrada.path().string());
        }
        std::sort(vsRutas.begin(), vsRutas.end());
        if (vsRutas.empty()) {
            sError = "No hay archivos .arena en " + sArena;
            return false;
        }
    } else if (std::filesystem::exists(sArena, error)) {
        vsRutas.push_back(sArena);
    } else {
        sError = "no existe: " + sArena;
        return false;
    }
    for (const std::string& sRuta : vsRutas) {
        std::string sTexto;
        if (!CargarArena(sRuta, sTexto, sError))
            return false;
        config.vsArenas.push_back(sTexto);
        config.vsNombresArenas.push_back(sRuta);
    }
    return true;
}

}  // namespace

std::string ArenasReceta()
{
    return std::string(ENTRENAR_RUTA_ARENAS) + ",aleatoria,aleatoria,aleatoria,aleatoria,aleatoria,aleatoria";
}

// The folder of the recipe's arenas is found where the program was built;
// when it is gone, a run that names no --arena is refused with the reason.
SOpcionesRobot::SOpcionesRobot()
{
    evaluacion.dTiempoMaximo = kTiempoReceta;
    if (!LeerArenas(ArenasReceta(), evaluacion, sErrorArenas))
        evaluacion.sArena = ArenasReceta();
}

bool LeerArenas(const std::string& sArena, SConfigEvaluacion& config, std::string& sError)
{
    // Read into a copy: a list refused halfway leaves config as it was.
    SConfigEvaluacion leida = config;
    leida.sArena = sArena;
    leida.vsArenas.clear();
    leida.vsNombresArenas.clear();
    if (sArena == "circulo" || sArena == "cuadrado" || sArena == kArenaAleatoria) {
        leida.eArena = sArena == "circulo" ? Arena_Circulo : sArena == "cuadrado" ? Arena_Cuadrado : Arena_Aleatoria;
    } else {
        for (const std::string& sItem : Partir(sArena, ',')) {
            if (sItem.empty()) {
                sError = "arenas separadas por comas";
                return false;
            }
            if (!AnyadirArenas(sItem, leida, sError))
                return false;
        }
        leida.eArena = Arena_Archivo;
    }
    config = leida;
    return true;
}

namespace {

// Options shared by the commands that play matches.
void OpcionesPartida(CTablaOpciones& t, SConfigEvaluacion& config)
{
    t.Real("--tiempo", "S", 1.0, 1e5, config.dTiempoMaximo, "segundos de juego por partida");
    t.Otra(
        "--arena", "A[,B]", config.sArena,
        "circulo, cuadrado, aleatoria, un archivo .arena o una carpeta; varias separadas por comas",
        [&config](const std::string& sArena, std::string& sError) { return LeerArenas(sArena, config, sError); },
        "arena de las partidas: una carpeta reparte las partidas entre sus archivos .arena");
}

void OpcionSilencio(CTablaOpciones& t, bool& bSilencio)
{
    t.Bandera("--silencio", bSilencio, true,
              "sin l"
              "\xED"
              "nea de progreso");
}

// Commands that run several independent evolutions seed each from this one.
void OpcionSemillaEjecuciones(CTablaOpciones& t, unsigned& nSemilla)
{
    t.Entero("--semilla", "N", 0, kMaxSemilla, nSemilla,
             "semilla de la primera ejecuci"
             "\xF3"
             "n (las siguientes, +1, +2...)");
}

const char* const kNombresRivales = "giratorio, buscador, cazador, orbitador, quieto, poblacion, campeones";

CTablaOpciones::TLector LectorRivales(std::vector<TGrupoRivales>& vRivales)
{
    return [&vRivales](const std::string& sLista, std::string& sError) {
        return LeerListaRivales(sLista, vRivales, sError);
    };
}

// Only a training run has champions to field.
bool SinCampeones(const std::vector<TGrupoRivales>& vRivales, std::string& sError)
{
    for (const TGrupoRivales& grupo : vRivales) {
        if (std::find(grupo.begin(), grupo.end(), Rival_Campeon) != grupo.end()) {
            sError = "los campeones solo existen en 'entrenar robot': use poblacion con --red-rival";
            return false;
        }
    }
    return true;
}

CTablaOpciones::TLector LectorRivalesJugar(SOpcionesJugar& o)
{
    return [&o](const std::string& sLista, std::string& sError) {
        return LeerRivalesJugar(sLista, o.vRivales, o.vProgramasRivales, sError);
    };
}

const char* const kRangoGuion = "giratorio, buscador, cazador, orbitador o quieto";

CTablaOpciones::TLector LectorGuion(SOpcionesJugar& o)
{
    return [&o](const std::string& sNombre, std::string& sError) {
        TRival eRival = Rival_Red;
        if (!LeerRival(sNombre, eRival) || !EsRivalGuion(eRival)) {
            sError = std::string("un guion: ") + kRangoGuion;
            return false;
        }
        o.eGuion = eRival;
        return true;
    };
}

const char* const kRangoRivales =
    "lista separada por comas de giratorio, buscador, cazador, orbitador, quieto, poblacion y campeones; "
    "con + pelean juntos en una partida";
const char* const kRangoRivalesJugar =
    "lista separada por comas de giratorio, buscador, cazador, orbitador, quieto, poblacion, robots de "
    "ejemplo de la arena real por nombre o programas de robot por ruta; con + pelean juntos en una partida";

// "K,N": the K best networks, N real games each on every arena and rival.
bool LeerEtapaReal(const std::string& sValor, SOpcionesRobot& o, std::string& sError)
{
    const size_t nComa = sValor.find(',');
    char* pFin = nullptr;
    const long nRedes = std::strtol(sValor.c_str(), &pFin, 10);
    const bool bRedes = nComa != std::string::npos && nComa > 0 && pFin == sValor.c_str() + nComa;
    const long nPartidas = bRedes ? std::strtol(sValor.c_str() + nComa + 1, &pFin, 10) : 0;
    if (!bRedes || *pFin != '\0' || nComa + 1 == sValor.size() || nRedes < 1 || nRedes > 8 || nPartidas < 1 ||
        nPartidas > 10000) {
        sError = "K de 1 a 8 redes, N de 1 a 10000 partidas";
        return false;
    }
    o.nEtapaRealRedes = static_cast<int>(nRedes);
    o.nEtapaRealPartidas = static_cast<int>(nPartidas);
    return true;
}

void TablaRobot(CTablaOpciones& t, SOpcionesRobot& o)
{
    t.Entero("--poblacion", "N", 2, 100000, o.nPoblacion,
             "miembros de la poblaci"
             "\xF3"
             "n");
    t.Entero("--generaciones", "N", 1, 1000000, o.nGeneraciones,
             "generaci"
             "\xF3"
             "n en la que parar (contada desde el principio, tambi"
             "\xE9"
             "n al reanudar)");
    t.Entero("--semilla", "N", 0, kMaxSemilla, o.nSemilla,
             "semilla de la ejecuci"
             "\xF3"
             "n");
    t.Entero("--hilos", "N", 1, 256, o.nHilos,
             "hilos de evaluaci"
             "\xF3"
             "n");
    t.Entero("--partidas", "N", 1, 1000, o.nPartidas,
             "partidas por miembro y generaci"
             "\xF3"
             "n");
    t.Otra("--rivales", "LISTA", TextoRivales(o.vRivales), kRangoRivales, LectorRivales(o.vRivales),
           "rivales por turno (poblacion: otro miembro; campeones: un l"
           "\xED"
           "der de una generaci"
           "\xF3"
           "n anterior); p. ej. buscador,giratorio+buscador+quieto");
    OpcionesPartida(t, o.evaluacion);
    t.Texto("--salida", "DIR", o.sSalida, "carpeta de resultados", o.sSalida);
    t.Entero("--punto-control", "N", 0, 1000000, o.nIntervaloControl,
             "guarda el punto de control cada N generaciones (0 = solo al final)");
    t.Texto("--reanudar", "RUTA", o.sReanudar,
            "contin"
            "\xFA"
            "a una ejecuci"
            "\xF3"
            "n detenida desde su punto de control (la carpeta de resultados o su punto_control/), "
            "igual que si no se hubiera detenido",
            "");
    t.Texto("--red-inicial", "RED", o.sRedInicial,
            "de d"
            "\xF3"
            "nde sale la red con que empieza cada miembro: disenyada (una red de partida hecha a mano), "
            "ninguna (pesos al azar) o un fichero de red en forma de texto (las entradas, el sesgo, las "
            "salidas y, tras ellas, neuronas ocultas)",
            o.sRedInicial);
    t.Entero("--validacion", "N", 0, 100000, o.nValidacion,
             "partidas por rival para elegir la red final por su colocaci"
             "\xF3"
             "n media (0 = la mejor puntuaci"
             "\xF3"
             "n de entrenamiento)");
    t.Bandera("--instalar", o.bInstalar, true, "escribe la red elegida en la fuente de la red integrada del robot");
    t.Texto("--fuente-red", "RUTA", o.sFuenteRed, "fuente que escribe --instalar", o.sFuenteRed);
    t.Otra(
        "--etapa-real", "K,N", "sin etapa", "K de 1 a 8 redes, N partidas",
        [&o](const std::string& sValor, std::string& sError) { return LeerEtapaReal(sValor, o, sError); },
        "al final, las K mejores redes juegan N partidas por arena y rival en la arena real; la de m"
        "\xE1"
        "s puntos por partida es la final");
    t.Texto("--rtb", "PREFIJO", o.sRtb,
            "instalaci"
            "\xF3"
            "n de la arena real para --etapa-real",
            "RTB_PREFIX, luego el PATH");
    t.Real("--espera-mpi", "S", 1.0, 1e6, o.dEsperaMPI,
           "con mpirun: espera m"
           "\xE1"
           "xima por un lote de otro proceso");
    t.Bandera("--sin-informe", o.bInforme, false, "no genera informe.html");
    OpcionSilencio(t, o.bSilencio);
    t.Ejemplo("entrenar robot --poblacion 150 --generaciones 100 --salida salida_robot");
}

void TablaXor(CTablaOpciones& t, SOpcionesXor& o)
{
    t.Entero("--ejecuciones", "N", 1, 100000, o.nEjecuciones, "ejecuciones independientes");
    t.Entero("--poblacion", "N", 2, 100000, o.nPoblacion, "miembros");
    t.Entero("--generaciones", "N", 1, 1000000, o.nGeneraciones,
             "generaciones como mucho por ejecuci"
             "\xF3"
             "n");
    OpcionSemillaEjecuciones(t, o.nSemilla);
    t.Texto("--salida", "DIR", o.sSalida, "carpeta de resultados", o.sSalida);
    OpcionSilencio(t, o.bSilencio);
    t.Ejemplo("entrenar xor --ejecuciones 10 --semilla 5");
}

void TablaJugar(CTablaOpciones& t, SOpcionesJugar& o)
{
    t.Texto("--red", "FICHERO", o.sRed, "red en forma de texto", "la red integrada del robot");
    t.Texto("--programa", "RUTA", o.sPrograma,
            "programa de robot que juega en lugar de la red (el bot u otro), arrancado como lo arranca la arena", "");
    t.Otra("--guion", "NOMBRE", "", kRangoGuion, LectorGuion(o),
           "robot con guion que juega en lugar de la red: mide a los rivales entre s"
           "\xED");
    t.Entero("--partidas", "N", 1, 1000000, o.nPartidas, "partidas contra cada rival");
    t.Otra("--rivales", "LISTA", TextoRivales(o.vRivales), kRangoRivalesJugar, LectorRivalesJugar(o),
           "rivales, uno tras otro; con + una melee; con programas, las partidas dependen del tiempo real "
           "(cada programa tiene --espera ms por paso)");
    t.Entero("--espera", "MS", 5, 1000, o.evaluacion.nMsRespuesta,
             "milisegundos que cada programa de robot tiene para responder en cada paso (menos: partidas m"
             "\xE1"
             "s r"
             "\xE1"
             "pidas, pero un programa lento llega tarde)");
    t.Texto("--rtb", "PREFIJO", o.sRtb,
            "instalaci"
            "\xF3"
            "n de la arena real donde se buscan los rivales nombrados por nombre",
            "RTB_PREFIX, luego el PATH");
    t.Texto("--red-rival", "FICHERO", o.sRedRival, "red del rival poblacion", "la misma red");
    t.Entero("--semilla", "N", 0, kMaxSemilla, o.nSemilla, "semilla");
    t.Entero("--hilos", "N", 1, 256, o.nHilos, "hilos");
    OpcionesPartida(t, o.evaluacion);
    t.Texto("--grabar", "FICHERO", o.sGrabar,
            "graba en JSON una partida de la red (o de quien juegue en su lugar) contra todos los rivales a la vez",
            "");
    OpcionSilencio(t, o.bSilencio);
    t.Ejemplo("entrenar jugar --red salida_robot/mejor_red.txt --partidas 100 --rivales buscador");
}

void TablaPolos(CTablaOpciones& t, SOpcionesPolos& o, std::string& sTarea)
{
    t.Posicional("TAREA", sTarea, true, "simple, doble o doble-sin-velocidades");
    t.Entero("--ejecuciones", "N", 1, 100000, o.nEjecuciones, "ejecuciones independientes");
    t.Entero("--poblacion", "N", 2, 100000, o.nPoblacion, "miembros");
    t.Defecto("150; 200 en doble-sin-velocidades");
    t.Entero("--generaciones", "N", 1, 1000000, o.nGeneraciones,
             "generaciones como mucho por ejecuci"
             "\xF3"
             "n");
    t.Defecto("300; 600 en doble-sin-velocidades");
    t.Entero("--intento", "N", 0, 1000000, o.nGeneracionesPorIntento,
             "generaciones por intento: sin soluci"
             "\xF3"
             "n tras N, la ejecuci"
             "\xF3"
             "n empieza de nuevo con otra poblaci"
             "\xF3"
             "n (0, nunca)");
    t.Defecto("0; 100 en doble-sin-velocidades");
    OpcionSemillaEjecuciones(t, o.nSemilla);
    t.Entero("--hilos", "N", 1, 256, o.nHilos,
             "hilos de evaluaci"
             "\xF3"
             "n");
    t.Texto("--salida", "DIR", o.sSalida, "carpeta de resultados", "salida_polos_TAREA");
    t.Bandera("--sin-informe", o.bInforme, false, "no genera informe.html");
    OpcionSilencio(t, o.bSilencio);
    t.Ejemplo("entrenar polos doble --ejecuciones 10");
}

void TablaTorneo(CTablaOpciones& t, SOpcionesTorneo& o)
{
    t.Texto("--rtb", "PREFIJO", o.sRtb,
            "instalaci"
            "\xF3"
            "n de la arena real (PREFIJO/bin/realtimebattle)",
            "RTB_PREFIX, luego el PATH");
    t.Entero("--partidas", "N", 1, 100000, o.nPartidas, "partidas por arena y mezcla de rivales");
    t.Otra(
        "--arena", "A[,B]", "Circle", "arenas instaladas por nombre o ficheros propios por ruta",
        [&o](const std::string& sValor, std::string& sError) {
            for (const std::string& sArena : Partir(sValor, ',')) {
                if (sArena.empty()) {
                    sError = "nombres de arena separados por comas";
                    return false;
                }
                o.vsArenas.push_back(sArena);
            }
            return true;
        },
        "arenas; repetible");
    std::string sRivales;
    for (const TMezclaReal& mezcla : o.vMezclas)
        sRivales += (sRivales.empty() ? "" : ",") + TextoMezcla(mezcla);
    t.Otra(
        "--rivales", "LISTA", sRivales,
        "robots de ejemplo por nombre o programas por ruta; a+b es una melee, las comas separan mezclas",
        [&o](const std::string& sValor, std::string& sError) { return LeerMezclasReales(sValor, o.vMezclas, sError); },
        "mezclas de rivales, una tras otra");
    t.Texto("--red", "FICHERO", o.sRed, "red que juega el robot construido", "la red integrada");
    t.Texto("--robot", "PROGRAMA", o.sRobot, "programa de robot que juega en lugar del robot construido",
            "el robot construido");
    t.Real("--tiempo", "S", 1.0, 1e5, o.dTiempo, "segundos de juego por partida");
    t.Real("--escala", "X", 0.1, 100.0, o.dEscala, "segundos de juego por segundo real");
    t.Real("--limite", "S", 1.0, 1e7, o.dLimite, "segundos reales como mucho por arena y mezcla");
    t.Defecto(
        "seg"
        "\xFA"
        "n las partidas");
    t.Texto("--salida", "DIR", o.sSalida, "carpeta de torneo.csv", o.sSalida);
    OpcionSilencio(t, o.bSilencio);
    t.Ejemplo("entrenar torneo --partidas 10 --arena Circle,Star --rivales seek_and_destroy,xt-bot-a+xt-bot-b");
}

const char* const kDescripcionTorneo = "Juega torneos en la arena real instalada y muestra la tabla del robot.";
const char* const kDescripcionPolos = "Evoluciona redes que equilibran polos sobre un carro.";
const char* const kDescripcionRobot = "Evoluciona la red del robot en la arena simulada.";
const char* const kDescripcionXor = "Evoluciona redes para el XOR.";
const char* const kDescripcionJugar = "Juega partidas de una red contra los rivales y muestra el marcador.";

}  // namespace

bool LeerMezclasReales(const std::string& sLista, std::vector<TMezclaReal>& vMezclas, std::string& sError)
{
    std::vector<TMezclaReal> vLeidas;
    for (const std::string& sMezcla : Partir(sLista, ',')) {
        const TMezclaReal mezcla = Partir(sMezcla, '+');
        for (const std::string& sRobot : mezcla) {
            if (sRobot.empty()) {
                sError =
                    "Lista de rivales no v"
                    "\xE1"
                    "lida: '" +
                    sLista + "' (a+b,c: comas entre mezclas, + en una melee)";
                return false;
            }
        }
        vLeidas.push_back(mezcla);
    }
    vMezclas = vLeidas;
    return true;
}

bool LeerRivalesJugar(const std::string& sLista, std::vector<TGrupoRivales>& vRivales,
                      std::vector<std::vector<std::string>>& vProgramas, std::string& sError)
{
    std::vector<TMezclaReal> vMezclas;
    if (!LeerMezclasReales(sLista, vMezclas, sError))
        return false;
    std::vector<TGrupoRivales> vLeidos;
    std::vector<std::vector<std::string>> vLeidosProgramas;
    bool bProgramas = false;
    for (const TMezclaReal& mezcla : vMezclas) {
        if (mezcla.size() > kMaxRivalesGrupo) {
            sError = "Demasiados rivales juntos en '" + TextoMezcla(mezcla) + "': como mucho " +
                     std::to_string(kMaxRivalesGrupo);
            return false;
        }
        TGrupoRivales grupo;
        std::vector<std::string> vsProgramas;
        for (const std::string& sRival : mezcla) {
            TRival eRival = Rival_Programa;
            const bool bGuion = LeerRival(sRival, eRival);
            grupo.push_back(eRival);
            vsProgramas.push_back(bGuion ? "" : sRival);
            bProgramas = bProgramas || !bGuion;
        }
        vLeidos.push_back(grupo);
        vLeidosProgramas.push_back(vsProgramas);
    }
    if (!SinCampeones(vLeidos, sError))
        return false;
    vRivales = vLeidos;
    vProgramas = bProgramas ? vLeidosProgramas : std::vector<std::vector<std::string>>();
    return true;
}

std::string TextoMezcla(const TMezclaReal& mezcla)
{
    std::string sTexto;
    for (const std::string& sRobot : mezcla)
        sTexto += (sTexto.empty() ? "" : "+") + sRobot;
    return sTexto;
}

bool LeerOpcionesTorneo(int argc, char** argv, int nInicio, SOpcionesTorneo& o, std::string& sError)
{
    CTablaOpciones t("entrenar torneo", kDescripcionTorneo);
    TablaTorneo(t, o);
    if (!t.Leer(argc, argv, nInicio, o.bAyuda, sError))
        return false;
    if (!o.sRed.empty() && !o.sRobot.empty()) {
        sError = "--red y --robot no van juntas: --red lo juega el robot construido";
        return false;
    }
    return true;
}

std::string AyudaTorneo()
{
    SOpcionesTorneo o;
    CTablaOpciones t("entrenar torneo", kDescripcionTorneo);
    TablaTorneo(t, o);
    return t.Ayuda();
}

bool LeerGrupoRivales(const std::string& sGrupo, TGrupoRivales& grupo, std::string& sError)
{
    grupo.clear();
    size_t nInicio = 0;
    while (nInicio <= sGrupo.size()) {
        size_t nMas = sGrupo.find('+', nInicio);
        if (nMas == std::string::npos)
            nMas = sGrupo.size();
        const std::string sNombre = sGrupo.substr(nInicio, nMas - nInicio);
        TRival eRival;
        if (!LeerRival(sNombre, eRival)) {
            sError = "Rival desconocido: '" + sNombre + "' (" + kNombresRivales + ")";
            return false;
        }
        grupo.push_back(eRival);
        nInicio = nMas + 1;
    }
    if (grupo.size() > kMaxRivalesGrupo) {
        sError = "Demasiados rivales juntos en '" + sGrupo + "': como mucho " + std::to_string(kMaxRivalesGrupo);
        return false;
    }
    return true;
}

bool LeerListaRivales(const std::string& sLista, std::vector<TGrupoRivales>& vRivales, std::string& sError)
{
    std::vector<TGrupoRivales> vLeidos;
    size_t nInicio = 0;
    while (nInicio <= sLista.size()) {
        size_t nComa = sLista.find(',', nInicio);
        if (nComa == std::string::npos)
            nComa = sLista.size();
        TGrupoRivales grupo;
        if (!LeerGrupoRivales(sLista.substr(nInicio, nComa - nInicio), grupo, sError))
            return false;
        vLeidos.push_back(grupo);
        nInicio = nComa + 1;
    }
    vRivales = vLeidos;
    return true;
}

std::string TextoGrupoRivales(const TGrupoRivales& grupo)
{
    std::string sTexto;
    for (TRival eRival : grupo)
        sTexto += (sTexto.empty() ? "" : "+") + std::string(NombreRival(eRival));
    return sTexto;
}

std::string TextoRivales(const std::vector<TGrupoRivales>& vRivales)
{
    std::string sTexto;
    for (const TGrupoRivales& grupo : vRivales)
        sTexto += (sTexto.empty() ? "" : ",") + TextoGrupoRivales(grupo);
    return sTexto;
}

namespace {

// Arena files by their content, wherever they are read from.
std::string TextoArenas(const SConfigEvaluacion& config)
{
    if (config.vsArenas.empty())
        return config.sArena;
    std::string sTextos;
    for (const std::string& sTexto : config.vsArenas)
        sTextos += std::to_string(sTexto.size()) + ":" + sTexto;
    return std::to_string(config.vsArenas.size()) + " archivos de arena, huella " + Huella(sTextos);
}

}  // namespace

TOpcionesFijas OpcionesQueFijanLaEjecucion(const SOpcionesRobot& o)
{
    std::ostringstream tiempo;
    tiempo.imbue(std::locale::classic());
    tiempo.precision(std::numeric_limits<double>::max_digits10);
    tiempo << o.evaluacion.dTiempoMaximo;
    return {{"--poblacion", std::to_string(o.nPoblacion)},
            {"--semilla", std::to_string(o.nSemilla)},
            {"--partidas", std::to_string(o.nPartidas)},
            {"--rivales", TextoRivales(o.vRivales)},
            {"--tiempo", tiempo.str()},
            {"--arena", TextoArenas(o.evaluacion)},
            {"--validacion", std::to_string(o.nValidacion)}};
}

bool LeerOpcionesRobot(int argc, char** argv, int nInicio, SOpcionesRobot& o, std::string& sError)
{
    CTablaOpciones t("entrenar robot", kDescripcionRobot);
    TablaRobot(t, o);
    if (!t.Leer(argc, argv, nInicio, o.bAyuda, sError))
        return false;
    if (!o.bAyuda && !o.sErrorArenas.empty() && o.evaluacion.sArena == ArenasReceta()) {
        sError = "no se pudieron leer las arenas de la receta (" + o.sErrorArenas + "): indique --arena";
        return false;
    }
    return true;
}

bool LeerOpcionesXor(int argc, char** argv, int nInicio, SOpcionesXor& o, std::string& sError)
{
    CTablaOpciones t("entrenar xor", kDescripcionXor);
    TablaXor(t, o);
    return t.Leer(argc, argv, nInicio, o.bAyuda, sError);
}

bool LeerOpcionesJugar(int argc, char** argv, int nInicio, SOpcionesJugar& o, std::string& sError)
{
    CTablaOpciones t("entrenar jugar", kDescripcionJugar);
    TablaJugar(t, o);
    if (!t.Leer(argc, argv, nInicio, o.bAyuda, sError))
        return false;
    if (EsRivalGuion(o.eGuion) && !o.sPrograma.empty()) {
        sError = "--guion y --programa no van juntos: uno solo juega en lugar de la red";
        return false;
    }
    return true;
}

bool LeerOpcionesPolos(int argc, char** argv, int nInicio, SOpcionesPolos& o, std::string& sError)
{
    CTablaOpciones t("entrenar polos", kDescripcionPolos);
    std::string sTarea;
    TablaPolos(t, o, sTarea);
    if (!t.Leer(argc, argv, nInicio, o.bAyuda, sError))
        return false;
    if (!o.bAyuda && !LeerTareaPolos(sTarea, o.eTarea)) {
        sError = "Tarea desconocida: " + sTarea + " (simple, doble o doble-sin-velocidades)";
        return false;
    }
    return true;
}

std::string AyudaPolos()
{
    SOpcionesPolos o;
    std::string sTarea;
    CTablaOpciones t("entrenar polos", kDescripcionPolos);
    TablaPolos(t, o, sTarea);
    return t.Ayuda();
}

std::string AyudaRobot()
{
    SOpcionesRobot o;
    CTablaOpciones t("entrenar robot", kDescripcionRobot);
    TablaRobot(t, o);
    return t.Ayuda();
}

std::string AyudaXor()
{
    SOpcionesXor o;
    CTablaOpciones t("entrenar xor", kDescripcionXor);
    TablaXor(t, o);
    return t.Ayuda();
}

std::string AyudaJugar()
{
    SOpcionesJugar o;
    CTablaOpciones t("entrenar jugar", kDescripcionJugar);
    TablaJugar(t, o);
    return t.Ayuda();
}
