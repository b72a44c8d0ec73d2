// The random arena generator: valid texts, varied, fixed by the seed, and a
// free space in one piece where every robot can be placed.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "CPartida.h"
#include "GeneradorArenas.h"
#include "LectorArena.h"

namespace {

// Cells of side 0.2 where a disc of radius 0.4 touches no wall, flooded
// from the cell of (dX, dY); marks reachable cells.
struct SRelleno {
    double dX1, dY1;
    int nColumnas, nFilas;
    std::vector<char> vbAlcanzada;

    int Celda(double dX, double dY) const
    {
        const int nC = static_cast<int>((dX - dX1) / 0.2), nF = static_cast<int>((dY - dY1) / 0.2);
        return nC < 0 || nF < 0 || nC >= nColumnas || nF >= nFilas ? -1 : nF * nColumnas + nC;
    }
};

SRelleno Inundar(const CGeometria& geo, double dX, double dY)
{
    SRelleno r;
    r.dX1 = geo.GetX1();
    r.dY1 = geo.GetY1();
    r.nColumnas = static_cast<int>((geo.GetX2() - geo.GetX1()) / 0.2) + 1;
    r.nFilas = static_cast<int>((geo.GetY2() - geo.GetY1()) / 0.2) + 1;
    r.vbAlcanzada.assign(static_cast<size_t>(r.nColumnas) * r.nFilas, 0);
    std::vector<int> vnPila(1, r.Celda(dX, dY));
    r.vbAlcanzada[vnPila[0]] = 1;
    while (!vnPila.empty()) {
        const int n = vnPila.back();
        vnPila.pop_back();
        const int nC = n % r.nColumnas, nF = n / r.nColumnas;
        const int vnVecinos[4][2] = {{nC - 1, nF}, {nC + 1, nF}, {nC, nF - 1}, {nC, nF + 1}};
        for (const auto& v : vnVecinos) {
            if (v[0] < 0 || v[1] < 0 || v[0] >= r.nColumnas || v[1] >= r.nFilas)
                continue;
            const int k = v[1] * r.nColumnas + v[0];
            if (!r.vbAlcanzada[k] && geo.Holgura(r.dX1 + (v[0] + 0.5) * 0.2, r.dY1 + (v[1] + 0.5) * 0.2, 0.4) >= 0) {
                r.vbAlcanzada[k] = 1;
                vnPila.push_back(k);
            }
        }
    }
    return r;
}

}  // namespace

TEST(ArenaGenerador, TextosValidosVariadosYFijadosPorLaSemilla)
{
    std::set<std::string> vsRecintos, vsFiguras;
    for (uint64_t nSemilla = 0; nSemilla < 60; ++nSemilla) {
        const std::string sTexto = GenerarArena(nSemilla);
        EXPECT_EQ(sTexto, GenerarArena(nSemilla));
        EXPECT_NE(sTexto, GenerarArena(nSemilla + 1));
        CGeometria geo;
        std::string sError;
        ASSERT_TRUE(LeerArena(sTexto, "aleatoria", geo, sError)) << sError << "\n" << sTexto;
        // Line 4 holds the enclosure; the rest, the shapes inside.
        size_t nInicio = 0;
        for (int i = 0; i < 3; ++i)
            nInicio = sTexto.find('\n', nInicio) + 1;
        vsRecintos.insert(sTexto.substr(nInicio, sTexto.find(' ', nInicio) - nInicio));
        for (size_t n = sTexto.find('\n', nInicio); n + 1 < sTexto.size(); n = sTexto.find('\n', n + 1))
            vsFiguras.insert(sTexto.substr(n + 1, sTexto.find(' ', n + 1) - n - 1));
    }
    EXPECT_EQ(vsRecintos, std::set<std::string>({"inner_circle", "line", "closed_polygon", "poly_curve"}));
    EXPECT_EQ(vsFiguras,
              std::set<std::string>({"line", "circle", "polygon", "closed_polygon", "arc", "exclusion_point"}));
}

namespace {

// Eight robots fit, and each can drive to every other.
void ComprobarEspacio(SConfigPartida config, uint64_t nSemilla)
{
    {
        CPartida partida;
        config.nSemilla = nSemilla;
        ASSERT_TRUE(partida.Configurar(config));
        for (int i = 0; i < 8; ++i)
            partida.AddRobot("q", SControlador());
        ASSERT_TRUE(partida.EmpezarSecuencia());
        ASSERT_TRUE(partida.EmpezarJuego()) << config.sNombreArena << " semilla " << nSemilla;
        const SRelleno relleno = Inundar(partida.GetGeometria(), partida.GetRobot(0).dX, partida.GetRobot(0).dY);
        for (int i = 1; i < 8; ++i) {
            const int n = relleno.Celda(partida.GetRobot(i).dX, partida.GetRobot(i).dY);
            ASSERT_GE(n, 0);
            EXPECT_TRUE(relleno.vbAlcanzada[n]) << config.sNombreArena << " semilla " << nSemilla << " robot " << i;
        }
    }
}

}  // namespace

TEST(ArenaGenerador, EspacioLibreDeUnaPieza)
{
    SConfigPartida config;
    config.eArena = Arena_Aleatoria;
    for (uint64_t nSemilla = 0; nSemilla < 40; ++nSemilla)
        ComprobarEspacio(config, nSemilla);
    // Its free space is a small part of the boundary: a hundred random
    // draws used to miss it and the game did not start.
    ComprobarEspacio(config, 2994);
}

// The project's own arena files, the held-out ones included.
TEST(ArenasDelProyecto, SeLeenYSuEspacioLibreEsDeUnaPieza)
{
    int nArchivos = 0;
    for (const auto& entrada : std::filesystem::recursive_directory_iterator(RUTA_ARENAS)) {
        if (entrada.path().extension() != ".arena")
            continue;
        ++nArchivos;
        SConfigPartida config;
        config.eArena = Arena_Archivo;
        config.sNombreArena = entrada.path().string();
        std::string sError;
        ASSERT_TRUE(CargarArena(config.sNombreArena, config.sArena, sError)) << sError;
        for (uint64_t nSemilla = 0; nSemilla < 15; ++nSemilla)
            ComprobarEspacio(config, nSemilla);
    }
    EXPECT_GE(nArchivos, 16);
}
