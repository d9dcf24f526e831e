#include "command_line.h"

#include <utility>

namespace os {
namespace {
std::vector<std::string> programArguments;
}  // namespace

std::vector<std::string> ProgramArguments() {
  return programArguments;
}

void SetProgramArguments(std::vector<std::string> arguments) {
  programArguments = std::move(arguments);
}

}  // namespace os
