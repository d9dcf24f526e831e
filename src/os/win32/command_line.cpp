#include <windows.h>

#include <shellapi.h>

#include "command_line.h"
#include "text.h"

namespace os {
namespace {
// Set only by tests; otherwise the process's own command line is parsed.
bool overridden = false;
std::vector<std::string> overrideArguments;
}  // namespace

std::vector<std::string> ProgramArguments() {
  if (overridden)
    return overrideArguments;
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (argv == nullptr)
    return arguments;
  // The first entry is the program's own name.
  for (int i = 1; i < count; ++i)
    arguments.push_back(WideToUtf8(argv[i]));
  ::LocalFree(argv);
  return arguments;
}

void SetProgramArguments(std::vector<std::string> arguments) {
  overridden = true;
  overrideArguments = std::move(arguments);
}

}  // namespace os
