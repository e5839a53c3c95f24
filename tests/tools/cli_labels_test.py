#!/usr/bin/python3
"""`kestrel export --texts` on the bundled example, read back with ezdxf (clean
audit): every label kind's texts, heights, rotations and styles (with the font
file the font table names), and dimension texts placed by hand from the font's
own advance table (read here with struct, not FreeType)."""
import os
import struct
import unittest

from cli_common import EXAMPLE, ezdxf, kestrel, needs_ezdxf, scratch, write

LIBERATION = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf"


def label_width(path, text, size):
    """A font of cell height round(size × 160), advances rounded to whole units, × 0.01."""
    with open(path, "rb") as f:
        data = f.read()
    tables = {}
    for i in range(struct.unpack(">H", data[4:6])[0]):
        tag, _, off, length = struct.unpack(">4sIII", data[12 + 16 * i:28 + 16 * i])
        tables[tag] = data[off:off + length]
    upem = struct.unpack(">H", tables[b"head"][18:20])[0]
    metrics = struct.unpack(">H", tables[b"hhea"][34:36])[0]
    ascent, descent = struct.unpack(">HH", tables[b"OS/2"][74:78])
    cmap = tables[b"cmap"]
    sub = None
    for i in range(struct.unpack(">H", cmap[2:4])[0]):
        pid, eid, off = struct.unpack(">HHI", cmap[4 + 8 * i:12 + 8 * i])
        if (pid, eid) == (3, 1):  # Windows Unicode, format 4
            sub = cmap[off:]
    seg = struct.unpack(">H", sub[6:8])[0] // 2
    ends = struct.unpack(">%dH" % seg, sub[14:14 + 2 * seg])
    starts = struct.unpack(">%dH" % seg, sub[16 + 2 * seg:16 + 4 * seg])
    deltas = struct.unpack(">%dh" % seg, sub[16 + 4 * seg:16 + 6 * seg])
    offsets = struct.unpack(">%dH" % seg, sub[16 + 6 * seg:16 + 8 * seg])

    def glyph(code):
        for i in range(seg):
            if starts[i] <= code <= ends[i]:
                if offsets[i] == 0:
                    return (code + deltas[i]) & 0xFFFF
                at = 16 + 6 * seg + 2 * i + offsets[i] + 2 * (code - starts[i])
                g = struct.unpack(">H", sub[at:at + 2])[0]
                return (g + deltas[i]) & 0xFFFF if g else 0
        return 0

    em = round(size * 1.6 / 0.01) * upem / (ascent + descent)
    total = 0
    for ch in text:
        g = min(glyph(ord(ch)), metrics - 1)
        advance = struct.unpack(">H", tables[b"hmtx"][4 * g:4 * g + 2])[0]
        total += round(advance * em / upem)
    return total * 0.01


@needs_ezdxf
class ExportLabels(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        table = write("fuentes_.txt", '"Arial  ",LiberationSans-Regular\n')
        settings = write("fonts.ini", f"[Merivox Fuentes]\nfichero={table}\ncarpeta={os.path.dirname(LIBERATION)}\n")
        cls.result = kestrel("export", EXAMPLE, "-o", scratch("survey.dxf"), "-q", "--texts", "--no-points",
                             "--no-labels", "--no-polylines", settings=settings)
        cls.doc = ezdxf.readfile(scratch("survey.dxf")) if cls.result.returncode == 0 else None

    def setUp(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.texts = {}
        for t in self.doc.modelspace().query("TEXT"):
            self.texts.setdefault(t.dxf.text, []).append(t)

    def text(self, s):
        self.assertIn(s, self.texts)
        return self.texts[s][0]

    def test_every_kind_gives_its_texts_with_a_clean_audit(self):
        self.assertEqual(len(self.doc.audit().errors), 0)
        self.assertNotIn("texts", self.result.stderr)
        for s in ("PARCELA 12", "C/ Mayor", "Tramo 2", "Farola tipo A", "24.00", "12.00", "8.00", "Vivienda",
                  "Y1=4472300.00", "X=438150.00", "Y=4472430.00", "X=438290.00", "0", "20", "Pozo", "Registro",
                  "Arqueta A-3", "Bordillo"):
            self.text(s)
        for s in ("*Cuadricula*", "*Escala*", "C/ Mayor#Tramo 2"):
            self.assertNotIn(s, self.texts)

    def test_heights_rotations_and_styles(self):
        self.assertAlmostEqual(self.text("PARCELA 12").dxf.height, 2.7)
        mayor = self.text("C/ Mayor")
        self.assertAlmostEqual(mayor.dxf.rotation, (400 - 96.5) * 0.9, places=6)
        self.assertEqual(mayor.dxf.style, "ROMANS")
        self.assertEqual(self.text("Vivienda").dxf.style, "Arial")  # "LEROY"
        self.assertNotIn("LEROY", self.doc.styles)
        self.assertEqual(self.doc.styles.get("Arial").dxf.font, LIBERATION)
        self.assertEqual(self.doc.styles.get("ROMANS").dxf.font, "txt.shx")  # no ROMANS.TTF there
        self.assertAlmostEqual(self.text("8.00").dxf.rotation % 360, 90, places=6)

    @unittest.skipUnless(os.path.exists(LIBERATION), "fonts-liberation is not installed")
    def test_dimension_texts_are_centred_above_their_lines(self):
        # Kind "6" from (438230, 4472318) to (438242, 4472318), size 1.
        w = label_width(LIBERATION, "12.00", 1.0)
        at = self.text("12.00").dxf.insert
        self.assertAlmostEqual(at.x, 438230 + (12 - w) / 2, places=6)
        self.assertAlmostEqual(at.y, 4472318.25, places=6)


if __name__ == "__main__":
    unittest.main()
