#!/usr/bin/python3
"""Adds BLOCKS named block definitions (a line, a circle and a text each) and
one insertion of each to a DXF written by make_survey_dxf.py:
bench/make_blocks_dxf.py IN.dxf BLOCKS OUT.dxf"""
import shutil
import sys

source, blocks, target = sys.argv[1], int(sys.argv[2]), sys.argv[3]
ENTITIES = "0\nSECTION\n2\nENTITIES\n"
ENDSEC = "0\nENDSEC\n0\nEOF\n"

with open(source, encoding="ascii", newline="\n") as src, open(target, "w", encoding="ascii", newline="\n") as out:
    head = src.read(1 << 16)
    at = head.index(ENTITIES)
    out.write(head[:at])
    out.write("0\nSECTION\n2\nBLOCKS\n")
    for b in range(blocks):
        out.write(f"0\nBLOCK\n8\n0\n2\nB{b}\n70\n0\n10\n{b}\n20\n0\n30\n0\n3\nB{b}\n")
        out.write(f"0\nLINE\n8\n0\n10\n{b}\n20\n0\n30\n0\n11\n{b + 1}\n21\n1\n31\n0\n")
        out.write(f"0\nCIRCLE\n8\n0\n10\n{b}\n20\n0\n30\n0\n40\n0.5\n")
        out.write(f"0\nTEXT\n8\n0\n10\n{b}\n20\n0\n30\n0\n40\n0.2\n1\nB{b}\n")
        out.write("0\nENDBLK\n8\n0\n")
    out.write("0\nENDSEC\n")
    rest = head[at:]
    assert rest.find(ENDSEC) < 0, "the survey drawing is too small to hold its entities after the first chunk"
    out.write(rest)
    shutil.copyfileobj(src, out)
# The insertions go at the end of ENTITIES: rewrite the tail.
with open(target, "r+", encoding="ascii", newline="\n") as f:
    f.seek(0, 2)
    end = f.tell()
    f.seek(end - len(ENDSEC))
    assert f.read() == ENDSEC
    f.seek(end - len(ENDSEC))
    for b in range(blocks):
        f.write(f"0\nINSERT\n8\nPUNTOS\n2\nB{b}\n10\n{b}\n20\n-5\n30\n0\n")
    f.write(ENDSEC)
