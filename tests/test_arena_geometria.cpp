// Arena files and wall geometry: the reader, the radar and swept contacts
// against every shape kind, bounces with each wall's coefficients, and
// placement, with values worked out by hand.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CPartida.h"
#include "LectorArena.h"

namespace {

CGeometria Leer(const std::string& sTexto)
{
    CGeometria geo;
    std::string sError;
    EXPECT_TRUE(LeerArena(sTexto, "prueba", geo, sError)) << sError;
    return geo;
}

std::string ErrorDe(const std::string& sTexto)
{
    CGeometria geo;
    std::string sError;
    EXPECT_FALSE(LeerArena(sTexto, "a.arena", geo, sError)) << sTexto;
    EXPECT_TRUE(geo.GetFiguras().empty());
    return sError;
}

// Radar: distance to the surface along the ray, -1 when nothing is hit.
double Radar(const CGeometria& geo, double dX, double dY, double dAngulo)
{
    SContacto c;
    return geo.Cruce(dX, dY, std::cos(dAngulo), std::sin(dAngulo), 0.0, 1e10, c) ? c.dDistancia : -1.0;
}

const std::string kCabecera = "scale 1\nboundary -20 -20 20 20\n";

}  // namespace

TEST(ArenaGeometria, RadarContraCadaFigura)
{
    // Enclosing circle: from (3, 0) along +x, 9.9 - 3.
    const CGeometria circulo = Leer(kCabecera + "inner_circle 1 1 0 0 9.9\n");
    EXPECT_NEAR(Radar(circulo, 3, 0, 0), 6.9, 1e-12);
    EXPECT_NEAR(Radar(circulo, 0, 0, 1.0), 9.9, 1e-12);

    // Pillar of radius 1 at (5, 0): seen only when the ray points at it.
    const CGeometria pilar = Leer(kCabecera + "circle 1 1 5 0 1\n");
    EXPECT_NEAR(Radar(pilar, 0, 0, 0), 4, 1e-12);
    EXPECT_NEAR(Radar(pilar, 5, -4, kPi / 2), 3, 1e-12);
    EXPECT_EQ(Radar(pilar, 0, 0, kPi / 2), -1);
    EXPECT_EQ(Radar(pilar, 0, 0, kPi), -1);

    // Wall 1 thick along x = 3 from y = -5 to 5: faces at 2.5 and 3.5, ends open.
    const CGeometria linea = Leer(kCabecera + "line 1 1 1 3 -5 3 5\n");
    EXPECT_NEAR(Radar(linea, 0, 0, 0), 2.5, 1e-12);
    EXPECT_NEAR(Radar(linea, 0, 0, kPi / 4), 2.5 * std::sqrt(2.0), 1e-12);
    EXPECT_NEAR(Radar(linea, 6, 1, kPi), 2.5, 1e-12);
    EXPECT_EQ(Radar(linea, 0, 6, 0), -1);         // passes beyond its end
    EXPECT_EQ(Radar(linea, 3, -8, kPi / 2), -1);  // along the axis: no end faces

    // Ring sector 4..5 over [-45, 45] degrees.
    const CGeometria arco = Leer(kCabecera + "angle_unit degrees\narc 1 1 0 0 4 5 -45 45\n");
    EXPECT_NEAR(Radar(arco, 0, 0, 0), 4, 1e-12);     // inner face from inside
    EXPECT_NEAR(Radar(arco, 10, 0, kPi), 5, 1e-12);  // outer face from outside
    EXPECT_EQ(Radar(arco, 0, 0, kPi / 2), -1);       // outside its angles
    EXPECT_NEAR(Radar(arco, -10, 0, 0), 14, 1e-12);  // through the opening onto the inner face

    // The nearest of several wins.
    const CGeometria varias = Leer(kCabecera + "inner_circle 1 1 0 0 9.9\ncircle 1 1 5 0 1\ncircle 1 1 -3 0 1\n");
    EXPECT_NEAR(Radar(varias, 0, 0, 0), 4, 1e-12);
    EXPECT_NEAR(Radar(varias, 0, 0, kPi), 2, 1e-12);
    EXPECT_NEAR(Radar(varias, 0, 0, kPi / 2), 9.9, 1e-12);
}

