#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "folders.h"

namespace os {

std::string AppDataFolder() {
  if (const char* own = std::getenv("VRX_APPDATA"))
    return own;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"))
    return config;
  if (const char* home = std::getenv("HOME"))
    return std::string(home) + "/.config";
  return {};
}

bool CreateFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0755) == 0;
}

bool SetCurrentFolder(const std::string& path) {
  return ::chdir(path.c_str()) == 0;
}

std::string CurrentFolder() {
  char buffer[PATH_MAX];
  return ::getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string();
}

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (length <= 0)
    return "./";
  std::string path(buffer, static_cast<std::size_t>(length));
  return path.substr(0, path.rfind('/') + 1);
}

char PathSeparator() {
  return '/';
}

}  // namespace os
