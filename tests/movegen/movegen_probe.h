// Helpers of the move generation tests: generators run as the search runs them, trees walked, mirrored positions.
#pragma once

#include "board/position.h"
#include "movegen/generate_captures.h"
#include "support/move_probe.h"
#include "support/test_data.h"

inline const std::string START_MOVES =
    "g1h3 g1f3 b1c3 b1a3 h2h4 g2g4 f2f4 e2e4 d2d4 c2c4 b2b4 a2a4 h2h3 g2g3 f2f3 e2e3 d2d3 c2c3 b2b3 a2a3";

// The sanitizer build walks smaller trees.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool SANITIZED = true;
#else
constexpr bool SANITIZED = false;
#endif

// The list the generator writes for the side to move, with the checkers found into the
// first undo record; AsSearched: evasions in check, all moves otherwise.
enum class Generator { All, Captures, Evasions, AsSearched };

inline std::vector<MoveEntry> Generate(Position& pos, Generator generator) {
  static MoveEntry list[MAX_LIST_MOVES];
  UndoRecord& record = pos.UndoRecords[1];
  FindCheckers(pos, record);
  if (generator == Generator::AsSearched) generator = record.checkers ? Generator::Evasions : Generator::All;
  if (generator == Generator::Evasions) return {list, GenerateEvasions[pos.SideToMove](pos, list, record)};
  return {list, (generator == Generator::All ? GenerateAll : GenerateCaptures)[pos.SideToMove](pos, list)};
}

// Visits every position of the legal move tree depth plies deep below the present one, each before those below it, with
// the plies left below it.
template <typename Visit>
void WalkTree(Position& pos, int depth, const Visit& visit) {
  visit(depth);
  if (depth > 0) {
    for (Move move : LegalMoves(pos)) WithMoveMade(pos, move, [&] { WalkTree(pos, depth - 1, visit); });
  }
}

// The position with colours exchanged and the board turned upside down.
inline std::string MirroredFen(const std::string& fen) {
  std::istringstream in(fen);
  std::string placement, side, castling, enPassant, mirrored;
  in >> placement >> side >> castling >> enPassant;
  auto swapCase = [](std::string& text) {
    for (char& c : text) c = std::isalpha(static_cast<unsigned char>(c)) ? static_cast<char>(c ^ 0x20) : c;
  };
  swapCase(placement);
  swapCase(castling);
  std::sort(castling.begin(), castling.end());  // "KQkq": upper case first
  std::istringstream rows(placement);
  for (std::string rank; std::getline(rows, rank, '/');) mirrored = mirrored.empty() ? rank : rank + "/" + mirrored;
  if (enPassant != "-") enPassant[1] = static_cast<char>('9' - (enPassant[1] - '0'));
  return mirrored + (side == "w" ? " b " : " w ") + castling + " " + enPassant;
}

// The move of the mirrored piece in the mirrored position. Castling kinds come in black/white pairs: 12/13 short,
// 14/15 long.
inline Move MirroredMove(Move move) {
  return MakeMoveCode(MoveFrom(move) ^ 56, MoveTo(move) ^ 56, MoveKind(move) ^ (IsCastling(move) ? 1 : 0));
}
