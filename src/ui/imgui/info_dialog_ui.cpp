#include "ui/imgui/info_dialog_ui.h"

#include <imgui.h>

namespace veltrane::ui {

void InfoDialogUi::Prepare() {
  info_.FormActivate(form_.iLanguage());
  tickAccumulator_ = 0.0;
}

void InfoDialogUi::DrawCredits() {
  const ImVec2 origin = ImGui::GetCursorScreenPos();
  const ImVec2 size(TInfoForm::kAreaWidth, TInfoForm::kAreaHeight);
  const ImVec2 end(origin.x + size.x, origin.y + size.y);
  const PictureTextures::Texture bg = textures_.Get(form_.ExePath() + "InfoBox.jpg");
  ImDrawList* dl = ImGui::GetWindowDrawList();
  dl->PushClipRect(origin, end, true);
  if (bg.id)
    dl->AddImage(bg.id, origin, end);
  else
    dl->AddRectFilled(origin, end, IM_COL32(40, 60, 110, 255));
  ImFont* font = ImGui::GetFont();
  for (std::size_t i = 0; i < info_.CreditLines.size(); ++i) {
    const float px = i == 0 ? 24.0f : 16.0f;
    const char* text = info_.CreditLines[i].c_str();
    const ImVec2 ext = font->CalcTextSizeA(px, 1e9f, 0.0f, text);
    const float x = origin.x + static_cast<float>(TInfoForm::LineX(static_cast<int>(ext.x)));
    const float y = origin.y + static_cast<float>(info_.LineY(i));
    dl->AddText(font, px, ImVec2(x + 1, y + 1), IM_COL32(0, 0, 0, 255), text);
    dl->AddText(font, px, ImVec2(x, y), IM_COL32(255, 255, 255, 255), text);
  }
  dl->PopClipRect();
  ImGui::Dummy(size);
}

void InfoDialogUi::Draw() {
  if (!Begin(info_.caption + "##info")) return;
  // The credits advance one pixel per 30 ms, whatever the frame rate.
  tickAccumulator_ += ImGui::GetIO().DeltaTime * 1000.0;
  while (tickAccumulator_ >= TInfoForm::kTimerMs) {
    info_.DXTimerTimer();
    tickAccumulator_ -= TInfoForm::kTimerMs;
  }
  DrawCredits();
  if (CloseButton()) {
    Close();
    info_.FormDeactivate();
  }
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
