#!/usr/bin/python3
"""The polylines, circles, arcs and hatches `kestrel export` writes from a
record file, and `kestrel profile`, read by ezdxf with a clean audit; the
figures are worked out by hand from the drawing made here."""
import os
import sys
import unittest

from cli_common import ROOT, Refusals, ezdxf, keep_me, kestrel, needs_ezdxf, scratch, write
sys.path.insert(0, os.path.join(ROOT, "examples"))

import record_json  # noqa: E402
from record_json import Arr, empty  # noqa: E402

SQUARE_CODES = [-50, -51, -52, -53, -54, -55, -60, -61, 0, -49, -71]  # then an open square, code -52


def shapes_drawing(extra_polis=()):
    """One record per shape code, degenerate and mismatched ones, a closed square per hatch code;
    record k is on layer FORMAS (k even) or EDIFICIOS, by layer unless k is a multiple of 3."""
    points = [(0, 0, 1), (3, 4, 2), (6, 8, 3),                       # 1-3: circles from two points
              (110, 100, 5), (100, 110, 5), (90, 100, 5),            # 4-6: counter-clockwise arc
              (110, 150, 6), (100, 140, 6), (90, 150, 6),            # 7-9: clockwise arc
              (0, 200, 0), (10, 200, 0), (20, 200, 0),               # 10-12: collinear
              (200, 0, 7), (210, 10, 8), (220, 0, 9)]                # 13-15: circle through three
    polis = [(2, [1, 2]), (4, [1, 3]), (3, [4, 5, 6]), (3, [7, 8, 9]), (3, [10, 11, 12]), (5, [13, 14, 15]),
             (2, [1, 2, 3]), (4, [1, 2, 3]), (3, [4, 5]), (5, [4, 5]), (1, [1, 2]), (6, [1, 2]), (0, [1])]
    for k, code in enumerate(SQUARE_CODES + list(extra_polis) + ["open"]):
        x0, first = 300 + 30 * k, len(points) + 1
        points += [(x0, 0, 2), (x0 + 20, 0, 2), (x0 + 20, 20, 3), (x0, 20, 2)]
        closed = [first] if code != "open" else []
        polis.append((code if code != "open" else -52, [first, first + 1, first + 2, first + 3] + closed))
    n = len(points)
    d = empty("t_Dibujo")
    d.update(Texto1="PLANTA", Texto2="Formas", NuPun=n, Nmb=Arr(1, [str(i) for i in range(1, n + 1)]),
             X=Arr(1, [float(p[0]) for p in points]), Y=Arr(1, [float(p[1]) for p in points]),
             Z=Arr(1, [float(p[2]) for p in points]), Cd=Arr(1, [""] * n), infor=Arr(1, [""] * n),
             Capa=Arr(1, [1] * n), NuPolis=len(polis),
             poli=Arr(1, [{"NuVert": len(v), "Vert": Arr(0, [code] + v), "Color": 0 if k % 3 else 255,
                           "CapaP": 1 + k % 2} for k, (code, v) in enumerate(polis)]),
             nuCapas=2, CapaActual=1,
             Capas1=Arr(1, [dict(empty("t_Capa"), Nombre="FORMAS", Encendida=-1, ColorCapa=255),
                            dict(empty("t_Capa"), Nombre="EDIFICIOS", Encendida=-1, ColorCapa=65280)]))
    return d


def export(*choices, out, extra_polis=()):
    source = write("formas.json", record_json.document("t_Dibujo", shapes_drawing(extra_polis)))
    return kestrel("export", source, "-o", out, "-q", "--polylines", "--hatches", "--no-points", "--no-labels",
                   "--layer-prefix", "", *choices)


