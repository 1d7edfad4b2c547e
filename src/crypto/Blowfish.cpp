#include "crypto/Blowfish.h"

#include "crypto/BlowfishTables.h"
#include "crypto/SecureWipe.h"

#include <cstring>

namespace {

using blf_tables::kPWords;
using blf_tables::kSBoxes;
using blf_tables::kSEntries;

// The key-dependent tables. They are derived from the key, so they are wiped when the process ends.
struct CipherState
{
    alignas(64) uint32_t S[kSBoxes][kSEntries];
    uint32_t P[kPWords];
    bool keyed = false;

    ~CipherState() { WipeBytesAtExit(this, sizeof(*this)); }
};

CipherState g_state;

// The round function, inlined into the block routines: they call it sixteen times a block, some 8,300 times
// a key schedule. It keeps the trace entry of blf_F wherever it is inlined.
[[gnu::always_inline]] inline uint32_t roundFunction(uint32_t x)
{
    BW_TRACE("basBlowfish.bas", "Function blf_F");
    const uint32_t(&S)[kSBoxes][kSEntries] = g_state.S;
    return ((S[0][x >> 24] + S[1][(x >> 16) & 0xFFu]) ^ S[2][(x >> 8) & 0xFFu]) + S[3][x & 0xFFu];
}

} // namespace

uint32_t blf_F(uint32_t x)
{
    // The trace entry is made by roundFunction.
    return roundFunction(x);
}

// Two rounds a loop pass, so the halves trade places by name instead of by copying.
void blf_EncipherBlock(uint32_t& L, uint32_t& R)
{
    BW_TRACE("basBlowfish.bas", "Sub blf_EncipherBlock");
    const uint32_t* P = g_state.P;
    uint32_t l = L;
    uint32_t r = R;
    for (int i = 0; i < 16; i += 2) {
        l ^= P[i];
        r ^= roundFunction(l);
        r ^= P[i + 1];
        l ^= roundFunction(r);
    }
    L = r ^ P[17];
    R = l ^ P[16];
}

void blf_DecipherBlock(uint32_t& L, uint32_t& R)
{
    BW_TRACE("basBlowfish.bas", "Sub blf_DecipherBlock");
    const uint32_t* P = g_state.P;
    uint32_t l = L;
    uint32_t r = R;
    for (int i = 17; i > 1; i -= 2) {
        l ^= P[i];
        r ^= roundFunction(l);
        r ^= P[i - 1];
        l ^= roundFunction(r);
    }
    L = r ^ P[0];
    R = l ^ P[1];
}

void blf_LoadArrays()
{
    BW_TRACE("basBlfArrays.bas", "Sub blf_LoadArrays");
    std::memcpy(g_state.P, blf_tables::kInitialP, sizeof(g_state.P));
    std::memcpy(g_state.S, blf_tables::kInitialS, sizeof(g_state.S));
}

void blf_Initialise(const uint8_t* key, int length)
{
    BW_TRACE("basBlowfish.bas", "Sub blf_Initialise");
    if (!key || length < kBlfMinKeyBytes || length > kBlfMaxKeyBytes)
        throw RuntimeError(BwErr::InvalidProcedureCall, QStringLiteral("Invalid key length for the cipher"));

    blf_LoadArrays();

    // Mix the key bytes into P, most significant first, cycling through the key as often as needed.
    int j = 0;
    for (int i = 0; i < kPWords; ++i) {
        uint32_t data = 0;
        for (int k = 0; k < 4; ++k) {
            data = uw_ShiftLeftBy8(data) | key[j];
            if (++j == length)
                j = 0;
        }
        g_state.P[i] ^= data;
    }

    // Replace P and then every S-box entry by the running encipherment of an all-zero block.
    uint32_t L = 0;
    uint32_t R = 0;
    for (int i = 0; i < kPWords; i += 2) {
        blf_EncipherBlock(L, R);
        g_state.P[i] = L;
        g_state.P[i + 1] = R;
    }
    for (int box = 0; box < kSBoxes; ++box) {
        for (int entry = 0; entry < kSEntries; entry += 2) {
            blf_EncipherBlock(L, R);
            g_state.S[box][entry] = L;
            g_state.S[box][entry + 1] = R;
        }
    }
    g_state.keyed = true;
}

bool blf_KeyInit(const uint8_t* key, int length)
{
    BW_TRACE("basBlowfish.bas", "Function blf_KeyInit");
    if (!key || length < kBlfMinKeyBytes || length > kBlfMaxKeyBytes)
        return false;
    blf_Initialise(key, length);
    return true;
}

bool blf_KeyInit(const QByteArray& key)
{
    BW_TRACE("basBlowfish.bas", "Function blf_KeyInit");
    return blf_KeyInit(reinterpret_cast<const uint8_t*>(key.constData()), int(key.size()));
}

bool blf_IsKeyed()
{
    BW_TRACE("basBlowfish.bas", "Function blf_IsKeyed");
    return g_state.keyed;
}

namespace {
void requireKey()
{
    BW_TRACE("basBlowfish.bas", "Sub requireKey");
    if (!g_state.keyed)
        throw RuntimeError(BwErr::InvalidProcedureCall, QStringLiteral("No cipher key has been set"));
}
} // namespace

void blf_EncryptBytes(uint8_t* block)
{
    BW_TRACE("basBlowfish.bas", "Sub blf_EncryptBytes");
    requireKey();
    uint32_t L = uwJoin(block[0], block[1], block[2], block[3]);
    uint32_t R = uwJoin(block[4], block[5], block[6], block[7]);
    blf_EncipherBlock(L, R);
    uwSplit(L, block[0], block[1], block[2], block[3]);
    uwSplit(R, block[4], block[5], block[6], block[7]);
}

void blf_DecryptBytes(uint8_t* block)
{
    BW_TRACE("basBlowfish.bas", "Sub blf_DecryptBytes");
    requireKey();
    uint32_t L = uwJoin(block[0], block[1], block[2], block[3]);
    uint32_t R = uwJoin(block[4], block[5], block[6], block[7]);
    blf_DecipherBlock(L, R);
    uwSplit(L, block[0], block[1], block[2], block[3]);
    uwSplit(R, block[4], block[5], block[6], block[7]);
}
