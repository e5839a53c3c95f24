#!/usr/bin/python3
"""End-to-end checks of the polylines, circles, arcs and hatches that
`kestrel export` writes, and of `kestrel profile`. An independent reader
(ezdxf) reads the DXF with a clean audit; every entity is compared with what
its source record asks for, computed here from the record's points."""
import json
import math
import os
import sys
import tempfile
import unittest

from cli_common import ROOT, run
sys.path.insert(0, os.path.join(ROOT, "examples"))

import record_json  # noqa: E402
from record_json import Arr, empty  # noqa: E402

try:
    import ezdxf
except ImportError:  # pragma: no cover
    ezdxf = None

PLACES = 6  # coordinates are compared to a micro-unit
HATCH_PATTERNS = {-61: ("SOLID", 0), -60: ("SOLID", 0), -55: ("ANSI37", 0), -54: ("ANSI37", 50),
                  -53: ("ANSI31", 50), -52: ("ANSI31", 100), -51: ("ANSI31", 150), -50: ("ANSI31", 0)}
DEGENERATE_RADIUS = 100000



def items(value, usual=1):
    """A record file array as a list indexed from its lower bound (`usual`
    when the file does not say)."""
    if isinstance(value, dict):
        return [None] * value["lbound"] + value["items"]
    return [None] * usual + value


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
        self.x, self.y, self.z = (items(drawing[k]) for k in ("X", "Y", "Z"))
        self.layers = items(drawing["Capas1"])
        self.polis = items(drawing["poli"])[1:]
        self.exaggeration, self.flat = exaggeration, flat

    def vertex(self, v):
        return (self.x[v], self.y[v], 0.0 if self.flat else self.z[v] * self.exaggeration)

    def vertices(self, poli):
        return [self.vertex(v) for v in items(poli["Vert"], 0)[1:poli["NuVert"] + 1]]

    def layer(self, poli):
        return self.layers[poli["CapaP"]]["Nombre"] or "Poli"

    def closed(self, poli):
        vert = items(poli["Vert"], 0)
        first, last = vert[1], vert[poli["NuVert"]]
        return (self.x[first], self.y[first], self.z[first]) == (self.x[last], self.y[last], self.z[last])

    def kind(self, poli):
        """The DXF entity the record becomes, or None."""
        code, n = items(poli["Vert"], 0)[0], poli["NuVert"]
        if code <= 0:
            return "POLYLINE" if n >= 2 else None
        wanted = {2: (2, "CIRCLE"), 3: (3, "ARC"), 4: (2, "CIRCLE"), 5: (3, "CIRCLE")}.get(code)
        return wanted[1] if wanted and wanted[0] == n else None

    def hatch(self, poli):
        """(pattern, angle in degrees) of the record's hatch, or None."""
        code = items(poli["Vert"], 0)[0]
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
        code = items(poli["Vert"], 0)[0]
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


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class BundledExample(ShapeChecks, unittest.TestCase):
    """examples/survey.json as scripts/main-job.sh exports it, with polylines and hatches on; every
    shape code is checked one by one in EveryShapeCode."""

    @classmethod
    def setUpClass(cls):
        with open(os.path.join(ROOT, "examples", "survey.json"), encoding="utf-8") as f:
            source = json.load(f)
        cls.drawing = items(source["Dibujos"])[source["DibujoAct"]]
        cls.tmp = tempfile.TemporaryDirectory()

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def export(self, name, *choices):
        out = os.path.join(self.tmp.name, name)
        r = run("--settings", os.path.join(self.tmp.name, name + ".ini"), "export",
                os.path.join(ROOT, "examples", "survey.json"), "-o", out, "-q",
                "--polylines", "--hatches", "--layer-prefix", "", *choices)
        self.assertEqual(r.returncode, 0, r.stderr)
        return out

    def test_with_everything_else_on(self):
        src = Source(self.drawing, 1, flat=False)
        # Whatever else the drawing's own flags tick runs too.
        doc = ezdxf.readfile(self.export("all.dxf", "--3d", "--z-exaggeration", "1"))
        self.assertEqual(len(doc.audit().errors), 0)
        msp = doc.modelspace()
        hatched = [p for p in src.polis if src.hatch(p)]
        hatches = list(msp.query("HATCH"))
        # After the polylines' hatches come the solid fills of the labels' arrowheads.
        self.assertGreaterEqual(len(hatches), len(hatched))
        self.assertTrue(all(h.dxf.pattern_name == "SOLID" for h in hatches[len(hatched):]))
        for h, poli in zip(hatches, hatched):
            self.check_hatch(h, src, poli, src.hatch(poli))
        for kind in ("CIRCLE", "ARC"):
            self.assertEqual(len(msp.query(kind)), sum(1 for p in src.polis if src.kind(p) == kind))
            self.assertGreater(len(msp.query(kind)), 0)  # the example holds what this check is about

    def test_no_hatches_when_asked(self):
        # The labels' arrowheads are solid fills of their own: texts off.
        doc = ezdxf.readfile(self.export("plain.dxf", "--3d", "--no-hatches", "--no-texts"))
        self.assertEqual(len(doc.modelspace().query("HATCH")), 0)
        self.assertGreater(len(doc.modelspace().query("POLYLINE")), 0)


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
             poli=Arr(1, [{"NuVert": len(v), "Vert": Arr(0, [code] + v), "Color": 0 if k % 3 else 255, "CapaP": 1 + k % 2}
                          for k, (code, v) in enumerate(polis)]),
             nuCapas=2, CapaActual=1,
             Capas1=Arr(1, [dict(empty("t_Capa"), Nombre="FORMAS", Encendida=-1, ColorCapa=255),
                            dict(empty("t_Capa"), Nombre="EDIFICIOS", Encendida=-1, ColorCapa=65280)]))
    return d


