// The framework's exception: what handlers raise and the application's exception box shows.
#pragma once

#include <exception>
#include <string>

namespace ui {

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace ui
