#include "record/flight_recorder.h"

#include <cerrno>
#include <cstring>

namespace veltrane::record {

namespace {
constexpr std::int64_t kFlushIntervalMs = 1000;

bool IsFloat(double v) { return static_cast<double>(static_cast<float>(v)) == v || v != v; }
}  // namespace

bool FlightRecorder::Start(const std::string& path, const FlightHeader& header, const SimState& s) {
  Stop();
  error_.clear();
  file_ = std::fopen(path.c_str(), "wb");
  if (!file_) {
    error_ = "cannot create " + path + ": " + std::strerror(errno);
    return false;
  }
  path_ = path;
  buffer_.clear();
  written_ = 0;
  frames_ = 0;
  ByteWriter w(buffer_);
  buffer_.append(kMagic);
  w.U16(kFormatVersion);
  std::string head;
  ByteWriter hw(head);
  WriteHeader(hw, header);
  w.U32(static_cast<std::uint32_t>(head.size()));
  buffer_ += head;
  const std::string start = EncodeSnapshot(s);
  w.U32(static_cast<std::uint32_t>(start.size()));
  buffer_ += start;
  lastTick_ = lastSnapshot_ = lastFlush_ = s.LastTickTime;
  lastValues_ = s.FunctionValue;
  lastThermals_ = EncodeThermals(s.Thermals);
  Flush();
  return file_ != nullptr;
}

void FlightRecorder::Stop() {
  if (!file_) return;
  buffer_.push_back(static_cast<char>(Tag::End));
  Flush();
  if (file_) std::fclose(file_);
  file_ = nullptr;
  if (frames_ == 0) std::remove(path_.c_str());
}

void FlightRecorder::Flush() {
  if (!file_ || buffer_.empty()) return;
  const bool ok = std::fwrite(buffer_.data(), 1, buffer_.size(), file_) == buffer_.size() &&
                  std::fflush(file_) == 0;
  written_ += buffer_.size();
  buffer_.clear();
  if (!ok) {
    // A full disk ends this recording; the flight goes on.
    error_ = "cannot write " + path_ + ": " + std::strerror(errno);
    std::fclose(file_);
    file_ = nullptr;
  }
}

void FlightRecorder::Frame(const SimState& s) {
  if (!file_) return;
  std::uint8_t changed = 0, wide = 0;
  for (int i = 0; i < fn::kCount; ++i) {
    const double v = s.FunctionValue[static_cast<std::size_t>(i)];
    // Compared as bits: -0 and NaN must replay as they were.
    if (std::memcmp(&v, &lastValues_[static_cast<std::size_t>(i)], sizeof v) != 0) {
      changed |= std::uint8_t(1u << i);
      if (!IsFloat(v)) wide |= std::uint8_t(1u << i);
    }
  }
  ByteWriter w(buffer_);
  w.U8(static_cast<std::uint8_t>(wide ? Tag::FrameWide : Tag::Frame));
  w.VarInt(s.LastTickTime - lastTick_);
  w.U8(changed);
  if (wide) w.U8(wide);
  for (int i = 0; i < fn::kCount; ++i) {
    if (!(changed & (1u << i))) continue;
    const double v = s.FunctionValue[static_cast<std::size_t>(i)];
    if (wide & (1u << i))
      w.F64(v);
    else
      w.F32(static_cast<float>(v));
  }
  lastTick_ = s.LastTickTime;
  lastValues_ = s.FunctionValue;
  ++frames_;
}

void FlightRecorder::AfterTick(const SimState& s) {
  if (!file_) return;
  if (s.LastTickTime - lastSnapshot_ >= kSnapshotIntervalMs) Snapshot(s);
  if (s.LastTickTime - lastFlush_ >= kFlushIntervalMs) {
    lastFlush_ = s.LastTickTime;
    Flush();
  }
}

void FlightRecorder::Snapshot(const SimState& s) {
  lastSnapshot_ = s.LastTickTime;
  std::string thermals = EncodeThermals(s.Thermals);
  const bool withThermals = thermals != lastThermals_;
  if (withThermals) lastThermals_ = std::move(thermals);
  std::string body;
  ByteWriter bw(body);
  WriteSnapshot(bw, s, withThermals);
  ByteWriter w(buffer_);
  w.U8(static_cast<std::uint8_t>(Tag::Snapshot));
  w.U32(static_cast<std::uint32_t>(body.size()));
  buffer_ += body;
}

void FlightRecorder::Command(CommandCode code, std::uint8_t arg) {
  if (!file_) return;
  ByteWriter w(buffer_);
  w.U8(static_cast<std::uint8_t>(Tag::Command));
  w.U8(static_cast<std::uint8_t>(code));
  w.U8(arg);
}

void FlightRecorder::StateChanged(const SimState& s) {
  if (!file_) return;
  const std::string body = EncodeSnapshot(s);
  ByteWriter w(buffer_);
  w.U8(static_cast<std::uint8_t>(Tag::State));
  w.U32(static_cast<std::uint32_t>(body.size()));
  buffer_ += body;
}

}  // namespace veltrane::record
