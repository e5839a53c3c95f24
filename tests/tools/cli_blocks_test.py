#!/usr/bin/python3
"""End-to-end checks of the block export: the example's block-reference
points become block definitions and insertions that ezdxf reads with a clean
audit, at the scale and rotation their codes give (worked out here from the
codes, not from the engine; the import's corpus walk reads the same
insertions back into codes); a code the CAD refuses fails the export
without writing it."""
import json
import math
import unittest

from cli_common import EXAMPLE, Refusals, ezdxf, items, keep_me, kestrel, load, needs_ezdxf, scratch, write


def reference(code):
    """(name, scale, grads) of a "**NAME/scale/grads" code, its comment cut."""
    code = code[:code.find(",", 1)] if code.find(",", 1) > 0 else code
    parts = code[2:].split("/")
    number = lambda t: float(t.replace(",", ".")) if t else 0.0  # noqa: E731
    return parts[0], number(parts[1]) if len(parts) > 1 else 1.0, number(parts[2]) if len(parts) > 2 else 0.0


def cad_degrees(grads):
    """The insertion angle in degrees, counter-clockwise: -(grads, made
    positive) x 0.9, with the radians taken at pi = 3.141592."""
    return -math.degrees((grads + 400 if grads < 0 else grads) * 0.9 * 3.141592 / 180)


def same_angle(a, b, period, tol=1e-5):
    d = (a - b) % period
    return min(d, period - d) <= tol


def expected_insertions(source):
    """((x, y), NAME, scale, grads, layer) of every point on a layer that is on
    whose code references another drawing of the set."""
    drawings = items(source["Dibujos"])
    d = drawings[source["DibujoAct"] - 1]
    others = {x["Texto2"] for x in drawings} - {d["Texto2"]}
    layers = items(d["Capas1"])
    found = []
    for x, y, code, layer in zip(items(d["X"]), items(d["Y"]), items(d["Cd"]), items(d["Capa"])):
        if layers[layer - 1]["Encendida"] in (True, -1) and code[:2] in ("**", "##") and reference(code)[0] in others:
            name, scale, grads = reference(code)
            found.append(((x, y), name.upper(), scale, grads, layers[layer - 1]["Nombre"]))
    return sorted(found)


@needs_ezdxf
class ExampleBlocks(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.out = scratch("survey.dxf")
        cls.result = kestrel("export", EXAMPLE, "-o", cls.out, "--blocks", "-q")
        cls.expected = expected_insertions(load(EXAMPLE))

    def setUp(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.doc = ezdxf.readfile(self.out)
        self.assertEqual(len(self.doc.audit().errors), 0)

    def test_each_drawing_is_one_block_with_its_entities_once(self):
        arqueta, farola = self.doc.blocks.get("ARQUETA"), self.doc.blocks.get("FAROLA")
        self.assertEqual(len([e for e in arqueta if e.dxftype() in ("POLYLINE", "LWPOLYLINE")]), 1)
        self.assertEqual(sorted(e.dxftype() for e in farola if e.dxftype() != "HATCH"), ["CIRCLE", "POLYLINE", "TEXT"])
        circle = next(e for e in farola if e.dxftype() == "CIRCLE")
        self.assertEqual((round(circle.dxf.radius, 9), round(circle.dxf.center.x, 9)), (0.4, 0))
        text = next(e for e in farola if e.dxftype() == "TEXT")
        self.assertEqual((text.dxf.text, text.dxf.layer), ("F", "FAROLAS"))

    def test_insertions_at_their_points_scaled_and_turned(self):
        inserts = sorted(self.doc.modelspace().query("INSERT"), key=lambda e: (e.dxf.insert.x, e.dxf.insert.y))
        # The example references two drawings from three points.
        self.assertEqual(sorted(e[1] for e in self.expected), ["ARQUETA", "ARQUETA", "FAROLA"])
        self.assertEqual(len(inserts), len(self.expected))
        for e, ((x, y), name, scale, grads, layer) in zip(inserts, self.expected):
            with self.subTest(name=name, at=(x, y)):
                self.assertEqual((e.dxf.name, e.dxf.layer), (name, layer))
                self.assertAlmostEqual(e.dxf.insert.x, x, places=6)
                self.assertAlmostEqual(e.dxf.insert.y, y, places=6)
                for s in (e.dxf.xscale, e.dxf.yscale, e.dxf.zscale):
                    self.assertAlmostEqual(s, scale, places=9)
                self.assertTrue(same_angle(e.dxf.rotation, cad_degrees(grads), 360), (e.dxf.rotation, grads))

    def test_no_blocks_inserts_nothing(self):
        r = kestrel("export", EXAMPLE, "-o", scratch("plain.dxf"), "--no-blocks", "-q")
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(len(ezdxf.readfile(scratch("plain.dxf")).modelspace().query("INSERT")), 0)


class RefusedCodes(Refusals, unittest.TestCase):
    def test_scale_zero_fails_the_export_and_writes_nothing(self):
        source = load(EXAMPLE)
        codes = items(items(source["Dibujos"])[0]["Cd"])
        codes[codes.index("**Farola/2/100")] = "**Farola/"
        bad, out = write("bad.json", json.dumps(source, ensure_ascii=False)), keep_me("out.dxf")
        self.assertRefused(kestrel("export", bad, "-o", out, "--blocks", "-q"), out,
                           "Autocad_crea_Bloques en InsertBlock", code=5)


if __name__ == "__main__":
    unittest.main(verbosity=2)
