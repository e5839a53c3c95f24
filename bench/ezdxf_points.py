#!/usr/bin/python3
"""ezdxf writing what `kestrel export --labels name,number,code,z` writes for the
first N points of a points file: one POINT and four TEXT entities per point."""
import sys

import ezdxf

source, n, target = sys.argv[1], int(sys.argv[2]), sys.argv[3]
doc = ezdxf.new("R2000")
msp = doc.modelspace()
for layer in ("PUNTOS",):
    doc.layers.add(layer)
h = 1.0
with open(source) as f:
    for i, line in enumerate(f, 1):
        if i > n:
            break
        name, x, y, z, code = line.rstrip("\n").split(",")
        x, y, z = float(x), float(y), float(z)
        msp.add_point((x, y, z), dxfattribs={"layer": "PUNTOS", "color": 2})
        msp.add_text(" " + name, dxfattribs={"layer": "PUNTOS", "height": h, "insert": (x + 0.5 * h, y + h, z)})
        msp.add_text(f" {i}", dxfattribs={"layer": "PUNTOS", "height": h, "insert": (x + 0.5 * h, y - 0.5 * h, z)})
        msp.add_text(" " + code, dxfattribs={"layer": "PUNTOS", "height": h, "insert": (x + 2 * h, y + h, z)})
        msp.add_text(f" {z:.3f}", dxfattribs={"layer": "PUNTOS", "height": h, "insert": (x + 0.5 * h, y - 2 * h, z)})
doc.saveas(target)
