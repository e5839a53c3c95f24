"""Writes exchange records as Kestrel record files ("kestrel-records",
version 1) in the canonical text the library itself writes, so that a file
made here reads and writes back byte for byte.

Records are dicts keyed by field name; arrays are Arr(lbound, items) or None
(unallocated); opaque byte fields are bytes objects.
"""

import json
import math
import struct

FORMAT = "kestrel-records"
VERSION = 1


class Arr:
    """An allocated array with its lower bound."""

    def __init__(self, lbound, items):
        self.lbound = lbound
        self.items = list(items)


# Field tables, in layout order: (name, kind, usual lower bound of arrays).
# Kinds: long, int16, bool16, double, string, bytesN, vertex, or a record name;
# arrays are ("array", element kind).
def _array(element, lbound=1):
    return ("array", element, lbound)


RECORDS = {
    "t_Poli": [("NuVert", "long"), ("Vert", _array("long", 0)), ("Color", "long"), ("CapaP", "long")],
    "t_Capa": [("Nombre", "string"), ("Encendida", "bool16"), ("ColorCapa", "long"), ("Estado", "int16"),
               ("carried14", "bytes6")],
    "t_Curva": [("NuVertC", "long"), ("VertC", _array("vertex", 0)), ("ColorC", "long"), ("TipoC", "bool16")],
    "t_Curvado": [("NuCurvas", "long"), ("Param1", "double"), ("Param2", "double"), ("Param3", "double"),
                  ("Param4", "int16"), ("Param5", "int16"), ("Param6", "int16"), ("Param7", "double"),
                  ("Param8", "double"), ("Param9", "bool16"), ("Curvas", _array("t_Curva"))],
    "t_Rotulo": [("Texto", "string"), ("CapaR", "int16"), ("Xr", "double"), ("Yr", "double"), ("Xr2", "double"),
                 ("Yr2", "double"), ("Xr3", "double"), ("Yr3", "double"), ("Giro", "double"),
                 ("Altura", "double"), ("carried72", "bytes8"), ("Cuenta", "long"), ("Estilo", "string"),
                 ("Texto3", "string"), ("carried92", "bytes2"), ("DeCurva", "int16"), ("Xc", "double"),
                 ("Yc", "double")],
    "Cabecera": [("bytes0", "bytes4"), ("text4", "string"), ("bytes8", "bytes40"), ("text48", "string"),
                 ("bytes52", "bytes48")],
    "Opciones": [("piece248", "bytes136"), ("piece384", "bytes72"), ("piece456", "bytes4"),
                 ("piece460", "bytes60"), ("piece520", "bytes60"), ("piece580", "bytes56")],
    "t_Dibujo": [("Texto1", "string"), ("Texto2", "string"), ("Cabecera", "Cabecera"), ("NuPun", "long"),
                 ("Nmb", _array("string")), ("X", _array("double")), ("Y", _array("double")),
                 ("Z", _array("double")), ("Cd", _array("string")), ("infor", _array("string")),
                 ("Capa", _array("int16")), ("Nutria", "long"), ("B1", _array("long")), ("B2", _array("long")),
                 ("B3", _array("long")), ("colTrilat", "long"), ("NuPolis", "long"), ("poli", _array("t_Poli")),
                 ("NuRotulos", "long"), ("Rotulo", _array("t_Rotulo")), ("nuCapas", "long"),
                 ("CapaActual", "long"), ("Capas1", _array("t_Capa")), ("Curvado", "t_Curvado"),
                 ("Opciones", "Opciones"), ("Extra", "bytes4")],
    "t_Datos": [("NuDibujos", "long"), ("DibujoAct", "long"), ("Dibujos", _array("t_Dibujo"))],
}

ONE_LINE = {"t_Poli", "t_Capa", "t_Curva", "t_Rotulo"}


