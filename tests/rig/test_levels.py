"""scripts/levels: the fit of ratings to match results, on made-up results
whose answer is known; the results file; and its argument checks (fastchess
replaced by tests/rig/stub_fastchess.py, no game played)."""

import importlib.machinery
import importlib.util
import math
import os
import sys
import tempfile
import unittest

from test_scripts import REPO, RigCase

LEVELS = os.path.join(REPO, "scripts", "levels")
sys.path.insert(0, os.path.join(REPO, "scripts"))
_loader = importlib.machinery.SourceFileLoader("levels_script", LEVELS)
levels = importlib.util.module_from_spec(importlib.util.spec_from_loader("levels_script", _loader))
_loader.exec_module(levels)


class Fit(unittest.TestCase):
    def test_consistent_chain_is_recovered(self):
        # A at 1500 fixed; B 100 above A, C 50 above B, each measured exactly.
        ratings, unlinked = levels.fit_ratings([("B", "A", 100, 20), ("C", "B", 50, 30)], {"A": 1500})
        self.assertEqual(unlinked, [])
        self.assertAlmostEqual(ratings["B"][0], 1600)
        self.assertAlmostEqual(ratings["C"][0], 1650)
        # Errors add along the chain: sqrt(20^2 + 30^2).
        self.assertAlmostEqual(ratings["B"][1], 20)
        self.assertAlmostEqual(ratings["C"][1], math.sqrt(20 ** 2 + 30 ** 2))
        self.assertEqual(ratings["A"], (1500.0, 0.0))

    def test_two_measurements_give_the_weighted_mean(self):
        # B over A measured twice: 100 +- 10 and 200 +- 20 -> weights 4:1 -> 120, error 1/sqrt(1/100 + 1/400).
        ratings, _ = levels.fit_ratings([("B", "A", 100, 10), ("A", "B", -200, 20)], {"A": 0})
        self.assertAlmostEqual(ratings["B"][0], 120)
        self.assertAlmostEqual(ratings["B"][1], 1 / math.sqrt(1 / 100 + 1 / 400))

    def test_player_between_two_anchors(self):
        # B measured 150 above A (1000) and 50 below C (1300), equal errors: 1000+150 and 1300-50 average 1200.
        ratings, _ = levels.fit_ratings([("B", "A", 150, 10), ("B", "C", -50, 10)], {"A": 1000, "C": 1300})
        self.assertAlmostEqual(ratings["B"][0], 1200)
        self.assertAlmostEqual(ratings["B"][1], 10 / math.sqrt(2))

    def test_triangle_closed_by_least_squares(self):
        # B-A = 100, C-B = 100, C-A = 170, all +-10, A = 0: least squares gives B = 90, C = 180
        # (the 30 of disagreement shared out as 10 on each measurement).
        ratings, _ = levels.fit_ratings([("B", "A", 100, 10), ("C", "B", 100, 10), ("C", "A", 170, 10)], {"A": 0})
        self.assertAlmostEqual(ratings["B"][0], 90)
        self.assertAlmostEqual(ratings["C"][0], 180)
        self.assertEqual(levels.misfit([("B", "A", 100, 10), ("C", "B", 100, 10), ("C", "A", 170, 10)], ratings),
                         (3.0, 3))

    def test_players_not_linked_to_a_fixed_rating(self):
        ratings, unlinked = levels.fit_ratings([("B", "A", 100, 10), ("D", "C", 30, 10)], {"A": 0})
        self.assertEqual(unlinked, ["C", "D"])
        self.assertNotIn("D", ratings)
        self.assertAlmostEqual(ratings["B"][0], 100)


class MeasuredDifference(unittest.TestCase):
    def test_table(self):
        # (pentanomial, Elo difference) with the score's logistic Elo worked out by hand.
        cases = [
            ([0, 5, 0, 5, 0], 0.0),                  # 50%
            ([0, 0, 5, 0, 5], 400 * math.log10(3)),  # pairs 1/2 and 1: 75%
            ([1, 0, 0, 0, 0], -400 * math.log10(2)),  # one pair lost: with the two pairs more, 1/3
            ([0, 0, 0, 0, 4], 400 * math.log10(5)),  # all won: with pairs of 1/4 and 3/4 more, 5/6
            ([0, 0, 10, 0, 0], 0.0),                 # all pairs even: no variance until the two pairs more
        ]
        for penta, expected in cases:
            with self.subTest(penta=penta):
                diff, sigma = levels.measured_difference(penta)
                self.assertAlmostEqual(diff, expected, places=6)
                self.assertTrue(0 < sigma < math.inf)

    def test_sign_follows_the_player(self):
        up, sigma_up = levels.measured_difference([1, 2, 3, 6, 4])
        down, sigma_down = levels.measured_difference([4, 6, 3, 2, 1])
        self.assertAlmostEqual(up, -down)
        self.assertAlmostEqual(sigma_up, sigma_down)


