#!/usr/bin/python3
"""End-to-end checks of the polylines, circles, arcs and hatches that
`kestrel export` writes, and of `kestrel profile`. An independent reader
(ezdxf) reads the DXF with a clean audit; every entity is compared with what
its source record asks for, computed here from the record's points."""
import json
import math
import os
import sys
import unittest

from cli_common import ROOT, Refusals, ezdxf, indexed, keep_me, kestrel, needs_ezdxf, scratch, write
sys.path.insert(0, os.path.join(ROOT, "examples"))

import record_json  # noqa: E402
from record_json import Arr, empty  # noqa: E402

PLACES = 6  # coordinates are compared to a micro-unit
HATCH_PATTERNS = {-61: ("SOLID", 0), -60: ("SOLID", 0), -55: ("ANSI37", 0), -54: ("ANSI37", 50),
                  -53: ("ANSI31", 50), -52: ("ANSI31", 100), -51: ("ANSI31", 150), -50: ("ANSI31", 0)}
DEGENERATE_RADIUS = 100000


def plan_angle(cx, cy, x, y):
    return math.degrees(math.atan2(y - cy, x - cx)) % 360


def circumcircle(p1, p2, p3):
    """Centre and radius of the circle through three plan points; None for
    points on one line. Worked out from P1, as survey coordinates are large."""
    bx, by = p2[0] - p1[0], p2[1] - p1[1]
    cx, cy = p3[0] - p1[0], p3[1] - p1[1]
    d = 2 * (bx * cy - by * cx)
    if abs(d) < 1e-12:
        return None
    ux = (cy * (bx * bx + by * by) - by * (cx * cx + cy * cy)) / d
    uy = (bx * (cx * cx + cy * cy) - cx * (bx * bx + by * by)) / d
    return (p1[0] + ux, p1[1] + uy), math.hypot(ux, uy)


class Source:
    """The polyline records of one drawing with the coordinates the CAD gets."""

    def __init__(self, drawing, exaggeration, flat):
        self.x, self.y, self.z = (indexed(drawing[k]) for k in ("X", "Y", "Z"))
        self.layers = indexed(drawing["Capas1"])
        self.polis = indexed(drawing["poli"])[1:]
        self.exaggeration, self.flat = exaggeration, flat

    def vertex(self, v):
        return (self.x[v], self.y[v], 0.0 if self.flat else self.z[v] * self.exaggeration)

    def vertices(self, poli):
        return [self.vertex(v) for v in indexed(poli["Vert"], 0)[1:poli["NuVert"] + 1]]

    def layer(self, poli):
        return self.layers[poli["CapaP"]]["Nombre"] or "Poli"

    def closed(self, poli):
        vert = indexed(poli["Vert"], 0)
        first, last = vert[1], vert[poli["NuVert"]]
        return (self.x[first], self.y[first], self.z[first]) == (self.x[last], self.y[last], self.z[last])

    def kind(self, poli):
        """The DXF entity the record becomes, or None."""
        code, n = indexed(poli["Vert"], 0)[0], poli["NuVert"]
        if code <= 0:
            return "POLYLINE" if n >= 2 else None
        wanted = {2: (2, "CIRCLE"), 3: (3, "ARC"), 4: (2, "CIRCLE"), 5: (3, "CIRCLE")}.get(code)
        return wanted[1] if wanted and wanted[0] == n else None

    def hatch(self, poli):
        """(pattern, angle in degrees) of the record's hatch, or None."""
        code = indexed(poli["Vert"], 0)[0]
        if self.kind(poli) != "POLYLINE" or not self.closed(poli) or code not in HATCH_PATTERNS:
            return None
        name, grads = HATCH_PATTERNS[code]
        return name, grads * 0.9


