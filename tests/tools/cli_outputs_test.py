#!/usr/bin/python3
"""What every kestrel command does with its files end to end: its inputs reach
the safe writer (an output is never the input), a folder as input is named,
"-" is standard input/output, and Ctrl-C or SIGTERM end a run with exit 130,
the old output kept and no temporary left. The safe writer's own rules
(devices, links, concurrent writers) are tested at its own layer."""
import glob
import json
import os
import signal
import subprocess
import time
import unittest

from cli_common import EXAMPLE, KESTREL, kestrel, read, scratch, succeeded, write


def points_dxf(n):
    points = "".join(f"0\nPOINT\n8\n0\n10\n{i}\n20\n{i * 2}\n30\n1\n" for i in range(n))
    return f"0\nSECTION\n2\nENTITIES\n{points}0\nENDSEC\n0\nEOF\n"


class Files(unittest.TestCase):
    def test_the_input_is_never_the_output_and_a_folder_is_no_input(self):
        inputs = {"export": write("copy.json", read(EXAMPLE)), "import": write("plano.dxf", points_dxf(3)),
                  "profile": write("perfil.csv", "PK;Cota\n0;612.5\n20;613.8\n")}
        for command, source in inputs.items():
            with self.subTest(command=command):
                before = read(source)
                r = kestrel(command, source, "-o", source, "-q")
                self.assertEqual((r.returncode, read(source)), (6, before), r.stderr)
                self.assertIn("es el archivo de entrada", r.stderr)
                r = kestrel(command, os.path.dirname(source), "-o", scratch("o"), "-q")
                self.assertEqual(r.returncode, 1, r.stderr)
                self.assertIn("is a folder", r.stderr)

    def test_import_and_export_through_pipes(self):
        imported = succeeded(self, "import", "-", "-o", "-", "-q", input=points_dxf(5))
        self.assertEqual(json.loads(imported.stdout)["Dibujos"]["items"][1]["NuPun"], 5)
        for source, points in ((imported.stdout, 5), ("A,1,2,3\nB,4,5,6\n", 2)):  # a record or a points file
            exported = succeeded(self, "export", "-", "-o", "-", "-q", "--points", input=source)
            self.assertEqual(exported.stdout.count("\nPOINT\n"), points)

    def test_sigterm_and_ctrl_c_end_an_import_cleanly(self):
        folder = scratch("interrupted")
        os.mkdir(folder)
        dxf = write("big.dxf", points_dxf(300000))
        for sig in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=sig):
                out = write("interrupted/out.json", "old")
                p = subprocess.Popen([KESTREL, "--settings", scratch("outputs.ini"), "import", dxf, "-o", out, "-q"],
                                     stderr=subprocess.PIPE)
                deadline = time.monotonic() + 60
                while not glob.glob(folder + "/.*.tmp") and p.poll() is None and time.monotonic() < deadline:
                    time.sleep(0.005)
                p.send_signal(sig)
                _, err = p.communicate(timeout=120)
                self.assertEqual(p.returncode, 130, err)
                self.assertIn(b"interrupted", err)
                self.assertEqual((read(out), glob.glob(folder + "/.*")), ("old", []))


if __name__ == "__main__":
    unittest.main(verbosity=2)
