#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "NEAT/CRedNeuronal.h"
#include "apoyo/Textos.h"
#include "bot/CRTBot.h"
#include "bot/FuenteRed.h"
#include "bot/RedIntegrada.h"

namespace {

// 6 inputs, the bias, 5 outputs. Output k gets the bias weight vSesgos[k]
// and input k the weight dPesoEntrada.
std::string TextoRed(const std::vector<double>& vSesgos, double dPesoEntrada = 0.0, unsigned nEntradas = 6)
{
    CRedNeuronal red;
    std::vector<const SNeurona*> vEntradas;
    for (unsigned i = 0; i < nEntradas; ++i)
        vEntradas.push_back(red.AddNeurona(Neurona_Entrada, static_cast<int>(i), 0.1 * i, 0.0, 1.0));
    const SNeurona* pSesgo = red.AddNeurona(Neurona_Sesgo, static_cast<int>(nEntradas), 0.9, 0.0, 1.0);
    for (unsigned k = 0; k < vSesgos.size(); ++k) {
        const SNeurona* pSalida =
            red.AddNeurona(Neurona_Salida, static_cast<int>(nEntradas + 1 + k), 0.2 * k, 1.0, 1.0);
        red.AddEnlace(pSesgo, pSalida, vSesgos[k], false);
        if (k < vEntradas.size())
            red.AddEnlace(vEntradas[k], pSalida, dPesoEntrada, false);
    }
    std::ostringstream texto;
    texto << red;
    return texto.str();
}

const std::vector<double> kSesgosNeutros = {0, 0, 0, 0, 0};

double Sigmoide(double x) { return 1.0 / (1.0 + std::exp(-x)); }

std::string LeerArchivo(const std::string& sRuta)
{
    std::ifstream archivo(sRuta.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(archivo), std::istreambuf_iterator<char>());
}

// A robot on string streams, as a simulated arena drives it.
struct SRobotEnMemoria {
    std::stringstream entrada;
    std::ostringstream salida;
    CRTBot bot;

    explicit SRobotEnMemoria(const std::string& sRed = TextoRed(kSesgosNeutros), unsigned nEntradas = 6)
        : bot("robi", sRed, entrada, salida, nEntradas)
    {}

    void Recibir(const std::string& sMensajes)
    {
        entrada.clear();
        entrada << sMensajes;
        bot.ProcesarMensajes();
    }
    std::vector<std::string> Comandos()
    {
        std::vector<std::string> v = Lineas(salida.str());
        salida.str("");
        return v;
    }
    std::string Resto()
    {
        entrada.clear();
        return std::string(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>());
    }
};

// Undoes the escapes of a generated C string literal.
std::string ResolverLiteral(const std::string& sFuente)
{
    std::string sResultado;
    bool bDentro = false;
    for (size_t i = 0; i < sFuente.size(); ++i) {
        const char c = sFuente[i];
        if (c == '"') {
            bDentro = !bDentro;
        } else if (bDentro && c == '\\') {
            const char e = sFuente[++i];
            if (e == 'n')
                sResultado += '\n';
            else if (e >= '0' && e <= '7') {
                sResultado += static_cast<char>(std::stoi(sFuente.substr(i, 3), nullptr, 8));
                i += 2;
            } else
                sResultado += e;
        } else if (bDentro) {
            sResultado += c;
        }
    }
    return sResultado;
}

}  // namespace

TEST(CRTBotMensajes, RadarEscribeDistanciaPorTipoYAnguloSiempre)
{
    SRobotEnMemoria r;
    r.Recibir("Radar 3.5 2 0.7\n");
    EXPECT_EQ(r.bot.GetEntradas(), (TVecDoubles{0, 0, 3.5, 0, 0, 0.7}));

    SRobotEnMemoria fuera;
    fuera.Recibir("Radar 3.5 7 0.7\nRadar 2 -1 0.8\n");
    EXPECT_EQ(fuera.bot.GetEntradas(), (TVecDoubles{0, 0, 0, 0, 0, 0.8}));

    // A later message overwrites what both write; other slots stay.
    SRobotEnMemoria dos;
    dos.Recibir("Radar 4 0 0.1\nRadar 6 2 0.2\nRadar 5 0 0.3\n");
    EXPECT_EQ(dos.bot.GetEntradas(), (TVecDoubles{5, 0, 6, 0, 0, 0.3}));
}

