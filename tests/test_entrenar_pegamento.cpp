// The robot under training: messages in, the robot program's own drain and
// decision, commands out; and evaluation that does not depend on threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "Evaluacion.h"
#include "NEAT/CRedNeuronal.h"
#include "RobotEntrenado.h"
#include "bot/RedIntegrada.h"

namespace {

// 6 inputs, bias, 5 outputs. Radar and cannon turn together at one speed;
// the shoot output (4) fires when input 0 (the radar's distance to a robot)
// is positive; body and motion outputs sit at 0.5.
std::string RedQueDisparaAlVerRobot(double dPeso = 10.0)
{
    CRedNeuronal red;
    std::vector<const SNeurona*> vEntradas;
    for (int i = 0; i < 6; ++i)
        vEntradas.push_back(red.AddNeurona(Neurona_Entrada, i, 0.1 * i, 0.0, 1.0));
    const SNeurona* pSesgo = red.AddNeurona(Neurona_Sesgo, 6, 0.9, 0.0, 1.0);
    for (int k = 0; k < 5; ++k) {
        const SNeurona* pSalida = red.AddNeurona(Neurona_Salida, 7 + k, 0.2 * k, 1.0, 1.0);
        if (k == 1 || k == 2)
            red.AddEnlace(pSesgo, pSalida, 1.0, false);
        if (k == 4) {
            red.AddEnlace(vEntradas[0], pSalida, dPeso, false);
            red.AddEnlace(pSesgo, pSalida, -5.0, false);
        }
    }
    std::ostringstream texto;
    texto << red;
    return texto.str();
}

size_t Contar(const std::string& sTexto, const std::string& sPatron)
{
    size_t n = 0;
    for (size_t p = sTexto.find(sPatron); p != std::string::npos; p = sTexto.find(sPatron, p + 1))
        ++n;
    return n;
}

}  // namespace

TEST(RobotEntrenado, CadaActualizacionDrenaYDecideUnaVez)
{
    CRobotEntrenado robot("entrenado", RedQueDisparaAlVerRobot());
    std::string sComandos;
    robot.Atender("Initialize 1\nYourName entrenado\n", sComandos);
    EXPECT_EQ(sComandos.rfind("Name entrenado\nColour FF0000 0000FF\nRotate 1 ", 0), 0u) << sComandos;
    EXPECT_EQ(Contar(sComandos, "Rotate "), 3u);

    // A robot at 3 m: one decision, which shoots.
    sComandos.clear();
    robot.Atender("Radar 3 0 0.5\nCoordinates 1 2 0\nInfo 0.05 0 0\nEnergy 100\n", sComandos);
    EXPECT_EQ(Contar(sComandos, "Rotate "), 3u);
    EXPECT_EQ(Contar(sComandos, "Shoot "), 1u) << sComandos;

    // The slots were cleared: a wall is no reason to shoot.
    sComandos.clear();
    robot.Atender("Radar 3 2 0.5\nEnergy 100\n", sComandos);
    EXPECT_EQ(Contar(sComandos, "Shoot "), 0u) << sComandos;

    // The stream read to its end before still takes new messages.
    sComandos.clear();
    robot.Atender("Radar 2 0 1.5\n", sComandos);
    EXPECT_EQ(Contar(sComandos, "Shoot "), 1u) << sComandos;
}

TEST(RobotEntrenado, ComandosSeAnyadenALoQueYaHabia)
{
    CRobotEntrenado robot("r", RedQueDisparaAlVerRobot());
    std::string sComandos = "previo\n";
    robot.Atender("Energy 100\n", sComandos);
    EXPECT_EQ(sComandos.rfind("previo\nRotate 1 ", 0), 0u) << sComandos;
}

TEST(RobotEntrenado, ExitRobotTerminaYSeDecideUnaUltimaVez)
{
    CRobotEntrenado robot("r", RedQueDisparaAlVerRobot());
    std::string sComandos;
    robot.Atender("ExitRobot\nRadar 3 0 0.5\n", sComandos);
    EXPECT_TRUE(robot.HaTerminado());
    // The radar message after ExitRobot stays unread: no shot.
    EXPECT_EQ(Contar(sComandos, "Rotate "), 3u);
    EXPECT_EQ(Contar(sComandos, "Shoot "), 0u);
}

