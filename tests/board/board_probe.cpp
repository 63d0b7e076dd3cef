#include "board_probe.h"

#include <cstring>

#include "board/castling.h"
#include "board/load_position.h"
#include "board/make_move.h"
#include "board/position_text.h"
#include "board/zobrist.h"

u64 Walk(int square, const Steps& steps, bool slide, u64 occupied) {
  u64 reached = 0;
  for (auto [file, row] : steps) {
    for (int f = FileOf(square) + file, r = RowOf(square) + row; f >= 0 && f < 8 && r >= 0 && r < 8;
         f += file, r += row) {
      reached |= SquareBit(8 * r + f);
      if (!slide || (occupied & SquareBit(8 * r + f))) break;
    }
  }
  return reached;
}

std::string InvariantViolations() {
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

void Load(const char* text) { ASSERT_TRUE(LoadPosition(text)) << text; }

std::string PositionText() {
  char text[POSITION_TEXT_SIZE];
  char* end = WritePositionText(text);
  EXPECT_EQ(end, text + std::strlen(text));
  return text;
}

CheckedLine::CheckedLine(const char* position) {
  Load(position);
  rightsAtLoad_ = CastleRights;
}

void CheckedLine::Make(Move move) {
  records_.emplace_back(move, UndoRecord{});
  SavePositionForUndo(records_.back().second);
  spentByCastling_.push_back(IsCastling(move) ? CastlingOf(move).right : 0);
  MakeMove(move, records_.back().second);
  EXPECT_EQ(InvariantViolations(), "") << "after " << std::hex << move;
  EXPECT_EQ(std::make_pair(HashKey, PawnHashKey), ExpectedKeys()) << "after " << std::hex << move;
}

void CheckedLine::Unmake() {
  UnmakeMove(records_.back().first, records_.back().second);
  records_.pop_back();
  spentByCastling_.pop_back();
}

std::pair<u64, u32> CheckedLine::ExpectedKeys() const {
  u64 key = 0;
  u32 pawnKey = 0;
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    if (Board[s] != EMPTY) key ^= ZobristKeys[Board[s]][s];
    if (Board[s] == WHITE_PAWN || Board[s] == BLACK_PAWN) pawnKey ^= static_cast<u32>(ZobristKeys[Board[s]][s]);
  }
  // After a make, only a double step sets the square, and always with its key.
  if (EnPassantSquare != 0) {
    key ^= ZobristKeys[0][EnPassantSquare];
    pawnKey ^= static_cast<u32>(ZobristKeys[0][EnPassantSquare]);
  }
  u16 spent = 0;
  for (u16 right : spentByCastling_) spent |= right;
  for (u16 right : {CASTLE_WHITE_SHORT, CASTLE_WHITE_LONG, CASTLE_BLACK_SHORT, CASTLE_BLACK_LONG}) {
    if ((rightsAtLoad_ & right) && !(CastleRights & right) && !(spent & right)) key ^= CastleKey(right);
  }
  return {key, pawnKey};
}
