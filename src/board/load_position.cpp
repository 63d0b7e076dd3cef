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

u32 LoadCount = 0;

// A king square before a king is read: off the board.
constexpr u8 NO_KING_SQUARE = 100;

const char* SkipBlanks(const char* text) {
  while (IsBlank(*text)) ++text;
  return text;
}

void ClearPosition() {
  EpdAvoidMove = EpdBestMove = NO_MOVE;
  std::fill(std::begin(PieceBB), std::end(PieceBB), 0);
  std::fill(std::begin(ColourBB), std::end(ColourBB), 0);
  Occupied = OccupiedByFile = OccupiedDiagUp = OccupiedDiagDown = 0;
  KingSquare[WHITE] = KingSquare[BLACK] = NO_KING_SQUARE;
  HashKey = 0;
  PawnHashKey = 0;
  CastleRights = 0;
  EnPassantSquare = 0;
  SideToMove = WHITE;
  TotalMaterial = 0;
  std::fill(std::begin(PieceMaterial), std::end(PieceMaterial), 0);
  std::fill(std::begin(PawnCount), std::end(PawnCount), 0);
  std::fill(std::begin(Board), std::end(Board), EMPTY);
}

// Piece code of a placement letter, 0 for any other character.
int PieceCodeOfLetter(char letter) {
  if (letter == '\0' || letter == PieceLetters[EMPTY]) return EMPTY;
  const char* found = std::strchr(PieceLetters, letter);
  return found ? static_cast<int>(found - PieceLetters) : EMPTY;
}

void PlacePiece(int code, int square) {
  int colour = code & 1;
  Board[square] = static_cast<u8>(code);
  HashKey ^= ZobristKeys[code][square];
  if (code >= WHITE_KING) {
    KingSquare[colour] = static_cast<u8>(square);
    return;
  }
  PieceBB[code] |= SquareMask[square];
  TotalMaterial = static_cast<u8>(TotalMaterial + PieceValue[code]);
  if (code <= BLACK_PAWN) {
    PawnHashKey ^= static_cast<u32>(ZobristKeys[code][square]);
    ++PawnCount[colour];
  } else {
    PieceMaterial[colour] = static_cast<u8>(PieceMaterial[colour] + PieceValue[code]);
  }
}

// From a8 to h1; '/' is passed over and the length of a rank is not counted.
bool ReadPlacement(const char*& text) {
  int square = 0;
  while (square < SQUARE_COUNT) {
    char c = *text;
    if (c == '/') {
      ++text;
    } else if (c >= '1' && c <= '8') {
      square += c - '0';
      ++text;
    } else if (int code = PieceCodeOfLetter(c)) {
      PlacePiece(code, square++);
      ++text;
    } else {
      return false;
    }
  }
  return true;
}

bool ReadSideToMove(const char*& text) {
  text = SkipBlanks(text);
  char c = *text;
  if (c == 'w' || c == 'W') {
    SideToMove = WHITE;
  } else if (c == 'b' || c == 'B') {
    SideToMove = BLACK;
  } else {
    return false;
  }
  ++text;
  return true;
}

// Up to four letters; the first other character ends the field and is passed over.
void ReadCastleRights(const char*& text) {
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
    CastleRights |= right;
  }
}

// A square of the rank a double step of the other side skips, else none.
void ReadEnPassantSquare(const char*& text) {
  text = SkipBlanks(text);
  if (*text == '-') {
    ++text;
    return;
  }
  char file = text[0];
  if (file == '\0') return;
  char rank = text[1];
  text += rank == '\0' ? 1 : 2;
  char expectedRank = SideToMove == WHITE ? '6' : '3';
  if (file >= 'a' && file <= 'h' && rank == expectedRank) {
    EnPassantSquare = static_cast<u8>(SquareAt(file - 'a', rank - '0'));
  }
}

void BuildOccupancy() {
  for (int colour : {BLACK, WHITE}) {
    ColourBB[colour] = SquareMask[KingSquare[colour]];
    for (int kind = PAWN; kind < KING; ++kind) ColourBB[colour] |= PieceBB[PieceCode(kind, colour)];
  }
  Occupied = ColourBB[BLACK] | ColourBB[WHITE];
  OccupiedByFile = RotateToFiles(Occupied);
  OccupiedDiagUp = RotateToDiagUp(Occupied);
  OccupiedDiagDown = RotateToDiagDown(Occupied);
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

void StartHistory(u16 halfMoveClock) {
  std::fill(History, HistoryTop + 1, HistoryEntry{});
  HistoryTop = History;
  HistoryTop->key = HashKey;
  HistoryTop->fifty = halfMoveClock;
}

bool ReadPosition(const char* text, EpdOperation& operation) {
  ClearPosition();
  text = SkipBlanks(text);
  if (!ReadPlacement(text) || !ReadSideToMove(text)) return false;
  ReadCastleRights(text);
  ReadEnPassantSquare(text);
  const u16 halfMoveClock = ReadHalfMoveClock(text);
  operation = FindEpdOperation(text);
  if (!PiecesAreSound(Board)) return false;
  DropImpossibleRights();
  BuildOccupancy();
  if (SideNotToMoveAttacked()) return false;
  StartHistory(halfMoveClock);
  RefreshGameCopy();
  GameSideToMove = SideToMove;
  GameMoveCount = 1;
  return true;
}

// ReadPosition that puts the old position back when it fails.
bool ReplacePosition(const char* text, EpdOperation& operation) {
  BackUpPosition();
  if (ReadPosition(text, operation)) return true;
  RestorePosition();
  return false;
}

}  // namespace

bool LoadBoard(const char* text, EpdOperation& operation) {
  if (!ReplacePosition(text, operation)) return false;
  ++LoadCount;
  return true;
}

bool LoadBoard(const char* text) {
  EpdOperation ignored;
  return LoadBoard(text, ignored);
}

bool SetUpPosition(const char* text) {
  EpdOperation ignored;
  return ReplacePosition(text, ignored);
}

u32 PositionLoadCount() { return LoadCount; }

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