class ShapeChecks:
    """Checks shared by the bundled example and the drawing made here."""

    def assertPoint(self, actual, expected, msg=None):
        for a, e in zip(actual, expected):
            self.assertAlmostEqual(a, e, places=PLACES, msg=msg)

    def assertAngle(self, actual_degrees, expected_degrees, msg=None):
        difference = (actual_degrees - expected_degrees + 180) % 360 - 180
        self.assertLess(abs(difference), 1e-3, msg)  # the engine's π is 3.141592

    def check_polyline(self, e, src, poli):
        self.assertEqual(e.dxftype(), "POLYLINE")
        self.assertEqual(e.is_2d_polyline, src.flat)
        self.assertEqual(e.is_3d_polyline, not src.flat)
        expected = src.vertices(poli)
        actual = [tuple(p) for p in e.points()]
        self.assertEqual(len(actual), len(expected))
        for a, x in zip(actual, expected):
            self.assertPoint(a, x)

    def check_circle(self, e, src, poli):
        code = indexed(poli["Vert"], 0)[0]
        p = src.vertices(poli)
        if code == 2:
            centre, radius = p[0], math.hypot(p[1][0] - p[0][0], p[1][1] - p[0][1])
        elif code == 4:
            centre = tuple((a + b) / 2 for a, b in zip(p[0], p[1]))
            radius = math.hypot(centre[0] - p[0][0], centre[1] - p[0][1])
        else:
            (cx, cy), radius = circumcircle(p[0][:2], p[1][:2], p[2][:2])
            centre = (cx, cy, p[0][2])
        self.assertPoint(e.dxf.center, centre)
        self.assertAlmostEqual(e.dxf.radius, radius, places=PLACES)

    def check_arc(self, e, src, poli):
        p = src.vertices(poli)
        circle = circumcircle(p[0][:2], p[1][:2], p[2][:2])
        if circle is None:  # no arc through them: a huge one from P1
            self.assertPoint(e.dxf.center, p[0])
            self.assertEqual(e.dxf.radius, DEGENERATE_RADIUS)
            return
        (cx, cy), radius = circle
        self.assertPoint(e.dxf.center, (cx, cy, p[0][2]))
        self.assertAlmostEqual(e.dxf.radius, radius, places=PLACES)
        a1, a2, a3 = (plan_angle(cx, cy, x, y) for x, y, _ in p)
        # The counter-clockwise arc from start to end runs from one end point
        # through the middle point to the other, whichever way they turn.
        start, end = e.dxf.start_angle, e.dxf.end_angle
        clockwise = (p[1][0] - p[0][0]) * (p[2][1] - p[1][1]) - (p[1][1] - p[0][1]) * (p[2][0] - p[1][0]) < 0
        self.assertAngle(start, a3 if clockwise else a1)
        self.assertAngle(end, a1 if clockwise else a3)
        self.assertLess((a2 - start) % 360, (end - start) % 360)

    def check_hatch(self, h, src, poli, expected):
        name, degrees = expected
        self.assertEqual(h.dxf.pattern_name, name)
        self.assertEqual(h.dxf.solid_fill, 1 if name == "SOLID" else 0)
        self.assertEqual(h.dxf.layer, src.layer(poli))
        if name != "SOLID":
            self.assertAngle(h.dxf.pattern_angle, degrees)
            self.assertAlmostEqual(h.dxf.pattern_scale, 0.1)
        self.assertEqual(len(h.paths), 1)
        path = h.paths[0]
        boundary = [(v[0], v[1]) for v in path.vertices]
        self.assertEqual(len(boundary), poli["NuVert"] - 1)  # the closing vertex is the first one
        for a, x in zip(boundary, src.vertices(poli)):
            self.assertPoint(a, x[:2])

    def check_drawing(self, path, src):
        """Every record made the entity it asks for, in record order, on its
        layer, by layer colour when the record has none; and nothing else."""
        doc = ezdxf.readfile(path)
        self.assertEqual(len(doc.audit().errors), 0)
        for layer in doc.layers:  # ByLayer/ByBlock are for entities: readers draw such a layer dashed
            self.assertNotIn(layer.dxf.linetype.upper(), ("BYLAYER", "BYBLOCK"), layer.dxf.name)
        shapes = [e for e in doc.modelspace() if e.dxftype() in ("POLYLINE", "CIRCLE", "ARC")]
        hatches = [e for e in doc.modelspace() if e.dxftype() == "HATCH"]
        drawn = [p for p in src.polis if src.kind(p)]
        hatched = [(p, src.hatch(p)) for p in drawn if src.hatch(p)]
        self.assertEqual([e.dxftype() for e in shapes], [src.kind(p) for p in drawn])
        self.assertEqual(len(hatches), len(hatched))
        for e, poli in zip(shapes, drawn):
            with self.subTest(record=src.polis.index(poli) + 1, kind=e.dxftype()):
                self.assertEqual(e.dxf.layer, src.layer(poli))
                if poli["Color"] == 0:
                    self.assertEqual(e.dxf.color, 256)
                {"POLYLINE": self.check_polyline, "CIRCLE": self.check_circle, "ARC": self.check_arc}[
                    e.dxftype()](e, src, poli)
        for h, (poli, expected) in zip(hatches, hatched):
            with self.subTest(hatch=src.polis.index(poli) + 1):
                self.check_hatch(h, src, poli, expected)
        return doc


