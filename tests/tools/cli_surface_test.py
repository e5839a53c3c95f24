#!/usr/bin/python3
"""End-to-end checks of the triangles and contours `kestrel export` writes.
ezdxf reads the DXF (clean audit); faces, their layers and the contours are
compared with the record file, the layer of each triangle worked out here
from the example's closed polylines."""
import json
import math
import unittest

from cli_common import EXAMPLE, Refusals, example_drawing, ezdxf, keep_me, kestrel, load, needs_ezdxf, scratch, write
from cli_common import indexed as items


def export(test, name, *choices):
    """Exports the example's surface alone and reads it back with a clean audit."""
    out = scratch(name)
    r = kestrel("export", EXAMPLE, "-o", out, "-q", "--no-points", "--no-polylines", "--layer-prefix", "", *choices)
    test.assertEqual(r.returncode, 0, r.stderr)
    doc = ezdxf.readfile(out)
    test.assertFalse(doc.audit().has_errors)
    return doc.modelspace()


def inside(ring, p):
    """Point in a closed plan outline, the outline's own edges included."""
    n, hit = len(ring), False
    for i in range(n):
        (ax, ay), (bx, by) = ring[i], ring[(i + 1) % n]
        cross = (bx - ax) * (p[1] - ay) - (p[0] - ax) * (by - ay)
        if cross == 0 and min(ax, bx) <= p[0] <= max(ax, bx) and min(ay, by) <= p[1] <= max(ay, by):
            return True
        if (ay > p[1]) != (by > p[1]) and p[0] < ax + (p[1] - ay) * (bx - ax) / (by - ay):
            hit = not hit
    return hit


@needs_ezdxf
class Surface(unittest.TestCase):
    d = example_drawing()

    def point(self, i):
        d = self.d
        return items(d["X"])[i], items(d["Y"])[i], items(d["Z"])[i]

    def expected_layer(self, t):
        """The layer of the smallest closed polyline (layer on, code not
        -200) around the triangle's test point, in hundredths; "TRI" for none."""
        d = self.d
        v = [self.point(items(d[b])[t]) for b in ("B1", "B2", "B3")]
        p = (round((((v[0][0] + v[1][0]) / 2 + v[2][0]) / 2) * 100),
             round((((v[0][1] + v[1][1]) / 2 + v[2][1]) / 2) * 100))
        layers = items(d["Capas1"])
        best = None
        for poly in items(d["poli"])[1:d["NuPolis"] + 1]:
            vert = items(poly["Vert"], 0)[1:poly["NuVert"] + 1]
            pts = [self.point(k) for k in vert]
            if not layers[poly["CapaP"]]["Encendida"] or len(pts) < 3 or pts[0] != pts[-1]:
                continue
            if items(poly["Vert"], 0)[0] == -200:
                continue
            area = abs(sum((a[0] - b[0]) * 0.5 * (a[1] + b[1]) for a, b in zip(pts, pts[1:])))
            ring = [(math.floor(x * 100), math.floor(y * 100)) for x, y, _ in pts]
            if inside(ring, p) and (best is None or area < best[0]):
                best = (area, layers[poly["CapaP"]]["Nombre"])
        return best[1] if best else "TRI"

    def test_faces_by_area_and_three_d_contours(self):
        msp = export(self, "3d.dxf", "--3d", "--z-exaggeration", "2", "--triangles", "3d", "--contours",
                     "--colour-by-areas")
        faces = msp.query("3DFACE")
        self.assertEqual(len(faces), self.d["Nutria"])
        seen = set()
        for t, face in enumerate(faces, start=1):
            v = [self.point(items(self.d[b])[t]) for b in ("B1", "B2", "B3")]
            corners = [face.dxf.vtx0, face.dxf.vtx1, face.dxf.vtx2, face.dxf.vtx3]
            for got, want in zip(corners, v + [v[0]]):
                self.assertAlmostEqual(got.x, want[0], places=6)
                self.assertAlmostEqual(got.y, want[1], places=6)
                self.assertAlmostEqual(got.z, 2 * want[2], places=6)
            layer = self.expected_layer(t)
            self.assertEqual(face.dxf.layer, layer, t)
            self.assertEqual(face.dxf.color, 256)
            seen.add(layer)
        self.assertTrue({"PRADO", "HUERTO", "TRI"} <= seen, seen)  # the example holds the nested areas
        self.check_contours(msp, flat=False, scale=2)

    def test_flat_triangles_and_contours_with_elevation(self):
        msp = export(self, "2d.dxf", "--2d", "--triangles", "2d-solid", "--contours")
        outlines = [e for e in msp if e.dxf.layer == "TRI"]
        self.assertEqual(len(outlines), self.d["Nutria"])
        for t, e in enumerate(outlines, start=1):
            v = [self.point(items(self.d[b])[t]) for b in ("B1", "B2", "B3")]
            pts = [tuple(p) for p in e.points()] if e.dxftype() == "POLYLINE" else list(e.vertices_in_wcs())
            self.assertEqual(len(pts), 4)
            for got, want in zip(pts, v + [v[0]]):
                self.assertAlmostEqual(got[0], want[0], places=6)
                self.assertAlmostEqual(got[1], want[1], places=6)
                self.assertEqual(got[2], 0)
        self.check_contours(msp, flat=True, scale=1)

    def check_contours(self, msp, flat, scale):
        curvas = items(self.d["Curvado"]["Curvas"])[1:self.d["Curvado"]["NuCurvas"] + 1]
        lines = [e for e in msp if e.dxf.layer in ("Cv", "Cvd")]
        drawn = [c for c in curvas if c["NuVertC"] >= 1]
        self.assertEqual(len(lines), len(drawn))
        self.assertEqual(len(drawn), 15)
        for line, c in zip(lines, drawn):
            self.assertEqual(line.dxf.layer, "Cv" if c["TipoC"] else "Cvd")
            want = items(c["VertC"], 0)
            if flat:
                self.assertFalse(line.is_3d_polyline)
                self.assertAlmostEqual(line.dxf.elevation.z, want[-1][2], places=6)
            else:
                self.assertTrue(line.is_3d_polyline)
            got = [tuple(p) for p in line.points()]
            self.assertEqual(len(got), len(want))
            for g, w in zip(got, want):
                self.assertAlmostEqual(g[0], w[0], places=6)
                self.assertAlmostEqual(g[2], 0 if flat else scale * w[2], places=6)