TEST(ArenaGeometria, ContactoDeUnDiscoYSuNormal)
{
    struct SCaso {
        std::string sFigura;
        double dX, dContacto, dNX;
    } vCasos[] = {
        {"circle 1 1 5 0 1\n", 0, 3.5, -1},
        {"inner_circle 1 1 0 0 9.9\n", 0, 9.4, -1},
        {"line 1 1 1 3 -5 3 5\n", 0, 2.0, -1},
        {"arc 1 1 0 0 4 5 -1 1\n", 0, 3.5, -1},   // inside the mid radius: inward
        {"arc 1 1 10 0 4 5 2 -2\n", 0, 4.5, -1},  // outside: outward; the sector wraps past pi
    };
    for (const SCaso& caso : vCasos) {
        const CGeometria geo = Leer(kCabecera + caso.sFigura);
        SContacto c;
        ASSERT_TRUE(geo.Cruce(caso.dX, 0, 1, 0, 0.5, 100, c)) << caso.sFigura;
        EXPECT_NEAR(c.dDistancia, caso.dContacto, 1e-12) << caso.sFigura;
        EXPECT_NEAR(c.dNX, caso.dNX, 1e-12) << caso.sFigura;
        EXPECT_NEAR(c.dNY, 0, 1e-12) << caso.sFigura;
        EXPECT_EQ(c.nFigura, 0);
        // Touching and moving away: no contact; touching and pushing: at once.
        const double dX = caso.dX + caso.dContacto;
        EXPECT_FALSE(geo.Cruce(dX, 0, -1, 0, 0.5, 100, c)) << caso.sFigura;
        ASSERT_TRUE(geo.Cruce(dX, 0, 1, 0, 0.5, 100, c));
        EXPECT_EQ(c.dDistancia, 0);
    }
}

TEST(ArenaLector, CadaOrdenDaSusFiguras)
{
    const CGeometria geo = Leer(
        "scale 2\nboundary -5 -5 5 5\nexclusion_point 1 1\n"
        "polygon 0.5 0.25 0.5 3 0 0 1 0 1 1\n"       // 3 discs, 2 lines
        "closed_polygon 0.5 0.25 0 3 0 0 1 0 1 1\n"  // 3 lines, no discs
        "polygon 1 1 1 1 -3 -3\n");                  // a pillar
    const std::vector<SFigura>& v = geo.GetFiguras();
    ASSERT_EQ(v.size(), 9u);
    EXPECT_EQ(geo.GetX2(), 10);
    EXPECT_EQ(geo.GetExclusiones(), std::vector<double>({2, 2}));
    EXPECT_EQ(v[0].eTipo, Figura_Circulo);
    EXPECT_EQ(v[0].dRadio, 0.5);  // half of the scaled thickness
    EXPECT_EQ(v[2].eTipo, Figura_Linea);
    EXPECT_EQ(v[2].dRebote, 0.5);
    EXPECT_EQ(v[2].dDureza, 0.25);
    EXPECT_EQ(v[2].dX2, 2);
    EXPECT_EQ(v[7].eTipo, Figura_Linea);  // closing side back to (0, 0)
    EXPECT_EQ(v[7].dX2, 0);
    EXPECT_EQ(v[8].eTipo, Figura_Circulo);
    EXPECT_EQ(v[8].dX1, -6);
}

TEST(ArenaLector, CurvaConTramosArcosYGiros)
{
    // From (0, 0) heading +x: 2 straight, a quarter turn clockwise of radius 1
    // (centre (2, -1)), a turn of 90 degrees counter-clockwise, 1 straight.
    const CGeometria geo = Leer(kCabecera + "angle_unit degrees\npoly_curve 1 1 0.2 0 0 1 0 L 2 A 90 1 T -90 L 1 Q\n");
    const std::vector<SFigura>& v = geo.GetFiguras();
    ASSERT_EQ(v.size(), 7u);  // disc, line, disc, arc, disc, line, disc
    EXPECT_EQ(v[3].eTipo, Figura_Arco);
    EXPECT_NEAR(v[3].dX1, 2, 1e-12);
    EXPECT_NEAR(v[3].dY1, -1, 1e-12);
    EXPECT_NEAR(v[3].dRadioInterior, 0.9, 1e-12);
    EXPECT_NEAR(v[3].dRadio, 1.1, 1e-12);
    EXPECT_NEAR(v[3].dAngulo1, 0, 1e-12);
    EXPECT_NEAR(v[3].dAngulo2, kPi / 2, 1e-12);
    EXPECT_NEAR(v[4].dX1, 3, 1e-12);  // pen at (3, -1) heading -y, then turned to +x
    EXPECT_NEAR(v[4].dY1, -1, 1e-12);
    EXPECT_NEAR(v[5].dX2, 4, 1e-12);
    EXPECT_NEAR(v[5].dY2, -1, 1e-12);
    // 'C' closes back to the start with a line.
    const CGeometria cerrada = Leer(kCabecera + "poly_curve 1 1 0 0 0 0 1 L 2 T 90 L 2 C\n");
    ASSERT_EQ(cerrada.GetFiguras().size(), 3u);
    EXPECT_NEAR(cerrada.GetFiguras()[2].dX1, 2, 1e-12);
    EXPECT_NEAR(cerrada.GetFiguras()[2].dY1, 2, 1e-12);
}

