#ifndef CDIAGRAMARED_H
#define CDIAGRAMARED_H

#include <string>
#include <vector>

#include "NEAT/CRedNeuronal.h"

// Picture of a network: every neuron at its split place (depth 0, the inputs
// and the bias, at the bottom; depth 1, the outputs, at the top), every link
// coloured by the sign of its weight and as wide as its size. Links that go
// back or sideways (recurrent, self-loops) are drawn curved so they stand out
// from the feed-forward ones. Coordinates are SVG pixels (y grows downward).

struct SNodoDiagrama {
    int nID;
    TNeurona Tipo;
    double dCurva;
    double dX, dY;
    int nOrdenTipo;  // k for the k-th input or output, counted from 0
};

struct SArcoDiagrama {
    int nOrigen;  // node positions, not IDs
    int nDestino;
    double dPeso;
    bool bRecurrente;
    // Geometry as one cubic curve: start, two controls, end (touching the
    // target's circle).
    double vdPuntos[8];
    bool bCurvo;
};

class CDiagramaRed {
public:
    CDiagramaRed();
    ~CDiagramaRed();

    void Limpiar();
    void Construir(const CRedNeuronal& red);

    const std::vector<SNodoDiagrama>& GetNodos() const { return m_vNodos; }
    const std::vector<SArcoDiagrama>& GetArcos() const { return m_vArcos; }
    double GetAncho() const { return m_dAncho; }
    double GetAlto() const { return m_dAlto; }

    // Graphviz text for "neato -n2": neurons pinned with pos="x,y!", links
    // with their curve given, so graphviz draws the same picture.
    std::string GenerarDot() const;
    // A standalone SVG document, drawn without any outside program.
    std::string GenerarSvg() const;
    // The <svg> element alone, for placing inside an HTML page.
    std::string GenerarSvgIncrustado() const;

private:
    void ColocarNodos(const std::vector<SNeurona*>& vNeuronas);
    void SepararCoincidentes();
    void TrazarArco(SArcoDiagrama& arco) const;
    std::string Etiqueta(const SNodoDiagrama& nodo) const;
    std::string Descripcion(const SNodoDiagrama& nodo) const;
    std::string ColorArco(const SArcoDiagrama& arco) const;
    double AnchoArco(const SArcoDiagrama& arco) const;
    double OpacidadArco(const SArcoDiagrama& arco) const;
    std::string SvgArco(const SArcoDiagrama& arco) const;
    std::string SvgNodo(const SNodoDiagrama& nodo) const;
    std::string SvgLeyenda() const;

    std::vector<SNodoDiagrama> m_vNodos;
    std::vector<SArcoDiagrama> m_vArcos;
    double m_dPesoMaximo;
    double m_dAncho;
    double m_dAlto;
};

// Reads a network from a file: the scrambled text the writer produces, the
// same pasted as string literals into a source file (as the robot carries
// it), or the plain text. Leaves red untouched on failure.
bool CargarRed(const std::string& sRuta, CRedNeuronal& red, std::string& sError);
bool CargarTextoRed(const std::string& sTexto, CRedNeuronal& red, std::string& sError);

#endif
