"""The rig's command lines (scripts/sprt, scripts/gauntlet): bad arguments are
refused with a clear message and status 2 before any build or game, and a good
command line reaches fastchess with the test's settings. fastchess is replaced
by tests/rig/stub_fastchess.py, which records its arguments and plays nothing."""

import os
import stat
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
SPRT = os.path.join(REPO, "scripts", "sprt")
GAUNTLET = os.path.join(REPO, "scripts", "gauntlet")
STUB = os.path.join(HERE, "stub_fastchess.py")


def git_available():
    try:
        r = subprocess.run(["git", "-C", REPO, "rev-parse", "--verify", "HEAD^{commit}"],
                           capture_output=True, text=True)
        return r.returncode == 0
    except OSError:
        return False


class RigCase(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="rig-test-")
        self.dir = self.tmp.name
        # An "engine" that answers `uci` with two options and plays nothing.
        self.engine = os.path.join(self.dir, "engine")
        with open(self.engine, "w") as f:
            f.write("#!/bin/sh\n"
                    "echo 'id name Fake'\n"
                    "echo 'option name OwnBook type check default true'\n"
                    "echo 'option name Search type combo default Classic var Classic var Modern'\n"
                    "echo uciok\n")
        os.chmod(self.engine, os.stat(self.engine).st_mode | stat.S_IXUSR)
        self.fastchess = os.path.join(self.dir, "fastchess")
        with open(self.fastchess, "w") as f:
            f.write("#!/bin/sh\nexec %s %s \"$@\"\n" % (sys.executable, STUB))
        os.chmod(self.fastchess, os.stat(self.fastchess).st_mode | stat.S_IXUSR)
        self.record = os.path.join(self.dir, "fastchess-args")

    def tearDown(self):
        self.tmp.cleanup()

    def run_script(self, script, *args, fastchess=True, path=None):
        env = dict(os.environ)
        if path is not None:
            env["PATH"] = path
        env["STUB_FASTCHESS_ARGS"] = self.record
        if fastchess:
            env["FASTCHESS"] = self.fastchess
        else:
            env["FASTCHESS"] = os.path.join(self.dir, "no-such-fastchess")
        return subprocess.run([sys.executable, script] + list(args), capture_output=True, text=True,
                              env=env, cwd=self.dir, timeout=120)

    def assertRefused(self, result, *words):
        self.assertEqual(result.returncode, 2, result.stdout + result.stderr)
        for w in words:
            self.assertIn(w, result.stderr)
        self.assertFalse(os.path.exists(self.record), "fastchess was started")

    def fastchess_args(self):
        with open(self.record) as f:
            return f.read().splitlines()


class SprtArguments(RigCase):
    def test_missing_binary(self):
        r = self.run_script(SPRT, os.path.join(self.dir, "no", "tavrel"), self.engine)
        self.assertRefused(r, "BASE engine binary", "does not exist")

    def test_not_executable(self):
        plain = os.path.join(self.dir, "plain")
        open(plain, "w").close()
        os.chmod(plain, 0o644)
        r = self.run_script(SPRT, self.engine, plain)
        self.assertRefused(r, "TEST engine", "not an executable file")

    @unittest.skipUnless(git_available(), "the sources are not a git repository")
    def test_bad_revision(self):
        r = self.run_script(SPRT, "no-such-revision-4f1c", self.engine)
        self.assertRefused(r, "no-such-revision-4f1c", "neither an executable file nor a git revision")

    def test_bounds_reversed(self):
        r = self.run_script(SPRT, self.engine, self.engine, "--bounds", "5,-5")
        self.assertRefused(r, "bad bounds", "ELO0 must be below ELO1")

    def test_bounds_unreadable(self):
        r = self.run_script(SPRT, self.engine, self.engine, "--bounds", "ten")
        self.assertRefused(r, "bad bounds")

    def test_bounds_and_simplification(self):
        r = self.run_script(SPRT, self.engine, self.engine, "--bounds", "0,5", "--simplification")
        self.assertRefused(r, "not both")

    def test_one_engine(self):
        r = self.run_script(SPRT, self.engine)
        self.assertRefused(r, "two engines are needed")

    def test_nodes_and_clock(self):
        r = self.run_script(SPRT, self.engine, self.engine, "--nodes", "100", "--tc", "10+0.1")
        self.assertRefused(r, "--nodes or --tc")

    def test_bad_clock(self):
        r = self.run_script(SPRT, self.engine, self.engine, "--tc", "fast")
        self.assertRefused(r, "bad time control")

    def test_odd_games(self):
        r = self.run_script(SPRT, self.engine, self.engine, "--games", "7")
        self.assertRefused(r, "even number")

    def test_more_games_than_a_node_limit_can_tell_apart(self):
        # The suite has 1,000 openings: at a node limit game 2,001 replays game 1.
        r = self.run_script(SPRT, self.engine, self.engine, "--games", "2002")
        self.assertRefused(r, "repeat after 2000")

    def test_bad_engine_option(self):
        r = self.run_script(SPRT, self.engine, self.engine + ":Search")
        self.assertRefused(r, "NAME=VALUE")

    def test_unknown_rig_option(self):
        r = self.run_script(SPRT, "--bonuds", "0,5", self.engine, self.engine)
        self.assertRefused(r, "unknown option --bonuds")

    def test_unknown_uci_option(self):
        r = self.run_script(SPRT, self.engine, ":Serch=Modern")
        self.assertRefused(r, "has no UCI option 'Serch'", "OwnBook, Search")

    def test_not_a_uci_engine(self):
        mute = os.path.join(self.dir, "mute")
        with open(mute, "w") as f:
            f.write("#!/bin/sh\nexit 0\n")
        os.chmod(mute, 0o755)
        r = self.run_script(SPRT, self.engine, mute)
        self.assertRefused(r, "does not speak UCI")

    def test_fastchess_missing(self):
        r = self.run_script(SPRT, self.engine, self.engine, fastchess=False)
        self.assertRefused(r, "fastchess", "shared/tools/fastchess/build")

    def test_dry_run_prints_the_command(self):
        r = self.run_script(SPRT, "--dry-run", self.engine, ":Search=Modern,depth=4", fastchess=False)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertIn("option.Search=Modern", r.stdout)
        self.assertIn("depth=4", r.stdout)
        self.assertFalse(os.path.exists(self.record))