TEST(ArenaLector, RechazaConArchivoYLinea)
{
    struct SCaso {
        std::string sTexto, sError;
    } vCasos[] = {
        {"", "a.arena:1: la primera orden debe ser 'scale'"},
        {"\nscale 1\n", "a.arena:1: la primera orden debe ser 'scale'"},
        {"scale 1\nscale 2\n", "a.arena:2: 'scale' repetida"},
        {"scale 0\n", "a.arena:1: escala no positiva"},
        {"scale 1\ncircle 1 1 0 0 1\n", "a.arena:2: 'circle' antes de 'boundary'"},
        {"scale 1\n", "a.arena:2: falta 'boundary'"},
        {"scale 1\nboundary 0 0 0 5\n", "a.arena:2: 'boundary' sin tama\xF1o positivo"},
        {kCabecera + "boundary 0 0 1 1\n", "a.arena:3: 'boundary' repetido"},
        {kCabecera + "wall 1 1\n", "a.arena:3: orden desconocida: 'wall'"},
        {kCabecera + "circle\t1 1 0 0 1\n", "a.arena:3: falta un espacio tras 'circle'"},
        {kCabecera + "circle 1 1 0 0\n\n", "a.arena:3: falta un n\xFAmero"},
        {kCabecera + "circle 1 1 0 nan 1\n", "a.arena:3: n\xFAmero no v\xE1lido: nan"},
        {kCabecera + "circle 1 1 0 1e400 1\n", "a.arena:3: n\xFAmero no v\xE1lido: 1e400"},
        {kCabecera + "circle 1 1 0 0 -1\n", "a.arena:3: radio no positivo"},
        {kCabecera + "line 1 1 1 2 2\n 2 2\n", "a.arena:4: segmento de longitud cero"},
        {kCabecera + "polygon 1 1 1 4.0 0 0 1 1 2 2 3 3\n", "a.arena:3: se esperaba un entero: 4.0"},
        {kCabecera + "polygon 1 1 1 2000000000 0 0\n", "a.arena:3: n\xFAmero de v\xE9rtices no v\xE1lido"},
        {kCabecera + "polygon 1 1 1 3\n 0 0\n 1 1\n", "a.arena:3: falta un n\xFAmero"},
        {kCabecera + "closed_polygon 1 1 1 3 0 0 1 1 0 0\n", "a.arena:3: segmento de longitud cero"},
        {kCabecera + "poly_curve 1 1 1 0 0 1 0 L 2 A 90 1\n", "a.arena:3: 'poly_curve' sin 'C' ni 'Q' al final"},
        {kCabecera + "poly_curve 1 1 1 0 0 1 0 C\n", "a.arena:3: segmento de longitud cero"},
        {kCabecera + "poly_curve 1 1 1 0 0 1 0 L 0 Q\n", "a.arena:3: 'L' con longitud no positiva"},
        {kCabecera + "poly_curve 1 1 1 0 0 1 0 X Q\n", "a.arena:3: orden de 'poly_curve' desconocida: 'X'"},
        {kCabecera + "poly_curve 1 1 1 0 0 0 0 Q\n", "a.arena:3: direcci\xF3n nula"},
        {kCabecera + "arc 1 1 0 0 5 4 0 1\n", "a.arena:3: radios del arco no v\xE1lidos (0 <= interior < exterior)"},
        {kCabecera + "angle_unit degrees \n",
         "a.arena:3: unidad de \xE1ngulo desconocida (radians o degrees, sola en su l\xEDnea): 'degrees '"},
        {kCabecera + "circle -1 1 0 0 1\n", "a.arena:3: rebote o dureza fuera de [0, 100]"},
        {kCabecera + "circle 1 1 0 1e8 1\n", "a.arena:3: medida demasiado grande"},
    };
    for (const SCaso& caso : vCasos)
        EXPECT_EQ(ErrorDe(caso.sTexto), caso.sError);
}

