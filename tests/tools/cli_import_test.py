#!/usr/bin/python3
"""End-to-end checks of `kestrel import`: the bundled example survives an
export followed by an import (points, polyline vertices, layers, texts,
triangles), every real DXF file of the shared corpus imports with the counts
its entities call for (read independently with ezdxf), and bad input is
refused with a clear message, a non-zero exit and no file written."""
import json
import math
import os
import re
import subprocess
import sys
import tempfile
import unittest

KESTREL = sys.argv[1]
ROOT = sys.argv[2]
del sys.argv[1:3]
CORPUS = os.path.join(ROOT, "..", "shared", "corpus", "dxf")

try:
    import ezdxf
    from ezdxf import recover
except ImportError:  # pragma: no cover
    ezdxf = None


def run(*args, cwd=None):
    return subprocess.run([KESTREL, *args], capture_output=True, text=True, cwd=cwd, timeout=600)


def items(array):
    """The elements of a record-file array (lower bound and items, or null)."""
    if array is None:
        return []
    return array["items"] if isinstance(array, dict) else array


def palette():
    """The import palette (CAD colour number -> packed RGB), as the engine declares it."""
    with open(os.path.join(ROOT, "src", "model", "colours.h"), encoding="utf-8") as f:
        text = f.read()
    body = text[text.index("kRgbPalette{{"):]
    body = body[:body.index("}}")]
    body = re.sub(r"//[^\n]*", "", body)
    return [int(v) for v in re.findall(r"-?\d+", body.split("{{", 1)[1])]


class Imported:
    """One imported drawing: points as coordinate triples, polylines as lists of point indices."""

    def __init__(self, path):
        with open(path, encoding="utf-8") as f:
            self.set = json.load(f)
        self.drawings = items(self.set["Dibujos"])
        self.d = self.drawings[1]
        d = self.d
        self.points = list(zip(items(d["X"]), items(d["Y"]), items(d["Z"])))
        self.polylines = items(d["poli"])[1:d["NuPolis"] + 1]
        self.texts = items(d["Rotulo"])[1:d["NuRotulos"] + 1]
        self.layers = items(d["Capas1"])[1:d["nuCapas"] + 1]

    def vertices(self, poli):
        """The coordinates of a polyline's vertices (slot 0 is its shape marker)."""
        return [self.points[i] for i in items(poli["Vert"])[1:poli["NuVert"] + 1]]


def close(a, b, tol=1e-6):
    return all(math.isclose(x, y, rel_tol=0, abs_tol=tol) for x, y in zip(a, b))


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class RoundTrip(unittest.TestCase):
    """kestrel export of the bundled example, then kestrel import of that DXF."""

    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        settings = os.path.join(cls.tmp.name, "settings.ini")
        cls.dxf = os.path.join(cls.tmp.name, "survey.dxf")
        cls.json = os.path.join(cls.tmp.name, "back.json")
        cls.export = run("--settings", settings, "export", os.path.join(ROOT, "examples", "survey.json"),
                         "-o", cls.dxf, "-q", "--points", "--polylines", "--labels", "name,z")
        cls.imported = run("--settings", settings, "import", cls.dxf, "-o", cls.json)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def setUp(self):
        self.assertEqual(self.export.returncode, 0, self.export.stderr)
        self.assertEqual(self.imported.returncode, 0, self.imported.stderr)
        self.msp = ezdxf.readfile(self.dxf).modelspace()
        self.back = Imported(self.json)

    def test_one_plan_drawing_named_after_the_document(self):
        self.assertEqual(self.back.set["NuDibujos"], 1)
        self.assertEqual(self.back.d["Texto1"], "PLANTA")
        self.assertEqual(self.back.d["Texto2"], "survey.dxf")
        self.assertIn("wrote", self.imported.stderr)

    def test_every_point_is_kept(self):
        wanted = [tuple(e.dxf.location) for e in self.msp.query("POINT")]
        self.assertGreater(len(wanted), 300)
        have = {tuple(round(c, 6) for c in p) for p in self.back.points}
        missing = [p for p in wanted if tuple(round(c, 6) for c in p) not in have]
        self.assertEqual(missing, [])

    def test_every_polyline_vertex_is_kept_in_order(self):
        lines = [[tuple(v.dxf.location) for v in e.vertices] for e in self.msp.query("POLYLINE")
                 if not e.is_poly_face_mesh]
        outlines = [self.back.vertices(p) for p in self.back.polylines if items(p["Vert"])[0] <= 0]
        for vertices in lines:
            found = any(len(o) >= len(vertices) and all(close(a, b) for a, b in zip(o, vertices))
                        for o in outlines)
            self.assertTrue(found, f"no imported polyline runs through {vertices[:3]}...")

    def test_circles_and_arcs_come_back_as_tagged_polylines(self):
        markers = [items(p["Vert"])[0] for p in self.back.polylines]
        self.assertEqual(markers.count(2), len(self.msp.query("CIRCLE")))
        self.assertEqual(markers.count(3), len(self.msp.query("ARC")))

    def test_layers_keep_name_colour_and_state(self):
        doc = ezdxf.readfile(self.dxf)
        with open(self.dxf, encoding="cp1252") as f:
            written = f.read()
        rgb = palette()
        back = {l["Nombre"]: l for l in self.back.layers}
        # ezdxf adds layers of its own (Defpoints) to what it reads.
        for layer in (l for l in doc.layers if f"\n{l.dxf.name}\n" in written):
            self.assertIn(layer.dxf.name, back)
            got = back[layer.dxf.name]
            self.assertEqual(got["Encendida"] in (True, -1), layer.is_on(), layer.dxf.name)
            self.assertEqual(got["ColorCapa"], rgb[abs(layer.dxf.color)], layer.dxf.name)

    def test_every_text_is_kept(self):
        wanted = sorted(e.dxf.text for e in self.msp.query("TEXT"))
        self.assertEqual(sorted(t["Texto"] for t in self.back.texts), wanted)


