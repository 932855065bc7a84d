// Ellipses: the integer ellipse walk, the counter-clockwise outline and arc point sequences
// with their radial search, and for boxes too large to walk an approximating polygon refined
// only where it comes near the visible box.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/canvas/Raster.h"

namespace varnel::raster {

std::vector<TPoint64> QuadrantPoints(i64 w, i64 h) {
  std::vector<TPoint64> out;
  if (w <= 0 || h <= 0) return out;
  const i64 a = w - 1, b = h - 1;
  const i64 a2 = 8 * a * a, b2 = 8 * b * b;
  i64 dX = 4 * b * b * (1 - a), dY = 4 * a * a * (1 + b % 2);
  i64 err = dX + dY + a * a * (b % 2);
  i64 x = a, y = h / 2;
  // The walk ends when x passes the middle column; a very thin box could keep stepping down,
  // so the rows and the step count are bounded too.
  for (i64 guard = w + h + 4; x >= w / 2 && y < h && guard > 0; --guard) {
    out.push_back({x, y});
    const i64 e2 = 2 * err;
    if (e2 >= dX) {
      --x;
      dX += b2;
      err += dX;
    }
    if (e2 <= dY) {
      ++y;
      dY += a2;
      err += dY;
    }
  }
  return out;
}

std::vector<std::pair<i64, i64>> EllipseFillRows(i64 w, i64 h) {
  std::vector<std::pair<i64, i64>> rows(static_cast<std::size_t>(std::max<i64>(h, 0)), {1, 0});
  if (w <= 0 || h <= 0) return rows;
  if (w <= 2 || h <= 2) {
    for (auto& r : rows) r = {0, w - 1};
    return rows;
  }
  for (const TPoint64& p : QuadrantPoints(w, h)) {
    for (const i64 y : {p.y, h - 1 - p.y}) {
      auto& r = rows[static_cast<std::size_t>(y)];
      if (r.first > r.second || p.x > r.second) r = {w - 1 - p.x, p.x};
    }
  }
  return rows;
}

namespace {

// The index of a direction (X, Y up-positive) in the 4n-point outline sequence.
i64 DirectionIndex(const std::vector<TPoint64>& p, i64 X, i64 Y) {
  const i64 n = static_cast<i64>(p.size());
  const auto first = [&](auto pred) {
    for (i64 i = 0; i < n; ++i)
      if (pred(p[static_cast<std::size_t>(i)])) return i;
    return n;
  };
  // Products stay within 64 bits: |p| < 2^15 and |X|, |Y| < 2^33.
  if (Y >= 0 && X >= 0) return first([&](const TPoint64& q) { return q.x * Y <= q.y * X; });
  if (Y >= 0) return 2 * n - first([&](const TPoint64& q) { return q.x * Y < q.y * -X; });
  if (X >= 0) return 4 * n - first([&](const TPoint64& q) { return q.x * -Y <= q.y * X; });
  return 2 * n + first([&](const TPoint64& q) { return q.x * -Y < q.y * -X; });
}

TEllipsePath ExactPath(const TBox& box, bool full, TPoint64 s, TPoint64 e) {
  TEllipsePath out;
  const i64 W = box.R - box.L, H = box.B - box.T;
  std::vector<TPoint64> p = QuadrantPoints(W, H);
  const i64 n = static_cast<i64>(p.size());
  if (n == 0) return out;
  for (auto& q : p) q = {q.x - W / 2, q.y - H / 2};
  const auto at = [&](i64 idx) -> TPoint64 {
    const i64 k = idx / n, j = idx % n, jr = n - 1 - j;
    const TPoint64 pj = p[static_cast<std::size_t>(j)], pr = p[static_cast<std::size_t>(jr)];
    switch (k) {
      case 0: return {box.L + W / 2 + pj.x, box.B - 1 - H / 2 - pj.y};
      case 1: return {box.R - 1 - W / 2 - pr.x, box.B - 1 - H / 2 - pr.y};
      case 2: return {box.R - 1 - W / 2 - pj.x, box.T + H / 2 + pj.y};
      default: return {box.L + W / 2 + pr.x, box.T + H / 2 + pr.y};
    }
  };
  i64 first = 0, last = 4 * n;
  if (!full) {
    const TPoint64 c{box.L + W / 2, box.T + H / 2};
    first = DirectionIndex(p, s.x - c.x, c.y - s.y) % (4 * n);
    last = DirectionIndex(p, e.x - c.x, c.y - e.y) % (4 * n);
    if (last <= first) last += 4 * n;
  }
  out.Points.reserve(static_cast<std::size_t>(last - first));
  for (i64 i = first; i < last; ++i) out.Points.push_back(at(i % (4 * n)));
  return out;
}

// A giant box: the ellipse as a polygon through points of the real ellipse, fine (about one
// pixel) only where a piece comes within the margin of the visible box.
TEllipsePath ApproxPath(const TBox& box, bool full, TPoint64 s, TPoint64 e, const TBox& visible, i64 margin) {
  TEllipsePath out;
  out.Exact = false;
  const double cx = (static_cast<double>(box.L) + static_cast<double>(box.R) - 1) / 2;
  const double cy = (static_cast<double>(box.T) + static_cast<double>(box.B) - 1) / 2;
  const double rx = (static_cast<double>(box.R - box.L) - 1) / 2, ry = (static_cast<double>(box.B - box.T) - 1) / 2;
  constexpr double kTwoPi = 2 * std::numbers::pi;
  double t0 = 0, t1 = kTwoPi;
  if (!full) {
    const double ccx = static_cast<double>(box.L + (box.R - box.L) / 2), ccy = static_cast<double>(box.T + (box.B - box.T) / 2);
    const auto param = [&](TPoint64 q) {
      const double X = static_cast<double>(q.x) - ccx, Y = ccy - static_cast<double>(q.y);
      double t = std::atan2(Y * rx, X * ry);
      return t < 0 ? t + kTwoPi : t;
    };
    t0 = param(s);
    t1 = param(e);
    if (t1 <= t0) t1 += kTwoPi;
  }
  constexpr std::size_t kMaxPoints = 1 << 20;
  struct TP {
    double x, y;
  };
  const auto at = [&](double t) { return TP{cx + rx * std::cos(t), cy - ry * std::sin(t)}; };
  const auto round = [](TP p) { return TPoint64{std::llround(p.x), std::llround(p.y)}; };
  const double vl = static_cast<double>(visible.L), vr = static_cast<double>(visible.R - 1);
  const double vt = static_cast<double>(visible.T), vb = static_cast<double>(visible.B - 1);
  // The distance from a piece's box to the visible box, and from a point to the farthest
  // visible corner.
  const auto gap = [&](double l, double t, double r, double b) {
    const double dx = std::max({0.0, l - vr, vl - r}), dy = std::max({0.0, t - vb, vt - b});
    return std::hypot(dx, dy);
  };
  const auto farthest = [&](TP p) {
    return std::hypot(std::max(std::fabs(p.x - vl), std::fabs(p.x - vr)), std::max(std::fabs(p.y - vt), std::fabs(p.y - vb)));
  };
  // Only pieces this close to the visible box can show: half the pen and a little more.
  const double reach = static_cast<double>(margin) / 2 + 3;
  // A pen so wide that its disc at a point of the curve covers the whole visible box makes
  // the stroke that box: that one point stands for the curve (a fill inside is covered too).
  const double cover = margin > 2 ? static_cast<double>(margin - 1) / 2 - 2 : -1;
  if (cover > 0) {
    constexpr int kSamples = 4096;
    double best = t0, bestD = farthest(at(t0));
    for (int i = 1; i <= kSamples; ++i) {
      const double t = t0 + (t1 - t0) * i / kSamples;
      const double d = farthest(at(t));
      if (d < bestD) best = t, bestD = d;
    }
    double lo = std::max(t0, best - (t1 - t0) / kSamples), hi = std::min(t1, best + (t1 - t0) / kSamples);
    for (int i = 0; i < 100; ++i) {  // the distance is smooth near its minimum
      const double m1 = lo + (hi - lo) / 3, m2 = hi - (hi - lo) / 3;
      if (farthest(at(m1)) < farthest(at(m2)))
        hi = m2;
      else
        lo = m1;
    }
    const TP p = at((lo + hi) / 2);
    if (farthest(p) <= cover) {
      out.Points.push_back(round(p));
      return out;
    }
  }
  auto& pts = out.Points;
  pts.push_back(round(at(t0)));
  // Refines [ta, tb] (within one quadrant, so the piece lies in its end points' box) until its
  // chord is within a quarter pixel of the curve; pieces out of reach stay chords.
  const auto refine = [&](auto&& self, double ta, TP pa, double tb, TP pb, int depth) -> void {
    const double l = std::min(pa.x, pb.x), r = std::max(pa.x, pb.x), t = std::min(pa.y, pb.y), b = std::max(pa.y, pb.y);
    const bool nearHere = gap(l, t, r, b) <= reach;
    const double tm = (ta + tb) / 2;
    const TP pm = at(tm);
    const double cx2 = pb.x - pa.x, cy2 = pb.y - pa.y, len = std::hypot(cx2, cy2);
    const double dev = len > 0 ? std::fabs(cx2 * (pm.y - pa.y) - cy2 * (pm.x - pa.x)) / len : 0;
    if (!nearHere || depth >= 64 || pts.size() >= kMaxPoints || (tb - ta < 0.2 && dev <= 0.25) || (r - l <= 1 && b - t <= 1)) {
      const TPoint64 q = round(pb);
      if (!(pts.back() == q)) pts.push_back(q);
      return;
    }
    self(self, ta, pa, tm, pm, depth + 1);
    self(self, tm, pm, tb, pb, depth + 1);
  };
  double ta = t0;
  TP pa = at(t0);
  while (ta < t1) {
    const double q = (std::floor(ta / (std::numbers::pi / 2)) + 1) * (std::numbers::pi / 2);
    const double tb = std::min(q, t1);
    const TP pb = at(tb);
    refine(refine, ta, pa, tb, pb, 0);
    ta = tb;
    pa = pb;
  }
  if (full && pts.size() > 1 && pts.back() == pts.front()) pts.pop_back();
  return out;
}

}  // namespace

TEllipsePath EllipsePath(const TBox& box, bool full, TPoint64 s, TPoint64 e, const TBox& visible, i64 margin) {
  const i64 W = box.R - box.L, H = box.B - box.T;
  if (W <= 0 || H <= 0) return {};
  if (W <= kExactEllipse && H <= kExactEllipse) return ExactPath(box, full, s, e);
  return ApproxPath(box, full, s, e, visible, margin);
}

}  // namespace varnel::raster
