#!/usr/bin/python3
"""`kestrel export` end to end, the DXF read by ezdxf with a clean audit:
points, labels and layers of the example and of a points file; block
definitions and insertions at the scale and rotation their codes give (worked
out here from the codes); triangles, quads and contours compared with the
record file; bad input refused without a file."""
import json
import math
import os
import unittest
from collections import Counter

from cli_common import (EXAMPLE, Refusals, example_drawing, ezdxf, indexed, items, keep_me, kestrel, load, needs_ezdxf,
                        scratch, write)


def audited(test, path):
    doc = ezdxf.readfile(path)
    test.assertEqual(len(doc.audit().errors), 0)
    return doc


@needs_ezdxf
class Export(unittest.TestCase):
    def test_the_example_gives_prefixed_switched_layers_points_and_labels(self):
        out = scratch("survey.dxf")
        r = kestrel("export", EXAMPLE, "-o", out, "--labels", "name,code,z", "--label-layers", "--layer-prefix", "T_")
        self.assertEqual(r.returncode, 0, r.stderr)
        doc, d = audited(self, out), example_drawing()
        layers = {l.dxf.name: l for l in doc.layers}
        for capa in items(d["Capas1"]):
            name = "T_" + "".join(c if (c.isascii() and (c.isalnum() or c == "_")) else "_" for c in capa["Nombre"])
            self.assertEqual(layers[name].is_on(), capa["Encendida"] in (True, -1), name)
        drawn = [i for i, c in enumerate(items(d["Cd"])) if c != "/"]  # a point coded "/" is never drawn
        points = doc.modelspace().query("POINT")
        self.assertEqual(len(points), len(drawn))
        self.assertTrue(all(p.dxf.color == 2 for p in points))
        self.assertEqual(doc.header.get("$PDMODE"), 34)
        texts = Counter(e.dxf.layer for e in doc.modelspace().query("TEXT"))
        names = items(d["Nmb"])
        self.assertEqual([texts["T_P_Nombre"], texts["T_P_Codigo"], texts["T_P_Z"]],
                         [sum(1 for i in drawn if names[i]), len(drawn), len(drawn)])

    def test_a_points_file_with_semicolons_and_decimal_commas(self):
        csv = write("campo.csv", "Nombre;X;Y;Z;Código\n1;438000,25;4472000,5;612,125;ARB\n2;438010;4472010;613;BOR\n")
        r = kestrel("export", csv, "-o", scratch("campo.dxf"), "--2d", "--labels", "name")
        self.assertEqual(r.returncode, 0, r.stderr)
        msp = audited(self, scratch("campo.dxf")).modelspace()
        self.assertEqual([(tuple(p.dxf.location), p.dxf.layer) for p in msp.query("POINT")],
                         [((438000.25, 4472000.5, 0.0), "PUNTOS"), ((438010.0, 4472010.0, 0.0), "PUNTOS")])
        self.assertEqual(sorted(e.dxf.text for e in msp.query("TEXT")), [" 1", " 2"])


class BadInput(Refusals, unittest.TestCase):
    def test_refused_with_a_message_and_the_output_left_as_it_was(self):
        empty = json.dumps({"format": "kestrel-records", "version": 1, "kind": "t_Dibujo"})
        cases = [(scratch("nope.json"), "nope.json: no such file"),
                 (write("p.csv", "1,2,3,4\n2,5,seis,7\n"), "p.csv:2: y is not a number"),
                 (write("r.json", '{"format": "kestrel-records", "vers'), "r.json"),
                 (write("e.json", empty), "nothing was exported")]
        for source, says in cases:
            with self.subTest(says=says):
                out = keep_me("out.dxf")
                self.assertRefused(kestrel("export", source, "-o", out, "-q"), out, says)
        r = kestrel("export", write("q.csv", "1,2,3,4\n"), "-o", scratch("no/such/out.dxf"), "-q")
        self.assertEqual(r.returncode, 6, r.stderr)
        self.assertFalse(os.path.exists(scratch("no")))


def reference(code):
    """(name, scale, grads) of a "**NAME/scale/grads" code, its comment cut."""
    code = code[:code.find(",", 1)] if code.find(",", 1) > 0 else code
    parts = code[2:].split("/")
    number = lambda t: float(t.replace(",", ".")) if t else 0.0  # noqa: E731
    return parts[0], number(parts[1]) if len(parts) > 1 else 1.0, number(parts[2]) if len(parts) > 2 else 0.0


def cad_degrees(grads):  # -(grads made positive) x 0.9, the radians taken at pi = 3.141592
    return -math.degrees((grads + 400 if grads < 0 else grads) * 0.9 * 3.141592 / 180)


def same_angle(a, b, period, tol=1e-5):
    d = (a - b) % period
    return min(d, period - d) <= tol


