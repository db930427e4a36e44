#include "platform/serial/libserialport_port.h"

#include <fcntl.h>
#include <libserialport.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace veltrane::platform {

namespace {

std::string LastError() {
  char* m = sp_last_error_message();
  std::string s = m ? m : "unknown error";
  sp_free_error_message(m);
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r')) s.pop_back();
  return s;
}

constexpr int kPollMs = 50;  // how long Close may wait for the reader

speed_t Speed(int baud) { return baud == 19200 ? B19200 : B9600; }

// Device names libserialport has no system record of (pseudo-terminals, for
// one) are opened directly with the same line settings.
int OpenPlain(const std::string& name, int baud, std::string& error) {
  const int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = std::strerror(errno);
    return -1;
  }
  termios t{};
  if (::tcgetattr(fd, &t) != 0) {
    error = std::strerror(errno);
    ::close(fd);
    return -1;
  }
  ::cfmakeraw(&t);
  t.c_cflag &= ~static_cast<tcflag_t>(CSTOPB | PARENB | CRTSCTS | CSIZE);
  t.c_cflag |= CS8 | CLOCAL | CREAD;
  t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
  t.c_cc[VMIN] = 0;
  t.c_cc[VTIME] = 0;
  ::cfsetispeed(&t, Speed(baud));
  ::cfsetospeed(&t, Speed(baud));
  if (::tcsetattr(fd, TCSANOW, &t) != 0) {
    error = std::strerror(errno);
    ::close(fd);
    return -1;
  }
  int dtr = TIOCM_DTR, rts = TIOCM_RTS;
  ::ioctl(fd, TIOCMBIC, &dtr);  // lines without modem signals refuse these
  ::ioctl(fd, TIOCMBIS, &rts);
  return fd;
}

}  // namespace

LibSerialPort::~LibSerialPort() { Close(); }

std::vector<std::string> LibSerialPort::ListPorts() {
  std::vector<std::string> names;
  sp_port** list = nullptr;
  if (sp_list_ports(&list) == SP_OK && list) {
    for (int i = 0; list[i]; ++i)
      if (const char* n = sp_get_port_name(list[i])) names.emplace_back(n);
    sp_free_port_list(list);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void LibSerialPort::SetPortName(const std::string& name) {
  if (name == name_) return;
  const bool wasOpen = IsOpen();
  Close();
  name_ = name;
  std::string ignored;
  if (wasOpen) Open(ignored);
}

void LibSerialPort::SetBaudRate(int baud) {
  baud_ = baud;
  if (port_) {
    sp_set_baudrate(port_, baud_);
  } else if (fd_ >= 0) {
    termios t{};
    if (::tcgetattr(fd_, &t) == 0) {
      ::cfsetispeed(&t, Speed(baud_));
      ::cfsetospeed(&t, Speed(baud_));
      ::tcsetattr(fd_, TCSANOW, &t);
    }
  }
}

bool LibSerialPort::Open(std::string& error) {
  if (IsOpen()) return true;
  if (name_.empty()) {
    error = "no serial port";
    return false;
  }
  sp_port* p = nullptr;
  if (sp_get_port_by_name(name_.c_str(), &p) != SP_OK) {
    fd_ = OpenPlain(name_, baud_, error);
    if (fd_ < 0) return false;
    StartReader();
    return true;
  }
  if (sp_open(p, SP_MODE_READ) != SP_OK) {
    error = LastError();
    sp_free_port(p);
    return false;
  }
  if (sp_set_baudrate(p, baud_) != SP_OK || sp_set_bits(p, 8) != SP_OK ||
      sp_set_parity(p, SP_PARITY_NONE) != SP_OK || sp_set_stopbits(p, 1) != SP_OK ||
      sp_set_flowcontrol(p, SP_FLOWCONTROL_NONE) != SP_OK) {
    error = LastError();
    sp_close(p);
    sp_free_port(p);
    return false;
  }
  // The board draws its power from RTS. Lines that have no modem signals
  // (pseudo-terminals, some adapters) refuse these; the data still flows.
  sp_set_dtr(p, SP_DTR_OFF);
  sp_set_rts(p, SP_RTS_ON);
  int fd = -1;
  if (sp_get_port_handle(p, &fd) != SP_OK || fd < 0) {
    error = LastError();
    sp_close(p);
    sp_free_port(p);
    return false;
  }
  port_ = p;
  fd_ = fd;
  StartReader();
  return true;
}

void LibSerialPort::StartReader() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queue_.clear();
    failed_ = false;
    failure_.clear();
  }
  stop_ = false;
  reader_ = std::thread([this] { Read(); });
}

void LibSerialPort::Close() {
  if (!IsOpen()) return;
  stop_ = true;
  if (reader_.joinable()) reader_.join();
  if (port_) {
    sp_close(port_);
    sp_free_port(port_);
  } else {
    ::close(fd_);
  }
  port_ = nullptr;
  fd_ = -1;
}

// Reader thread: waits at most kPollMs at a time so that Close never waits long.
void LibSerialPort::Read() {
  std::uint8_t buf[512];
  std::string failure;
  while (!stop_) {
    pollfd pfd{fd_, POLLIN, 0};
    const int r = ::poll(&pfd, 1, kPollMs);
    if (r < 0) {
      if (errno == EINTR) continue;
      failure = std::strerror(errno);
      break;
    }
    if (r == 0) continue;
    if (pfd.revents & POLLIN) {
      const ssize_t n = ::read(fd_, buf, sizeof buf);
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      if (n > 0) {
        std::lock_guard<std::mutex> lock(mutex_);
        queue_.insert(queue_.end(), buf, buf + n);
        continue;
      }
      // Readable but nothing to read: the line hung up.
      failure = n < 0 ? std::strerror(errno) : "the port went away";
      break;
    }
    if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) {
      failure = "the port went away";
      break;
    }
  }
  if (!failure.empty()) {
    std::lock_guard<std::mutex> lock(mutex_);
    failed_ = true;
    failure_ = failure;
  }
}

bool LibSerialPort::TakeReceived(std::vector<std::uint8_t>& bytes, std::string& error) {
  bool failed = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    bytes.insert(bytes.end(), queue_.begin(), queue_.end());
    queue_.clear();
    failed = failed_;
    error = failure_;
  }
  if (failed) Close();  // the reader has already ended: no wait
  return !failed;
}

}  // namespace veltrane::platform
