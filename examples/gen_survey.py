#!/usr/bin/python3
"""Generates examples/survey.json: a surveyed plot as a Kestrel record file.

Drawing 1 "Parcela 12": about three hundred named and coded points on several
layers (terrain, kerb, road axis, trees, buildings, street lights, stations
on a layer that is switched off, and two block-reference points), a TIN over
the terrain grid, contours of both kinds traced on that TIN, polylines (plain,
closed and hatched, a circle, an arc) and texts of several kinds.
Drawing 2 "Arqueta": a small block drawing (a square and its four corners,
base point at index 0) that two block-reference points insert.
Drawing 3 "Farola": a lamp post (a circle, a cross bar and a label), inserted
once at twice its size and turned 100 grads.

Run:  /usr/bin/python3 examples/gen_survey.py  (writes examples/survey.json)
"""

import math
import os
import random

from record_json import Arr, document, empty, options

X0, Y0 = 438150.0, 4472300.0  # south-west corner of the plot (UTM-like)
SUMMIT = (X0 + 160.0, Y0 + 150.0)

# Layers: (name, on, packed colour red + 256 green + 65536 blue).
LAYERS = [("PUNTOS", -1, 0xFFFFFF), ("BORDILLO", -1, 0x0000FF), ("ARBOLES", -1, 0x008000),
          ("EDIFICIOS", -1, 0x4080C0), ("Curvas", -1, 0x13458B), ("EJE", -1, 0x00FFFF),
          ("AUXILIAR", 0, 0x808080), ("PRADO", -1, 0x00FF00), ("HUERTO", -1, 0x007CFF)]
LAYER = {name: i + 1 for i, (name, _, _) in enumerate(LAYERS)}


def rgb(r, g, b):
    return r + 256 * g + 65536 * b


def mm(v):
    return round(v, 3)


def ground(x, y):
    """Terrain elevation: a slope rising towards the north-east with a gentle swell."""
    r = math.hypot(x - SUMMIT[0], y - SUMMIT[1])
    return 641.0 - 0.17 * r + 1.2 * math.sin((x - X0) / 17.0) * math.cos((y - Y0) / 23.0)


class Points:
    def __init__(self, rng):
        self.rng = rng
        self.x, self.y, self.z, self.code, self.info, self.layer = [], [], [], [], [], []

    def add(self, x, y, code, layer, info="", z=None):
        self.x.append(mm(x))
        self.y.append(mm(y))
        self.z.append(mm(ground(x, y) if z is None else z))
        self.code.append(code)
        self.info.append(info)
        self.layer.append(LAYER[layer])
        return len(self.x)  # the point's index, from 1


def terrain_grid(pts, columns=16, rows=14, step=9.0):
    """Jittered grid of terrain points; returns their indices by (row, column)."""
    grid = {}
    for r in range(rows):
        for c in range(columns):
            jx, jy = pts.rng.uniform(-2, 2), pts.rng.uniform(-2, 2)
            grid[r, c] = pts.add(X0 + 2 + c * step + jx, Y0 + 2 + r * step + jy, "TN", "PUNTOS")
    return grid


def grid_triangles(grid, columns=16, rows=14):
    tris = []
    for r in range(rows - 1):
        for c in range(columns - 1):
            a, b, d, e = grid[r, c], grid[r, c + 1], grid[r + 1, c], grid[r + 1, c + 1]
            tris += [(a, b, e), (a, e, d)]
    return tris


def crossing(pts, i, j, level):
    zi, zj = pts.z[i - 1], pts.z[j - 1]
    t = (level - zi) / (zj - zi)
    return (mm(pts.x[i - 1] + t * (pts.x[j - 1] - pts.x[i - 1])),
            mm(pts.y[i - 1] + t * (pts.y[j - 1] - pts.y[i - 1])), float(level))


def contour_lines(pts, tris, level):
    """Contour lines of the TIN at `level`, as vertex lists (chained segments)."""
    links = {}  # edge -> the edges joined to it across a triangle
    for tri in tris:
        edges = [tuple(sorted(e)) for e in ((tri[0], tri[1]), (tri[1], tri[2]), (tri[2], tri[0]))]
        cut = [e for e in edges if (pts.z[e[0] - 1] >= level) != (pts.z[e[1] - 1] >= level)]
        if len(cut) == 2:
            links.setdefault(cut[0], []).append(cut[1])
            links.setdefault(cut[1], []).append(cut[0])
    lines, seen = [], set()
    starts = sorted(e for e, n in links.items() if len(n) == 1) + sorted(links)
    for start in starts:
        if start in seen:
            continue
        line, edge = [start], start
        seen.add(start)
        while True:
            nxt = [e for e in links[edge] if e not in seen]
            if not nxt:
                break
            edge = nxt[0]
            seen.add(edge)
            line.append(edge)
        if len(line) >= 2:
            lines.append([crossing(pts, i, j, level) for i, j in line])
    return lines


