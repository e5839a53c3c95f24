"""Reads a DXF file with ezdxf, audits it and prints as JSON the audit, the
header variables the DXF tests check, every table record and, per layout and
block, each entity with its layer, colours and coordinates.

Usage: /usr/bin/python3 ezdxf_dump.py FILE.dxf
"""
import json
import sys

import ezdxf


def vec(v):
    return [float(c) for c in v]


def text_like(e):
    d = {"text": e.dxf.text, "insert": vec(e.dxf.insert), "height": e.dxf.height, "rotation": e.dxf.rotation,
         "width": e.dxf.width, "oblique": e.dxf.oblique, "style": e.dxf.style, "halign": e.dxf.halign}
    if e.dxf.hasattr("align_point"):
        d["align_point"] = vec(e.dxf.align_point)
    return d


def polyline(e):
    if e.is_poly_face_mesh:
        vertices = [v for v in e.vertices if v.is_poly_face_mesh_vertex]
        faces = [v for v in e.vertices if v.is_face_record]
        return {"mode": "polyface", "vertices": [vec(v.dxf.location) for v in vertices],
                "faces": [[f.dxf.get(f"vtx{i}", 0) for i in range(4)] for f in faces]}
    return {"mode": "3d" if e.is_3d_polyline else "2d", "closed": e.is_closed, "elevation": float(e.dxf.elevation[2]),
            "vertices": [vec(v.dxf.location) for v in e.vertices], "bulges": [v.dxf.bulge for v in e.vertices]}


def hatch(e):
    polyline_path = ezdxf.entities.BoundaryPathType.POLYLINE
    paths = [{"flags": p.path_type_flags, "vertices": [list(v) for v in p.vertices]} if p.type == polyline_path
             else {"flags": p.path_type_flags, "edges": len(p.edges)} for p in e.paths]
    d = {"pattern": e.dxf.pattern_name, "solid": e.dxf.solid_fill, "paths": paths,
         "elevation": float(e.dxf.elevation[2])}
    if not e.dxf.solid_fill:
        d.update(angle=e.dxf.pattern_angle, scale=e.dxf.pattern_scale)
    return d


def geometry(e):
    t = e.dxftype()
    if t == "POINT":
        return {"location": vec(e.dxf.location)}
    if t == "LINE":
        return {"start": vec(e.dxf.start), "end": vec(e.dxf.end)}
    if t == "CIRCLE":
        return {"center": vec(e.dxf.center), "radius": e.dxf.radius}
    if t == "ARC":
        return {"center": vec(e.dxf.center), "radius": e.dxf.radius,
                "start_angle": e.dxf.start_angle, "end_angle": e.dxf.end_angle}
    if t == "LWPOLYLINE":
        return {"points": [list(p) for p in e.get_points("xyseb")], "closed": e.closed,
                "elevation": e.dxf.elevation, "const_width": e.dxf.const_width}
    if t == "POLYLINE":
        return polyline(e)
    if t == "TEXT":
        return dict(text_like(e), valign=e.dxf.valign)
    if t in ("ATTRIB", "ATTDEF"):
        d = dict(text_like(e), tag=e.dxf.tag, flags=e.dxf.flags, valign=e.dxf.valign)
        return dict(d, prompt=e.dxf.prompt) if t == "ATTDEF" else d
    if t == "MTEXT":
        return {"text": e.text, "insert": vec(e.dxf.insert), "char_height": e.dxf.char_height,
                "width": e.dxf.width, "rotation": e.dxf.get("rotation", 0.0),
                "attachment_point": e.dxf.attachment_point, "style": e.dxf.style}
    if t == "3DFACE":
        return {"vertices": [vec(e.dxf.get(f"vtx{i}")) for i in range(4)],
                "invisible_edges": e.dxf.get("invisible", 0)}
    if t == "HATCH":
        return hatch(e)
    if t == "INSERT":
        return {"name": e.dxf.name, "insert": vec(e.dxf.insert),
                "scale": [e.dxf.xscale, e.dxf.yscale, e.dxf.zscale], "rotation": e.dxf.rotation,
                "attribs": [extruded(dict(geometry(a), layer=a.dxf.layer), a) for a in e.attribs]}
    return {}


def extruded(d, e):
    """The entity's extrusion (the normal of its plane), for the kinds that lie in one."""
    if e.dxftype() in ("ARC", "CIRCLE", "LWPOLYLINE", "POLYLINE", "TEXT", "ATTRIB", "ATTDEF", "MTEXT", "INSERT"):
        d["extrusion"] = vec(e.dxf.extrusion)
    return d


def entity(e):
    d = {"type": e.dxftype(), "layer": e.dxf.layer, "color": e.dxf.color, "linetype": e.dxf.linetype,
         "invisible": 0 if e.dxftype() == "3DFACE" else e.dxf.invisible}
    if e.dxf.hasattr("true_color"):
        d["true_color"] = e.dxf.true_color
    d.update(geometry(e))
    return extruded(d, e)


def read(path):
    """ezdxf.readfile, or ezdxf.recover when readfile refuses the file (names holding \\U+XXXX escapes)."""
    try:
        return ezdxf.readfile(path), False
    except (ezdxf.DXFStructureError, ezdxf.DXFValueError):
        from ezdxf import recover
        doc, _ = recover.readfile(path)
        return doc, True


def main(path):
    doc, recovered = read(path)
    auditor = doc.audit()
    header = ("$PDMODE", "$PDSIZE", "$INSUNITS", "$LIMMIN", "$LIMMAX", "$EXTMIN", "$EXTMAX", "$USERR1", "$CLAYER")
    value = lambda v: vec(v) if isinstance(v, tuple) or hasattr(v, "x") else v  # noqa: E731
    out = {
        "version": doc.dxfversion, "recovered": recovered,
        "audit_errors": [f"{e.code}: {e.message}" for e in auditor.errors],
        "audit_fixes": [f"{e.code}: {e.message}" for e in auditor.fixes],
        "header": {k: value(doc.header[k]) for k in header if k in doc.header},
        "layers": {l.dxf.name: {"color": l.dxf.color, "on": l.is_on(), "frozen": l.is_frozen(),
                                "locked": l.is_locked(), "linetype": l.dxf.linetype,
                                "true_color": l.dxf.get("true_color")}
                   for l in doc.layers},
        "linetypes": {lt.dxf.name: {"description": lt.dxf.description} for lt in doc.linetypes},
        "styles": {s.dxf.name: {"font": s.dxf.font, "height": s.dxf.height, "width": s.dxf.width,
                                "oblique": s.dxf.oblique} for s in doc.styles},
        "blocks": {b.name: {"base": vec(b.block.dxf.base_point), "entities": [entity(e) for e in b]}
                   for b in doc.blocks if not b.is_any_layout},
        "modelspace": [entity(e) for e in doc.modelspace()],
        "paperspace": [entity(e) for e in doc.layout("Layout1")] if "Layout1" in doc.layouts else [],
    }
    json.dump(out, sys.stdout, ensure_ascii=False, default=str)


if __name__ == "__main__":
    main(sys.argv[1])
