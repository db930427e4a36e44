#pragma once

#include <filesystem>
#include <string>

namespace veltrane {

// Reads `path` only if it is a regular file of at most 1 MB. False when it is
// missing (note left empty) or cannot or must not be read (note says why).
bool ReadBoundedRegularFile(const std::filesystem::path& path, std::string& data,
                            std::string& note);

// One writer at a time per folder, across processes; the lock goes with the
// process, even a killed one. Without a folder to lock, nothing is held.
class FolderLock {
 public:
  explicit FolderLock(const std::filesystem::path& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

// The file that replacing `file` writes: a symbolic link to a regular or missing
// file stays a link and its target is written; any other link is replaced.
std::filesystem::path ReplacementTarget(const std::filesystem::path& file);

// Replaces `target` by `text` so that a crash leaves either the old or the new
// file: a temporary "<target>.tmp.<pid>", fsync, rename, fsync of the folder.
// With `keepOldAs`, the old file is first kept under that name in its folder.
// Throws std::runtime_error when the file cannot be written.
void ReplaceFile(const std::filesystem::path& target, const std::string& text,
                 const std::string& keepOldAs = {});

// Removes the temporaries of `fileName` that runs killed while saving left in
// `folder`; a live process's own (another instance saving now) stays.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& fileName);

}  // namespace veltrane
