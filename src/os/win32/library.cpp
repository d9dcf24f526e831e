#include <windows.h>

#include "library.h"

namespace os {

LibraryHandle LoadLibraryByName(const char* name) {
  return reinterpret_cast<LibraryHandle>(::LoadLibraryA(name));
}

void* LibrarySymbol(LibraryHandle library, const char* name) {
  if (!library)
    return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

void RegisterInProcessLibrary(const char*, SymbolLookup) {}

}  // namespace os
