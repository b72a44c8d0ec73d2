#ifndef CINDICEPOSICIONES_H
#define CINDICEPOSICIONES_H

#include <cstddef>
#include <cstdint>
#include <vector>

// Map from 64-bit keys to positions in a record vector, by open addressing
// with linear probing. A key keeps the first position inserted for it, so a
// look-up answers with the earliest record, as a scan from the start would.
// Copied by value with its owner.
class CIndicePosiciones {
public:
    CIndicePosiciones();

    void Limpiar();
    bool InsertarSiFalta(std::uint64_t nClave, int nPosicion);  // false if the key was there
    int Buscar(std::uint64_t nClave) const;                     // -1 when the key is absent

private:
    struct SCasilla {
        std::uint64_t nClave;
        int nPosicion;  // -1: empty
    };

    std::size_t Inicio(std::uint64_t nClave) const;
    void Crecer();

    std::vector<SCasilla> m_vCasillas;  // size 0 or a power of two
    std::size_t m_nOcupadas;
    unsigned int m_nBits;
};

#endif
