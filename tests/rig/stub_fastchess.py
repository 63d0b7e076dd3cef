#!/usr/bin/env python3
"""A stand-in for fastchess in the rig's tests: records its arguments in
$STUB_FASTCHESS_ARGS (one a line), writes four game pairs of its first and
second engines (`test` and `base` in scripts/sprt) to the -pgnout file, prints a rating report as fastchess does, and
plays nothing.

The pairs, from test's side: 1-0 then 0-1 (1 point), 1/2 then 1 (3/2),
1 then 1 (2), 0 then 1/2 (1/2): W-D-L 4-2-2, pentanomial [0, 1, 1, 1, 1]."""

import os
import sys

args = sys.argv[1:]
record = os.environ.get("STUB_FASTCHESS_ARGS")
if record:
    with open(record, "w") as f:
        f.write("\n".join(args) + "\n")

pgn = None
for i, a in enumerate(args):
    if a == "-pgnout":
        for b in args[i + 1:]:
            if b.startswith("file="):
                pgn = b[5:]
                break
            if b.startswith("-"):
                break

# The first engine plays test's games, the second base's, under the names given.
names = [a[5:] for a in args if a.startswith("name=")] + ["test", "base"]
test, base = names[0], names[1]
# (round, white, black, result)
GAMES = [
    (1, test, base, "1-0"), (1, base, test, "1-0"),
    (2, test, base, "1/2-1/2"), (2, base, test, "0-1"),
    (3, test, base, "1-0"), (3, base, test, "0-1"),
    (4, test, base, "0-1"), (4, base, test, "1/2-1/2"),
]
if pgn:
    with open(pgn, "w") as f:
        for rnd, white, black, result in GAMES:
            f.write('[Event "Fastchess Tournament"]\n[Site "?"]\n[Round "%d"]\n[White "%s"]\n'
                    '[Black "%s"]\n[Result "%s"]\n\n1. e4 e5 %s\n\n' % (rnd, white, black, result, result))
print("Started game 1 of 8 (test vs base)")
print("--------------------------------------------------")
print("Results of test vs base (10000 nodes, NULL, 18MB, openings.epd):")
print("Elo: 88.74 +/- 200.00, nElo: 150.00 +/- 300.00")
print("Games: 8, Wins: 4, Losses: 2, Draws: 2, Points: 5.0 (62.50 %)")
print("Ptnml(0-2): [0, 1, 1, 1, 1], WL/DD Ratio: inf")
print("--------------------------------------------------")
print("Finished match")
sys.exit(int(os.environ.get("STUB_FASTCHESS_STATUS", "0")))
