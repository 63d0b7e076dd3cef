#include "board/load_position.h"

#include <algorithm>
#include <iterator>
#include <cstdlib>
#include <cstring>

#include "board/bitboard.h"
#include "board/position.h"
#include "board/position_backup.h"
#include "board/position_soundness.h"
#include "board/zobrist.h"
#include "platform/blanks.h"

namespace {

// A king square before a king is read: off the board.
constexpr u8 NO_KING_SQUARE = 100;

const char* SkipBlanks(const char* text) {
  while (IsBlank(*text)) ++text;
  return text;
}

void ClearPosition(Position& pos) {
  pos.EpdAvoidMove = pos.EpdBestMove = NO_MOVE;
  std::fill(std::begin(pos.PieceBB), std::end(pos.PieceBB), 0);
  std::fill(std::begin(pos.ColourBB), std::end(pos.ColourBB), 0);
  pos.Occupied = pos.OccupiedByFile = pos.OccupiedDiagUp = pos.OccupiedDiagDown = 0;
  pos.KingSquare[WHITE] = pos.KingSquare[BLACK] = NO_KING_SQUARE;
  pos.HashKey = 0;
  pos.PawnHashKey = 0;
  pos.CastleRights = 0;
  pos.EnPassantSquare = 0;
  pos.SideToMove = WHITE;
  pos.TotalMaterial = 0;
  std::fill(std::begin(pos.PieceMaterial), std::end(pos.PieceMaterial), 0);
  std::fill(std::begin(pos.PawnCount), std::end(pos.PawnCount), 0);
  std::fill(std::begin(pos.Board), std::end(pos.Board), EMPTY);
}

// Piece code of a placement letter, 0 for any other character.
int PieceCodeOfLetter(char letter) {
  if (letter == '\0' || letter == PieceLetters[EMPTY]) return EMPTY;
  const char* found = std::strchr(PieceLetters, letter);
  return found ? static_cast<int>(found - PieceLetters) : EMPTY;
}

void PlacePiece(Position& pos, int code, int square) {
  int colour = code & 1;
  pos.Board[square] = static_cast<u8>(code);
  pos.HashKey ^= ZobristKeys[code][square];
  if (code >= WHITE_KING) {
    pos.KingSquare[colour] = static_cast<u8>(square);
    return;
  }
  pos.PieceBB[code] |= SquareMask[square];
  pos.TotalMaterial = static_cast<u8>(pos.TotalMaterial + PieceValue[code]);
  if (code <= BLACK_PAWN) {
    pos.PawnHashKey ^= static_cast<u32>(ZobristKeys[code][square]);
    ++pos.PawnCount[colour];
  } else {
    pos.PieceMaterial[colour] = static_cast<u8>(pos.PieceMaterial[colour] + PieceValue[code]);
  }
}

// From a8 to h1; '/' is passed over and the length of a rank is not counted.
bool ReadPlacement(Position& pos, const char*& text) {
  int square = 0;
  while (square < SQUARE_COUNT) {
    char c = *text;
    if (c == '/') {
      ++text;
    } else if (c >= '1' && c <= '8') {
      square += c - '0';
      ++text;
    } else if (int code = PieceCodeOfLetter(c)) {
      PlacePiece(pos, code, square++);
      ++text;
    } else {
      return false;
    }
  }
  return true;
}

bool ReadSideToMove(Position& pos, const char*& text) {
  text = SkipBlanks(text);
  char c = *text;
  if (c == 'w' || c == 'W') {
    pos.SideToMove = WHITE;
  } else if (c == 'b' || c == 'B') {
    pos.SideToMove = BLACK;
  } else {
    return false;
  }
  ++text;
  return true;
}

// Up to four letters; the first other character ends the field and is passed over.
void ReadCastleRights(Position& pos, const char*& text) {
  constexpr int MAX_RIGHT_LETTERS = 4;
  text = SkipBlanks(text);
  for (int i = 0; i < MAX_RIGHT_LETTERS; ++i) {
    char c = *text;
    u16 right = c == 'K' ? CASTLE_WHITE_SHORT
                : c == 'Q' ? CASTLE_WHITE_LONG
                : c == 'k' ? CASTLE_BLACK_SHORT
                : c == 'q' ? CASTLE_BLACK_LONG
                           : 0;
    if (c != '\0') ++text;
    if (right == 0) return;
    pos.CastleRights |= right;
  }
}

// A square of the rank a double step of the other side skips, else none.
void ReadEnPassantSquare(Position& pos, const char*& text) {
  text = SkipBlanks(text);
  if (*text == '-') {
    ++text;
    return;
  }
  char file = text[0];
  if (file == '\0') return;
  char rank = text[1];
  text += rank == '\0' ? 1 : 2;
  char expectedRank = pos.SideToMove == WHITE ? '6' : '3';
  if (file >= 'a' && file <= 'h' && rank == expectedRank) {
    pos.EnPassantSquare = static_cast<u8>(SquareAt(file - 'a', rank - '0'));
  }
}

void BuildOccupancy(Position& pos) {
  for (int colour : {BLACK, WHITE}) {
    pos.ColourBB[colour] = SquareMask[pos.KingSquare[colour]];
    for (int kind = PAWN; kind < KING; ++kind) pos.ColourBB[colour] |= pos.PieceBB[PieceCode(kind, colour)];
  }
  pos.Occupied = pos.ColourBB[BLACK] | pos.ColourBB[WHITE];
  pos.OccupiedByFile = RotateToFiles(pos.Occupied);
  pos.OccupiedDiagUp = RotateToDiagUp(pos.Occupied);
  pos.OccupiedDiagDown = RotateToDiagDown(pos.Occupied);
}

// The half-move clock of a FEN: the number after the en-passant field. An EPD
// line (operations, or nothing, after that field) has none and reads as 0. A
// clock past the fifty-move rule draws as one at it does. The full-move
// number after it plays no part.
constexpr long LONGEST_HALF_MOVE_CLOCK = 100;

u16 ReadHalfMoveClock(const char* text) {
  text = SkipBlanks(text);
  if (*text < '0' || *text > '9') return 0;
  char* end = nullptr;
  const long clock = std::strtol(text, &end, 10);
  if (*end != '\0' && !IsBlank(*end) && *end != '\n' && *end != '\r') return 0;
  return static_cast<u16>(std::min(clock, LONGEST_HALF_MOVE_CLOCK));
}

void StartHistory(Position& pos, u16 halfMoveClock) {
  std::fill(pos.History, pos.HistoryTop + 1, HistoryEntry{});
  pos.HistoryTop = pos.History;
  pos.HistoryTop->key = pos.HashKey;
  pos.HistoryTop->fifty = halfMoveClock;
}

bool ReadPosition(Position& pos, const char* text, EpdOperation& operation) {
  ClearPosition(pos);
  text = SkipBlanks(text);
  if (!ReadPlacement(pos, text) || !ReadSideToMove(pos, text)) return false;
  ReadCastleRights(pos, text);
  ReadEnPassantSquare(pos, text);
  const u16 halfMoveClock = ReadHalfMoveClock(text);
  operation = FindEpdOperation(text);
  if (!PiecesAreSound(pos.Board)) return false;
  DropImpossibleRights(pos);
  BuildOccupancy(pos);
  if (SideNotToMoveAttacked(pos)) return false;
  StartHistory(pos, halfMoveClock);
  RefreshGameCopy(pos);
  pos.GameSideToMove = pos.SideToMove;
  pos.GameMoveCount = 1;
  return true;
}

// ReadPosition that puts the old position back when it fails.
bool ReplacePosition(Position& pos, const char* text, EpdOperation& operation) {
  PositionCopy before;
  before.Take(pos);
  if (ReadPosition(pos, text, operation)) return true;
  before.PutBack(pos);
  return false;
}

}  // namespace

