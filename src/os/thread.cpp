#include "thread.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <thread>

namespace os {
namespace {

// Static initialisation runs on the thread that starts the program.
const std::thread::id mainThreadId = std::this_thread::get_id();

std::atomic<WakeMainThreadFunction> wakeMainThread{nullptr};
std::atomic<SyncExceptionHandler> syncExceptionHandler{nullptr};

struct SyncCall {
  const std::function<void()>* method;
  bool done = false;
};

// Never destroyed: a worker may still synchronise while the program's statics are torn down.
std::mutex& syncMutex = *new std::mutex;
std::condition_variable& syncChanged = *new std::condition_variable;
std::deque<SyncCall*>& syncQueue = *new std::deque<SyncCall*>;

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
    RunGuarded(*call->method);
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

void TThread::WaitUntilHeld() {
  const bool onMain = IsMainThread();
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    if (suspendCount_ == 0 || held_ || finished_ || !started_)
      return;
    // A short wait, so that on the main thread a worker blocked in Synchronize gets its call run.
    changed_.wait_for(lock, std::chrono::milliseconds(2));
    if (onMain) {
      lock.unlock();
      CheckSynchronize();
      lock.lock();
    }
  }
}

void TThread::Terminate() {
  std::lock_guard<std::mutex> lock(mutex_);
  terminated_ = true;
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
  const bool onMain = IsMainThread();
  std::unique_lock<std::mutex> lock(mutex_);
  while (started_ && !finished_) {
    changed_.wait_for(lock, std::chrono::milliseconds(2));
    if (onMain) {
      lock.unlock();
      CheckSynchronize();
      lock.lock();
    }
  }
}

void TThread::Synchronize(const std::function<void()>& method) {
  if (IsMainThread()) {
    RunGuarded(method);
    return;
  }
  SyncCall call{&method};
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
