// The process-wide keeper of children that nobody waits for any more (a run that ended by
// a time-out leaves its child running). It drains each child's output so that the child
// never blocks on a full pipe, and reaps the child when it ends.
//
// Adopt may be called from any thread; a single background thread of the reaper's own,
// started by the first Adopt, does the waiting. It blocks in poll and never kills anyone.
#pragma once

#include <sys/types.h>

#include <memory>

#include "platform/FileDescriptor.h"

namespace marlovent::platform {

class ChildReaper {
 public:
  static ChildReaper& Instance();
  void Adopt(pid_t Pid, UniqueFd ExitFd, UniqueFd Output);
  // Children adopted and not yet reaped.
  std::size_t Pending() const;

  ChildReaper(const ChildReaper&) = delete;
  ChildReaper& operator=(const ChildReaper&) = delete;
  ~ChildReaper();

 private:
  ChildReaper();
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

}  // namespace marlovent::platform
