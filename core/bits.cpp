// Word rotation and shared status bits: portable, no platform calls.
#include "ktutil.h"

namespace {
constexpr int kStatusBits = 31;  // bit 31 is Del's force bit, not a status
constexpr DWORD kForceBit = 0x80000000u;
}  // namespace

extern "C" DWORD KTAPI RotateLeft(DWORD value, int count) {
  unsigned n = static_cast<unsigned>(count) & 31u;
  return n == 0 ? value : (value << n) | (value >> (32 - n));
}

extern "C" DWORD KTAPI RotateRight(DWORD value, int count) {
  unsigned n = static_cast<unsigned>(count) & 31u;
  return n == 0 ? value : (value >> n) | (value << (32 - n));
}

extern "C" DWORD KTAPI AddStatusFlags(DWORD flags, WORD *counters) {
  DWORD raised = 0;
  if (counters == nullptr) return 0;
  for (int i = 0; i < kStatusBits; ++i) {
    if ((flags & (1u << i)) == 0) continue;
    if (counters[i] == 0) raised |= 1u << i;
    counters[i] = static_cast<WORD>(counters[i] + 1);
  }
  return raised;
}

extern "C" DWORD KTAPI DelStatusFlags(DWORD flags, WORD *counters) {
  DWORD lowered = 0;
  if (counters == nullptr) return 0;
  for (int i = 0; i < kStatusBits; ++i) {
    if ((flags & (1u << i)) == 0 || counters[i] == 0) continue;
    if (flags & kForceBit) {
      lowered |= 1u << i;
      counters[i] = 0;
    } else {
      if (counters[i] == 1) lowered |= 1u << i;
      counters[i] = static_cast<WORD>(counters[i] - 1);
    }
  }
  return lowered;
}
