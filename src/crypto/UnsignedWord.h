#pragma once
// Unsigned 32-bit word helpers of the cipher. Plain uint32_t arithmetic: additions wrap modulo 2^32.
#include "errortrap/Bulwark.h"

#include <cstdint>

// The word a·2^24 + b·2^16 + c·2^8 + d (a is the most significant byte).
inline uint32_t uwJoin(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    BW_TRACE("basUnsignedWord.bas", "Function uwJoin");
    return (uint32_t(a) << 24) | (uint32_t(b) << 16) | (uint32_t(c) << 8) | uint32_t(d);
}

// The four bytes of w, a the most significant.
inline void uwSplit(uint32_t w, uint8_t& a, uint8_t& b, uint8_t& c, uint8_t& d)
{
    BW_TRACE("basUnsignedWord.bas", "Sub uwSplit");
    a = uint8_t(w >> 24);
    b = uint8_t(w >> 16);
    c = uint8_t(w >> 8);
    d = uint8_t(w);
}

// w shifted left by 8 bits; the top 8 bits are dropped.
inline uint32_t uw_ShiftLeftBy8(uint32_t w)
{
    BW_TRACE("basUnsignedWord.bas", "Function uw_ShiftLeftBy8");
    return w << 8;
}

// a + b modulo 2^32.
inline uint32_t uw_WordAdd(uint32_t a, uint32_t b)
{
    BW_TRACE("basUnsignedWord.bas", "Function uw_WordAdd");
    return a + b;
}
