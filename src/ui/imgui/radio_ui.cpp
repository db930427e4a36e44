#include "ui/imgui/radio_ui.h"

#include <imgui.h>

#include <algorithm>
#include <cstdio>

#include "radio/joystick/rc_joy_form.h"
#include "radio/pic/rc_pic_form.h"
#include "ui/imgui/dialog_style.h"

namespace veltrane::ui {

namespace {

// A vertical gauge: filled from the bottom up to the position within min..max.
void VerticalBar(const char* label, double min, double max, double pos, float height = 90.0f) {
  ImGui::BeginGroup();
  const ImVec2 size(18, height);
  const ImVec2 p = ImGui::GetCursorScreenPos();
  ImDrawList* dl = ImGui::GetWindowDrawList();
  dl->AddRectFilled(p, ImVec2(p.x + size.x, p.y + size.y), ImGui::GetColorU32(ImGuiCol_FrameBg));
  double f = max > min ? (pos - min) / (max - min) : 0.0;
  f = f < 0 ? 0 : f > 1 ? 1 : f;
  const float top = p.y + size.y * static_cast<float>(1.0 - f);
  dl->AddRectFilled(ImVec2(p.x, top), ImVec2(p.x + size.x, p.y + size.y),
                    IM_COL32(60, 200, 90, 255));
  dl->AddRect(p, ImVec2(p.x + size.x, p.y + size.y), ImGui::GetColorU32(ImGuiCol_Border));
  ImGui::Dummy(size);
  ImGui::TextUnformatted(label);
  ImGui::EndGroup();
}

}  // namespace

RadioUi::RadioUi(TMainForm& form, TRadioForm& radio, FrameTimer& timer, const LanguageTexts& texts)
    : form_(form), radio_(radio), texts_(texts), selection_(radio, timer) {
  if (auto* joy = dynamic_cast<TRcJoyForm*>(radio.Interfaces[1]))
    joystick_ = std::make_unique<JoyDialog>(joy->Joysticks());
  if (auto* pic = dynamic_cast<TRcPICForm*>(radio.Interfaces[4]))
    pic_ = std::make_unique<PicDialog>(*pic);
}

RadioUi::~RadioUi() = default;

const std::string& RadioUi::T(const char* section, const std::string& key) const {
  return texts_.Text(section, key);
}

// The headless dialogs keep their messages as fields; they follow the language.
void RadioUi::ApplyTexts() {
  for (std::size_t i = 0; i < calib_.Texts.size(); ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "sCalibForm%03zu", i);
    calib_.Texts[i] = T("CalibForm", key);
  }
  if (joystick_) {
    joystick_->Ready = T("RcJoyForm", "sRcJoyForm000");
    joystick_->NotConnected = T("RcJoyForm", "sRcJoyForm002");
  }
}

void RadioUi::Show(Shown s) {
  shown_ = s;
  popupOpened_ = false;
}

void RadioUi::Open() {
  ApplyTexts();
  selection_.FormActivate();
  Show(Shown::Selection);
}

void RadioUi::BackToSelection() {
  ImGui::CloseCurrentPopup();
  Show(Shown::Selection);
}

void RadioUi::OpenProperties() {
  const int sel = selection_.Selected();
  if (sel == 1 && joystick_) {
    ImGui::CloseCurrentPopup();
    selection_.FormDeactivate();
    joystick_->FormActivate();
    Show(Shown::Joystick);
  } else if (sel == 4 && pic_) {
    ImGui::CloseCurrentPopup();
    selection_.FormDeactivate();
    pic_->FormShow();
    Show(Shown::Pic);
  }
}

void RadioUi::Draw() {
  switch (shown_) {
    case Shown::None:
      return;
    case Shown::Selection:
      DrawSelection();
      return;
    case Shown::Joystick:
      DrawJoystick();
      return;
    case Shown::Pic:
      DrawPic();
      return;
    case Shown::Calibration:
      DrawCalibration();
      return;
    case Shown::Message:
      DrawMessage();
      return;
  }
}

