#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/collision/query.h"
#include "base/collision/triangle.h"

namespace veltrane::collision {

// A static bounding-volume hierarchy of axis-aligned boxes over float
// triangles, split by a binned surface-area heuristic. Queries visit only the
// boxes they touch, so a ray or sphere costs about O(log n) on terrain.
// Results match ScanRay / ScanSphere: for closest rays the same triangle and
// point, ties going to the lowest index.
class AabbTree {
 public:
  AabbTree() = default;
  // Non-finite triangles must have been filtered out by the caller. The tree
  // keeps the triangles it is given, reordered: move them in to keep one copy.
  explicit AabbTree(std::vector<Triangle> tris);

  bool CastRay(const Ray& ray, bool closest, QueryHit& hit) const;
  bool TouchSphere(const Vec3& centre, double radius, QueryHit& hit) const;

  std::size_t TriangleCount() const { return tris_.size(); }
  // The triangle added as number `id` (ids as in QueryHit::triangle).
  const Triangle& TriangleById(std::uint32_t id) const { return tris_[slotOf_[id]]; }
  // All triangles back in their order of addition.
  std::vector<Triangle> TrianglesInOrder() const;
  std::size_t NodeCount() const { return nodes_.size(); }
  int Depth() const { return depth_; }

 private:
  // 32 bytes. count > 0: a leaf over tris_[first, first + count);
  // count == 0: children at first and first + 1.
  struct Node {
    float lo[3];
    std::uint32_t first;
    float hi[3];
    std::uint32_t count;
  };

  void Build(std::vector<Triangle> input);

  std::vector<Node> nodes_;
  std::vector<Triangle> tris_;         // in leaf order
  std::vector<std::uint32_t> ids_;     // index of addition of each tris_ entry
  std::vector<std::uint32_t> slotOf_;  // the inverse: tris_ entry of each index of addition
  int depth_ = 0;
};

}  // namespace veltrane::collision
