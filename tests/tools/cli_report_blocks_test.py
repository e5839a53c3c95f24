#!/usr/bin/python3
"""`kestrel report` and `kestrel import` with --blocks, --window and --pick end
to end: the report's counts by kind, outside and inside named blocks, agree
with ezdxf's reading of every corpus file; --blocks gives one drawing per named
block (ezdxf's order, base point, entity counts) and then the plan; bad picks
and windows are refused without a file."""
import json
import os
import re
import unittest
from collections import Counter

from cli_common import (CORPUS, Refusals, corpus_files, ezdxf, items, keep_me, load, needs_ezdxf, read_dxf, run,
                        scratch, write)


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
    return Counter(k for k in map(kind_of, entities) if k)


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


def named_blocks(doc, path):  # "$MODEL_SPACE", "$PAPER_SPACE": an old writer's layouts
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


@needs_ezdxf
class Report(unittest.TestCase):
    @unittest.skipUnless(os.path.isdir(CORPUS), "the shared corpus is absent: " + CORPUS)
    def test_counts_by_kind_agree_with_ezdxf(self):
        for name, path in corpus_files().items():
            with self.subTest(file=name):
                r = run("report", path, "--json")
                self.assertEqual(r.returncode, 0, r.stderr)
                rows = {row["label"]: row.get("value") for row in json.loads(r.stdout)["rows"]}
                doc = read_dxf(path)
                blocks = named_blocks(doc, path)
                outside, inside = census(doc.modelspace()), census(e for b in blocks for e in b)
                for label, kind in ROW_KINDS.items():
                    self.assertEqual(split(rows[label]), (outside[kind], inside[kind]), label)
                self.assertEqual((rows["Bloques  "], rows["Dibujos "]), (str(len(blocks)), str(len(blocks) + 1)))

    def test_text_report_keeps_the_row_order(self):
        doc = ezdxf.new("R2000")
        doc.modelspace().add_circle((0, 0), 1)
        doc.saveas(scratch("one.dxf"))
        r = run("report", scratch("one.dxf"))
        self.assertEqual(r.returncode, 0, r.stderr)
        lines = r.stdout.splitlines()
        self.assertEqual(lines[0], "Información del DWG de ZWCAD 2021:")
        self.assertIn("  Círculos " + "  " + "1".rjust(9), lines)
        self.assertIn("  Arcos " + "  " + "-".rjust(9), lines)
        self.assertEqual([l for l in lines if l.startswith("[")], ["[Entidades en AutoCad]", "[Entidades en Merivox]"])


def block_expectations(block):
    """(polylines, texts) of a block's drawing: a 3D face brings its outline, an attribute is a text."""
    c = census(block)
    lines = sum(1 for e in block if e.dxftype() == "LINE")
    attribs = sum(len(e.attribs) for e in block if e.dxftype() == "INSERT")
    return lines + sum(c[k] for k in ("polyline", "arc", "circle", "mesh", "face")), c["text"] + attribs


@needs_ezdxf
class Blocks(unittest.TestCase):
    @unittest.skipUnless(os.path.isdir(CORPUS), "the shared corpus is absent: " + CORPUS)
    def test_one_drawing_per_named_block_then_the_plan(self):
        for name, path in corpus_files().items():
            doc = read_dxf(path)
            blocks = named_blocks(doc, path)
            if not blocks:
                continue
            with self.subTest(file=name):
                out = scratch("blocks.json")
                r = run("import", path, "-o", out, "--blocks", "-q")
                self.assertEqual(r.returncode, 0, r.stderr)
                drawings = items(load(out)["Dibujos"])[1:]
                has_plan = len(doc.modelspace()) > 0
                self.assertEqual(len(drawings), len(blocks) + (1 if has_plan else 0))
                for block, d in zip(blocks, drawings):
                    self.assertEqual((d["Texto1"], d["Texto2"]), ("BLOQUE", block.name))
                    base = block.block.dxf.base_point
                    self.assertEqual([items(d[k])[0] for k in ("X", "Y", "Z")], [base.x, base.y, base.z], block.name)
                    self.assertEqual((d["NuPolis"], d["NuRotulos"]), block_expectations(block), block.name)
                if has_plan:
                    self.assertEqual(drawings[-1]["Texto1"], "PLANTA")
                    e = run("export", out, "-o", scratch("again.dxf"), "-q", "--settings", scratch("again.ini"))
                    self.assertEqual(e.returncode, 0, e.stderr)

    def test_two_inputs_give_block_plan_block_plan(self):
        paths = []
        for name in ("a", "b"):
            doc = ezdxf.new("R2000")
            doc.blocks.new(name="BLK_" + name).add_line((0, 0), (1, 1))
            doc.modelspace().add_blockref("BLK_" + name, (5, 5))
            paths.append(scratch(name + ".dxf"))
            doc.saveas(paths[-1])
        r = run("import", *paths, "-o", scratch("both.json"), "--blocks", "-q")
        self.assertEqual(r.returncode, 0, r.stderr)
        data = load(scratch("both.json"))
        drawings = items(data["Dibujos"])[1:]
        self.assertEqual([(d["Texto1"], d["Texto2"]) for d in drawings],
                         [("BLOQUE", "BLK_a"), ("PLANTA", "a.dxf"), ("BLOQUE", "BLK_b"), ("PLANTA", "b.dxf")])
        self.assertEqual((data["DibujoAct"], items(drawings[3]["Cd"])[1]), (4, "**BLK_b"))


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
        r = run("import", scratch("w.dxf"), "-o", scratch("w.json"), "-q", *args)
        self.assertEqual(r.returncode, 0, r.stderr)
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
        for args, says in ((["--window", "100,100,200,200"], "vacio"),
                           (["--pick", "50,50"], "nothing within the pick box"),
                           (["--pick", "33,30"], "no es una línea o polilínea"),
                           (["--window", "1,2,3"], "expected 4 numbers"),
                           ([bad, "--blocks"], "bad.dxf")):
            with self.subTest(args=args):
                out = keep_me("x.json")
                source = [] if args[0] == bad else [scratch("w.dxf")]
                self.assertRefused(run("import", *source, *args, "-o", out, "-q"), out, says)


if __name__ == "__main__":
    unittest.main()
