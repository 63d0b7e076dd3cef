#include "tools/pgn_reader.h"

#include <cstdio>
#include <cstring>

#include "board/check.h"
#include "board/make_move.h"
#include "board/position_text.h"
#include "platform/blanks.h"
#include "platform/engine_log.h"
#include "tools/conversion_error.h"
#include "movegen/legal_moves.h"
#include "tools/san.h"

namespace {

constexpr size_t TAG_LINE_SIZE = 511;  // 510 characters and the NUL
constexpr char RESULT_TAG[] = "Result";
constexpr size_t TOKEN_LENGTH = GAME_TOKEN_SIZE - 1;

// The reader's own undo records, one per ply of the game being read (ply 1 on),
// apart from the search's.
constexpr int READER_PLY_LIMIT = MAX_GAME_PLIES + 1;
UndoRecord ReaderUndoRecords[READER_PLY_LIMIT];

bool IsDigit(int c) { return c >= '0' && c <= '9'; }

// Takes back the moves made while reading a game, however the reading ends.
class MovesOnBoard {
 public:
  MovesOnBoard(Position& pos, const GameRecord& game) : pos_(pos), game_(game) {}
  ~MovesOnBoard() { TakeBack(); }
  MovesOnBoard(const MovesOnBoard&) = delete;
  MovesOnBoard& operator=(const MovesOnBoard&) = delete;

  // The move of ply has been made with that ply's record.
  void Made(int ply) { made_ = ply; }

  void TakeBack() {
    for (; made_ > 0; --made_) UnmakeMove(pos_, game_.moves[made_ - 1], ReaderUndoRecords[made_]);
  }

 private:
  Position& pos_;
  const GameRecord& game_;
  int made_ = 0;
};

// The rest of a tag line up to its line feed, which is consumed; what does
// not fit is passed over.
void ReadTagLine(PgnInput& in, char* line) {
  size_t length = 0;
  for (int c = in.Get(); c != PgnInput::END && c != '\n'; c = in.Get()) {
    if (length < TAG_LINE_SIZE - 1) line[length++] = static_cast<char>(c);
  }
  line[length] = '\0';
}

// The letter of the value of a "Result" tag: value is what follows the word.
char ResultTagLetter(const char* value) {
  while (IsBlank(*value)) ++value;
  if (*value != '\0') ++value;  // the opening quote
  if (std::strncmp(value, "1-0", 3) == 0) return 'W';
  if (std::strncmp(value, "0-1", 3) == 0) return 'B';
  if (std::strncmp(value, "1/2-1/2", 7) == 0) return 'D';
  if (*value == '*') return '*';
  throw ConversionError("Result Error 1");
}

// Passes over a comment or a variation whose opening character has been read,
// with those nested in it, up to its closing character or the end of the text.
void SkipNested(PgnInput& in, int open, int close) {
  for (i64 depth = 1; depth > 0;) {
    int c = in.Get();
    if (c == PgnInput::END) return;
    if (c == open) ++depth;
    if (c == close) --depth;
  }
}

bool EndsToken(int c) {
  return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '{' || c == PgnInput::END;
}

// A token whose first character has been read: at most ten characters, up to
// the blank, line end, tab or brace that follows, which stays in the text.
void ReadToken(PgnInput& in, int first, char* token) {
  size_t length = 0;
  token[length++] = static_cast<char>(first);
  while (length < TOKEN_LENGTH && !EndsToken(in.Peek())) token[length++] = static_cast<char>(in.Get());
  token[length] = '\0';
}

// After the digit first has been read: whether the rest of the game's result
// text follows it.
bool ResultFollows(PgnInput& in, const GameRecord& game, int first) {
  const char* result = game.resultText;
  if (result[0] == '\0' || first != result[0]) return false;
  for (size_t i = 1; result[i] != '\0'; ++i) {
    if (in.Peek(i - 1) != static_cast<unsigned char>(result[i])) return false;
  }
  return true;
}

// After a digit that is not the end marker: true when it begins a move token
// (castling written with zeros, or text that begins like the result), false
// for a digit of a move number.
bool BeginsMoveToken(PgnInput& in, const GameRecord& game, int first) {
  if (first == '0' && in.Peek(0) == '-' && in.Peek(1) == '0') return true;
  return first == game.resultText[0] && in.Peek(0) == static_cast<unsigned char>(game.resultText[1]);
}

void ReportMove(const GameRecord& game, int ply) {
  std::printf("move: %s, plyNo:%d\n", game.token, ply);
}

// Checks the move against the rules and plays it as the move of ply.
void PlayCheckedMove(Position& pos, GameRecord& game, Move move, int ply, MovesOnBoard& onBoard) {
  UndoRecord& record = ReaderUndoRecords[ply];
  if (!IsGeneratedMove(pos, move, record)) {
    PrintBoard(pos.Board);
    ReportMove(game, ply);
    EngineLog << game.token << "MOVE NOT LEGAL 1" << EndLine;
    throw ConversionError("MOVE NOT LEGAL 1");
  }
  int mover = static_cast<int>(pos.SideToMove);
  SavePositionForUndo(pos, record);
  game.moves[ply - 1] = move;
  MakeMove(pos, move, record);
  onBoard.Made(ply);
  if (KingLeftInCheck(pos, move, mover)) {
    PrintBoard(pos.Board);
    ReportMove(game, ply);
    throw ConversionError("MOVE NOT LEGAL 2 - check revealed");
  }
}

}  // namespace

