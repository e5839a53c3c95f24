#!/usr/bin/python3
"""Writes a DXF survey drawing of POINTS points on a grid, two 3D faces per
grid cell (FACES in all) and TEXTS elevation texts, as plain R12 groups (the
file a surveying CAD exports): bench/make_survey_dxf.py POINTS FACES TEXTS OUT.dxf"""
import math
import sys

points, faces, texts, target = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
side = max(2, math.isqrt(points))


def z(i, j):
    return 100 + 5 * math.sin(i / 40) + 3 * math.cos(j / 55)


with open(target, "w", encoding="ascii", newline="\n") as out:
    w = out.write
    w("0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1009\n9\n$LIMMIN\n10\n0\n20\n0\n")
    w(f"9\n$LIMMAX\n10\n{side}\n20\n{side}\n0\nENDSEC\n")
    w("0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n70\n4\n")
    for name, colour in (("0", 7), ("PUNTOS", 2), ("TERRENO", 3), ("COTAS", 1)):
        w(f"0\nLAYER\n2\n{name}\n70\n0\n62\n{colour}\n6\nCONTINUOUS\n")
    w("0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n")
    for k in range(points):
        i, j = divmod(k, side)
        w(f"0\nPOINT\n8\nPUNTOS\n10\n{j}\n20\n{i}\n30\n{z(i, j):.3f}\n")
    for k in range(faces):
        cell, upper = divmod(k, 2)
        i, j = divmod(cell, side - 1)
        i %= side - 1
        corners = [(j, i), (j + 1, i), (j + 1, i + 1)] if upper else [(j, i), (j + 1, i + 1), (j, i + 1)]
        corners.append(corners[2])  # a triangle repeats its third corner
        w("0\n3DFACE\n8\nTERRENO\n")
        for n, (x, y) in enumerate(corners):
            w(f"1{n}\n{x}\n2{n}\n{y}\n3{n}\n{z(y, x):.3f}\n")
    for k in range(texts):
        i, j = divmod(k * 7 % max(points, 1), side)
        w(f"0\nTEXT\n8\nCOTAS\n10\n{j + 1.04}\n20\n{i}\n30\n0\n40\n0.5\n1\n{z(i, j):.2f}\n")
    w("0\nENDSEC\n0\nEOF\n")
