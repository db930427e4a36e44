#include "app/sound/task_tone.h"

#include <algorithm>
#include <cmath>

namespace veltrane::sound {

void TaskTone::Beep(double hz, int volume) {
  if (!device_ || volume <= 0) return;
  if (!tone_ && !triedOpen_) {
    triedOpen_ = true;
    tone_ = device_->OpenTone();
  }
  if (!tone_) return;
  const double db = 2000.0 * std::log10(std::min(volume, 100) / 100.0);
  tone_->SetVolume(std::clamp(static_cast<int>(std::lround(db)), kMinVolume, kMaxVolume));
  tone_->SetFrequency(static_cast<int>(std::lround(hz * kToneSamplesPerCycle)));
  tone_->Rewind();
  if (!tone_->Playing()) tone_->Play();
  left_ = kLength;
}

void TaskTone::Update(double dt) {
  if (left_ <= 0.0) return;
  left_ -= dt;
  if (left_ <= 0.0) Hold();
}

void TaskTone::Hold() {
  left_ = 0.0;
  if (tone_ && tone_->Playing()) tone_->Stop();
}

}  // namespace veltrane::sound
