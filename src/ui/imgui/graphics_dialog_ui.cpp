#include "ui/imgui/graphics_dialog_ui.h"

#include <imgui.h>

namespace veltrane::ui {

void GraphicsDialogUi::Prepare() {
  const DisplayOptions& d = form_.Display();
  graphics_.FormShow({d.BitCount, d.doWaitVBlank, d.doFlip, form_.Mipmapping()});
}

void GraphicsDialogUi::Draw() {
  bool ok = false;
  if (!Begin("Grafik Optionen###graphics")) return;
  ImGui::TextUnformatted("Farben");
  if (ImGui::RadioButton("16-Bit Farbtiefe", graphics_.radio16)) graphics_.radio16 = true;
  MapLastItem("color_16", "16-Bit Farbtiefe");
  if (ImGui::RadioButton("32-Bit Farbtiefe", !graphics_.radio16)) graphics_.radio16 = false;
  MapLastItem("color_32", "32-Bit Farbtiefe");
  ImGui::TextUnformatted("Hardware");
  ImGui::Checkbox("Wait for vertical blank", &graphics_.waitVBlank);
  MapLastItem("wait_vblank", "Wait for vertical blank");
  ImGui::Checkbox("Flip back buffer ", &graphics_.flip);
  MapLastItem("flip", "Flip back buffer ");
  ImGui::TextUnformatted("Texturen");
  ImGui::Checkbox("Mimapping", &graphics_.mipmapping);
  MapLastItem("mipmapping", "Mimapping");
  if (OkCancel("GraphConfigForm", ok)) {
    Close();
    if (ok) {
      const GraphicsOptions o = graphics_.Button1Click();
      DisplayOptions& d = form_.Display();
      d.BitCount = o.bitCount;
      d.doWaitVBlank = o.waitVBlank;
      d.doFlip = o.flip;
      form_.SetMipmapping(o.mipmapping);
      host_.QueueViewRebuild();
    }
  }
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
