// The serial transmitter decoder: a byte stream in both wire protocols, cut
// into chunks the way the reader thread hands them over.

#include <cstdint>
#include <string>
#include <vector>

#include "radio/pic/rc_pic_form.h"

namespace {

class SilentPort : public veltrane::SerialPort {
 public:
  std::vector<std::string> ListPorts() override { return {}; }
  const std::string& PortName() const override { return name_; }
  void SetPortName(const std::string& n) override { name_ = n; }
  void SetBaudRate(int) override {}
  bool Open(std::string&) override { return true; }
  void Close() override {}
  bool IsOpen() const override { return true; }
  bool TakeReceived(std::vector<std::uint8_t>&, std::string&) override { return true; }

 private:
  std::string name_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace veltrane;
  if (size == 0) return 0;
  SilentPort port;
  TRcPICForm form(port, Trace());
  form.SetProtocol(data[0] % TRcPICForm::kProtocols);
  // The chunk length comes from the input too: frames split anywhere.
  std::size_t pos = 1;
  while (pos < size) {
    const std::size_t chunk = 1 + data[pos - 1] % 17;
    const std::size_t n = chunk < size - pos ? chunk : size - pos;
    form.ComPortRxChar(data + pos, n);
    pos += n;
  }
  TRcChannels channels;
  form.GetChannels(channels);
  return 0;
}
