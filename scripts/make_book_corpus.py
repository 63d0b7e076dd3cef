#!/usr/bin/env python3
"""Makes the corpus of games the default opening book is built from.

Each game starts with a weighted random walk through a Polyglot opening book
(Debian's gnuchess-book: /usr/share/games/gnuchess/book.bin, public domain):
at every ply a move is drawn among the book's moves for the position, in
proportion to their weights to the power --weight-power (0.5: the square
roots, which spreads the games more evenly over the main moves), leaving out
moves whose weight is under --min-share of the position's total. The walk is
6 to 12 plies long (drawn per game) and ends early where the book has no move.
Stockfish then plays both sides at a fixed number of nodes a move, drawn per
game within --nodes-spread of --nodes (so that games from the same walk
differ), one thread, hash cleared at the start of every game: a game depends
on the seed and its round alone, and the same command makes the same file,
whatever --jobs is. Black searches --black-nodes times White's nodes (the
player tags give each side's nodes), a setting that balances the colours: at
equal nodes, so few a move, White scored 0.566 (more than in games between
strong players), which kept most of Black's main replies out of the book.

A game ends, checked before every move, by checkmate, stalemate, insufficient
material, the fifty-move rule, threefold repetition, or adjudication: a score
of at least --win-score for the same side over --win-plies engine moves in a
row (a win), a score within --draw-score over --draw-plies moves in a row once
--draw-from plies are played (a draw), or --max-plies plies played (a draw).

The output is standard PGN: the seven-tag roster, PlyCount and Termination
("normal" or "adjudication"), SAN movetext, and a comment after the last move
saying why the game ended.

Needs python-chess (board, SAN and the Polyglot reader): found on the Python
path, through --python-chess or $PYTHON_CHESS, or in ../shared/clients/python-chess.
The default book's corpus was made with (see data/README.md):

    nice -n 10 scripts/make_book_corpus.py --games 3000 --seed 24 \\
        --date 2026.12.08 --out book-corpus-3000.pgn
"""

import argparse
import multiprocessing
import os
import random
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
DEFAULT_PYTHON_CHESS = os.path.normpath(os.path.join(HERE, "..", "..", "shared", "clients", "python-chess"))
DEFAULT_BOOK = "/usr/share/games/gnuchess/book.bin"
MATE_SCORE = 100000  # a mate in n reads as MATE_SCORE - n centipawns

chess = None  # python-chess, imported by load_python_chess()


def load_python_chess(path):
    global chess
    for candidate in [None, path, os.environ.get("PYTHON_CHESS"), DEFAULT_PYTHON_CHESS]:
        if candidate:
            sys.path.insert(0, candidate)
        try:
            import chess as found
            import chess.polyglot  # noqa: F401
            chess = found
            return
        except ImportError:
            if candidate:
                sys.path.remove(candidate)
    sys.exit("make_book_corpus: python-chess not found: give its folder with --python-chess or $PYTHON_CHESS")


def find_stockfish(given):
    for candidate in [given, os.environ.get("STOCKFISH"), shutil.which("stockfish"), "/usr/games/stockfish"]:
        if candidate and os.access(candidate, os.X_OK):
            return candidate
    sys.exit("make_book_corpus: Stockfish not found: give it with --stockfish or $STOCKFISH")


class Engine:
    """A UCI engine over pipes (one thread unless told)."""

    def __init__(self, path, hash_mb, threads=1):
        self.process = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.name = "UCI engine"
        self.send("uci")
        for line in self.lines_until("uciok"):
            if line.startswith("id name "):
                self.name = line[len("id name "):].strip()
        self.send(f"setoption name Threads value {threads}")
        self.send(f"setoption name Hash value {hash_mb}")
        self.ready()

    def send(self, text):
        self.process.stdin.write(text + "\n")

    def lines_until(self, first_word):
        while True:
            line = self.process.stdout.readline()
            if not line:
                raise RuntimeError("the engine stopped")
            yield line
            if line.split()[:1] == [first_word]:
                return

    def ready(self):
        self.send("isready")
        for _ in self.lines_until("readyok"):
            pass

    def new_game(self):
        self.send("ucinewgame")
        self.ready()

    def search(self, moves, limit):
        """The engine's move after the UCI moves from the start, and its score for the side to move, searched
        with the limit of a "go" command ("nodes 9000", "depth 18 searchmoves e2e4")."""
        self.send("position startpos" + (" moves " + " ".join(moves) if moves else ""))
        self.send(f"go {limit}")
        score = 0
        for line in self.lines_until("bestmove"):
            words = line.split()
            if words[:1] == ["info"] and "score" in words and "lowerbound" not in words and "upperbound" not in words:
                kind, value = words[words.index("score") + 1], int(words[words.index("score") + 2])
                score = value if kind == "cp" else (MATE_SCORE - abs(value)) * (1 if value > 0 else -1)
        return words[1], score

    def close(self):
        self.send("quit")
        self.process.wait()


