// Worker threads: Synchronize hands a call to the main thread, suspension is counted and takes
// hold only at safe points the worker itself passes, and termination is a request.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>

namespace os {

constexpr uint32_t kNoTimeLimit = UINT32_MAX;

// The main thread's side of Synchronize. The application installs a wake function that makes its
// message loop call CheckSynchronize soon; without one (native tests) the caller pumps by hand.
using WakeMainThreadFunction = void (*)();
void SetWakeMainThread(WakeMainThreadFunction wake);

// Receives, on the main thread, an exception that escaped a synchronised call. It never reaches
// the waiting worker. Without a handler the exception is dropped.
using SyncExceptionHandler = void (*)(std::exception_ptr error);
void SetSyncExceptionHandler(SyncExceptionHandler handler);

// True on the thread that started the program.
bool IsMainThread();

// Runs every synchronised call waiting; main thread only. Returns true when one ran.
bool CheckSynchronize();

// Waits up to timeoutMs until a synchronised call is waiting (for a loop without messages).
bool WaitForSynchronize(uint32_t timeoutMs);

// What the main thread does while it waits for a worker (WaitUntilHeld, WaitFor): waits up to
// timeoutMs for work that must not stop meanwhile and does it. Synchronised calls run in any case;
// the application installs one that also keeps the windows painted. nullptr: none.
using MainThreadWaitFunction = void (*)(uint32_t timeoutMs);
void SetMainThreadWait(MainThreadWaitFunction wait);

// How a worker's pause waits on its thread's condition: until ended() holds or ms have passed
// (kNoTimeLimit: no limit); true when ended() held. Tests replace it so that no pause waits for
// real time, or none ever runs out. nullptr restores the real wait; returns the previous one.
using PauseWaitFunction = bool (*)(std::condition_variable& changed,
                                   std::unique_lock<std::mutex>& lock, uint32_t ms,
                                   const std::function<bool()>& ended);
PauseWaitFunction SetPauseWait(PauseWaitFunction wait);

class TThread {
 public:
  // A thread created suspended waits at its first safe point, before Execute, until resumed.
  explicit TThread(bool createSuspended);
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;
  // Destroy a thread only after it has finished (WaitFor); the destructor then only releases it.
  virtual ~TThread();

  // Starts the native thread; call once the object is fully constructed (Create does it). The
  // thread runs Execute as soon as its suspension count is 0.
  void AfterConstruction();

  // Constructs a thread and starts it: the way every thread of the program is made.
  template <class T, class... Args>
  static T* Create(Args&&... args) {
    T* thread = new T(std::forward<Args>(args)...);
    thread->AfterConstruction();
    return thread;
  }

  // Raises the suspension count; the thread stops at its next safe point, and a pause it stands
  // in ends early.
  void Suspend();
  // Lowers the suspension count; a resume at count 0 does nothing.
  void Resume();
  int SuspendCount() const;
  // For whoever suspended the thread and is about to use what it uses: returns once the thread
  // stands held at a safe point (or is not running at all). On the main thread it keeps running
  // synchronised calls meanwhile, so a worker waiting in Synchronize can reach its safe point.
  void WaitUntilHeld();
  // True while the thread stands held at a safe point.
  bool Held() const;
  // True on the main thread while it runs a call this thread waits for in Synchronize: waiting
  // there for the thread to be held would never end.
  bool InSynchronize() const;
  // Makes the thread's pause test its condition again; for whoever changed what it waits for.
  void Wake();

  void Terminate();
  bool Terminated() const;
  bool Finished() const;
  // Waits until Execute has returned, running synchronised calls meanwhile on the main thread.
  void WaitFor();

 protected:
  virtual void Execute() = 0;
  // Runs method on the main thread and returns when it has run. Called on the main thread it
  // runs at once. An exception inside method goes to the sync exception handler.
  void Synchronize(const std::function<void()>& method);
  // A safe point: returns at once at suspension count 0, else holds the thread until resumed.
  void CheckSuspended();
  // Waits up to ms (kNoTimeLimit: no limit), ending early once a hold is asked for, once until()
  // holds (tested under the thread's lock whenever Wake, Suspend or Terminate runs, so it must not
  // call back into the thread), or, with endOnTerminate, once termination is asked for. True when
  // it ended early. Unlike a safe point it never holds the thread.
  bool Pause(uint32_t ms, const std::function<bool()>& until = nullptr,
             bool endOnTerminate = false);

 private:
  static void ThreadMain(void* self);
  // Returns once done() holds, tested under the thread's lock; on the main thread it does the
  // main thread's waiting work meanwhile.
  void AwaitState(const std::function<bool()>& done);

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  int suspendCount_;
  bool held_ = false;
  bool started_ = false;
  bool finished_ = false;
  bool terminated_ = false;
  void* native_ = nullptr;
};

namespace detail {
// The platform's thread: start running entry(arg); wait for its end and release it.
void* StartNativeThread(void (*entry)(void*), void* arg);
void JoinNativeThread(void* native);
}  // namespace detail

}  // namespace os
