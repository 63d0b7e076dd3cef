// A position: the board and its keys, kept consistent by make/unmake and the
// loader, with its history stack, the game copy read by the move parser and
// the per-ply undo records.
#pragma once

#include <algorithm>
#include <iterator>

#include "board/types.h"

// One entry per position since the last load: the game, then the current search line.
struct HistoryEntry {
  u64 key;    // HashKey of the position
  u16 move;   // the move played from it, 0 while none
  u16 fifty;  // half-moves since the last capture, pawn move, promotion or castling
};
constexpr int HISTORY_SIZE = 1024;

// The longest move list any position the loader accepts can produce. A colour
// has at most 16 pieces: one king, and no more of a kind than its starting
// number plus the pawns it is missing (a promotion spends a pawn, so moves
// keep to these limits). A pawn writes at most 12 entries (three
// target squares, four promotions each), fewer than the 27 squares a queen
// reaches on the empty board, so the richest army is 9 queens, 2 rooks, 2
// bishops and 2 knights; a rook reaches at most 14 squares, a bishop 13, a
// knight 8, and the king 8 plus 2 castlings. Every entry of every generator
// is one of these moves, so no list is longer than the sum.
constexpr int MAX_LIST_MOVES = 9 * 27 + 2 * 14 + 2 * 13 + 2 * 8 + 8 + 2;  // 323

// Per-ply record of make/unmake and check detection.
struct UndoRecord {
  u64 checkers;        // enemy pieces giving check to the side to move
  u64 kingRookRay;     // rank and file attacks from that king's square
  u64 kingBishopRay;   // diagonal attacks from that king's square
  u64 savedOccupied;
  u64 savedOwnPieces;
  u64 savedMoverBB;    // the moving piece's set before the move (not for king moves)
  u64 savedByFile;
  u64 savedDiagUp;
  u64 savedDiagDown;
  u64 savedHashKey;
  u32 savedPawnHashKey;
  u16 savedCastleRights;
  u8 savedEnPassant;
  u8 captured;         // piece removed by a capture
  i8 materialDelta;    // change the move made to TotalMaterial
};

// The search's records, one per ply from the root (plies 0 to 135).
constexpr int PLY_RECORDS = 136;

// Everything a position is, kept consistent by make/unmake and the loader.
struct PositionFields {
  u32 SideToMove = WHITE;       // WHITE or BLACK
  u8 Board[SQUARE_COUNT] = {};  // piece code per square
  u64 PieceBB[11] = {};         // one set per piece code 1..10; kings have none
  u64 ColourBB[2] = {};         // all pieces of a colour, king included
  u64 Occupied = 0;             // all pieces, normal orientation
  u64 OccupiedByFile = 0;       // all pieces, one byte per file
  u64 OccupiedDiagUp = 0;       // all pieces, a1-h8 diagonals packed
  u64 OccupiedDiagDown = 0;     // all pieces, a8-h1 diagonals packed
  u8 KingSquare[2] = {};
  u16 CastleRights = 0;
  u8 EnPassantSquare = 0;    // square a pawn skipped with its last double step; 0 = none
  u8 TotalMaterial = 0;      // pawns to queens of both colours, in PieceValue units
  u8 PieceMaterial[2] = {};  // knights to queens of one colour
  u8 PawnCount[2] = {};
  u64 HashKey = 0;      // Zobrist key; the side to move is not part of it
  u32 PawnHashKey = 0;  // key of the pawns alone (low halves of their keys)
  u32 MovesMade = 0;    // moves made by perft and the search, legal or not

  // One entry per position since the last load: the game, then the current search line.
  HistoryEntry History[HISTORY_SIZE] = {};

  // The position after the last move of the game, for reading the opponent's
  // move while the search position may be busy pondering.
  u8 GameBoard[SQUARE_COUNT] = {};
  u32 GameSideToMove = WHITE;
  u16 GameCastleRights = 0;
  u8 GameEnPassantSquare = 0;
  u8 GameWhiteKingSquare = 0;
  u8 GameBlackKingSquare = 0;
  u16 GameMoveCount = 1;  // 1 after a load, one more for every move of the game

  // The "bm" and "am" moves of the last EPD line loaded; 0 = none.
  Move EpdBestMove = NO_MOVE;
  Move EpdAvoidMove = NO_MOVE;

  // How many texts were loaded into it (a refused text loads none): a game
  // kept beside it knows whether the position is still the game's.
  u32 LoadCount = 0;
};

// A position with its history and undo stack. A copy is a position of its
// own: its tops point into its own stacks, at the same depths.
struct Position : PositionFields {
  UndoRecord UndoRecords[PLY_RECORDS] = {};  // one per ply from the root of a search
  HistoryEntry* HistoryTop = History;        // entry of the current position
  UndoRecord* UndoTop = UndoRecords;         // record of the current ply

  Position() = default;
  Position(const Position& other) : PositionFields(other) { CopyStacksOf(other); }
  Position& operator=(const Position& other) {
    PositionFields::operator=(other);
    CopyStacksOf(other);
    return *this;
  }

 private:
  void CopyStacksOf(const Position& other) {
    std::copy(std::begin(other.UndoRecords), std::end(other.UndoRecords), std::begin(UndoRecords));
    HistoryTop = History + (other.HistoryTop - other.History);
    UndoTop = UndoRecords + (other.UndoTop - other.UndoRecords);
  }
};

// Stores into the record the position fields that MakeMove needs to be undone.
void SavePositionForUndo(const Position& pos, UndoRecord& record);

// Copies the board, castling rights, en-passant square and king squares into
// the game copy (the side to move is the caller's business).
void RefreshGameCopy(Position& pos);

// True while no move has been made since the position was loaded. The
// en-passant square of a loaded position, unlike one made by a double step,
// has no key in HashKey and PawnHashKey.
inline bool AtLoadedPosition(const Position& pos) { return pos.HistoryTop == pos.History; }
