#include "ui/flight_list_dialog.h"

#include <cmath>
#include <cstdio>

namespace veltrane::ui {

std::string DurationText(double seconds) {
  const long total = seconds > 0 ? static_cast<long>(std::lround(seconds)) : 0;
  char text[32];
  if (total >= 3600)
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  else
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  return text;
}

void FlightListDialog::Open(const std::string& folder, Purpose p, const std::string& recording) {
  purpose = p;
  flights = folder.empty() ? std::vector<record::FlightEntry>{} : record::ListFlights(folder);
  std::erase_if(flights, [&](const record::FlightEntry& e) {
    return !recording.empty() && e.path == recording;
  });
  selected = -1;
  // The newest flight that can be replayed is the one most often wanted.
  for (std::size_t i = 0; i < flights.size() && selected < 0; ++i)
    if (flights[i].problem.empty()) selected = static_cast<int>(i);
}

std::vector<std::string> FlightListDialog::Row(std::size_t i) const {
  const record::FlightEntry& e = flights.at(i);
  if (!e.problem.empty()) return {"", e.model, e.problem, ""};
  return {record::FormatDate(e.startedAt), e.model, e.landscape, DurationText(e.durationSeconds)};
}

std::string FlightListDialog::Button1Click() const {
  if (selected < 0 || static_cast<std::size_t>(selected) >= flights.size()) return {};
  const record::FlightEntry& e = flights[static_cast<std::size_t>(selected)];
  return e.problem.empty() ? e.path : std::string();
}

std::string FlightListDialog::SelectedProblem() const {
  if (selected < 0 || static_cast<std::size_t>(selected) >= flights.size()) return {};
  return flights[static_cast<std::size_t>(selected)].problem;
}

}  // namespace veltrane::ui
