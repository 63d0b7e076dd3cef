// The one position the engine plays and searches: process-wide variables that
// make/unmake and the position loader keep consistent, the history stack, the
// game copy read by the move parser, and the per-ply undo records.
#pragma once

#include "board/types.h"

struct MoveEntry;  // a generated move with its ordering score (movegen/move_stack.h)

extern u32 SideToMove;             // WHITE or BLACK
extern u8 Board[SQUARE_COUNT];     // piece code per square
extern u64 PieceBB[11];            // one set per piece code 1..10; kings have none
extern u64 ColourBB[2];            // all pieces of a colour, king included
extern u64 Occupied;               // all pieces, normal orientation
extern u64 OccupiedByFile;         // all pieces, one byte per file
extern u64 OccupiedDiagUp;         // all pieces, a1-h8 diagonals packed
extern u64 OccupiedDiagDown;       // all pieces, a8-h1 diagonals packed
extern u8 KingSquare[2];
extern u16 CastleRights;
extern u8 EnPassantSquare;         // square a pawn skipped with its last double step; 0 = none
extern u8 TotalMaterial;           // pawns to queens of both colours, in PieceValue units
extern u8 PieceMaterial[2];        // knights to queens of one colour
extern u8 PawnCount[2];
extern u64 HashKey;                // Zobrist key; the side to move is not part of it
extern u32 PawnHashKey;            // key of the pawns alone (low halves of their keys)

// Fixed names for the sets of each colour; code written once per colour uses these.
inline u64& WhitePawns = PieceBB[WHITE_PAWN];
inline u64& BlackPawns = PieceBB[BLACK_PAWN];
inline u64& WhiteKnights = PieceBB[WHITE_KNIGHT];
inline u64& BlackKnights = PieceBB[BLACK_KNIGHT];
inline u64& WhiteBishops = PieceBB[WHITE_BISHOP];
inline u64& BlackBishops = PieceBB[BLACK_BISHOP];
inline u64& WhiteRooks = PieceBB[WHITE_ROOK];
inline u64& BlackRooks = PieceBB[BLACK_ROOK];
inline u64& WhiteQueens = PieceBB[WHITE_QUEEN];
inline u64& BlackQueens = PieceBB[BLACK_QUEEN];
inline u64& WhitePieces = ColourBB[WHITE];
inline u64& BlackPieces = ColourBB[BLACK];
inline u8& WhiteKingSquare = KingSquare[WHITE];
inline u8& BlackKingSquare = KingSquare[BLACK];

// One entry per position since the last load: the game, then the current search line.
struct HistoryEntry {
  u64 key;    // HashKey of the position
  u16 move;   // the move played from it, 0 while none
  u16 fifty;  // half-moves since the last capture, pawn move, promotion or castling
};
constexpr int HISTORY_SIZE = 1024;
extern HistoryEntry History[HISTORY_SIZE];
extern HistoryEntry* HistoryTop;  // entry of the current position

// True while no move has been made since the position was loaded. The
// en-passant square of a loaded position, unlike one made by a double step,
// has no key in HashKey and PawnHashKey.
inline bool AtLoadedPosition() { return HistoryTop == History; }

// The position after the last move of the game, for reading the opponent's move
// while the search position may be busy pondering.
extern u8 GameBoard[SQUARE_COUNT];
extern u32 GameSideToMove;
extern u16 GameCastleRights;
extern u8 GameEnPassantSquare;
extern u8 GameWhiteKingSquare;
extern u8 GameBlackKingSquare;
extern u16 GameMoveCount;  // 1 after a load, one more for every move of the game

// Copies the board, castling rights, en-passant square and king squares into
// the game copy (the side to move is the caller's business).
void RefreshGameCopy();

// The "bm" and "am" moves of the last EPD line loaded; 0 = none.
extern Move EpdBestMove;
extern Move EpdAvoidMove;

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

// Per-ply record shared by make/unmake, check detection, the move loop and the search.
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
  MoveEntry* nextMove; // entry being tried at this ply
  MoveEntry* listEnd;  // one past the last entry of this ply's list
  u32 ttBound;
  i16 ttScore;
  u16 hashMove;
  u16 killer1;
  u16 killer2;
  u16 savedCastleRights;
  u8 savedEnPassant;
  u8 ttDepth;
  u8 captured;         // piece removed by a capture
  i8 materialDelta;    // change the move made to TotalMaterial
  u32 orderKeys[MAX_LIST_MOVES];
};

// The search's records, one per ply from the root (plies 0 to 135).
constexpr int PLY_RECORDS = 136;
extern UndoRecord UndoRecords[PLY_RECORDS];
extern UndoRecord* UndoTop;  // record of the current ply

// Stores into the record the position fields that MakeMove needs to be undone.
void SavePositionForUndo(UndoRecord& record);