def polyline(vertices, shape=0, color=0, layer="PUNTOS"):
    return {"NuVert": len(vertices), "Vert": Arr(0, [shape] + list(vertices)), "Color": color,
            "CapaP": LAYER[layer]}


def text(texto, x, y, layer, altura=1.0, giro=0.0, kind="", estilo="Arial", second=(0.0, 0.0), de_curva=0):
    r = empty("t_Rotulo")
    r.update(Texto=texto, CapaR=LAYER[layer], Xr=mm(x), Yr=mm(y), Xr2=mm(second[0]), Yr2=mm(second[1]),
             Giro=giro, Altura=altura, Estilo=estilo, Texto3=kind, DeCurva=de_curva)
    return r


def features(pts):
    """Kerb, axis, trees, buildings, lights, stations, block references."""
    f = {}
    f["kerb"] = [pts.add(X0 + 10 + 6.5 * k, Y0 + 60 + 4 * math.sin(k / 3.0), "BOR", "BORDILLO") for k in range(17)]
    cx, cy, radius = X0 + 125.0, Y0 + 52.0, 8.0  # kerb return, an arc
    f["arc"] = [pts.add(cx + radius * math.cos(a), cy + radius * math.sin(a), "BOR", "BORDILLO")
                for a in (math.pi, 1.25 * math.pi, 1.5 * math.pi)]
    f["axis"] = [pts.add(X0 + 5 + 9.5 * k, Y0 + 66 + 4 * math.sin(k / 2.3), "EJE", "EJE") for k in range(15)]
    f["trees"] = [pts.add(X0 + pts.rng.uniform(10, 130), Y0 + pts.rng.uniform(80, 125), "ARB", "ARBOLES",
                          info="Pinus pinea") for _ in range(25)]
    f["house"] = [pts.add(X0 + x, Y0 + y, "MUR", "EDIFICIOS") for x, y in ((20, 20), (44, 20), (44, 38), (20, 38))]
    f["shed"] = [pts.add(X0 + x, Y0 + y, "MUR", "EDIFICIOS")
                 for x, y in ((80, 18), (92, 18), (92, 26), (86, 31), (80, 26))]
    f["wall"] = [pts.add(X0 + 100, Y0 + 15, "MUR", "EDIFICIOS")]
    f["lights"] = [pts.add(X0 + 12 + 24 * k, Y0 + 72, "FAR", "PUNTOS", info="Farola tipo A") for k in range(6)]
    f["stations"] = [pts.add(X0 + x, Y0 + y, "/", "AUXILIAR", info=info)
                     for x, y, info in ((3, 3, "Base GPS"), (70, 45, "Estación 1"), (135, 95, "Estación 2"),
                                        (60, 128, "Estación 3"))]
    tree = f["trees"][0]
    f["canopy"] = pts.add(pts.x[tree - 1] + 3.0, pts.y[tree - 1], "/", "AUXILIAR", info="radio de copa")
    f["blocks"] = [pts.add(X0 + 30, Y0 + 56, "**Arqueta/1/50", "PUNTOS", info="arqueta de registro"),
                   pts.add(X0 + 96, Y0 + 57, "##Arqueta", "PUNTOS", info="arqueta de registro")]
    # A coloured area over part of the surface: a meadow holding an orchard.
    f["meadow"] = [pts.add(X0 + x, Y0 + y, "LIN", "PRADO") for x, y in ((100, 78), (136, 78), (136, 115), (100, 115))]
    f["orchard"] = [pts.add(X0 + x, Y0 + y, "LIN", "HUERTO") for x, y in ((110, 88), (126, 88), (126, 104), (110, 104))]
    f["blocks"].append(pts.add(X0 + 60, Y0 + 62, "**Farola/2/100", "PUNTOS", info="farola de brazo"))
    return f


