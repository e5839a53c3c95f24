#!/usr/bin/python3
"""`kestrel import` and `kestrel report` end to end: every corpus file and our
export of the example import with the points, polylines, triangles and texts
ezdxf reads for them in world coordinates; both forms of the report; --blocks
with several inputs; bad input, picks and windows are refused without a file."""
import json
import math
import os
import re
import struct
import unittest

from cli_common import (CORPUS, EXAMPLE, Refusals, corpus_files, ezdxf, items, keep_me, kestrel, load, needs_ezdxf,
                        read_dxf, scratch, succeeded, write)

if ezdxf:
    from ezdxf.math import Vec3


class Imported:
    """One imported drawing: points as coordinate triples, polylines as lists of point indices."""

    def __init__(self, path):
        self.set = load(path)
        self.d = d = items(self.set["Dibujos"])[1]
        self.points = list(zip(items(d["X"]), items(d["Y"]), items(d["Z"])))
        self.polylines = items(d["poli"])[1:d["NuPolis"] + 1]
        self.texts = items(d["Rotulo"])[1:d["NuRotulos"] + 1]
        self.layers = items(d["Capas1"])[1:d["nuCapas"] + 1]


def single(x):  # a radius as the import narrows it
    return struct.unpack("f", struct.pack("f", x))[0]


def import_grads(degrees):  # counter-clockwise degrees from +X as stored: clockwise grads, 400 at 0
    return 400 - degrees * 400 / 360


def plan_degrees(v):
    return math.degrees(math.atan2(v[1], v[0]))


def world_rotation(e, degrees):  # an OCS rotation as a world-plan direction
    return plan_degrees(e.ocs().to_wcs(Vec3.from_deg_angle(degrees)))


def unescaped(text):  # \\U+XXXX escapes as characters
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), text)


def raw_records(path):
    """The groups of every record with a handle, by handle (ezdxf 0.18 reads some ATTRIBs empty)."""
    with open(path, encoding="latin-1") as f:
        lines = [line.rstrip("\r") for line in f.read().split("\n")]
    records, current = {}, None
    for code, value in zip(lines[0::2], lines[1::2]):
        code = int(code) if code.strip().lstrip("-").isdigit() else None
        if code == 0:
            current = []
        elif current is not None and code is not None:
            current.append((code, value))
            if code == 5:
                records[value.strip().upper()] = current
    return records


def attribute(a, raw):
    """(text, insert, height, world degrees) of an ATTRIB, from its own groups when ezdxf reads it empty."""
    groups = raw.get((a.dxf.handle or "").upper(), []) if a.dxf.tag == "" else []
    if not groups:
        return a.dxf.text, a.ocs().to_wcs(a.dxf.insert), a.dxf.height, world_rotation(a, a.dxf.rotation)
    g = {}
    for code, value in groups:
        g.setdefault(code, value)
    number = lambda code: float(g.get(code, 0))  # noqa: E731
    return g.get(1, ""), (number(10), number(20), number(30)), number(40), number(50)


