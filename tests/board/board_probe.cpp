#include "board_probe.h"

#include "board/bitboard.h"
#include "board/castling.h"
#include "board/load_position.h"
#include "board/make_move.h"
#include "board/zobrist.h"

namespace {

template <typename T, size_t N>
std::vector<T> Copy(const T (&array)[N]) {
  return std::vector<T>(std::begin(array), std::end(array));
}

void Note(std::string& out, bool differs, const char* name) {
  if (differs) out += std::string(out.empty() ? "" : ", ") + name;
}

}  // namespace

PositionState CaptureState() {
  PositionState s;
  s.sideToMove = SideToMove;
  s.board = Copy(Board);
  s.pieceBB = Copy(PieceBB);
  s.colourBB = Copy(ColourBB);
  s.occupied = Occupied;
  s.byFile = OccupiedByFile;
  s.diagUp = OccupiedDiagUp;
  s.diagDown = OccupiedDiagDown;
  s.whiteKing = WhiteKingSquare;
  s.blackKing = BlackKingSquare;
  s.castleRights = CastleRights;
  s.enPassant = EnPassantSquare;
  s.totalMaterial = TotalMaterial;
  for (int c = 0; c < 2; ++c) {
    s.pieceMaterial[c] = PieceMaterial[c];
    s.pawnCount[c] = PawnCount[c];
  }
  s.hashKey = HashKey;
  s.pawnHashKey = PawnHashKey;
  s.historyTop = HistoryTop - History;
  for (const HistoryEntry* e = History; e <= HistoryTop; ++e) {
    s.historyKeys.push_back(e->key);
    s.historyFifty.push_back(e->fifty);
    // The move of the current entry is written by the next make; only earlier ones are history.
    s.historyMoves.push_back(e == HistoryTop ? 0 : e->move);
  }
  s.gameBoard = Copy(GameBoard);
  s.gameSideToMove = GameSideToMove;
  s.gameCastleRights = GameCastleRights;
  s.gameEnPassant = GameEnPassantSquare;
  s.gameWhiteKing = GameWhiteKingSquare;
  s.gameBlackKing = GameBlackKingSquare;
  s.gameMoveCount = GameMoveCount;
  s.epdBestMove = EpdBestMove;
  s.epdAvoidMove = EpdAvoidMove;
  return s;
}

std::string Differences(const PositionState& a, const PositionState& b) {
  std::string out;
  Note(out, a.sideToMove != b.sideToMove, "SideToMove");
  Note(out, a.board != b.board, "Board");
  Note(out, a.pieceBB != b.pieceBB, "PieceBB");
  Note(out, a.colourBB != b.colourBB, "ColourBB");
  Note(out, a.occupied != b.occupied, "Occupied");
  Note(out, a.byFile != b.byFile, "OccupiedByFile");
  Note(out, a.diagUp != b.diagUp, "OccupiedDiagUp");
  Note(out, a.diagDown != b.diagDown, "OccupiedDiagDown");
  Note(out, a.whiteKing != b.whiteKing || a.blackKing != b.blackKing, "KingSquare");
  Note(out, a.castleRights != b.castleRights, "CastleRights");
  Note(out, a.enPassant != b.enPassant, "EnPassantSquare");
  Note(out, a.totalMaterial != b.totalMaterial, "TotalMaterial");
  Note(out, a.pieceMaterial[0] != b.pieceMaterial[0] || a.pieceMaterial[1] != b.pieceMaterial[1],
       "PieceMaterial");
  Note(out, a.pawnCount[0] != b.pawnCount[0] || a.pawnCount[1] != b.pawnCount[1], "PawnCount");
  Note(out, a.hashKey != b.hashKey, "HashKey");
  Note(out, a.pawnHashKey != b.pawnHashKey, "PawnHashKey");
  Note(out, a.historyTop != b.historyTop, "HistoryTop");
  Note(out, a.historyKeys != b.historyKeys || a.historyMoves != b.historyMoves ||
                a.historyFifty != b.historyFifty,
       "History");
  Note(out, a.gameBoard != b.gameBoard || a.gameSideToMove != b.gameSideToMove ||
                a.gameCastleRights != b.gameCastleRights || a.gameEnPassant != b.gameEnPassant ||
                a.gameWhiteKing != b.gameWhiteKing || a.gameBlackKing != b.gameBlackKing,
       "game copy");
  Note(out, a.gameMoveCount != b.gameMoveCount, "GameMoveCount");
  Note(out, a.epdBestMove != b.epdBestMove || a.epdAvoidMove != b.epdAvoidMove, "EPD moves");
  return out;
}

