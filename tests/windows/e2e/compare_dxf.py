#!/usr/bin/python3
"""compare_dxf.py A.dxf B.dxf [--tolerance T]: the layers and every model-space
entity in order (kind, layer, colour, geometry) as ezdxf reads them must agree;
numbers may differ by T (default 1e-9). Prints the differences (at most 20);
exits 1 when anything differs."""
import argparse
import sys

import ezdxf


def plain(value):
    """Vectors, tuples and lists as tuples of plain values."""
    if isinstance(value, (str, bytes)) or not hasattr(value, "__iter__"):
        return value
    return tuple(plain(v) for v in value)


EXTRAS = {
    "POLYLINE": ("vertices", lambda e: (v.dxf.location for v in e.vertices)),
    "LWPOLYLINE": ("points", lambda e: e.get_points()),
    "HATCH": ("paths", lambda e: (getattr(p, "vertices", ()) for p in e.paths)),
    "INSERT": ("attribs", lambda e: ((a.dxf.tag, a.dxf.text) for a in e.attribs)),
}


def describe(entity):
    attributes = {k: plain(v) for k, v in entity.dxfattribs().items() if k not in ("handle", "owner")}
    kind = entity.dxftype()
    if kind in EXTRAS:
        name, read_extra = EXTRAS[kind]
        attributes[name] = plain(read_extra(entity))
    return kind, attributes


def read(path):
    doc = ezdxf.readfile(path)
    return sorted((layer.dxf.name, layer.dxf.color) for layer in doc.layers), [describe(e) for e in doc.modelspace()]


def agree(a, b, tolerance):
    """'same', 'close' (numbers within tolerance) or 'different'."""
    if isinstance(a, float) or isinstance(b, float):
        if not isinstance(a, (int, float)) or not isinstance(b, (int, float)):
            return "different"
        return "same" if a == b else "close" if abs(a - b) <= tolerance else "different"
    if isinstance(a, tuple) and isinstance(b, tuple) and len(a) == len(b):
        results = {agree(x, y, tolerance) for x, y in zip(a, b)}
        return "different" if "different" in results else "close" if "close" in results else "same"
    return "same" if a == b else "different"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("first")
    parser.add_argument("second")
    parser.add_argument("--tolerance", type=float, default=1e-9)
    args = parser.parse_args()
    (layers_a, entities_a), (layers_b, entities_b) = read(args.first), read(args.second)
    problems = [f"layers differ: {set(layers_a) ^ set(layers_b)}"] if layers_a != layers_b else []
    if len(entities_a) != len(entities_b):
        problems.append(f"{len(entities_a)} entities against {len(entities_b)}")
    for k, ((kind_a, a), (kind_b, b)) in enumerate(zip(entities_a, entities_b)):
        keys = sorted(set(a) | set(b))
        different = [key for key in keys if agree(a.get(key), b.get(key), args.tolerance) == "different"]
        if kind_a != kind_b or different:
            problems.append(f"entity {k} ({kind_a} / {kind_b}) differs in {different}")
    for line in problems[:20]:
        print(line)
    print(f"{len(entities_a)} entities compared: {len(problems)} difference(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
