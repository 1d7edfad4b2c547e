#pragma once
// The Blowfish initial tables, loaded into the cipher state by blf_LoadArrays before every key schedule.
#include <cstdint>

namespace blf_tables {
constexpr int kPWords = 18;
constexpr int kSBoxes = 4;
constexpr int kSEntries = 256;

extern const uint32_t kInitialP[kPWords];
extern const uint32_t kInitialS[kSBoxes][kSEntries];
} // namespace blf_tables
