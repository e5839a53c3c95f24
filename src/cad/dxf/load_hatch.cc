// HATCH records: boundary loops are either polylines (vertices and
// bulges) or chains of edges (lines, arcs, ellipses, splines). memcad keeps
// each loop as a closed path of vertices and bulges: line and arc edges map
// onto it exactly; ellipse and spline edges are kept as the chord through
// their end and control points, and the load report says so.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "cad/dxf/entity_fields.h"
#include "cad/dxf/loader.h"
#include "cad/dxf/number_text.h"
#include "cad/memcad/faces.h"

namespace kestrel::dxf {

namespace {

using namespace memcad;

// Codes that only follow the loops; a loop never holds them.
bool after_loops(int code) noexcept { return code == 75 || code == 76 || code == 98; }

class HatchCursor {
 public:
  HatchCursor(const Record& record, const GroupReader& reader) : record_(record), reader_(reader) {}

  [[nodiscard]] bool done() const noexcept { return i_ >= record_.size(); }
  [[nodiscard]] const Group& peek() const { return record_[i_]; }
  const Group& take() { return record_[i_++]; }
  // Skips to the next group with `code`, stopping before any `after_loops` code.
  bool seek(int code) {
    while (!done() && peek().code != code && !after_loops(peek().code)) ++i_;
    return !done() && peek().code == code;
  }
  [[nodiscard]] std::size_t remaining() const noexcept { return record_.size() - i_; }
  [[nodiscard]] double real(const Group& g) const { return reader_.real(g); }
  [[nodiscard]] std::int64_t integer(const Group& g) const { return reader_.integer(g); }

