#ifndef ARENA_CGRABACION_H
#define ARENA_CGRABACION_H

#include <ostream>
#include <string>
#include <vector>

#include "CGeometria.h"

enum TEvento {
    Evento_Disparo = 0,   // valor: energy of the shot
    Evento_Impacto = 1,   // robot hit by a shot; valor: energy lost
    Evento_Pared = 2,     // robot against a wall; valor: damage
    Evento_Choque = 3,    // robot against robot; valor: damage to this one
    Evento_Galleta = 4,   // cookie taken; valor: energy gained
    Evento_Mina = 5,      // mine touched; valor: energy lost
    Evento_Muerte = 6,    // valor: points of the game
    Evento_Destruido = 7  // cookie or mine destroyed by a shot; robot -1
};

// Recording of a match, update by update, for replay in a browser.
//
// JSON written by EscribirJSON (one object, no white space):
// {"formato":"grabacion-arena-1",
//  "arena":name ("circulo", "cuadrado", a file's name),
//  "medida":half the larger side of the boundary,
//  "limites":[x1,y1,x2,y2]   the boundary (placement rectangle and view),
//  "figuras":[["l",x1,y1,x2,y2,half width] | ["c",x,y,r] (pillar) |
//             ["i",x,y,r] (solid outside) | ["a",x,y,r_in,r_out,a1,a2], ...]
//      the walls as primitives; arcs run counter-clockwise from a1 to a2,
//  "paso":0.05, "radios":{"robot":0.5,"disparo":0.1,"objeto":0.3},
//  "robots":["nombre", ...],
//  "cuadros":[ {"j":game, "t":game time,
//     "r":[[x,y,heading,cannon,radar,energy,alive], ...]  one per robot, in
//         the order of "robots"; angles absolute radians, alive 0 or 1,
//     "d":[[x,y,energy], ...]     shots in flight,
//     "g":[[x,y], ...]            cookies,
//     "m":[[x,y], ...]            mines,
//     "e":[[kind,robot,x,y,value], ...]  events of this update, kind one of
//         "disparo","impacto","pared","choque","galleta","mina","muerte",
//         "destruido"; robot is the index in "robots" or -1
//   }, ...]}
// Each game starts with a frame at t = 0 after the robots are placed; then
// one frame per update. Numbers carry at most three decimals.
class CGrabacion {
public:
    CGrabacion();
    void Limpiar();

    void Empezar(const std::string& sArena, const CGeometria& geometria, double dPaso,
                 const std::vector<std::string>& vsNombres);
    void AddEvento(TEvento eTipo, int nRobot, double dX, double dY, double dValor);
    // A frame is filled right after it is added; events added since the
    // previous frame belong to it.
    void AddCuadro(int nJuego, double dTiempo);
    void AddRobot(double dX, double dY, double dRumbo, double dCanyon, double dRadar, double dEnergia, bool bVivo);
    void AddDisparo(double dX, double dY, double dEnergia);
    void AddGalleta(double dX, double dY);
    void AddMina(double dX, double dY);

    size_t GetNumCuadros() const { return m_vCuadros.size(); }
    size_t GetNumEventos() const { return m_vEventos.size(); }

    bool EscribirJSON(std::ostream& salida) const;
    // Written whole or not at all; false (with a message) when it fails.
    bool GuardarJSON(const std::string& sRuta) const;

private:
    struct SCuadro {
        int nJuego;
        double dTiempo;
        size_t iRobot, iDisparo, iGalleta, iMina, iEvento, nEventos;
    };
    struct SEvento {
        TEvento eTipo;
        int nRobot;
        double dX, dY, dValor;
    };

    void EscribirCuadro(std::ostream& salida, size_t nCuadro) const;
    void EscribirFiguras(std::ostream& salida) const;
    size_t Fin(size_t nCuadro, size_t SCuadro::*pInicio, size_t nTotal) const;

    std::string m_sArena;
    double m_dMedida;
    double m_vdLimites[4];
    std::vector<SFigura> m_vFiguras;
    double m_dPaso;
    std::vector<std::string> m_vsNombres;
    std::vector<SCuadro> m_vCuadros;
    std::vector<double> m_vdRobots;    // 7 values per robot
    std::vector<double> m_vdDisparos;  // 3 per shot
    std::vector<double> m_vdGalletas;  // 2 per cookie
    std::vector<double> m_vdMinas;     // 2 per mine
    std::vector<SEvento> m_vEventos;
    size_t m_nEventosAsignados;
};

#endif