TEST(CRTBotMensajes, ArgumentosConsumidosAunqueNoHayaHueco)
{
    SRobotEnMemoria r;
    r.Recibir("Energy 80\nRadar 1 1 2\nInfo 1.0 2.0 3.0\nRadar 9 3 4\nRobotInfo 50 1\nRadar 7 4 6\n");
    EXPECT_EQ(r.bot.GetEntradas(), (TVecDoubles{0, 1, 0, 9, 7, 6}));
    EXPECT_TRUE(r.salida.str().empty());
}

TEST(CRTBotMensajes, DoceHuecosRecibenEnergiaInfoYRobotInfo)
{
    SRobotEnMemoria r(TextoRed(kSesgosNeutros), 12);
    r.Recibir("Info 1.0 2.0 3.0\nEnergy 80\nRobotInfo 50 1\n");
    const TVecDoubles esperado = {0, 0, 0, 0, 0, 0, 80, 3.0, 2.0, 1.0, 50, 1};
    EXPECT_EQ(r.bot.GetEntradas(), esperado);
    r.bot.SetEntrada(12, 5.0);  // beyond the slots: ignored
    EXPECT_EQ(r.bot.GetEntradas(), esperado);
}

TEST(CRTBotMensajes, InitializeContestaNombreYColorYSuArgumentoSeDescarta)
{
    SRobotEnMemoria r;
    r.Recibir("Initialize 1\nRadar 2 0 0.5\n");
    EXPECT_EQ(r.Comandos(), (std::vector<std::string>{"Name robi", "Colour FF0000 0000FF"}));
    EXPECT_EQ(r.bot.GetEntradas()[0], 2.0);
}

TEST(CRTBotMensajes, NombresExactosYArgumentosQueDeletreanMensajes)
{
    SRobotEnMemoria r;
    // Neither a prefix, a longer word nor another case is a message; an
    // argument that spells one is taken as that message.
    r.Recibir("radar 1 0 1\nRadarX 1 0 1\nRada 1 0 1\nYourName Radar 1 3 2\n");
    EXPECT_EQ(r.bot.GetEntradas(), (TVecDoubles{0, 0, 0, 1, 0, 2}));
}

TEST(CRTBotMensajes, ExitRobotDejaElRestoSinLeer)
{
    SRobotEnMemoria r;
    r.Recibir("Radar 2 0 1\nExitRobot\nRadar 3 1 1\nInitialize 1\n");
    EXPECT_TRUE(r.bot.HaTerminado());
    EXPECT_EQ(r.bot.GetEntradas()[1], 0.0);
    EXPECT_EQ(r.Resto(), "\nRadar 3 1 1\nInitialize 1\n");
    EXPECT_TRUE(r.salida.str().empty());
}

TEST(CRTBotMensajes, LecturaFallidaTerminaElDrenajeYElSiguienteSigue)
{
    SRobotEnMemoria r;
    r.Recibir("Radar lejos 0 1\nRadar 2 1 1\n");
    EXPECT_EQ(r.bot.GetEntradas(), (TVecDoubles(6, 0.0)));
    // The next drain starts over where the failed one stopped.
    r.Recibir("Radar 3 2 1\n");
    EXPECT_EQ(r.bot.GetEntradas(), (TVecDoubles{0, 2, 3, 0, 0, 1}));
}