def polylines(f):
    house = f["house"]
    return [
        polyline(f["kerb"], layer="BORDILLO"),
        polyline(f["axis"], color=rgb(255, 255, 0), layer="EJE"),
        polyline(house + [house[0]], shape=-52, layer="EDIFICIOS"),        # closed, ANSI31 hatch
        polyline(f["shed"] + [f["shed"][0]], shape=-60, color=rgb(160, 160, 160), layer="EDIFICIOS"),  # solid
        polyline([f["trees"][0], f["canopy"]], shape=2, layer="ARBOLES"),  # circle: centre and a point on it
        polyline(f["arc"], shape=3, layer="BORDILLO"),                     # arc through three points
        polyline([house[1], f["wall"][0]], layer="EDIFICIOS"),             # an open wall line
        polyline(f["stations"] + [f["stations"][0]], layer="AUXILIAR"),    # closed, not hatched (code 0)
        polyline(f["meadow"] + [f["meadow"][0]], layer="PRADO"),           # closed areas that colour the
        polyline(f["orchard"] + [f["orchard"][0]], layer="HUERTO"),        # triangles inside them
    ]


def texts(pts, f):
    house, light = f["house"], f["lights"][2]
    p = lambda i: (pts.x[i - 1], pts.y[i - 1])  # noqa: E731
    rows = [
        text("PARCELA 12", X0 + 60, Y0 + 100, "PUNTOS", altura=3.0),
        text("C/ Mayor#Tramo 2", X0 + 40, Y0 + 70, "EJE", altura=1.5, giro=96.5, estilo="ROMANS"),
        text("Farola tipo A", p(light)[0] + 4, p(light)[1] + 5, "PUNTOS", kind="1", second=p(light)),
        text("", *p(house[0]), "EDIFICIOS", kind="5", second=p(house[1])),
        text("", *p(f["shed"][0]), "EDIFICIOS", kind="6", second=p(f["shed"][1])),
        text("", *p(f["shed"][1]), "EDIFICIOS", kind="7", second=p(f["shed"][2])),
        text("", X0, Y0, "PUNTOS", altura=2.0, kind="11", second=(X0 + 140, Y0 + 130)),
        text("Vivienda", X0 + 26, Y0 + 29, "EDIFICIOS", altura=2.0, estilo="LEROY"),
    ]
    return rows


