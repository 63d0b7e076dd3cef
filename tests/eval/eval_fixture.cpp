#include "eval_fixture.h"

#include <algorithm>
#include <cctype>
#include <sstream>
#include <vector>

#include "board/attacks.h"

void EvalTest::SetUpTestSuite() { InitBoardTables(); }

void EvalTest::Load(const std::string& fen) {
  ASSERT_TRUE(LoadPosition(fen.c_str())) << fen;
}

namespace {

struct FenFields {
  std::vector<std::string> ranks;  // rank 8 first
  char side = 'w';
  std::string castling = "-", enPassant = "-";
};

FenFields Split(const std::string& fen) {
  FenFields fields;
  std::istringstream in(fen);
  std::string placement;
  in >> placement >> fields.side >> fields.castling >> fields.enPassant;
  std::istringstream ranks(placement);
  for (std::string rank; std::getline(ranks, rank, '/');) fields.ranks.push_back(rank);
  return fields;
}

std::string SwapCase(std::string text) {
  for (char& c : text) c = std::isupper(c) ? std::tolower(c) : std::toupper(c);
  return text;
}

std::string Join(const FenFields& fields) {
  std::ostringstream text;
  for (size_t i = 0; i < fields.ranks.size(); ++i) text << (i ? "/" : "") << fields.ranks[i];
  text << ' ' << fields.side << ' ' << fields.castling << ' ' << fields.enPassant;
  return text.str();
}

FenFields Flipped(const std::string& fen) {
  FenFields fields = Split(fen);
  std::reverse(fields.ranks.begin(), fields.ranks.end());
  for (std::string& rank : fields.ranks) rank = SwapCase(rank);
  fields.side = fields.side == 'w' ? 'b' : 'w';
  if (fields.castling != "-") fields.castling = SwapCase(fields.castling);
  if (fields.enPassant != "-") fields.enPassant[1] = static_cast<char>('1' + '8' - fields.enPassant[1]);
  return fields;
}

}  // namespace

std::string ColourFlipped(const std::string& fen) { return Join(Flipped(fen)); }

std::string TurnedAndFlipped(const std::string& fen) {
  FenFields fields = Flipped(fen);
  for (std::string& rank : fields.ranks) std::reverse(rank.begin(), rank.end());
  fields.castling.assign(1, '-');  // the king's side is now the queen's
  if (fields.enPassant != "-") fields.enPassant[0] = static_cast<char>('a' + 'h' - fields.enPassant[0]);
  return Join(fields);
}