TEST(CRTBotMensajes, PalabrasLargasYBasuraNoRompenNada)
{
    SRobotEnMemoria r;
    std::string sBasura = "\x01\xff\x80 ";
    sBasura += std::string(100000, 'R') + " Radar" + std::string(5000, 'x') + " 1 0 1\n";
    sBasura += "Radar 1" + std::string(3000, '0') + " 4 0.5\n";
    r.Recibir(sBasura + "Radar 2 3 0.25\n");
    // The number out of range fails its read and ends that drain; the next
    // drain goes on from there.
    EXPECT_EQ(r.bot.GetEntradas(), (TVecDoubles(6, 0.0)));
    r.Recibir("");
    EXPECT_EQ(r.bot.GetEntradas(), (TVecDoubles{0, 0, 0, 2, 0, 0.25}));
}

TEST(CRTBotMensajes, MensajeCortadoAlFinalSePierdeSinArrastrarAlSiguiente)
{
    SRobotEnMemoria r;
    r.Recibir("Radar 3.5 2");
    EXPECT_EQ(r.bot.GetEntradas(), (TVecDoubles(6, 0.0)));
    r.Recibir(" 0.7\nRadar 1 1 0.2\n");
    EXPECT_EQ(r.bot.GetEntradas(), (TVecDoubles{0, 1, 0, 0, 0, 0.2}));
}

TEST(CRTBotComandos, FormatoYUmbrales)
{
    SRobotEnMemoria r;
    r.bot.Girar(Objeto_Canyon, 1.0);
    r.bot.Girar(Objeto_Radar, -0.5);
    r.bot.Girar(Objeto_Robot, 0.0);
    r.bot.Acelerar(0.5);
    r.bot.Acelerar(-0.5);
    r.bot.Acelerar(-0.500001);
    r.bot.Frenar(0.0);
    r.bot.Frenar(0.3);
    r.bot.Disparar(0.49);
    r.bot.Disparar(0.5);
    r.bot.Disparar(1.0);
    r.bot.Disparar(0.1234567 + 0.5);
    EXPECT_EQ(r.Comandos(),
              (std::vector<std::string>{"Rotate 2 0.785398", "Rotate 4 -0.392699", "Rotate 1 0", "Accelerate 1",
                                        "Accelerate -0.5", "Brake 0.3", "Shoot 0", "Shoot 30", "Shoot 7.4074"}));
}

TEST(CRTBotDecision, SalidasNeutrasDanAcelerarMenosMedioYDisparoCero)
{
    SRobotEnMemoria r;
    r.bot.TomarDecisiones();
    EXPECT_EQ(r.Comandos(),
              (std::vector<std::string>{"Rotate 1 0", "Rotate 4 0", "Rotate 2 0", "Accelerate -0.5", "Shoot 0"}));
    EXPECT_EQ(r.bot.GetSalidasRed(), (TVecDoubles(5, 0.5)));
}

TEST(CRTBotDecision, FrenoYSinDisparoPorDebajoDeMedio)
{
    SRobotEnMemoria r(TextoRed({3, -3, 1, -1, -0.5}));
    r.bot.TomarDecisiones();
    const std::vector<std::string> v = r.Comandos();
    ASSERT_EQ(v.size(), 4u);
    auto Valor = [&](size_t i) { return std::stod(v[i].substr(v[i].rfind(' '))); };
    EXPECT_EQ(v[0].substr(0, 9), "Rotate 1 ");
    EXPECT_NEAR(Valor(0), (2 * Sigmoide(3) - 1) * 0.785398, 1e-5);
    EXPECT_EQ(v[1].substr(0, 9), "Rotate 4 ");
    EXPECT_NEAR(Valor(1), (2 * Sigmoide(-3) - 1) * 0.785398, 1e-5);
    EXPECT_EQ(v[2].substr(0, 9), "Rotate 2 ");
    EXPECT_NEAR(Valor(2), (2 * Sigmoide(1) - 1) * 0.785398, 1e-5);
    EXPECT_EQ(v[3].substr(0, 6), "Brake ");
    EXPECT_NEAR(Valor(3), 2 * Sigmoide(-1), 1e-5);
}

TEST(CRTBotDecision, AceleracionPositivaDuplicada)
{
    SRobotEnMemoria r(TextoRed({0, 0, 0, 2, 0}));
    r.bot.TomarDecisiones();
    const std::vector<std::string> v = r.Comandos();
    ASSERT_EQ(v.size(), 5u);
    ASSERT_EQ(v[3].substr(0, 11), "Accelerate ");
    EXPECT_NEAR(std::stod(v[3].substr(11)), 2 * ((Sigmoide(2) - 0.5) * 3 - 0.5), 1e-5);
}

