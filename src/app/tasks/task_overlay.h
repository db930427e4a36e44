#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/tasks/task_runner.h"

namespace veltrane::tasks {

// The words of the task overlay and dialogs (German defaults; the language
// files replace them).
struct TaskWords {
  std::string slopeRace = "Hangrennen";
  std::string duration = "Dauer und Landung";
  std::string limbo = "Limbo";
  std::string ready = "Bereit: Handstart (R) oder Windenstart (W)";
  std::string entry = "Einflug noch";
  std::string time = "Zeit:";
  std::string leg = "Schenkel";
  std::string legTimes = "Schenkelzeiten:";
  std::string flightTime = "Flugzeit:";
  std::string flight = "Flug:";
  std::string landing = "Landung:";
  std::string total = "Summe:";
  std::string points = "P.";
  std::string tape = "Band:";
  std::string passes = "Durchflüge:";
  std::string lowest = "tiefster:";
  std::string ended = "Abgebrochen";
  std::string again = "Neuer Versuch: Handstart (R) oder Windenstart (W)";

  const std::string& Name(TaskKind kind) const;
};

// "12.34" with the locale's decimal separator.
std::string Decimal(double value, int decimals, char decimal);
// "9:05": minutes and seconds, the seconds cut.
std::string MinutesSeconds(double seconds);

// The overlay's lines for the task as it stands: its name, then its clock and
// progress, and at the end its score and details.
std::vector<std::string> TaskOverlayLines(const TaskRunner& run, const TaskWords& w, char decimal);

// The score as the results list shows it: "45.67 s", "683 P.", "3 / 5.0 m";
// "-" for a run without one.
std::string ScoreText(const std::string& task, std::optional<double> score,
                      const std::optional<double>& lowest, const TaskWords& w, char decimal);

}  // namespace veltrane::tasks