std::string InvariantViolations() {
  u64 pieces[PIECE_CODE_COUNT] = {};
  int kings[2] = {-1, -1};
  int total = 0, pieceMaterial[2] = {}, pawns[2] = {};
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    int code = Board[s];
    if (code == EMPTY) continue;
    pieces[code] |= SquareBit(s);
    int colour = code & 1;
    if (code >= WHITE_KING) {
      kings[colour] = s;
    } else if (code <= BLACK_PAWN) {
      ++pawns[colour];
      ++total;
    } else {
      pieceMaterial[colour] += PieceValue[code];
      total += PieceValue[code];
    }
  }
  std::string out;
  u64 colour[2] = {};
  for (int code = WHITE_PAWN; code <= BLACK_KING; ++code) colour[code & 1] |= pieces[code];
  bool setsAgree = true;
  for (int code = WHITE_PAWN; code <= BLACK_QUEEN; ++code) setsAgree &= PieceBB[code] == pieces[code];
  Note(out, !setsAgree, "PieceBB");
  Note(out, ColourBB[0] != colour[0] || ColourBB[1] != colour[1], "ColourBB");
  u64 all = colour[0] | colour[1];
  Note(out, Occupied != all, "Occupied");
  Note(out, OccupiedByFile != RotateToFiles(all), "OccupiedByFile");
  Note(out, OccupiedDiagUp != RotateToDiagUp(all), "OccupiedDiagUp");
  Note(out, OccupiedDiagDown != RotateToDiagDown(all), "OccupiedDiagDown");
  Note(out, KingSquare[0] != kings[0] || KingSquare[1] != kings[1], "KingSquare");
  Note(out, TotalMaterial != total, "TotalMaterial");
  Note(out, PieceMaterial[0] != pieceMaterial[0] || PieceMaterial[1] != pieceMaterial[1],
       "PieceMaterial");
  Note(out, PawnCount[0] != pawns[0] || PawnCount[1] != pawns[1], "PawnCount");
  Note(out, HistoryTop->key != HashKey, "HistoryTop->key");
  return out;
}

void KeyRule::Loaded() {
  rightsAtLoad_ = CastleRights;
  spentByCastling_.clear();
}

void KeyRule::BeforeMake(Move move) {
  spentByCastling_.push_back(IsCastling(move) ? CastlingOf(move).right : 0);
}

void KeyRule::AfterUnmake() { spentByCastling_.pop_back(); }

// A loaded en-passant square has no key; once a move is made, only a double
// step sets the square, and always with its key.
bool KeyRule::EnPassantKeyed() const { return EnPassantSquare != 0 && !spentByCastling_.empty(); }

u64 KeyRule::ExpectedHashKey() const {
  u64 key = 0;
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    if (Board[s] != EMPTY) key ^= ZobristKeys[Board[s]][s];
  }
  if (EnPassantKeyed()) key ^= ZobristKeys[0][EnPassantSquare];
  u16 spent = 0;
  for (u16 right : spentByCastling_) spent |= right;
  for (u16 right : {CASTLE_WHITE_SHORT, CASTLE_WHITE_LONG, CASTLE_BLACK_SHORT, CASTLE_BLACK_LONG}) {
    bool lost = (rightsAtLoad_ & right) && !(CastleRights & right);
    if (lost && !(spent & right)) key ^= CastleKey(right);
  }
  return key;
}

u32 KeyRule::ExpectedPawnHashKey() const {
  u32 key = 0;
  for (int s = 0; s < SQUARE_COUNT; ++s) {
    if (Board[s] == WHITE_PAWN || Board[s] == BLACK_PAWN) {
      key ^= static_cast<u32>(ZobristKeys[Board[s]][s]);
    }
  }
  if (EnPassantKeyed()) key ^= static_cast<u32>(ZobristKeys[0][EnPassantSquare]);
  return key;
}

void CheckedLine::Start(const char* text) {
  Load(text);
  rule_.Loaded();
  records_.clear();
}

void CheckedLine::Make(Move move) {
  records_.emplace_back(move, UndoRecord{});
  UndoRecord& record = records_.back().second;
  SavePositionForUndo(record);
  rule_.BeforeMake(move);
  MakeMove(move, record);
  EXPECT_EQ(InvariantViolations(), "") << "after " << std::hex << move;
  EXPECT_EQ(HashKey, rule_.ExpectedHashKey()) << "after " << std::hex << move;
  EXPECT_EQ(PawnHashKey, rule_.ExpectedPawnHashKey()) << "after " << std::hex << move;
}

void CheckedLine::Unmake() {
  UnmakeMove(records_.back().first, records_.back().second);
  rule_.AfterUnmake();
  records_.pop_back();
}

void Load(const char* text) {
  ASSERT_TRUE(LoadPosition(text)) << text;
}

u64 Squares(std::initializer_list<int> squares) {
  u64 set = 0;
  for (int s : squares) set |= SquareBit(s);
  return set;
}
