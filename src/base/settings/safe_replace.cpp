#include "base/settings/safe_replace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "base/settings/number_format.h"

namespace veltrane {

namespace {

// Settings files are a few kilobytes; this is far beyond any real one.
constexpr off_t kMaxFileSize = 1 << 20;

void WriteAll(int fd, const std::string& data, const std::string& path) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    }
    done += static_cast<std::size_t>(n);
  }
}

void KeepOldCopy(const std::filesystem::path& target, const std::string& name) {
  // A hard link keeps even a huge file at no cost; the copy is for file
  // systems without links. A file that cannot be read cannot be copied either,
  // and is then still renamed aside rather than written over.
  const std::filesystem::path kept = target.parent_path() / name;
  std::error_code ec;
  std::filesystem::remove(kept, ec);
  if (::link(target.c_str(), kept.c_str()) == 0) return;
  if (std::filesystem::copy_file(target, kept, ec)) return;
  std::rename(target.c_str(), kept.c_str());
}

}  // namespace

// The open does not block (a FIFO in its place would wait for a writer forever)
// and the size is taken from the open file, so a device cannot feed it endlessly.
bool ReadBoundedRegularFile(const std::filesystem::path& path, std::string& data,
                            std::string& note) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    if (errno != ENOENT) note = "cannot open " + path.string() + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  bool ok = ::fstat(fd, &st) == 0;
  if (ok && !S_ISREG(st.st_mode)) {
    note = path.string() + " is not a regular file; it is ignored";
    ok = false;
  } else if (ok && st.st_size > kMaxFileSize) {
    note =
        path.string() + " is larger than " + std::to_string(kMaxFileSize) + " bytes; it is ignored";
    ok = false;
  }
  if (ok) {
    data.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < data.size()) {
      const ssize_t n = ::read(fd, data.data() + done, data.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    data.resize(done);
  }
  ::close(fd);
  return ok;
}

FolderLock::FolderLock(const std::filesystem::path& folder)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
  if (fd_ >= 0) ::flock(fd_, LOCK_EX);
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

std::filesystem::path ReplacementTarget(const std::filesystem::path& file) {
  // A settings.ini that links into a dotfiles repository, say, must stay a link.
  std::error_code ec;
  if (!std::filesystem::is_symlink(file, ec)) return file;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(file, ec);
  const auto kind = std::filesystem::status(resolved, ec).type();
  if (!resolved.empty() && (kind == std::filesystem::file_type::regular ||
                            kind == std::filesystem::file_type::not_found))
    return resolved;
  return file;
}

void ReplaceFile(const std::filesystem::path& target, const std::string& text,
                 const std::string& keepOldAs) {
  const std::string tmp = target.string() + ".tmp." + std::to_string(::getpid());
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) throw std::runtime_error("cannot create " + tmp + ": " + std::strerror(errno));
  try {
    WriteAll(fd, text, tmp);
    if (::fsync(fd) != 0)
      throw std::runtime_error("cannot sync " + tmp + ": " + std::strerror(errno));
  } catch (...) {
    ::close(fd);
    ::unlink(tmp.c_str());
    throw;
  }
  ::close(fd);
  if (!keepOldAs.empty()) KeepOldCopy(target, keepOldAs);
  if (std::rename(tmp.c_str(), target.c_str()) != 0) {
    const std::string err = std::strerror(errno);
    ::unlink(tmp.c_str());
    throw std::runtime_error("cannot replace " + target.string() + ": " + err);
  }
  // The rename itself must reach the disk too.
  const int dfd = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& fileName) {
  const std::string prefix = fileName + ".tmp.";
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) continue;
    const auto pid = ParseInteger(name.substr(prefix.size()));
    if (!pid || *pid <= 0) continue;
    if (*pid != ::getpid() && ::kill(*pid, 0) == 0) continue;
    if (*pid != ::getpid() && errno == EPERM) continue;  // alive, someone else's
    std::error_code rm;
    std::filesystem::remove(entry.path(), rm);
  }
}

}  // namespace veltrane
