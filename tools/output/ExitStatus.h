// What the tools tell the shell.
#pragma once

namespace cs::preview {

enum ExitStatus : int {
    kDone = 0,      // ran, or checked without an error
    kFailure = 1,   // the module could not be loaded or run, a file not written
    kBadInput = 2,  // a scenario, a gauge or the command line is wrong; nothing was run
};

}  // namespace cs::preview
