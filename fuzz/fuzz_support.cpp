#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "board/attacks.h"
#include "board/board_invariants.h"
#include "board/check.h"
#include "board/make_move.h"
#include "board/position.h"
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

void RequireBoardConsistent(Position& pos) {
  const char* fault = BoardInvariantFault(pos);
  Require(fault == nullptr, fault);
}

void RequireLoadedPositionSound(Position& pos) {
  RequireBoardConsistent(pos);
  const PieceKeys keys = KeysOfPieces(pos);
  Require(pos.HashKey == keys.key, "HashKey is the key of the pieces");
  Require(pos.PawnHashKey == keys.pawnKey, "PawnHashKey is the key of the pawns");
  Require(pos.HistoryTop == pos.History && pos.HistoryTop->key == pos.HashKey, "a new history");
}

std::string PositionBytes(Position& pos) {
  std::string bytes;
  auto add = [&bytes](const auto& variable) {
    bytes.append(reinterpret_cast<const char*>(&variable), sizeof variable);
  };
  add(pos.Board), add(pos.PieceBB), add(pos.ColourBB), add(pos.Occupied), add(pos.OccupiedByFile),
      add(pos.OccupiedDiagUp);
  add(pos.OccupiedDiagDown), add(pos.KingSquare), add(pos.SideToMove), add(pos.CastleRights), add(pos.EnPassantSquare);
  add(pos.TotalMaterial), add(pos.PieceMaterial), add(pos.PawnCount), add(pos.HashKey), add(pos.PawnHashKey),
      add(pos.HistoryTop);
  return bytes;
}

std::vector<Move> LegalMoves(Position& pos) {
  MoveEntry list[MAX_LIST_MOVES];
  UndoRecord record{};
  MoveEntry* end = GenerateMovesOf(pos, list, record);
  std::vector<Move> moves;
  for (const MoveEntry* entry = list; entry < end; ++entry) {
    if (IsGeneratedLegalMove(pos, entry->move)) moves.push_back(entry->move);
  }
  return moves;
}
