#pragma once

#include <string>
#include <vector>

#include "record/flight_folder.h"

namespace veltrane::ui {

// "Flug abspielen..." and "Flug als Geist zeigen...": the recorded flights,
// newest first, with date, model, landscape and duration; Ok hands the
// chosen file on.
class FlightListDialog {
 public:
  enum class Purpose { Replay, Ghost };

  // `recording`, when given, is left out of the list.
  void Open(const std::string& folder, Purpose purpose, const std::string& recording = {});
  // The table's cells of row i: date, model, landscape, duration ("1:05").
  std::vector<std::string> Row(std::size_t i) const;
  // The chosen file; empty when nothing playable is selected.
  std::string Button1Click() const;
  // Why the selected file cannot be replayed; empty when it can.
  std::string SelectedProblem() const;

  Purpose purpose = Purpose::Replay;
  std::vector<record::FlightEntry> flights;
  int selected = -1;
};

// "1:05" for 65 s, "1:02:03" from an hour.
std::string DurationText(double seconds);

}  // namespace veltrane::ui
