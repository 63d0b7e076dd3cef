#!/usr/bin/env python3
"""Walks the first plies of Tavrel's opening book and scores every book move with Stockfish.

From the start position the engine is asked for its book moves ("bk" over
xboard) in every position the book's own moves reach, to --plies plies. Each
book move is scored with Stockfish to --depth: a search of the position for the
best move, and one restricted to the book move ("go searchmoves"). The loss is
the difference, in centipawns for the side to move. Prints a Markdown table,
one row per book move, and the largest loss.

    scripts/book_first_moves.py --engine build/release/tavrel --plies 4 --depth 18

The engine takes its default book, or the book in --book-folder. Needs
python-chess (for SAN), found as make_book_corpus.py finds it.
"""

import argparse
import os
import subprocess
import sys

sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_book_corpus as corpus  # noqa: E402  (python-chess, Stockfish and its UCI pipe)


class Tavrel:
    """The engine over xboard, asked for its book moves."""

    def __init__(self, path, book_folder):
        self.process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1,
                                        cwd=book_folder or None)
        self.pings = 0
        self.send("xboard\nprotover 2")
        self.read_until(lambda line: line.strip() == "feature done=1")

    def send(self, text):
        self.process.stdin.write(text + "\n")

    def read_until(self, stop):
        lines = []
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError("the engine stopped")
            if stop(line):
                return lines
            lines.append(line)

    def book_moves(self, moves):
        self.pings += 1
        self.send("new\nforce\n" + "".join(move + "\n" for move in moves) + f"bk\nping {self.pings}")
        lines = self.read_until(lambda line: line.strip() == f"pong {self.pings}")
        return [line.strip() for line in lines if line.startswith(" ") and line.strip()]

    def close(self):
        self.send("quit")
        self.process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--engine", required=True, help="the tavrel program")
    parser.add_argument("--book-folder", help="a folder holding the book (the engine is started in it)")
    parser.add_argument("--plies", type=int, default=4)
    parser.add_argument("--depth", type=int, default=18)
    parser.add_argument("--hash", type=int, default=64)
    parser.add_argument("--threads", type=int, default=1)
    parser.add_argument("--stockfish")
    parser.add_argument("--python-chess")
    options = parser.parse_args()
    corpus.load_python_chess(options.python_chess)
    chess = corpus.chess
    tavrel = Tavrel(os.path.abspath(options.engine), options.book_folder)
    stockfish = corpus.Engine(corpus.find_stockfish(options.stockfish), options.hash, options.threads)

    print("| line | book move | Stockfish's best | its score | book move's score | loss |")
    print("| --- | --- | --- | ---: | ---: | ---: |")
    worst = (0, "")
    positions = [[]]
    for _ in range(options.plies):
        reached = []
        for moves in positions:
            book = tavrel.book_moves(moves)
            if not book:
                continue
            board = chess.Board()
            line = []
            for move in moves:
                line.append(board.san(chess.Move.from_uci(move)))
                board.push_uci(move)
            stockfish.new_game()
            best, best_score = stockfish.search(moves, f"depth {options.depth}")
            for move in book:
                _, score = stockfish.search(moves, f"depth {options.depth} searchmoves {move}")
                loss = max(0, best_score - score)
                san = board.san(chess.Move.from_uci(move))
                print(f"| {' '.join(line) or '(start)'} | {san} | {board.san(chess.Move.from_uci(best))} | "
                      f"{best_score} | {score} | {loss} |", flush=True)
                worst = max(worst, (loss, " ".join(line + [san])))
                reached.append(moves + [move])
        positions = reached
    print(f"\nlargest loss: {worst[0]} cp ({worst[1]})")
    tavrel.close()
    stockfish.close()


if __name__ == "__main__":
    main()