 private:
  const Record& record_;
  const GroupReader& reader_;
  std::size_t i_ = 1;
};

void add_vertex(HatchLoop& loop, double x, double y, double bulge) {
  loop.xy.push_back(x);
  loop.xy.push_back(y);
  loop.bulges.push_back(bulge);
}

void polyline_loop(HatchCursor& cur, HatchLoop& loop) {
  while (!cur.done()) {
    const int code = cur.peek().code;
    if (code == 97 || code == 92 || after_loops(code)) return;
    const Group& g = cur.take();
    if (code == 10) add_vertex(loop, cur.real(g), 0, 0);
    if (code == 20 && !loop.xy.empty()) loop.xy.back() = cur.real(g);
    if (code == 42 && !loop.bulges.empty()) loop.bulges.back() = cur.real(g);
  }
}

// One edge's groups, read by what they mean; `approximated` counts edges
// that are not lines or arcs.
struct Edge {
  int type = 0;
  double x[4] = {0, 0, 0, 0};  // 10, 20, 11, 21
  double radius = 0;
  double start = 0;  // degrees
  double end = 0;
  bool ccw = true;
  std::vector<double> control;  // spline control points, x y pairs
};

Edge read_edge(HatchCursor& cur, int type) {
  Edge e;
  e.type = type;
  while (!cur.done()) {
    const int code = cur.peek().code;
    if (code == 72 || code == 97 || code == 92 || after_loops(code)) break;
    const Group& g = cur.take();
    switch (code) {
      case 10:
        if (type == 4) e.control.insert(e.control.end(), {cur.real(g), 0});
        else e.x[0] = cur.real(g);
        break;
      case 20:
        if (type == 4 && !e.control.empty()) e.control.back() = cur.real(g);
        else e.x[1] = cur.real(g);
        break;
      case 11: e.x[2] = cur.real(g); break;
      case 21: e.x[3] = cur.real(g); break;
      case 40: e.radius = type == 4 ? e.radius : cur.real(g); break;
      case 50: e.start = cur.real(g); break;
      case 51: e.end = cur.real(g); break;
      case 73: e.ccw = type == 4 || cur.integer(g) != 0; break;
      default: break;
    }
  }
  return e;
}

// An arc edge as a start vertex and bulge. Clockwise arcs store their
// angles mirrored (360 - a).
void add_arc(HatchLoop& loop, const Edge& e) {
  double start = e.start;
  double end = e.end;
  if (!e.ccw) {
    start = -start;
    end = -end;
  }
  double sweep = std::fmod(e.ccw ? end - start : start - end, 360.0);
  if (sweep <= 0) sweep += 360;
  const double a = degrees_to_radians(start);
  const double bulge = std::tan(degrees_to_radians(sweep) / 4);
  add_vertex(loop, e.x[0] + e.radius * std::cos(a), e.x[1] + e.radius * std::sin(a), e.ccw ? bulge : -bulge);
}

std::size_t edge_loop(HatchCursor& cur, HatchLoop& loop) {
  std::size_t approximated = 0;
  while (!cur.done()) {
    const int code = cur.peek().code;
    if (code == 97 || code == 92 || after_loops(code)) break;
    if (code != 72) {  // the edge count (93) and anything unexpected
      (void)cur.take();
      continue;
    }
    const Edge e = read_edge(cur, static_cast<int>(cur.integer(cur.take())));
    if (e.type == 1) {
      add_vertex(loop, e.x[0], e.x[1], 0);
    } else if (e.type == 2) {
      add_arc(loop, e);
    } else if (e.type == 3) {
      add_vertex(loop, e.x[0] + e.x[2], e.x[1] + e.x[3], 0);
      ++approximated;
    } else if (e.type == 4) {
      for (std::size_t i = 0; i + 1 < e.control.size(); i += 2) add_vertex(loop, e.control[i], e.control[i + 1], 0);
      ++approximated;
    }
  }
  return approximated;
}

// A hatch seen from below (extrusion -Z) is the mirror image in x of its
// outline: turned over, it keeps no normal of its own.
void turn_over(Hatch& h) {
  for (HatchLoop& loop : h.loops) {
    for (std::size_t i = 0; i < loop.xy.size(); i += 2) loop.xy[i] = -loop.xy[i];
    for (double& b : loop.bulges) b = -b;
  }
  h.elevation = -h.elevation;
  h.pattern_angle = normalize_angle(std::numbers::pi - h.pattern_angle);
}

}  // namespace

// memcad hatches lie in plan: one whose extrusion is -Z is turned over; a
// tilted one keeps its outline in its own system (counted in the report).
void DocumentLoader::face_up(Hatch& h, const Vec3& extrusion) {
  constexpr double kPlan = 1e-9;
  if (std::abs(extrusion.x) > kPlan || std::abs(extrusion.y) > kPlan) {
    ++tilted_hatches_;
  } else if (extrusion.z < 0) {
    turn_over(h);
  }
}

void DocumentLoader::hatch(Block* target) {
  CommonGroups c;
  auto h = make_entity<Hatch>();
  HatchCursor cur(record_, reader_);
  while (!cur.done() && cur.peek().code != 91) {
    const Group& g = cur.take();
    if (common_group(g, c)) continue;
    if (g.code == 2) h->pattern_name = decoder_.decode(g.value);
    if (g.code == 30) h->elevation = reader_.real(g);
  }
  std::size_t approximated = 0;
  if (!cur.done()) {
    const Group& count = cur.take();
    const std::size_t loops = reader_.count(count, cur.remaining());
    for (std::size_t i = 0; i < loops && cur.seek(92); ++i) {
      const std::int64_t flags = cur.integer(cur.take());
      HatchLoop loop;
      loop.outer = (flags & (1 | 16)) != 0;
      if ((flags & 2) != 0) {
        polyline_loop(cur, loop);
      } else {
        approximated += edge_loop(cur, loop);
      }
      if (std::all_of(loop.bulges.begin(), loop.bulges.end(), [](double b) { return b == 0; })) loop.bulges.clear();
      if (!loop.xy.empty()) h->loops.push_back(std::move(loop));
    }
  }
  while (!cur.done()) {
    const Group& g = cur.take();
    if (g.code == 75) h->hatch_style = static_cast<std::int16_t>(reader_.integer(g));
    if (g.code == 76) h->pattern_type = swap_pattern_type_numbering(static_cast<std::int16_t>(reader_.integer(g)));
    if (g.code == 52) h->pattern_angle = degrees_to_radians(reader_.real(g));
    if (g.code == 41) h->pattern_scale = reader_.real(g);
  }
  if (!h->loops.empty() && std::none_of(h->loops.begin(), h->loops.end(), [](const HatchLoop& l) { return l.outer; })) {
    h->loops.front().outer = true;
  }
  face_up(*h, c.extrusion);
  if (approximated > 0) {
    note("Sombreado de la línea " + std::to_string(record_[0].line) + ": " + std::to_string(approximated) +
         " bordes de elipse o spline se leen como segmentos rectos");
  }
  place(target, "HATCH", std::move(h), c);
}

}  // namespace kestrel::dxf