TEST(RobotEntrenado, ComprobarRedRechazaRedesQueNoSirvenAlRobot)
{
    std::string sError;
    EXPECT_TRUE(ComprobarRedRobot(kRedIntegrada, "integrada", sError)) << sError;

    CRedNeuronal xor_;
    const SNeurona* a = xor_.AddNeurona(Neurona_Entrada, 0, 0, 0, 1);
    xor_.AddNeurona(Neurona_Entrada, 1, 0, 0, 1);
    xor_.AddNeurona(Neurona_Sesgo, 2, 0, 0, 1);
    const SNeurona* s = xor_.AddNeurona(Neurona_Salida, 3, 0, 1, 1);
    xor_.AddEnlace(a, s, 1.0, false);
    std::ostringstream texto;
    texto << xor_;
    EXPECT_FALSE(ComprobarRedRobot(texto.str(), "xor.txt", sError));
    EXPECT_NE(sError.find("xor.txt"), std::string::npos) << sError;
    // A file that holds no network at all is refused with a message too.
    EXPECT_FALSE(ComprobarRedRobot("no es una red\n", "basura.txt", sError));
    EXPECT_NE(sError.find("basura.txt"), std::string::npos) << sError;
}

// Through the simulated arena: a robot that shoots what it sees hurts a
// still target, one that never shoots does not.
TEST(Evaluacion, LaRedDecideLoQuePasaEnLaPartida)
{
    SConfigEvaluacion config;
    config.dTiempoMaximo = 40.0;
    SEncuentro encuentro;
    encuentro.vRivales = {SRivalEncuentro{Rival_Quieto, "", ""}};
    encuentro.nSemilla = 3;
    const SResultadoEncuentro pacifico = JugarEncuentro(RedQueDisparaAlVerRobot(0.0), encuentro, config);
    EXPECT_EQ(pacifico.propio.nDisparos, 0);
    EXPECT_EQ(pacifico.propio.dDanyoCausado, 0.0);
    EXPECT_FALSE(pacifico.bGana);

    // Output 4 saturates on a robot: full shots along the radar's line.
    const SResultadoEncuentro tirador = JugarEncuentro(RedQueDisparaAlVerRobot(), encuentro, config);
    EXPECT_GT(tirador.propio.nDisparos, 0);
    EXPECT_GT(tirador.propio.dDanyoCausado, 0.0);
    EXPECT_DOUBLE_EQ(tirador.dPuntuacion, PuntuarEncuentro(tirador.propio, 2));
    EXPECT_GT(tirador.dPuntuacion, pacifico.dPuntuacion);
}

TEST(Evaluacion, PuntuacionPremiaGanarDanyoYEnergia)
{
    SResultadoRobot base;
    base.dPuntos = 1;
    base.dDanyoCausado = 10;
    base.dEnergiaRestante = 50;
    SResultadoRobot mas = base;
    mas.dPuntos = 2;
    EXPECT_GT(PuntuarEncuentro(mas, 2), PuntuarEncuentro(base, 2));
    mas = base;
    mas.dDanyoCausado = 20;
    EXPECT_GT(PuntuarEncuentro(mas, 2), PuntuarEncuentro(base, 2));
    mas = base;
    mas.dEnergiaRestante = 60;
    EXPECT_GT(PuntuarEncuentro(mas, 2), PuntuarEncuentro(base, 2));
    EXPECT_GE(PuntuarEncuentro(SResultadoRobot(), 2), 0.0) << "the engine wants scores of zero or more";
}

