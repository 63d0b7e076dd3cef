"""The match rig's arithmetic (scripts/matchstats.py) against results known
independently of it: fishtest's pentanomial and trinomial normalized-Elo LLRs
as fastchess's own test suite pins them, fastchess's Elo figures, and values
worked out by hand below."""

import math
import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
import matchstats  # noqa: E402


def penta(ll, ld, wl, dd, wd, ww):
    """fastchess's Stats(ll, ld, wl, dd, wd, ww) as fishtest's [LL, LD, WL+DD, WD, WW]."""
    return [ll, ld, wl + dd, wd, ww]


class PublishedLLR(unittest.TestCase):
    """fishtest's generalized LLR in normalized Elo (LLRcalc.LLR_normalized, the
    t-value MLE of Van den Bergh's "Comments on normalized Elo", section 4.1),
    for counts of finished fishtest runs, as fastchess's tests/sprt_test.cpp
    pins them to two decimals (doctest::Approx epsilon 0.01)."""

    def check(self, counts, elo0, elo1, expected):
        llr = matchstats.llr_normalized(elo0, elo1, counts)
        self.assertAlmostEqual(llr, expected, delta=0.01 * abs(expected) + 0.005)

    def test_pentanomial_gain_bounds(self):
        self.check(penta(365, 16618, 36029, 200, 16974, 390), 0, 2, 2.25)

    def test_pentanomial_simplification_bounds(self):
        self.check(penta(127, 4883, 10311, 401, 5150, 104), -1.75, 0.25, 3.01)

    def test_trinomial_gain_bounds(self):
        # fastchess Stats(wins, losses, draws) = (36433, 36027, 68692) -> [L, D, W].
        self.check([36027, 68692, 36433], 0, 2, 0.92)

    def test_trinomial_simplification_bounds(self):
        self.check([10650, 20431, 10871], -1.75, 0.25, 2.30)


class HandWorked(unittest.TestCase):
    def test_wald_bounds(self):
        # alpha = beta = 0.05: ln(0.05 / 0.95) = -ln 19 and ln(0.95 / 0.05) = ln 19 = 2.944438979...
        lower, upper = matchstats.sprt_bounds(0.05, 0.05)
        self.assertAlmostEqual(upper, 2.9444389791664403, places=12)
        self.assertAlmostEqual(lower, -2.9444389791664403, places=12)
        self.assertEqual(matchstats.sprt_verdict(2.95), "H1")
        self.assertEqual(matchstats.sprt_verdict(-2.95), "H0")
        self.assertIsNone(matchstats.sprt_verdict(2.9))

    def test_symmetric_results_with_symmetric_bounds_give_zero(self):
        # A distribution symmetric about 1/2 is equally far from t and -t, so
        # the two maximized likelihoods are equal.
        self.assertAlmostEqual(matchstats.llr_normalized(-5, 5, [10, 20, 40, 20, 10]), 0.0, places=9)

    def test_mirrored_results_reverse_the_test(self):
        # Swapping the engines maps t to -t: LLR(mirrored, [e0, e1]) = -LLR(counts, [-e1, -e0]).
        counts = penta(365, 16618, 36029, 200, 16974, 390)
        mirrored = counts[::-1]
        self.assertAlmostEqual(matchstats.llr_normalized(0, 2, mirrored),
                               -matchstats.llr_normalized(-2, 0, counts), places=6)

    def test_closed_form_approximation(self):
        # Pentanomial [4, 10, 20, 12, 4], 50 pairs, bounds [0, 10]:
        #   mu    = (0.25*10 + 0.5*20 + 0.75*12 + 1*4) / 50 = 25.5 / 50 = 0.51
        #   var   = (4*0.51^2 + 10*0.26^2 + 20*0.01^2 + 12*0.24^2 + 4*0.49^2) / 50 = 3.37 / 50 = 0.0674
        #   sigma per game = sqrt(2 * 0.0674) = 0.3671512; t = 0.01 / 0.3671512 = 0.0272367
        #   t1 = 10 / (800 / ln 10) = 0.0287823, t0 = 0
        #   LLR ~ (100 games / 2) * ln((1 + t^2) / (1 + (t - t1)^2))
        #       = 50 * ln(1.000741837 / 1.000002389) = 0.036958
        counts = [4, 10, 20, 12, 4]
        self.assertAlmostEqual(matchstats.llr_normalized_approx(0, 10, counts), 0.036958, delta=2e-6)
        # The generalized LLR itself is close to its approximation (within 1% here).
        exact = matchstats.llr_normalized(0, 10, counts)
        self.assertAlmostEqual(exact, 0.036958, delta=0.0004)

    def test_approximation_near_published_value(self):
        # Van den Bergh's approximation agrees with the published 2.25 to a hundredth.
        counts = penta(365, 16618, 36029, 200, 16974, 390)
        self.assertAlmostEqual(matchstats.llr_normalized_approx(0, 2, counts), 2.25, delta=0.01)

    def test_elo_of_a_pentanomial(self):
        # 3 pairs at 3/2 and 1 at 1: score (3*0.75 + 0.5) / 4 = 0.6875;
        # Elo = -400 log10(1/0.6875 - 1) = 400 log10(2.2) = 136.969...;
        # variance per pair (3*0.0625^2 + 0.1875^2) / 4 = 0.01171875.
        est = matchstats.Estimate([0, 0, 1, 3, 0])
        self.assertAlmostEqual(est.score, 0.6875, places=12)
        self.assertAlmostEqual(est.elo, 400 * math.log10(2.2), places=9)
        self.assertAlmostEqual(est.var, 0.01171875, places=12)
        # 95% interval of the score: 0.6875 +- 1.96 * sqrt(0.01171875 / 4) = 0.6875 +- 0.106087...
        half = 1.959963984540054 * math.sqrt(0.01171875 / 4)
        lo, hi = 0.6875 - half, 0.6875 + half
        expected = (-400 * math.log10(1 / hi - 1) + 400 * math.log10(1 / lo - 1)) / 2
        self.assertAlmostEqual(est.elo_error, expected, places=9)

    def test_even_results_give_zero_elo(self):
        est = matchstats.Estimate([3, 7, 20, 7, 3])
        self.assertEqual(est.score, 0.5)
        self.assertEqual(est.elo, 0.0)
        self.assertEqual(est.nelo, 0.0)

    def test_all_lost_is_minus_infinity(self):
        est = matchstats.Estimate([5, 0, 0, 0, 0])
        self.assertEqual(est.elo, -math.inf)
        self.assertIn("-inf", matchstats.format_elo(est.elo, est.elo_error))


