#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

#include "deadline.h"
#include "main_thread_pump.h"
#include "thread.h"

namespace {

using namespace std::chrono_literals;

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

// A call that waits for a worker ends the test program with a message rather than hang.
void WaitHeld(os::TThread* worker) {
  Deadline deadline("WaitUntilHeld", 20s);
  worker->WaitUntilHeld();
}

void WaitEnded(os::TThread* worker, const std::string& what) {
  Deadline deadline(what, 20s);
  worker->WaitFor();
}

void Stop(os::TThread* worker) {
  while (worker->SuspendCount() > 0)
    worker->Resume();
  worker->Terminate();
  WaitEnded(worker, "a worker's end");
  delete worker;
}

TEST(ThreadTest, SuspensionIsCountedAndHeldAtSafePoints) {
  Worker* worker = os::TThread::Create<Worker>(false);
  ASSERT_TRUE(PumpUntil([&] { return worker->passes > 2; }));

  worker->Suspend();
  worker->Suspend();
  WaitHeld(worker);
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
  ASSERT_TRUE(PumpUntil([&] { return worker->passes > passes + 2; }));
  worker->Suspend();
  WaitHeld(worker);
  EXPECT_TRUE(worker->Held());
  Stop(worker);
}

TEST(ThreadTest, CreatedSuspendedRunsNothingUntilResumed) {
  Worker* worker = os::TThread::Create<Worker>(true, false);
  WaitHeld(worker);
  EXPECT_EQ(worker->passes, 0);
  worker->Resume();
  ASSERT_TRUE(PumpUntil([&] { return worker->passes > 0; }));
  Stop(worker);
}

TEST(ThreadTest, ExceptionInCallbackStaysOnTheMainThread) {
  static std::atomic<int> reported{0};
  os::SetSyncExceptionHandler([](std::exception_ptr) { ++reported; });
  Worker* worker = os::TThread::Create<Worker>(false);
  worker->throwInCallback = true;  // set before the first call can run: runs on this thread
  ASSERT_TRUE(PumpUntil([&] { return worker->shown >= 3; }));
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

// A worker that stands in one pause and reports how it ended.
class Pauser : public os::TThread {
 public:
  explicit Pauser(bool endOnTerminate) : TThread(false), endOnTerminate_(endOnTerminate) {}
  std::atomic<bool> paused{false};
  std::atomic<bool> awaited{false};
  std::optional<bool> endedEarly;  // read once the thread has finished

 protected:
  void Execute() override {
    paused = true;
    endedEarly = Pause(
        os::kNoTimeLimit, [this] { return awaited.load(); }, endOnTerminate_);
  }

 private:
  bool endOnTerminate_;
};

bool NeverRunsOut(std::condition_variable& changed, std::unique_lock<std::mutex>& lock, uint32_t,
                  const std::function<bool()>& ended) {
  changed.wait(lock, ended);
  return true;
}

TEST(ThreadTest, APauseEndsOnAHoldOnWhatItWaitsForAndOnTerminationIfAsked) {
  struct Case {
    const char* what;
    void (*act)(Pauser&);
    bool endOnTerminate;
    bool ends;  // the act alone ends the pause; otherwise a hold ends it after
  };
  const Case cases[] = {
      {"hold", [](Pauser& p) { p.Suspend(); }, false, true},
      {"awaited",
       [](Pauser& p) {
         p.awaited = true;
         p.Wake();
       },
       false, true},
      {"terminate", [](Pauser& p) { p.Terminate(); }, true, true},
      {"terminate, not asked to end on it", [](Pauser& p) { p.Terminate(); }, false, false},
  };
  os::SetPauseWait(&NeverRunsOut);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Pauser* pauser = os::TThread::Create<Pauser>(c.endOnTerminate);
    ASSERT_TRUE(PumpUntil([&] { return pauser->paused.load(); }));
    c.act(*pauser);
    if (!c.ends) {
      std::this_thread::sleep_for(20ms);
      EXPECT_FALSE(pauser->Finished());
      pauser->Suspend();
    }
    WaitEnded(pauser, std::string("the end of a pause on ") + c.what);
    EXPECT_EQ(pauser->endedEarly, true);
    Stop(pauser);
  }
  os::SetPauseWait(nullptr);
}

TEST(ThreadTest, TheMainThreadWaitsThroughTheInstalledWait) {
  static std::atomic<int> waits{0};
  os::SetMainThreadWait([](uint32_t timeoutMs) {
    ++waits;
    os::WaitForSynchronize(timeoutMs);
  });
  Worker* worker = os::TThread::Create<Worker>(false);
  // The worker waits for its call to be run: it can be held only once the main thread has run it.
  ASSERT_TRUE(os::WaitForSynchronize(20000)) << "no synchronised call within 20 s";
  worker->Suspend();
  WaitHeld(worker);
  EXPECT_TRUE(worker->Held());
  EXPECT_GT(waits.load(), 0);
  Stop(worker);
  os::SetMainThreadWait(nullptr);
}

TEST(ThreadTest, TheMainThreadKnowsWhoseSynchronisedCallItRuns) {
  Worker* first = os::TThread::Create<Worker>(true);
  struct Asker : os::TThread {
    explicit Asker(Worker* other) : TThread(false), other_(other) {}
    void Execute() override {
      Synchronize([this] {
        own = InSynchronize();
        other = other_->InSynchronize();
      });
    }
    Worker* other_;
    bool own = false, other = true;
  };
  Asker* asker = os::TThread::Create<Asker>(first);
  WaitEnded(asker, "the asker's end");
  EXPECT_TRUE(asker->own);
  EXPECT_FALSE(asker->other);
  EXPECT_FALSE(asker->InSynchronize());
  delete asker;
  Stop(first);
}

}  // namespace
