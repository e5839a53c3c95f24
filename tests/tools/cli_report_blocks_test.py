#!/usr/bin/python3
"""End-to-end checks of `kestrel report` and of `kestrel import` with --blocks,
--window and --pick: the report's counts by kind, outside and inside named
blocks, agree with python3-ezdxf's reading of every corpus file; --blocks
gives one drawing per named block (ezdxf's order, base point, entity counts)
and then the plan, and the file exports again; bad picks and windows are
refused without a file."""
import json
import os
import re
import tempfile
import unittest

from cli_common import ROOT, run
CORPUS = os.path.join(ROOT, "..", "shared", "corpus", "dxf")

try:
    import ezdxf
    from ezdxf import recover
except ImportError:  # pragma: no cover
    ezdxf = None



def items(array):
    if array is None:
        return []
    return array["items"] if isinstance(array, dict) else array


def corpus_files():
    if not os.path.isdir(CORPUS):
        return []
    return sorted(os.path.join(CORPUS, f) for f in os.listdir(CORPUS) if f.lower().endswith(".dxf"))


def read_ezdxf(path):
    try:
        return ezdxf.readfile(path)
    except Exception:  # noqa: BLE001 - a file ezdxf cannot read strictly
        doc, _ = recover.readfile(path)
        return doc


def kind_of(e):
    """The report's kind of an ezdxf entity, or None."""
    t = e.dxftype()
    if t == "POLYLINE":
        if e.is_poly_face_mesh:
            return "mesh"
        return None if e.is_polygon_mesh else "polyline"
    return {"ARC": "arc", "CIRCLE": "circle", "LWPOLYLINE": "polyline", "3DFACE": "face", "TEXT": "text",
            "MTEXT": "text", "INSERT": "insert"}.get(t)


def census(entities):
    counts = {}
    for e in entities:
        k = kind_of(e)
        if k:
            counts[k] = counts.get(k, 0) + 1
    return counts


def defined_block_names(path):
    """The names of the blocks the file defines, by a BLOCK or a BLOCK_RECORD
    (ezdxf adds blocks of its own, such as dimension arrows)."""
    with open(path, encoding="latin-1") as f:
        lines = [line.strip() for line in f]
    names, in_block = set(), False
    for code, value in zip(lines[0::2], lines[1::2]):
        if code == "0":
            in_block = value in ("BLOCK", "BLOCK_RECORD")
        elif code == "2" and in_block:
            names.add(value.upper())
            in_block = False
    return names


def named_blocks(doc, path):
    # "$MODEL_SPACE" and "$PAPER_SPACE" are an old writer's names for the layouts.
    defined = defined_block_names(path)
    return [b for b in doc.blocks if not b.name.startswith("*") and b.name.upper() in defined
            and b.name.upper() not in ("$MODEL_SPACE", "$PAPER_SPACE")]


ROW_KINDS = {"Arcos ": "arc", "Círculos ": "circle", "Poliliíneas": "polyline", "PoliCara3D": "mesh",
             "3DCara": "face", "Textos": "text", "Insercciones de Blq.": "insert"}


def split(value):
    """(outside blocks, inside blocks) from a report value."""
    m = re.match(r"^ *(-|\d+)(?:   en Bloques = +(\d+))?", value)
    if m.group(1) == "-":
        return 0, 0
    return int(m.group(1)), int(m.group(2) or 0)


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class Report(unittest.TestCase):
    def test_counts_by_kind_agree_with_ezdxf(self):
        files = corpus_files()
        if not files:
            self.skipTest("the shared corpus is absent: " + CORPUS)
        for path in files:
            with self.subTest(file=os.path.basename(path)):
                r = run("report", path, "--json")
                self.assertEqual(r.returncode, 0, r.stderr)
                report = json.loads(r.stdout)
                rows = {row["label"]: row.get("value") for row in report["rows"]}
                doc = read_ezdxf(path)
                outside = census(doc.modelspace())
                inside = {}
                for block in named_blocks(doc, path):
                    for k, n in census(block).items():
                        inside[k] = inside.get(k, 0) + n
                for label, kind in ROW_KINDS.items():
                    self.assertEqual(split(rows[label]), (outside.get(kind, 0), inside.get(kind, 0)), label)
                self.assertEqual(rows["Bloques  "], str(len(named_blocks(doc, path))))
                self.assertEqual(rows["Dibujos "], str(len(named_blocks(doc, path)) + 1))

    def test_text_report_keeps_the_row_order(self):
        with tempfile.TemporaryDirectory() as tmp:
            path = os.path.join(tmp, "one.dxf")
            doc = ezdxf.new("R2000")
            doc.modelspace().add_circle((0, 0), 1)
            doc.saveas(path)
            r = run("report", path)
            self.assertEqual(r.returncode, 0, r.stderr)
            lines = r.stdout.splitlines()
            self.assertEqual(lines[0], "Información del DWG de ZWCAD 2021:")
            self.assertIn("  Círculos " + "  " + "1".rjust(9), lines)
            self.assertIn("  Arcos " + "  " + "-".rjust(9), lines)
            self.assertEqual([l for l in lines if l.startswith("[")], ["[Entidades en AutoCad]", "[Entidades en Merivox]"])