@needs_ezdxf
class Quads(Refusals, unittest.TestCase):
    QUADS = {"format": "kestrel-quads", "version": 1, "Vn1": 3, "Vc1": [255, 65280, 0x123456],
             "Vx0": [0, 10, 20], "Vy0": [0, 0, 0], "Vz0": [1, 2, 3],
             "Vx1": [10, 20, 30], "Vy1": [0, 0, 0], "Vz1": [1, 2, 3],
             "Vx2": [10, 20, 30], "Vy2": [10, 10, 10], "Vz2": [1, 2, 3],
             "Vx3": [0, 10, 20], "Vy3": [10, 10, 10], "Vz3": [1, 2, 3]}

    def export(self, mode, quads=QUADS):
        return export(self, "q.dxf", "--no-contours", "--no-texts", "--3d", "--triangles", mode,
                      "--quads", write("q.json", json.dumps(quads)))

    def test_quads_in_their_true_colours_as_faces_or_solid_fills(self):
        colours = [(255, 0, 0), (0, 255, 0), (0x56, 0x34, 0x12)]  # red is the low byte
        faces = self.export("3d-rendered").query("3DFACE")
        self.assertEqual([(f.rgb, f.dxf.layer) for f in faces], [(c, "TRI") for c in colours])
        self.assertEqual(tuple(faces[2].dxf.vtx2), (30, 10, 3))
        msp = self.export("2d-rendered")
        fills = msp.query("HATCH")
        self.assertEqual([(h.rgb, h.dxf.solid_fill, h.dxf.layer) for h in fills],
                         [(c, 1, "Sombreado") for c in colours])
        self.assertEqual(len(msp.query("POLYLINE LWPOLYLINE")), 0)
        boundary = fills[1].paths[0]
        points = [tuple(v)[:2] for v in (boundary.vertices if hasattr(boundary, "vertices") else [])]
        self.assertEqual(sorted(set(points)), [(10, 0), (10, 10), (20, 0), (20, 10)])

    def test_bad_quads_or_triangles_are_named_and_nothing_written(self):
        quads = write("bad-q.json", json.dumps(dict(self.QUADS, Vy2=[10, 10])))
        source = load(EXAMPLE)
        items(source["Dibujos"])[source["DibujoAct"]]["B2"][4] = 99999  # triangle 5
        bad = write("bad.json", json.dumps(source))
        for args, says in (([EXAMPLE, "--3d", "--triangles", "3d-rendered", "--quads", quads],
                            "Vy2: tiene 2 elementos y Vn1 es 3"),
                           ([bad, "--triangles", "3d"], "el triángulo 5 nombra el punto 99999")):
            with self.subTest(says=says):
                out = keep_me("out.dxf")
                self.assertRefused(kestrel("export", *args, "-o", out, "-q"), out, says)


if __name__ == "__main__":
    unittest.main()
