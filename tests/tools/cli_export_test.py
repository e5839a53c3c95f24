#!/usr/bin/python3
"""`kestrel export` and `kestrel profile` end to end, the DXF read by ezdxf
with a clean audit, the expected values worked out by hand or read from the
record file: points, labels, fonts, shapes, hatches, blocks, the surface and
quads; bad input refused without a file."""
import json
import os
import sys
import unittest
from collections import Counter

from cli_common import (EXAMPLE, ROOT, Refusals, example_drawing, ezdxf, indexed, items, keep_me, kestrel, load,
                        needs_ezdxf, scratch, succeeded, write)
sys.path.insert(0, os.path.join(ROOT, "examples"))

import record_json  # noqa: E402
from record_json import Arr, empty  # noqa: E402


def audited(test, path):
    doc = ezdxf.readfile(path)
    test.assertEqual(len(doc.audit().errors), 0)
    return doc


# The example's points coded "**NAME/scale/grads" on layers that are on, by hand:
# (x, y), block, scale, CAD degrees (grads clockwise x 0.9, counter-clockwise in the CAD).
EXAMPLE_INSERTIONS = [((438180, 4472356), "ARQUETA", 1, -45), ((438210, 4472362), "FAROLA", 2, -90),
                      ((438246, 4472357), "ARQUETA", 1, 0)]
LIBERATION = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"


@needs_ezdxf
class Example(unittest.TestCase):
    def test_the_example_gives_its_points_and_labels_on_prefixed_label_layers(self):
        out = scratch("prefixed.dxf")
        succeeded(self, "export", EXAMPLE, "-o", out, "--labels", "name,code,z", "--label-layers",
                  "--layer-prefix", "T_")
        msp, d = audited(self, out).modelspace(), example_drawing()
        drawn = [i for i, c in enumerate(items(d["Cd"])) if c != "/"]  # a point coded "/" is never drawn
        self.assertEqual(len(msp.query("POINT")), len(drawn))
        texts = Counter(e.dxf.layer for e in msp.query("TEXT"))
        names = items(d["Nmb"])
        self.assertEqual([texts["T_P_Nombre"], texts["T_P_Codigo"], texts["T_P_Z"]],
                         [sum(1 for i in drawn if names[i]), len(drawn), len(drawn)])

    def test_each_drawing_is_one_block_inserted_at_its_points_scaled_and_turned(self):
        succeeded(self, "export", EXAMPLE, "-o", scratch("survey.dxf"), "--blocks", "-q")
        doc = audited(self, scratch("survey.dxf"))
        self.assertEqual(len(doc.blocks.get("ARQUETA").query("POLYLINE LWPOLYLINE")), 1)  # once, not per insertion
        inserts = sorted(doc.modelspace().query("INSERT"), key=lambda e: (e.dxf.insert.x, e.dxf.insert.y))
        got = [((round(e.dxf.insert.x, 6), round(e.dxf.insert.y, 6)), e.dxf.name, round(e.dxf.xscale, 9),
                round((e.dxf.rotation + 180) % 360 - 180, 4), e.dxf.layer) for e in inserts]
        self.assertEqual(got, [w + ("PUNTOS",) for w in EXAMPLE_INSERTIONS])
        self.assertTrue(all(e.dxf.xscale == e.dxf.yscale == e.dxf.zscale for e in inserts))
        succeeded(self, "export", EXAMPLE, "-o", scratch("plain.dxf"), "--no-blocks", "-q")
        self.assertEqual(len(ezdxf.readfile(scratch("plain.dxf")).modelspace().query("INSERT")), 0)

    def test_every_kind_gives_its_texts_in_the_fonts_of_the_font_table(self):
        table = write("fuentes_.txt", '"Arial  ",LiberationSans-Regular\n')
        settings = write("fonts.ini", f"[Merivox Fuentes]\nfichero={table}\ncarpeta={os.path.dirname(LIBERATION)}\n")
        r = succeeded(self, "export", EXAMPLE, "-o", scratch("labels.dxf"), "-q", "--texts", "--no-points",
                      "--no-labels", "--no-polylines", settings=settings)
        self.assertNotIn("texts", r.stderr)
        doc = audited(self, scratch("labels.dxf"))
        texts = {}
        for t in doc.modelspace().query("TEXT"):
            texts.setdefault(t.dxf.text, t)
        for s in ("PARCELA 12", "C/ Mayor", "Tramo 2", "Farola tipo A", "24.00", "12.00", "8.00", "Vivienda",
                  "Y1=4472300.00", "X=438150.00", "Y=4472430.00", "X=438290.00", "0", "20", "Pozo", "Registro",
                  "Arqueta A-3", "Bordillo"):
            self.assertIn(s, texts)
        for s in ("*Cuadricula*", "*Escala*", "C/ Mayor#Tramo 2"):
            self.assertNotIn(s, texts)
        self.assertAlmostEqual(texts["PARCELA 12"].dxf.height, 2.7)
        self.assertAlmostEqual(texts["C/ Mayor"].dxf.rotation, (400 - 96.5) * 0.9, places=6)
        self.assertAlmostEqual(texts["8.00"].dxf.rotation % 360, 90, places=6)
        self.assertEqual((texts["C/ Mayor"].dxf.style, texts["Vivienda"].dxf.style), ("ROMANS", "Arial"))  # "LEROY"
        self.assertNotIn("LEROY", doc.styles)
        self.assertEqual(doc.styles.get("Arial").dxf.font, LIBERATION)
        self.assertEqual(doc.styles.get("ROMANS").dxf.font, "txt.shx")  # no ROMANS.TTF there
        if os.path.exists(LIBERATION):
            # Kind "6" from (438230, 4472318) to (438242, 4472318), size 1, measured in Liberation Sans
            # (2048 units, ascent + descent 2288, cell height 160): digits 1139 units -> 80, "." 569 -> 40;
            # "12.00" is 4 x 80 + 40 = 360 hundredths, 3.6 wide.
            at = texts["12.00"].dxf.insert
            self.assertAlmostEqual(at.x, 438230 + (12 - 3.6) / 2, places=6)
            self.assertAlmostEqual(at.y, 4472318.25, places=6)


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


