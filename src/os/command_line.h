// The arguments the program was started with, after the program's own name, in UTF-8.
#pragma once

#include <string>
#include <vector>

namespace os {

std::vector<std::string> ProgramArguments();

// Natively there is no command line to ask: tests set the arguments the program sees.
void SetProgramArguments(std::vector<std::string> arguments);

}  // namespace os
