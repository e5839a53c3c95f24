"""Reads a DXF file with ezdxf, audits it and prints as JSON the audit, the
header variables the DXF tests check, every table record and, per layout and
block, each entity with every DXF attribute ezdxf knows for it (defaults
included) and its vertices; a hatch also with its pattern lines and ezdxf's
own (imperial) definition of the pattern, scaled and turned.

Usage: /usr/bin/python3 ezdxf_dump.py FILE.dxf
"""
import json
import sys

import ezdxf
from ezdxf import recover
from ezdxf.tools import pattern


def plain(v):
    return [float(c) for c in v] if isinstance(v, tuple) or hasattr(v, "x") else v


def polyline(e):
    if e.is_poly_face_mesh:
        vertices = [v for v in e.vertices if v.is_poly_face_mesh_vertex]
        faces = [v for v in e.vertices if v.is_face_record]
        return {"mode": "polyface", "vertices": [plain(v.dxf.location) for v in vertices],
                "faces": [[f.dxf.get(f"vtx{i}", 0) for i in range(4)] for f in faces]}
    return {"mode": "3d" if e.is_3d_polyline else "2d", "closed": e.is_closed, "elevation": e.dxf.elevation[2],
            "vertices": [plain(v.dxf.location) for v in e.vertices], "bulges": [v.dxf.bulge for v in e.vertices]}


def pattern_lines(lines):
    return [[float(angle), plain(base), plain(offset), [float(d) for d in dashes]]
            for angle, base, offset, dashes in lines]


def hatch(e):
    polyline_path = ezdxf.entities.BoundaryPathType.POLYLINE
    reference = pattern.IMPERIAL_PATTERN.get(e.dxf.pattern_name.upper())
    return {"pattern": e.dxf.pattern_name, "solid": e.dxf.solid_fill, "elevation": e.dxf.elevation[2],
            "angle": e.dxf.pattern_angle, "scale": e.dxf.pattern_scale,
            "paths": [{"flags": p.path_type_flags, "vertices": [list(v) for v in p.vertices]} if p.type == polyline_path
                      else {"flags": p.path_type_flags, "edges": len(p.edges)} for p in e.paths],
            "lines": [] if e.pattern is None else pattern_lines(
                (l.angle, l.base_point, l.offset, l.dash_length_items) for l in e.pattern.lines),
            "ezdxf": None if reference is None else pattern_lines(
                pattern.scale_pattern(reference, e.dxf.pattern_scale, e.dxf.pattern_angle))}


# The shapes ezdxf's attributes do not give directly, under the names the tests use.
SHAPES = {
    "LWPOLYLINE": lambda e: {"points": [list(p) for p in e.get_points("xyseb")], "closed": e.closed},
    "POLYLINE": polyline,
    "MTEXT": lambda e: {"text": e.text, "rotation": e.dxf.get("rotation", 0.0)},
    "3DFACE": lambda e: {"vertices": [plain(e.dxf.get(f"vtx{i}")) for i in range(4)],
                         "invisible_edges": e.dxf.get("invisible", 0), "invisible": 0},
    "HATCH": hatch,
    "INSERT": lambda e: {"scale": [e.dxf.xscale, e.dxf.yscale, e.dxf.zscale],
                         "attribs": [entity(a) for a in e.attribs]},
}


def entity(e):
    d = {name: plain(getattr(e.dxf, name, None)) for name in e.DXFATTRIBS._attribs}
    d.update(type=e.dxftype(), **SHAPES.get(e.dxftype(), lambda e: {})(e))
    return {k: v for k, v in d.items() if v is not None}


def read(path):
    """ezdxf.readfile, or ezdxf.recover when readfile refuses the file (names holding \\U+XXXX escapes)."""
    try:
        return ezdxf.readfile(path), False
    except (ezdxf.DXFStructureError, ezdxf.DXFValueError):
        return recover.readfile(path)[0], True


def main(path):
    doc, recovered = read(path)
    auditor = doc.audit()
    header = ("$PDMODE", "$PDSIZE", "$INSUNITS", "$LIMMIN", "$LIMMAX", "$USERR1", "$CLAYER")
    out = {
        "version": doc.dxfversion, "recovered": recovered,
        "audit_errors": [f"{e.code}: {e.message}" for e in auditor.errors],
        "audit_fixes": [f"{e.code}: {e.message}" for e in auditor.fixes],
        "header": {k: plain(doc.header[k]) for k in header if k in doc.header},
        "layers": {l.dxf.name: {"color": l.dxf.color, "on": l.is_on(), "frozen": l.is_frozen(),
                                "locked": l.is_locked(), "linetype": l.dxf.linetype,
                                "true_color": l.dxf.get("true_color")}
                   for l in doc.layers},
        "linetypes": {lt.dxf.name: {"description": lt.dxf.description} for lt in doc.linetypes},
        "styles": {s.dxf.name: {"font": s.dxf.font, "height": s.dxf.height, "width": s.dxf.width,
                                "oblique": s.dxf.oblique} for s in doc.styles},
        "blocks": {b.name: {"base": plain(b.block.dxf.base_point), "entities": [entity(e) for e in b]}
                   for b in doc.blocks if not b.is_any_layout},
        "modelspace": [entity(e) for e in doc.modelspace()],
        "paperspace": [entity(e) for e in doc.layout("Layout1")] if "Layout1" in doc.layouts else [],
    }
    json.dump(out, sys.stdout, ensure_ascii=False, default=str)


if __name__ == "__main__":
    main(sys.argv[1])
