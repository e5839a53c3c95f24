#!/usr/bin/python3
"""Compares two DXF files as ezdxf reads them: the layers, and every
model-space entity in order with its kind, layer, colour and geometry.
  compare_dxf.py A.dxf B.dxf [--tolerance T]
Numbers agree when they differ by at most T (default 1e-9); everything else
must be equal. Prints the differences (at most 20) and the count of entities
that agree only within T; exits 1 when anything differs."""
import argparse
import sys

import ezdxf


def plain(value):
    """Vectors, tuples and lists as tuples of plain values."""
    if isinstance(value, (str, bytes)):
        return value
    if hasattr(value, "__iter__"):
        return tuple(plain(v) for v in value)
    return value


def describe(entity):
    attributes = {k: plain(v) for k, v in entity.dxfattribs().items() if k not in ("handle", "owner")}
    kind = entity.dxftype()
    if kind == "POLYLINE":
        attributes["vertices"] = plain(v.dxf.location for v in entity.vertices)
    elif kind == "LWPOLYLINE":
        attributes["points"] = plain(entity.get_points())
    elif kind == "HATCH":
        attributes["paths"] = plain(getattr(p, "vertices", ()) for p in entity.paths)
    elif kind == "INSERT":
        attributes["attribs"] = plain((a.dxf.tag, a.dxf.text) for a in entity.attribs)
    return kind, attributes


def read(path):
    doc = ezdxf.readfile(path)
    layers = sorted((layer.dxf.name, layer.dxf.color) for layer in doc.layers)
    return layers, [describe(e) for e in doc.modelspace()]


def agree(a, b, tolerance):
    """'same', 'close' (numbers within tolerance) or 'different'."""
    if isinstance(a, float) or isinstance(b, float):
        if not isinstance(a, (int, float)) or not isinstance(b, (int, float)):
            return "different"
        return "same" if a == b else "close" if abs(a - b) <= tolerance else "different"
    if isinstance(a, tuple) and isinstance(b, tuple):
        if len(a) != len(b):
            return "different"
        results = {agree(x, y, tolerance) for x, y in zip(a, b)}
        return "different" if "different" in results else "close" if "close" in results else "same"
    return "same" if a == b else "different"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("first")
    parser.add_argument("second")
    parser.add_argument("--tolerance", type=float, default=1e-9)
    args = parser.parse_args()
    layers_a, entities_a = read(args.first)
    layers_b, entities_b = read(args.second)
    problems = []
    close = 0
    if layers_a != layers_b:
        problems.append(f"layers differ: {set(layers_a) ^ set(layers_b)}")
    if len(entities_a) != len(entities_b):
        problems.append(f"{len(entities_a)} entities against {len(entities_b)}")
    for k, ((kind_a, a), (kind_b, b)) in enumerate(zip(entities_a, entities_b)):
        keys = sorted(set(a) | set(b))
        results = {key: agree(a.get(key), b.get(key), args.tolerance) for key in keys}
        different = [key for key, result in results.items() if result == "different"]
        if kind_a != kind_b or different:
            problems.append(f"entity {k} ({kind_a} / {kind_b}) differs in {different}")
        elif "close" in results.values():
            close += 1
    for line in problems[:20]:
        print(line)
    print(f"{len(entities_a)} entities compared: {len(problems)} difference(s), "
          f"{close} equal within {args.tolerance}")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
