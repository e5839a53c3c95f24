#!/usr/bin/python3
"""compare_dxf.py A.dxf B.dxf [TOLERANCE]: the two drawings as ezdxf reads them
(tests/data/dxf/ezdxf_dump.py: tables, blocks and every entity in order) must
agree; numbers may differ by TOLERANCE (default 1e-9). Prints the differences
(at most 20); exits 1 when anything differs."""
import contextlib
import io
import json
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "data", "dxf"))
import ezdxf_dump  # noqa: E402


def dump(path):
    text = io.StringIO()
    with contextlib.redirect_stdout(text):
        ezdxf_dump.main(path)
    return json.loads(text.getvalue())


def differences(a, b, tolerance, where="drawing"):
    if isinstance(a, dict) and isinstance(b, dict):
        for key in sorted(set(a) | set(b)):
            yield from differences(a.get(key), b.get(key), tolerance, f"{where}.{key}")
    elif isinstance(a, list) and isinstance(b, list) and len(a) == len(b):
        for k, (x, y) in enumerate(zip(a, b)):
            yield from differences(x, y, tolerance, f"{where}[{k}]")
    elif isinstance(a, float) and isinstance(b, (int, float)) or isinstance(b, float) and isinstance(a, (int, float)):
        if abs(a - b) > tolerance:
            yield f"{where}: {a} / {b}"
    elif a != b:
        yield f"{where}: {str(a)[:100]} / {str(b)[:100]}"


def main(first, second, tolerance="1e-9"):
    found = list(differences(dump(first), dump(second), float(tolerance)))
    print("\n".join(found[:20] + [f"{len(found)} difference(s)"]))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
