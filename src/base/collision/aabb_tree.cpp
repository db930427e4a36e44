#include "base/collision/aabb_tree.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

namespace veltrane::collision {
namespace {

constexpr int kBins = 16;
constexpr std::uint32_t kMaxLeaf = 8;  // leaves may hold up to this many when cheaper
constexpr std::uint32_t kMinLeaf = 2;  // ranges this small are never split
// Deep enough for any sane mesh; the traversal stack is sized from it.
constexpr int kMaxDepth = 64;
constexpr int kStackSize = kMaxDepth + 2;

struct Box {
  float lo[3] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max(),
                 std::numeric_limits<float>::max()};
  float hi[3] = {std::numeric_limits<float>::lowest(), std::numeric_limits<float>::lowest(),
                 std::numeric_limits<float>::lowest()};

  void Grow(const Vec3f& p) {
    for (int i = 0; i < 3; ++i) {
      lo[i] = std::min(lo[i], p[i]);
      hi[i] = std::max(hi[i], p[i]);
    }
  }
  void Grow(const Box& b) {
    for (int i = 0; i < 3; ++i) {
      lo[i] = std::min(lo[i], b.lo[i]);
      hi[i] = std::max(hi[i], b.hi[i]);
    }
  }
  bool Empty() const { return lo[0] > hi[0]; }
  double HalfArea() const {
    if (Empty()) return 0.0;
    const double dx = double(hi[0]) - lo[0], dy = double(hi[1]) - lo[1], dz = double(hi[2]) - lo[2];
    return dx * dy + dy * dz + dz * dx;
  }
};

struct Item {
  Box box;
  Vec3f centre;
};

struct Task {
  std::uint32_t node, begin, end;
  int depth;
};

}  // namespace

AabbTree::AabbTree(std::vector<Triangle> tris) { Build(std::move(tris)); }