class Expected:
    """What an import must hold, from ezdxf's reading of the model space in
    world coordinates, in entity order: points, polylines (shape marker and
    point indices), triangles, texts and block insertions."""

    def __init__(self, path):
        doc = read_dxf(path)
        self.raw = raw_records(path)
        self.points, self.polylines, self.triangles, self.texts = [], [], [], []
        self.insertions = []  # (point index, block name, x scale, world degrees)
        for e in doc.modelspace():
            handler = getattr(self, "read_" + e.dxftype().lower(), None)
            if handler:
                handler(e)

    def point(self, p, exact=True):  # not `exact`: any point may stand there
        self.points.append((tuple(float(c) for c in p), exact))
        return len(self.points)

    def polyline(self, marker, vertices, closed=False):
        self.polylines.append((marker, vertices + vertices[:1] if closed else vertices))

    def text(self, text, at, height, degrees):
        if text == "":
            return
        self.texts.append((unescaped(text) if text is not None else None, at[0], at[1], height,
                           import_grads(degrees)))

    def read_point(self, e):
        self.point(e.dxf.location)

    def read_line(self, e):
        self.polyline(0, [self.point(e.dxf.start), self.point(e.dxf.end)])

    def read_3dline(self, e):  # R10 and before; ezdxf keeps it as plain tags
        ends = dict((t.code, t.value) for t in e.xtags.noclass if t.code in (10, 11))
        self.polyline(0, [self.point(ends[10]), self.point(ends[11])])

    def read_lwpolyline(self, e):
        self.polyline(0, [self.point(p) for p in e.vertices_in_wcs()], e.closed)

    def read_polyline(self, e):
        if e.is_poly_face_mesh:
            vertices = [self.point(v.dxf.location) for v in e.vertices if v.is_poly_face_mesh_vertex]
            return self.polyline(-71, vertices, True)
        drawn = [v for v in e.vertices if not v.dxf.flags & 16]  # spline frame points are not drawn
        if e.is_3d_polyline:
            return self.polyline(0, [self.point(v.dxf.location) for v in drawn], e.is_closed)
        ocs, z = e.ocs(), e.dxf.elevation[2]
        self.polyline(0, [self.point(ocs.to_wcs((v.dxf.location.x, v.dxf.location.y, z))) for v in drawn],
                      e.is_closed)

    def read_arc(self, e):
        c, r = e.ocs().to_wcs(e.dxf.center), single(e.dxf.radius)
        s, t = e.start_point, e.end_point
        # The middle vertex: on the circle towards the chord's midpoint.
        dx, dy = (s.x + t.x) / 2 - c.x, (s.y + t.y) / 2 - c.y
        a = math.atan2(dx, dy)
        middle = (c.x + r * math.sin(a), c.y + r * math.cos(a), 10)
        self.polyline(3, [self.point((s.x, s.y, 0)), self.point(middle, math.hypot(dx, dy) > 1e-9 * r),
                          self.point((t.x, t.y, 0))])

    def read_circle(self, e):
        c = e.ocs().to_wcs(e.dxf.center)
        self.polyline(2, [self.point((c.x, c.y, 0)), self.point((c.x, c.y + single(e.dxf.radius), 0))])

    def read_3dface(self, e):
        corners = [e.dxf.get(f"vtx{i}") for i in range(4)]
        p = [self.point(c) for c in (corners[:3] if corners[3] == corners[2] else corners)]
        self.triangles.append((p[0], p[1], p[2]))
        if len(p) == 4:
            self.triangles.append((p[0], p[3], p[2]))
        self.polyline(-71, p, True)

    def read_text(self, e):
        text = e.dxf.text
        self.text(None if "\\" in text else text, e.ocs().to_wcs(e.dxf.insert), e.dxf.height,
                  world_rotation(e, e.dxf.rotation))

    def read_mtext(self, e):
        text = e.text
        if e.dxf.hasattr("text_direction"):
            degrees = plan_degrees(e.dxf.text_direction)
        else:
            degrees = world_rotation(e, e.dxf.get("rotation", 0))
        self.text(None if "\\" in text or "{" in text else text, e.dxf.insert, e.dxf.char_height, degrees)

    def read_insert(self, e):
        index = self.point(e.ocs().to_wcs(e.dxf.insert))
        self.insertions.append((index, unescaped(e.dxf.name), e.dxf.xscale, world_rotation(e, e.dxf.rotation)))
        for a in e.attribs:
            self.text(*attribute(a, self.raw))


def close_number(a, b, tol=1e-6):
    return math.isclose(a, b, rel_tol=1e-9, abs_tol=tol)


def same_grads(a, b, tol=1e-5):
    d = (a - b) % 400
    return min(d, 400 - d) <= tol


