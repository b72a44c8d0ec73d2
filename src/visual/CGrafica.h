#ifndef CGRAFICA_H
#define CGRAFICA_H

#include <string>
#include <vector>

// An x-y chart drawn straight to SVG: either lines (one per series) or
// stacked bands (each series is a band's thickness at each x).

enum TGrafica { Grafica_Lineas = 0, Grafica_Apilada };

struct SSerieGrafica {
    std::string sNombre;
    std::string sColor;
    std::vector<double> vX;
    std::vector<double> vY;
};

class CGrafica {
public:
    CGrafica();

    void Limpiar();

    void SetTipo(TGrafica tipo) { m_Tipo = tipo; }
    void SetTitulo(const std::string& s) { m_sTitulo = s; }
    void SetEjes(const std::string& sX, const std::string& sY)
    {
        m_sEjeX = sX;
        m_sEjeY = sY;
    }
    void SetLeyendaMaxima(size_t n) { m_nLeyendaMaxima = n; }
    // For stacked charts every series must share the same x values.
    void AddSerie(const SSerieGrafica& serie) { m_vSeries.push_back(serie); }
    size_t GetNumSeries() const { return m_vSeries.size(); }

    std::string GenerarSvg() const;

private:
    void Rango(double& dMinX, double& dMaxX, double& dMinY, double& dMaxY) const;
    std::string Ejes(double dMinX, double dMaxX, double dMinY, double dMaxY) const;
    std::string Lineas(double dMinX, double dMaxX, double dMinY, double dMaxY) const;
    std::string Bandas(double dMinX, double dMaxX, double dMinY, double dMaxY) const;
    std::string Leyenda() const;
    double PX(double x, double dMin, double dMax) const;
    double PY(double y, double dMin, double dMax) const;

    TGrafica m_Tipo;
    std::string m_sTitulo;
    std::string m_sEjeX;
    std::string m_sEjeY;
    size_t m_nLeyendaMaxima;
    std::vector<SSerieGrafica> m_vSeries;
};

// Round tick marks covering [dMin, dMax].
std::vector<double> MarcasEje(double dMin, double dMax, int nMarcasDeseadas);
// A colour for the k-th series of many (stable for a given k).
std::string ColorPaleta(int k);

#endif