TEST(Evaluacion, ResultadosIgualesConCualquierNumeroDeHilos)
{
    SConfigEvaluacion config;
    config.dTiempoMaximo = 8.0;
    std::vector<STrabajo> vTrabajos(4);
    for (size_t t = 0; t < vTrabajos.size(); ++t) {
        vTrabajos[t].sRed = t % 2 ? std::string(kRedIntegrada) : RedQueDisparaAlVerRobot();
        for (int k = 0; k < 4; ++k) {
            SEncuentro e;
            e.vRivales = {SRivalEncuentro{static_cast<TRival>(k), "", ""}};
            e.nSemilla = SemillaEncuentro(9, 0, t, static_cast<uint64_t>(k));
            if (k == Rival_Red)
                e.vRivales[0].sRed = kRedIntegrada;
            vTrabajos[t].vEncuentros.push_back(e);
        }
    }
    std::vector<SResultadoTrabajo> vUno, vTres;
    EvaluarTrabajos(vTrabajos, config, 1, vUno);
    EvaluarTrabajos(vTrabajos, config, 3, vTres);
    ASSERT_EQ(vUno.size(), 4u);
    ASSERT_EQ(vTres.size(), 4u);
    for (size_t t = 0; t < vUno.size(); ++t) {
        EXPECT_EQ(vUno[t].dPuntuacion, vTres[t].dPuntuacion) << t;
        ASSERT_EQ(vUno[t].vEncuentros.size(), 4u);
        double dSuma = 0;
        for (size_t e = 0; e < 4; ++e) {
            EXPECT_EQ(vUno[t].vEncuentros[e].propio.dPuntos, vTres[t].vEncuentros[e].propio.dPuntos);
            EXPECT_EQ(vUno[t].vEncuentros[e].vRivales[0].dEnergiaRestante,
                      vTres[t].vEncuentros[e].vRivales[0].dEnergiaRestante);
            dSuma += vUno[t].vEncuentros[e].dPuntuacion;
        }
        EXPECT_DOUBLE_EQ(vUno[t].dPuntuacion, dSuma / 4) << "a job's score is the mean of its matches";
    }
}

TEST(Evaluacion, HilosHacenCadaTareaUnaVez)
{
    for (unsigned nHilos : {0u, 1u, 2u, 7u}) {
        for (size_t nTareas : {size_t(0), size_t(1), size_t(3), size_t(100)}) {
            std::vector<std::atomic<int>> vVeces(nTareas);
            EjecutarEnHilos(nTareas, nHilos, [&](size_t i) { ++vVeces[i]; });
            for (size_t i = 0; i < nTareas; ++i)
                EXPECT_EQ(vVeces[i].load(), 1) << nHilos << " hilos, tarea " << i << " de " << nTareas;
        }
    }
}

TEST(Evaluacion, SemillaDependeDeCadaComponenteYDeSuLugar)
{
    std::set<uint64_t> vistas;
    for (uint64_t g = 0; g < 3; ++g)
        for (uint64_t m = 0; m < 3; ++m)
            for (uint64_t p = 0; p < 3; ++p)
                EXPECT_TRUE(vistas.insert(SemillaEncuentro(5, g, m, p)).second) << g << m << p;
    EXPECT_NE(SemillaEncuentro(5, 0, 0, 0), SemillaEncuentro(6, 0, 0, 0));
    EXPECT_EQ(SemillaEncuentro(5, 1, 2, 3), SemillaEncuentro(5, 1, 2, 3));
}

TEST(Evaluacion, NombresDeRivales)
{
    for (int n = 0; n < kNumTiposRival; ++n) {
        const TRival e = static_cast<TRival>(n);
        TRival leido = Rival_Quieto;
        // A program is named by its path, so its kind's name names no rival.
        EXPECT_EQ(LeerRival(NombreRival(e), leido), e != Rival_Programa);
        EXPECT_EQ(leido, e == Rival_Programa ? Rival_Quieto : e);
    }
    EXPECT_EQ(NombrePrograma("/x/Robots/seek_and_destroy.robot"), "seek_and_destroy");
    EXPECT_EQ(NombrePrograma("./mi_bot"), "mi_bot");
    EXPECT_EQ(NombrePrograma(".robot"), ".robot");
    TRival leido = Rival_Quieto;
    EXPECT_FALSE(LeerRival("Giratorio", leido));
    EXPECT_FALSE(LeerRival("", leido));
}
