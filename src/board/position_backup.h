// Copies of everything a position load or a game move replaces: the position,
// its history, the game copy and the EPD moves. A load that fails puts its
// copy back, so that a refused position leaves the engine exactly as it was;
// a game keeps one of the position it started from.
#pragma once

#include <vector>

class PositionCopy {
 public:
  void Take();           // copies the position now on the board
  void PutBack() const;  // makes it the position on the board again; nothing when never taken
  bool Taken() const { return !bytes_.empty(); }

 private:
  std::vector<unsigned char> bytes_;
};

// The loader's own copy.
void BackUpPosition();
void RestorePosition();
