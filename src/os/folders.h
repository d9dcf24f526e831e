// The user's folders and the process's current directory, by UTF-8 paths.
#pragma once

#include <string>

namespace os {

// The user's application-data folder, without a trailing separator; empty when unknown.
// Natively $VRX_APPDATA, else $XDG_CONFIG_HOME, else $HOME/.config.
std::string AppDataFolder();

// Creates one folder; false when it could not (also when it exists already).
bool CreateFolder(const std::string& path);

bool SetCurrentFolder(const std::string& path);
std::string CurrentFolder();

// The folder of the running executable, with its trailing separator.
std::string ExecutableFolder();

// The separator of path parts: '\\' on Windows, '/' elsewhere.
char PathSeparator();

}  // namespace os
