// Plays moves on the position the test loaded, each with an undo record of its
// own, and takes them back.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <utility>

#include "board/attacks.h"
#include "board/load_position.h"
#include "board/make_move.h"

class LinePlayer {
 public:
  static void Load(const char* fen) {
    InitBoardTables();
    ASSERT_TRUE(LoadPosition(fen)) << fen;
  }
  void Play(int from, int to, int kind = KIND_QUIET) {
    Move move = MakeMoveCode(from, to, kind);
    played_.emplace_back(move, UndoRecord{});
    SavePositionForUndo(played_.back().second);
    MakeMove(move, played_.back().second);
  }
  void TakeBack() {
    UnmakeMove(played_.back().first, played_.back().second);
    played_.pop_back();
  }

 private:
  std::deque<std::pair<Move, UndoRecord>> played_;
};
