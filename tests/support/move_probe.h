// Positions loaded and moves tried: the legal moves found with the generators, make/unmake and the legality test.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/check.h"
#include "board/make_move.h"
#include "board/move_text.h"
#include "board/position.h"
#include "engine/new_position.h"
#include "eval/pawn_structure.h"
#include "movegen/generate_all.h"
#include "movegen/generate_evasions.h"
#include "search/trans_table.h"

// Loads text, the tables built once first, into a fresh transposition table and pawn cache; fails the current test if
// the load is refused.
inline void Load(Position& pos, const std::string& text) {
  static const bool tablesBuilt = (InitBoardTables(), true);
  ASSERT_TRUE(tablesBuilt && ReadPositionText(pos, text.c_str())) << text;
  ClearTransTable();
  ClearPawnHashTable();
}

// The same as the engine loads its game's position: what its search learnt is forgotten.
inline void Load(Engine& engine, const std::string& text) {
  static const bool tablesBuilt = (InitBoardTables(), true);
  ASSERT_TRUE(tablesBuilt && LoadPosition(engine, text.c_str())) << text;
}

// Makes move with a record of its own while visit runs; false, with nothing visited, when the move leaves the mover's
// king attacked.
template <typename Visit>
bool WithMoveMade(Position& pos, Move move, Visit visit) {
  UndoRecord record{};
  SavePositionForUndo(pos, record);
  const int mover = static_cast<int>(pos.SideToMove);
  MakeMove(pos, move, record);
  const bool legal = !KingLeftInCheck(pos, move, mover);
  if (legal) visit();
  UnmakeMove(pos, move, record);
  return legal;
}

// Making the (generated) move does not leave the mover's king attacked.
inline bool KeepsKingSafe(Position& pos, Move move) {
  return WithMoveMade(pos, move, [] {});
}

// The legal moves of the side to move in generation order: evasions in check, all moves otherwise, as the search
// generates them.
inline std::vector<Move> LegalMoves(Position& pos) {
  MoveEntry list[MAX_LIST_MOVES];
  UndoRecord record{};
  FindCheckers(pos, record);
  MoveEntry* end =
      record.checkers ? GenerateEvasions[pos.SideToMove](pos, list, record) : GenerateAll[pos.SideToMove](pos, list);
  std::vector<Move> moves;
  for (const MoveEntry* entry = list; entry < end; ++entry) {
    if (KeepsKingSafe(pos, entry->move)) moves.push_back(entry->move);
  }
  return moves;
}

inline bool IsCheckmate(Position& pos) {
  UndoRecord record{};
  FindCheckers(pos, record);
  return record.checkers && LegalMoves(pos).empty();
}

// The legal move of the position named word, or NO_MOVE.
inline Move LegalMoveNamed(Position& pos, const std::string& word) {
  for (Move move : LegalMoves(pos)) {
    if (MoveText(move) == word) return move;
  }
  return NO_MOVE;
}

// Whether word is a legal move after the moves (coordinate texts between blanks) from the position fen.
inline bool LegalAfter(Position& pos, const std::string& fen, const std::string& moves, const std::string& word) {
  Load(pos, fen);
  std::istringstream words(moves);
  for (std::string move; words >> move;) {
    UndoRecord record{};
    MakeMove(pos, ParseBoardMove(pos, move.c_str()), record);
  }
  return LegalMoveNamed(pos, word) != NO_MOVE;
}
