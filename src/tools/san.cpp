#include "tools/san.h"

#include <cstring>

#include "board/castling.h"
#include "board/move_text.h"
#include "board/position.h"
#include "board/resolve_move.h"

namespace {

constexpr size_t SAN_BUFFER_SIZE = 10;  // nine characters and the NUL
constexpr size_t SAN_MAX_CHARACTERS = SAN_BUFFER_SIZE - 1;

// Capture, check and mate signs, annotation marks, the promotion sign and the
// hyphen of castling and of long algebraic notation.
constexpr const char* PASSED_OVER_SIGNS = "x+#!?=-";

constexpr u64 ALL_SQUARES = ~u64{0};
constexpr u64 A_FILE_SQUARES = 0x8080808080808080;  // square s is bit 63 - s
constexpr u64 RANK_8_SQUARES = 0xff00000000000000;

// By colour: the square one step behind a pawn's destination (white pawns move
// towards square 0), and where a capturing pawn stood when it came from the
// neighbouring file nearer h or nearer a.
constexpr int PawnStepBack[2] = {-8, +8};
constexpr int CaptureFromHSide[2] = {-7, +9};
constexpr int CaptureFromASide[2] = {-9, +7};

bool OnBoard(int square) { return square >= 0 && square < SQUARE_COUNT; }
bool IsPawn(int code) { return code == WHITE_PAWN || code == BLACK_PAWN; }

bool Is(const char* buffer, const char* letterForm, const char* digitForm) {
  return std::strcmp(buffer, letterForm) == 0 || std::strcmp(buffer, digitForm) == 0;
}

// The side to move's castling that takes its king to the file given, when the
// side holds its right.
Move Castle(Position& pos, int kingToFile) {
  for (const CastlingMove& castling : Castlings) {
    if (castling.colour == static_cast<int>(pos.SideToMove) && FileOf(castling.kingTo) == kingToFile) {
      return (pos.CastleRights & castling.right) ? castling.move : NO_MOVE;
    }
  }
  return NO_MOVE;
}

// "e4": one step, or two when no pawn stands one step behind.
Move PawnPush(Position& pos, const char* buffer) {
  int to = SquareOfText(buffer);
  if (to == NO_SQUARE) return NO_MOVE;
  int stepBack = PawnStepBack[pos.SideToMove];
  int from = to + stepBack;
  if (!OnBoard(from)) return NO_MOVE;
  if (!IsPawn(pos.Board[from])) from += stepBack;
  return OnBoard(from) ? MakeMoveCode(from, to, KIND_QUIET) : NO_MOVE;
}

// "e8Q", the kind bits given.
Move PromotionPush(Position& pos, const char* buffer, Move kindBits) {
  int to = SquareOfText(buffer);
  if (to == NO_SQUARE) return NO_MOVE;
  int from = to + PawnStepBack[pos.SideToMove];
  return OnBoard(from) ? MakeMoveCode(from, to, KIND_QUIET) | kindBits : NO_MOVE;
}

// "ed8Q": the pawn's file, the destination, the piece. The pawn's file must
// neighbour the destination's.
Move CapturePromotion(Position& pos, const char* buffer) {
  char pawnFile = buffer[0], targetFile = buffer[1], letter = buffer[3];
  int to = SquareOfText(buffer + 1);
  bool neighbours = pawnFile - targetFile == 1 || targetFile - pawnFile == 1;
  if (to == NO_SQUARE || !IsFileLetter(pawnFile) || !neighbours) return NO_MOVE;
  int from = to + (pawnFile > targetFile ? CaptureFromHSide : CaptureFromASide)[pos.SideToMove];
  if (!OnBoard(from)) return NO_MOVE;
  Move kindBits = pos.Board[to] != EMPTY ? CapturePromotionKind(letter) : PromotionKind(letter);
  return MakeMoveCode(from, to, KIND_QUIET) | kindBits;
}

// "Nf3", or a pawn capture without its sign ("ed5").
Move PieceMove(Position& pos, const char* buffer) {
  int to = SquareOfText(buffer + 1);
  return to == NO_SQUARE ? NO_MOVE : ResolvePieceMove(pos, buffer, to, ALL_SQUARES);
}

// "Nbd2", "R1e2": the second character names the file or rank the piece stands on.
Move DisambiguatedPieceMove(Position& pos, const char* buffer) {
  char origin = buffer[1];
  int to = SquareOfText(buffer + 2);
  if (to == NO_SQUARE) return NO_MOVE;
  u64 allowed = IsFileLetter(origin)  ? A_FILE_SQUARES >> (origin - 'a')
                : IsRankDigit(origin) ? RANK_8_SQUARES >> (8 * ('8' - origin))
                                      : 0;
  if (allowed == 0) return NO_MOVE;
  const char pieceMove[] = {buffer[0], buffer[2], buffer[3], '\0'};
  return ResolvePieceMove(pos, pieceMove, to, allowed);
}

Move ParseTwoCharacters(Position& pos, const char* buffer) {
  if (Is(buffer, "OO", "00")) return Castle(pos, FileOf(G1));
  return PawnPush(pos, buffer);
}

Move ParseThreeCharacters(Position& pos, const char* buffer) {
  if (Is(buffer, "OOO", "000")) return Castle(pos, FileOf(C1));
  if (Move kindBits = PromotionKind(buffer[2])) return PromotionPush(pos, buffer, kindBits);
  return PieceMove(pos, buffer);
}

Move ParseFourCharacters(Position& pos, const char* buffer) {
  if (PromotionKind(buffer[3]) != NO_MOVE) return CapturePromotion(pos, buffer);
  if (Move move = ParseBoardMove(pos, buffer)) return move;
  return DisambiguatedPieceMove(pos, buffer);
}

// "Ng1f3" (the piece letter is not looked at), else "e7e8q".
Move ParseFiveCharacters(Position& pos, const char* buffer) {
  if (Move move = ParseBoardMove(pos, buffer + 1)) return move;
  return ParseBoardMove(pos, buffer);
}

}  // namespace

Move ParseSanMove(Position& pos, const char* text) {
  if (text == nullptr) return NO_MOVE;
  char buffer[SAN_BUFFER_SIZE];
  size_t length = 0;
  for (size_t i = 0; i < SAN_MAX_CHARACTERS && text[i] != '\0'; ++i) {
    if (std::strchr(PASSED_OVER_SIGNS, text[i]) == nullptr) buffer[length++] = text[i];
  }
  buffer[length] = '\0';
  switch (length) {
    case 2:
      return ParseTwoCharacters(pos, buffer);
    case 3:
      return ParseThreeCharacters(pos, buffer);
    case 4:
      return ParseFourCharacters(pos, buffer);
    case 5:
      return ParseFiveCharacters(pos, buffer);
    default: return NO_MOVE;
  }
}
