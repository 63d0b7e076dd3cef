#!/usr/bin/env python3
"""Times "dbcreate" and "bookcreate" on a generated position file, sorted by
key, of a given number of lines (a million by default), and prints the median
wall time and the peak memory of the engine process over several runs.

    scripts/bench_book_build.py [--engine build/release/tavrel] [--lines 1000000] [--runs 5]

The lines look like those the conversions write: key, FEN with four fields,
result letter, ply. Each position occurs one to three times, so that the
build merges lines as it does on real games."""

import argparse
import os
import random
import statistics
import subprocess
import tempfile
import time

PLACEMENTS = [
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
    "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR",
    "r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R",
    "r2q1rk1/pp2bppp/2n1pn2/3p4/3P4/2NBPN2/PP3PPP/R2Q1RK1",
]
TAILS = [" w KQkq -", " b KQkq e3", " w - -", " b kq -"]


def write_position_file(path, lines, seed=1):
    rng = random.Random(seed)
    keys = sorted(rng.getrandbits(64) for _ in range(lines // 2))
    written = 0
    with open(path, "w") as out:
        for key in keys:
            fen = rng.choice(PLACEMENTS) + rng.choice(TAILS)
            for _ in range(rng.randint(1, 3)):
                if written == lines:
                    return
                out.write("%016X\t%s\t%s\t%d\n" % (key, fen, rng.choice("WBD"), rng.randint(1, 64)))
                written += 1


def run(engine, folder, commands):
    """Wall seconds and peak resident kilobytes of one engine run. The peak is
    measured by GNU time: the engine's own, not that of this script's fork."""
    start = time.perf_counter()
    done = subprocess.run(["/usr/bin/time", "-f", "%M", engine], cwd=folder, input=commands.encode(),
                          stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    seconds = time.perf_counter() - start
    if done.returncode != 0:
        raise SystemExit("engine failed: %r %s" % (commands, done.stderr.decode()))
    return seconds, int(done.stderr.decode().split()[-1])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--engine", default="build/release/tavrel")
    parser.add_argument("--lines", type=int, default=1_000_000)
    parser.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    engine = os.path.abspath(args.engine)
    with tempfile.TemporaryDirectory(prefix="tavrel-bench-") as folder:
        positions = os.path.join(folder, "games.pos")
        write_position_file(positions, args.lines)
        size_mb = os.path.getsize(positions) / 1e6
        print("position file: %d lines, %.1f MB" % (args.lines, size_mb))
        for name, commands in [("dbcreate", "dbcreate games.pos bench\nquit\n"),
                               ("bookcreate", "bookcreate\nquit\n")]:
            times, peaks = [], []
            for _ in range(args.runs):
                seconds, peak = run(engine, folder, commands)
                times.append(seconds)
                peaks.append(peak)
                if name == "dbcreate":
                    os.replace(os.path.join(folder, "bench_white.db"), os.path.join(folder, "white.db"))
                    os.replace(os.path.join(folder, "bench_black.db"), os.path.join(folder, "black.db"))
            print("%-10s median %.2f s (min %.2f, max %.2f), peak memory %d KB"
                  % (name, statistics.median(times), min(times), max(times), max(peaks)))
        records = sum(os.path.getsize(os.path.join(folder, f)) for f in ("white.db", "black.db")) // 54
        book = sum(os.path.getsize(os.path.join(folder, f)) for f in ("bookbtm.mbk", "bookwtm.mbk")) // 6
        print("database records: %d, book records: %d" % (records, book))


if __name__ == "__main__":
    main()
