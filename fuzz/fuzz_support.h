// What the fuzz targets share: a start in a folder of their own, files made of
// the fuzz bytes, and the checks that end a run with a crash report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "board/position.h"
#include "board/types.h"

// Every target starts (LLVMFuzzerInitialize, here) with the board tables, no
// engine log, standard output to /dev/null (printing still runs) and a fresh
// temporary working folder, so that every file a target writes stays out of
// the folder it was started in.

// Aborts with what did not hold: the fuzzer keeps the input as a crash.
void Require(bool holds, const char* what);

// The bytes as text, NUL-terminated (the text ends at the first zero byte).
std::string TextOf(const uint8_t* data, size_t size);

// A temporary file holding the bytes, positioned at its start.
std::FILE* FileOf(const void* data, size_t size);
std::string ReadAll(std::FILE* file);  // from its start
void WriteFile(const char* name, const void* data, size_t size);

// The board's invariants hold (board/board_invariants.h).
void RequireBoardConsistent(Position& pos);

// The same, and HashKey and PawnHashKey are those of the pieces alone, with a
// new history, as a load leaves them.
void RequireLoadedPositionSound(Position& pos);

// Everything a position is made of, to compare before and after.
std::string PositionBytes(Position& pos);

// The legal moves of the side to move in generation order.
std::vector<Move> LegalMoves(Position& pos);
