// Ends the test program with a message when a call that waits for another thread has not returned
// in time, instead of leaving it to hang until ctest's time-out.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

class Deadline {
 public:
  Deadline(std::string what, std::chrono::seconds limit)
      : watcher_([this, what = std::move(what), limit] {
          std::unique_lock<std::mutex> lock(mutex_);
          if (!changed_.wait_for(lock, limit, [this] { return done_; })) {
            std::fprintf(stderr, "gave up: %s did not return within %lld s\n", what.c_str(),
                         static_cast<long long>(limit.count()));
            std::fflush(stderr);
            std::abort();
          }
        }) {}
  ~Deadline() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    changed_.notify_all();
    watcher_.join();
  }
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool done_ = false;
  std::thread watcher_;
};
