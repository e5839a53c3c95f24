"""What the end-to-end tests of the kestrel program share: the program and the
source tree (ctest's first two arguments), a scratch folder, running the
program, reading its record files and the shared corpus."""
import itertools
import json
import os
import subprocess
import sys
import tempfile
import unittest

KESTREL = sys.argv[1]
ROOT = sys.argv[2]
del sys.argv[1:3]
EXAMPLE = os.path.join(ROOT, "examples", "survey.json")
CORPUS = os.path.join(ROOT, "..", "shared", "corpus", "dxf")

try:
    import ezdxf
    from ezdxf import recover
except ImportError:  # pragma: no cover
    ezdxf = None
needs_ezdxf = unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")

_SCRATCH = tempfile.TemporaryDirectory(prefix="kestrel-cli-")
_settings = itertools.count()


def scratch(name):
    return os.path.join(_SCRATCH.name, name)


def write(name, text):
    """The path of scratch file `name`, holding `text` (line ends kept)."""
    with open(scratch(name), "w", encoding="utf-8", newline="") as f:
        f.write(text)
    return scratch(name)


def keep_me(name):
    """An output file that a refused run must leave as it is."""
    return write(name, "keep me")


def read(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        return f.read()


def kestrel(*args, settings=None, input=None):
    """Runs kestrel with `args` on a settings file of its own (a fresh one unless given), its
    input given and its output captured as text."""
    settings = settings or scratch(f"s{next(_settings)}.ini")
    return subprocess.run([KESTREL, "--settings", settings, *args], capture_output=True, text=True, errors="replace",
                          input=input, timeout=600)


def succeeded(test, *args, **options):
    """kestrel() that `test` requires to succeed."""
    result = kestrel(*args, **options)
    test.assertEqual(result.returncode, 0, result.stderr)
    return result


def corpus_files():
    """The shared corpus's DXF files by name ({} when it is absent)."""
    if not os.path.isdir(CORPUS):
        return {}
    return {f: os.path.join(CORPUS, f) for f in sorted(os.listdir(CORPUS)) if f.lower().endswith(".dxf")}


def read_dxf(path):
    """ezdxf's reading, recovered when it refuses the file (names with \\U+ escapes, R10 3DLINE)."""
    try:
        return ezdxf.readfile(path)
    except Exception:  # noqa: BLE001 - whatever the strict reader refuses
        return recover.readfile(path)[0]


def items(array):
    """The elements of a record-file array (lower bound and items, or null)."""
    if array is None:
        return []
    return array["items"] if isinstance(array, dict) else array


def indexed(array, usual=1):
    """A record-file array as a list indexed from its lower bound (`usual` when the file does not say)."""
    if isinstance(array, dict):
        return [None] * array["lbound"] + array["items"]
    return [None] * usual + array


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def example_drawing():
    """The example's current drawing, its arrays indexed from their lower bounds."""
    source = load(EXAMPLE)
    return indexed(source["Dibujos"])[source["DibujoAct"]]


class Refusals:
    """Mixed into a TestCase: a refused run says why and leaves its output (made by keep_me) as it was."""

    def assertRefused(self, result, out, says, code=None):
        if code is None:
            self.assertNotEqual(result.returncode, 0)
        else:
            self.assertEqual(result.returncode, code, result.stderr)
        self.assertRegex(result.stderr, says)
        self.assertEqual(read(out), "keep me")
