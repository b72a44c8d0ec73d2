#ifndef ARENA_CGENERADOR_H
#define ARENA_CGENERADOR_H

#include <cstdint>
#include <random>

// Random source of one match. The engine's output sequence is fixed by the
// language standard; the conversion to doubles is our own because the
// library distributions differ between implementations.
class CGenerador {
public:
    explicit CGenerador(uint64_t nSemilla = 1) : m_motor(nSemilla) {}

    void Sembrar(uint64_t nSemilla) { m_motor.seed(nSemilla); }

    // Uniform in [0, 1) with 53 random bits.
    double Uniforme01() { return static_cast<double>(m_motor() >> 11) * (1.0 / 9007199254740992.0); }

    double Uniforme(double dMin, double dMax) { return dMin + (dMax - dMin) * Uniforme01(); }

    // Combines a seed with a value into a new, well spread seed, so that a
    // training run can give every match its own stream, e.g.
    // Mezclar(Mezclar(Mezclar(semilla, generacion), miembro), partida).
    static uint64_t Mezclar(uint64_t nSemilla, uint64_t nValor)
    {
        uint64_t nZ = nSemilla ^ (nValor + 0x9E3779B97F4A7C15ULL + (nSemilla << 6) + (nSemilla >> 2));
        nZ = (nZ ^ (nZ >> 30)) * 0xBF58476D1CE4E5B9ULL;
        nZ = (nZ ^ (nZ >> 27)) * 0x94D049BB133111EBULL;
        return nZ ^ (nZ >> 31);
    }

private:
    std::mt19937_64 m_motor;
};

#endif
