#ifndef LLAMADASGUION_H
#define LLAMADASGUION_H

// Checks of the draws that the scripted random source recorded.
#include <gtest/gtest.h>

#include <cstddef>

#include "apoyo/RandomGuion.h"

// Draw i was of kind cTipo ('D' or 'I') over [dMin, dMax].
inline void ExpectLlamada(std::size_t i, char cTipo, double dMin, double dMax)
{
    ASSERT_LT(i, GuionNumLlamadas());
    const SLlamadaRandom& llamada = GuionLlamadas()[i];
    EXPECT_EQ(llamada.cTipo, cTipo) << "llamada " << i;
    EXPECT_EQ(llamada.dMin, dMin) << "llamada " << i;
    EXPECT_EQ(llamada.dMax, dMax) << "llamada " << i;
}

#endif
