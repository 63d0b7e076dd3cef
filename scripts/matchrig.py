"""What `scripts/sprt` and `scripts/gauntlet` share: reading their command
lines, naming engines (binaries, git revisions built on demand, UCI options),
finding fastchess, running it and reading its games. Python 3 standard library
only; no game is played before every argument has been checked.
"""

import argparse
import datetime
import os
import re
import shutil
import subprocess
import sys
import tempfile

import matchstats

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEFAULT_OPENINGS = os.path.join(REPO, "data", "openings", "gnubook-8ply-1000.epd")
ENGINE_CACHE = os.path.join(REPO, "build", "rig", "engines")
RUNS_DIR = os.path.join(REPO, "build", "rig", "runs")

# Keys of an engine argument that set one of fastchess's per-engine limits rather
# than a UCI option: `tavrel:depth=4` caps that engine's search at 4 plies.
FASTCHESS_ENGINE_KEYS = ("depth", "plies", "nodes", "st", "tc", "timemargin")

FASTCHESS_HELP = (
    "fastchess was not found: put it on PATH or name it in $FASTCHESS.\n"
    "Build it from the source beside the repositories with\n"
    "  ../shared/tools/fastchess/build DIR      (makes DIR/fastchess; default DIR ~/.local/bin)\n"
    "or from https://github.com/Disservin/fastchess (`make`).")


class RigError(Exception):
    """A bad argument or a missing tool: the message is printed and the script
    exits with status 2 before any game."""


def fail(prog, message, status=2):
    print("%s: %s" % (prog, message), file=sys.stderr)
    sys.exit(status)


# ---- command line ------------------------------------------------------------

def split_command_line(parser, argv, npositional):
    """Splits argv into the rig's own options (--long, anywhere), `npositional`
    positional arguments, and the fastchess options passed through verbatim
    (the tokens after the positionals that are not the rig's own, and all after `--`)."""
    own, positional, passthrough = [], [], []
    takes_value = {opt: action.nargs != 0
                   for opt, action in parser._option_string_actions.items()}
    i = 0
    while i < len(argv):
        tok = argv[i]
        if tok == "--":
            passthrough.extend(argv[i + 1:])
            break
        name = tok.split("=", 1)[0]
        if tok.startswith("--") or tok in ("-h",):
            if name not in takes_value:
                raise RigError("unknown option %s (fastchess's own options take one dash, "
                               "after the engines)" % name)
            own.append(tok)
            if takes_value[name] and "=" not in tok:
                if i + 1 >= len(argv):
                    raise RigError("option %s needs a value" % name)
                own.append(argv[i + 1])
                i += 1
        elif len(positional) < npositional:
            if tok.startswith("-") and not re.match(r"^-\d", tok):
                raise RigError("%s: fastchess options go after the engine%s" %
                               (tok, "s" if npositional > 1 else ""))
            positional.append(tok)
        else:
            passthrough.append(tok)
        i += 1
    return own, positional, passthrough


def parse_bounds(text):
    m = re.match(r"^\s*\[?\s*([-+]?\d+(?:\.\d+)?)\s*,\s*([-+]?\d+(?:\.\d+)?)\s*\]?\s*$", text or "")
    if not m:
        raise RigError("bad bounds %r: give two normalized Elo values, ELO0,ELO1 (for example 0,10)" % text)
    lo, hi = float(m.group(1)), float(m.group(2))
    if not lo < hi:
        raise RigError("bad bounds %r: ELO0 must be below ELO1" % text)
    return lo, hi


def parse_tc(text):
    """A fastchess/cute-chess time control: [moves/]seconds[+increment]."""
    if not re.match(r"^(\d+/)?\d+(\.\d+)?(:\d+(\.\d+)?)?(\+\d+(\.\d+)?)?$", text or ""):
        raise RigError("bad time control %r: use SECONDS+INCREMENT, for example 10+0.1" % text)
    return text


def positive_int(what, value):
    try:
        n = int(value)
    except (TypeError, ValueError):
        raise RigError("bad %s %r: a positive whole number is needed" % (what, value))
    if n <= 0:
        raise RigError("bad %s %r: a positive whole number is needed" % (what, value))
    return n