def model_space_attribute_texts(path):
    """How many attributes of model-space block references hold a text, read from
    the raw groups (ezdxf 0.18 reads some attribute texts as empty)."""
    with open(path, encoding="latin-1") as f:
        lines = [line.rstrip("\r") for line in f.read().split("\n")]
    pairs = zip(lines[0::2], lines[1::2])
    count, section, kind, in_paper, text = 0, None, None, False, ""

    def close_record():
        return 1 if kind == "ATTRIB" and not in_paper and text != "" else 0

    for code, value in pairs:
        code = code.strip()
        if code == "0":
            count += close_record()
            kind, text = value.strip(), ""
            if kind == "INSERT":
                in_paper = False
        elif code == "2" and kind == "SECTION":
            section = value.strip()
        elif section == "ENTITIES" and code == "67" and kind == "INSERT":
            in_paper = value.strip() == "1"
        elif code == "1" and kind == "ATTRIB" and section == "ENTITIES":
            text = value
    return count


def expected_counts(path):
    """What an import must hold, from the model-space entities ezdxf reads in the file."""
    doc, _ = recover.readfile(path)
    polylines = texts = triangles = points_at_least = 0
    texts = model_space_attribute_texts(path)
    for e in doc.modelspace():
        kind = e.dxftype()
        if kind == "TEXT":
            texts += e.dxf.text != ""
        elif kind == "MTEXT":
            texts += e.text != ""
        elif kind == "INSERT":
            points_at_least += 1
        elif kind == "POINT":
            points_at_least += 1
        elif kind in ("LINE", "LWPOLYLINE", "POLYLINE", "ARC", "CIRCLE"):
            # A line gives two points and a polyline between them even when its
            # ends coincide: each end is a point of its own.
            polylines += 1
        elif kind == "3DFACE":
            polylines += 1
            triangles += 1 if e.dxf.vtx3 == e.dxf.vtx2 else 2
    return polylines, texts, triangles, points_at_least


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
@unittest.skipUnless(os.path.isdir(CORPUS), f"the DXF corpus is not at {CORPUS}")
class Corpus(unittest.TestCase):
    def test_every_file_imports_with_the_counts_of_its_entities(self):
        files = sorted(f for f in os.listdir(CORPUS) if f.lower().endswith(".dxf"))
        self.assertGreater(len(files), 20)
        with tempfile.TemporaryDirectory() as tmp:
            settings = os.path.join(tmp, "settings.ini")
            for name in files:
                with self.subTest(file=name):
                    out = os.path.join(tmp, name + ".json")
                    result = run("--settings", settings, "import", os.path.join(CORPUS, name), "-o", out, "-q")
                    self.assertEqual(result.returncode, 0, result.stderr)
                    back = Imported(out)
                    polylines, texts, triangles, points = expected_counts(os.path.join(CORPUS, name))
                    self.assertEqual(back.d["NuPolis"], polylines)
                    self.assertEqual(back.d["NuRotulos"], texts)
                    self.assertEqual(back.d["Nutria"], triangles)
                    self.assertGreaterEqual(back.d["NuPun"], points)

    def test_switched_off_layers_are_left_out_on_request(self):
        source = os.path.join(CORPUS, "gdal_frozen-off.dxf")
        with tempfile.TemporaryDirectory() as tmp:
            settings = os.path.join(tmp, "settings.ini")
            every, on_only = os.path.join(tmp, "all.json"), os.path.join(tmp, "on.json")
            self.assertEqual(run("--settings", settings, "import", source, "-o", every, "-q").returncode, 0)
            self.assertEqual(run("--settings", settings, "import", source, "-o", on_only, "-q",
                                 "--skip-off-layers").returncode, 0)
            doc, _ = recover.readfile(source)
            off = {l.dxf.name for l in doc.layers if not l.is_on()}
            on_entities = [e for e in doc.modelspace() if e.dxf.layer not in off]
            self.assertTrue(off)
            self.assertLess(len(on_entities), len(doc.modelspace()))
            full, part = Imported(every), Imported(on_only)
            lines_on = sum(1 for e in on_entities if e.dxftype() == "LINE")
            self.assertEqual(part.d["NuPolis"], lines_on)
            self.assertGreater(full.d["NuPolis"], part.d["NuPolis"])
            # The layers themselves are all kept, with their state.
            self.assertEqual({l["Nombre"] for l in part.layers}, {l["Nombre"] for l in full.layers})


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class ExplodePoints(unittest.TestCase):
    def test_points_inside_blocks_come_out_with_the_elevation_of_a_nearby_text(self):
        with tempfile.TemporaryDirectory() as tmp:
            doc = ezdxf.new("R2000")
            doc.layers.add("PUNTOS")
            doc.layers.add("OTRA")
            block = doc.blocks.new("PTO")
            block.add_point((0, 0, 0), dxfattribs={"layer": "PUNTOS"})
            msp = doc.modelspace()
            msp.add_blockref("PTO", (10, 20), dxfattribs={"layer": "PUNTOS"})
            msp.add_text("12,5", dxfattribs={"layer": "PUNTOS", "insert": (11.04, 20)})
            msp.add_text("3,25", dxfattribs={"layer": "PUNTOS", "insert": (40, 40)})  # too far
            source, out = os.path.join(tmp, "pts.dxf"), os.path.join(tmp, "pts.json")
            doc.saveas(source)
            settings = os.path.join(tmp, "settings.ini")
            result = run("--settings", settings, "import", source, "-o", out, "-q", "--explode-points")
            self.assertEqual(result.returncode, 0, result.stderr)
            back = Imported(out)
            self.assertIn((10.0, 20.0, 12.5), back.points)
            layers = {l["Nombre"]: l["Encendida"] in (True, -1) for l in back.layers}
            self.assertTrue(layers["PUNTOS"])
            self.assertFalse(layers["OTRA"])