def shapes_drawing(extra_polis=()):
    """A drawing with one record of each shape code, the degenerate and
    mismatched ones, and a closed square per hatch code."""
    points = [(0, 0, 1), (3, 4, 2), (6, 8, 3),                       # 1-3: circles from two points
              (110, 100, 5), (100, 110, 5), (90, 100, 5),            # 4-6: counter-clockwise arc
              (110, 150, 6), (100, 140, 6), (90, 150, 6),            # 7-9: clockwise arc
              (0, 200, 0), (10, 200, 0), (20, 200, 0),               # 10-12: collinear
              (200, 0, 7), (210, 10, 8), (220, 0, 9)]                # 13-15: circle through three
    polis = [(2, [1, 2]), (4, [1, 3]), (3, [4, 5, 6]), (3, [7, 8, 9]), (3, [10, 11, 12]), (5, [13, 14, 15]),
             (2, [1, 2, 3]), (4, [1, 2, 3]), (3, [4, 5]), (5, [4, 5]), (1, [1, 2]), (6, [1, 2]), (0, [1])]
    square_codes = [-50, -51, -52, -53, -54, -55, -60, -61, 0, -49, -71] + list(extra_polis)
    for k, code in enumerate(square_codes):
        x0, first = 300 + 30 * k, len(points) + 1
        points += [(x0, 0, 2), (x0 + 20, 0, 2), (x0 + 20, 20, 3), (x0, 20, 2)]
        polis.append((code, [first, first + 1, first + 2, first + 3, first]))
    x0, first = 300 + 30 * len(square_codes), len(points) + 1
    points += [(x0, 0, 0), (x0 + 20, 0, 0), (x0 + 20, 20, 0), (x0, 20, 0)]
    polis.append((-52, [first, first + 1, first + 2, first + 3]))  # open: never hatched
    n = len(points)
    d = empty("t_Dibujo")
    d.update(Texto1="PLANTA", Texto2="Formas", NuPun=n, Nmb=Arr(1, [str(i) for i in range(1, n + 1)]),
             X=Arr(1, [float(p[0]) for p in points]), Y=Arr(1, [float(p[1]) for p in points]),
             Z=Arr(1, [float(p[2]) for p in points]), Cd=Arr(1, [""] * n), infor=Arr(1, [""] * n),
             Capa=Arr(1, [1] * n), NuPolis=len(polis),
             poli=Arr(1, [{"NuVert": len(v), "Vert": Arr(0, [code] + v), "Color": 0 if k % 3 else 255,
                           "CapaP": 1 + k % 2}
                          for k, (code, v) in enumerate(polis)]),
             nuCapas=2, CapaActual=1,
             Capas1=Arr(1, [dict(empty("t_Capa"), Nombre="FORMAS", Encendida=-1, ColorCapa=255),
                            dict(empty("t_Capa"), Nombre="EDIFICIOS", Encendida=-1, ColorCapa=65280)]))
    return d