TEST(ArenaLector, ArenasIncluidas)
{
    const CGeometria circulo = Leer(TextoArenaCirculo());
    ASSERT_EQ(circulo.GetFiguras().size(), 1u);
    EXPECT_EQ(circulo.GetFiguras()[0].dRebote, 0.9);
    EXPECT_EQ(circulo.GetFiguras()[0].dDureza, 1.0);
    const CGeometria cuadrado = Leer(TextoArenaCuadrado());
    for (double dAngulo = 0; dAngulo < 2 * kPi; dAngulo += 0.1) {
        const double dEsperada = 9.7 / std::max(std::fabs(std::cos(dAngulo)), std::fabs(std::sin(dAngulo)));
        EXPECT_NEAR(Radar(cuadrado, 0, 0, dAngulo), dEsperada, 1e-9);
    }
}

namespace {

SControlador Guion(TControlador eTipo)
{
    SControlador c;
    c.eTipo = eTipo;
    return c;
}

bool ConfigurarArchivo(CPartida& partida, const std::string& sTexto, uint64_t nSemilla = 1)
{
    SConfigPartida config;
    config.eArena = Arena_Archivo;
    config.sArena = sTexto;
    config.sNombreArena = "prueba";
    config.nSemilla = nSemilla;
    return partida.Configurar(config);
}

}  // namespace

// A robot driving head-on into each kind of wall, wall bounce 0.5 and
// hardness 0.3: e = 0.7 x 0.5; v' = -e v; damage = 0.5 ((1 + e) v)^2 x
// 0.5 (0.9 + 0.3) x (1 - e) x (1 - 0.9).
TEST(ArenaGeometria, RebotaContraCadaFiguraConSusCoeficientes)
{
    const std::string vsFiguras[] = {"circle 0.5 0.3 3.5 0 1\n", "inner_circle 0.5 0.3 0 0 2.5\n",
                                     "line 0.5 0.3 1 3 -5 3 5\n", "arc 0.5 0.3 0 0 2.5 4 -1 1\n",
                                     "poly_curve 0.5 0.3 1 3 -5 0 1 L 10 Q\n"};
    for (const std::string& sFigura : vsFiguras) {
        CPartida partida;
        ASSERT_TRUE(ConfigurarArchivo(partida, "scale 1\nboundary -3 -3 3 3\n" + sFigura)) << sFigura;
        partida.AddRobot("a", Guion(Controlador_Quieto));
        ASSERT_TRUE(partida.EmpezarSecuencia());
        ASSERT_TRUE(partida.EmpezarJuego());
        partida.ColocarRobot(0, 1.95, 0, 0);
        partida.GetRobotEditable(0).dVX = 3;
        double dVX = 3, dVY = 0;
        ActualizarVelocidad(dVX, dVY, 0, 0, 0, 0.05);
        partida.Actualizar();
        const SRobot& r = partida.GetRobot(0);
        const double dE = 0.35;
        EXPECT_NEAR(r.dVX, -dE * dVX, 1e-12) << sFigura;
        EXPECT_NEAR(r.dEnergia, 100 - 0.5 * std::pow((1 + dE) * dVX, 2) * 0.5 * 1.2 * (1 - dE) * 0.1, 1e-12) << sFigura;
        EXPECT_LT(r.dX, 2.0);
    }
}

TEST(ArenaColocacion, RespetaMargenesYPuntosDeExclusion)
{
    // A solid box in the middle with an exclusion point inside it: nobody
    // starts in the box, nor within reach of its walls or of each other.
    const std::string sTexto =
        "scale 1\nboundary -6 -6 6 6\ninner_circle 1 1 0 0 6\n"
        "closed_polygon 1 1 0.2 4 -2 -2 2 -2 2 2 -2 2\nexclusion_point 0 0\n";
    for (uint64_t nSemilla = 1; nSemilla <= 30; ++nSemilla) {
        CPartida partida;
        ASSERT_TRUE(ConfigurarArchivo(partida, sTexto, nSemilla));
        for (int i = 0; i < 6; ++i)
            partida.AddRobot("q", Guion(Controlador_Quieto));
        ASSERT_TRUE(partida.EmpezarSecuencia());
        ASSERT_TRUE(partida.EmpezarJuego());
        for (int i = 0; i < 6; ++i) {
            const SRobot& r = partida.GetRobot(i);
            EXPECT_GE(partida.GetGeometria().Holgura(r.dX, r.dY, kRadioRobot), 0.1 - 1e-12);
            EXPECT_FALSE(std::fabs(r.dX) < 2 && std::fabs(r.dY) < 2) << r.dX << " " << r.dY;
            for (int k = 0; k < i; ++k) {
                const SRobot& o = partida.GetRobot(k);
                EXPECT_GT(std::hypot(r.dX - o.dX, r.dY - o.dY), 2 * kRadioRobot + 0.1);
            }
        }
    }
}

