// Copies of everything a position load or a game move replaces: the position,
// its history, the game copy and the EPD moves (the undo records stay). A load
// that fails puts its copy back, so that a refused position leaves the engine
// exactly as it was; a game keeps one of the position it started from.
#pragma once

#include "board/position.h"

class PositionCopy {
 public:
  void Take(const Position& pos);     // copies the position now on the board
  void PutBack(Position& pos) const;  // makes it the position on the board again; nothing when never taken
  bool Taken() const { return taken_; }

 private:
  PositionFields fields_;
  long historyDepth_ = 0;
  bool taken_ = false;
};
