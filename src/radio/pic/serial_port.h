#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veltrane {

// What the serial board's interface needs of a serial port. Bytes arrive on
// a thread of the port's own and are handed over on the main thread.
class SerialPort {
 public:
  virtual ~SerialPort() = default;

  // The system's serial ports, sorted.
  virtual std::vector<std::string> ListPorts() = 0;

  virtual const std::string& PortName() const = 0;
  // A new name while open closes the port and opens the new one.
  virtual void SetPortName(const std::string& name) = 0;
  // Takes effect at once, also while open.
  virtual void SetBaudRate(int baud) = 0;

  // 8N1, DTR off, RTS on, no flow control; nothing is ever sent.
  virtual bool Open(std::string& error) = 0;
  virtual void Close() = 0;  // closing a closed port does nothing
  virtual bool IsOpen() const = 0;

  // Main thread: appends the bytes received since the last call. False once
  // when the port failed or went away since; it is then closed.
  virtual bool TakeReceived(std::vector<std::uint8_t>& bytes, std::string& error) = 0;
};

}  // namespace veltrane
