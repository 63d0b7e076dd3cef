#include "engine/position_report.h"

#include <cinttypes>
#include <cstdio>

#include "board/move_text.h"
#include "board/position.h"
#include "board/position_text.h"

namespace {

void PrintEpdMove(const char* label, Move move) {
  if (move == NO_MOVE) return;
  char text[MOVE_TEXT_SIZE];
  MoveToText(text, move);
  std::printf("%s: %s\n", label, text);
}

}  // namespace

void ShowPosition() {
  PrintBoard(Board);
  char text[POSITION_TEXT_SIZE];
  WritePositionText(text);
  std::printf("FEN: %s\n", text);
  std::printf("Key: %016" PRIX64 "\n", HashKey);
  PrintEpdMove("bm", EpdBestMove);
  PrintEpdMove("am", EpdAvoidMove);
}
