#include "driver/xboard.h"

#include <cstdio>
#include <cstring>

#include "board/attacks.h"
#include "board/move_text.h"
#include "movegen/legal_moves.h"
#include "book/book_move.h"
#include "book/opening_book.h"
#include "driver/command_loop.h"
#include "platform/console_input.h"
#include "platform/engine_log.h"
#include "driver/game_move.h"
#include "platform/input_poll.h"
#include "driver/pondering.h"
#include "driver/time_control.h"
#include "search/draw.h"
#include "search/think.h"
#include "search/trans_table.h"

namespace {

struct Feature {
  const char* name;
  const char* value;
};
const Feature Features[] = {{"done", "0"}, {"setboard", "1"}};

constexpr u8 SEARCH_DEPTH = 128;
constexpr i16 MATE_IN_ONE_SCORE = 8099;
constexpr i16 MATE_SCORE_THRESHOLD = 8050;

// Reads two words of the interface's reply and forgets them.
void SkipReply() {
  char word[COMMAND_BUFFER_SIZE];
  ReadWord(word, sizeof word);
  ReadWord(word, sizeof word);
}

// "1-0" when black is to move (white has just won), else "0-1".
const char* WinnerResult() { return SideToMove == BLACK ? "1-0" : "0-1"; }

// The claim for a game-end code found by the search before moving; null for a move.
const char* ClaimBeforeMoving(Move best, char* buffer, size_t size) {
  switch (best) {
    case GAME_REPETITION: return "1/2-1/2 {Draw by 3 fold repetition (2)}\n";
    case GAME_STALEMATE: return "1/2-1/2 {Draw by stalemate (1)}\n";
    case GAME_FIFTY_MOVES: return "1/2-1/2 {Draw by 50 moves rule (3)}\n";
    case GAME_NO_MATERIAL: return "1/2-1/2 {Draw by insufficient material to mate (4)}\n";
    case GAME_MATED:
      std::snprintf(buffer, size, "%s {Tavrel mated 0}\n", WinnerResult());
      return buffer;
    default: return nullptr;
  }
}

// The claim after the engine's move, with the opponent to move; null for none.
const char* ClaimAfterMoving(char* buffer, size_t size) {
  if (BestScore == MATE_IN_ONE_SCORE) {
    std::snprintf(buffer, size, "%s {Tavrel mates 1}\n", WinnerResult());
    return buffer;
  }
  if (BestScore > MATE_SCORE_THRESHOLD) {
    const TransEntry* entry = ProbeTransTable();
    if (entry && EntryMove(*entry) == GAME_MATED) {
      std::snprintf(buffer, size, "%s {Tavrel mates 1#}\n", WinnerResult());
      return buffer;
    }
    return nullptr;
  }
  switch (DrawCheck(ROOT_REPEATS)) {
    case GAME_REPETITION: return "1/2-1/2 {Draw by 3 fold repetition (22)}\n";
    case GAME_FIFTY_MOVES: return "1/2-1/2 {Draw by 50 moves rule (33)}\n";
    case GAME_NO_MATERIAL: return "1/2-1/2 {Draw by insufficient material to mate (44)}\n";
    default: return nullptr;
  }
}

void PrintMove(Move move) {
  char text[MOVE_TEXT_SIZE];
  MoveToText(text, move);
  std::printf("move %s\n", text);
}

// The table's best move for the opponent, when it is a move of the position:
// a code that reports a game's end, or a move of another position that shares
// the key, is never played on the board.
Move ExpectedReply() {
  const TransEntry* entry = ProbeTransTable();
  if (!entry) return NO_MOVE;
  Move reply = EntryMove(*entry);
  return IsGeneratedLegalMove(reply) ? reply : NO_MOVE;
}

void PonderOrNot() {
  Move guess = PonderEnabled ? ExpectedReply() : NO_MOVE;
  if (guess == NO_MOVE) {
    EngineLog << "- NO ponder move" << EndLine;
    return;
  }
  StartPondering(guess);
}

bool PlayBookMove() {
  if (GameMoveCount >= BOOK_MOVE_LIMIT) return false;
  Move move = BookMove();
  if (move == NO_MOVE) return false;
  PlayGameMove(move);
  PrintMove(move);
  char text[MOVE_TEXT_SIZE];
  MoveToText(text, move);
  EngineLog << "move (book) " << text << EndLine;
  EngineState = ENGINE_PLAYING;
  PonderOrNot();
  return true;
}

}  // namespace

bool XboardHandshake() {
  EngineState = ENGINE_PLAYING;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::fflush(nullptr);
  char greeting[COMMAND_BUFFER_SIZE] = "";
  bool xboard = false;
  WordStatus status = ReadWord(greeting, sizeof greeting);
  if (status != WordStatus::EndOfInput) {
    xboard = status == WordStatus::Read && std::strncmp(greeting, "xboard", 6) == 0;
    if (!xboard) {
      std::printf("Engine works only with xboard protocol ver. 2\n");
      UnreadWord(greeting, status);  // an operator's first command is still carried out
    }
  }
  std::printf("\n");
  for (const Feature& feature : Features) {
    std::printf("feature %s=%s\n", feature.name, feature.value);
    if (xboard) SkipReply();
  }
  EngineState = ENGINE_PLAYING;
  UndoTop = UndoRecords;
  InitBoardTables();
  ClearTransTable();
  bool bookOpened = OpenEngineBook("");
  std::printf("feature done=1\n");
  if (xboard) SkipReply();
  if (!bookOpened) {
    const char* message = EngineBook.Message().Text();
    std::printf("BOOK ERROR: %s\n", message);
    EngineLog << "BOOK ERROR: " << message;
  }
  return true;
}

void EngineMove() {
  bool goodPonder = EngineState == ENGINE_PONDERING;
  if (PlayBookMove()) return;

  EngineState = ENGINE_THINKING;
  StartEngine(goodPonder, SEARCH_DEPTH);
  char claimText[64];
  const char* claim = ClaimBeforeMoving(BestMove, claimText, sizeof claimText);
  if (!claim) {
    Move move = BestMove;
    PlayGameMove(move);
    PrintMove(move);
    char text[MOVE_TEXT_SIZE];
    MoveToText(text, move);
    EngineLog << "move " << text << "\tscore: " << BestScore << EndLine;
    claim = ClaimAfterMoving(claimText, sizeof claimText);
  }
  EngineState = ENGINE_PLAYING;
  if (claim) {
    std::printf("%s", claim);
    EngineLog << "- NO ponder move" << EndLine;
    return;
  }
  if (!PonderEnabled || InputPending() != 0) {
    EngineLog << "- NO ponder move" << EndLine;
    return;
  }
  PonderOrNot();
}
