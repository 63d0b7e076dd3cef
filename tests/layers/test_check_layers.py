"""scripts/check_layers: the repository's folders keep to their layers, and
an include planted in a copy of src/ (never in the tree itself) is caught,
named by file and line."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
REPO = os.path.dirname(os.path.dirname(HERE))
SRC = os.path.join(REPO, "src")
CHECK = os.path.join(REPO, "scripts", "check_layers")
PLANTED_LINE = 2  # a planted include goes below the file's first line


def run_check(src):
    result = subprocess.run([sys.executable, CHECK, src], capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


def plant(src, path, text):
    """Writes text into the copy's file as its line PLANTED_LINE (making the file when there is none)."""
    full = os.path.join(src, path)
    os.makedirs(os.path.dirname(full), exist_ok=True)
    lines = ["// planted\n"]
    if os.path.exists(full):
        with open(full) as source:
            lines = source.readlines()
    lines.insert(PLANTED_LINE - 1, text + "\n")
    with open(full, "w") as out:
        out.writelines(lines)


class CopyOfSource(unittest.TestCase):
    def setUp(self):
        self.temp = tempfile.mkdtemp(prefix="check_layers_")
        self.src = os.path.join(self.temp, "src")
        shutil.copytree(SRC, self.src)

    def tearDown(self):
        shutil.rmtree(self.temp)


class TheRepository(unittest.TestCase):
    def test_its_layers_hold(self):
        status, output = run_check(SRC)
        self.assertEqual(status, 0, output)
        self.assertIn("the layers hold", output)


class PlantedUpwardIncludes(CopyOfSource):
    # file, include planted, the fault expected
    CASES = [
        ("board/bitboard.cpp", '#include "search/think.h"', "board includes search, a layer above it"),
        ("platform/clock.cpp", '#include "board/types.h"', "platform includes board, a layer above it"),
        ("eval/evaluate.h", '  #  include "movegen/perft.h"', "eval includes movegen, a layer above it"),
        ("search/draw.cpp", '#include "engine/game.h"', "search includes engine, a layer above it"),
        ("engine/game.cpp", '#include "uci/uci_loop.h"', "engine includes uci, a layer above it"),
        ("movegen/perft.cpp", '#include "tools/san.h"', "movegen includes tools, a layer above it"),
    ]

    def test_each_is_named_by_file_and_line(self):
        for path, include, fault in self.CASES:
            with self.subTest(path=path):
                shutil.rmtree(self.src)
                shutil.copytree(SRC, self.src)
                plant(self.src, path, include)
                status, output = run_check(self.src)
                self.assertEqual(status, 1, output)
                self.assertIn(f"{path}:{PLANTED_LINE}: {fault}", output)

    def test_the_tree_itself_is_left_alone(self):
        plant(self.src, "board/bitboard.cpp", '#include "search/think.h"')
        self.assertEqual(run_check(SRC)[0], 0)


class OtherFaults(CopyOfSource):
    def test_folders_side_by_side_may_not_include_each_other_both_ways(self):
        self.assertEqual(run_check(self.src)[0], 0)  # tools already includes book
        plant(self.src, "book/book_move.cpp", '#include "tools/san.h"')
        status, output = run_check(self.src)
        self.assertEqual(status, 1, output)
        self.assertIn("cycle", output)
        self.assertIn(f"book -> tools (book/book_move.cpp:{PLANTED_LINE})", output)
        self.assertNotIn("a layer above", output)

    def test_a_folder_the_drawing_leaves_out(self):
        plant(self.src, "gui/window.cpp", '#include "board/types.h"')
        status, output = run_check(self.src)
        self.assertEqual(status, 1, output)
        self.assertIn(f"gui/window.cpp:{PLANTED_LINE}: folder 'gui' is not in the layer drawing", output)

    def test_includes_that_are_no_folders_layer_pass(self):
        for path, include in [("board/bitboard.cpp", "#include <vector>"),
                              ("board/bitboard.cpp", '#include "types.h"'),
                              ("board/bitboard.cpp", '// #include "search/think.h"'),
                              ("eval/evaluate.cpp", '#include "eval/imbalance.h"'),
                              ("driver/xboard.cpp", '#include "platform/clock.h"')]:
            plant(self.src, path, include)
        status, output = run_check(self.src)
        self.assertEqual(status, 0, output)

    def test_no_drawing_to_check_against(self):
        with open(os.path.join(self.src, "README.md"), "w") as readme:
            readme.write("# Source layout\n\nNo drawing here.\n")
        status, output = run_check(self.src)
        self.assertEqual(status, 2, output)
        self.assertIn("no layer drawing", output)


if __name__ == "__main__":
    unittest.main()
