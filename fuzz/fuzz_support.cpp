#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "board/attacks.h"
#include "board/bitboard.h"
#include "board/check.h"
#include "board/make_move.h"
#include "board/position.h"
#include "board/zobrist.h"
#include "movegen/legal_moves.h"
#include "platform/engine_log.h"

namespace {

std::filesystem::path WorkingFolder;

void RemoveWorkingFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(WorkingFolder, ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  InitBoardTables();
  EngineLog.close();
  if (!std::freopen("/dev/null", "w", stdout)) std::abort();
  char folder[] = "/tmp/tavrel-fuzz-XXXXXX";
  if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
  WorkingFolder = folder;
  std::atexit(RemoveWorkingFolder);
  return 0;
}

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "fuzz check failed: %s\n", what);
  std::abort();
}

std::string TextOf(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  return text.substr(0, text.find('\0'));
}

std::FILE* FileOf(const void* data, size_t size) {
  std::FILE* file = std::tmpfile();
  Require(file != nullptr, "a temporary file");
  Require(std::fwrite(data, 1, size, file) == size && std::fflush(file) == 0, "the temporary file written");
  std::rewind(file);
  return file;
}

std::string ReadAll(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char chunk[4096];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, got);
  return text;
}

void WriteFile(const char* name, const void* data, size_t size) {
  std::FILE* file = std::fopen(name, "wb");
  Require(file != nullptr, "a file of the working folder");
  bool written = std::fwrite(data, 1, size, file) == size;
  Require(std::fclose(file) == 0 && written, "the file written");
}

namespace {

// Checks the derived variables against Board; gives the keys of its pieces.
void RequireBoardConsistent(u64& key, u32& pawnKey) {
  u64 pieces[PIECE_CODE_COUNT] = {}, colour[2] = {};
  key = 0;
  pawnKey = 0;
  int kings[2] = {-1, -1}, pawns[2] = {};
  for (int square = 0; square < SQUARE_COUNT; ++square) {
    int code = Board[square];
    if (code == EMPTY) continue;
    Require(code < PIECE_CODE_COUNT, "a piece code on the board");
    int side = code & 1;
    pieces[code] |= SquareBit(square);
    colour[side] |= SquareBit(square);
    key ^= ZobristKeys[code][square];
    if (code >= WHITE_KING) kings[side] = square;
    if (code <= BLACK_PAWN) {
      ++pawns[side];
      pawnKey ^= static_cast<u32>(ZobristKeys[code][square]);
    }
  }
  u64 all = colour[0] | colour[1];
  Require(std::equal(PieceBB + WHITE_PAWN, PieceBB + WHITE_KING, pieces + WHITE_PAWN), "PieceBB");
  Require(ColourBB[0] == colour[0] && ColourBB[1] == colour[1], "ColourBB");
  Require(Occupied == all && OccupiedByFile == RotateToFiles(all), "Occupied");
  Require(OccupiedDiagUp == RotateToDiagUp(all) && OccupiedDiagDown == RotateToDiagDown(all), "OccupiedDiag");
  Require(KingSquare[0] == kings[0] && KingSquare[1] == kings[1], "KingSquare");
  Require(PawnCount[0] == pawns[0] && PawnCount[1] == pawns[1], "PawnCount");
}

}  // namespace

void RequireBoardConsistent() {
  u64 key;
  u32 pawnKey;
  RequireBoardConsistent(key, pawnKey);
}

void RequireLoadedPositionSound() {
  u64 key;
  u32 pawnKey;
  RequireBoardConsistent(key, pawnKey);
  Require(HashKey == key, "HashKey is the key of the pieces");
  Require(static_cast<u32>(PawnHashKey) == pawnKey, "PawnHashKey is the key of the pawns");
  Require(HistoryTop == History && HistoryTop->key == HashKey, "a new history");
}

std::string PositionBytes() {
  std::string bytes;
  auto add = [&bytes](const auto& variable) {
    bytes.append(reinterpret_cast<const char*>(&variable), sizeof variable);
  };
  add(Board), add(PieceBB), add(ColourBB), add(Occupied), add(OccupiedByFile), add(OccupiedDiagUp);
  add(OccupiedDiagDown), add(KingSquare), add(SideToMove), add(CastleRights), add(EnPassantSquare);
  add(TotalMaterial), add(PieceMaterial), add(PawnCount), add(HashKey), add(PawnHashKey), add(HistoryTop);
  return bytes;
}

std::vector<Move> LegalMoves() {
  MoveEntry list[MAX_LIST_MOVES];
  UndoRecord record{};
  MoveEntry* end = GenerateMovesOf(list, record);
  std::vector<Move> moves;
  for (const MoveEntry* entry = list; entry < end; ++entry) {
    if (IsGeneratedLegalMove(entry->move)) moves.push_back(entry->move);
  }
  return moves;
}
