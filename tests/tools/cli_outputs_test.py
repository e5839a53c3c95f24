#!/usr/bin/python3
"""What every kestrel command does with its files: an output is never the
input, never a device replaced by a file, never written through a planted
link, never half written; "-" is standard input/output; Ctrl-C and SIGTERM
end a run cleanly (exit 130, old output kept, no temporary file left)."""
import glob
import json
import os
import signal
import stat
import subprocess
import tempfile
import threading
import time
import unittest

from cli_common import EXAMPLE, KESTREL, read

POINTS_DXF = "0\nSECTION\n2\nENTITIES\n{}0\nENDSEC\n0\nEOF\n"


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def points_dxf(n):
    return POINTS_DXF.format("".join(f"0\nPOINT\n8\n0\n10\n{i}\n20\n{i * 2}\n30\n1\n" for i in range(n)))


class Files(unittest.TestCase):
    """A folder of its own (its temporaries are counted) and one input and
    run per command, each writing the output it is given."""

    def setUp(self):
        tmp = tempfile.TemporaryDirectory()
        self.addCleanup(tmp.cleanup)
        self.dir = tmp.name
        dxf, csv = self.write("plano.dxf", points_dxf(3)), self.write("perfil.csv", "PK;Cota\n0;612.5\n20;613.8\n")
        self.commands = {"export": (EXAMPLE, lambda out: ["export", EXAMPLE, "-o", out, "-q"]),
                         "import": (dxf, lambda out: ["import", dxf, "-o", out, "-q"]),
                         "profile": (csv, lambda out: ["profile", csv, "-o", out, "-q"])}

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, text):
        with open(self.path(name), "w", encoding="utf-8") as f:
            f.write(text)
        return self.path(name)

    def kestrel(self, *args, **kw):
        return subprocess.run([KESTREL, "--settings", self.path("s.ini"), *args], capture_output=True,
                              timeout=300, **kw)

    def temporaries(self):
        return glob.glob(os.path.join(self.dir, ".*.kestrel-*.tmp"))


class OutputsAreSafe(Files):
    def test_the_input_is_never_the_output(self):
        for name, (source, args) in self.commands.items():
            local = self.path("copy-of-" + os.path.basename(source))
            with open(local, "wb") as g:
                g.write(read_bytes(source))
            os.symlink(local, self.path(name + "-link"))
            os.link(local, self.path(name + "-hard"))
            for target in (local, self.path(name + "-link"), self.path(name + "-hard")):
                with self.subTest(command=name, output=target):
                    before = read_bytes(local)
                    argv = args(target)
                    argv[1] = local
                    r = self.kestrel(*argv)
                    self.assertEqual(r.returncode, 6, r.stderr)
                    self.assertIn(b"es el archivo de entrada", r.stderr)
                    self.assertEqual(read_bytes(local), before)

    def test_devices_and_pipes_are_written_into_not_replaced(self):
        for name, (_, args) in self.commands.items():
            with self.subTest(command=name):
                r = self.kestrel(*args("/dev/null"))
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertTrue(stat.S_ISCHR(os.stat("/dev/null").st_mode))
        fifo = self.path("pipe")
        os.mkfifo(fifo)
        got = []
        reader = threading.Thread(target=lambda: got.append(read_bytes(fifo)))
        reader.start()
        r = self.kestrel(*self.commands["profile"][1](fifo))
        reader.join(60)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertTrue(stat.S_ISFIFO(os.stat(fifo).st_mode))
        self.assertIn(b"POLYLINE", got[0])

    def test_a_planted_link_is_not_followed_and_a_stale_temporary_goes(self):
        victim = self.write("victim", "precious")
        os.symlink(victim, self.path("out.json.tmp"))
        dead = subprocess.Popen(["true"])
        dead.wait()
        stale = self.write(f".out.json.kestrel-{dead.pid}-1.tmp", "left by a killed run")
        r = self.kestrel(*self.commands["import"][1](self.path("out.json")))
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(read(victim), "precious")
        self.assertTrue(os.path.islink(self.path("out.json.tmp")))
        self.assertFalse(os.path.exists(stale))

    def test_two_imports_to_one_output_leave_one_whole_file(self):
        dxf = self.write("big.dxf", points_dxf(20000))
        out = self.path("out.json")
        runs = [subprocess.Popen([KESTREL, "--settings", self.path("s.ini"), "import", dxf, "-o", out, "-q"],
                                 stderr=subprocess.PIPE) for _ in range(2)]
        for p in runs:
            _, err = p.communicate(timeout=300)
            self.assertEqual(p.returncode, 0, err)
        with open(out, encoding="utf-8") as f:
            self.assertEqual(json.load(f)["Dibujos"]["items"][1]["NuPun"], 20000)
        self.assertEqual(self.temporaries(), [])

    def test_a_folder_as_input_is_named_as_such(self):
        for name, (_, args) in self.commands.items():
            with self.subTest(command=name):
                argv = args(self.path("o"))
                argv[1] = self.dir
                r = self.kestrel(*argv)
                self.assertEqual(r.returncode, 1, r.stderr)
                self.assertIn(b"is a folder", r.stderr)


class StandardStreams(Files):
    def test_import_and_export_through_pipes(self):
        dxf = points_dxf(5).encode()
        imported = self.kestrel("import", "-", "-o", "-", "-q", input=dxf)
        self.assertEqual(imported.returncode, 0, imported.stderr)
        records = json.loads(imported.stdout)
        self.assertEqual(records["Dibujos"]["items"][1]["NuPun"], 5)
        exported = self.kestrel("export", "-", "-o", "-", "-q", "--points", input=imported.stdout)
        self.assertEqual(exported.returncode, 0, exported.stderr)
        self.assertEqual(exported.stdout.count(b"\nPOINT\n"), 5)
        points = self.kestrel("export", "-", "-o", "-", "-q", input=b"A,1,2,3\nB,4,5,6\n")  # a points file
        self.assertEqual(points.returncode, 0, points.stderr)
        self.assertEqual(points.stdout.count(b"\nPOINT\n"), 2)


class Interrupts(Files):
    def interrupted(self, argv, sig):
        """Runs kestrel, sends `sig` once its temporary output exists, and
        returns the completed process."""
        p = subprocess.Popen([KESTREL, "--settings", self.path("s.ini"), *argv], stderr=subprocess.PIPE)
        deadline = time.monotonic() + 60
        while not self.temporaries() and p.poll() is None and time.monotonic() < deadline:
            time.sleep(0.005)
        p.send_signal(sig)
        _, err = p.communicate(timeout=120)
        return p.returncode, err

    def test_sigterm_and_ctrl_c_end_an_import_cleanly(self):
        dxf = self.write("big.dxf", points_dxf(300000))
        for sig in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=sig):
                out = self.write("out.json", "old")
                code, err = self.interrupted(["import", dxf, "-o", out, "-q"], sig)
                self.assertEqual(code, 130, err)
                self.assertIn(b"interrupted", err)
                self.assertEqual(read(out), "old")
                self.assertEqual(self.temporaries(), [])


if __name__ == "__main__":
    unittest.main(verbosity=2)
