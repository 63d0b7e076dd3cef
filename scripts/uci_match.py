#!/usr/bin/env python3
"""A UCI match between two engines through python-chess (not part of the tests):
games on a running clock with alternating colours, every move checked for
legality, losses on time counted from the clocks kept here.

    PYTHONPATH=/path/to/python-chess scripts/uci_match.py build/release/tavrel /usr/games/stockfish \\
        --games 4 --base 60 --inc 1 --second-option "Skill Level=3"
"""

import argparse
import time

import chess
import chess.engine
import chess.pgn


def play_game(white, black, base, inc, max_plies):
    board = chess.Board()
    clock = {chess.WHITE: float(base), chess.BLACK: float(base)}
    engines = {chess.WHITE: white, chess.BLACK: black}
    while not board.is_game_over(claim_draw=True) and board.ply() < max_plies:
        limit = chess.engine.Limit(white_clock=clock[chess.WHITE], black_clock=clock[chess.BLACK],
                                   white_inc=inc, black_inc=inc)
        start = time.monotonic()
        result = engines[board.turn].play(board, limit)
        clock[board.turn] -= time.monotonic() - start
        if clock[board.turn] < 0:
            return board, ("0-1" if board.turn == chess.WHITE else "1-0"), "time"
        clock[board.turn] += inc
        if result.resigned:
            return board, ("0-1" if board.turn == chess.WHITE else "1-0"), "resigned"
        if result.move is None or result.move not in board.legal_moves:
            return board, ("0-1" if board.turn == chess.WHITE else "1-0"), f"illegal move {result.move}"
        board.push(result.move)
    outcome = board.outcome(claim_draw=True)
    return board, (outcome.result() if outcome else "1/2-1/2"), (outcome.termination.name if outcome else "ply limit")


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("first")
    ap.add_argument("second")
    ap.add_argument("--games", type=int, default=4)
    ap.add_argument("--base", type=float, default=60.0, help="seconds per side")
    ap.add_argument("--inc", type=float, default=1.0)
    ap.add_argument("--max-plies", type=int, default=300)
    ap.add_argument("--second-option", action="append", default=[], help="NAME=VALUE for the second engine")
    ap.add_argument("--pgn", default=None)
    a = ap.parse_args()
    first = chess.engine.SimpleEngine.popen_uci(a.first)
    second = chess.engine.SimpleEngine.popen_uci(a.second)
    second.configure(dict(option.split("=", 1) for option in a.second_option))
    score, tally = 0.0, {}
    for game in range(a.games):
        first_white = game % 2 == 0
        white, black = (first, second) if first_white else (second, first)
        board, result, why = play_game(white, black, a.base, a.inc, a.max_plies)
        points = {"1-0": 1.0, "0-1": 0.0}.get(result, 0.5)
        score += points if first_white else 1.0 - points
        tally[why] = tally.get(why, 0) + 1
        print(f"game {game + 1}: first engine {'white' if first_white else 'black'}, {result} ({why}), "
              f"{board.ply()} plies", flush=True)
        if a.pgn:
            pgn = chess.pgn.Game.from_board(board)
            pgn.headers["White"], pgn.headers["Black"] = (a.first, a.second) if first_white else (a.second, a.first)
            pgn.headers["Result"] = result
            with open(a.pgn, "a") as out:
                print(pgn, file=out, end="\n\n")
    print(f"first engine: {score} of {a.games}; endings: {tally}")
    first.quit()
    second.quit()


if __name__ == "__main__":
    main()