bool LoadBoard(Position& pos, const char* text, EpdOperation& operation) {
  if (!ReplacePosition(pos, text, operation)) return false;
  ++pos.LoadCount;
  return true;
}

bool LoadBoard(Position& pos, const char* text) {
  EpdOperation ignored;
  return LoadBoard(pos, text, ignored);
}

bool SetUpPosition(Position& pos, const char* text) {
  EpdOperation ignored;
  return ReplacePosition(pos, text, ignored);
}

EpdOperation FindEpdOperation(const char* rest) {
  constexpr size_t MAX_MOVE_TEXT = EPD_MOVE_TEXT_SIZE - 1;
  EpdOperation operation{EpdOperationKind::None, {}};
  const char* letter = std::strpbrk(rest, "ab");
  if (!letter || letter[1] != 'm' || letter[2] != ' ' || letter[3] == '\0') return operation;
  const char* move = letter + 3;
  size_t length = 0;
  while (length < MAX_MOVE_TEXT && move[length] != '\0' && move[length] != ';' &&
         move[length] != ' ') {
    ++length;
  }
  if (move[length] != ';' && move[length] != ' ') return operation;
  operation.kind = *letter == 'a' ? EpdOperationKind::AvoidMove : EpdOperationKind::BestMove;
  std::memcpy(operation.moveText, move, length);
  operation.moveText[length] = '\0';
  return operation;
}
