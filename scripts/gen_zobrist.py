#!/usr/bin/env python3
"""Writes src/board/zobrist.cpp: the 13 x 64 position keys, drawn once from
SplitMix64 with a fixed seed. Books and databases store keys made from this
table, so it must never be regenerated with other values."""

SEED = 0x54415652454C2021  # fixed for ever
MASK = (1 << 64) - 1


def splitmix64(state):
    while True:
        state = (state + 0x9E3779B97F4A7C15) & MASK
        z = state
        z = ((z ^ (z >> 30)) * 0xBF58476D1CE4E5B9) & MASK
        z = ((z ^ (z >> 27)) * 0x94D049BB133111EB) & MASK
        yield z ^ (z >> 31)


def main():
    keys = splitmix64(SEED)
    out = ['// Generated once by scripts/gen_zobrist.py (SplitMix64, fixed seed). Never change:',
           '// opening books and position databases store keys made from these values.',
           '#include "board/zobrist.h"', '',
           'const u64 ZobristKeys[PIECE_CODE_COUNT][SQUARE_COUNT] = {']
    for code in range(13):
        out.append('  {  // piece code %d' % code)
        row = [next(keys) for _ in range(64)]
        for i in range(0, 64, 4):
            out.append('    ' + ', '.join('0x%016XULL' % k for k in row[i:i + 4]) + ',')
        out.append('  },')
    out.append('};')
    print('\n'.join(out))


if __name__ == '__main__':
    main()
