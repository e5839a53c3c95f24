#!/usr/bin/python3
"""End-to-end checks of the triangles and contours `kestrel export` writes.
ezdxf reads the DXF (clean audit); faces, their layers and the contours are
compared with the record file, the layer of each triangle worked out here
from the example's closed polylines."""
import json
import math
import os
import subprocess
import tempfile
import unittest

from cli_common import KESTREL, ROOT
EXAMPLE = os.path.join(ROOT, "examples", "survey.json")

import ezdxf  # noqa: E402


def items(value, usual=1):
    if isinstance(value, dict):
        return [None] * value["lbound"] + value["items"]
    return [None] * usual + value


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


class Surface(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(EXAMPLE, encoding="utf-8") as f:
            source = json.load(f)
        cls.d = items(source["Dibujos"])[source["DibujoAct"]]
        cls.tmp = tempfile.TemporaryDirectory()

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def export(self, name, *choices):
        out = os.path.join(self.tmp.name, name)
        r = subprocess.run([KESTREL, "--settings", out + ".ini", "export", EXAMPLE, "-o", out, "-q",
                            "--no-points", "--no-polylines", "--layer-prefix", "", *choices],
                           capture_output=True, text=True, timeout=300)
        self.assertEqual(r.returncode, 0, r.stderr)
        doc = ezdxf.readfile(out)
        auditor = doc.audit()
        self.assertFalse(auditor.has_errors, [str(e.message) for e in auditor.errors])
        return doc

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
        doc = self.export("3d.dxf", "--3d", "--z-exaggeration", "2", "--triangles", "3d", "--contours",
                          "--colour-by-areas")
        msp = doc.modelspace()
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
        doc = self.export("2d.dxf", "--2d", "--triangles", "2d-solid", "--contours")
        msp = doc.modelspace()
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


class Quads(unittest.TestCase):
    QUADS = {"format": "kestrel-quads", "version": 1, "Vn1": 3, "Vc1": [255, 65280, 0x123456],
             "Vx0": [0, 10, 20], "Vy0": [0, 0, 0], "Vz0": [1, 2, 3],
             "Vx1": [10, 20, 30], "Vy1": [0, 0, 0], "Vz1": [1, 2, 3],
             "Vx2": [10, 20, 30], "Vy2": [10, 10, 10], "Vz2": [1, 2, 3],
             "Vx3": [0, 10, 20], "Vy3": [10, 10, 10], "Vz3": [1, 2, 3]}

    def export(self, quads, mode):
        tmp = tempfile.mkdtemp()
        with open(os.path.join(tmp, "q.json"), "w", encoding="utf-8") as f:
            json.dump(quads, f)
        out = os.path.join(tmp, "out.dxf")
        r = subprocess.run([KESTREL, "--settings", os.path.join(tmp, "s.ini"), "export", EXAMPLE, "-o", out, "-q",
                            "--no-points", "--no-polylines", "--no-contours", "--no-texts", "--layer-prefix", "", "--3d",
                            "--quads", os.path.join(tmp, "q.json"), "--triangles", mode],
                           capture_output=True, text=True, timeout=300)
        return r, out

    def test_quads_in_their_true_colours_as_faces_or_solid_fills(self):
        colours = [(255, 0, 0), (0, 255, 0), (0x56, 0x34, 0x12)]  # red is the low byte
        r, out = self.export(self.QUADS, "3d-rendered")
        self.assertEqual(r.returncode, 0, r.stderr)
        doc = ezdxf.readfile(out)
        self.assertFalse(doc.audit().has_errors)
        faces = doc.modelspace().query("3DFACE")
        self.assertEqual([f.rgb for f in faces], colours)
        self.assertEqual([f.dxf.layer for f in faces], ["TRI"] * 3)
        self.assertEqual(tuple(faces[2].dxf.vtx2), (30, 10, 3))
        r, out = self.export(self.QUADS, "2d-rendered")
        self.assertEqual(r.returncode, 0, r.stderr)
        doc = ezdxf.readfile(out)
        self.assertFalse(doc.audit().has_errors)
        fills = doc.modelspace().query("HATCH")
        self.assertEqual([h.rgb for h in fills], colours)
        self.assertTrue(all(h.dxf.solid_fill == 1 and h.dxf.layer == "Sombreado" for h in fills))
        self.assertEqual(len(doc.modelspace().query("POLYLINE LWPOLYLINE")), 0)
        boundary = fills[1].paths[0]
        points = [tuple(v)[:2] for v in (boundary.vertices if hasattr(boundary, "vertices") else [])]
        self.assertEqual(sorted(set(points)), [(10, 0), (10, 10), (20, 0), (20, 10)])

    def test_a_quads_file_with_lists_of_different_lengths_is_refused(self):
        bad = dict(self.QUADS, Vy2=[10, 10])
        r, out = self.export(bad, "3d-rendered")
        self.assertNotEqual(r.returncode, 0)
        self.assertIn("Vy2: tiene 2 elementos y Vn1 es 3", r.stderr)
        self.assertFalse(os.path.exists(out))


class BadInput(unittest.TestCase):
    def test_a_triangle_naming_no_point_is_named_and_nothing_written(self):
        with open(EXAMPLE, encoding="utf-8") as f:
            source = json.load(f)
        d = items(source["Dibujos"])[source["DibujoAct"]]
        d["B2"][4] = 99999  # triangle 5
        with tempfile.TemporaryDirectory() as tmp:
            bad = os.path.join(tmp, "bad.json")
            with open(bad, "w", encoding="utf-8") as f:
                json.dump(source, f)
            out = os.path.join(tmp, "out.dxf")
            r = subprocess.run([KESTREL, "--settings", os.path.join(tmp, "s.ini"), "export", bad, "-o", out, "-q",
                                "--triangles", "3d"], capture_output=True, text=True, timeout=300)
            self.assertNotEqual(r.returncode, 0)
            self.assertIn("el triángulo 5 nombra el punto 99999", r.stderr)
            self.assertFalse(os.path.exists(out))


if __name__ == "__main__":
    unittest.main()