def as_read_back(record):
    """The record as the test reads a record file: lists indexed from the lower bound."""
    text = record_json.document("t_Dibujo", record)
    return json.loads(text), text


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class EveryShapeCode(ShapeChecks, unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.tmp.cleanup()

    def export(self, drawing_text, out, *choices):
        source = os.path.join(self.tmp.name, "formas.json")
        with open(source, "w", encoding="utf-8") as f:
            f.write(drawing_text)
        return run("--settings", os.path.join(self.tmp.name, "s.ini"), "export", source, "-o", out, "-q",
                   "--polylines", "--hatches", "--no-points", "--no-labels", "--layer-prefix", "", *choices)

    def test_3d_with_exaggeration_10(self):
        drawing, text = as_read_back(shapes_drawing())
        out = os.path.join(self.tmp.name, "formas.dxf")
        r = self.export(text, out, "--3d", "--z-exaggeration", "10")
        self.assertEqual(r.returncode, 0, r.stderr)
        src = Source(drawing, 10, flat=False)
        doc = self.check_drawing(out, src)
        msp = doc.modelspace()
        # The figures of the scenario, literally.
        circles = msp.query("CIRCLE")
        self.assertPoint(circles[0].dxf.center, (0, 0, 10))
        self.assertAlmostEqual(circles[0].dxf.radius, 5)
        self.assertPoint(circles[1].dxf.center, (3, 4, 20))
        self.assertAlmostEqual(circles[1].dxf.radius, 5)
        arcs = msp.query("ARC")
        self.assertAngle(arcs[0].dxf.start_angle, 0)
        self.assertAngle(arcs[0].dxf.end_angle, 180)
        self.assertAngle(arcs[1].dxf.start_angle, 180)
        self.assertAngle(arcs[1].dxf.end_angle, 0)
        self.assertEqual(arcs[2].dxf.radius, DEGENERATE_RADIUS)
        self.assertPoint(arcs[2].dxf.center, (0, 200, 0))
        self.assertEqual(sorted(h.dxf.pattern_name for h in msp.query("HATCH")),
                         ["ANSI31"] * 4 + ["ANSI37"] * 2 + ["SOLID"] * 2)

    def test_flat(self):
        drawing, text = as_read_back(shapes_drawing())
        out = os.path.join(self.tmp.name, "formas2d.dxf")
        r = self.export(text, out, "--2d")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.check_drawing(out, Source(drawing, 1, flat=True))

    def test_a_code_without_pattern_fails_the_export_and_leaves_no_file(self):
        _, text = as_read_back(shapes_drawing(extra_polis=[-57]))
        out = os.path.join(self.tmp.name, "formas.dxf")
        with open(out, "w") as f:
            f.write("keep me")
        r = self.export(text, out, "--3d")
        self.assertEqual(r.returncode, 5, r.stderr)
        self.assertIn("Ch4_CreateHatch: 10  Error nº", r.stderr)
        with open(out) as f:
            self.assertEqual(f.read(), "keep me")


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class Profile(ShapeChecks, unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.out = os.path.join(self.tmp.name, "perfil.dxf")

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, text, name="eje.csv"):
        path = os.path.join(self.tmp.name, name)
        with open(path, "w", encoding="utf-8") as f:
            f.write(text)
        return path

    def profile(self, source, *args, out=None):
        return run("--settings", os.path.join(self.tmp.name, "s.ini"), "profile", source, "-o", out or self.out,
                   "-q", *args)

    def polyline(self):
        doc = ezdxf.readfile(self.out)
        self.assertEqual(len(doc.audit().errors), 0)
        entities = list(doc.modelspace())
        self.assertEqual([e.dxftype() for e in entities], ["POLYLINE"])
        self.assertTrue(entities[0].is_3d_polyline)
        return [tuple(p) for p in entities[0].points()]

    def test_first_point_lands_on_the_insertion_point(self):
        r = self.profile(self.write("PK;Cota\n0;100\n20;101.5\n40;99\n"), "--at", "500,300")
        self.assertEqual(r.returncode, 0, r.stderr)
        for a, e in zip(self.polyline(), [(500, 300, 0), (520, 301.5, 0), (540, 299, 0)]):
            self.assertPoint(a, e)

    def test_without_insertion_point_chainage_and_elevation_are_the_coordinates(self):
        r = self.profile(self.write("1000,612.5\n1025.5,613\n"))
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(self.polyline(), [(1000, 612.5, 0), (1025.5, 613, 0)])

    def test_bad_input_leaves_the_output_untouched(self):
        with open(self.out, "w") as f:
            f.write("keep me")
        good = self.write("0,100\n20,101\n")
        for args, fragment in (([self.write("0,100\n20,1o1\n")], "eje.csv:2: elevation is not a number"),
                               ([good, "--at", "500"], "X,Y"), ([good, "--at", "5a,3"], "X,Y")):
            with self.subTest(args=args):
                r = self.profile(*args)
                self.assertNotEqual(r.returncode, 0)
                self.assertIn(fragment, r.stderr)
                with open(self.out) as f:
                    self.assertEqual(f.read(), "keep me")


if __name__ == "__main__":
    unittest.main(verbosity=2)