bool ReadPgnTags(GameRecord& game, PgnInput& in) {
  SetGameResult(game, '?');
  bool resultTagSeen = false;
  in.SkipWhiteSpace();
  while (in.Peek() == '[') {
    in.Get();
    in.SkipWhiteSpace();
    char line[TAG_LINE_SIZE];
    ReadTagLine(in, line);
    if (std::strncmp(line, RESULT_TAG, sizeof RESULT_TAG - 1) == 0) {
      SetGameResult(game, ResultTagLetter(line + sizeof RESULT_TAG - 1));
      resultTagSeen = true;
    }
    in.SkipWhiteSpace();
  }
  if (in.Peek() == PgnInput::END) return false;
  if (!resultTagSeen) throw ConversionError("Result Error 2");
  return true;
}

int ReadPgnGame(Position& pos, GameRecord& game, PgnInput& in) {
  game.header = 0;
  int ply = 1;
  if (!ReadPgnTags(game, in)) return 0;
  MovesOnBoard onBoard(pos, game);
  while (!in.Failed()) {
    in.SkipWhiteSpace();
    int c = in.Get();
    if (c == PgnInput::END) break;
    if (c == '*') {
      if (game.resultLetter != '*') throw ConversionError("Result * error");
      break;
    }
    if (IsDigit(c)) {
      if (ResultFollows(in, game, c)) {
        for (size_t i = 1; game.resultText[i] != '\0'; ++i) in.Get();
        break;
      }
      if (!BeginsMoveToken(in, game, c)) continue;  // a move number
    } else if (c == '.' || c == '$') {
      continue;
    } else if (c == '{' || c == '(') {
      SkipNested(in, c, c == '{' ? '}' : ')');
      continue;
    }
    ReadToken(in, c, game.token);
    // Past the plies a record holds the moves are passed over unread, so that
    // the position they would be read in no longer matters.
    if (ply == READER_PLY_LIMIT) continue;
    Move move = ParseSanMove(pos, game.token);
    if (move == NO_MOVE) {
      EngineLog << game.token << "ERROR" << EndLine;
      ReportMove(game, ply);
      onBoard.TakeBack();
      in.SkipToTagLine();
      return 0;
    }
    PlayCheckedMove(pos, game, move, ply, onBoard);
    ++ply;
  }
  int plies = ply - 1;
  if (plies == 0) {
    in.SkipWhiteSpace();
    return 0;
  }
  int code = ResultCodeOfText(game.resultText);
  if (code < 0) throw ConversionError("wrong end result 2");
  game.header = MakeGameHeader(plies, code);
  onBoard.TakeBack();
  return plies;
}
