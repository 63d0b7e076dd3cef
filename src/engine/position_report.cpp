#include "engine/position_report.h"

#include <cinttypes>
#include <cstdio>

#include "board/move_text.h"
#include "board/position.h"
#include "board/position_text.h"

namespace {

void PrintEpdMove(const char* label, Move move) {
  if (move == NO_MOVE) return;
  std::printf("%s: %s\n", label, MoveText(move).c_str());
}

}  // namespace

void ShowPosition(Position& pos) {
  PrintBoard(pos.Board);
  char text[POSITION_TEXT_SIZE];
  WritePositionText(pos, text);
  std::printf("FEN: %s\n", text);
  std::printf("Key: %016" PRIX64 "\n", pos.HashKey);
  PrintEpdMove("bm", pos.EpdBestMove);
  PrintEpdMove("am", pos.EpdAvoidMove);
}