void RadioUi::DrawSelection() {
  if (!BeginDialog((T("RadioForm", "Caption") + "###radio").c_str(), popupOpened_)) return;
  ImGui::TextUnformatted(T("RadioForm", "GroupBox1.Caption").c_str());
  if (ImGui::BeginListBox("##interfaces",
                          ImVec2(400, 5 * ImGui::GetTextLineHeightWithSpacing() + 8))) {
    for (int i = 0; i < kInterfaceCount; ++i) {
      const bool available = selection_.Available(i) || i == 0;
      if (!available)
        ImGui::PushStyleColor(ImGuiCol_Text, ImGui::GetStyleColorVec4(ImGuiCol_TextDisabled));
      const std::string label = T("RadioForm", "InterfaceBox.Items.Strings" + std::to_string(i)) +
                                "##entry" + std::to_string(i);
      if (ImGui::Selectable(label.c_str(), selection_.Selected() == i)) selection_.Choose(i);
      MapLastItem(label);
      if (!available) ImGui::PopStyleColor();
    }
    ImGui::EndListBox();
  }
  const bool enabled = selection_.ButtonsEnabled();
  ImGui::BeginDisabled(!enabled);
  const bool properties = DialogButton(T("RadioForm", "Button4.Caption") + "##properties", 195);
  ImGui::SameLine();
  const bool calibration = DialogButton(T("RadioForm", "Button5.Caption") + "##calibration", 195);
  ImGui::EndDisabled();
  bool ok = false;
  if (properties) {
    OpenProperties();
  } else if (calibration) {
    ImGui::CloseCurrentPopup();
    selection_.CalibrationOpening();
    calib_.EditInterface(radio_.Selected());
    for (int f = 0; f < kFunctionCount; ++f)
      std::snprintf(rowBuf_[static_cast<std::size_t>(f)].data(), rowBuf_[0].size(), "%s",
                    calib_.rows[static_cast<std::size_t>(f)].channel.c_str());
    calib_.FormActivate();
    Show(Shown::Calibration);
  } else if (OkCancelButtons(texts_, "RadioForm", ok)) {
    if (ok) selection_.Ok();
    ImGui::CloseCurrentPopup();
    Show(Shown::None);
    selection_.FormDeactivate();
    form_.SetActiveInterface(&radio_.Active(), radio_.ActiveIndex);
  }
  ImGui::EndPopup();
}

void RadioUi::DrawJoystick() {
  if (!BeginDialog((T("RcJoyForm", "Caption") + "###joystick").c_str(), popupOpened_)) return;
  joystick_->TimerTick();  // every drawn frame: at least as often as the dialog's timer
  static const char* const kAxes[] = {"X", "Y", "Z", "R", "U", "V"};
  for (int d = 0; d < 2; ++d) {
    const JoyDialog::Group& g = joystick_->Joystick(d);
    ImGui::BeginGroup();
    ImGui::TextUnformatted(
        T("RcJoyForm", d == 0 ? "GroupBox1.Caption" : "GroupBox2.Caption").c_str());
    ImGui::Separator();
    if (!g.present) {
      ImGui::TextUnformatted(
          T("RcJoyForm", d == 0 ? "Label24.Caption" : "Label25.Caption").c_str());
      ImGui::Dummy(ImVec2(200, 150));
    } else {
      ImGui::TextUnformatted(g.productName.c_str());
      ImGui::Text("%s %s", T("RcJoyForm", d == 0 ? "Label7.Caption" : "Label8.Caption").c_str(),
                  g.axesText.c_str());
      ImGui::Text("%s %s", T("RcJoyForm", d == 0 ? "Label9.Caption" : "Label3.Caption").c_str(),
                  g.status.c_str());
      for (int k = 0; k < kJoystickAxes; ++k) {
        const JoyDialog::Bar& b = g.bars[static_cast<std::size_t>(k)];
        if (k > 0) ImGui::SameLine();
        VerticalBar(kAxes[k], b.min, b.max, b.position);
      }
    }
    ImGui::EndGroup();
    if (d == 0) ImGui::SameLine(0, 30);
  }
  ImGui::Separator();
  if (DialogButton(T("RcJoyForm", "Button1.Caption") + "##ok") || EscapePressed() ||
      EnterPressed()) {
    joystick_->FormDeactivate();
    BackToSelection();
    selection_.FormActivate();
  }
  ImGui::EndPopup();
}

void RadioUi::DrawPic() {
  if (!BeginDialog((T("RcPICForm", "Caption") + "###pic").c_str(), popupOpened_)) return;
  ImGui::TextUnformatted(T("RcPICForm", "GroupBox1.Caption").c_str());
  ImGui::Separator();
  ImGui::TextUnformatted(T("RcPICForm", "Label1.Caption").c_str());
  ImGui::SameLine();
  ImGui::SetNextItemWidth(220);
  const auto& ports = pic_->Ports();
  const char* shown =
      pic_->selectedPort >= 0 ? ports[static_cast<std::size_t>(pic_->selectedPort)].c_str() : "";
  if (ImGui::BeginCombo("##port", shown)) {
    for (int i = 0; i < static_cast<int>(ports.size()); ++i)
      if (ImGui::Selectable(ports[static_cast<std::size_t>(i)].c_str(), pic_->selectedPort == i))
        pic_->ChoosePort(i);
    ImGui::EndCombo();
  }
  ImGui::TextUnformatted(T("RcPICForm", "Protocol.Caption").c_str());
  ImGui::Separator();
  for (int p = 0; p < TRcPICForm::kProtocols; ++p) {
    const std::string& caption = T("RcPICForm", "Protocol.Items.Strings" + std::to_string(p));
    if (ImGui::RadioButton(caption.c_str(), pic_->protocol == p)) pic_->protocol = p;
    MapLastItem("protocol" + std::to_string(p), caption);
  }
  bool ok = false;
  if (OkCancelButtons(texts_, "RcPICForm", ok)) {
    if (ok)
      pic_->Ok();
    else
      pic_->Cancel();
    BackToSelection();
    selection_.FormActivate();
  }
  ImGui::EndPopup();
}