class BadInput(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.settings = os.path.join(self.tmp.name, "settings.ini")
        self.out = os.path.join(self.tmp.name, "out.json")

    def tearDown(self):
        self.tmp.cleanup()

    def write(self, name, text):
        path = os.path.join(self.tmp.name, name)
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(text)
        return path

    def import_(self, source, *extra):
        return run("--settings", self.settings, "import", source, "-o", self.out, *extra)

    def assertRefused(self, result, code, fragment):
        self.assertEqual(result.returncode, code, result.stderr)
        self.assertIn(fragment, result.stderr)
        self.assertFalse(os.path.exists(self.out))

    def test_missing_input(self):
        self.assertRefused(self.import_(os.path.join(self.tmp.name, "none.dxf")), 1, "no such file")

    def test_truncated_file_names_the_file_and_line(self):
        source = self.write("cut.dxf", "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n")
        result = self.import_(source)
        self.assertRefused(result, 1, "cut.dxf")
        self.assertRegex(result.stderr, r"l[ií]nea \d+")

    def test_garbage(self):
        self.assertRefused(self.import_(self.write("junk.dxf", "this is not a drawing\n")), 1, "junk.dxf")

    def test_empty_model_space_writes_nothing(self):
        source = self.write("empty.dxf", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n")
        self.assertRefused(self.import_(source), 4, "empty")

    def test_an_existing_output_survives_a_failed_import(self):
        with open(self.out, "w", encoding="utf-8") as f:
            f.write("keep me")
        result = self.import_(self.write("cut.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nabc\n"))
        self.assertNotEqual(result.returncode, 0)
        with open(self.out, encoding="utf-8") as f:
            self.assertEqual(f.read(), "keep me")

    def test_unreadable_entities_do_not_stop_the_walk(self):
        # A text with an unknown style and an entity kind the copy does not read
        # sit between two points: both points arrive.
        source = self.write("mixed.dxf", "0\nSECTION\n2\nENTITIES\n"
                                          "0\nPOINT\n8\nA\n10\n1\n20\n2\n30\n3\n"
                                          "0\nSPLINE\n8\nA\n"
                                          "0\nPOINT\n8\nA\n10\n4\n20\n5\n30\n6\n"
                                          "0\nENDSEC\n0\nEOF\n")
        result = self.import_(source)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("SPLINE", result.stderr)
        back = Imported(self.out)
        self.assertEqual(back.d["NuPun"], 2)
        self.assertEqual(back.points[1:], [(1.0, 2.0, 3.0), (4.0, 5.0, 6.0)])


if __name__ == "__main__":
    unittest.main(verbosity=2)
