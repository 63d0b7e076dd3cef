// The three hundred self-play games replayed from the initial position, every
// move read from its SAN text: each must be legal where it is played, each game
// must last the plies its tags count, and those that end in mate must end with
// the side to move checked and without a legal move.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <string>
#include <vector>

#include "board/attacks.h"
#include "board/check.h"
#include "board/load_position.h"
#include "board/move_validity.h"
#include "driver/game_move.h"
#include "tools/san.h"

namespace {

struct Game {
  int plyCount = 0;
  std::string lastComment;
  std::vector<std::string> moves;
};

bool IsMoveNumberOrResult(const std::string& token) {
  return std::isdigit(static_cast<unsigned char>(token[0])) && (token.find('.') != std::string::npos ||
                                                                 token.find('-') != std::string::npos);
}

// Tags give the ply count; comments, variations, NAGs, move numbers and results are passed over.
std::vector<Game> ReadGames(std::istream& in) {
  std::vector<Game> games;
  std::string token, rest;
  int variationDepth = 0;
  while (in >> token) {
    if (token == "[Event") games.emplace_back();
    if (token[0] == '[') {
      std::getline(in, rest);
      if (token == "[PlyCount") games.back().plyCount = std::stoi(rest.substr(rest.find('"') + 1));
    } else if (token[0] == '{') {
      if (token.back() != '}') std::getline(in, rest, '}');
      games.back().lastComment = token + rest;
    } else {
      variationDepth += token[0] == '(';
      if (variationDepth == 0 && token != "*" && token[0] != '$' && !IsMoveNumberOrResult(token)) {
        games.back().moves.push_back(token);
      }
      variationDepth -= token.back() == ')';
    }
  }
  return games;
}

bool IsMated() {
  UndoRecord record;
  FindCheckers(record);
  if (record.checkers == 0) return false;
  for (int from = 0; from < SQUARE_COUNT; ++from) {
    for (int to = 0; to < SQUARE_COUNT; ++to) {
      for (int kind : {KIND_QUIET, KIND_CAPTURE, KIND_EN_PASSANT, KIND_PROMOTE_QUEEN, KIND_CAPTURE_PROMOTE_QUEEN}) {
        if (IsLegalMove(MakeMoveCode(from, to, kind))) return false;
      }
    }
  }
  return true;
}

TEST(SanGames, SelfPlayGamesReplayMoveByMove) {
  InitBoardTables();
  std::ifstream file(TAVREL_SHARED_DIR "/pgn/selfplay-300.pgn");
  std::vector<Game> games = ReadGames(file);
  ASSERT_EQ(games.size(), 300u);
  int mates = 0;
  for (size_t g = 0; g < games.size(); ++g) {
    ASSERT_TRUE(LoadPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"));
    for (const std::string& san : games[g].moves) {
      Move move = ParseSanMove(san.c_str());
      ASSERT_TRUE(IsLegalMove(move)) << "game " << g + 1 << ": " << san;
      PlayGameMove(move);
    }
    EXPECT_EQ(games[g].moves.size(), size_t(games[g].plyCount)) << "game " << g + 1;
    if (games[g].lastComment.find("mates") != std::string::npos) {
      EXPECT_TRUE(IsMated()) << "game " << g + 1;
      ++mates;
    }
  }
  EXPECT_EQ(mates, 28);
}

}  // namespace
