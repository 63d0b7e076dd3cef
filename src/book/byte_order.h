// The fields of the book and database files: little-endian, fixed width, no
// padding. They are written and read byte by byte, whatever the machine's own
// byte order and whatever a compiler would do with a struct.
#pragma once

#include "board/types.h"

inline void PutU16(u8* out, u16 value) {
  out[0] = static_cast<u8>(value);
  out[1] = static_cast<u8>(value >> 8);
}

inline void PutU32(u8* out, u32 value) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<u8>(value >> (8 * i));
}

inline u16 GetU16(const u8* in) { return static_cast<u16>(in[0] | (in[1] << 8)); }

inline u32 GetU32(const u8* in) {
  u32 value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | in[i];
  return value;
}

// A 64-bit key seen as its high and low 32-bit words.
inline u32 KeyHigh(u64 key) { return static_cast<u32>(key >> 32); }
inline u32 KeyLow(u64 key) { return static_cast<u32>(key); }
inline u64 KeyOf(u32 high, u32 low) { return (static_cast<u64>(high) << 32) | low; }
