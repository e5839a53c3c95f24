#!/usr/bin/python3
"""End-to-end checks of the triangles and contours `kestrel export` writes.
ezdxf reads the DXF (clean audit); faces and the contours are
compared with the record file."""
import json
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


@needs_ezdxf
class Surface(unittest.TestCase):
    d = example_drawing()

    def check_triangles(self, corners_of_each, z_scale):
        """Each triangle's corners, the first repeated, in the example's order."""
        d = self.d
        self.assertEqual(len(corners_of_each), d["Nutria"])
        for t, corners in enumerate(corners_of_each, start=1):
            v = [[items(d[k])[items(d[b])[t]] for k in ("X", "Y", "Z")] for b in ("B1", "B2", "B3")]
            self.assertEqual(len(corners), 4)
            for got, want in zip(corners, v + [v[0]]):
                want = (want[0], want[1], z_scale * want[2])
                self.assertEqual([round(c, 6) for c in got], [round(c, 6) for c in want])

    def test_faces_coloured_by_area_and_three_d_contours(self):
        msp = export(self, "3d.dxf", "--3d", "--z-exaggeration", "2", "--triangles", "3d", "--contours",
                     "--colour-by-areas")
        faces = msp.query("3DFACE")
        self.check_triangles([[f.dxf.vtx0, f.dxf.vtx1, f.dxf.vtx2, f.dxf.vtx3] for f in faces], 2)
        self.assertTrue(all(f.dxf.color == 256 for f in faces))
        # The layer of the smallest closed area around each face (the export's
        # own tests work the rule out); the example nests PRADO and HUERTO.
        self.assertTrue({"PRADO", "HUERTO", "TRI"} <= {f.dxf.layer for f in faces})
        self.check_contours(msp, flat=False, scale=2)

    def test_flat_triangles_and_contours_with_elevation(self):
        msp = export(self, "2d.dxf", "--2d", "--triangles", "2d-solid", "--contours")
        outlines = [e for e in msp if e.dxf.layer == "TRI"]
        self.check_triangles([[tuple(p) for p in e.points()] if e.dxftype() == "POLYLINE" else list(e.vertices_in_wcs())
                              for e in outlines], 0)
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
