#ifndef ARENA_CGEOMETRIA_H
#define ARENA_CGEOMETRIA_H

#include <vector>

// The walls of an arena as four primitive kinds. Every shape of an arena
// file becomes some of them: a polygon is lines joined by discs, a curve
// adds arcs.
enum TFigura {
    Figura_Linea = 0,            // slab of half-width dMedio along P1->P2, only its long faces
    Figura_Circulo = 1,          // solid disc (a pillar)
    Figura_CirculoInterior = 2,  // everything outside the circle is solid
    Figura_Arco = 3              // ring sector dRadioInterior..dRadio, counter-clockwise dAngulo1..dAngulo2
};

struct SFigura {
    TFigura eTipo = Figura_Circulo;
    double dRebote = 1, dDureza = 1;
    double dX1 = 0, dY1 = 0;  // line start, or centre
    double dX2 = 0, dY2 = 0;  // line end
    double dMedio = 0;        // half the thickness of a line
    double dRadio = 0;        // circles; outer radius of an arc
    double dRadioInterior = 0;
    double dAngulo1 = 0, dAngulo2 = 0;  // arcs, radians in [-pi, pi]
    // Derived for lines: unit direction and length.
    double dUX = 1, dUY = 0, dLargo = 0;
};

// Where a moving disc (or a ray, radius 0) first meets a wall: the distance
// travelled, the unit normal at its centre pointing away from the wall, and
// the wall's index.
struct SContacto {
    double dDistancia = -1;
    double dNX = 1, dNY = 0;
    int nFigura = -1;
};

// An arena's walls, its placement rectangle and exclusion points, with the
// queries the match needs. A uniform grid over the finite shapes keeps the
// queries local; Preparar builds it once every shape is in. The grid's
// visit marks make a query non-const in spirit: use one CGeometria per
// thread.
class CGeometria {
public:
    CGeometria();
    void Limpiar();

    void SetLimites(double dX1, double dY1, double dX2, double dY2);
    void AddLinea(double dRebote, double dDureza, double dGrosor, double dX1, double dY1, double dX2, double dY2);
    void AddCirculo(double dRebote, double dDureza, double dX, double dY, double dRadio);
    void AddCirculoInterior(double dRebote, double dDureza, double dX, double dY, double dRadio);
    void AddArco(double dRebote, double dDureza, double dX, double dY, double dRadioInterior, double dRadio,
                 double dAngulo1, double dAngulo2);
    void AddExclusion(double dX, double dY);
    void Preparar();

    // First wall met by a disc of radius dRadio (0: a ray) leaving p along
    // the unit vector u, within dMax. False when none. A disc already
    // touching a wall and moving into it meets it at distance 0.
    bool Cruce(double dPX, double dPY, double dUX, double dUY, double dRadio, double dMax, SContacto& contacto) const;

    // Placement: no wall within the margin of p (condition on walls only).
    bool LibreDeParedes(double dPX, double dPY, double dMargen) const;
    // Placement: p is farther than the margin from every exclusion point and
    // a wall hides each of them from p.
    bool OcultaExclusiones(double dPX, double dPY, double dMargen) const;

    // How far a disc at p is from the nearest wall surface (negative when it
    // overlaps one). Lines count only where p projects onto them.
    double Holgura(double dPX, double dPY, double dRadio) const;

    const std::vector<SFigura>& GetFiguras() const { return m_vFiguras; }
    const std::vector<double>& GetExclusiones() const { return m_vdExclusiones; }  // x, y pairs
    double GetX1() const { return m_dX1; }
    double GetY1() const { return m_dY1; }
    double GetX2() const { return m_dX2; }
    double GetY2() const { return m_dY2; }

private:
    bool CruceFigura(const SFigura& f, double dPX, double dPY, double dUX, double dUY, double dRadio,
                     SContacto& contacto) const;
    void ProbarCelda(int nCelda, double dPX, double dPY, double dUX, double dUY, double dRadio, double dMax,
                     SContacto& mejor) const;
    bool CeldaDe(double dX, double dY, int& nCX, int& nCY) const;
    void Caja(const SFigura& f, double& dX1, double& dY1, double& dX2, double& dY2) const;

    std::vector<SFigura> m_vFiguras;
    std::vector<double> m_vdExclusiones;
    double m_dX1, m_dY1, m_dX2, m_dY2;

    // Grid: figures whose box, grown by kInflado, overlaps a cell; the
    // enclosing circles and oversized queries go through m_vnGlobales.
    std::vector<int> m_vnGlobales;
    std::vector<int> m_vnInicioCelda;  // CSR offsets, one more than cells
    std::vector<int> m_vnFigurasCelda;
    double m_dRejillaX, m_dRejillaY, m_dCelda;
    int m_nColumnas, m_nFilas;
    mutable std::vector<unsigned> m_vnMarca;
    mutable unsigned m_nMarca;
};

#endif
