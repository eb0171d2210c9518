// What the preview program does before and after its work that depends on
// how it was started: its arguments as UTF-8 on every platform, the console
// it writes to, and on Windows the case of a double-click in Explorer.
#pragma once

#include <string>
#include <vector>

namespace cs::preview {

// The program's arguments (the program's name first) as UTF-8. On Windows
// they come from the wide-character command line, so that names outside
// the user's code page arrive intact; elsewhere they are argv as it is.
std::vector<std::string> programArguments(int argc, char** argv);

// Makes a console the program writes to show UTF-8 (Windows); nothing
// elsewhere.
void prepareConsole();

}  // namespace cs::preview