def empty(record_name):
    """The empty record: strings empty, arrays unallocated, numbers zero."""
    out = {}
    for name, kind in RECORDS[record_name]:
        if isinstance(kind, tuple):
            out[name] = None
        elif kind in RECORDS:
            out[name] = empty(kind)
        elif kind.startswith("bytes"):
            out[name] = bytes(int(kind[5:]))
        elif kind == "string":
            out[name] = ""
        elif kind == "double":
            out[name] = 0.0
        else:
            out[name] = 0
    return out


def number(x):
    """Shortest round-trip text, as std::to_chars writes it."""
    x = float(x)
    if not math.isfinite(x):
        raise ValueError("a record file holds finite numbers only: %r" % x)
    if x == 0 and math.copysign(1, x) < 0:
        return "-0.0"
    if x == int(x) and abs(x) < 1e15:
        return str(int(x))
    text = repr(x)
    if "e" in text:
        raise ValueError("keep example numbers in plain notation: %r" % x)
    return text


def string(s):
    return json.dumps(s, ensure_ascii=False)


def _scalar(kind, value):
    if kind == "double":
        return number(value)
    if kind == "string":
        return string(value)
    if kind == "vertex":
        return "[" + ", ".join(number(v) for v in value) + "]"
    if kind == "bool16":
        if value in (-1, 0):
            return "true" if value == -1 else "false"
        return str(int(value))
    if kind.startswith("bytes"):
        size = int(kind[5:])
        if len(value) != size:
            raise ValueError("expected %d bytes" % size)
        return '"' + value.hex() + '"'
    return str(int(value))


def _items(out, element, items, depth):
    if element in RECORDS:
        if not items:
            out.append("[]")
            return
        out.append("[")
        for i, item in enumerate(items):
            out.append(("," if i else "") + "\n" + "  " * (depth + 1))
            _record(out, element, item, depth + 1)
        out.append("\n" + "  " * depth + "]")
    else:
        out.append("[" + ", ".join(_scalar(element, v) for v in items) + "]")


def _member(out, kind, value, depth):
    if isinstance(kind, tuple):
        _, element, usual = kind
        if value is None:
            out.append("null")
        elif value.lbound == usual:
            _items(out, element, value.items, depth)
        else:
            out.append('{"lbound": %d, "items": ' % value.lbound)
            _items(out, element, value.items, depth)
            out.append("}")
    elif kind in RECORDS:
        _record(out, kind, value, depth)
    else:
        out.append(_scalar(kind, value))


def _fields(out, record_name, record, depth, first):
    unknown = set(record) - {name for name, _ in RECORDS[record_name]}
    if unknown:
        raise KeyError("%s has no fields %s" % (record_name, sorted(unknown)))
    one_line = record_name in ONE_LINE
    for name, kind in RECORDS[record_name]:
        if not first:
            out.append(",")
        out.append((" " if not first else "") if one_line else "\n" + "  " * (depth + 1))
        first = False
        out.append(string(name) + ": ")
        _member(out, kind, record[name], depth + 1)


def _record(out, record_name, record, depth):
    out.append("{")
    _fields(out, record_name, record, depth, True)
    if record_name not in ONE_LINE:
        out.append("\n" + "  " * depth)
    out.append("}")


def document(kind, record):
    """The whole record file text for a t_Datos or t_Dibujo."""
    out = ['{\n  "format": "%s",\n  "version": %d,\n  "kind": "%s"' % (FORMAT, VERSION, kind)]
    _fields(out, kind, record, 0, False)
    out.append("\n}\n")
    return "".join(out)


# Option block helpers: offsets are those of t_Dibujo (the block starts at 248).
OPTION_PIECES = [("piece248", 248, 136), ("piece384", 384, 72), ("piece456", 456, 4),
                 ("piece460", 460, 60), ("piece520", 520, 60), ("piece580", 580, 56)]


def options(doubles, longs):
    """Option pieces with the given doubles and longs at their record offsets."""
    block = bytearray(388)
    for offset, value in doubles.items():
        struct.pack_into("<d", block, offset - 248, value)
    for offset, value in longs.items():
        struct.pack_into("<i", block, offset - 248, value)
    return {name: bytes(block[start - 248:start - 248 + size]) for name, start, size in OPTION_PIECES}