void AabbTree::Build(std::vector<Triangle> input) {
  const auto n = static_cast<std::uint32_t>(input.size());
  nodes_.clear();
  tris_.clear();
  ids_.clear();
  depth_ = 0;
  if (n == 0) return;

  std::vector<Item> items(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    const Triangle& t = input[i];
    items[i].box.Grow(t.a);
    items[i].box.Grow(t.b);
    items[i].box.Grow(t.c);
    for (int k = 0; k < 3; ++k)
      items[i].centre[k] = (items[i].box.lo[k] + items[i].box.hi[k]) * 0.5f;
  }
  std::vector<std::uint32_t> order(n);
  for (std::uint32_t i = 0; i < n; ++i) order[i] = i;

  nodes_.push_back({});
  std::vector<Task> tasks{{0, 0, n, 1}};
  while (!tasks.empty()) {
    const Task task = tasks.back();
    tasks.pop_back();
    depth_ = std::max(depth_, task.depth);

    Box bounds, centres;
    for (std::uint32_t i = task.begin; i < task.end; ++i) {
      bounds.Grow(items[order[i]].box);
      centres.Grow(items[order[i]].centre);
    }
    // Pad a little so the slack of the triangle test never falls outside its box.
    Node& node = nodes_[task.node];
    const float ext = std::max(
        {bounds.hi[0] - bounds.lo[0], bounds.hi[1] - bounds.lo[1], bounds.hi[2] - bounds.lo[2]});
    for (int k = 0; k < 3; ++k) {
      const float pad = ext * 1e-6f;
      node.lo[k] = std::nextafter(bounds.lo[k] - pad, std::numeric_limits<float>::lowest());
      node.hi[k] = std::nextafter(bounds.hi[k] + pad, std::numeric_limits<float>::max());
    }
    const std::uint32_t count = task.end - task.begin;
    auto make_leaf = [&] {
      Node& leaf = nodes_[task.node];
      leaf.first = task.begin;
      leaf.count = count;
    };

    int axis = 0;
    for (int k = 1; k < 3; ++k)
      if (centres.hi[k] - centres.lo[k] > centres.hi[axis] - centres.lo[axis]) axis = k;
    const double cmin = centres.lo[axis];
    const double cext = double(centres.hi[axis]) - cmin;
    // All centres in one spot: no split separates them.
    if (count <= kMinLeaf || task.depth >= kMaxDepth || !(cext > 0.0)) {
      make_leaf();
      continue;
    }

    const double scale = kBins / cext;
    auto bin_of = [&](std::uint32_t id) {
      const int b = static_cast<int>((items[id].centre[axis] - cmin) * scale);
      return std::clamp(b, 0, kBins - 1);
    };
    std::array<Box, kBins> bin_box;
    std::array<std::uint32_t, kBins> bin_count{};
    for (std::uint32_t i = task.begin; i < task.end; ++i) {
      const int b = bin_of(order[i]);
      bin_box[b].Grow(items[order[i]].box);
      ++bin_count[b];
    }
    // Cost of splitting after bin k: left area * left count + right area * right count.
    std::array<double, kBins> left_cost{};
    Box acc;
    std::uint32_t acc_n = 0;
    for (int k = 0; k < kBins - 1; ++k) {
      acc.Grow(bin_box[k]);
      acc_n += bin_count[k];
      left_cost[k] = acc.HalfArea() * acc_n;
    }
    acc = Box{};
    acc_n = 0;
    double best_cost = std::numeric_limits<double>::infinity();
    int best_split = -1;
    for (int k = kBins - 1; k > 0; --k) {
      acc.Grow(bin_box[k]);
      acc_n += bin_count[k];
      if (acc_n == 0 || acc_n == count) continue;
      const double cost = left_cost[k - 1] + acc.HalfArea() * acc_n;
      if (cost < best_cost) {
        best_cost = cost;
        best_split = k;
      }
    }
    const double leaf_cost = bounds.HalfArea() * count;
    // One box visit costs about as much as one triangle test.
    if (count <= kMaxLeaf && leaf_cost <= bounds.HalfArea() + best_cost) {
      make_leaf();
      continue;
    }

    std::uint32_t mid;
    if (best_split > 0) {
      auto* split = std::partition(order.data() + task.begin, order.data() + task.end,
                                   [&](std::uint32_t id) { return bin_of(id) < best_split; });
      mid = static_cast<std::uint32_t>(split - order.data());
    } else {
      // Binning could not separate them (rounding); fall back to the median.
      mid = task.begin + count / 2;
      std::nth_element(order.data() + task.begin, order.data() + mid, order.data() + task.end,
                       [&](std::uint32_t x, std::uint32_t y) {
                         return items[x].centre[axis] < items[y].centre[axis];
                       });
    }
    const auto left = static_cast<std::uint32_t>(nodes_.size());
    nodes_[task.node].first = left;
    nodes_[task.node].count = 0;
    nodes_.push_back({});
    nodes_.push_back({});
    tasks.push_back({left, task.begin, mid, task.depth + 1});
    tasks.push_back({left + 1, mid, task.end, task.depth + 1});
  }

  // A terrain's tree lives as long as the landscape: no spare capacity, and
  // the scratch goes before the triangles are put in leaf order, in place.
  std::vector<Item>().swap(items);
  nodes_.shrink_to_fit();
  ids_ = std::move(order);
  slotOf_.resize(n);
  for (std::uint32_t i = 0; i < n; ++i) slotOf_[ids_[i]] = i;
  std::vector<bool> placed(n, false);
  for (std::uint32_t start = 0; start < n; ++start) {
    if (placed[start]) continue;
    // Follow the cycle: slot j takes the triangle from slot ids_[j].
    const Triangle first = input[start];
    std::uint32_t j = start;
    while (ids_[j] != start) {
      input[j] = input[ids_[j]];
      placed[j] = true;
      j = ids_[j];
    }
    input[j] = first;
    placed[j] = true;
  }
  tris_ = std::move(input);
}

std::vector<Triangle> AabbTree::TrianglesInOrder() const {
  std::vector<Triangle> out(tris_.size());
  for (std::size_t i = 0; i < tris_.size(); ++i) out[ids_[i]] = tris_[i];
  return out;
}

