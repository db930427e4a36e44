#pragma once

#include <memory>
#include <vector>

#include "base/rm/rm.h"
#include "sim/sim_state.h"
#include "sim/world.h"

namespace veltrane {

// How a thermal is drawn: the circle inside which it lifts at least
// kUsefulLift (its core radius scaled by how far it beats that), and an
// opacity that grows with its strength. Radius 0: not drawn.
struct ColumnLook {
  double radius = 0.0;
  std::uint8_t alpha = 0;
};
ColumnLook ColumnLookOf(const Thermal& t);

// The thermals as faint vertical columns over the ground, for learning to
// find and centre them. Only drawn: the flight never sees them. Each column is
// a frame of its own, moved every frame as the thermals drift; its mesh is
// built again only when its thermal's strength or radius changes.
class ThermalColumns {
 public:
  static constexpr double kUsefulLift = 0.3;  // m/s, about a glider's sink
  static constexpr double kHeight = 300.0;    // m above the ground
  static constexpr double kRange = 1000.0;    // m around the model

  ThermalColumns(rm::Root& root, std::shared_ptr<rm::Frame> parent)
      : root_(root), parent_(std::move(parent)) {}
  ~ThermalColumns();
  ThermalColumns(const ThermalColumns&) = delete;
  ThermalColumns& operator=(const ThermalColumns&) = delete;

  // Shows the active thermals near `around` (none while `shown` is false).
  void Update(const ThermalTable& table, const Vec3& around, const World& ground, bool shown);
  // Columns drawn now.
  int Shown() const;

 private:
  struct Column {
    std::shared_ptr<rm::Frame> frame;
    std::shared_ptr<rm::MeshBuilder> mesh;
    ColumnLook look;
    bool shown = false;
  };
  void Show(Column& c, bool shown);

  rm::Root& root_;
  std::shared_ptr<rm::Frame> parent_;
  std::vector<Column> columns_;
};

}  // namespace veltrane