class PublishedElo(unittest.TestCase):
    """fastchess's tests/elo_test.cpp: Elo and 95% error of W-D-L results
    (W, L, D given there), to 1% (doctest::Approx epsilon 0.01)."""

    def check(self, w, l, d, elo, error):
        est = matchstats.Estimate([l, d, w])
        self.assertAlmostEqual(est.elo, elo, delta=0.01 * abs(elo))
        self.assertAlmostEqual(est.elo_error, error, delta=0.01 * abs(error))

    def test_heavy_loss(self):
        self.check(0, 36, 14, -315.34, 95.43)

    def test_small_gain(self):
        self.check(859, 772, 1329, 10.21, 9.28)

    def test_small_loss(self):
        self.check(1164, 1267, 3049, -6.53, 6.12)


class Tally(unittest.TestCase):
    def test_pairs_by_round(self):
        g = lambda rnd, white, black, result: {"Round": str(rnd), "White": white, "Black": black, "Result": result}
        games = [
            g(1, "test", "base", "1-0"), g(1, "base", "test", "1-0"),          # 1 + 0   -> pair 1
            g(2, "test", "base", "1/2-1/2"), g(2, "base", "test", "0-1"),      # 1/2 + 1 -> pair 3/2
            g(3, "base", "test", "1-0"), g(3, "test", "base", "0-1"),          # 0 + 0   -> pair 0
            g(4, "test", "base", "1-0"), g(4, "base", "test", "0-1"),          # 1 + 1   -> pair 2
            g(5, "test", "base", "1/2-1/2"),                                   # unpaired
            g(6, "test", "base", "*"),                                         # no result
        ]
        wdl, pentanomial, unpaired = matchstats.tally(games, "test")
        self.assertEqual(wdl, [4, 2, 3])
        self.assertEqual(pentanomial, [1, 0, 1, 1, 1])
        self.assertEqual(unpaired, 1)


if __name__ == "__main__":
    unittest.main()
