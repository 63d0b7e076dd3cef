"""The statistics of an engine match, from its game results: pentanomial counts,
the Elo estimate with its 95% error, and the SPRT's generalized log-likelihood
ratio (LLR) in normalized Elo, as fishtest and fastchess compute them.

Python 3 standard library only. `scripts/sprt` and `scripts/gauntlet` use it;
tests/rig checks it against published results.

Conventions (as fishtest's): results are counts from the point of view of the
engine under test, lowest score first:
  trinomial   [L, D, W]                          game scores 0, 1/2, 1
  pentanomial [LL, LD, WL+DD, WD, WW]            game-pair scores 0, 1/4, 1/2, 3/4, 1
where a pair is the two games of one opening with colours swapped.

The LLR is the generalized log-likelihood ratio of the multinomial model,
maximized over the distributions whose normalized score t = (mu - 1/2) / sigma
equals t0 (H0) and t1 (H1) (M. Van den Bergh, "Comments on normalized Elo",
section 4.1). Normalized Elo is nElo = t * 800 / ln 10 per game; a pair's
standard deviation is that of a game divided by sqrt(2), so pentanomial results
test t * sqrt(2).
"""

import math
import re

NELO_PER_T = 800.0 / math.log(10.0)  # 347.435...
Z95 = 1.959963984540054  # two-sided 95% normal quantile


class StatsError(ValueError):
    pass


def regularize(counts):
    """Counts as floats, a zero replaced by 1e-3 (so every outcome keeps a
    positive probability; fishtest and fastchess do the same)."""
    return [float(c) if c else 1e-3 for c in counts]


def outcome_scores(n):
    """The score of each outcome: 3 -> 0, 1/2, 1; 5 -> 0, 1/4, 1/2, 3/4, 1."""
    if n not in (3, 5):
        raise StatsError("results must be trinomial [L, D, W] or pentanomial [LL, LD, WL+DD, WD, WW]")
    return [i / (n - 1) for i in range(n)]


def mean_var(scores, probs):
    mu = sum(a * p for a, p in zip(scores, probs))
    var = sum(p * (a - mu) ** 2 for a, p in zip(scores, probs))
    return mu, var


def empirical(counts):
    """(number of observations, outcome scores, empirical probabilities)."""
    counts = regularize(counts)
    total = sum(counts)
    return total, outcome_scores(len(counts)), [c / total for c in counts]


def _solve_secular(phi, probs):
    """The x with sum_i probs_i * phi_i / (1 + x * phi_i) = 0, where min(phi) < 0 <
    max(phi). The left side falls strictly as x grows on the interval
    (-1/max phi, -1/min phi), where every 1 + x*phi_i is positive; bisection."""
    lo = -1.0 / max(phi)
    hi = -1.0 / min(phi)
    if not (min(phi) < 0.0 < max(phi)):
        raise StatsError("no maximum-likelihood distribution: the hypothesis lies outside the outcomes")

    def f(x):
        return sum(p * v / (1.0 + x * v) for p, v in zip(probs, phi))

    for _ in range(200):
        mid = (lo + hi) / 2.0
        if mid <= lo or mid >= hi:
            break
        if f(mid) > 0.0:
            lo = mid
        else:
            hi = mid
    return (lo + hi) / 2.0


def mle_for_t(scores, probs, t, ref=0.5):
    """The distribution on `scores` of largest likelihood for the empirical
    `probs` among those with (mu - ref) / sigma = t: a fixed point of
    p_i = phat_i / (1 + x * phi_i), phi_i = a_i - ref - t * sigma * (1 + ((a_i - mu) / sigma)^2) / 2,
    started from the uniform distribution."""
    n = len(scores)
    p = [1.0 / n] * n
    for _ in range(200):
        mu, var = mean_var(scores, p)
        sigma = math.sqrt(var)
        phi = [a - ref - t * sigma * (1.0 + ((a - mu) / sigma) ** 2) / 2.0 for a in scores]
        x = _solve_secular(phi, probs)
        new = [ph / (1.0 + x * v) for ph, v in zip(probs, phi)]
        change = max(abs(a - b) for a, b in zip(new, p))
        p = new
        if change < 1e-13:
            break
    return p


def llr_normalized(nelo0, nelo1, counts):
    """The LLR of H1 (nElo = nelo1) against H0 (nElo = nelo0) for trinomial or
    pentanomial counts."""
    total, scores, probs = empirical(counts)
    scale = 1.0 if len(counts) == 3 else math.sqrt(2.0)
    t0, t1 = (scale * e / NELO_PER_T for e in (nelo0, nelo1))
    p0 = mle_for_t(scores, probs, t0)
    p1 = mle_for_t(scores, probs, t1)
    return total * sum(ph * (math.log(b) - math.log(a)) for ph, a, b in zip(probs, p0, p1))