def export_surface(test, name, *choices):
    """Exports the example's surface alone and reads it back with a clean audit."""
    out = scratch(name)
    succeeded(test, "export", EXAMPLE, "-o", out, "-q", "--no-points", "--no-polylines", "--layer-prefix", "", *choices)
    return audited(test, out).modelspace()


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


def export_shapes(*choices, out, extra_polis=()):
    source = write("formas.json", record_json.document("t_Dibujo", shapes_drawing(extra_polis)))
    return kestrel("export", source, "-o", out, "-q", "--polylines", "--hatches", "--no-points", "--no-labels",
                   "--layer-prefix", "", *choices)


@needs_ezdxf
class EveryShapeCode(Refusals, unittest.TestCase):
    def read(self, *choices):
        r = export_shapes(*choices, out=scratch("formas.dxf"))
        self.assertEqual(r.returncode, 0, r.stderr)
        return audited(self, scratch("formas.dxf")).modelspace()

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
        self.assertTrue(all(p.is_2d_polyline for p in msp.query("POLYLINE")))  # their elevations: the engine's
        self.assertEqual(len(msp.query("HATCH")), 8)
        msp = self.read("--2d", "--no-hatches")
        self.assertEqual((len(msp.query("HATCH")), len(msp.query("POLYLINE"))), (0, 12))

    def test_a_code_without_pattern_fails_the_export_and_leaves_no_file(self):
        out = keep_me("formas.dxf")
        self.assertRefused(export_shapes("--3d", out=out, extra_polis=[-57]), out, "Ch4_CreateHatch: 10  Error nº",
                           code=5)


@needs_ezdxf
class Profile(Refusals, unittest.TestCase):
    def test_the_first_point_lands_on_the_insertion_point_or_chainage_and_elevation_are_the_coordinates(self):
        cases = [("PK;Cota\n0;100\n20;101.5\n40;99\n", ["--at", "500,300"],
                  [(500, 300, 0), (520, 301.5, 0), (540, 299, 0)]),
                 ("1000,612.5\n1025.5,613\n", [], [(1000, 612.5, 0), (1025.5, 613, 0)])]
        for text, at, want in cases:
            with self.subTest(at=at):
                succeeded(self, "profile", write("eje.csv", text), "-o", scratch("perfil.dxf"), "-q", *at)
                entities = list(audited(self, scratch("perfil.dxf")).modelspace())
                self.assertEqual([(e.dxftype(), e.is_3d_polyline) for e in entities], [("POLYLINE", True)])
                self.assertEqual([tuple(round(c, 6) for c in p) for p in entities[0].points()], want)

    def test_bad_input_leaves_the_output_untouched(self):
        good = write("good.csv", "0,100\n20,101\n")
        for args, says in (([write("eje.csv", "0,100\n20,1o1\n")], "eje.csv:2: elevation is not a number"),
                           ([good, "--at", "500"], "expected X,Y")):
            with self.subTest(args=args):
                out = keep_me("perfil.dxf")
                self.assertRefused(kestrel("profile", *args, "-o", out, "-q"), out, says)


if __name__ == "__main__":
    unittest.main(verbosity=2)
