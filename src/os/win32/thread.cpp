#include <windows.h>

#include <process.h>

#include <cstdlib>

#include "thread.h"

namespace os::detail {
namespace {

struct Start {
  void (*entry)(void*);
  void* arg;
};

unsigned __stdcall Trampoline(void* raw) {
  Start start = *static_cast<Start*>(raw);
  delete static_cast<Start*>(raw);
  start.entry(start.arg);
  return 0;
}

}  // namespace

void* StartNativeThread(void (*entry)(void*), void* arg) {
  auto* start = new Start{entry, arg};
  // _beginthreadex rather than CreateThread, so the C run-time is set up for the thread.
  uintptr_t handle = _beginthreadex(nullptr, 0, &Trampoline, start, 0, nullptr);
  // A thread that cannot be made leaves the program without its worker: nothing can go on.
  if (handle == 0)
    std::abort();
  return reinterpret_cast<void*>(handle);
}

void JoinNativeThread(void* native) {
  HANDLE handle = static_cast<HANDLE>(native);
  ::WaitForSingleObject(handle, INFINITE);
  ::CloseHandle(handle);
}

}  // namespace os::detail
