#include "platform/FileDescriptor.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace marlovent::platform {

SystemError::SystemError(const std::string& What, int Errno)
    : std::runtime_error(What + ": " + std::generic_category().message(Errno)), FErrno(Errno) {}

UniqueFd& UniqueFd::operator=(UniqueFd&& Other) noexcept {
  if (this != &Other) {
    Reset();
    FFd = Other.Release();
  }
  return *this;
}

int UniqueFd::Release() {
  const int Fd = FFd;
  FFd = -1;
  return Fd;
}

void UniqueFd::Reset() {
  if (FFd >= 0) ::close(FFd);
  FFd = -1;
}

Pipe MakePipe() {
  int Fds[2];
  if (::pipe2(Fds, O_CLOEXEC) != 0) throw SystemError("pipe2", errno);
  return Pipe{UniqueFd(Fds[0]), UniqueFd(Fds[1])};
}

std::size_t BytesWaiting(int Fd) {
  int Count = 0;
  if (::ioctl(Fd, FIONREAD, &Count) != 0 || Count < 0) return 0;
  return static_cast<std::size_t>(Count);
}

WakeEvent::WakeEvent() : FFd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (!FFd.Valid()) throw SystemError("eventfd", errno);
}

void WakeEvent::Signal() {
  const std::uint64_t One = 1;
  // A full counter already wakes the poller, so a failed write loses nothing.
  [[maybe_unused]] const auto Written = ::write(FFd.Get(), &One, sizeof One);
}

void WakeEvent::Clear() {
  std::uint64_t Count = 0;
  [[maybe_unused]] const auto Read = ::read(FFd.Get(), &Count, sizeof Count);
}

}  // namespace marlovent::platform
