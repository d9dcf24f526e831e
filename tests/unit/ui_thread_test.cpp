#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

#include "thread.h"

namespace {

// A worker that counts passes, each a safe point, a synchronised call, and a check of
// termination.
class Worker : public os::TThread {
 public:
  explicit Worker(bool suspended, bool sync = true) : TThread(suspended), sync_(sync) {}
  std::atomic<int> passes{0};
  int shown = 0;  // main thread only
  bool throwInCallback = false;

 protected:
  void Execute() override {
    while (!Terminated()) {
      CheckSuspended();
      ++passes;
      if (sync_) {
        Synchronize([this] {
          ++shown;
          if (throwInCallback)
            throw std::runtime_error("callback failed");
        });
      }
    }
  }

 private:
  bool sync_;
};

void PumpUntil(const std::function<bool()>& done) {
  while (!done()) {
    os::WaitForSynchronize(5);
    os::CheckSynchronize();
  }
}

void Stop(Worker* worker) {
  while (worker->SuspendCount() > 0)
    worker->Resume();
  worker->Terminate();
  worker->WaitFor();
  delete worker;
}

TEST(ThreadTest, SuspensionIsCountedAndHeldAtSafePoints) {
  Worker* worker = os::TThread::Create<Worker>(false);
  PumpUntil([&] { return worker->passes > 2; });

  worker->Suspend();
  worker->Suspend();
  worker->WaitUntilHeld();
  EXPECT_TRUE(worker->Held());
  int passes = worker->passes;
  // One resume of two leaves the thread held; no synchronised call arrives.
  worker->Resume();
  EXPECT_EQ(worker->SuspendCount(), 1);
  EXPECT_FALSE(os::WaitForSynchronize(30));
  EXPECT_EQ(worker->passes, passes);

  worker->Resume();
  EXPECT_EQ(worker->SuspendCount(), 0);
  // A resume at count 0 does nothing: a later suspend holds it again.
  worker->Resume();
  EXPECT_EQ(worker->SuspendCount(), 0);
  PumpUntil([&] { return worker->passes > passes + 2; });
  worker->Suspend();
  worker->WaitUntilHeld();
  EXPECT_TRUE(worker->Held());
  Stop(worker);
}

TEST(ThreadTest, CreatedSuspendedRunsNothingUntilResumed) {
  Worker* worker = os::TThread::Create<Worker>(true, false);
  worker->WaitUntilHeld();
  EXPECT_EQ(worker->passes, 0);
  worker->Resume();
  while (worker->passes == 0) {
  }
  Stop(worker);
}

TEST(ThreadTest, ExceptionInCallbackStaysOnTheMainThread) {
  static std::atomic<int> reported{0};
  os::SetSyncExceptionHandler([](std::exception_ptr) { ++reported; });
  Worker* worker = os::TThread::Create<Worker>(false);
  worker->throwInCallback = true;  // set before the first call can run: runs on this thread
  PumpUntil([&] { return worker->shown >= 3; });
  EXPECT_GE(reported.load(), 3);
  EXPECT_FALSE(worker->Finished());
  Stop(worker);
  os::SetSyncExceptionHandler(nullptr);
}

TEST(ThreadTest, SynchronizeOnTheMainThreadRunsAtOnce) {
  struct Direct : os::TThread {
    Direct() : TThread(true) {}
    void Execute() override {}
    void Call(int* value) {
      Synchronize([value] { *value = 5; });
    }
  } direct;
  int value = 0;
  direct.Call(&value);
  EXPECT_EQ(value, 5);
}

}  // namespace
