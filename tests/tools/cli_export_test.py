#!/usr/bin/python3
"""End-to-end checks of `kestrel export`: the DXF it writes is read by an
independent reader (ezdxf) with a clean audit, and bad input is refused with
a clear message, a non-zero exit and no file written."""
import json
import os
import tempfile
import unittest
from collections import Counter

from cli_common import ROOT, run

try:
    import ezdxf
except ImportError:  # pragma: no cover
    ezdxf = None



@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class ExportExample(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        cls.settings = os.path.join(cls.tmp.name, "settings.ini")
        cls.out = os.path.join(cls.tmp.name, "survey.dxf")
        cls.result = run("--settings", cls.settings, "export", os.path.join(ROOT, "examples", "survey.json"),
                         "-o", cls.out, "--labels", "name,code,z", "--label-layers", "--layer-prefix", "T_")
        with open(os.path.join(ROOT, "examples", "survey.json"), encoding="utf-8") as f:
            cls.source = json.load(f)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def drawing(self):
        items = self.source["Dibujos"]
        items = items["items"] if isinstance(items, dict) else items
        return items[self.source["DibujoAct"] - 1]

    def setUp(self):
        self.assertEqual(self.result.returncode, 0, self.result.stderr)
        self.doc = ezdxf.readfile(self.out)
        self.assertEqual(len(self.doc.audit().errors), 0)

    def test_layers_are_cleaned_prefixed_coloured_and_switched(self):
        layers = {l.dxf.name: l for l in self.doc.layers}
        d = self.drawing()
        capas = d["Capas1"]["items"] if isinstance(d["Capas1"], dict) else d["Capas1"]
        for capa in capas:
            name = "T_" + "".join(c if (c.isascii() and (c.isalnum() or c == "_")) else "_" for c in capa["Nombre"])
            self.assertIn(name, layers)
            self.assertEqual(layers[name].is_on(), capa["Encendida"] in (True, -1), name)
        for own in ("T_P_Nombre", "T_P_Codigo", "T_P_Z"):
            self.assertIn(own, layers)

    def test_points_and_labels(self):
        doc = self.doc
        msp = doc.modelspace()
        d = self.drawing()
        codes = d["Cd"]["items"] if isinstance(d["Cd"], dict) else d["Cd"]
        names = d["Nmb"]["items"] if isinstance(d["Nmb"], dict) else d["Nmb"]
        drawn = [i for i, c in enumerate(codes) if c != "/"]
        points = [e for e in msp if e.dxftype() == "POINT"]
        self.assertEqual(len(points), len(drawn))
        self.assertTrue(all(p.dxf.color == 2 for p in points))
        self.assertEqual(doc.header.get("$PDMODE"), 34)
        texts = Counter(e.dxf.layer for e in msp if e.dxftype() == "TEXT")
        self.assertEqual(texts["T_P_Nombre"], sum(1 for i in drawn if names[i]))
        self.assertEqual(texts["T_P_Codigo"], len(drawn))
        self.assertEqual(texts["T_P_Z"], len(drawn))


@unittest.skipIf(ezdxf is None, "python3-ezdxf is not installed")
class ExportPointsFile(unittest.TestCase):
    def test_semicolons_and_decimal_commas(self):
        with tempfile.TemporaryDirectory() as tmp:
            csv = os.path.join(tmp, "campo.csv")
            with open(csv, "w", encoding="utf-8") as f:
                f.write("Nombre;X;Y;Z;Código\n1;438000,25;4472000,5;612,125;ARB\n2;438010;4472010;613;BOR\n")
            out = os.path.join(tmp, "campo.dxf")
            r = run("--settings", os.path.join(tmp, "s.ini"), "export", csv, "-o", out, "--2d", "--labels", "name")
            self.assertEqual(r.returncode, 0, r.stderr)
            doc = ezdxf.readfile(out)
            self.assertEqual(len(doc.audit().errors), 0)
            points = [e for e in doc.modelspace() if e.dxftype() == "POINT"]
            self.assertEqual([tuple(p.dxf.location) for p in points],
                             [(438000.25, 4472000.5, 0.0), (438010.0, 4472010.0, 0.0)])
            self.assertTrue(all(p.dxf.layer == "PUNTOS" for p in points))
            texts = sorted(e.dxf.text for e in doc.modelspace() if e.dxftype() == "TEXT")
            self.assertEqual(texts, [" 1", " 2"])


class BadInput(unittest.TestCase):
    def test_refused_with_a_message_and_the_output_left_as_it_was(self):
        with tempfile.TemporaryDirectory() as tmp:
            def write(name, text):
                with open(os.path.join(tmp, name), "w", encoding="utf-8") as f:
                    f.write(text)
                return os.path.join(tmp, name)
            out = write("out.dxf", "keep me")
            empty = json.dumps({"format": "kestrel-records", "version": 1, "kind": "t_Dibujo"})
            cases = [(os.path.join(tmp, "nope.json"), "nope.json: no such file"),
                     (write("p.csv", "1,2,3,4\n2,5,seis,7\n"), "p.csv:2: y is not a number"),
                     (write("r.json", '{"format": "kestrel-records", "vers'), "r.json"),
                     (write("e.json", empty), "nothing was exported")]
            for source, fragment in cases:
                with self.subTest(fragment=fragment):
                    r = run("--settings", os.path.join(tmp, "s.ini"), "export", source, "-o", out, "-q")
                    self.assertNotEqual(r.returncode, 0)
                    self.assertIn(fragment, r.stderr)
                    with open(out) as f:
                        self.assertEqual(f.read(), "keep me")
            r = run("--settings", os.path.join(tmp, "s.ini"), "export", write("q.csv", "1,2,3,4\n"),
                    "-o", os.path.join(tmp, "no", "such", "out.dxf"), "-q")
            self.assertEqual(r.returncode, 6, r.stderr)
            self.assertFalse(os.path.exists(os.path.join(tmp, "no")))


if __name__ == "__main__":
    unittest.main(verbosity=2)
