#include "platform/MainThreadQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

namespace marlovent::platform {
namespace {

TEST(MainThreadQueue, RunsRequestsOnTheMainThreadWhileItWaits) {
  auto& Queue = MainThreadQueue::Instance();
  ASSERT_TRUE(MainThreadQueue::IsMainThread());
  int Sum = 0;  // touched only on the main thread
  std::atomic<bool> Done{false};
  std::atomic<bool> AllOnMain{true};
  std::thread Worker([&] {
    for (int I = 1; I <= 100; ++I)
      Queue.Synchronize([&] {
        if (!MainThreadQueue::IsMainThread()) AllOnMain = false;
        Sum += I;
      });
    Done = true;
    Queue.Wake();
  });
  Queue.WaitUntil([&] { return Done.load(); });
  Worker.join();
  EXPECT_EQ(Sum, 5050);
  EXPECT_TRUE(AllOnMain);
}

TEST(MainThreadQueue, PassesAnExceptionBackToTheRequester) {
  auto& Queue = MainThreadQueue::Instance();
  std::atomic<bool> Done{false};
  std::string Caught;
  std::thread Worker([&] {
    try {
      Queue.Synchronize([] { throw std::runtime_error("from the main thread"); });
    } catch (const std::runtime_error& Error) {
      Caught = Error.what();
    }
    Done = true;
    Queue.Wake();
  });
  Queue.WaitUntil([&] { return Done.load(); });
  Worker.join();
  EXPECT_EQ(Caught, "from the main thread");
}

TEST(MainThreadQueue, RunsAtOnceOnTheMainThreadAndCallsTheWakeHookForRequestsAndWakes) {
  auto& Queue = MainThreadQueue::Instance();
  bool Ran = false;
  Queue.Synchronize([&] { Ran = true; });
  EXPECT_TRUE(Ran);

  std::atomic<int> Hooked{0};
  Queue.SetWakeHook([&] { ++Hooked; });
  std::atomic<bool> Done{false};
  std::thread Worker([&] {
    Queue.Synchronize([] {});
    Done = true;
    Queue.Wake();
  });
  Queue.WaitUntil([&] { return Done.load(); });
  Worker.join();
  Queue.SetWakeHook({});
  // Once for the request, once for the Wake that tells an event loop to look again.
  EXPECT_EQ(Hooked, 2);
}

TEST(MainThreadQueue, ServePendingServesWhatAnEventLoopWasWokenFor) {
  auto& Queue = MainThreadQueue::Instance();
  std::atomic<bool> Queued{false};
  Queue.SetWakeHook([&] { Queued = true; });
  bool Ran = false;
  std::thread Worker([&] { Queue.Synchronize([&] { Ran = true; }); });
  // An event loop would call ServePending when the hook fires; here the test does.
  while (!Queued) std::this_thread::yield();
  EXPECT_EQ(Queue.ServePending(), 1);
  Worker.join();
  Queue.SetWakeHook({});
  EXPECT_TRUE(Ran);
}

}  // namespace
}  // namespace marlovent::platform
