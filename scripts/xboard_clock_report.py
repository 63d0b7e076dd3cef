#!/usr/bin/env python3
"""How an engine used its clock in xboard games, read from xboard's debug log
(-debugMode true -nameOfDebugFile FILE): for every move of the engine, the
clock xboard gave it ("time", centiseconds) and how long the move took (from
the last line xboard sent it to its "move" line, by xboard's own millisecond
stamps). Prints the largest share of the clock one move took, the least time
left after a move (before the increment), and the moves that took over half
of what the clock held.

    scripts/xboard_clock_report.py xboard-debug.log [--engine first|second]
"""

import argparse
import re

LINE = re.compile(r"^(\d+) ([<>])(first|second) ?: (.*)$")


def moves_of(path, engine):
    clock_cs, sent_at, games = None, None, 0
    for raw in open(path, errors="replace"):
        m = LINE.match(raw.rstrip("\n"))
        if not m:
            continue
        stamp, direction, who, text = int(m.group(1)), m.group(2), m.group(3), m.group(4)
        if who != engine:
            continue
        if direction == ">":
            if text.startswith("new"):
                games += 1
            if text.startswith("time "):
                clock_cs = int(text.split()[1])
            sent_at = stamp
        elif text.startswith("move ") and clock_cs is not None and sent_at is not None:
            yield games, text[5:].strip(), clock_cs * 10, stamp - sent_at
            clock_cs = None


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("log")
    ap.add_argument("--engine", default="first", choices=("first", "second"))
    a = ap.parse_args()
    moves = list(moves_of(a.log, a.engine))
    if not moves:
        print("no timed moves found")
        return
    share = max(moves, key=lambda m: m[3] / max(m[2], 1))
    least = min(moves, key=lambda m: m[2] - m[3])
    print(f"moves: {len(moves)}")
    print(f"largest share of the clock: {100 * share[3] / max(share[2], 1):.1f}% "
          f"({share[3]} ms of {share[2]} ms, game {share[0]}, move {share[1]})")
    print(f"least time left after a move: {least[2] - least[3]} ms "
          f"({least[3]} ms of {least[2]} ms, game {least[0]}, move {least[1]})")
    for game, move, clock, used in moves:
        if used > clock / 2:
            print(f"  over half: game {game} {move}: {used} ms of {clock} ms")


if __name__ == "__main__":
    main()