def check_openings(path):
    if not os.path.isfile(path):
        raise RigError("no opening file %s" % path)
    fmt = "pgn" if path.lower().endswith(".pgn") else "epd"
    return os.path.abspath(path), fmt


def count_openings(path, fmt):
    """The openings of a file: its non-blank lines (EPD) or games (PGN)."""
    with open(path, errors="replace") as f:
        if fmt == "pgn":
            return sum(1 for line in f if line.startswith("[Event "))
        return sum(1 for line in f if line.strip())


# ---- engines -----------------------------------------------------------------

class Engine:
    """One player: a binary (given, or built from a revision) with its UCI
    options and fastchess limits."""

    def __init__(self, engine_arg, role):
        self.engine_arg = engine_arg
        self.role = role
        self.binary = None        # path to the executable, once known
        self.revision = None      # full commit id when built from git
        self.args = []            # command-line arguments of the engine
        self.options = []         # (name, value) UCI options
        self.limits = []          # (key, value) fastchess per-engine settings

    def describe(self):
        base = self.binary if self.revision is None else "%s (%s)" % (self.spec_base, self.revision[:12])
        extra = ["%s=%s" % kv for kv in self.options + self.limits]
        return base + (" [" + ", ".join(extra) + "]" if extra else "")

    def fastchess_args(self, name, workdir, limits=()):
        """This engine's -engine options; `limits` are the match's (key, value)
        limits, which the engine's own limits of the same key replace."""
        args = ["-engine", "cmd=" + self.binary, "name=" + name, "dir=" + workdir]
        if self.args:
            args.append("args=" + " ".join(self.args))
        own = dict(self.limits)
        args += ["%s=%s" % kv for kv in limits if kv[0] not in own]
        args += ["%s=%s" % kv for kv in self.limits]
        args += ["option.%s=%s" % kv for kv in self.options]
        return args


def parse_spec_options(text, engine_arg):
    """`Name=Value,Name=Value`: UCI options, or fastchess limits for the keys of
    FASTCHESS_ENGINE_KEYS (in lower case)."""
    options, limits = [], []
    if text == "":
        return options, limits
    for item in text.split(","):
        if "=" not in item or not item.split("=", 1)[0].strip():
            raise RigError("bad engine option %r in %r: use NAME=VALUE, several separated by commas" %
                           (item, engine_arg))
        key, value = item.split("=", 1)
        key = key.strip()
        if key in FASTCHESS_ENGINE_KEYS:
            limits.append(("depth" if key == "plies" else key, value))
        else:
            options.append((key, value))
    return options, limits


def git(*args, check=True):
    return subprocess.run(["git", "-C", REPO] + list(args), capture_output=True, text=True, check=check)


def resolve_revision(rev):
    """The full commit id of a revision of this repository, or None."""
    if shutil.which("git") is None:
        return None
    r = git("rev-parse", "--verify", "--quiet", rev + "^{commit}", check=False)
    return r.stdout.strip() if r.returncode == 0 and r.stdout.strip() else None


def resolve_engine(engine_arg, role, previous=None):
    """An Engine from `ENGINE[:OPTIONS]`; ENGINE is a path to an executable, a git
    revision of this repository, or empty (the previous engine's binary). Raises
    RigError with a message naming the problem."""
    base, _, opts = engine_arg.partition(":")
    eng = Engine(engine_arg, role)
    eng.spec_base = base
    eng.options, eng.limits = parse_spec_options(opts, engine_arg)
    if base == "":
        if previous is None:
            raise RigError("%s engine %r has no binary or revision before ':'" % (role, engine_arg))
        eng.binary, eng.revision, eng.spec_base = previous.binary, previous.revision, previous.spec_base
        return eng
    looks_like_path = "/" in base or os.path.exists(base)
    if os.path.exists(base):
        if os.path.isdir(base) or not os.access(base, os.X_OK):
            raise RigError("%s engine %s is not an executable file" % (role, base))
        eng.binary = os.path.abspath(base)
        return eng
    commit = resolve_revision(base)
    if commit is not None:
        eng.revision = commit
        return eng
    if looks_like_path:
        raise RigError("%s engine binary %s does not exist" % (role, base))
    raise RigError("%s engine %r is neither an executable file nor a git revision of %s" %
                   (role, base, REPO))


