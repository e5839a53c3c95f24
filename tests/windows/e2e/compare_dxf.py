#!/usr/bin/python3
"""Compares two DXF files as ezdxf reads them: the layers, and every
model-space entity in order with its kind, layer, colour and geometry.
Prints the differences (at most 20) and exits 1 when there are any."""
import sys

import ezdxf

PLACES = 9  # coordinates agree to 1e-9


def rounded(value):
    if isinstance(value, float):
        return round(value, PLACES)
    if isinstance(value, (tuple, list)) or hasattr(value, "__iter__") and not isinstance(value, str):
        return tuple(rounded(v) for v in value)
    return value


def describe(entity):
    attributes = {k: rounded(v) for k, v in sorted(entity.dxfattribs().items()) if k not in ("handle", "owner")}
    kind = entity.dxftype()
    if kind == "POLYLINE":
        attributes["vertices"] = [rounded(v.dxf.location) for v in entity.vertices]
    elif kind == "LWPOLYLINE":
        attributes["points"] = [rounded(p) for p in entity.get_points()]
    elif kind == "HATCH":
        attributes["paths"] = [rounded(getattr(p, "vertices", [])) for p in entity.paths]
    elif kind == "INSERT":
        attributes["attribs"] = [(a.dxf.tag, a.dxf.text) for a in entity.attribs]
    return kind, attributes


def read(path):
    doc = ezdxf.readfile(path)
    layers = sorted((layer.dxf.name, layer.dxf.color) for layer in doc.layers)
    return layers, [describe(e) for e in doc.modelspace()]


def main(first, second):
    layers_a, entities_a = read(first)
    layers_b, entities_b = read(second)
    problems = []
    if layers_a != layers_b:
        problems.append(f"layers differ: {set(layers_a) ^ set(layers_b)}")
    if len(entities_a) != len(entities_b):
        problems.append(f"{len(entities_a)} entities against {len(entities_b)}")
    for k, (a, b) in enumerate(zip(entities_a, entities_b)):
        if a != b:
            keys = {key for key in set(a[1]) | set(b[1]) if a[1].get(key) != b[1].get(key)}
            problems.append(f"entity {k} ({a[0]} / {b[0]}) differs in {sorted(keys)}")
    for line in problems[:20]:
        print(line)
    print(f"{len(entities_a)} entities compared, {len(problems)} difference(s)")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
