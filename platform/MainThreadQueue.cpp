#include "platform/MainThreadQueue.h"

#include <algorithm>
#include <exception>
#include <thread>

namespace marlovent::platform {

namespace {

// Static initialisation runs on the main thread, before main.
const std::thread::id MainThreadId = std::this_thread::get_id();

}  // namespace

struct MainThreadQueue::Request {
  const std::function<void()>& Fn;
  std::thread::id Requester;
  std::exception_ptr Error;  // written by the interface thread before Done
  bool Done = false;         // guarded by the queue's mutex; afterwards only the requester looks
};

MainThreadQueue& MainThreadQueue::Instance() {
  static MainThreadQueue Queue;
  return Queue;
}

bool MainThreadQueue::IsMainThread() {
  return std::this_thread::get_id() == MainThreadId;
}

void MainThreadQueue::Synchronize(const std::function<void()>& Fn) {
  if (IsMainThread()) {
    Fn();
    return;
  }
  Request Item{Fn, std::this_thread::get_id(), nullptr, false};
  std::unique_lock Lock(FMutex);
  FRequests.push_back(&Item);
  const std::function<void()> Hook = FWakeHook;
  FChanged.notify_all();
  if (Hook) {
    Lock.unlock();
    try {
      Hook();
    } catch (...) {
      // The loop was not nudged; the request waits for the next pass.
    }
    Lock.lock();
  }
  FChanged.wait(Lock, [&] { return Item.Done; });
  Lock.unlock();
  if (Item.Error) std::rethrow_exception(std::move(Item.Error));
}

MainThreadQueue::Request* MainThreadQueue::Pop() {
  const std::lock_guard Lock(FMutex);
  if (FRequests.empty()) return nullptr;
  Request* Item = FRequests.front();
  FRequests.pop_front();
  return Item;
}

int MainThreadQueue::ServePending() {
  int Served = 0;
  while (Request* Item = Pop()) {
    FServing.push_back(Item->Requester);
    try {
      Item->Fn();
    } catch (...) {
      Item->Error = std::current_exception();
    }
    FServing.pop_back();
    {
      const std::lock_guard Lock(FMutex);
      Item->Done = true;
    }
    FChanged.notify_all();
    ++Served;
  }
  return Served;
}

bool MainThreadQueue::IsServing(std::thread::id Requester) const {
  return IsMainThread() && std::find(FServing.begin(), FServing.end(), Requester) != FServing.end();
}

void MainThreadQueue::WaitUntil(const std::function<bool()>& Done) {
  const bool Serving = IsMainThread();
  while (true) {
    if (Serving) ServePending();
    std::unique_lock Lock(FMutex);
    const unsigned long Seen = FGeneration;
    Lock.unlock();
    if (Done()) return;
    Lock.lock();
    // Sleep until a Wake after the test above, or (when serving) a new request.
    FChanged.wait(Lock, [&] { return FGeneration != Seen || (Serving && !FRequests.empty()); });
  }
}

void MainThreadQueue::Wake() {
  std::function<void()> Hook;
  {
    const std::lock_guard Lock(FMutex);
    ++FGeneration;
    Hook = FWakeHook;
  }
  FChanged.notify_all();
  // An event loop waiting on the interface thread tests its condition again too.
  if (!Hook) return;
  try {
    Hook();
  } catch (...) {
    // Only a nudge: the loop looks again on its next event.
  }
}

void MainThreadQueue::SetWakeHook(std::function<void()> Hook) {
  const std::lock_guard Lock(FMutex);
  FWakeHook = std::move(Hook);
}

}  // namespace marlovent::platform
