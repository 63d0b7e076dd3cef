// Algebraic move text: the input's first line is a position (the initial one
// when it does not load), the rest a move text. Reading the text leaves the
// position as it was, and every legal move of the position, written in
// standard algebraic and in coordinate notation, reads back as itself.
#include <algorithm>

#include "board/move_text.h"
#include "board/position.h"
#include "engine/new_position.h"
#include "fuzz_support.h"
#include "tools/san.h"

namespace {

constexpr int KindOfPiece(int code) { return (code + 1) / 2; }

std::string SquareText(int square) {
  char text[3] = {};
  WriteSquareText(text, square);
  return text;
}

bool IsCapture(Move move) {
  int kind = MoveKind(move);
  return kind == KIND_CAPTURE || kind == KIND_EN_PASSANT || kind >= KIND_CAPTURE_PROMOTE_QUEEN;
}

// What tells the piece's move from the other legal moves of its kind to the
// same square: nothing, its file, its rank, or its whole square.
std::string Disambiguation(Position& pos, Move move, const std::vector<Move>& legal) {
  int from = MoveFrom(move), to = MoveTo(move);
  bool rivals = false, sameFile = false, sameRank = false;
  for (Move other : legal) {
    int otherFrom = MoveFrom(other);
    if (IsCastling(other) || otherFrom == from || MoveTo(other) != to || pos.Board[otherFrom] != pos.Board[from])
      continue;
    rivals = true;
    sameFile |= FileOf(otherFrom) == FileOf(from);
    sameRank |= RowOf(otherFrom) == RowOf(from);
  }
  if (!rivals) return "";
  if (!sameFile) return SquareText(from).substr(0, 1);
  if (!sameRank) return SquareText(from).substr(1);
  return SquareText(from);
}

std::string SanOf(Position& pos, Move move, const std::vector<Move>& legal) {
  if (IsCastling(move)) return FileOf(MoveTo(move)) == FileOf(G1) ? "O-O" : "O-O-O";
  int from = MoveFrom(move), to = MoveTo(move);
  int piece = KindOfPiece(pos.Board[from]);
  std::string text;
  if (piece == PAWN) {
    if (IsCapture(move)) text += SquareText(from).substr(0, 1) + "x";
    text += SquareText(to);
    if (IsPromotion(move)) text += std::string("=") + "QNRB"[(MoveKind(move) - KIND_PROMOTE_QUEEN) % 4];
    return text;
  }
  text += " PNBRQK"[piece];
  if (piece != KING) text += Disambiguation(pos, move, legal);
  if (IsCapture(move)) text += "x";
  return text + SquareText(to);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Position pos;
  const std::string input = TextOf(data, size);
  const size_t lineEnd = std::min(input.find('\n'), input.size());
  LoadOutcome outcome;
  if (!ReadPositionText(pos, input.substr(0, lineEnd).c_str(), &outcome) && outcome == LoadOutcome::Refused) {
    ReadPositionText(pos, INITIAL_POSITION);
  }
  const std::string before = PositionBytes(pos);
  const std::string moveText = lineEnd < input.size() ? input.substr(lineEnd + 1) : "";
  ParseSanMove(pos, moveText.c_str());
  Require(PositionBytes(pos) == before, "reading a move text changes nothing");

  const std::vector<Move> legal = LegalMoves(pos);
  for (Move move : legal) {
    const std::string san = SanOf(pos, move, legal);
    Require(ParseSanMove(pos, san.c_str()) == move, "a move in standard algebraic notation reads back");
    char coordinates[MOVE_TEXT_SIZE];
    MoveToText(coordinates, move);
    Require(ParseSanMove(pos, coordinates) == move, "a move in coordinates reads back");
  }
  Require(PositionBytes(pos) == before, "reading moves changes nothing");
  return 0;
}
