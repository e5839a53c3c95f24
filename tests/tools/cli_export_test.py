#!/usr/bin/python3
"""End-to-end checks of `kestrel export`: the DXF it writes is read by an
independent reader (ezdxf) with a clean audit, and bad input is refused with
a clear message, a non-zero exit and no file written."""
import json
import os
import unittest
from collections import Counter

from cli_common import EXAMPLE, Refusals, example_drawing, ezdxf, items, keep_me, kestrel, needs_ezdxf, scratch, write


def read_dxf(test, path):
    doc = ezdxf.readfile(path)
    test.assertEqual(len(doc.audit().errors), 0)
    return doc


@needs_ezdxf
class Export(unittest.TestCase):
    def test_the_example_gives_prefixed_switched_layers_points_and_labels(self):
        out = scratch("survey.dxf")
        r = kestrel("export", EXAMPLE, "-o", out, "--labels", "name,code,z", "--label-layers", "--layer-prefix", "T_")
        self.assertEqual(r.returncode, 0, r.stderr)
        doc, d = read_dxf(self, out), example_drawing()
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
        msp = read_dxf(self, scratch("campo.dxf")).modelspace()
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


if __name__ == "__main__":
    unittest.main(verbosity=2)
