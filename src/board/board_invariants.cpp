#include "board/board_invariants.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "board/bitboard.h"
#include "board/position.h"
#include "board/position_soundness.h"
#include "board/zobrist.h"

namespace {

constexpr u16 RIGHTS[] = {CASTLE_WHITE_SHORT, CASTLE_WHITE_LONG, CASTLE_BLACK_SHORT, CASTLE_BLACK_LONG};
constexpr unsigned RIGHT_SUBSETS = 1u << std::size(RIGHTS);

// Board read square by square: what every derived variable should hold.
struct FreshPosition {
  u64 pieces[PIECE_CODE_COUNT] = {};
  u64 colour[2] = {};
  int kings[2] = {-1, -1};
  int pawns[2] = {};
  int pieceMaterial[2] = {};
  int totalMaterial = 0;
  PieceKeys keys = {0, 0};
  bool badCode = false;
};

FreshPosition ReadBoard(Position& pos) {
  FreshPosition fresh;
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    const int code = pos.Board[square], side = code & 1;
    if (code == EMPTY) continue;
    if (code >= PIECE_CODE_COUNT) {
      fresh.badCode = true;
      continue;
    }
    fresh.pieces[code] |= SquareBit(square);
    fresh.colour[side] |= SquareBit(square);
    fresh.keys.key ^= ZobristKeys[code][square];
    if (code >= WHITE_KING) {
      fresh.kings[side] = square;
      continue;
    }
    fresh.totalMaterial += PieceValue[code];
    if (code <= BLACK_PAWN) {
      ++fresh.pawns[side];
      fresh.keys.pawnKey ^= static_cast<u32>(ZobristKeys[code][square]);
    } else {
      fresh.pieceMaterial[side] += PieceValue[code];
    }
  }
  return fresh;
}

// The keys of the position: its pieces', with that of an en-passant square
// made by a double step (one read with the loaded position has none).
PieceKeys PositionKeys(Position& pos, PieceKeys keys) {
  if (pos.EnPassantSquare != 0 && !AtLoadedPosition(pos)) {
    const u64 key = ZobristKeys[EN_PASSANT_KEY_ROW][pos.EnPassantSquare];
    keys.key ^= key;
    keys.pawnKey ^= static_cast<u32>(key);
  }
  return keys;
}

// True when keys is the key of some castling rights that are no longer held.
bool KeysOfLostRights(Position& pos, u64 keys) {
  for (unsigned subset = 0; subset < RIGHT_SUBSETS; ++subset) {
    u64 subsetKeys = 0;
    bool lost = true;
    for (unsigned i = 0; i < std::size(RIGHTS); ++i) {
      if ((subset >> i & 1) == 0) continue;
      subsetKeys ^= CastleKey(RIGHTS[i]);
      lost = lost && (pos.CastleRights & RIGHTS[i]) == 0;
    }
    if (lost && subsetKeys == keys) return true;
  }
  return false;
}

const char* DerivedVariableFault(Position& pos, const FreshPosition& fresh) {
  const u64 all = fresh.colour[BLACK] | fresh.colour[WHITE];
  if (fresh.badCode) return "a square holds no piece code";
  if (!std::equal(pos.PieceBB + WHITE_PAWN, pos.PieceBB + WHITE_KING, fresh.pieces + WHITE_PAWN)) {
    return "a piece set disagrees with Board";
  }
  if (pos.ColourBB[WHITE] != fresh.colour[WHITE] || pos.ColourBB[BLACK] != fresh.colour[BLACK]) {
    return "a colour set disagrees with Board";
  }
  if (pos.Occupied != all || pos.OccupiedByFile != RotateToFiles(all) || pos.OccupiedDiagUp != RotateToDiagUp(all) ||
      pos.OccupiedDiagDown != RotateToDiagDown(all)) {
    return "an occupancy set disagrees with Board";
  }
  if (pos.KingSquare[WHITE] != fresh.kings[WHITE] || pos.KingSquare[BLACK] != fresh.kings[BLACK]) {
    return "a king square disagrees with Board";
  }
  if (pos.PawnCount[WHITE] != fresh.pawns[WHITE] || pos.PawnCount[BLACK] != fresh.pawns[BLACK] ||
      pos.PieceMaterial[WHITE] != fresh.pieceMaterial[WHITE] ||
      pos.PieceMaterial[BLACK] != fresh.pieceMaterial[BLACK] || pos.TotalMaterial != fresh.totalMaterial) {
    return "a count or the material disagrees with Board";
  }
  return nullptr;
}

const char* KeyFault(Position& pos, const FreshPosition& fresh) {
  const PieceKeys keys = PositionKeys(pos, fresh.keys);
  if (pos.PawnHashKey != keys.pawnKey) return "PawnHashKey is not the key of the pawns";
  if (!KeysOfLostRights(pos, pos.HashKey ^ keys.key)) return "HashKey is not the key of the position";
  if (pos.HistoryTop->key != pos.HashKey) return "the history's top entry has another key";
  return nullptr;
}

}  // namespace

const char* BoardInvariantFault(Position& pos) {
  const FreshPosition fresh = ReadBoard(pos);
  if (const char* fault = DerivedVariableFault(pos, fresh)) return fault;
  if (const char* fault = KeyFault(pos, fresh)) return fault;
  if (SideNotToMoveAttacked(pos)) return "the side that moved left its king attacked";
  return nullptr;
}

PieceKeys KeysOfPieces(Position& pos) { return ReadBoard(pos).keys; }

void RequireBoardInvariants(Position& pos, const char* where) {
  const char* fault = BoardInvariantFault(pos);
  if (!fault) return;
  std::fprintf(stderr, "board invariant broken %s: %s\n", where, fault);
  std::abort();
}