namespace {

// Precomputed reciprocal direction; a zero component becomes a huge finite
// value so the slab arithmetic never meets 0 * infinity.
struct RaySetup {
  double o[3], inv[3];
  explicit RaySetup(const Ray& r) {
    const double d[3] = {r.direction.x, r.direction.y, r.direction.z};
    o[0] = r.origin.x;
    o[1] = r.origin.y;
    o[2] = r.origin.z;
    for (int k = 0; k < 3; ++k) inv[k] = d[k] != 0.0 ? 1.0 / d[k] : std::copysign(1e300, d[k]);
  }
};

template <typename N>
bool SlabHit(const N& node, const RaySetup& s, double tmin, double tmax, double& tnear) {
  for (int k = 0; k < 3; ++k) {
    const double t1 = (double(node.lo[k]) - s.o[k]) * s.inv[k];
    const double t2 = (double(node.hi[k]) - s.o[k]) * s.inv[k];
    tmin = std::max(tmin, std::min(t1, t2));
    tmax = std::min(tmax, std::max(t1, t2));
  }
  tnear = tmin;
  return tmin <= tmax;
}

template <typename N>
double BoxDistance2(const N& node, const Vec3& p) {
  const double c[3] = {p.x, p.y, p.z};
  double d2 = 0.0;
  for (int k = 0; k < 3; ++k) {
    const double d = std::max({double(node.lo[k]) - c[k], 0.0, c[k] - double(node.hi[k])});
    d2 += d * d;
  }
  return d2;
}

}  // namespace

bool AabbTree::CastRay(const Ray& ray, bool closest, QueryHit& hit) const {
  if (nodes_.empty() || !IsUsable(ray)) return false;
  const RaySetup setup(ray);
  double tnear;
  if (!SlabHit(nodes_[0], setup, ray.tmin, ray.tmax, tnear)) return false;

  struct Entry {
    std::uint32_t node;
    double tnear;
  };
  Entry stack[kStackSize];
  int top = 0;
  stack[top++] = {0, tnear};
  bool found = false;
  Ray r = ray;  // r.tmax shrinks to the best hit so far
  while (top > 0) {
    const Entry e = stack[--top];
    if (e.tnear > r.tmax) continue;
    const Node& node = nodes_[e.node];
    if (node.count > 0) {
      for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
        RayTriangleHit h;
        if (!IntersectRayTriangle(r, tris_[i], h)) continue;
        if (found && (h.t > hit.t || (h.t == hit.t && ids_[i] > hit.triangle))) continue;
        found = true;
        hit.triangle = ids_[i];
        hit.point = h.point;
        hit.t = h.t;
        if (!closest) return true;
        r.tmax = h.t;
      }
      continue;
    }
    double tl, tr;
    const bool hl = SlabHit(nodes_[node.first], setup, r.tmin, r.tmax, tl);
    const bool hr = SlabHit(nodes_[node.first + 1], setup, r.tmin, r.tmax, tr);
    // Near child on top so the closest hit is found early and prunes the rest.
    if (hl && hr) {
      if (tl <= tr) {
        stack[top++] = {node.first + 1, tr};
        stack[top++] = {node.first, tl};
      } else {
        stack[top++] = {node.first, tl};
        stack[top++] = {node.first + 1, tr};
      }
    } else if (hl) {
      stack[top++] = {node.first, tl};
    } else if (hr) {
      stack[top++] = {node.first + 1, tr};
    }
  }
  return found;
}

bool AabbTree::TouchSphere(const Vec3& centre, double radius, QueryHit& hit) const {
  if (nodes_.empty() || !IsUsable(centre, radius)) return false;
  const double r2 = radius * radius;
  std::uint32_t stack[kStackSize];
  int top = 0;
  if (BoxDistance2(nodes_[0], centre) > r2) return false;
  stack[top++] = 0;
  while (top > 0) {
    const Node& node = nodes_[stack[--top]];
    if (node.count > 0) {
      for (std::uint32_t i = node.first; i < node.first + node.count; ++i) {
        Vec3 q;
        if (ClosestPointOnTriangle(centre, tris_[i], q) <= r2) {
          hit.triangle = ids_[i];
          hit.point = q;
          hit.t = 0.0;
          return true;
        }
      }
      continue;
    }
    for (std::uint32_t c = node.first; c < node.first + 2; ++c)
      if (BoxDistance2(nodes_[c], centre) <= r2) stack[top++] = c;
  }
  return false;
}

}  // namespace veltrane::collision
