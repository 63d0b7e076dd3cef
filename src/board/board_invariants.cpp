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

FreshPosition ReadBoard() {
  FreshPosition fresh;
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    const int code = Board[square], side = code & 1;
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
PieceKeys PositionKeys(PieceKeys keys) {
  if (EnPassantSquare != 0 && !AtLoadedPosition()) {
    const u64 key = ZobristKeys[EN_PASSANT_KEY_ROW][EnPassantSquare];
    keys.key ^= key;
    keys.pawnKey ^= static_cast<u32>(key);
  }
  return keys;
}

// True when keys is the key of some castling rights that are no longer held.
bool KeysOfLostRights(u64 keys) {
  for (unsigned subset = 0; subset < RIGHT_SUBSETS; ++subset) {
    u64 subsetKeys = 0;
    bool lost = true;
    for (unsigned i = 0; i < std::size(RIGHTS); ++i) {
      if ((subset >> i & 1) == 0) continue;
      subsetKeys ^= CastleKey(RIGHTS[i]);
      lost = lost && (CastleRights & RIGHTS[i]) == 0;
    }
    if (lost && subsetKeys == keys) return true;
  }
  return false;
}

const char* DerivedVariableFault(const FreshPosition& fresh) {
  const u64 all = fresh.colour[BLACK] | fresh.colour[WHITE];
  if (fresh.badCode) return "a square holds no piece code";
  if (!std::equal(PieceBB + WHITE_PAWN, PieceBB + WHITE_KING, fresh.pieces + WHITE_PAWN)) {
    return "a piece set disagrees with Board";
  }
  if (ColourBB[WHITE] != fresh.colour[WHITE] || ColourBB[BLACK] != fresh.colour[BLACK]) {
    return "a colour set disagrees with Board";
  }
  if (Occupied != all || OccupiedByFile != RotateToFiles(all) || OccupiedDiagUp != RotateToDiagUp(all) ||
      OccupiedDiagDown != RotateToDiagDown(all)) {
    return "an occupancy set disagrees with Board";
  }
  if (KingSquare[WHITE] != fresh.kings[WHITE] || KingSquare[BLACK] != fresh.kings[BLACK]) {
    return "a king square disagrees with Board";
  }
  if (PawnCount[WHITE] != fresh.pawns[WHITE] || PawnCount[BLACK] != fresh.pawns[BLACK] ||
      PieceMaterial[WHITE] != fresh.pieceMaterial[WHITE] || PieceMaterial[BLACK] != fresh.pieceMaterial[BLACK] ||
      TotalMaterial != fresh.totalMaterial) {
    return "a count or the material disagrees with Board";
  }
  return nullptr;
}

const char* KeyFault(const FreshPosition& fresh) {
  const PieceKeys keys = PositionKeys(fresh.keys);
  if (PawnHashKey != keys.pawnKey) return "PawnHashKey is not the key of the pawns";
  if (!KeysOfLostRights(HashKey ^ keys.key)) return "HashKey is not the key of the position";
  if (HistoryTop->key != HashKey) return "the history's top entry has another key";
  return nullptr;
}

}  // namespace

const char* BoardInvariantFault() {
  const FreshPosition fresh = ReadBoard();
  if (const char* fault = DerivedVariableFault(fresh)) return fault;
  if (const char* fault = KeyFault(fresh)) return fault;
  if (SideNotToMoveAttacked()) return "the side that moved left its king attacked";
  return nullptr;
}

PieceKeys KeysOfPieces() { return ReadBoard().keys; }

void RequireBoardInvariants(const char* where) {
  const char* fault = BoardInvariantFault();
  if (!fault) return;
  std::fprintf(stderr, "board invariant broken %s: %s\n", where, fault);
  std::abort();
}