def book_walk(reader, rng, plies, min_share, power):
    """A random walk of up to plies moves through the book, a move drawn in proportion to its weight to the power."""
    board = chess.Board()
    for _ in range(plies):
        entries = [entry for entry in reader.find_all(board) if board.is_legal(entry.move)]
        total = sum(entry.weight for entry in entries)
        entries = [entry for entry in entries if entry.weight > 0 and entry.weight >= min_share * total]
        if not entries:
            break
        pick = rng.uniform(0, sum(entry.weight**power for entry in entries))
        for entry in entries:
            pick -= entry.weight**power
            if pick <= 0:
                break
        board.push(entry.move)
    return board.move_stack


def rules_end(board):
    """The result and reason when the rules end the game, else None."""
    if board.is_checkmate():
        return ("0-1" if board.turn == chess.WHITE else "1-0"), "checkmate"
    if board.is_stalemate():
        return "1/2-1/2", "stalemate"
    if board.is_insufficient_material():
        return "1/2-1/2", "insufficient material"
    if board.is_fifty_moves():
        return "1/2-1/2", "fifty-move rule"
    if board.is_repetition(3):
        return "1/2-1/2", "threefold repetition"
    return None


class Adjudicator:
    def __init__(self, options):
        self.options = options
        self.white_scores = []  # White's view, one per engine move

    def add(self, board, score):
        self.white_scores.append(score if board.turn == chess.WHITE else -score)

    def verdict(self, plies):
        o = self.options
        recent = self.white_scores[-o.win_plies:]
        if len(recent) == o.win_plies and all(s >= o.win_score for s in recent):
            return "1-0", f"White wins by adjudication: {o.win_score} cp or more held for {o.win_plies} plies"
        if len(recent) == o.win_plies and all(s <= -o.win_score for s in recent):
            return "0-1", f"Black wins by adjudication: {o.win_score} cp or more held for {o.win_plies} plies"
        recent = self.white_scores[-o.draw_plies:]
        if plies >= o.draw_from and len(recent) == o.draw_plies and all(abs(s) <= o.draw_score for s in recent):
            return "1/2-1/2", f"Draw by adjudication: within {o.draw_score} cp for {o.draw_plies} plies"
        if plies >= o.max_plies:
            return "1/2-1/2", f"Draw by adjudication: {o.max_plies} plies played"
        return None


def play_game(engine, reader, options, game_round):
    rng = random.Random(f"{options.seed}:{game_round}")
    board = chess.Board()
    for move in book_walk(reader, rng, rng.randint(options.walk_min, options.walk_max), options.min_share,
                          options.weight_power):
        board.push(move)
    nodes = int(round(options.nodes * rng.uniform(1 - options.nodes_spread, 1 + options.nodes_spread), -2))
    black_nodes = int(round(nodes * options.black_nodes, -2))
    engine.new_game()
    adjudicator = Adjudicator(options)
    while True:
        ended = rules_end(board)
        if ended:
            result, reason = ended
            termination = "normal"
            break
        ended = adjudicator.verdict(len(board.move_stack))
        if ended:
            result, reason = ended
            termination = "adjudication"
            break
        side_nodes = nodes if board.turn == chess.WHITE else black_nodes
        uci, score = engine.search([m.uci() for m in board.move_stack], f"nodes {side_nodes}")
        adjudicator.add(board, score)
        board.push(chess.Move.from_uci(uci))
    if reason == "checkmate":
        reason = ("White" if result == "1-0" else "Black") + " mates"
    elif termination == "normal":
        reason = "Draw by " + reason
    return board.move_stack, (nodes, black_nodes), result, termination, reason


def movetext(moves, result, comment):
    board = chess.Board()
    words = []
    for move in moves:
        number = board.fullmove_number
        if board.turn == chess.WHITE:
            words.append(f"{number}. {board.san(move)}")
        else:
            words.append(board.san(move))
        board.push(move)
    words.append("{" + comment + "}")
    words.append(result)
    lines, line = [], ""
    for word in words:
        if line and len(line) + 1 + len(word) > 80:
            lines.append(line)
            line = word
        else:
            line = f"{line} {word}" if line else word
    lines.append(line)
    return "\n".join(lines)


