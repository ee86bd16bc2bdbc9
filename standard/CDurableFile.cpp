#include "standard/CDurableFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "standard/CException.h"

namespace nuv {

void CDurableFile::write(const std::string& path, const std::string& text) {
  const std::string temporary = path + ".tmp";
  const auto fail = [&](const char* step, int err) {
    ::unlink(temporary.c_str());
    NUV_THROW_ERRNO("CDurableFile::write",
                    CMessage("Cannot write file '%1' (%2).").pushs(path).pushs(step), err);
  };
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) fail("open", errno);
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int err = n < 0 ? errno : ENOSPC;
      ::close(fd);
      fail("write", err);
    }
    done += static_cast<std::size_t>(n);
  }
  if (::fsync(fd) != 0) {
    const int err = errno;
    ::close(fd);
    fail("sync", err);
  }
  if (::close(fd) != 0) fail("close", errno);
  if (::rename(temporary.c_str(), path.c_str()) != 0) fail("rename", errno);
  // The rename itself is durable once the directory is synced.
  const std::string::size_type slash = path.find_last_of('/');
  const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash);
  const int dfd = ::open(dir.empty() ? "/" : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
}

}  // namespace nuv