def contours(pts, tris):
    lo, hi = math.ceil(min(pts.z[i - 1] for t in tris for i in t)), math.floor(max(pts.z[i - 1] for t in tris for i in t))
    curvas, labels = [], []
    for level in range(lo + (lo % 2), hi + 1, 2):
        master = level % 10 == 0
        for line in contour_lines(pts, tris, level):
            colour = rgb(139, 69, 19) if master else rgb(205, 133, 63)
            curvas.append({"NuVertC": len(line) - 1, "VertC": Arr(0, line), "ColorC": colour,
                           "TipoC": 0 if master else -1})
            if master:
                x, y, _ = line[len(line) // 2]
                labels.append(text(str(level), x, y, "Curvas", altura=1.2, de_curva=1))
    curvado = empty("t_Curvado")
    curvado.update(NuCurvas=len(curvas), Param1=2.0, Param2=10.0, Param3=0.5, Param4=1, Param5=5, Param6=0,
                   Param7=float(lo), Param8=float(hi), Param9=-1, Curvas=Arr(1, curvas))
    return curvado, labels


def drawing_options(pts):
    xs, ys, zs = pts.x, pts.y, pts.z
    w, h = max(xs) - min(xs), max(ys) - min(ys)
    doubles = {248: max(xs), 256: min(xs), 264: max(ys), 272: min(ys), 280: max(zs), 288: min(zs),
               296: mm(w * 1.1), 304: mm(h * 1.1), 312: mm(max(zs) - min(zs)),
               324: mm(min(ys) - 0.1 * h / 2), 332: mm(min(xs) - 0.1 * w / 2), 364: 1.0, 376: 1.0}
    longs = {384: 1, 420: 1, 436: 0, 440: 1, 444: 1, 448: 1,  # points, texts, names, codes, elevations
             456: 1, 460: 1, 464: 1, 484: rgb(0, 160, 0), 516: 1}
    return options(doubles, longs)


def parcela():
    pts = Points(random.Random(12))
    grid = terrain_grid(pts)
    f = features(pts)
    tris = grid_triangles(grid)
    curvado, contour_labels = contours(pts, tris)
    polis = polylines(f)
    rotulos = texts(pts, f) + contour_labels
    n = len(pts.x)
    d = empty("t_Dibujo")
    d.update(Texto1="PLANTA", Texto2="Parcela 12",
             NuPun=n, Nmb=Arr(1, [str(i) for i in range(1, n + 1)]), X=Arr(1, pts.x), Y=Arr(1, pts.y),
             Z=Arr(1, pts.z), Cd=Arr(1, pts.code), infor=Arr(1, pts.info), Capa=Arr(1, pts.layer),
             Nutria=len(tris), B1=Arr(1, [t[0] for t in tris]), B2=Arr(1, [t[1] for t in tris]),
             B3=Arr(1, [t[2] for t in tris]), colTrilat=rgb(0, 160, 0),
             NuPolis=len(polis), poli=Arr(1, polis), NuRotulos=len(rotulos), Rotulo=Arr(1, rotulos),
             nuCapas=len(LAYERS), CapaActual=1,
             Capas1=Arr(1, [dict(empty("t_Capa"), Nombre=name, Encendida=on, ColorCapa=colour)
                            for name, on, colour in LAYERS]),
             Curvado=curvado, Opciones=drawing_options(pts))
    d["Cabecera"].update(text4="Levantamiento topográfico de la parcela 12", text48="Equipo de campo 3")
    return d


def arqueta():
    """Block drawing: base point at index 0, a 1 m square through points 1..4."""
    corners = [(-0.5, -0.5), (0.5, -0.5), (0.5, 0.5), (-0.5, 0.5)]
    d = empty("t_Dibujo")
    d.update(Texto1="BLOQUE", Texto2="Arqueta", NuPun=4,
             Nmb=Arr(0, ["", "A1", "A2", "A3", "A4"]), X=Arr(0, [0.0] + [c[0] for c in corners]),
             Y=Arr(0, [0.0] + [c[1] for c in corners]), Z=Arr(0, [0.0] * 5), Cd=Arr(0, [""] * 5),
             infor=Arr(0, [""] * 5), Capa=Arr(0, [0, 1, 1, 1, 1]),
             NuPolis=1, poli=Arr(1, [{"NuVert": 5, "Vert": Arr(0, [0, 1, 2, 3, 4, 1]), "Color": 0, "CapaP": 1}]),
             nuCapas=1, CapaActual=1,
             Capas1=Arr(1, [dict(empty("t_Capa"), Nombre="ARQUETA", Encendida=-1, ColorCapa=rgb(255, 0, 255))]))
    return d


def farola():
    """Block drawing: base point (0, 0) at index 0; a circle of radius 0.4 centred on it, a bar across
    it and the label "F"."""
    xs, ys = [0.0, 0.0, 0.4, -0.6, 0.6], [0.0, 0.0, 0.0, 0.0, 0.0]
    label = empty("t_Rotulo")
    label.update(Texto="F", CapaR=1, Xr=0.5, Yr=0.5, Altura=0.5, Estilo="Arial")
    d = empty("t_Dibujo")
    d.update(Texto1="BLOQUE", Texto2="Farola", NuPun=4,
             Nmb=Arr(0, ["", "F1", "F2", "F3", "F4"]), X=Arr(0, xs), Y=Arr(0, ys), Z=Arr(0, [0.0] * 5),
             Cd=Arr(0, [""] * 5), infor=Arr(0, [""] * 5), Capa=Arr(0, [0, 1, 1, 1, 1]),
             NuPolis=2, poli=Arr(1, [{"NuVert": 2, "Vert": Arr(0, [2, 1, 2]), "Color": 0, "CapaP": 1},
                                     {"NuVert": 2, "Vert": Arr(0, [0, 3, 4]), "Color": 0, "CapaP": 1}]),
             NuRotulos=1, Rotulo=Arr(1, [label]), nuCapas=1, CapaActual=1,
             Capas1=Arr(1, [dict(empty("t_Capa"), Nombre="FAROLAS", Encendida=-1, ColorCapa=rgb(255, 255, 0))]))
    return d


def main():
    datos = {"NuDibujos": 3, "DibujoAct": 1, "Dibujos": Arr(1, [parcela(), arqueta(), farola()])}
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "survey.json")
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(document("t_Datos", datos))


if __name__ == "__main__":
    main()
