#include "sim/air/slope_flow.h"

#include <cmath>

namespace veltrane {
namespace {
// Placeholder until the potential-flow solution lands: the free stream everywhere.
class UniformFlow final : public SlopeFlow {
 public:
  UniformFlow(const TerrainGrid& t, double from) : SlopeFlow(t, from) {
    const double a = from * 3.141592653589793 / 180.0;
    dir_ = {-std::sin(a), -std::cos(a), 0.0};
  }
  Vec3 FactorAt(double, double, double) const override { return dir_; }

 private:
  Vec3 dir_;
};
}  // namespace

std::shared_ptr<const SlopeFlow> SlopeFlow::Compute(const TerrainGrid& terrain, double from) {
  return std::make_shared<UniformFlow>(terrain, from);
}

}  // namespace veltrane
