// Helpers of the board tests: the variables derived from Board recomputed, positions written back.
#pragma once

#include <cstring>

#include "board/castling.h"
#include "board/move_validity.h"
#include "board/position_text.h"
#include "support/move_probe.h"
#include "support/position_snapshot.h"

// Builds the tables once for every test of the fixture.
class BoardTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { InitBoardTables(); }
};

// What disagrees between Board and the variables derived from it; empty when all agree.
inline std::string InvariantViolations() {
  u64 pieces[PIECE_CODE_COUNT] = {}, colour[2] = {};
  int kings[2] = {-1, -1}, total = 0, material[2] = {}, pawns[2] = {};
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    int code = Board[s], side = code & 1;
    if (code == EMPTY) continue;
    pieces[code] |= SquareBit(s);
    colour[side] |= SquareBit(s);
    if (code >= WHITE_KING) kings[side] = s;
    if (code <= BLACK_PAWN) ++pawns[side];
    if (code > BLACK_PAWN && code < WHITE_KING) material[side] += PieceValue[code];
    if (code < WHITE_KING) total += PieceValue[code];
  }
  u64 all = colour[0] | colour[1];
  std::string out;
  auto note = [&out](bool wrong, const char* name) { out += wrong ? std::string(name) + " " : ""; };
  note(!std::equal(PieceBB + WHITE_PAWN, PieceBB + WHITE_KING, pieces + WHITE_PAWN), "PieceBB");
  note(ColourBB[0] != colour[0] || ColourBB[1] != colour[1], "ColourBB");
  note(Occupied != all || OccupiedByFile != RotateToFiles(all), "Occupied/ByFile");
  note(OccupiedDiagUp != RotateToDiagUp(all) || OccupiedDiagDown != RotateToDiagDown(all), "OccupiedDiag");
  note(KingSquare[0] != kings[0] || KingSquare[1] != kings[1], "KingSquare");
  note(TotalMaterial != total || PieceMaterial[0] != material[0] || PieceMaterial[1] != material[1], "material");
  note(PawnCount[0] != pawns[0] || PawnCount[1] != pawns[1], "PawnCount");
  note(HistoryTop->key != HashKey, "HistoryTop->key");
  return out;
}

inline std::string PositionText() {
  char text[POSITION_TEXT_SIZE];
  char* end = WritePositionText(text);
  EXPECT_EQ(end, text + std::strlen(text));
  return text;
}
