#include "board/move_text.h"

#include "board/castling.h"
#include "board/position.h"

namespace {

constexpr int KIND_SHIFT = 12;
constexpr Move KindBits(int kind) { return static_cast<Move>(kind << KIND_SHIFT); }

// Promotion letter by kind 4..11.
constexpr char PROMOTION_LETTERS[] = "qnrbqnrb";

int PromotionIndex(char letter) {
  switch (letter) {
    case 'q': case 'Q': return 0;
    case 'n': case 'N': return 1;
    case 'r': case 'R': return 2;
    case 'b': case 'B': return 3;
    default: return -1;
  }
}

struct PositionView {
  const u8* board;
  u16 castleRights;
  u8 enPassantSquare;
  bool upperCasePromotions;
};

Move ParseCastling(int from, int to, u16 rights) {
  for (const CastlingMove& castling : Castlings) {
    if (from == castling.kingFrom && to == castling.kingTo && (rights & castling.right)) {
      return castling.move;
    }
  }
  return NO_MOVE;
}

Move ParseCoordinates(const char* text, const PositionView& view) {
  int from = SquareOfText(text);
  int to = from == NO_SQUARE ? NO_SQUARE : SquareOfText(text + 2);
  if (to == NO_SQUARE) return NO_MOVE;
  Move code = MakeMoveCode(from, to, KIND_QUIET);
  bool toOccupied = view.board[to] != EMPTY;
  char letter = text[4];
  bool readable = view.upperCasePromotions || (letter >= 'a' && letter <= 'z');
  // A promotion letter makes the text a promotion whatever stands on the
  // from-square: on any other move it names a move that no generator writes,
  // so that "g1f3q" is refused instead of played as g1f3.
  if (readable && PromotionKind(letter) != 0) {
    return code | (toOccupied ? CapturePromotionKind(letter) : PromotionKind(letter));
  }
  if (Move castling = ParseCastling(from, to, view.castleRights)) return castling;
  if (view.board[from] <= BLACK_PAWN) {
    if (letter != '\0') return code;
    if (view.enPassantSquare != 0 && view.enPassantSquare == to) {
      return code | KindBits(KIND_EN_PASSANT);
    }
  }
  return toOccupied ? code | KindBits(KIND_CAPTURE) : code;
}

}  // namespace

char* WriteSquareText(char* text, int square) {
  *text++ = static_cast<char>('a' + FileOf(square));
  *text++ = static_cast<char>('8' - RowOf(square));
  return text;
}

char* MoveToText(char* text, Move move) {
  if (IsCastling(move)) {
    const CastlingMove& castling = CastlingOf(move);
    text = WriteSquareText(text, castling.kingFrom);
    text = WriteSquareText(text, castling.kingTo);
  } else {
    text = WriteSquareText(text, MoveFrom(move));
    text = WriteSquareText(text, MoveTo(move));
    if (IsPromotion(move)) *text++ = PROMOTION_LETTERS[MoveKind(move) - KIND_PROMOTE_QUEEN];
  }
  *text = '\0';
  return text;
}

std::string MoveText(Move move) {
  char text[MOVE_TEXT_SIZE];
  MoveToText(text, move);
  return text;
}

Move ParseBoardMove(Position& pos, const char* text) {
  return ParseCoordinates(text, {pos.Board, pos.CastleRights, pos.EnPassantSquare, true});
}

Move ParseGameMove(Position& pos, const char* text) {
  return ParseCoordinates(text, {pos.GameBoard, pos.GameCastleRights, pos.GameEnPassantSquare, false});
}

Move PromotionKind(char letter) {
  int index = PromotionIndex(letter);
  return index < 0 ? NO_MOVE : KindBits(KIND_PROMOTE_QUEEN + index);
}

Move CapturePromotionKind(char letter) {
  int index = PromotionIndex(letter);
  return index < 0 ? NO_MOVE : KindBits(KIND_CAPTURE_PROMOTE_QUEEN + index);
}
