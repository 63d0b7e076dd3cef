#!/usr/bin/env python3
"""Times "pgn2game" adding a given number of distinct games to an empty game
file (3,000 and 100,000 by default), then adding the same games again (all
found already), and prints the median wall time of several runs.

    scripts/bench_pgn2game.py [--engine build/release/tavrel] [--games 3000 100000] [--runs 3]

The games are cut from the self-play collection: each game's first n moves for
every n, longest first, under each of the three results, duplicates left out,
so that every game written is distinct and every move is a real one."""

import argparse
import os
import re
import statistics
import subprocess
import tempfile
import time

SHARED = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "shared")
RESULTS = ["1-0", "0-1", "1/2-1/2"]


def self_play_moves(path):
    """The main-line SAN moves of every game of a PGN file."""
    games = []
    for movetext in re.split(r"\n\[Event [^\n]*\n(?:\[[^\n]*\n)*", "\n" + open(path).read())[1:]:
        movetext = re.sub(r"\{[^}]*\}", " ", movetext)
        while "(" in movetext:
            movetext = re.sub(r"\([^()]*\)", " ", movetext)
        games.append([t for t in movetext.split()
                      if not re.match(r"^(\d+\.+|\$\d+|1-0|0-1|1/2-1/2|\*)$", t)])
    return games


def distinct_games(count, source):
    seen = set()
    for length in range(max(len(g) for g in source), 0, -1):
        for moves in source:
            for result in RESULTS:
                key = (tuple(moves[:length]), result)
                if len(moves) < length or key in seen:
                    continue
                seen.add(key)
                yield moves[:length], result
                count -= 1
                if count == 0:
                    return
    raise SystemExit("only %d distinct games can be made" % len(seen))


def write_pgn(path, games):
    with open(path, "w") as out:
        for moves, result in games:
            numbered = " ".join(("%d. %s" % (i // 2 + 1, m)) if i % 2 == 0 else m for i, m in enumerate(moves))
            out.write('[Event "bench"]\n[Result "%s"]\n\n%s %s\n\n' % (result, numbered, result))


def timed(engine, folder, commands):
    start = time.perf_counter()
    done = subprocess.run([engine], cwd=folder, input=commands.encode(), capture_output=True)
    seconds = time.perf_counter() - start
    if done.returncode != 0:
        raise SystemExit("engine failed: %r" % commands)
    return seconds, done.stdout.decode(errors="replace")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--engine", default="build/release/tavrel")
    parser.add_argument("--games", type=int, nargs="+", default=[3000, 100000])
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    engine = os.path.abspath(args.engine)
    source = self_play_moves(os.path.join(SHARED, "pgn", "selfplay-300.pgn"))
    with tempfile.TemporaryDirectory(prefix="tavrel-bench-") as folder:
        for count in args.games:
            write_pgn(os.path.join(folder, "bench.pgn"), distinct_games(count, source))
            command = "pgn2game bench.pgn bench.game\nquit\n"
            added, again = [], []
            for _ in range(args.runs):
                if os.path.exists(os.path.join(folder, "bench.game")):
                    os.remove(os.path.join(folder, "bench.game"))
                seconds, output = timed(engine, folder, command)
                if "converted: %d games. (skipped: 0)" % count not in output:
                    raise SystemExit("not every game was added: " + output[-300:])
                added.append(seconds)
                seconds, output = timed(engine, folder, command)
                if "converted: 0 games. (skipped: %d)" % count not in output:
                    raise SystemExit("games were added twice: " + output[-300:])
                again.append(seconds)
            size_mb = os.path.getsize(os.path.join(folder, "bench.pgn")) / 1e6
            print("%7d games (%.1f MB of PGN): into an empty file median %.2f s (min %.2f, max %.2f); "
                  "again, all found, median %.2f s"
                  % (count, size_mb, statistics.median(added), min(added), max(added), statistics.median(again)))


if __name__ == "__main__":
    main()
