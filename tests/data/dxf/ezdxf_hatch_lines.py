"""Prints as JSON, per HATCH of a DXF file's model space, its pattern name,
scale and angle, the pattern lines the file holds, and ezdxf's own (imperial)
definition of that pattern scaled and turned by the hatch's scale and angle.

Usage: /usr/bin/python3 ezdxf_hatch_lines.py FILE.dxf
"""
import json
import sys

import ezdxf
from ezdxf.tools import pattern


def as_lists(lines):
    return [[float(angle), [float(c) for c in base], [float(c) for c in offset], [float(d) for d in dashes]]
            for angle, base, offset, dashes in lines]


def read_lines(hatch):
    if hatch.pattern is None:
        return []
    return as_lists((l.angle, l.base_point, l.offset, l.dash_length_items) for l in hatch.pattern.lines)


def main(path):
    doc = ezdxf.readfile(path)
    out = []
    for h in doc.modelspace().query("HATCH"):
        name = h.dxf.pattern_name
        scale = h.dxf.get("pattern_scale", 1.0)
        angle = h.dxf.get("pattern_angle", 0.0)
        reference = pattern.IMPERIAL_PATTERN.get(name.upper())
        out.append({"name": name, "type": h.dxf.pattern_type, "solid": h.dxf.solid_fill, "scale": scale, "angle": angle,
                    "lines": read_lines(h),
                    "ezdxf": None if reference is None else as_lists(pattern.scale_pattern(reference, scale, angle))})
    json.dump(out, sys.stdout)


if __name__ == "__main__":
    main(sys.argv[1])
