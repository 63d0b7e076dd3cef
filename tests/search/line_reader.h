// Reading a line of coordinate moves (as PvToText writes it) back onto the board.
#pragma once

#include <deque>
#include <sstream>
#include <string>
#include <utility>

#include "board/make_move.h"
#include "mate_solver.h"
#include "search_fixture.h"

// Plays the moves of a text line, each only if it is a legal move of the
// position it is played in, and takes them all back when it goes.
class PlayedLine {
 public:
  // Plays the moves of text up to the first word that is no legal move;
  // that word (empty when all were moves) is left in rest().
  explicit PlayedLine(const std::string& text) {
    std::istringstream words(text);
    std::string word;
    while (words >> word) {
      const Move move = LegalMoveNamed(word);
      if (move == NO_MOVE) {
        rest_ = word;
        return;
      }
      played_.emplace_back(move, UndoRecord{});
      SavePositionForUndo(played_.back().second);
      MakeMove(move, played_.back().second);
    }
  }
  ~PlayedLine() {
    for (; !played_.empty(); played_.pop_back()) UnmakeMove(played_.back().first, played_.back().second);
  }
  PlayedLine(const PlayedLine&) = delete;
  PlayedLine& operator=(const PlayedLine&) = delete;

  size_t Moves() const { return played_.size(); }
  const std::string& Rest() const { return rest_; }

 private:
  static Move LegalMoveNamed(const std::string& word) {
    for (Move move : LegalMoves()) {
      if (MoveText(move) == word) return move;
    }
    return NO_MOVE;
  }
  std::deque<std::pair<Move, UndoRecord>> played_;
  std::string rest_;
};