def block_expectations(block):
    """What a block's drawing must hold, counted from ezdxf's entities."""
    c = census(block)
    lines = sum(1 for e in block if e.dxftype() == "LINE")
    attribs = sum(len(e.attribs) for e in block if e.dxftype() == "INSERT")
    # A 3D face also brings its outline.
    polylines = lines + sum(c.get(k, 0) for k in ("polyline", "arc", "circle", "mesh", "face"))
    return polylines, c.get("text", 0) + attribs


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class Blocks(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.tmp.cleanup()

    def test_one_drawing_per_named_block_then_the_plan(self):
        files = [f for f in corpus_files() if named_blocks(read_ezdxf(f), f)]
        if not files:
            self.skipTest("the shared corpus is absent: " + CORPUS)
        for path in files:
            with self.subTest(file=os.path.basename(path)):
                out = os.path.join(self.tmp.name, "blocks.json")
                r = run("import", path, "-o", out, "--blocks", "-q")
                self.assertEqual(r.returncode, 0, r.stderr)
                with open(out, encoding="utf-8") as f:
                    drawings = items(json.load(f)["Dibujos"])[1:]
                doc = read_ezdxf(path)
                blocks = named_blocks(doc, path)
                has_plan = len(doc.modelspace()) > 0
                self.assertEqual(len(drawings), len(blocks) + (1 if has_plan else 0))
                for block, d in zip(blocks, drawings):
                    self.assertEqual((d["Texto1"], d["Texto2"]), ("BLOQUE", block.name))
                    base = block.block.dxf.base_point
                    got = [items(d[k])[0] for k in ("X", "Y", "Z")]
                    self.assertEqual(got, [base.x, base.y, base.z], block.name)
                    self.assertEqual((d["NuPolis"], d["NuRotulos"]), block_expectations(block), block.name)
                if has_plan:
                    self.assertEqual(drawings[-1]["Texto1"], "PLANTA")
                    dxf = os.path.join(self.tmp.name, "again.dxf")
                    e = run("export", out, "-o", dxf, "-q", "--settings", os.path.join(self.tmp.name, "s.ini"))
                    self.assertEqual(e.returncode, 0, e.stderr)

    def test_two_inputs_give_block_plan_block_plan(self):
        paths = []
        for name in ("a", "b"):
            doc = ezdxf.new("R2000")
            doc.blocks.new(name="BLK_" + name).add_line((0, 0), (1, 1))
            doc.modelspace().add_blockref("BLK_" + name, (5, 5))
            paths.append(os.path.join(self.tmp.name, name + ".dxf"))
            doc.saveas(paths[-1])
        out = os.path.join(self.tmp.name, "both.json")
        r = run("import", *paths, "-o", out, "--blocks", "-q")
        self.assertEqual(r.returncode, 0, r.stderr)
        with open(out, encoding="utf-8") as f:
            data = json.load(f)
        drawings = items(data["Dibujos"])[1:]
        self.assertEqual([(d["Texto1"], d["Texto2"]) for d in drawings],
                         [("BLOQUE", "BLK_a"), ("PLANTA", "a.dxf"), ("BLOQUE", "BLK_b"), ("PLANTA", "b.dxf")])
        self.assertEqual(data["DibujoAct"], 4)
        self.assertEqual(items(drawings[3]["Cd"])[1], "**BLK_b")

    def test_a_file_that_cannot_be_read_is_refused(self):
        bad = os.path.join(self.tmp.name, "bad.dxf")
        with open(bad, "w") as f:
            f.write("0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nxx\n")
        out = os.path.join(self.tmp.name, "x.json")
        r = run("import", bad, "-o", out, "--blocks")
        self.assertNotEqual(r.returncode, 0)
        self.assertFalse(os.path.exists(out))


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class WindowAndPick(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.dxf = os.path.join(cls.tmp.name, "w.dxf")
        doc = ezdxf.new("R2000")
        msp = doc.modelspace()
        msp.add_line((0, 0), (2, 2))
        msp.add_line((0, 0), (20, 2))
        msp.add_lwpolyline([(0, 5), (4, 5), (4, 8)])
        msp.add_circle((30, 30), 3)
        msp.add_text("t", dxfattribs={"insert": (1, 1)})
        doc.saveas(cls.dxf)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def imported(self, *args):
        out = os.path.join(self.tmp.name, "out.json")
        if os.path.exists(out):
            os.remove(out)
        r = run("import", self.dxf, "-o", out, "-q", *args)
        data = None
        if os.path.exists(out):
            with open(out, encoding="utf-8") as f:
                data = json.load(f)
        return r, data

    def test_window_takes_what_lies_wholly_inside(self):
        r, data = self.imported("--window", "-1,-1,5,9")
        self.assertEqual(r.returncode, 0, r.stderr)
        drawings = items(data["Dibujos"])[1:]
        self.assertEqual(len(drawings), 1)
        d = drawings[0]
        # The short line and the polyline (the long line crosses the border), and the text.
        self.assertEqual((d["NuPolis"], d["NuRotulos"]), (2, 1))

    def test_pick_takes_the_nearest_line_or_polyline(self):
        r, data = self.imported("--pick", "2,5.3", "--pick-box", "0.5")
        self.assertEqual(r.returncode, 0, r.stderr)
        d = items(data["Dibujos"])[1]
        self.assertEqual(d["NuPolis"], 1)
        self.assertEqual(items(d["Y"])[1:4], [5, 5, 8])

    def test_refusals_write_nothing(self):
        for args, message in ((["--window", "100,100,200,200"], "vacio"),
                              (["--pick", "50,50"], "nothing within the pick box"),
                              (["--pick", "33,30"], "no es una línea o polilínea"),
                              (["--window", "1,2,3"], "expected 4 numbers")):
            with self.subTest(args=args):
                r, data = self.imported(*args)
                self.assertNotEqual(r.returncode, 0)
                self.assertIsNone(data)
                self.assertIn(message, r.stderr)


if __name__ == "__main__":
    unittest.main()
