#!/usr/bin/python3
"""python3-ezdxf writing the 3D faces of bench/make_surface.py's surface
(TRIANGLES, two per grid cell) to OUT.dxf: the anchor kestrel's triangle
export is compared with. Usage: ezdxf_faces.py TRIANGLES OUT.dxf"""
import math
import sys

import ezdxf


def main():
    triangles, out = int(sys.argv[1]), sys.argv[2]
    cells = int(math.sqrt(triangles / 2))
    step = 5000.0 / cells

    def vertex(r, c):
        x, y = c * step, r * step
        z = round(600 + 0.004 * x + 10 * math.sin(x / 300) * math.cos(y / 400), 3)
        return (438000 + x, 4472000 + y, z)

    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    doc.layers.add("TRI", color=3)
    for r in range(cells):
        for c in range(cells):
            a, b, d, e = vertex(r, c), vertex(r, c + 1), vertex(r + 1, c), vertex(r + 1, c + 1)
            msp.add_3dface([a, b, e, a], dxfattribs={"layer": "TRI"})
            msp.add_3dface([a, e, d, a], dxfattribs={"layer": "TRI"})
    doc.saveas(out)


if __name__ == "__main__":
    main()
