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

std::string WrittenPosition() {
  char text[POSITION_TEXT_SIZE];
  char* end = WritePositionText(text);
  Require(end == text + std::strlen(text), "WritePositionText returns its NUL");
  return text;
}

void CheckMovesTakenBack() {
  const std::string before = PositionBytes();
  for (Move move : LegalMoves()) {
    char text[MOVE_TEXT_SIZE];
    MoveToText(text, move);
    Require(ParseBoardMove(text) == move && ParseGameMove(text) == move, "move text parses back");
    UndoRecord record{};
    SavePositionForUndo(record);
    MakeMove(move, record);
    UnmakeMove(move, record);
    Require(PositionBytes() == before, "make and unmake leave the position as it was");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  LoadPosition(INITIAL_POSITION);
  const std::string initial = PositionBytes();
  const std::string text = TextOf(data, size);
  if (!LoadPosition(text.c_str())) {
    if (LastLoadOutcome() == LoadOutcome::Refused) Require(PositionBytes() == initial, "a refused text changes nothing");
    Require(EpdBestMove == NO_MOVE && EpdAvoidMove == NO_MOVE, "no EPD move after a failed load");
    if (LastLoadOutcome() == LoadOutcome::Refused) return 0;
  }
  RequireLoadedPositionSound();
  for (Move move : {EpdBestMove, EpdAvoidMove}) {
    Require(move == NO_MOVE || IsGeneratedLegalMove(move), "an EPD move is legal");
  }
  PrintBoard(Board);
  const std::string written = WrittenPosition();
  const std::string loaded = PositionBytes();
  Require(LoadPosition(written.c_str()), "the text written loads");
  Require(PositionBytes() == loaded, "the text written loads the same position");
  Require(WrittenPosition() == written, "the text written is written again");
  CheckMovesTakenBack();
  return 0;
}