@needs_ezdxf
class Corpus(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.sources = corpus_files()
        cls.sources["survey.dxf"] = scratch("survey.dxf")
        cls.export = kestrel("export", EXAMPLE, "-o", cls.sources["survey.dxf"], "-q", "--points", "--polylines",
                             "--labels", "name,z")
        cls.runs = {}
        for name in sorted(cls.sources):
            out = scratch(name + ".json")
            cls.runs[name] = (kestrel("import", cls.sources[name], "-o", out, "-q"), out)

    def test_each_file_holds_what_ezdxf_reads_in_world_coordinates(self):
        self.assertEqual(self.export.returncode, 0, self.export.stderr)
        if os.path.isdir(CORPUS):
            self.assertGreater(len(self.runs), 20)
        for name, (result, out) in self.runs.items():
            with self.subTest(file=name):
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertNotIn("Error", result.stderr)
                want, back = Expected(self.sources[name]), Imported(out)
                self.check_points(want, back)
                self.check_insertions(want, back)
                got = [(items(p["Vert"])[0], items(p["Vert"])[1:p["NuVert"] + 1]) for p in back.polylines]
                self.assertEqual(got, want.polylines)
                d = back.d
                triangles = list(zip(*(items(d[k])[1:d["Nutria"] + 1] for k in ("B1", "B2", "B3"))))
                self.assertEqual(triangles, want.triangles)
                self.check_texts(want, back)

    def check_points(self, want, back):
        got = back.points[1:]
        self.assertEqual(len(got), len(want.points))
        wrong = [(i + 1, p, q) for i, ((p, exact), q) in enumerate(zip(want.points, got))
                 if exact and not all(close_number(a, b) for a, b in zip(p, q))]
        self.assertEqual(wrong[:3], [], f"{len(wrong)} points elsewhere (index, ezdxf, import)")

    def check_insertions(self, want, back):
        """Each insertion's point coded "**NAME[/scale[/grads]]"."""
        codes = items(back.d["Cd"])
        for index, block, scale, degrees in want.insertions:
            code = codes[index]
            self.assertTrue(code.startswith("**" + block), code)
            parts = code[len("**" + block):].split("/")[1:]
            rotated = not same_grads(import_grads(degrees), 0, 1e-9)
            self.assertEqual(len(parts), 2 if rotated else (1 if abs(scale) != 1 else 0), code)
            if parts:
                self.assertTrue(close_number(float(parts[0]), scale), code)
            if rotated:
                self.assertTrue(same_grads(float(parts[1]), import_grads(degrees), 2e-4), code)

    def check_texts(self, want, back):
        self.assertEqual(len(back.texts), len(want.texts))
        for t, (text, x, y, height, grads) in zip(back.texts, want.texts):
            got = (t["Texto"], t["Xr"], t["Yr"], t["Altura"], t["Giro"])
            self.assertTrue(text in (None, got[0]) and all(close_number(a, b) for a, b in zip(got[1:4], (x, y, height)))
                            and same_grads(got[4], grads), f"{got} not {(text, x, y, height, grads)}")

    def test_the_example_comes_back_as_one_plan_with_its_layers_and_exports_again(self):
        result, out = self.runs["survey.dxf"]
        self.assertEqual(result.returncode, 0, result.stderr)
        back = Imported(out)
        self.assertEqual((back.set["NuDibujos"], back.set["DibujoAct"]), (1, 1))
        self.assertEqual((back.d["Texto1"], back.d["Texto2"]), ("PLANTA", "survey.dxf"))
        host = {l["Nombre"]: l for d in items(load(EXAMPLE)["Dibujos"]) for l in items(d["Capas1"])}
        layers = {l["Nombre"]: l for l in back.layers}
        for name in host.keys() & layers.keys():  # the others are layers of drawings used as blocks only
            self.assertEqual(layers[name]["Encendida"] in (True, -1), host[name]["Encendida"] in (True, -1), name)
        # Every imported point, polyline vertices included, is drawn again.
        again = scratch("again.dxf")
        succeeded(self, "export", out, "-o", again, "-q", "--points", "--polylines")
        drawn = sorted(tuple(p.dxf.location) for p in ezdxf.readfile(again).modelspace().query("POINT"))
        imported = sorted(back.points[1:back.d["NuPun"] + 1])  # element 0 holds no point
        self.assertEqual(len(drawn), len(imported))
        self.assertTrue(all(close_number(a, b) for p, q in zip(drawn, imported) for a, b in zip(p, q)))

    @unittest.skipUnless(os.path.isdir(CORPUS), f"the DXF corpus is not at {CORPUS}")
    def test_switched_off_layers_are_left_out_on_request(self):
        source = os.path.join(CORPUS, "gdal_frozen-off.dxf")
        doc = read_dxf(source)
        off = {l.dxf.name for l in doc.layers if not l.is_on()}
        lines_on = sum(1 for e in doc.modelspace() if e.dxf.layer not in off and e.dxftype() == "LINE")
        self.assertLess(lines_on, sum(1 for e in doc.modelspace() if e.dxftype() == "LINE"))
        # With --confirm the copy report's own option decides, and the flag answers it.
        for extra in ([], ["--confirm"]):
            on_only = scratch("on.json")
            succeeded(self, "import", source, "-o", on_only, "-q", "--skip-off-layers", *extra)
            self.assertEqual(Imported(on_only).d["NuPolis"], lines_on, extra)


class BadInput(Refusals, unittest.TestCase):
    def test_refused_with_a_message_and_the_output_left_as_it_was(self):
        cases = [(scratch("none.dxf"), 1, r"none\.dxf: no such file"),
                 (write("cut.dxf", "0\nSECTION\n2\nENTITIES\n0\nPOINT\n10\n"), 1, r"cut\.dxf.*l[ií]nea \d+"),
                 (write("junk.dxf", "this is not a drawing\n"), 1, r"junk\.dxf"),
                 (write("empty.dxf", "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n"), 4, "empty")]
        for source, code, says in cases:
            with self.subTest(source=os.path.basename(source)):
                out = keep_me("out.json")
                self.assertRefused(kestrel("import", source, "-o", out), out, says, code)

    def test_an_unread_entity_between_two_points_does_not_stop_the_walk(self):
        source = write("mixed.dxf", "0\nSECTION\n2\nENTITIES\n0\nPOINT\n8\nA\n10\n1\n20\n2\n30\n3\n"
                                    "0\nSPLINE\n8\nA\n0\nPOINT\n8\nA\n10\n4\n20\n5\n30\n6\n0\nENDSEC\n0\nEOF\n")
        self.assertIn("SPLINE", succeeded(self, "import", source, "-o", scratch("mixed.json")).stderr)
        back = Imported(scratch("mixed.json"))
        self.assertEqual((back.d["NuPun"], back.points[1:]), (2, [(1.0, 2.0, 3.0), (4.0, 5.0, 6.0)]))


# The report's counting rules are the import engine's and the entities each corpus file
# holds are the DXF reader's (both checked at their layers); here, the two forms of the report.
@needs_ezdxf
class SmallDrawings(unittest.TestCase):
    def saved(self, name, build):
        """A new drawing that `build(doc)` fills, saved as scratch file `name`."""
        doc = ezdxf.new("R2000")
        build(doc)
        doc.saveas(scratch(name))
        return scratch(name)

    def test_points_inside_blocks_come_out_with_the_elevation_of_a_nearby_text(self):
        def build(doc):
            doc.blocks.new("PTO").add_point((0, 0, 0), dxfattribs={"layer": "PUNTOS"})
            doc.modelspace().add_blockref("PTO", (10, 20), dxfattribs={"layer": "PUNTOS"})
            doc.modelspace().add_text("12,5", dxfattribs={"layer": "PUNTOS", "insert": (11.04, 20)})
        succeeded(self, "import", self.saved("pts.dxf", build), "-o", scratch("pts.json"), "-q", "--explode-points")
        self.assertIn((10.0, 20.0, 12.5), Imported(scratch("pts.json")).points)

    def test_text_and_json_reports_of_one_circle(self):
        one = self.saved("one.dxf", lambda doc: doc.modelspace().add_circle((0, 0), 1))
        lines = succeeded(self, "report", one).stdout.splitlines()
        self.assertEqual(lines[0], "Información del DWG de ZWCAD 2021:")
        self.assertIn("  Círculos " + "  " + "1".rjust(9), lines)
        self.assertIn("  Arcos " + "  " + "-".rjust(9), lines)
        self.assertEqual([l for l in lines if l.startswith("[")], ["[Entidades en AutoCad]", "[Entidades en Merivox]"])
        rows = {row["label"]: row.get("value", "").strip()
                for row in json.loads(succeeded(self, "report", one, "--json").stdout)["rows"]}
        self.assertEqual((rows["Círculos "], rows["Arcos "], rows["Bloques  "]), ("1", "-", "0"))

    def test_one_or_two_inputs_give_block_plan_block_plan(self):
        def build(name):
            def fill(doc):
                doc.blocks.new(name="BLK_" + name).add_line((0, 0), (1, 1))
                doc.modelspace().add_blockref("BLK_" + name, (5, 5))
            return self.saved(name + ".dxf", fill)
        paths = [build("a"), build("b")]
        succeeded(self, "import", *paths, "-o", scratch("both.json"), "--blocks", "-q")
        data = load(scratch("both.json"))
        drawings = items(data["Dibujos"])[1:]
        self.assertEqual([(d["Texto1"], d["Texto2"]) for d in drawings],
                         [("BLOQUE", "BLK_a"), ("PLANTA", "a.dxf"), ("BLOQUE", "BLK_b"), ("PLANTA", "b.dxf")])
        self.assertEqual((data["DibujoAct"], items(drawings[3]["Cd"])[1]), (4, "**BLK_b"))
        succeeded(self, "import", paths[0], "-o", scratch("one.json"), "--blocks", "-q")  # the active document alone
        self.assertEqual([(d["Texto1"], d["Texto2"]) for d in items(load(scratch("one.json"))["Dibujos"])[1:]],
                         [("BLOQUE", "BLK_a"), ("PLANTA", "a.dxf")])


@needs_ezdxf
class WindowAndPick(Refusals, unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        doc = ezdxf.new("R2000")
        msp = doc.modelspace()
        msp.add_line((0, 0), (2, 2))
        msp.add_line((0, 0), (20, 2))
        msp.add_lwpolyline([(0, 5), (4, 5), (4, 8)])
        msp.add_circle((30, 30), 3)
        msp.add_text("t", dxfattribs={"insert": (1, 1)})
        doc.saveas(scratch("w.dxf"))

    def imported(self, *args):
        succeeded(self, "import", scratch("w.dxf"), "-o", scratch("w.json"), "-q", *args)
        drawings = items(load(scratch("w.json"))["Dibujos"])[1:]
        self.assertEqual(len(drawings), 1)
        return drawings[0]

    def test_window_takes_what_lies_wholly_inside_and_pick_the_nearest_line_or_polyline(self):
        # The short line, the polyline and the text; the long line crosses the border.
        self.assertEqual([self.imported("--window", "-1,-1,5,9")[k] for k in ("NuPolis", "NuRotulos")], [2, 1])
        d = self.imported("--pick", "2,5.3", "--pick-box", "0.5")
        self.assertEqual((d["NuPolis"], items(d["Y"])[1:4]), (1, [5, 5, 8]))

    def test_refusals_write_nothing(self):
        bad = write("bad.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nxx\n")
        for args, says in ((["--pick", "50,50"], "nothing within the pick box"),
                           (["--window", "1,2,3"], "expected 4 numbers"),
                           ([bad, "--blocks"], "bad.dxf")):
            with self.subTest(args=args):
                out = keep_me("x.json")
                source = [] if args[0] == bad else [scratch("w.dxf")]
                self.assertRefused(kestrel("import", *source, *args, "-o", out, "-q"), out, says)


if __name__ == "__main__":
    unittest.main(verbosity=2)
