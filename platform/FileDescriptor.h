// Owned POSIX file descriptors: UniqueFd closes its descriptor when it goes, a pipe is two
// of them, and a WakeEvent is a descriptor that one thread signals to end another's poll.
//
// A UniqueFd belongs to one owner at a time (move-only). WakeEvent::Signal and Clear may be
// called from any thread; its descriptor is polled by the thread that waits on it.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace marlovent::platform {

// An operating-system call failed; the message names the call and the errno text.
class SystemError : public std::runtime_error {
 public:
  SystemError(const std::string& What, int Errno);
  int Errno() const { return FErrno; }

 private:
  int FErrno;
};

class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int Fd) : FFd(Fd) {}
  UniqueFd(UniqueFd&& Other) noexcept : FFd(Other.Release()) {}
  UniqueFd& operator=(UniqueFd&& Other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() { Reset(); }

  int Get() const { return FFd; }
  bool Valid() const { return FFd >= 0; }
  int Release();
  void Reset();

 private:
  int FFd = -1;
};

struct Pipe {
  UniqueFd Read;
  UniqueFd Write;
};

// Both ends close on exec; only the ends that a spawn maps onto 0, 1 and 2 reach a child.
Pipe MakePipe();

// Bytes that can be read from Fd now without blocking (FIONREAD); 0 when it cannot tell.
std::size_t BytesWaiting(int Fd);

class WakeEvent {
 public:
  WakeEvent();
  int Fd() const { return FFd.Get(); }
  void Signal();
  void Clear();

 private:
  UniqueFd FFd;
};

}  // namespace marlovent::platform
