"""What every end-to-end test of the kestrel program shares: the program and
the source tree, which ctest passes as the first two arguments (the rest are
unittest's), and one way to run the program."""
import subprocess
import sys

KESTREL = sys.argv[1]
ROOT = sys.argv[2]
del sys.argv[1:3]


def run(*args, cwd=None):
    """Runs kestrel with `args`, its output captured as text."""
    return subprocess.run([KESTREL, *args], capture_output=True, text=True, cwd=cwd, timeout=600)
