// The engine core both front ends share: the game's position, the limits of
// the searches it runs and the searcher of the thread that keeps the clock and
// reports. The program makes one and hands it to the front end; a test makes
// its own.
#pragma once

#include <memory>

#include "board/position.h"
#include "search/search_limits.h"
#include "search/searcher.h"

struct Engine {
  Engine() { searcher->Limits = &limits; }
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  Position game;
  SearchLimits limits;
  const std::unique_ptr<Searcher> searcher = std::make_unique<Searcher>();
};
