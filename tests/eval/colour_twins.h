// Rules of the evaluation checked for both colours: a rule of white's in a
// position, and the same rule of black's in its colour-flipped twin.
#pragma once

#include <vector>

#include "movegen/movegen_probe.h"  // Load, MirroredFen

struct RuleCase {
  const char* fen;
  int expected;     // for white here, for black in the twin
  const char* why;
  int square = A1;  // the piece the rule looks at, if any (white's side)
};

// rule is a lambda templated on the colour: []<int C>(int square) { ... }.
template <typename Rule>
void ExpectForBothColours(const std::vector<RuleCase>& cases, Rule rule) {
  for (const RuleCase& c : cases) {
    Load(c.fen);
    EXPECT_EQ(rule.template operator()<WHITE>(c.square), c.expected) << c.why << ": " << c.fen;
    Load(MirroredFen(c.fen));
    EXPECT_EQ(rule.template operator()<BLACK>(c.square ^ 56), c.expected) << c.why << ", colours exchanged: " << c.fen;
  }
}
