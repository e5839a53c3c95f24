#!/usr/bin/python3
"""Writes a record file (t_Dibujo) with a grid surface of about TRIANGLES
triangles (two per cell, numbered from 0) and contours holding about
CONTOUR_VERTICES vertices in all (100 per contour, kinds alternating).
Usage: make_surface.py TRIANGLES CONTOUR_VERTICES OUT.json
The surface is the one bench/ezdxf_faces.py draws."""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples"))
from record_json import Arr, document, empty  # noqa: E402


def grid(triangles):
    cells = int(math.sqrt(triangles / 2))
    return cells, 5000.0 / cells


def height(x, y):
    return 600 + 0.004 * x + 10 * math.sin(x / 300) * math.cos(y / 400)


def main():
    triangles, contour_vertices, out = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
    cells, step = grid(triangles)
    n = (cells + 1) ** 2
    xs = [438000 + (i % (cells + 1)) * step for i in range(n)]
    ys = [4472000 + (i // (cells + 1)) * step for i in range(n)]
    zs = [round(height(x - 438000, y - 4472000), 3) for x, y in zip(xs, ys)]
    b1, b2, b3 = [], [], []
    for r in range(cells):
        for c in range(cells):
            a = r * (cells + 1) + c + 1
            b, d = a + 1, a + cells + 1
            b1 += [a, a]
            b2 += [b, d + 1]
            b3 += [d + 1, d]
    curvas = []
    for j in range(max(contour_vertices // 100, 1)):
        y = 4472000 + 5000.0 * (j + 0.5) / max(contour_vertices // 100, 1)
        curvas.append({"NuVertC": 99, "VertC": Arr(0, [[438000 + 50.0 * k, y, 600 + j % 40] for k in range(100)]),
                       "ColorC": 255 if j % 2 else 65280, "TipoC": j % 2 == 0})
    d = empty("t_Dibujo")
    curvado = empty("t_Curvado")
    curvado.update(NuCurvas=len(curvas), Curvas=Arr(1, curvas))
    d.update(Texto2="Superficie", NuPun=n, Nmb=Arr(1, [""] * n), X=Arr(1, xs), Y=Arr(1, ys), Z=Arr(1, zs),
             Cd=Arr(1, [""] * n), infor=Arr(1, [""] * n), Capa=Arr(1, [1] * n),
             Nutria=len(b1) - 1, B1=Arr(0, b1), B2=Arr(0, b2), B3=Arr(0, b3),
             nuCapas=1, CapaActual=1, Capas1=Arr(1, [dict(empty("t_Capa"), Nombre="TERRENO", Encendida=-1)]),
             Curvado=curvado)
    with open(out, "w", encoding="utf-8") as f:
        f.write(document("t_Dibujo", d))


if __name__ == "__main__":
    main()
