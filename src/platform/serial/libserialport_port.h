#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "radio/pic/serial_port.h"

struct sp_port;

namespace veltrane::platform {

// A serial port through libserialport (device names it has no system record
// of, such as pseudo-terminals, opened directly). A reader thread waits for
// bytes and queues them; it touches nothing else, and the main thread takes the queue.
class LibSerialPort : public SerialPort {
 public:
  LibSerialPort() = default;
  ~LibSerialPort() override;
  LibSerialPort(const LibSerialPort&) = delete;
  LibSerialPort& operator=(const LibSerialPort&) = delete;

  std::vector<std::string> ListPorts() override;
  const std::string& PortName() const override { return name_; }
  void SetPortName(const std::string& name) override;
  void SetBaudRate(int baud) override;
  bool Open(std::string& error) override;
  void Close() override;
  bool IsOpen() const override { return fd_ >= 0; }
  bool TakeReceived(std::vector<std::uint8_t>& bytes, std::string& error) override;

 private:
  void StartReader();
  void Read();

  std::string name_;
  int baud_ = 9600;
  sp_port* port_ = nullptr;  // null for a device opened directly
  int fd_ = -1;
  std::thread reader_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::uint8_t> queue_;  // guarded by mutex_
  bool failed_ = false;              // guarded by mutex_
  std::string failure_;              // guarded by mutex_
};

}  // namespace veltrane::platform