TEST(CRTBotDecision, LaRedVeLosHuecosYLuegoSeVacian)
{
    // Input k feeds output k with weight 1.
    SRobotEnMemoria r(TextoRed(kSesgosNeutros, 1.0));
    r.Recibir("Radar 2 0 0.5\nRadar 1.5 3 0.5\n");
    r.bot.TomarDecisiones();
    const TVecDoubles esperado = {Sigmoide(2), 0.5, 0.5, Sigmoide(1.5), 0.5};
    for (size_t k = 0; k < 5; ++k)
        EXPECT_DOUBLE_EQ(r.bot.GetSalidasRed()[k], esperado[k]);
    EXPECT_EQ(r.bot.GetEntradas(), (TVecDoubles(6, 0.0)));
    // No message since: the network sees zeros.
    r.bot.TomarDecisiones();
    EXPECT_EQ(r.bot.GetSalidasRed(), (TVecDoubles(5, 0.5)));
}

TEST(CRTBotRed, RequisitosDeLaRed)
{
    CRedNeuronal red;
    std::istringstream(TextoRed(kSesgosNeutros)) >> red;
    EXPECT_TRUE(RedApropiadaParaBot(red, 6));
    EXPECT_FALSE(RedApropiadaParaBot(red, 5));  // more inputs than slots

    CRedNeuronal cuatro;
    std::istringstream(TextoRed({0, 0, 0, 0})) >> cuatro;
    EXPECT_FALSE(RedApropiadaParaBot(cuatro, 6));

    CRedNeuronal sinSesgo;
    sinSesgo.AddNeurona(Neurona_Entrada, 0, 0, 0, 1);
    for (int k = 0; k < 6; ++k)
        sinSesgo.AddNeurona(Neurona_Salida, 1 + k, 0, 1, 1);
    EXPECT_FALSE(RedApropiadaParaBot(sinSesgo, 6));
}

TEST(CRTBotDeathTest, RedIlegibleOInservibleTerminaElProceso)
{
    std::stringstream entrada;
    std::ostringstream salida;
    EXPECT_EXIT(CRTBot("r", "abc\\x", entrada, salida, 6), ::testing::ExitedWithCode(255),
                "ERROR \\(.*CRedNeuronal.cpp,[0-9]+\\): Fallo decodificando red neuronal");
    EXPECT_EXIT(CRTBot("r", TextoRed({0, 0, 0}), entrada, salida, 6), ::testing::ExitedWithCode(255),
                "ERROR \\(.*CRTBot.cpp,[0-9]+\\): La red integrada no sirve al robot");
    EXPECT_EXIT(CRTBot("r", TextoRed(kSesgosNeutros, 0.0, 7), entrada, salida, 6), ::testing::ExitedWithCode(255),
                "no sirve al robot");
}

TEST(FuenteRed, LiteralAsciiTroceadoQueResuelveAlTexto)
{
    std::string sTexto = "\\n\\\\\\\"";
    for (int c = 1; c < 256; ++c) {
        if (c != '\\' && c != '"')
            sTexto += static_cast<char>(c);
    }
    sTexto += "0123";  // digits right after an octal escape stay digits
    const std::string sLiteral = GenerarLiteralRed(sTexto);
    for (const std::string& sLinea : Lineas(sLiteral)) {
        EXPECT_LE(sLinea.size(), 4 + kAnchoLiteral + 2);
        EXPECT_EQ(sLinea.substr(0, 5), "    \"");
        EXPECT_EQ(sLinea.back(), '"');
        for (char c : sLinea)
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << static_cast<int>(static_cast<unsigned char>(c));
    }
    std::string sEsperado = "\n\\\"";
    sEsperado += sTexto.substr(6);
    EXPECT_EQ(ResolverLiteral(sLiteral), sEsperado);
    EXPECT_EQ(GenerarLiteralRed(""), "    \"\"\n");
}