def check_uci_options(engine):
    """Starts the engine, sends `uci`, and raises RigError unless it answers
    `uciok` and lists every UCI option the engine_arg sets (a misspelt or missing
    option would otherwise leave two engines the same without a word)."""
    with tempfile.TemporaryDirectory(prefix="tavrel-uci-") as tmp:
        try:
            text, ok = uci_handshake([engine.binary] + engine.args, tmp)
        except OSError as e:
            raise RigError("%s engine %s could not be started: %s" % (engine.role, engine.binary, e))
    if not ok:
        raise RigError("%s engine %s does not speak UCI (no uciok after `uci`)" % (engine.role, engine.binary))
    names = re.findall(r"^option name (.+?) type ", text, re.M)
    known = {n.lower() for n in names}
    for name, _ in engine.options:
        if name.lower() not in known:
            raise RigError("%s engine %s has no UCI option %r (its options: %s)" %
                           (engine.role, engine.binary, name, ", ".join(names) or "none"))


def uci_handshake(cmd, cwd, timeout=20.0):
    """Sends `uci`, reads until `uciok` (or end of output, or `timeout`
    seconds), then `quit`. Returns (text read, whether uciok came)."""
    import select
    import time
    proc = subprocess.Popen(cmd, stdin=subprocess.PIPE, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                            cwd=cwd)
    data, ok = b"", False
    try:
        try:
            proc.stdin.write(b"uci\n")
            proc.stdin.flush()
        except OSError:  # it has already gone: read what it wrote
            pass
        deadline = time.monotonic() + timeout
        while not ok:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([proc.stdout], [], [], left)[0]:
                break
            chunk = os.read(proc.stdout.fileno(), 65536)
            if not chunk:
                break
            data += chunk
            ok = b"uciok" in data.split()
        for step in (lambda: proc.stdin.write(b"quit\n"), proc.stdin.close):
            try:
                step()
            except OSError:
                pass
        try:
            proc.wait(timeout=2)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    finally:
        if proc.poll() is None:
            proc.kill()
            proc.wait()
    return data.decode("utf-8", "replace"), ok


def source_key(commit):
    """What the engine's build reads at `commit`: the git trees of src/ and
    cmake/ and CMakeLists.txt, hashed together; two commits that differ only
    elsewhere (scripts, tests, documents) share one build. The commit itself
    when one of them is missing."""
    r = git("rev-parse", commit + ":src", commit + ":cmake", commit + ":CMakeLists.txt", check=False)
    if r.returncode != 0:
        return commit
    import hashlib
    return "src-" + hashlib.sha1(r.stdout.encode()).hexdigest()


def build_revision(commit, jobs=2, log=print):
    """The Release engine of `commit`, built once into build/rig/engines/KEY/
    (KEY from source_key)."""
    dest_dir = os.path.join(ENGINE_CACHE, source_key(commit))
    dest = os.path.join(dest_dir, "tavrel")
    if os.access(dest, os.X_OK):
        return dest
    for tool in ("cmake", "tar"):
        if shutil.which(tool) is None:
            raise RigError("building %s needs %s, which is missing" % (commit[:12], tool))
    os.makedirs(dest_dir, exist_ok=True)
    log_path = os.path.join(dest_dir, "build.log")
    log("building %s (Release, -j%d) ... log in %s" % (commit[:12], jobs, show_path(log_path)))
    with tempfile.TemporaryDirectory(prefix="tavrel-rig-") as tmp, open(log_path, "w") as out:
        src, bld = os.path.join(tmp, "src"), os.path.join(tmp, "build")
        os.makedirs(src)
        steps = [
            "git -C %s archive %s | tar -x -C %s" % (sh(REPO), commit, sh(src)),
            "nice cmake -S %s -B %s -DCMAKE_BUILD_TYPE=Release -DTAVREL_TESTS=OFF" % (sh(src), sh(bld)),
            "nice cmake --build %s -j%d --target tavrel" % (sh(bld), jobs),
        ]
        for step in steps:
            out.write("$ %s\n" % step)
            out.flush()
            r = subprocess.run(["bash", "-o", "pipefail", "-c", step], stdout=out, stderr=subprocess.STDOUT)
            if r.returncode != 0:
                out.close()
                with open(log_path) as f:
                    tail = f.read().splitlines()[-20:]
                raise RigError("building %s failed:\n  %s" % (commit[:12], "\n  ".join(tail)))
        built = os.path.join(bld, "tavrel")
        if not os.access(built, os.X_OK):
            raise RigError("building %s made no %s" % (commit[:12], built))
        shutil.copy2(built, dest + ".tmp")
        os.replace(dest + ".tmp", dest)
    return dest


