// SPDX-License-Identifier: MIT

#pragma once

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

namespace zr::test {

// A tmpfs of a few kilobytes mounted on an existing folder for the life of the
// object, to be filled up as a full disk is. Mounting needs root; where the test
// may not mount, mounted() is false, problem() says why, and the test skips.
class SmallDisk {
public:
  SmallDisk(std::string folder, std::size_t bytes) : folder_(std::move(folder)) {
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0777";
    mounted_ =
        ::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
    if (!mounted_)
      problem_ = std::string("cannot mount a tmpfs: ") + std::strerror(errno);
  }
  ~SmallDisk() {
    if (mounted_)
      ::umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& problem() const { return problem_; }

  // Writes a file until the disk takes no byte more; true when it ended full.
  bool fill() const {
    const int descriptor =
        ::open((folder_ + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0)
      return false;
    const std::string block(4096, 'x');
    ssize_t written = 0;
    do
      written = ::write(descriptor, block.data(), block.size());
    while (written > 0);
    const bool full = written < 0 && errno == ENOSPC;
    ::close(descriptor);
    return full;
  }

private:
  std::string folder_;
  bool mounted_ = false;
  std::string problem_;
};

} // namespace zr::test
