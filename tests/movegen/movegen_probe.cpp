#include "movegen_probe.h"

#include <cctype>
#include <sstream>

#include "board/attacks.h"
#include "board/check.h"
#include "board/load_position.h"
#include "board/make_move.h"
#include "eval/square_tables.h"
#include "movegen/generate_all.h"
#include "movegen/generate_captures.h"
#include "movegen/generate_evasions.h"

void MovegenTest::SetUpTestSuite() { InitBoardTables(); }

void Load(const std::string& text) { ASSERT_TRUE(LoadPosition(text.c_str())) << text; }

std::vector<MoveEntry> Generate(Generator generator) {
  UndoRecord& record = UndoRecords[1];
  FindCheckers(record);
  MoveEntry* end = MoveStack;
  switch (generator) {
    case Generator::All: end = GenerateAll[SideToMove](MoveStack); break;
    case Generator::Captures: end = GenerateCaptures[SideToMove](MoveStack); break;
    case Generator::Evasions: end = GenerateEvasions[SideToMove](MoveStack, record); break;
  }
  return std::vector<MoveEntry>(MoveStack, end);
}

std::vector<MoveEntry> GenerateForPosition() {
  FindCheckers(UndoRecords[1]);
  return Generate(UndoRecords[1].checkers ? Generator::Evasions : Generator::All);
}

std::vector<MoveEntry> LegalEntries(const std::vector<MoveEntry>& list) {
  std::vector<MoveEntry> legal;
  int mover = static_cast<int>(SideToMove);
  for (const MoveEntry& entry : list) {
    UndoRecord record;
    SavePositionForUndo(record);
    MakeMove(entry.move, record);
    bool illegal = KingLeftInCheck(entry.move, mover);
    UnmakeMove(entry.move, record);
    if (!illegal) legal.push_back(entry);
  }
  return legal;
}

int Psq(int piece, int square) { return SquareTableOfPiece(piece)[square]; }

namespace {

std::string SquareText(int square) {
  return {static_cast<char>('a' + (square & 7)), static_cast<char>('8' - (square >> 3))};
}

}  // namespace

std::string Text(Move move) {
  std::string text = SquareText(MoveFrom(move));
  text += SquareText(MoveTo(move));
  if (IsPromotion(move)) text += "qnrb"[(MoveKind(move) - KIND_PROMOTE_QUEEN) % 4];
  return text;
}

namespace {

std::string ListText(const std::vector<MoveEntry>& list, bool withScores) {
  std::string text;
  for (const MoveEntry& entry : list) {
    if (!text.empty()) text += ' ';
    text += Text(entry.move);
    if (withScores) {
      text += ':';
      text += std::to_string(entry.score);
    }
  }
  return text;
}

}  // namespace

std::string Moves(const std::vector<MoveEntry>& list) { return ListText(list, false); }
std::string MovesAndScores(const std::vector<MoveEntry>& list) { return ListText(list, true); }

std::string MirroredFen(const std::string& fen) {
  auto swapCase = [](char c) {
    auto u = static_cast<unsigned char>(c);
    return static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
  };
  std::istringstream in(fen);
  std::string placement, side, castling, enPassant;
  in >> placement >> side >> castling >> enPassant;
  std::string mirrored;
  std::istringstream rows(placement);
  for (std::string rank; std::getline(rows, rank, '/');) {
    for (char& c : rank) c = swapCase(c);
    mirrored = mirrored.empty() ? rank : rank + "/" + mirrored;
  }
  std::string rights;
  for (char c : std::string("KQkq-")) {  // upper-case rights come first
    if (castling.find(c == '-' ? c : swapCase(c)) != std::string::npos) rights += c;
  }
  if (enPassant != "-") enPassant[1] = static_cast<char>('9' - (enPassant[1] - '0'));
  return mirrored + (side == "w" ? " b " : " w ") + rights + " " + enPassant;
}

Move MirroredMove(Move move) {
  int kind = MoveKind(move);
  // Castling kinds come in black/white pairs: 12/13 short, 14/15 long.
  if (IsCastling(move)) kind ^= 1;
  return MakeMoveCode(MoveFrom(move) ^ 56, MoveTo(move) ^ 56, kind);
}
