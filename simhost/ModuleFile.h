// What lies at a module's path, judged from the file's own headers before
// the system loader sees it, so that a host can say why a module cannot be
// loaded: missing, empty, cut short, not a library of this platform, or a
// library for another processor. The system loaders report most of these
// as one opaque code (Windows: error 193) or not at all.
//
//   const std::string problem = cs::sim::moduleFileProblem(path);
//   if (!problem.empty()) ... "cannot load " + path + ": " + problem
#pragma once

#include <string>

namespace cs::sim {

// Empty when the file is a shared library this process could load (a PE
// DLL for its processor on Windows, an ELF shared object on Linux);
// otherwise the problem in words, e.g. "not found" or "is built for x64;
// this program is 32-bit x86 and loads only 32-bit x86 modules".
std::string moduleFileProblem(const std::string& path);

}  // namespace cs::sim
