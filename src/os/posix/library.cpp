#include <map>
#include <mutex>
#include <string>

#include "library.h"

namespace os {
namespace {

std::mutex registryLock;

std::map<std::string, SymbolLookup>& Registry() {
  static std::map<std::string, SymbolLookup> registry;
  return registry;
}

}  // namespace

void RegisterInProcessLibrary(const char* name, SymbolLookup lookup) {
  std::lock_guard<std::mutex> hold(registryLock);
  if (lookup) {
    Registry()[name] = lookup;
  } else {
    Registry().erase(name);
  }
}

LibraryHandle LoadLibraryByName(const char* name) {
  std::lock_guard<std::mutex> hold(registryLock);
  auto found = Registry().find(name);
  if (found == Registry().end())
    return nullptr;
  return reinterpret_cast<LibraryHandle>(found->second);
}

void* LibrarySymbol(LibraryHandle library, const char* name) {
  if (!library)
    return nullptr;
  return reinterpret_cast<SymbolLookup>(library)(name);
}

}  // namespace os