@needs_ezdxf
class EveryShapeCode(Refusals, unittest.TestCase):
    def read(self, *choices):
        r = export(*choices, out=scratch("formas.dxf"))
        self.assertEqual(r.returncode, 0, r.stderr)
        doc = ezdxf.readfile(scratch("formas.dxf"))
        self.assertEqual(len(doc.audit().errors), 0)
        for layer in doc.layers:  # ByLayer/ByBlock are for entities: readers draw such a layer dashed
            self.assertNotIn(layer.dxf.linetype.upper(), ("BYLAYER", "BYBLOCK"), layer.dxf.name)
        return doc.modelspace()

    def assertPoints(self, actual, expected):
        self.assertEqual([[round(c, 6) for c in a] for a in actual], [list(e) for e in expected])

    def test_each_record_draws_its_shape_on_its_layer_in_3d_with_exaggeration_10(self):
        msp = self.read("--3d", "--z-exaggeration", "10")
        shapes = [e for e in msp if e.dxftype() in ("POLYLINE", "CIRCLE", "ARC")]
        # Records 1-6 are shapes, 7-13 have counts their codes refuse, 14-25 are squares.
        records = list(range(6)) + list(range(13, 25))
        self.assertEqual([e.dxftype() for e in shapes],
                         ["CIRCLE", "CIRCLE", "ARC", "ARC", "ARC", "CIRCLE"] + ["POLYLINE"] * 12)
        for e, k in zip(shapes, records):
            self.assertEqual(e.dxf.layer, "FORMAS" if k % 2 == 0 else "EDIFICIOS", k)
            if k % 3:
                self.assertEqual(e.dxf.color, 256, k)
        circles, arcs = msp.query("CIRCLE"), msp.query("ARC")
        # From centre and a point, on a diameter (averaged), through three points.
        self.assertPoints([(*c.dxf.center, c.dxf.radius) for c in circles],
                          [(0, 0, 10, 5), (3, 4, 20, 5), (210, 0, 70, 10)])
        # Both halves of radius 10, counter-clockwise from P1 or from P3; collinear: a huge radius from P1.
        self.assertPoints([(*a.dxf.center, a.dxf.radius, round(a.dxf.start_angle, 3) % 360,
                            round(a.dxf.end_angle, 3) % 360) for a in arcs[:2]],
                          [(100, 100, 50, 10, 0, 180), (100, 150, 60, 10, 180, 0)])
        self.assertPoints([(*arcs[2].dxf.center, arcs[2].dxf.radius)], [(0, 200, 0, 100000)])
        self.assertTrue(all(p.is_3d_polyline for p in msp.query("POLYLINE")))
        self.assertPoints([tuple(p) for p in msp.query("POLYLINE")[0].points()],
                          [(300, 0, 20), (320, 0, 20), (320, 20, 30), (300, 20, 20), (300, 0, 20)])
        hatches = msp.query("HATCH")
        self.assertEqual([(h.dxf.pattern_name, round(h.dxf.pattern_angle % 360, 3)) for h in hatches],
                         [("ANSI31", 0), ("ANSI31", 135), ("ANSI31", 90), ("ANSI31", 45), ("ANSI37", 45),
                          ("ANSI37", 0), ("SOLID", 0), ("SOLID", 0)])  # grads x 0.9; open squares never
        self.assertEqual([h.dxf.solid_fill for h in hatches], [0] * 6 + [1] * 2)
        self.assertPoints([v[:2] for v in hatches[1].paths[0].vertices], [(330, 0), (350, 0), (350, 20), (330, 20)])

    def test_flat_and_without_hatches(self):
        msp = self.read("--2d")
        self.assertTrue(all(p.is_2d_polyline for p in msp.query("POLYLINE")))
        self.assertPoints([tuple(p) for p in msp.query("POLYLINE")[0].points()],
                          [(300, 0, 0), (320, 0, 0), (320, 20, 0), (300, 20, 0), (300, 0, 0)])
        self.assertEqual(len(msp.query("HATCH")), 8)
        msp = self.read("--2d", "--no-hatches")
        self.assertEqual((len(msp.query("HATCH")), len(msp.query("POLYLINE"))), (0, 12))

    def test_a_code_without_pattern_fails_the_export_and_leaves_no_file(self):
        out = keep_me("formas.dxf")
        self.assertRefused(export("--3d", out=out, extra_polis=[-57]), out, "Ch4_CreateHatch: 10  Error nº", code=5)


@needs_ezdxf
class Profile(Refusals, unittest.TestCase):
    def test_the_first_point_lands_on_the_insertion_point_or_chainage_and_elevation_are_the_coordinates(self):
        cases = [("PK;Cota\n0;100\n20;101.5\n40;99\n", ["--at", "500,300"],
                  [(500, 300, 0), (520, 301.5, 0), (540, 299, 0)]),
                 ("1000,612.5\n1025.5,613\n", [], [(1000, 612.5, 0), (1025.5, 613, 0)])]
        for text, at, want in cases:
            with self.subTest(at=at):
                r = kestrel("profile", write("eje.csv", text), "-o", scratch("perfil.dxf"), "-q", *at)
                self.assertEqual(r.returncode, 0, r.stderr)
                doc = ezdxf.readfile(scratch("perfil.dxf"))
                self.assertEqual(len(doc.audit().errors), 0)
                entities = list(doc.modelspace())
                self.assertEqual([(e.dxftype(), e.is_3d_polyline) for e in entities], [("POLYLINE", True)])
                self.assertEqual([tuple(round(c, 6) for c in p) for p in entities[0].points()], want)

    def test_bad_input_leaves_the_output_untouched(self):
        good = write("good.csv", "0,100\n20,101\n")
        for args, says in (([write("eje.csv", "0,100\n20,1o1\n")], "eje.csv:2: elevation is not a number"),
                           ([good, "--at", "500"], "X,Y"), ([good, "--at", "5a,3"], "X,Y")):
            with self.subTest(args=args):
                out = keep_me("perfil.dxf")
                self.assertRefused(kestrel("profile", *args, "-o", out, "-q"), out, says)


if __name__ == "__main__":
    unittest.main(verbosity=2)
