#include "eval/square_tables.h"

#include <iterator>

namespace {

// Rows run from rank 8 to rank 1, files from a to h, as the square index runs.
// King table 1: opening and early middlegame (material above 70).
constexpr i16 KingTable1[SQUARE_COUNT] = {
       4,   12,   -4,   -6,   -6,   -4,   12,    4,
      -9,  -14,  -24,  -29,  -29,  -24,  -14,   -9,
     -19,  -28,  -39,  -30,  -30,  -39,  -28,  -19,
     -25,  -39,  -40,  -55,  -55,  -40,  -39,  -25,
     -25,  -39,  -40,  -55,  -55,  -40,  -39,  -25,
     -19,  -28,  -39,  -30,  -30,  -39,  -28,  -19,
      -9,  -14,  -24,  -29,  -29,  -24,  -14,   -9,
       4,   12,   -2,   -6,   -6,   -2,   12,    4,
};

// King table 2: middlegame (47 to 70).
constexpr i16 KingTable2[SQUARE_COUNT] = {
       0,    6,   -2,   -3,   -3,   -2,    6,    0,
      -3,   -5,  -10,  -15,  -15,  -10,   -5,   -3,
      -7,  -14,  -14,  -18,  -18,  -14,  -14,   -7,
      -8,  -19,  -28,  -35,  -35,  -28,  -19,   -8,
      -8,  -19,  -28,  -35,  -35,  -28,  -19,   -8,
      -7,  -14,  -12,  -18,  -18,  -12,  -14,   -7,
      -3,   -5,  -14,  -19,  -19,  -14,   -5,   -3,
       0,    6,   -2,   -3,   -3,   -2,    6,    0,
};

// King table 3: endgame (15 to 46).
constexpr i16 KingTable3[SQUARE_COUNT] = {
      -8,   -6,   -4,   -2,   -2,   -4,   -6,   -8,
      -6,   -4,   -2,    0,    0,   -2,   -4,   -6,
      -4,   -2,    0,    2,    2,    0,   -2,   -4,
      -2,    0,    2,    4,    4,    2,    0,   -2,
      -2,    0,    2,    4,    4,    2,    0,   -2,
      -4,   -2,    0,    2,    2,    0,   -2,   -4,
      -6,   -4,   -2,    0,    0,   -2,   -4,   -6,
      -8,   -6,   -4,   -2,   -2,   -4,   -6,   -8,
};

// King table 4: late endgame (below 15).
constexpr i16 KingTable4[SQUARE_COUNT] = {
     -26,  -19,  -12,   -9,   -9,  -12,  -19,  -26,
     -19,  -15,   -6,    0,    0,   -6,  -15,  -19,
     -15,   -6,    0,    4,    4,    0,   -6,  -15,
     -12,    0,    4,    9,    9,    4,    0,  -12,
     -12,    0,    4,    9,    9,    4,    0,  -12,
     -15,   -6,    0,    4,    4,    0,   -6,  -15,
     -19,  -15,   -6,    0,    0,   -6,  -15,  -19,
     -26,  -19,  -12,   -9,   -9,  -12,  -19,  -26,
};

// Pawn table 1: material above 70.
constexpr i16 PawnTable1[SQUARE_COUNT] = {
      99,   99,   99,   99,   99,   99,   99,   99,
      18,   31,   33,   40,   40,   33,   31,   18,
       4,    5,   18,   26,   26,   18,    5,    4,
       1,    1,    4,   16,   16,    4,    1,    1,
       0,    0,    3,   12,   12,    3,    0,    0,
       0,   -1,    1,    2,    2,   -1,   -1,    0,
       0,    0,    0,   -9,   -9,    0,    0,    0,
       0,    0,    0,    0,    0,    0,    0,    0,
};

// Pawn table 2: 63 to 70.
constexpr i16 PawnTable2[SQUARE_COUNT] = {
     199,  199,  199,  199,  199,  199,  199,  199,
      29,   44,   48,   53,   53,   48,   44,   29,
       9,   10,   14,   20,   20,   14,   10,    9,
       3,    6,   10,   16,   16,   10,    6,    3,
       1,    4,    6,   14,   14,    6,    4,    1,
       0,    1,    0,    4,    4,    0,    1,    0,
       0,    0,    0,   -9,   -9,    0,    0,    0,
       0,    0,    0,    0,    0,    0,    0,    0,
};

// Pawn table 3: 15 to 62.
constexpr i16 PawnTable3[SQUARE_COUNT] = {
     299,  299,  299,  299,  299,  299,  299,  299,
      52,   64,   67,   75,   75,   67,   64,   52,
      30,   32,   35,   45,   45,   35,   32,   30,
      15,   16,   22,   28,   28,   22,   16,   15,
       6,    8,   17,   20,   20,   17,    8,    6,
       2,    3,    1,    4,    4,    1,    3,    2,
       0,    0,    0,   -9,   -9,    0,    0,    0,
       0,    0,    0,    0,    0,    0,    0,    0,
};

// Pawn table 4: below 15.
constexpr i16 PawnTable4[SQUARE_COUNT] = {
     499,  499,  499,  499,  499,  499,  499,  499,
      72,   90,   99,  104,  104,   99,   90,   72,
      45,   54,   60,   65,   65,   60,   54,   45,
      18,   24,   28,   30,   28,   24,   30,   18,
       9,   12,   14,   18,   18,   14,   12,    9,
       1,    3,    1,    4,    4,    1,    3,    1,
       0,    0,    0,   -9,   -9,    0,    0,    0,
       0,    0,    0,    0,    0,    0,    0,    0,
};

// Knight table 1: material above 70.
constexpr i16 KnightTable1[SQUARE_COUNT] = {
     -25,  -22,  -12,  -10,  -10,  -12,  -22,  -25,
     -15,   -5,   -1,    2,    2,   -1,   -5,  -15,
     -11,    4,   10,    9,    9,   10,    4,  -11,
      -9,    5,   12,   17,   17,   12,    5,   -9,
      -9,    5,   12,   17,   17,   12,    5,   -9,
     -11,    4,   10,    9,    9,   10,    4,  -11,
     -15,   -6,   -1,    2,    2,   -1,   -6,  -15,
     -25,  -22,  -12,  -10,  -10,  -12,  -22,  -25,
};

// Knight table 2: material 70 and below.
constexpr i16 KnightTable2[SQUARE_COUNT] = {
     -19,  -14,   -6,   -4,   -4,   -6,  -14,  -19,
     -14,   -5,    0,    1,    1,    0,   -5,  -14,
      -9,    4,    8,    9,    9,    8,    4,   -9,
      -6,    5,    9,   13,   13,    9,    5,   -6,
      -6,    5,    9,   13,   13,    9,    5,   -6,
      -9,    4,    8,    9,    9,    8,    4,   -9,
     -14,   -6,   -1,    2,    2,   -1,   -6,  -14,
     -19,  -14,   -8,   -6,   -6,   -8,  -14,  -19,
};

// Bishop table 1: material above 70.
constexpr i16 BishopTable1[SQUARE_COUNT] = {
     -19,  -18,  -18,  -12,  -12,  -18,  -18,  -31,
       6,    2,    3,    3,    2,    6,  -12,   -8,
       4,    5,    8,    8,    5,    4,   -8,    0,
       6,    9,   12,   12,    9,    6,    0,    0,
       6,    9,   12,   12,    9,    6,    0,   -8,
       4,    5,    8,    8,    5,    4,   -8,  -12,
       6,    2,    3,    3,    2,    6,  -12,  -19,
     -18,  -18,  -12,  -12,  -18,  -18,  -19,    0,
};

// Bishop table 2: material 70 and below.
constexpr i16 BishopTable2[SQUARE_COUNT] = {
     -15,  -10,   -9,   -5,   -5,   -9,  -10,  -15,
     -10,    4,    2,    2,    2,    2,    4,  -10,
      -1,    4,    8,    8,    8,    7,    4,   -1,
       1,    7,   10,   13,   13,   10,    7,    1,
       1,    7,   10,   13,   13,   10,    7,    1,
      -1,    4,    8,    8,    8,    8,    4,   -1,
     -10,    4,    2,    2,    2,    2,    4,  -10,
     -15,  -10,   -9,   -5,   -5,   -9,  -10,  -15,
};

// Rook table 1: material above 70.
constexpr i16 RookTable1[SQUARE_COUNT] = {
       2,    4,    5,    6,    6,    5,    4,    2,
       7,    9,   11,   12,   12,   11,    9,    7,
      -1,    0,    4,    5,    5,    4,    0,   -1,
      -3,   -2,    3,    4,    4,    3,   -2,   -3,
      -4,   -3,    2,    3,    3,    2,   -3,   -4,
      -4,   -3,    2,    3,    3,    2,   -3,   -4,
      -9,   -2,    2,    3,    3,    2,   -2,   -9,
     -13,  -12,    0,    2,    2,    0,  -12,  -13,
};

// Rook table 2: material 70 and below.
constexpr i16 RookTable2[SQUARE_COUNT] = {
       2,    4,    5,    6,    6,    5,    4,    2,
       7,    9,   11,   12,   12,   11,    9,    7,
      -1,    0,    4,    5,    5,    4,    0,   -1,
      -3,   -2,    3,    4,    4,    3,   -2,   -3,
      -4,   -3,    2,    3,    3,    2,   -3,   -4,
      -4,   -3,    2,    3,    3,    2,   -3,   -4,
      -6,   -2,    2,    3,    3,    2,   -2,   -6,
      -8,   -6,    0,    1,    1,    0,   -6,   -8,
};

// Queen table 1: material above 70.
constexpr i16 QueenTable1[SQUARE_COUNT] = {
      -1,    0,    1,    2,    2,    1,    0,   -1,
       2,    4,    3,    3,    3,    3,    4,    2,
       1,    2,    2,    2,    2,    2,    2,    1,
       0,    1,    1,    1,    1,    1,    1,    0,
       0,    1,    1,    1,    1,    1,    1,    0,
      -1,    2,    1,    1,    1,    1,    2,   -1,
      -2,   -2,    0,    3,    3,    0,   -2,   -2,
      -4,   -3,    0,    9,    9,    0,   -3,   -4,
};

// Queen table 2: material 70 and below.
constexpr i16 QueenTable2[SQUARE_COUNT] = {
      -1,    2,    3,    4,    4,    3,    2,   -1,
       6,    7,    8,    9,    9,    8,    7,    6,
       3,    4,    5,    6,    6,    5,    4,    3,
       1,    2,    4,    7,    7,    4,    2,    1,
       0,    1,    3,    5,    5,    3,    1,    0,
      -1,    0,    1,    3,    3,    1,    0,   -1,
      -2,   -2,    0,    0,    0,    0,   -2,   -2,
      -4,   -3,    0,    1,    1,    0,   -3,   -4,
};

// Bands of TotalMaterial (78 in the starting position), from the most material
// down: the tables in force from a band's lowest value up to the next band.
struct MaterialBand {
  int lowest;
  const i16* tables[PIECE_KIND_COUNT];  // pawn, knight, bishop, rook, queen, king
};

constexpr MaterialBand MATERIAL_BANDS[] = {
    {71, {PawnTable1, KnightTable1, BishopTable1, RookTable1, QueenTable1, KingTable1}},
    {63, {PawnTable2, KnightTable2, BishopTable2, RookTable2, QueenTable2, KingTable2}},
    {47, {PawnTable3, KnightTable2, BishopTable2, RookTable2, QueenTable2, KingTable2}},
    {15, {PawnTable3, KnightTable2, BishopTable2, RookTable2, QueenTable2, KingTable3}},
    {0, {PawnTable4, KnightTable2, BishopTable2, RookTable2, QueenTable2, KingTable4}},
};

constexpr const MaterialBand& BandOf(int material) {
  for (const MaterialBand& band : MATERIAL_BANDS) {
    if (material >= band.lowest) return band;
  }
  return MATERIAL_BANDS[std::size(MATERIAL_BANDS) - 1];
}

constexpr SquareTableSelection SelectTables() {
  SquareTableSelection selection{};
  for (int material = 0; material < TOTAL_MATERIAL_LIMIT; ++material) {
    const MaterialBand& band = BandOf(material);
    for (int kind = 0; kind < PIECE_KIND_COUNT; ++kind) selection[kind][material] = band.tables[kind];
  }
  return selection;
}

}  // namespace

constinit const SquareTableSelection PstByMaterial = SelectTables();