TEST(ArenaColocacion, SiNoCabenLosRobotsNoHayJuego)
{
    CPartida partida;
    ASSERT_TRUE(ConfigurarArchivo(partida, "scale 1\nboundary -2 -2 2 2\ninner_circle 1 1 0 0 1.1\n"));
    partida.AddRobot("a", Guion(Controlador_Quieto));
    partida.AddRobot("b", Guion(Controlador_Quieto));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(partida.Jugar());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("No caben todos los robots"), std::string::npos);
}

// Scripted robots fight for a long time in walled arenas; after every
// update no living robot overlaps a wall.
TEST(ArenaGeometria, NingunRobotAcabaDentroDeUnaPared)
{
    const std::string vsArenas[] = {
        TextoArenaCuadrado(),
        "scale 1\nboundary -12 -12 12 12\ninner_circle 0.9 0.9 0 0 12\ncircle 1 0.5 0 0 2\n"
        "circle 0.3 0.5 6 6 1\ncircle 2 0.5 -6 5 1.5\npolygon 0.8 0.8 0.6 3 -8 -3 -3 -6 -6 -9\n"
        "angle_unit degrees\narc 1.5 0.5 5 -5 2 2.6 -90 150\n",
        "scale 1\nboundary -10 -10 10 10\nangle_unit degrees\n"
        "poly_curve 0.9 0.9 0.5 -10 -10 1 0 L 20 T -90 L 20 T -90 L 20 T -90 L 20 Q\n"
        "polygon 0.9 0.9 0.5 2 -10 0 -2 0\npolygon 0.9 0.9 0.5 2 2 0 10 0\n"
        "polygon 0.9 0.9 0.5 2 0 -10 0 -2\npolygon 0.9 0.9 0.5 2 0 2 0 10\n",
    };
    for (const std::string& sTexto : vsArenas) {
        for (uint64_t nSemilla = 1; nSemilla <= 3; ++nSemilla) {
            CPartida partida;
            ASSERT_TRUE(ConfigurarArchivo(partida, sTexto, nSemilla));
            partida.AddRobot("b", Guion(Controlador_Buscador));
            partida.AddRobot("g", Guion(Controlador_Giratorio));
            partida.AddRobot("b2", Guion(Controlador_Buscador));
            ASSERT_TRUE(partida.EmpezarSecuencia());
            ASSERT_TRUE(partida.EmpezarJuego());
            double dPeor = 1e9;
            do {
                for (int i = 0; i < partida.GetNumRobots(); ++i) {
                    const SRobot& r = partida.GetRobot(i);
                    if (r.bVivo)
                        dPeor = std::min(dPeor, partida.GetGeometria().Holgura(r.dX, r.dY, kRadioRobot));
                }
            } while (partida.Actualizar());
            EXPECT_GE(dPeor, -1e-9) << sTexto << " semilla " << nSemilla;
        }
    }
}

// Shots stop at any wall: a robot behind a pillar, a wall or an arc is
// never hit, and the shot is gone once it touches.
TEST(ArenaGeometria, LosDisparosSeQuedanEnLasParedes)
{
    const std::string vsFiguras[] = {"circle 1 1 0 0 1\n", "line 1 1 0.4 0 -3 0 3\n", "arc 1 1 -6 0 5.5 6.5 -1 1\n"};
    for (const std::string& sFigura : vsFiguras) {
        CPartida partida;
        ASSERT_TRUE(ConfigurarArchivo(partida, kCabecera + sFigura)) << sFigura;
        partida.AddRobot("a", Guion(Controlador_Quieto));
        partida.AddRobot("b", Guion(Controlador_Quieto));
        ASSERT_TRUE(partida.EmpezarSecuencia());
        ASSERT_TRUE(partida.EmpezarJuego());
        partida.ColocarRobot(0, -4, 0, 0);
        partida.ColocarRobot(1, 4, 0, 0);
        partida.AddDisparo(-3, 0, 10, 0, 20, 0);
        for (int i = 0; i < 20; ++i)
            partida.Actualizar();
        EXPECT_TRUE(partida.GetDisparos().empty()) << sFigura;
        EXPECT_EQ(partida.GetRobot(1).dEnergia, 100) << sFigura;
    }
}
