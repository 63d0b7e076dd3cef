#!/usr/bin/env python3
"""Times "makebook" turning a given number of distinct games (100,000 by
default) into an opening book in a fresh folder, and prints the median wall
time and the peak memory of the engine process over several runs.

    scripts/bench_makebook.py [--engine build/release/tavrel] [--games 100000] [--runs 3]

The games are made from the book corpus in data/: each game of the corpus
whole, then each without its last ply, without its last two, and so on, with
the game's own result; once those run out, the same again under the other
two results. A game made twice (short games of the same first moves) is
written once: every game is distinct and every move is a real one."""

import argparse
import lzma
import os
import re
import statistics
import subprocess
import tempfile
import time

from bench_pgn2game import write_pgn

CORPUS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "book-corpus-3000.pgn.xz")
RESULTS = ["1-0", "0-1", "1/2-1/2"]


def corpus_games(path):
    """The main-line SAN moves and the result of every game of an xz-compressed PGN file."""
    games = []
    with lzma.open(path, "rt") as pgn:
        text = "\n" + pgn.read()
    for movetext in re.split(r"\n\[Event [^\n]*\n(?:\[[^\n]*\n)*", text)[1:]:
        movetext = re.sub(r"\{[^}]*\}", " ", movetext)
        while "(" in movetext:
            movetext = re.sub(r"\([^()]*\)", " ", movetext)
        tokens = movetext.split()
        games.append(([t for t in tokens if not re.match(r"^(\d+\.+|\$\d+|1-0|0-1|1/2-1/2|\*)$", t)], tokens[-1]))
    return games


def distinct_games(count, source):
    seen = set()
    for turn in range(len(RESULTS)):
        longest = max(len(moves) for moves, _ in source)
        for cut in range(longest):
            for moves, result in source:
                game = (tuple(moves[:len(moves) - cut]), RESULTS[(RESULTS.index(result) + turn) % len(RESULTS)])
                if not game[0] or game in seen:
                    continue
                seen.add(game)
                yield game
                count -= 1
                if count == 0:
                    return
    raise SystemExit("the corpus gives fewer distinct games than asked for")


def run(engine, folder, commands):
    """Wall seconds, peak resident kilobytes (GNU time's, the engine's own) and the last line printed."""
    start = time.perf_counter()
    done = subprocess.run(["/usr/bin/time", "-f", "%M", engine], cwd=folder, input=commands.encode(),
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    seconds = time.perf_counter() - start
    lines = done.stdout.decode(errors="replace").splitlines()
    if done.returncode != 0 or not lines or not lines[-1].startswith("makebook: done"):
        raise SystemExit("makebook failed: %s" % "\n".join(lines[-5:]))
    return seconds, int(done.stderr.decode().split()[-1]), lines[-1]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--engine", default="build/release/tavrel")
    parser.add_argument("--games", type=int, default=100_000)
    parser.add_argument("--runs", type=int, default=3)
    args = parser.parse_args()
    engine = os.path.abspath(args.engine)
    with tempfile.TemporaryDirectory(prefix="tavrel-bench-") as folder:
        write_pgn(os.path.join(folder, "bench.pgn"), distinct_games(args.games, corpus_games(CORPUS)))
        print("%d games, %.1f MB of PGN" % (args.games, os.path.getsize(os.path.join(folder, "bench.pgn")) / 1e6))
        times, peaks = [], []
        for number in range(args.runs):
            seconds, peak, summary = run(engine, folder, "makebook bench.pgn into book%d\nquit\n" % number)
            times.append(seconds)
            peaks.append(peak)
            print("run %d: %.2f s, peak memory %d KB" % (number + 1, seconds, peak))
        print(summary)
        print("makebook: median %.2f s (min %.2f, max %.2f), peak memory %d KB"
              % (statistics.median(times), min(times), max(times), max(peaks)))


if __name__ == "__main__":
    main()
