#include "export/label_placement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <vector>

#include "export/label_expansion.h"
#include "export/label_marks.h"
#include "model/number_text.h"

namespace kestrel::exporting {

namespace {

using model::t_Rotulo;

constexpr double kLinePitch = 1.3;   // between the baselines of a multi-line label, × size
constexpr double kUnderline = 0.3;   // the leader's underline below the last baseline, × size

double normal_grads(double g) {
  g = std::fmod(g, 400);
  return g < 0 ? g + 400 : g;
}

// The Giro that lays a text along a line of direction `line` so that it
// reads left to right, or bottom up when the line is vertical.
double readable_giro(double line) {
  double t = normal_grads(line);
  if (t >= 200) t -= 200;
  return normal_grads(t - 100);
}

// The lines of a text split at "#", and the widest of them.
struct TextBlock {
  std::vector<std::string> lines;
  std::vector<double> widths;
  double widest = 0;
};

TextBlock measure_block(LabelWorkspace& ws, const t_Rotulo& r, bool measured) {
  TextBlock block;
  std::string_view rest = r.Texto;
  for (std::size_t hash = rest.find('#'); hash != std::string_view::npos; hash = rest.find('#')) {
    block.lines.emplace_back(rest.substr(0, hash));
    rest.remove_prefix(hash + 1);
  }
  block.lines.emplace_back(rest);
  if (!measured && block.lines.size() == 1) return block;
  for (const std::string& line : block.lines) {
    block.widths.push_back(Ancho_Texto(ws, line, r.Altura, r.Estilo));
    block.widest = std::max(block.widest, block.widths.back());
  }
  return block;
}

// Where the first line of a label goes, and whether further lines line up
// on its right end (a text left of its anchor) instead of its left end.
struct FirstLine {
  PlanPoint at;
  bool right_aligned = false;
};

// Kinds "5", "6", "7": a dimension line from a to b with the text centred
// above it, or beyond its far end when it does not fit between the ends.
FirstLine place_dimension(LabelWorkspace& ws, t_Rotulo& r, PlanPoint a, PlanPoint b, double w) {
  const double h = r.Altura;
  const double along = r.Giro + 100;
  const double length = distance(a, b);
  // Ends ordered along the text.
  if (length > 0 && std::cos((direction(a, b) - along) * 3.141592654 / 200) < 0) std::swap(a, b);
  const bool fits = 2 * h + w < length;
  const PlanPoint middle{(a.x + b.x) / 2, (a.y + b.y) / 2};
  const PlanPoint start = fits ? point_at(middle, -w / 2, along) : point_at(b, h, along);
  const FirstLine first{point_at(start, kTextGap * h, r.Giro)};
  if (length == 0) return first;
  if (fits) {
    mark_segment(ws, a, b, r.CapaR);
    mark_arrow(ws, a, along + 200, h, r.CapaR);
    mark_arrow(ws, b, along, h, r.CapaR);
  } else {  // arrows outside, pointing in
    mark_segment(ws, point_at(a, -kArrowLength * h, along), point_at(b, kArrowLength * h, along), r.CapaR);
    mark_arrow(ws, a, along, h, r.CapaR);
    mark_arrow(ws, b, along + 200, h, r.CapaR);
  }
  return first;
}

// Rebuilds the text of kinds "5", "6", "7" and places it.
FirstLine dimension_label(LabelWorkspace& ws, t_Rotulo& r, std::string_view kind) {
  const PlanPoint a{r.Xr, r.Yr};
  PlanPoint b{r.Xr2, r.Yr2};
  double value = 0;
  if (kind == "5") {
    value = distance(a, b);
    r.Giro = readable_giro(direction(a, b));
  } else if (kind == "6") {
    value = std::abs(r.Xr - r.Xr2);
    r.Giro = 0;
    mark_segment(ws, b, {b.x, a.y}, r.CapaR);  // extension line from the second point
    b.y = a.y;
  } else {
    value = std::abs(r.Yr - r.Yr2);
    r.Giro = 300;
    mark_segment(ws, b, {a.x, b.y}, r.CapaR);
    b.x = a.x;
  }
  r.Texto = model::Formato_Numero(core::Variant(value), 2, 0);
  return place_dimension(ws, r, a, b, Ancho_Texto(ws, r.Texto, r.Altura, r.Estilo));
}

// Kind "8": arrow at the first point, elbow at the second, shoulder to the
// third; the text beyond the shoulder's end, centred on it.
FirstLine elbow_label(LabelWorkspace& ws, t_Rotulo& r, double w) {
  const PlanPoint p1{r.Xr, r.Yr}, p2{r.Xr2, r.Yr2}, p3{r.Xr3, r.Yr3};
  const double h = r.Altura;
  const double along = r.Giro + 100;
  mark_segment(ws, p1, p2, r.CapaR);
  mark_segment(ws, p2, p3, r.CapaR);
  if (!(p1 == p2)) mark_arrow(ws, p1, direction(p2, p1), h, r.CapaR);
  const bool right = p2 == p3 || std::cos((direction(p2, p3) - along) * 3.141592654 / 200) >= 0;
  const PlanPoint centre = point_at(p3, -kTextHeight * h / 2, r.Giro);
  return {point_at(centre, right ? kTextGap * h : -(kTextGap * h + w), along), !right};
}

// Kinds "1", "9", "21": the text at its point, underlined below its last
// line, with a leader from the underline's nearer end: "1" to the second
// point, ending in an arrowhead; "9" to the second point, a plain line;
// "21" (count above 1) to the second and third points, with arrowheads. A
// target at (0, 0) is a point the host left unset: no leader goes there.
void leader_marks(LabelWorkspace& ws, const t_Rotulo& r, const TextBlock& block) {
  const double h = r.Altura;
  const double below = (static_cast<double>(block.lines.size()) - 1) * kLinePitch * h + kUnderline * h;
  const PlanPoint start = point_at({r.Xr, r.Yr}, -below, r.Giro);
  const PlanPoint end = point_at(start, block.widest, r.Giro + 100);
  mark_segment(ws, start, end, r.CapaR);
  const std::array<PlanPoint, 2> targets{{{r.Xr2, r.Yr2}, {r.Xr3, r.Yr3}}};
  std::size_t count = 0;
  if (r.Texto3 == "1" || r.Texto3 == "9") count = 1;
  if (r.Texto3 == "21" && r.Cuenta > 1) count = 2;
  for (std::size_t k = 0; k < count; ++k) {
    const PlanPoint target = targets[k];
    const PlanPoint from = distance(start, target) <= distance(end, target) ? start : end;
    if (from == target || target == PlanPoint{}) continue;
    mark_segment(ws, from, target, r.CapaR);
    if (r.Texto3 != "9") mark_arrow(ws, target, direction(from, target), h, r.CapaR);
  }
}

// Appends one ordinary label for each line after the first, below it.
void append_lines(LabelWorkspace& ws, std::int32_t i, const TextBlock& block, FirstLine first) {
  const t_Rotulo base = ws.m.Rotulos[i];
  const double along = base.Giro + 100;
  const PlanPoint right_end = point_at(first.at, block.widths[0], along);
  for (std::size_t k = 1; k < block.lines.size(); ++k) {
    PlanPoint at = first.right_aligned ? point_at(right_end, -block.widths[k], along) : first.at;
    at = point_at(at, -static_cast<double>(k) * kLinePitch * base.Altura, base.Giro);
    t_Rotulo line = base;
    line.Texto = block.lines[k];
    line.Texto3.clear();
    line.Xr = line.Xc = at.x;
    line.Yr = line.Yc = at.y;
    append_label(ws.m, std::move(line));
  }
}

bool measured_kind(std::string_view kind) {
  return kind == "1" || kind == "8" || kind == "9" || kind == "21";
}

}  // namespace

double Ancho_Texto(LabelWorkspace& ws, const std::string& text, double size, const std::string& face) {
  return ws.measure.width(text, size, face);
}

void Coloca_Rotulo(LabelWorkspace& ws, std::int32_t i, std::int32_t /*mode*/) {
  model::DrawingModel& m = ws.m;
  if (m.NumRotulos == 0 || i > m.NumRotulos) return;
  t_Rotulo& r = m.Rotulos[i];
  if (!m.Opciones.ticked(model::kChkCurv) && r.DeCurva == 1) return;
  ws.reference = {r.Xr, r.Yr};
  const std::string kind = r.Texto3;
  if (kind == "11" || kind == "12") return expand_frame(ws, i);
  FirstLine first{{r.Xr, r.Yr}};
  if (kind == "5" || kind == "6" || kind == "7") {
    first = dimension_label(ws, r, kind);
    r.Xc = first.at.x;
    r.Yc = first.at.y;
    return;  // a rebuilt text is one line
  }
  const bool measured = measured_kind(kind);
  if (!measured && r.Texto.find('#') == std::string::npos) return;  // an ordinary one-line label
  const TextBlock block = measure_block(ws, r, measured);
  r.Texto = block.lines[0];
  if (kind == "8") {
    first = elbow_label(ws, r, block.widths[0]);
    r.Xc = first.at.x;
    r.Yc = first.at.y;
  } else if (kind == "1" || kind == "9" || kind == "21") {
    leader_marks(ws, r, block);
  }
  if (ws.PrimeraPasada && block.lines.size() > 1) append_lines(ws, i, block, first);
}

}  // namespace kestrel::exporting
