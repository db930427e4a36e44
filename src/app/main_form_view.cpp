// The pieces of the view the "Grafik" menu turns on and off.
#include "app/main_form.h"
#include "app/main_form_scene.h"

namespace veltrane {

void TMainForm::ShowViewPieces() {
  if (!scene_ || !sceneFrame_) return;
  Scene& sc = *scene_;
  const bool backdrop = checks_.Panorama && sc.backdrop;
  sceneFrame_->SetSceneBackdrop(backdrop ? sc.backdrop : nullptr);
  if (sc.worldFrame && sc.skyVisual) {
    // The dome would hide the panorama; the backdrop draws its clouds instead.
    sc.worldFrame->DeleteVisual(sc.skyVisual);
    if (!backdrop) sc.worldFrame->AddVisual(sc.skyVisual);
  }
  if (sc.terrainVisual) sc.terrainVisual->SetGroundDetail(checks_.Bodendetails);
}

void TMainForm::PanoramaClick() {
  checks_.Panorama = !checks_.Panorama;
  ShowViewPieces();
}

void TMainForm::BodendetailsClick() {
  checks_.Bodendetails = !checks_.Bodendetails;
  ShowViewPieces();
}

}  // namespace veltrane