def game_pgn(options, engine_name, game_round, moves, nodes, result, termination, reason):
    white, black = (f"{engine_name} ({side_nodes} nodes)" for side_nodes in nodes)
    tags = [("Event", options.event), ("Site", "?"), ("Date", options.date), ("Round", str(game_round)),
            ("White", white), ("Black", black), ("Result", result), ("PlyCount", str(len(moves))),
            ("Termination", termination)]
    header = "\n".join(f'[{name} "{value}"]' for name, value in tags)
    return f"{header}\n\n{movetext(moves, result, reason)}\n\n"


WORKER = {}


def start_worker(options):
    load_python_chess(options.python_chess)
    WORKER["engine"] = Engine(options.stockfish, options.hash)
    WORKER["reader"] = chess.polyglot.open_reader(options.book)
    WORKER["options"] = options


def worker_game(game_round):
    engine = WORKER["engine"]
    played = play_game(engine, WORKER["reader"], WORKER["options"], game_round)
    return game_round, played[2], game_pgn(WORKER["options"], engine.name, game_round, *played)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--games", type=int, required=True)
    parser.add_argument("--seed", default="24", help="the games depend on it and on their rounds alone")
    parser.add_argument("--first-round", type=int, default=1)
    parser.add_argument("--out", required=True, help="the PGN file written ('-': standard output)")
    parser.add_argument("--book", default=DEFAULT_BOOK, help="the Polyglot book the openings are drawn from")
    parser.add_argument("--walk-min", type=int, default=6, help="fewest plies of the walk through the book")
    parser.add_argument("--walk-max", type=int, default=12, help="most plies of the walk through the book")
    parser.add_argument("--min-share", type=float, default=0.10,
                        help="book moves with less than this share of their position's weight are left out")
    parser.add_argument("--weight-power", type=float, default=0.5,
                        help="moves are drawn in proportion to their weights to this power (below 1: more even)")
    parser.add_argument("--nodes", type=int, default=9000, help="nodes a move, on average")
    parser.add_argument("--nodes-spread", type=float, default=0.25, help="the nodes of a game: --nodes times 1 +- this")
    parser.add_argument("--black-nodes", type=float, default=1.05,
                        help="Black's nodes a move: White's times this (rounded to 100)")
    parser.add_argument("--hash", type=int, default=16, help="engine hash in MB")
    parser.add_argument("--win-score", type=int, default=300)
    parser.add_argument("--win-plies", type=int, default=6)
    parser.add_argument("--draw-score", type=int, default=20)
    parser.add_argument("--draw-plies", type=int, default=8)
    parser.add_argument("--draw-from", type=int, default=30)
    parser.add_argument("--max-plies", type=int, default=200)
    parser.add_argument("--jobs", type=int, default=1)
    parser.add_argument("--date", default=time.strftime("%Y.%m.%d"))
    parser.add_argument("--event", default="Stockfish games from GNU Chess book openings (book corpus)")
    parser.add_argument("--stockfish", help="the engine (default: $STOCKFISH, stockfish on PATH, /usr/games/stockfish)")
    parser.add_argument("--python-chess", help="folder holding python-chess's 'chess' package")
    options = parser.parse_args()
    options.stockfish = find_stockfish(options.stockfish)
    load_python_chess(options.python_chess)
    if not os.path.isfile(options.book):
        sys.exit(f"make_book_corpus: no book '{options.book}' (Debian package gnuchess-book)")

    rounds = range(options.first_round, options.first_round + options.games)
    out = sys.stdout if options.out == "-" else open(options.out, "w")
    counts = {"1-0": 0, "0-1": 0, "1/2-1/2": 0}
    start = time.time()
    with multiprocessing.Pool(options.jobs, initializer=start_worker, initargs=(options,)) as pool:
        for done, (game_round, result, text) in enumerate(pool.imap(worker_game, rounds), 1):
            out.write(text)
            counts[result] += 1
            if done % 50 == 0 or done == options.games:
                out.flush()
                minutes = (time.time() - start) / 60
                print(f"{done} games in {minutes:.1f} min ({done / minutes:.1f}/min); "
                      f"1-0 {counts['1-0']}, 0-1 {counts['0-1']}, draws {counts['1/2-1/2']}", file=sys.stderr)
    if out is not sys.stdout:
        out.close()


if __name__ == "__main__":
    main()