def expected_insertions(source):
    """((x, y), NAME, scale, grads, layer) of each point on a layer that is on referencing another drawing."""
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
        self.assertEqual(len(arqueta.query("POLYLINE LWPOLYLINE")), 1)
        self.assertEqual(sorted(e.dxftype() for e in farola if e.dxftype() != "HATCH"), ["CIRCLE", "POLYLINE", "TEXT"])
        circle, text = farola.query("CIRCLE")[0], farola.query("TEXT")[0]
        self.assertEqual((round(circle.dxf.radius, 9), round(circle.dxf.center.x, 9)), (0.4, 0))
        self.assertEqual((text.dxf.text, text.dxf.layer), ("F", "FAROLAS"))

    def test_insertions_at_their_points_scaled_and_turned(self):
        inserts = sorted(self.doc.modelspace().query("INSERT"), key=lambda e: (e.dxf.insert.x, e.dxf.insert.y))
        self.assertEqual(sorted(e[1] for e in self.expected), ["ARQUETA", "ARQUETA", "FAROLA"])
        self.assertEqual(len(inserts), len(self.expected))
        for e, ((x, y), name, scale, grads, layer) in zip(inserts, self.expected):
            with self.subTest(name=name, at=(x, y)):
                self.assertEqual((e.dxf.name, e.dxf.layer), (name, layer))
                self.assertEqual([round(a - b, 6) for a, b in zip(e.dxf.insert.vec2, (x, y))], [0, 0])
                self.assertEqual([round(s - scale, 9) for s in (e.dxf.xscale, e.dxf.yscale, e.dxf.zscale)], [0] * 3)
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


def export_surface(test, name, *choices):
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
        want = []
        for t in range(1, d["Nutria"] + 1):
            v = [[round(f * indexed(d[k])[indexed(d[b])[t]], 6) for k, f in (("X", 1), ("Y", 1), ("Z", z_scale))]
                 for b in ("B1", "B2", "B3")]
            want.append(v + v[:1])
        self.assertEqual([[[round(c, 6) for c in p] for p in corners] for corners in corners_of_each], want)

    def test_faces_coloured_by_area_and_three_d_contours(self):
        msp = export_surface(self, "3d.dxf", "--3d", "--z-exaggeration", "2", "--triangles", "3d", "--contours",
                     "--colour-by-areas")
        faces = msp.query("3DFACE")
        self.check_triangles([[f.dxf.vtx0, f.dxf.vtx1, f.dxf.vtx2, f.dxf.vtx3] for f in faces], 2)
        self.assertTrue(all(f.dxf.color == 256 for f in faces))
        # The layer of the smallest closed area around each face; the example nests PRADO and HUERTO.
        self.assertTrue({"PRADO", "HUERTO", "TRI"} <= {f.dxf.layer for f in faces})
        self.check_contours(msp, flat=False, scale=2)

    def test_flat_triangles_and_contours_with_elevation(self):
        msp = export_surface(self, "2d.dxf", "--2d", "--triangles", "2d-solid", "--contours")
        outlines = [e for e in msp if e.dxf.layer == "TRI"]
        self.check_triangles([[tuple(p) for p in e.points()] if e.dxftype() == "POLYLINE" else list(e.vertices_in_wcs())
                              for e in outlines], 0)
        self.check_contours(msp, flat=True, scale=1)

    def check_contours(self, msp, flat, scale):
        curvas = indexed(self.d["Curvado"]["Curvas"])[1:self.d["Curvado"]["NuCurvas"] + 1]
        lines = [e for e in msp if e.dxf.layer in ("Cv", "Cvd")]
        drawn = [c for c in curvas if c["NuVertC"] >= 1]
        self.assertEqual((len(lines), len(drawn)), (15, 15))
        for line, c in zip(lines, drawn):
            want = indexed(c["VertC"], 0)
            self.assertEqual((line.dxf.layer, line.is_3d_polyline), ("Cv" if c["TipoC"] else "Cvd", not flat))
            if flat:
                self.assertAlmostEqual(line.dxf.elevation.z, want[-1][2], places=6)
            got = list(line.points())
            self.assertEqual([(round(g[0] - w[0], 6), round(g[2] - (0 if flat else scale * w[2]), 6))
                              for g, w in zip(got, want)] + got[len(want):], [(0, 0)] * len(want))


@needs_ezdxf
class Quads(Refusals, unittest.TestCase):
    QUADS = {"format": "kestrel-quads", "version": 1, "Vn1": 3, "Vc1": [255, 65280, 0x123456],
             "Vx0": [0, 10, 20], "Vy0": [0, 0, 0], "Vz0": [1, 2, 3],
             "Vx1": [10, 20, 30], "Vy1": [0, 0, 0], "Vz1": [1, 2, 3],
             "Vx2": [10, 20, 30], "Vy2": [10, 10, 10], "Vz2": [1, 2, 3],
             "Vx3": [0, 10, 20], "Vy3": [10, 10, 10], "Vz3": [1, 2, 3]}

    def export(self, mode, quads=QUADS):
        return export_surface(self, "q.dxf", "--no-contours", "--no-texts", "--3d", "--triangles", mode,
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
        indexed(source["Dibujos"])[source["DibujoAct"]]["B2"][4] = 99999  # triangle 5
        bad = write("bad.json", json.dumps(source))
        for args, says in (([EXAMPLE, "--3d", "--triangles", "3d-rendered", "--quads", quads],
                            "Vy2: tiene 2 elementos y Vn1 es 3"),
                           ([bad, "--triangles", "3d"], "el triángulo 5 nombra el punto 99999")):
            with self.subTest(says=says):
                out = keep_me("out.dxf")
                self.assertRefused(kestrel("export", *args, "-o", out, "-q"), out, says)


if __name__ == "__main__":
    unittest.main(verbosity=2)