class SprtRun(RigCase):
    def test_settings_reach_fastchess_and_the_report_is_computed_from_the_games(self):
        out = os.path.join(self.dir, "run")
        r = self.run_script(SPRT, self.engine, ":Search=Modern", "--seed", "7", "--out", out, "-log", "file=x")
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        args = self.fastchess_args()
        joined = " ".join(args)
        # TEST is the first engine: fastchess reports its result.
        self.assertLess(args.index("name=test"), args.index("name=base"))
        self.assertIn("option.Search=Modern", args)
        for expected in ["-sprt elo0=0 elo1=10 alpha=0.05 beta=0.05 model=normalized",
                         "-games 2 -repeat", "order=random", "-srand 7", "-concurrency 1",
                         "option.OwnBook=false", "nodes=10000", "restart=on"]:
            self.assertIn(expected, joined)
        self.assertEqual(args[-2:], ["-log", "file=x"])  # passed through
        # The stub's games: W-D-L 4-2-2, pentanomial [0, 1, 1, 1, 1].
        self.assertIn("games        8 (4 pairs)", r.stdout)
        self.assertIn("W-D-L        4-2-2", r.stdout)
        self.assertIn("pentanomial  [0, 1, 1, 1, 1]", r.stdout)
        self.assertIn("LLR ", r.stdout)
        self.assertIn("undecided", r.stdout)
        # Score (0.25 + 0.5 + 0.75 + 1) / 4 = 0.625: Elo = 400 log10(5/3) = +88.7.
        self.assertIn("Elo          +88.7", r.stdout)

    def test_simplification_bounds_and_clock(self):
        r = self.run_script(SPRT, self.engine, self.engine, "--simplification", "--confirm",
                            "--out", os.path.join(self.dir, "run"))
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        joined = " ".join(self.fastchess_args())
        self.assertIn("elo0=-10 elo1=0", joined)
        self.assertIn("tc=10+0.1", joined)
        self.assertNotRegex(joined, r"nodes=\d")
        self.assertIn("-rounds 10000", joined)  # on a clock the openings may come round again

    def test_a_node_limited_sprt_stops_when_the_openings_run_out(self):
        r = self.run_script(SPRT, self.engine, self.engine, "--max-games", "5000",
                            "--out", os.path.join(self.dir, "run"))
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        self.assertIn("at most 2000 games", r.stdout)
        self.assertIn("-rounds 1000 ", " ".join(self.fastchess_args()))


class GauntletArguments(RigCase):
    def test_unknown_opponent(self):
        r = self.run_script(GAUNTLET, self.engine, "--opponents", "gnuchess,deep-blue")
        self.assertRefused(r, "unknown opponent 'deep-blue'")

    def test_missing_binary(self):
        r = self.run_script(GAUNTLET, os.path.join(self.dir, "nothing"), "--opponents", "sf3")
        self.assertRefused(r)

    def test_odd_games(self):
        r = self.run_script(GAUNTLET, self.engine, "--games", "5")
        self.assertRefused(r, "even number")

    def test_only_tavrel_starts_afresh_for_every_game(self):
        # An opponent that never exits on `quit` must not be restarted after every game.
        bin_dir = os.path.join(self.dir, "bin")
        os.mkdir(bin_dir)
        gnuchess = os.path.join(bin_dir, "gnuchess")
        with open(gnuchess, "w") as f:
            f.write("#!/bin/sh\n")
        os.chmod(gnuchess, 0o755)
        r = self.run_script(GAUNTLET, "--dry-run", "--opponents", "gnuchess", self.engine,
                            path=bin_dir + os.pathsep + os.environ.get("PATH", ""))
        self.assertEqual(r.returncode, 0, r.stdout + r.stderr)
        command = r.stdout.splitlines()[-1].split()
        opponent = command.index("cmd=" + gnuchess)
        self.assertIn("restart=on", command[:opponent])
        self.assertNotIn("restart=on", command[opponent:])


if __name__ == "__main__":
    unittest.main()
