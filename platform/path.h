// Paths. Inside the program a path has the Windows form the program works with: a drive
// "C:", '\' separators, CP932 bytes ("C:\home\user\harv\CAL\HVS\TEST_HVS.HVS"). The drive
// "C:" is the Linux root; other drive letters are refused by the file layer (only "C:" is a
// fixed drive here). These two functions are the only conversion points; only the file layer
// (files.h) calls the Linux file system with the native form.
#pragma once

#include <optional>
#include <string>

namespace platform {

// Inside path to native UTF-8 path: "C:" becomes the root, '\' becomes '/', CP932 becomes
// UTF-8. A path without a drive stays relative. Where the exact name does not exist, each
// component is looked up case-insensitively (ASCII letters), as Windows would; the first
// match in directory order is used. A path on another drive than "C:" gives an empty result.
std::optional<std::string> ToNativePath(const std::string& inside);

// Whether two native names are equal but for the case of ASCII letters (the name lookup of
// ToNativePath).
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

// Native path (argv, a file dialog) to inside form. An absolute path gets "C:"; a relative
// one stays relative. Empty when the name holds characters CP932 cannot encode.
std::optional<std::string> ToInsidePath(const std::string& native);

// The folder holding the running executable, inside form with a trailing '\'.
std::string ExecutableFolder();

// The running executable's file name without its folder and extension.
std::string ExecutableName();

// The system's temporary folder, inside form with a trailing '\'.
std::string TempFolder();

}  // namespace platform
