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

// True when the program is alone in its console: started from Explorer (a
// double-click), not from a Command Prompt, whose console it would share.
// Always false outside Windows. For the package check only, the environment
// variable CS_PREVIEW_TEST_OWN_CONSOLE=1 makes it true (Wine runs the
// program there without a console).
bool startedInOwnConsole();

// The folder a double-clicked program writes into, "ContactScope preview" in
// the user's Documents, created if missing; empty when it cannot be made.
std::string ownConsoleOutputFolder();

// Says so and waits for Enter (or the end of the input).
void waitForEnter();

}  // namespace cs::preview
