#include "ui/imgui/driver_dialog_ui.h"

#include <imgui.h>

#include <string>
#include <vector>

namespace veltrane::ui {

void DriverDialogUi::Prepare() {
  trace_("TMainForm.Grafikkarteauswhlen1Click\r\n");
  std::vector<std::string> names;
  for (const auto& d : services_.Drivers()) names.push_back(d.description);
  driver_.FormCreate(std::move(names), form_.Display().iDXDrawDriver);
}

void DriverDialogUi::Draw() {
  bool ok = false;
  if (!Begin(T("ConfigForm", "Caption") + "###driver")) return;
  ImGui::TextUnformatted(T("ConfigForm", "Label1.Caption").c_str());
  if (ImGui::BeginListBox("##drivers", ImVec2(360, 120))) {
    for (int i = 0; i < static_cast<int>(driver_.drivers.size()); ++i) {
      const std::string& name = driver_.drivers[static_cast<std::size_t>(i)];
      if (ImGui::Selectable(name.c_str(), driver_.selected == i)) driver_.selected = i;
      MapLastItem("driver" + std::to_string(i), name);
    }
    ImGui::EndListBox();
  }
  if (OkCancel("ConfigForm", ok)) {
    Close();
    if (ok) {
      form_.Display().iDXDrawDriver = driver_.Button1Click();
      host_.QueueViewRebuild();
    }
  }
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
