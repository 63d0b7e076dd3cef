// FEN and EPD text from anywhere: a refused text changes nothing; a loaded one
// is sound, writes back to a text that loads to the same position, keeps an
// EPD move only when it is legal, and every legal move is made and taken back
// without a trace.
#include <cstring>

#include "board/make_move.h"
#include "board/move_text.h"
#include "board/position.h"
#include "board/position_text.h"
#include "engine/new_position.h"
#include "fuzz_support.h"
#include "movegen/legal_moves.h"

namespace {

std::string WrittenPosition(Position& pos) {
  char text[POSITION_TEXT_SIZE];
  char* end = WritePositionText(pos, text);
  Require(end == text + std::strlen(text), "WritePositionText returns its NUL");
  return text;
}

void CheckMovesTakenBack(Position& pos) {
  const std::string before = PositionBytes(pos);
  for (Move move : LegalMoves(pos)) {
    char text[MOVE_TEXT_SIZE];
    MoveToText(text, move);
    Require(ParseBoardMove(pos, text) == move && ParseGameMove(pos, text) == move, "move text parses back");
    UndoRecord record{};
    SavePositionForUndo(pos, record);
    MakeMove(pos, move, record);
    UnmakeMove(pos, move, record);
    Require(PositionBytes(pos) == before, "make and unmake leave the position as it was");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Position pos;
  ReadPositionText(pos, INITIAL_POSITION);
  const std::string initial = PositionBytes(pos);
  const std::string text = TextOf(data, size);
  LoadOutcome outcome;
  if (!ReadPositionText(pos, text.c_str(), &outcome)) {
    if (outcome == LoadOutcome::Refused) Require(PositionBytes(pos) == initial, "a refused text changes nothing");
    Require(pos.EpdBestMove == NO_MOVE && pos.EpdAvoidMove == NO_MOVE, "no EPD move after a failed load");
    if (outcome == LoadOutcome::Refused) return 0;
  }
  RequireLoadedPositionSound(pos);
  for (Move move : {pos.EpdBestMove, pos.EpdAvoidMove}) {
    Require(move == NO_MOVE || IsGeneratedLegalMove(pos, move), "an EPD move is legal");
  }
  PrintBoard(pos.Board);
  const std::string written = WrittenPosition(pos);
  const std::string loaded = PositionBytes(pos);
  Require(ReadPositionText(pos, written.c_str()), "the text written loads");
  Require(PositionBytes(pos) == loaded, "the text written loads the same position");
  Require(WrittenPosition(pos) == written, "the text written is written again");
  CheckMovesTakenBack(pos);
  return 0;
}
