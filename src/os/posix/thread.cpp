#include <pthread.h>

#include <cstdlib>

#include "thread.h"

namespace os::detail {
namespace {

struct Start {
  void (*entry)(void*);
  void* arg;
};

void* Trampoline(void* raw) {
  Start start = *static_cast<Start*>(raw);
  delete static_cast<Start*>(raw);
  start.entry(start.arg);
  return nullptr;
}

}  // namespace

void* StartNativeThread(void (*entry)(void*), void* arg) {
  auto* thread = new pthread_t;
  auto* start = new Start{entry, arg};
  // A thread that cannot be made leaves the program without its worker: nothing can go on.
  if (pthread_create(thread, nullptr, &Trampoline, start) != 0)
    std::abort();
  return thread;
}

void JoinNativeThread(void* native) {
  auto* thread = static_cast<pthread_t*>(native);
  pthread_join(*thread, nullptr);
  delete thread;
}

}  // namespace os::detail
