// Perft counts against positions counted by independent programs, in both
// colours, and the node and move counters around them.
#include <fstream>
#include <sstream>

#include "board/position.h"
#include "movegen/perft.h"
#include "movegen_probe.h"

namespace {

// The sanitizer build walks only the smaller trees.
#if defined(__SANITIZE_ADDRESS__)
constexpr u64 NODE_BUDGET = 150'000;
#else
constexpr u64 NODE_BUDGET = 6'000'000;
#endif

struct KnownCounts {
  std::string fen;
  std::vector<u64> leaves;  // positions exactly d plies below, d = 1, 2, ...
};

std::vector<KnownCounts> ReadPerftFile() {
  std::ifstream file(TAVREL_SHARED_DIR "/perft/public.epd");
  std::vector<KnownCounts> positions;
  for (std::string line; std::getline(file, line);) {
    if (line.empty()) continue;
    std::istringstream fields(line.substr(line.find(';')));
    KnownCounts known{line.substr(0, line.find(';')), {}};
    for (std::string label; fields >> label;) {
      u64 count = 0;
      fields >> count;
      known.leaves.push_back(count);
    }
    positions.push_back(known);
  }
  return positions;
}

// Perft as the command runs it: the root list at the bottom of the move stack.
u64 PerftFromRoot(int depth) {
  UndoRecords[0].listEnd = MoveStack;
  UndoTop = &UndoRecords[1];
  u64 nodes = Perft(depth);
  UndoTop = &UndoRecords[0];
  return nodes;
}

class PerftTest : public MovegenTest {
 protected:
  // Every depth whose tree fits the budget must count the nodes of plies 1..d.
  void ExpectKnownCounts(const std::string& fen, const std::vector<u64>& leaves) {
    Load(fen);
    u64 key = HashKey;
    HistoryEntry* top = HistoryTop;
    u64 cumulative = 0;
    for (size_t d = 1; d <= leaves.size(); ++d) {
      cumulative += leaves[d - 1];
      if (cumulative > NODE_BUDGET) break;
      EXPECT_EQ(PerftFromRoot(static_cast<int>(d)), cumulative) << fen << " depth " << d;
    }
    EXPECT_EQ(HashKey, key) << fen;
    EXPECT_EQ(HistoryTop, top) << fen;
  }
};

TEST_F(PerftTest, KnownPositionsCountTheirNodesInBothColours) {
  std::vector<KnownCounts> positions = ReadPerftFile();
  ASSERT_GE(positions.size(), 8u);
  for (const KnownCounts& known : positions) {
    ExpectKnownCounts(known.fen, known.leaves);
    ExpectKnownCounts(MirroredFen(known.fen), known.leaves);
  }
}

TEST_F(PerftTest, MatedAndStalematedSidesHaveNoNodes) {
  for (const char* fen : {"7k/5Q2/6K1/8/8/8/8/8 b - -",
                          "rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq -"}) {
    Load(fen);
    EXPECT_EQ(PerftFromRoot(3), 0u) << fen;
  }
}

}  // namespace
