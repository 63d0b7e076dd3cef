// One game in memory: its result, the text of the last movetext token read,
// and the moves of its plies as the game file stores them.
#pragma once

#include <cstddef>

#include "board/types.h"

constexpr size_t GAME_TOKEN_SIZE = 11;        // ten characters and the NUL
constexpr size_t GAME_RESULT_TEXT_SIZE = 8;   // "1/2-1/2" and the NUL
constexpr int MAX_GAME_PLIES = 1023;

// Result codes of the header's two top bits.
enum GameResultCode : int {
  RESULT_UNFINISHED = 0,  // "*"
  RESULT_BLACK_WON = 1,   // "0-1"
  RESULT_WHITE_WON = 2,   // "1-0"
  RESULT_DRAW = 3,        // "1/2-1/2"
};

// The header: ply count in bits 0-13, result code in bits 14-15.
constexpr int RESULT_SHIFT = 14;
constexpr u16 PLY_COUNT_MASK = (1 << RESULT_SHIFT) - 1;
constexpr int PlyCountOf(u16 header) { return header & PLY_COUNT_MASK; }
constexpr int ResultCodeOf(u16 header) { return header >> RESULT_SHIFT; }
constexpr u16 MakeGameHeader(int plyCount, int resultCode) {
  return static_cast<u16>(plyCount | (resultCode << RESULT_SHIFT));
}

struct GameRecord {
  char token[GAME_TOKEN_SIZE] = {};
  char resultText[GAME_RESULT_TEXT_SIZE] = {};
  char resultLetter = '?';  // 'W', 'B', 'D', '*' (unfinished) or '?' (not known)
  u16 header = 0;
  Move moves[MAX_GAME_PLIES] = {};
};

// Sets the letter and its text together: 'W' "1-0", 'B' "0-1", 'D' "1/2-1/2",
// '*' "*"; any other letter gives '?' and an empty text.
void SetGameResult(GameRecord& game, char letter);

// The result code of a result text; -1 for a text that is no result.
int ResultCodeOfText(const char* text);

// The result letter of a header's result code ('*' for code 0).
char ResultLetterOfCode(int resultCode);
