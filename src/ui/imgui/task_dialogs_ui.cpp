#include "ui/imgui/task_dialogs_ui.h"

#include <imgui.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "app/tasks/duration_task.h"
#include "app/tasks/results_store.h"

namespace veltrane::ui {

namespace {
constexpr const char* kSection = "TaskForm";
constexpr int kMinMinutes = static_cast<int>(tasks::DurationTask::kMinWorkingTime / 60.0);
constexpr int kMaxMinutes = static_cast<int>(tasks::DurationTask::kMaxWorkingTime / 60.0);
}  // namespace

void WorkingTimeDialogUi::Prepare() {
  minutes_ = std::clamp(static_cast<int>(std::lround(form_.WorkingTime() / 60.0)), kMinMinutes,
                        kMaxMinutes);
}

void WorkingTimeDialogUi::Draw() {
  if (!Begin(T(kSection, "DurationCaption") + "###working_time")) return;
  const std::string& label = T(kSection, "WorkingTime");
  ImGui::TextUnformatted(label.c_str());
  ImGui::SameLine();
  ImGui::SetNextItemWidth(200);
  ImGui::SliderInt("##minutes", &minutes_, kMinMinutes, kMaxMinutes, "%d min");
  MapLastItem("working_time_minutes", label);
  bool ok = false;
  if (OkCancel(kSection, ok)) {
    Close();
    if (ok) form_.StartTask(tasks::TaskKind::Duration, minutes_ * 60.0);
  }
  ImGui::EndPopup();
}

void ResultsDialogUi::Prepare() {
  rows_.clear();
  const std::string file = form_.ResultsFile();
  if (file.empty()) return;
  tasks::ResultsStore store(file);
  store.Load();
  rows_ = ResultRows(store.Results(), form_.TaskTexts, decimal_);
}

void ResultsDialogUi::Draw() {
  if (!Begin(T(kSection, "ResultsCaption") + "###results")) return;
  if (rows_.empty()) {
    ImGui::TextUnformatted(T(kSection, "NoResults").c_str());
  } else {
    const ImGuiTableFlags flags =
        ImGuiTableFlags_Borders | ImGuiTableFlags_RowBg | ImGuiTableFlags_ScrollY;
    if (ImGui::BeginTable("##results", 6, flags, ImVec2(600, 280))) {
      ImGui::TableSetupScrollFreeze(0, 1);
      for (const char* column : {"Column1", "Column2", "Column3", "Column4", "Column5", "Column6"})
        ImGui::TableSetupColumn(T(kSection, column).c_str());
      ImGui::TableHeadersRow();
      for (std::size_t i = 0; i < rows_.size(); ++i) {
        const ResultRow& r = rows_[i];
        ImGui::TableNextRow();
        const std::string cells[] = {r.task,  r.model, r.landscape, std::to_string(r.rank),
                                     r.score, r.date};
        for (int c = 0; c < 6; ++c) {
          ImGui::TableSetColumnIndex(c);
          ImGui::TextUnformatted(cells[c].c_str());
          if (c == 0) MapLastItem("result:" + std::to_string(i), r.task + " " + r.score);
        }
      }
      ImGui::EndTable();
    }
  }
  ImGui::Separator();
  if (CloseButton(T(kSection, "Close").c_str())) Close();
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