void RadioUi::DrawCalibration() {
  if (!BeginDialog((T("CalibForm", "Caption") + "###calibration").c_str(), popupOpened_)) return;
  calib_.TimerTick();
  ImGui::BeginGroup();
  ImGui::TextUnformatted(T("CalibForm", "GroupBox4.Caption").c_str());
  ImGui::Separator();
  static const char* const kRowLabels[kFunctionCount] = {
      "Label13.Caption", "Label14.Caption", "Label15.Caption", "Label16.Caption",
      "Label17.Caption", "Label18.Caption", "Label19.Caption", "Label1.Caption"};
  // Columns after the widest row label, so that long translations stay whole.
  float labels = 0;
  for (const char* key : kRowLabels)
    labels = std::max(labels, ImGui::CalcTextSize(T("CalibForm", key).c_str()).x);
  const float left = ImGui::GetCursorPosX();
  const float channel = std::max(left + 112.0f, left + labels + 12.0f);
  const float inv = channel + 55.0f;
  const float exp =
      inv +
      std::max(30.0f, ImGui::CalcTextSize(T("CalibForm", "Label3.Caption").c_str()).x + 10.0f);
  ImGui::TextUnformatted("");
  ImGui::SameLine(channel);
  ImGui::TextUnformatted(T("CalibForm", "Label2.Caption").c_str());
  ImGui::SameLine(inv);
  ImGui::TextUnformatted(T("CalibForm", "Label3.Caption").c_str());
  ImGui::SameLine(exp);
  ImGui::TextUnformatted(T("CalibForm", "Label4.Caption").c_str());
  for (int f = 0; f < kFunctionCount; ++f) {
    const auto i = static_cast<std::size_t>(f);
    ImGui::TextUnformatted(T("CalibForm", kRowLabels[i]).c_str());
    ImGui::SameLine(channel);
    ImGui::SetNextItemWidth(45);
    ImGui::InputText(("##ch" + std::to_string(f)).c_str(), rowBuf_[i].data(), rowBuf_[i].size());
    MapLastItem("ch" + std::to_string(f), rowBuf_[i].data());  // the label: the number typed so far
    ImGui::SameLine(inv);
    ImGui::Checkbox(("##inv" + std::to_string(f)).c_str(), &calib_.rows[i].inv);
    MapLastItem("##inv" + std::to_string(f));
    ImGui::SameLine(exp);
    ImGui::Checkbox(("##exp" + std::to_string(f)).c_str(), &calib_.rows[i].exp);
    MapLastItem("##exp" + std::to_string(f));
  }
  ImGui::EndGroup();
  ImGui::SameLine(0, 30);
  ImGui::BeginGroup();
  ImGui::TextUnformatted(T("CalibForm", "GroupBox2.Caption").c_str());
  ImGui::Separator();
  for (int g = 0; g < 8; ++g) {
    if (g > 0) ImGui::SameLine();
    VerticalBar(std::to_string(g + 1).c_str(), 0, 100, calib_.bars[static_cast<std::size_t>(g)],
                120.0f);
    // The bar's height in per cent: tests read what the capture has seen.
    MapLastItem("bar" + std::to_string(g),
                std::to_string(calib_.bars[static_cast<std::size_t>(g)]));
  }
  for (const std::string& l : calib_.lines) ImGui::TextUnformatted(l.c_str());
  if (DialogButton(calib_.button + "##calib", 120)) calib_.KalibrierenClick();
  ImGui::EndGroup();
  bool ok = false;
  if (OkCancelButtons(texts_, "CalibForm", ok)) {
    std::optional<std::string> error;
    if (ok) {
      for (int f = 0; f < kFunctionCount; ++f)
        calib_.rows[static_cast<std::size_t>(f)].channel =
            rowBuf_[static_cast<std::size_t>(f)].data();
      error = calib_.Ok();
    }
    calib_.FormDeactivate();
    ImGui::CloseCurrentPopup();
    selection_.CalibrationClosed();
    if (error) {
      message_ = *error;
      Show(Shown::Message);
    } else {
      Show(Shown::Selection);
    }
  }
  ImGui::EndPopup();
}

void RadioUi::DrawMessage() {
  if (!BeginDialog("Veltrane##radiomessage", popupOpened_)) return;
  ImGui::TextUnformatted(message_.c_str());
  if (CloseButton()) BackToSelection();
  ImGui::EndPopup();
}

}  // namespace veltrane::ui
