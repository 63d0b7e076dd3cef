// The console command loop: one word at a time from standard input, logged,
// then dispatched by the command table.
#pragma once

#include <cstddef>

#include "board/position.h"
#include "board/types.h"
#include "engine/engine.h"

// A game move is no word of the table: it is any word that reads as a move.
enum class Match { Prefix, Exact, GameMove };

// What a command that arrives while a search runs does to it.
enum class DuringSearch {
  Stops,              // ends the search; a search for the engine's own move still plays its move
  StopsWithoutMove,   // ends the search; the engine's own move is not played
  Answered,           // carried out at once, and the search goes on
  AnsweredAfterMove,  // carried out at once, but during the engine's own search only after its move
};

struct CommandRow {
  const char* word;
  Match match;
  void (*action)(Engine& engine, const char* word);
  DuringSearch duringSearch;
  bool keepsPondering;  // part of pondering itself; every other command takes the guess back first
};

// The command table, tried top to bottom; the first row that matches acts.
const CommandRow* CommandTableBegin();
const CommandRow* CommandTableEnd();

// The row a word would run in the present state; nullptr when none matches.
const CommandRow* FindCommand(Engine& engine, const char* word);

// Runs until "quit" or the end of standard input.
void CommandLoop(Engine& engine);

// Reads one word and acts on it; then, in analysis mode, analyses the position
// until input arrives. False when the loop must end (quit, end of input).
bool ExecuteNextCommand(Engine& engine);

// Reads and acts on words until the input ends (used for a line run in place
// of the input while a search goes on); no analysis follows.
void ExecuteWordsOfInput(Engine& engine);

// The waiting input, looked at without blocking: what can be answered at once
// in the present state is answered and taken out. True when a command waits
// that the loop must read (and that would stop a search).
bool AnswerWaitingInput(Engine& engine);
