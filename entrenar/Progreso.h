#ifndef PROGRESO_H
#define PROGRESO_H

#include <string>

// One line of progress on standard error, rewritten in place. Silent when
// asked to be, or when standard error is not a terminal.
class CProgreso {
public:
    explicit CProgreso(bool bSilencio);
    ~CProgreso();

    bool Activo() const { return m_bActivo; }
    void Mostrar(const std::string& sLinea);
    // Leaves the last line standing and moves to a fresh one.
    void Terminar();

private:
    bool m_bActivo;
    size_t m_nLongitud;
};

// "1h02m", "3m05s", "12s".
std::string FormatearDuracion(double dSegundos);

#endif
