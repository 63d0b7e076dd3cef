// The engine core both front ends share: the game's position, the limits of
// the searches it runs, the searcher of the thread that keeps the clock and
// reports, and what the interface has it do. The program makes one and hands
// it to the front end; a test makes its own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "board/position.h"
#include "board/position_backup.h"
#include "book/polyglot_book.h"
#include "engine/level_settings.h"
#include "search/search_limits.h"
#include "search/searcher.h"

// What the interface and the network lose per move ("Move Overhead"), in milliseconds.
constexpr i64 DEFAULT_MOVE_OVERHEAD_MS = 10;
constexpr i64 MAX_MOVE_OVERHEAD_MS = 5000;

// What the engine does with the next move that arrives from the interface.
enum EngineStates : i32 {
  ENGINE_FORCE = 0,      // moves are played, the engine does not answer
  ENGINE_THINKING = 1,   // a search for the engine's own move is running
  ENGINE_PONDERING = 2,  // a search on the opponent's time, with the ponder move on the board
  ENGINE_PLAYING = 3,    // the engine answers each move of the opponent
  ENGINE_QUIT = 4,
  ENGINE_ANALYZING = 5,  // moves are played and the position analysed without end; no move is sent
};

// How a load of the game's position ended, for callers that tell the failures apart.
enum class LoadOutcome { Loaded, Refused, EpdMoveNotRecognised };

struct Engine {
  Engine() { searcher->Limits = &limits; }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  Position game;
  SearchLimits limits;
  const std::unique_ptr<Searcher> searcher = std::make_unique<Searcher>();

  // The game as played, for take-backs: the position it started from, the
  // position load that was, the text it was loaded from (empty when it began
  // otherwise) and the moves since.
  PositionCopy GameStart;
  u32 GameLoad = 0;
  std::string GameStartText;
  std::vector<Move> GameMoves;
  LoadOutcome LastLoadOutcome = LoadOutcome::Refused;  // of the last LoadPosition

  // The time control the interface set.
  i32 MovesPerControl = 0;  // moves per time control ("level"); 0 = the whole game
  i32 IncrementMs = 0;      // increment per move ("level")
  i64 ControlBaseMs = 0;    // the time of a whole control ("level"); 0 when not known
  i64 FixedMoveMs = 0;      // time for every move ("st"); 0 when the clock rules
  u32 DepthLimit = 0;       // deepest iteration the interface allows ("sd"); 0 = none
  bool ClockKnown = false;  // the own clock was told ("time") since the control was set
  i64 NodesPerSecond = 0;   // time counted in nodes at this rate ("nps"); 0 = the wall clock

  // The strength options of both interfaces: "Skill Level" (0 to 20), and
  // "UCI_LimitStrength" with "UCI_Elo", which when set rules instead; and
  // what the level of the last search changed.
  int SkillLevel = FULL_STRENGTH_LEVEL;
  bool LimitStrength = false;
  int LimitElo = MAX_LIMIT_ELO;
  LevelSettings LastSearchSettings{};

  // Thinking on the opponent's time: whether the xboard interface allows it
  // ("hard", "easy"), and the move guessed for the opponent and made on the
  // game's board with its undo record, apart from the search's (0: none).
  bool PonderEnabled = true;
  Move PonderMove = NO_MOVE;
  UndoRecord PonderRecord{};

  // The UCI interface's options: it may ask the engine to ponder ("Ponder");
  // it analyses ("UCI_AnalyseMode": no book move, no strength limit); what it
  // and the network lose per move.
  bool UciPonder = false;
  bool UciAnalyseMode = false;
  i64 MoveOverheadMs = DEFAULT_MOVE_OVERHEAD_MS;

  // The opening book: whether the engine plays from it, the folder it was
  // told to find the book in (empty: its own), and the Polyglot book file in
  // use, if any.
  bool UseOwnBook = true;
  std::string NamedBookFolder;
  PolyglotBook BookFile;

  // What the engine does with the interface's next move (EngineStates).
  i32 State = ENGINE_FORCE;
  // Set when the position is to be analysed (again): by "analyze", by a change
  // of position in analysis mode, and when waiting input cut an analysis short.
  bool AnalysisPending = false;
  bool SearchRunning = false;  // a search of any kind runs
  // The book moves of the game position, as "bk" prints them, taken before a
  // search or a guess changes the board.
  std::string BookMovesBeforeSearch;
  // Set when a command that takes back the engine's turn ("force", "new",
  // "result", "undo", ...) stopped the search for the engine's own move: the
  // move is then not played, and no claim is made.
  bool AbandonSearch = false;
};