def llr_normalized_approx(nelo0, nelo1, counts):
    """The closed-form approximation of the same LLR (Van den Bergh, section 4.2):
    games/2 * ln((1 + (t - t0)^2) / (1 + (t - t1)^2)), t the observed normalized
    score per game."""
    total, scores, probs = empirical(counts)
    mu, var = mean_var(scores, probs)
    if len(counts) == 5:
        sigma_game, games = math.sqrt(2.0 * var), 2.0 * total
    else:
        sigma_game, games = math.sqrt(var), total
    t = (mu - 0.5) / sigma_game
    t0, t1 = (e / NELO_PER_T for e in (nelo0, nelo1))
    return games / 2.0 * math.log((1.0 + (t - t0) ** 2) / (1.0 + (t - t1) ** 2))


def sprt_bounds(alpha=0.05, beta=0.05):
    """Wald's stopping bounds on the LLR: (ln(beta / (1 - alpha)), ln((1 - beta) / alpha))."""
    if not (0.0 < alpha < 1.0 and 0.0 < beta < 1.0 and alpha + beta < 1.0):
        raise StatsError("alpha and beta must lie in (0, 1) with alpha + beta < 1")
    return math.log(beta / (1.0 - alpha)), math.log((1.0 - beta) / alpha)


def sprt_verdict(llr, alpha=0.05, beta=0.05):
    lower, upper = sprt_bounds(alpha, beta)
    if llr >= upper:
        return "H1"
    if llr <= lower:
        return "H0"
    return None


def score_to_elo(score):
    """Logistic Elo of an expected score; +-inf at 1 and 0, nan outside."""
    if score >= 1.0:
        return math.inf if score == 1.0 else math.nan
    if score <= 0.0:
        return -math.inf if score == 0.0 else math.nan
    return -400.0 * math.log10(1.0 / score - 1.0)


class Estimate:
    """Score, logistic Elo and normalized Elo with 95% errors, from counts
    (unregularized): the error is half the Elo width of the score's 95%
    interval, as fastchess prints it."""

    def __init__(self, counts):
        counts = list(counts)
        outcome_scores(len(counts))
        self.counts = counts
        self.n = sum(counts)
        if self.n == 0:
            raise StatsError("no results")
        scores = outcome_scores(len(counts))
        probs = [c / self.n for c in counts]
        self.score, self.var = mean_var(scores, probs)
        self.stderr = math.sqrt(self.var / self.n)
        lo, hi = self.score - Z95 * self.stderr, self.score + Z95 * self.stderr
        self.elo = score_to_elo(self.score)
        self.elo_error = (score_to_elo(hi) - score_to_elo(lo)) / 2.0
        # Per-game standard deviation: a pair's deviation times sqrt(2).
        sigma_game = math.sqrt(self.var * (2.0 if len(counts) == 5 else 1.0))
        if sigma_game > 0.0:
            self.nelo = (self.score - 0.5) / sigma_game * NELO_PER_T
            self.nelo_error = Z95 * self.stderr / sigma_game * NELO_PER_T
        else:
            self.nelo = self.nelo_error = math.nan


def format_elo(value, error):
    def num(v):
        if math.isnan(v):
            return "nan"
        if math.isinf(v):
            return "+inf" if v > 0 else "-inf"
        return "%+.1f" % v

    if math.isnan(error) or math.isinf(error):
        return "%s (error unbounded)" % num(value)
    return "%s +- %.1f" % (num(value), error)


# ---- game results ----------------------------------------------------------

_TAG = re.compile(r'^\[(\w+)\s+"(.*)"\]\s*$')


def read_pgn_headers(path):
    """The tag pairs of every game of a PGN file, in file order."""
    games, current = [], {}
    with open(path, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = _TAG.match(line.strip())
            if m:
                if m.group(1) == "Event" and current:
                    games.append(current)
                    current = {}
                current[m.group(1)] = m.group(2)
    if current:
        games.append(current)
    return games


def game_points(headers, engine):
    """The points `engine` took in a game (1, 0.5, 0), or None when it did not
    play or the game has no result."""
    result = headers.get("Result")
    points = {"1-0": (1.0, 0.0), "0-1": (0.0, 1.0), "1/2-1/2": (0.5, 0.5)}.get(result)
    if points is None:
        return None
    if headers.get("White") == engine:
        return points[0]
    if headers.get("Black") == engine:
        return points[1]
    return None


def tally(games, engine, opponent=None):
    """Trinomial and pentanomial counts for `engine` over PGN headers: games
    paired by their Round tag (fastchess gives both games of an opening one
    round). Returns (wdl [W, D, L], pentanomial [LL, LD, WL+DD, WD, WW], unpaired games)."""
    w = d = l = 0
    rounds = {}
    for g in games:
        if opponent is not None and opponent not in (g.get("White"), g.get("Black")):
            continue
        pts = game_points(g, engine)
        if pts is None:
            continue
        if pts == 1.0:
            w += 1
        elif pts == 0.5:
            d += 1
        else:
            l += 1
        rounds.setdefault(g.get("Round"), []).append(pts)
    penta = [0, 0, 0, 0, 0]
    unpaired = 0
    for pts in rounds.values():
        while len(pts) >= 2:
            a, b = pts.pop(0), pts.pop(0)
            penta[int(round((a + b) * 2))] += 1
        unpaired += len(pts)
    return [w, d, l], penta, unpaired