TEST(FuenteRed, FuenteCompletaLlevaLaRedIntacta)
{
    const std::string sTexto = TextoRed({0.25, -1, 2, 0.5, -0.125}, 0.75);
    const std::string sFuente = GenerarFuenteRedIntegrada(sTexto);
    EXPECT_NE(sFuente.find("#include \"RedIntegrada.h\""), std::string::npos);
    EXPECT_NE(sFuente.find("const char* const kRedIntegrada =\n"), std::string::npos);
    EXPECT_EQ(sFuente.substr(sFuente.size() - 3), "\";\n");
    EXPECT_GT(Lineas(sFuente).size(), 10u);
    EXPECT_EQ(ResolverLiteral(sFuente.substr(sFuente.find('='))), sTexto);
}

TEST(RedIntegrada, SirveAlRobotYSuFuenteEsLaGenerada)
{
    CRedNeuronal red;
    std::string sPlano;
    ASSERT_TRUE(DecodificarTextoRed(kRedIntegrada, sPlano));
    ASSERT_TRUE(CargarTextoPlanoRed(sPlano, red));
    EXPECT_TRUE(RedApropiadaParaBot(red, 6));
    EXPECT_EQ(LeerArchivo(RUTA_RED_INTEGRADA), GenerarFuenteRedIntegrada(kRedIntegrada));
}

// The hand-made network shipped until an evolved one replaces it.
class RedManual : public ::testing::Test {
protected:
    RedManual() : r(TextoDeArchivo()) {}

    static std::string TextoDeArchivo()
    {
        CRedNeuronal red;
        EXPECT_TRUE(CargarTextoPlanoRed(LeerArchivo(RUTA_RED_MANUAL), red));
        std::ostringstream texto;
        texto << red;
        return texto.str();
    }
    std::vector<std::string> Decidir(const std::string& sMensajes)
    {
        r.Recibir(sMensajes);
        r.bot.TomarDecisiones();
        return r.Comandos();
    }
    static double Valor(const std::string& s) { return std::stod(s.substr(s.rfind(' '))); }

    SRobotEnMemoria r;
};

TEST_F(RedManual, ApuntaYDisparaAUnRobotCercano)
{
    const std::vector<std::string> v = Decidir("Radar 3.5 0 0.7\nRobotInfo 100 0\nEnergy 100\n");
    ASSERT_EQ(v.size(), 5u);
    EXPECT_EQ(v[0], "Rotate 1 0");
    EXPECT_EQ(v[1], "Rotate 4 0");
    EXPECT_EQ(v[2], "Rotate 2 0");
    EXPECT_EQ(v[4].substr(0, 6), "Shoot ");
    EXPECT_GT(Valor(v[4]), 1.0);
}

TEST_F(RedManual, BuscaGirandoRadarYCanyonJuntosSinDisparar)
{
    for (const char* szMensajes : {"", "Radar 9 2 0.3\n", "Radar 9 0 0.3\n"}) {
        const std::vector<std::string> v = Decidir(szMensajes);
        ASSERT_EQ(v.size(), 4u) << szMensajes;
        EXPECT_EQ(v[3].substr(0, 11), "Accelerate ") << szMensajes;
        if (std::string(szMensajes).find(" 0 ") != std::string::npos)
            continue;  // a far robot: held in sight, not shot at
        EXPECT_GT(Valor(v[0]), 0.05);
        EXPECT_GT(Valor(v[1]), 0.3);
        EXPECT_EQ(v[1].substr(9), v[2].substr(9));
        EXPECT_GT(Valor(v[3]), 0.0);
    }
}

TEST_F(RedManual, RetrocedeCercaDeUnaPared)
{
    const std::vector<std::string> v = Decidir("Radar 1 2 0.3\n");
    ASSERT_EQ(v.size(), 4u);
    ASSERT_EQ(v[3].substr(0, 11), "Accelerate ");
    EXPECT_LT(Valor(v[3]), 0.0);
}
