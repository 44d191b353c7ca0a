// The interface thread's request queue: other threads ask the interface thread to run a
// function and wait until it has run (Synchronize).
//
// The interface thread is the program's main thread. It serves requests whenever it pumps
// its messages (the event loop attaches itself through SetWakeHook and calls ServePending)
// and whenever it blocks in WaitUntil, which is how a runner's Stop waits for its worker:
// a worker's handler that calls Synchronize therefore never deadlocks with Stop.
// Synchronize, Wake and SetWakeHook may be called from any thread; ServePending only on
// the interface thread; WaitUntil serves requests only there and on other threads just waits.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace marlovent::platform {

class MainThreadQueue {
 public:
  static MainThreadQueue& Instance();

  // Runs Fn on the interface thread and returns when it has run; an exception that Fn
  // throws is rethrown here. On the interface thread itself Fn runs at once.
  void Synchronize(const std::function<void()>& Fn);

  // Interface thread: runs every request waiting now. Returns how many ran.
  int ServePending();

  // Blocks until Done() answers true, serving requests meanwhile when called on the
  // interface thread. Done is tested again after every request and every Wake.
  void WaitUntil(const std::function<bool()>& Done);

  // Any thread: makes waiters test their condition again, those in WaitUntil and (through
  // the wake hook) an event loop that waits on the interface thread.
  void Wake();

  // Called from the requesting thread each time a request is queued, and on every Wake, so
  // that an event loop can schedule ServePending on the interface thread. Empty to detach. It is
  // only a nudge: an exception from it is dropped, and the request is served on the next pass.
  void SetWakeHook(std::function<void()> Hook);

  static bool IsMainThread();

  // Interface thread: whether a request from Requester is being served right now, so
  // that the requester is blocked until it returns.
  bool IsServing(std::thread::id Requester) const;

 private:
  MainThreadQueue() = default;
  struct Request;
  Request* Pop();

  std::mutex FMutex;
  std::condition_variable FChanged;
  // Each request lives on its requester's stack until it is done; guarded by FMutex.
  std::deque<Request*> FRequests;
  std::function<void()> FWakeHook;        // guarded by FMutex
  unsigned long FGeneration = 0;          // guarded by FMutex; counts Wake calls
  std::vector<std::thread::id> FServing;  // the interface thread's own: requests being served
};

}  // namespace marlovent::platform
