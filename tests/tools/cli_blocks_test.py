#!/usr/bin/python3
"""End-to-end checks of the block export: the example's block-reference
points become block definitions and insertions that ezdxf reads with a clean
audit, at the scale and rotation their codes give (worked out here from the
codes, not from the engine); importing the file gives the codes back; a code
the CAD refuses fails the export without writing it."""
import json
import math
import os
import tempfile
import unittest

from cli_common import ROOT, run

try:
    import ezdxf
except ImportError:  # pragma: no cover
    ezdxf = None

EXAMPLE = os.path.join(ROOT, "examples", "survey.json")



def items(array):
    if array is None:
        return []
    return array["items"] if isinstance(array, dict) else array


def reference(code):
    """(name, scale, grads) of a "**NAME/scale/grads" code, its comment cut."""
    code = code[:code.find(",", 1)] if code.find(",", 1) > 0 else code
    parts = code[2:].split("/")
    number = lambda t: float(t.replace(",", ".")) if t else 0.0  # noqa: E731
    scale = number(parts[1]) if len(parts) > 1 else 1.0
    grads = number(parts[2]) if len(parts) > 2 else 0.0
    return parts[0], scale, grads


def cad_degrees(grads):
    """The insertion angle in degrees, counter-clockwise: -(grads, made
    positive) x 0.9, with the radians taken at pi = 3.141592."""
    g = grads + 400 if grads < 0 else grads
    return -math.degrees(g * 0.9 * 3.141592 / 180)


def same_angle(a, b, period, tol=1e-5):
    d = (a - b) % period
    return min(d, period - d) <= tol


def expected_insertions(source):
    drawings = items(source["Dibujos"])
    d = drawings[source["DibujoAct"] - 1]
    names = {x["Texto2"] for x in drawings}
    layers = items(d["Capas1"])
    found = []
    for x, y, code, layer in zip(items(d["X"]), items(d["Y"]), items(d["Cd"]), items(d["Capa"])):
        on = layers[layer - 1]["Encendida"] in (True, -1)
        if on and code[:2] in ("**", "##") and reference(code)[0] in names - {d["Texto2"]}:
            name, scale, grads = reference(code)
            found.append(((x, y), name.upper(), scale, grads, layers[layer - 1]["Nombre"]))
    return found


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class ExampleBlocks(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.settings = os.path.join(cls.tmp.name, "settings.ini")
        cls.out = os.path.join(cls.tmp.name, "survey.dxf")
        cls.result = run("--settings", cls.settings, "export", EXAMPLE, "-o", cls.out, "--blocks", "-q")
        with open(EXAMPLE, encoding="utf-8") as f:
            cls.source = json.load(f)
        cls.expected = expected_insertions(cls.source)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def setUp(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.doc = ezdxf.readfile(self.out)
        self.assertEqual(len(self.doc.audit().errors), 0)

    def test_each_drawing_is_one_block_with_its_entities_once(self):
        arqueta = self.doc.blocks.get("ARQUETA")
        farola = self.doc.blocks.get("FAROLA")
        self.assertIsNotNone(arqueta)
        self.assertIsNotNone(farola)
        self.assertEqual(len([e for e in arqueta if e.dxftype() in ("POLYLINE", "LWPOLYLINE")]), 1)
        self.assertEqual(sorted(e.dxftype() for e in farola if e.dxftype() != "HATCH"),
                         ["CIRCLE", "POLYLINE", "TEXT"])
        circle = next(e for e in farola if e.dxftype() == "CIRCLE")
        self.assertAlmostEqual(circle.dxf.radius, 0.4, places=9)
        self.assertAlmostEqual(circle.dxf.center.x, 0, places=9)
        text = next(e for e in farola if e.dxftype() == "TEXT")
        self.assertEqual(text.dxf.text, "F")
        self.assertEqual(text.dxf.layer, "FAROLAS")

    def test_insertions_at_their_points_scaled_and_turned(self):
        inserts = sorted(self.doc.modelspace().query("INSERT"), key=lambda e: (e.dxf.insert.x, e.dxf.insert.y))
        expected = sorted(self.expected)
        # The example references two drawings from three points.
        self.assertEqual(sorted(e[1] for e in expected), ["ARQUETA", "ARQUETA", "FAROLA"])
        self.assertEqual(len(inserts), len(expected))
        for e, ((x, y), name, scale, grads, layer) in zip(inserts, expected):
            with self.subTest(name=name, at=(x, y)):
                self.assertEqual(e.dxf.name, name)
                self.assertAlmostEqual(e.dxf.insert.x, x, places=6)
                self.assertAlmostEqual(e.dxf.insert.y, y, places=6)
                for s in (e.dxf.xscale, e.dxf.yscale, e.dxf.zscale):
                    self.assertAlmostEqual(s, scale, places=9)
                self.assertTrue(same_angle(e.dxf.rotation, cad_degrees(grads), 360), (e.dxf.rotation, grads))
                self.assertEqual(e.dxf.layer, layer)

    def test_import_gives_the_codes_back(self):
        back = os.path.join(self.tmp.name, "back.json")
        r = run("--settings", self.settings, "import", self.out, "-o", back, "-q")
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(back, encoding="utf-8") as f:
            drawings = json.load(f)["Dibujos"]
        d = drawings["items"][1 - drawings["lbound"]]  # the set's drawing 1
        got = sorted(((round(x, 6), round(y, 6)), reference(c))
                     for x, y, c in zip(items(d["X"]), items(d["Y"]), items(d["Cd"])) if c.startswith("**"))
        expected = sorted(((round(x, 6), round(y, 6)), (n, s, g)) for (x, y), n, s, g, _ in self.expected)
        self.assertEqual(len(got), len(expected))
        for (at, (name, scale, grads)), (want_at, (want_name, want_scale, want_grads)) in zip(got, expected):
            with self.subTest(name=want_name, at=want_at):
                self.assertEqual((at, name), (want_at, want_name))
                self.assertAlmostEqual(scale, want_scale, places=6)
                self.assertTrue(same_angle(grads, want_grads, 400, 1e-3), (grads, want_grads))

    def test_no_blocks_inserts_nothing(self):
        out = os.path.join(self.tmp.name, "plain.dxf")
        r = run("--settings", self.settings, "export", EXAMPLE, "-o", out, "--no-blocks", "-q")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(len(ezdxf.readfile(out).modelspace().query("INSERT")), 0)


class RefusedCodes(unittest.TestCase):
    def test_scale_zero_fails_the_export_and_writes_nothing(self):
        with open(EXAMPLE, encoding="utf-8") as f:
            source = json.load(f)
        codes = items(items(source["Dibujos"])[0]["Cd"])
        codes[codes.index("**Farola/2/100")] = "**Farola/"
        with tempfile.TemporaryDirectory() as tmp:
            bad = os.path.join(tmp, "bad.json")
            with open(bad, "w", encoding="utf-8") as f:
                json.dump(source, f, ensure_ascii=False)
            out = os.path.join(tmp, "out.dxf")
            r = run("--settings", os.path.join(tmp, "s.ini"), "export", bad, "-o", out, "--blocks", "-q")
            self.assertEqual(r.returncode, 5, r.stderr)
            self.assertIn("Autocad_crea_Bloques en InsertBlock", r.stderr)
            self.assertFalse(os.path.exists(out))


if __name__ == "__main__":
    unittest.main(verbosity=2)
