#include "thread.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <deque>
#include <thread>
#include <vector>

namespace os {
namespace {

// Static initialisation runs on the thread that starts the program.
const std::thread::id mainThreadId = std::this_thread::get_id();

// How often a waiting main thread looks at the worker's state again.
constexpr uint32_t kMainThreadWaitSliceMs = 2;

bool RealPauseWait(std::condition_variable& changed, std::unique_lock<std::mutex>& lock,
                   uint32_t ms, const std::function<bool()>& ended) {
  if (ms == kNoTimeLimit) {
    changed.wait(lock, ended);
    return true;
  }
  return changed.wait_for(lock, std::chrono::milliseconds(ms), ended);
}

std::atomic<WakeMainThreadFunction> wakeMainThread{nullptr};
std::atomic<SyncExceptionHandler> syncExceptionHandler{nullptr};
std::atomic<MainThreadWaitFunction> mainThreadWait{nullptr};
std::atomic<PauseWaitFunction> pauseWait{&RealPauseWait};

struct SyncCall {
  const std::function<void()>* method;
  const TThread* caller;
  bool done = false;
};

// Never destroyed: a worker may still synchronise while the program's statics are torn down.
std::mutex& syncMutex = *new std::mutex;
std::condition_variable& syncChanged = *new std::condition_variable;
std::deque<SyncCall*>& syncQueue = *new std::deque<SyncCall*>;
// The threads whose synchronised calls the main thread is running, innermost last (a call may run
// a message loop that runs further calls). Main thread only.
std::vector<const TThread*>& runningCallers = *new std::vector<const TThread*>;

// No exception leaves a synchronised call: it goes to the handler on the main thread.
void RunGuarded(const std::function<void()>& method) {
  try {
    method();
  } catch (...) {
    SyncExceptionHandler handler = syncExceptionHandler.load();
    if (handler)
      handler(std::current_exception());
  }
}

}  // namespace

void SetWakeMainThread(WakeMainThreadFunction wake) {
  wakeMainThread.store(wake);
}

void SetSyncExceptionHandler(SyncExceptionHandler handler) {
  syncExceptionHandler.store(handler);
}

bool IsMainThread() {
  return std::this_thread::get_id() == mainThreadId;
}

bool CheckSynchronize() {
  std::deque<SyncCall*> calls;
  {
    std::lock_guard<std::mutex> lock(syncMutex);
    calls.swap(syncQueue);
  }
  for (SyncCall* call : calls) {
    runningCallers.push_back(call->caller);
    RunGuarded(*call->method);
    runningCallers.pop_back();
    std::lock_guard<std::mutex> lock(syncMutex);
    call->done = true;
  }
  if (!calls.empty())
    syncChanged.notify_all();
  return !calls.empty();
}

bool WaitForSynchronize(uint32_t timeoutMs) {
  std::unique_lock<std::mutex> lock(syncMutex);
  return syncChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [] { return !syncQueue.empty(); });
}

void SetMainThreadWait(MainThreadWaitFunction wait) {
  mainThreadWait.store(wait);
}

PauseWaitFunction SetPauseWait(PauseWaitFunction wait) {
  return pauseWait.exchange(wait ? wait : &RealPauseWait);
}

TThread::TThread(bool createSuspended) : suspendCount_(createSuspended ? 1 : 0) {}

TThread::~TThread() {
  if (native_)
    detail::JoinNativeThread(native_);
}

void TThread::AfterConstruction() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (started_)
      return;
    started_ = true;
  }
  native_ = detail::StartNativeThread(&TThread::ThreadMain, this);
}

void TThread::ThreadMain(void* self) {
  TThread* thread = static_cast<TThread*>(self);
  thread->CheckSuspended();
  // Nothing escapes the thread: an error of Execute ends it like a return.
  try {
    thread->Execute();
  } catch (...) {
  }
  std::lock_guard<std::mutex> lock(thread->mutex_);
  thread->finished_ = true;
  thread->changed_.notify_all();
}

void TThread::Suspend() {
  std::lock_guard<std::mutex> lock(mutex_);
  ++suspendCount_;
  changed_.notify_all();
}

void TThread::Resume() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (suspendCount_ == 0)
    return;
  if (--suspendCount_ == 0)
    changed_.notify_all();
}

int TThread::SuspendCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return suspendCount_;
}

bool TThread::Held() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return held_;
}

void TThread::CheckSuspended() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (suspendCount_ == 0)
    return;
  held_ = true;
  changed_.notify_all();
  changed_.wait(lock, [this] { return suspendCount_ == 0; });
  held_ = false;
}

bool TThread::InSynchronize() const {
  if (!IsMainThread())
    return false;
  return std::find(runningCallers.begin(), runningCallers.end(), this) != runningCallers.end();
}

void TThread::Wake() {
  std::lock_guard<std::mutex> lock(mutex_);
  changed_.notify_all();
}

bool TThread::Pause(uint32_t ms, const std::function<bool()>& until, bool endOnTerminate) {
  std::unique_lock<std::mutex> lock(mutex_);
  const std::function<bool()> ended = [&] {
    return suspendCount_ > 0 || (endOnTerminate && terminated_) || (until && until());
  };
  return pauseWait.load()(changed_, lock, ms, ended);
}

void TThread::AwaitState(const std::function<bool()>& done) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!IsMainThread()) {
    changed_.wait(lock, done);
    return;
  }
  // In short slices: the worker may be blocked in Synchronize until the main thread runs its call,
  // and the windows must not stop painting meanwhile.
  while (!done()) {
    lock.unlock();
    MainThreadWaitFunction wait = mainThreadWait.load();
    if (wait)
      wait(kMainThreadWaitSliceMs);
    else
      WaitForSynchronize(kMainThreadWaitSliceMs);
    CheckSynchronize();
    lock.lock();
  }
}

void TThread::WaitUntilHeld() {
  AwaitState([this] { return suspendCount_ == 0 || held_ || finished_ || !started_; });
}

void TThread::Terminate() {
  std::lock_guard<std::mutex> lock(mutex_);
  terminated_ = true;
  changed_.notify_all();
}

bool TThread::Terminated() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return terminated_;
}

bool TThread::Finished() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return finished_;
}

void TThread::WaitFor() {
  AwaitState([this] { return !started_ || finished_; });
}

void TThread::Synchronize(const std::function<void()>& method) {
  if (IsMainThread()) {
    RunGuarded(method);
    return;
  }
  SyncCall call{&method, this};
  {
    std::lock_guard<std::mutex> lock(syncMutex);
    syncQueue.push_back(&call);
  }
  syncChanged.notify_all();
  WakeMainThreadFunction wake = wakeMainThread.load();
  if (wake)
    wake();
  std::unique_lock<std::mutex> lock(syncMutex);
  syncChanged.wait(lock, [&call] { return call.done; });
}

}  // namespace os