def show_path(path):
    """A path relative to the current folder when it lies below it."""
    rel = os.path.relpath(path)
    return path if rel.startswith("..") else rel


def sh(path):
    return "'" + path.replace("'", "'\\''") + "'"


def find_fastchess():
    """The fastchess executable from $FASTCHESS or PATH, or RigError."""
    env = os.environ.get("FASTCHESS")
    if env:
        path = shutil.which(env) or (env if os.access(env, os.X_OK) and not os.path.isdir(env) else None)
        if path is None:
            raise RigError("FASTCHESS=%s is not an executable file.\n%s" % (env, FASTCHESS_HELP))
        return os.path.abspath(path)
    path = shutil.which("fastchess")
    if path is None:
        raise RigError(FASTCHESS_HELP)
    return os.path.abspath(path)


def find_program(name):
    """A program on PATH or in /usr/games (where Debian puts chess engines)."""
    return shutil.which(name) or shutil.which(name, path="/usr/games")


def run_dir(kind, out=None):
    if out:
        path = os.path.abspath(out)
    else:
        stamp = datetime.datetime.now().strftime("%Y%m%d-%H%M%S")
        path = os.path.join(RUNS_DIR, "%s-%s" % (stamp, kind))
    os.makedirs(path, exist_ok=True)
    return path


# ---- running fastchess ---------------------------------------------------------

class FastchessReport:
    """The figures of fastchess's last "Results of" block."""

    def __init__(self):
        self.games = None
        self.wins = self.losses = self.draws = None
        self.ptnml = None
        self.llr = None
        self.elo = None

    def feed(self, line):
        m = re.search(r"Games: (\d+), Wins: (\d+), Losses: (\d+), Draws: (\d+)", line)
        if m:
            self.games, self.wins, self.losses, self.draws = map(int, m.groups())
            return True
        m = re.search(r"Ptnml\(0-2\): \[(\d+), (\d+), (\d+), (\d+), (\d+)\]", line)
        if m:
            self.ptnml = list(map(int, m.groups()))
            return True
        m = re.search(r"^LLR: ([-+]?[\d.]+|-?nan)", line)
        if m:
            try:
                self.llr = float(m.group(1))
            except ValueError:
                self.llr = None
            return True
        m = re.search(r"^Elo: (\S+) \+/- ([^,\s]+)", line)
        if m:
            self.elo = (m.group(1), m.group(2))
        return False


def run_fastchess(cmd, log_path, progress, nice=10):
    """Runs fastchess in the folder of log_path (where it leaves its
    config.json), its whole output to log_path; calls progress(report) after
    each of its rating reports. Returns (exit status, last report)."""
    if nice:
        cmd = ["nice", "-n", str(nice)] + cmd
    report = FastchessReport()
    with open(log_path, "w") as log:
        log.write("$ " + " ".join(quote_arg(a) for a in cmd) + "\n")
        log.flush()
        proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                                errors="replace", cwd=os.path.dirname(os.path.abspath(log_path)))
        pending = False
        try:
            for line in proc.stdout:
                log.write(line)
                text = line.strip()
                if text.startswith("Results of"):
                    pending = True
                report.feed(text)
                if pending and text.startswith("-----") and report.games is not None:
                    log.flush()
                    progress(report)
                    pending = False
            status = proc.wait()
        except KeyboardInterrupt:
            proc.terminate()
            proc.wait()
            raise
    return status, report


def quote_arg(a):
    return a if re.match(r"^[\w./=+:,@%-]+$", a) else sh(a)
