// The xboard protocol's words beyond a plain game: pings, hints, take-backs,
// analysis, fixed time and depth, thinking output, options, and the words the
// engine reads and ignores with their arguments.
#pragma once

#include "board/position.h"
#include "engine/engine.h"

// "ping N": "pong N", once every earlier command has been carried out.
void PingCommand(Engine&, const char* word);
// "hint": "Hint: MOVE", the move the engine expects next; nothing when it has none.
void HintCommand(Engine& engine, const char* word);
// "bk": the book moves of the game position, one a line after a blank, then an empty line.
void BookMovesCommand(Engine& engine, const char* word);
// "?": move now. The search for the engine's move stops at this word and plays
// what it found; at any other time the word changes nothing.
void MoveNowCommand(Engine&, const char* word);
// "undo" takes back one move, "remove" two. Past the start of the game:
// "Error (no move to take back): WORD" and nothing changes.
void UndoCommand(Engine& engine, const char* word);
void RemoveCommand(Engine& engine, const char* word);
// "analyze" enters analysis mode, "exit" leaves it (the engine then waits as after "force").
void AnalyzeCommand(Engine&, const char* word);
void ExitCommand(Engine&, const char* word);
// ".": during analysis the status line "stat01: TIME NODES DEPTH LEFT TOTAL MOVE".
void StatusCommand(Engine& engine, const char* word);
// "st SECONDS" (fractions allowed): a fixed time for every move; 0 gives the clock back.
void MoveTimeCommand(Engine& engine, const char* word);
// "sd DEPTH": no search deeper than DEPTH iterations (at least 2); 0 lifts the limit.
void DepthCommand(Engine& engine, const char* word);
// "post" and "nopost": thinking lines on and off.
void PostCommand(Engine& engine, const char* word);
void NoPostCommand(Engine& engine, const char* word);
// "playother": the engine plays the side not to move, and ponders when it may.
void PlayOtherCommand(Engine& engine, const char* word);
// "usermove MOVE": the move, as if it came alone.
void UserMoveCommand(Engine& engine, const char* word);

// "cores N": the threads that search together.
void CoresCommand(Engine& engine, const char* word);
// "nps N": time counted in nodes, N a second.
void NodeRateCommand(Engine& engine, const char* word);
// "memory MEGABYTES": the size of the transposition table.
void MemoryCommand(Engine&, const char* word);
// "option NAME=VALUE": the engine's options ("OwnBook", "BookFolder", "BookFile").
void OptionCommand(Engine& engine, const char* word);
// "otim N": the opponent's clock, read and not used.
void OpponentTimeCommand(Engine&, const char* word);
// A word the engine takes no action on ("name", "rating", "accepted", ...):
// the rest of its line is its arguments, read and logged, never run as commands.
void IgnoredWithArguments(Engine&, const char* word);