def export(extra_polis=(), *choices, out):
    """Exports the shapes drawing; returns the run and the drawing as the test reads it."""
    text = record_json.document("t_Dibujo", shapes_drawing(extra_polis))
    source = write("formas.json", text)
    return kestrel("export", source, "-o", out, "-q", "--polylines", "--hatches", "--no-points", "--no-labels",
                   "--layer-prefix", "", *choices), json.loads(text)


@needs_ezdxf
class EveryShapeCode(ShapeChecks, Refusals, unittest.TestCase):
    def test_3d_with_exaggeration_10(self):
        r, drawing = export((), "--3d", "--z-exaggeration", "10", out=scratch("formas.dxf"))
        self.assertEqual(r.returncode, 0, r.stderr)
        msp = self.check_drawing(scratch("formas.dxf"), Source(drawing, 10, flat=False)).modelspace()
        # The figures of the scenario, literally.
        circles, arcs = msp.query("CIRCLE"), msp.query("ARC")
        self.assertPoint(circles[0].dxf.center, (0, 0, 10))
        self.assertPoint(circles[1].dxf.center, (3, 4, 20))
        self.assertEqual([round(c.dxf.radius, 9) for c in circles[:2]], [5, 5])
        for arc, (start, end) in zip(arcs, [(0, 180), (180, 0)]):
            self.assertAngle(arc.dxf.start_angle, start)
            self.assertAngle(arc.dxf.end_angle, end)
        self.assertEqual(arcs[2].dxf.radius, DEGENERATE_RADIUS)
        self.assertPoint(arcs[2].dxf.center, (0, 200, 0))
        self.assertEqual(sorted(h.dxf.pattern_name for h in msp.query("HATCH")),
                         ["ANSI31"] * 4 + ["ANSI37"] * 2 + ["SOLID"] * 2)

    def test_flat_and_without_hatches(self):
        r, drawing = export((), "--2d", out=scratch("formas2d.dxf"))
        self.assertEqual(r.returncode, 0, r.stderr)
        self.check_drawing(scratch("formas2d.dxf"), Source(drawing, 1, flat=True))
        r, _ = export((), "--2d", "--no-hatches", out=scratch("plain.dxf"))
        self.assertEqual(r.returncode, 0, r.stderr)
        msp = ezdxf.readfile(scratch("plain.dxf")).modelspace()
        self.assertEqual((len(msp.query("HATCH")) == 0, len(msp.query("POLYLINE")) > 0), (True, True))

    def test_a_code_without_pattern_fails_the_export_and_leaves_no_file(self):
        out = keep_me("formas.dxf")
        r, _ = export([-57], "--3d", out=out)
        self.assertRefused(r, out, "Ch4_CreateHatch: 10  Error nº", code=5)


@needs_ezdxf
class Profile(ShapeChecks, Refusals, unittest.TestCase):
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
                got = [tuple(p) for p in entities[0].points()]
                self.assertEqual(len(got), len(want))
                for a, e in zip(got, want):
                    self.assertPoint(a, e)

    def test_bad_input_leaves_the_output_untouched(self):
        good = write("good.csv", "0,100\n20,101\n")
        for args, says in (([write("eje.csv", "0,100\n20,1o1\n")], "eje.csv:2: elevation is not a number"),
                           ([good, "--at", "500"], "X,Y"), ([good, "--at", "5a,3"], "X,Y")):
            with self.subTest(args=args):
                out = keep_me("perfil.dxf")
                self.assertRefused(kestrel("profile", *args, "-o", out, "-q"), out, says)


if __name__ == "__main__":
    unittest.main(verbosity=2)
