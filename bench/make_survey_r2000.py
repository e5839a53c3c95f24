#!/usr/bin/python3
"""Writes the survey benchmark drawing as a CAD program saves it (R2000, with
handles, owners and subclass markers): POINTS points on a grid, each with two
labels (name and elevation) plus one text in ten points, and two 3D faces per
grid cell up to FACES. bench/make_survey_r2000.py POINTS FACES OUT.dxf
(100000 200000 gives the 10^5-point benchmark: 2.1·10^5 texts, about 100 MB)."""
import math
import sys

points, faces, target = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3]
side = max(2, math.isqrt(points))
handle = 0x100


def z(i, j):
    return 612 + 5 * math.sin(i / 40) + 3 * math.cos(j / 55)


def head(kind, layer, subclass):
    global handle
    handle += 1
    return f"0\n{kind}\n5\n{handle:X}\n330\n1F\n100\nAcDbEntity\n8\n{layer}\n100\n{subclass}\n"


with open(target, "w", encoding="ascii", newline="\n") as out:
    w = out.write
    w("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$INSUNITS\n70\n6\n0\nENDSEC\n")
    w("0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n5\n2\n330\n0\n100\nAcDbSymbolTable\n70\n4\n")
    for k, (name, colour) in enumerate((("0", 7), ("PUNTOS", 2), ("TERRENO", 3), ("COTAS", 1))):
        w(f"0\nLAYER\n5\n{0x10 + k:X}\n330\n2\n100\nAcDbSymbolTableRecord\n100\nAcDbLayerTableRecord\n"
          f"2\n{name}\n70\n0\n62\n{colour}\n6\nCONTINUOUS\n")
    w("0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n")
    for k in range(points):
        i, j = divmod(k, side)
        x, y, h = 438000 + j * 2.5, 4472000 + i * 2.5, z(i, j)
        w(head("POINT", "PUNTOS", "AcDbPoint") + f"10\n{x:.3f}\n20\n{y:.3f}\n30\n{h:.3f}\n")
        labels = [(f"P{k + 1}", 0.25), (f"{h:.2f}", -0.5)] + ([(f"C{k % 17}", -1.25)] if k % 10 == 0 else [])
        for text, dy in labels:
            w(head("TEXT", "COTAS", "AcDbText") + f"10\n{x + 0.3:.3f}\n20\n{y + dy:.3f}\n30\n{h:.3f}\n"
              f"40\n0.5\n1\n{text}\n100\nAcDbText\n")
    for k in range(faces):
        cell, upper = divmod(k, 2)
        i, j = divmod(cell % ((side - 1) ** 2), side - 1)
        corners = [(j, i), (j + 1, i), (j + 1, i + 1)] if upper else [(j, i), (j + 1, i + 1), (j, i + 1)]
        corners.append(corners[2])  # a triangle repeats its third corner
        w(head("3DFACE", "TERRENO", "AcDbFace"))
        for n, (a, b) in enumerate(corners):
            w(f"1{n}\n{438000 + a * 2.5:.3f}\n2{n}\n{4472000 + b * 2.5:.3f}\n3{n}\n{z(b, a):.3f}\n")
    w("0\nENDSEC\n0\nEOF\n")
