// Loading a driver library by name and looking up its entry points.
#pragma once

namespace os {

using LibraryHandle = void*;

// Windows: LoadLibrary with the system's search order. Elsewhere: a library that the process
// registered under that name (the simulated instrument in tests), or nullptr.
LibraryHandle LoadLibraryByName(const char* name);

// The address of an exported entry point, or nullptr when the library lacks it.
void* LibrarySymbol(LibraryHandle library, const char* name);

// Builds without a dynamic loader of their own stand an in-process library in: `lookup` answers
// the symbol look-ups for `name`. Registering nullptr removes it. Only used off Windows.
using SymbolLookup = void* (*)(const char* symbol);
void RegisterInProcessLibrary(const char* name, SymbolLookup lookup);

}  // namespace os