class LevelEloArray(unittest.TestCase):
    def test_increasing_fit_is_kept_and_a_dip_is_raised(self):
        ratings = {"L%d" % n: (1000.0 + 50 * n, 10.0) for n in range(21)}
        ratings["L7"] = (1340.4, 10.0)
        ratings["L8"] = (1320.0, 10.0)  # under L7: raised to one above it
        values, notes = levels.level_elo_array(ratings)
        self.assertEqual(values[:7], [1000, 1050, 1100, 1150, 1200, 1250, 1300])
        self.assertEqual(values[7:10], [1340, 1341, 1450])
        self.assertEqual(len(notes), 1)
        self.assertIn("level 8 fitted at 1320", notes[0])

    def test_missing_level_is_named(self):
        ratings = {"L%d" % n: (1000.0 + 50 * n, 10.0) for n in range(21) if n != 3}
        values, notes = levels.level_elo_array(ratings)
        self.assertIsNone(values[3])
        self.assertEqual(values[4], 1200)
        self.assertEqual(notes, ["level 3 was not rated"])


class ResultsFile(unittest.TestCase):
    def test_runs_are_summed_whichever_side_is_written_first(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "results.tsv")
            levels.append_result(path, "L5", "L4", "20+0.2", 1, [6, 2, 2], [0, 1, 1, 2, 1])
            levels.append_result(path, "L4", "L5", "20+0.2", 2, [1, 2, 7], [2, 1, 1, 1, 0])
            levels.append_result(path, "L5", "sf1350", "20+0.2", 3, [1, 0, 1], [0, 0, 1, 0, 0])
            matches = levels.read_results(path)
        self.assertEqual(list(matches), [("L5", "L4"), ("L5", "sf1350")])
        self.assertEqual(matches[("L5", "L4")]["wdl"], [13, 4, 3])
        self.assertEqual(matches[("L5", "L4")]["penta"], [0, 2, 2, 3, 3])

    def test_bad_line_is_named(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "results.tsv")
            with open(path, "w") as f:
                f.write("L5\tL4\t20+0.2\t1\t6\t2\n")
            with self.assertRaisesRegex(levels.RigError, "results.tsv:1: not a result line"):
                levels.read_results(path)


class Arguments(RigCase):
    def setUp(self):
        super().setUp()
        with open(self.engine, "w") as f:
            f.write("#!/bin/sh\n"
                    "echo 'option name OwnBook type check default true'\n"
                    "echo 'option name Skill Level type spin default 20 min 0 max 20'\n"
                    "echo uciok\n")

    def run_levels(self, *args):
        return self.run_script(LEVELS, "--results", os.path.join(self.dir, "results.tsv"), *args)

    def test_refused(self):
        cases = [
            (["--pairs", "0-3"], "levels run from 1 to 20"),
            (["--pairs", "5-21"], "levels run from 1 to 20"),
            (["--pairs", "a-b"], "bad levels"),
            (["--anchor", "sf1800"], "use NAME=LEVELS"),
            (["--anchor", "crafty=3"], "unknown anchor 'crafty'"),
            (["--games", "7"], "even number"),
            (["--fix", "L20"], "bad --fix"),
            (["--tc", "fast"], "bad time control"),
            (["--pairs", "none"], "nothing to play"),
        ]
        for extra, message in cases:
            with self.subTest(args=extra):
                self.assertRefused(self.run_levels(*extra + [self.engine]), message)

    def test_pairs_reach_fastchess_as_levels(self):
        r = self.run_levels("--pairs", "7", "--games", "8", "--fix", "L6=1000", self.engine)
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        args = self.fastchess_args()
        self.assertLess(args.index("option.Skill Level=7"), args.index("option.Skill Level=6"))
        self.assertEqual(args.count("option.OwnBook=false"), 2)
        self.assertIn("timemargin=%d" % levels.TIME_MARGIN_MS, args[args.index("-each"):])
        self.assertEqual(args[args.index("-rounds") + 1], "4")
        # The stub's games: level 7 scores 5 of 8 (W-D-L 4-2-2), 400 log10(5/3) Elo over level 6.
        row = next(line for line in r.stdout.splitlines() if line.startswith("| 7 |"))
        self.assertIn("62.5% | 4-2-2 (8) | +89 ", row)
        self.assertIn("| 1089 ± ", row)

    @unittest.skipUnless(levels.matchrig.find_program("stockfish"), "stockfish is not installed")
    def test_anchor_on_its_own_clock(self):
        r = self.run_levels("--dry-run", "--pairs", "none", "--anchor", "sf1800=9", "--anchor-tc", "5+0.05",
                            self.engine)
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        command = r.stdout.splitlines()[-1].split()
        anchor = command.index("name=sf1800")
        self.assertEqual(command[command.index("name=L9"):anchor].count("tc=20+0.2"), 1)
        self.assertIn("tc=5+0.05", command[anchor:command.index("-each")])
        self.assertIn("option.UCI_Elo=1800", command[anchor:])
        # Only the level starts afresh for every game: an anchor may not exit on `quit`.
        self.assertIn("restart=on", command[command.index("name=L9"):anchor])
        self.assertNotIn("restart=on", command[anchor:])

    def test_fit_only_without_results(self):
        r = self.run_levels("--fit-only")
        self.assertEqual(r.returncode, 1)
        self.assertIn("no results", r.stderr)


if __name__ == "__main__":
    unittest.main()
