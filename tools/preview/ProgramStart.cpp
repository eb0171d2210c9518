#include "tools/preview/ProgramStart.h"

#if defined(_WIN32)
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include "simhost/FilePath.h"
#endif

namespace cs::preview {

std::vector<std::string> programArguments(int argc, char** argv) {
    std::vector<std::string> out;
#if defined(_WIN32)
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide != nullptr) {
        for (int i = 0; i < count; ++i) {
            out.push_back(sim::utf8Text(wide[i]));
        }
        LocalFree(wide);
        return out;
    }
#endif
    for (int i = 0; i < argc; ++i) {
        out.emplace_back(argv[i] != nullptr ? argv[i] : "");
    }
    return out;
}

void prepareConsole() {
#if defined(_WIN32)
    SetConsoleOutputCP(CP_UTF8);
#endif
}

}  // namespace cs::preview
