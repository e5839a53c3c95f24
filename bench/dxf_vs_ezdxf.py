"""python3-ezdxf writing and reading the drawing that bench/dxf_bench.cc
saves and loads (10^6 points, 2*10^6 3D faces, 10^5 texts, same coordinates
and layers), and the comparison with Kestrel's figures.

ezdxf is slow on 3*10^6 entities, so it runs on a drawing DIVISOR times
smaller and its times are extrapolated linearly (times DIVISOR); the table
says so. Run through bench/dxf_vs_ezdxf.sh, or alone:

    /usr/bin/python3 bench/dxf_vs_ezdxf.py [--divisor 10] [--kestrel-json FILE]
"""
import argparse
import json
import os
import tempfile
import time

import ezdxf

POINTS, FACES, TEXTS = 1_000_000, 2_000_000, 100_000


# The same coordinates as dxf_bench.cc.
def easting(i):
    return 432000.0 + (i % 1000) * 1.25 + 0.001 * (i % 7)


def northing(i):
    return 4512000.0 + (i // 1000) * 1.25 + 0.002 * (i % 5)


def elevation(i):
    return 600.0 + (i % 997) * 0.01


def build(divisor):
    doc = ezdxf.new("R2000")
    msp = doc.modelspace()
    for name in ("Puntos", "Terreno", "Rotulos"):
        doc.layers.add(name)
    for i in range(POINTS // divisor):
        msp.add_point((easting(i), northing(i), elevation(i)), dxfattribs={"layer": "Puntos"})
    for i in range(FACES // divisor):
        v = i // 2
        a = (easting(v), northing(v), elevation(v))
        b = (easting(v + 1), northing(v + 1), elevation(v + 1))
        c = (easting(v + 1000), northing(v + 1000), elevation(v + 1000))
        msp.add_3dface([a, b, c, c], dxfattribs={"layer": "Terreno"})
    for i in range(TEXTS // divisor):
        msp.add_text(f"P{i + 1}", dxfattribs={"layer": "Rotulos", "height": 0.5,
                                              "insert": (easting(i), northing(i), 0)})
    return doc


def run_ezdxf(divisor):
    t0 = time.perf_counter()
    doc = build(divisor)
    t1 = time.perf_counter()
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "ezdxf.dxf")
        doc.saveas(path)
        t2 = time.perf_counter()
        size = os.path.getsize(path)
        ezdxf.readfile(path)
        t3 = time.perf_counter()
    entities = (POINTS + FACES + TEXTS) // divisor
    return {"build_s": t1 - t0, "save_s": t2 - t1, "load_s": t3 - t2, "bytes": size, "entities": entities}


def kestrel_figures(path):
    with open(path) as f:
        data = json.load(f)
    out = {}
    for b in data["benchmarks"]:
        name = b["name"].split("/")[0]
        out[name] = {"s": b["real_time"] / 1000.0, "bytes": b["MB"] * 1e6, "entities": b["entities"]}
    return out


def line(label, seconds, size, entities, note=""):
    mb_s = size / 1e6 / seconds
    return f"{label:<34} {seconds:9.2f} s {mb_s:9.1f} MB/s {entities / seconds / 1e6:9.3f} M entities/s {note}"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--divisor", type=int, default=10)
    parser.add_argument("--kestrel-json")
    args = parser.parse_args()
    ez = run_ezdxf(args.divisor)
    d = args.divisor
    full = ez["entities"] * d
    note = f"(ezdxf ran on 1/{d} of the drawing; times x{d})" if d > 1 else ""
    print(f"Drawing: {POINTS} points, {FACES} 3D faces, {TEXTS} texts = {POINTS + FACES + TEXTS} entities")
    print(line("ezdxf build the entities", ez["build_s"] * d, ez["bytes"] * d, full, note))
    print(line("ezdxf save (saveas)", ez["save_s"] * d, ez["bytes"] * d, full, note))
    print(line("ezdxf load (readfile)", ez["load_s"] * d, ez["bytes"] * d, full, note))
    if not args.kestrel_json:
        return
    k = kestrel_figures(args.kestrel_json)
    save, plain, load = k["BM_SaveDxfFile"], k["BM_PlainWriteSameBytes"], k["BM_LoadDxfFile"]
    print(line("Kestrel save_dxf", save["s"], save["bytes"], save["entities"]))
    print(line("plain buffered write, same bytes", plain["s"], plain["bytes"], plain["entities"]))
    print(line("Kestrel load_dxf", load["s"], load["bytes"], load["entities"]))
    print(f"save: {ez['save_s'] * d / save['s']:.1f}x faster than ezdxf (target >= 20x), "
          f"{save['s'] / plain['s']:.2f}x the plain write (target <= 3x)")
    print(f"load: {ez['load_s'] * d / load['s']:.1f}x faster than ezdxf (target >= 20x)")


if __name__ == "__main__":
    main()
