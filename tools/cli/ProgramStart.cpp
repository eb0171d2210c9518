#include "tools/cli/ProgramStart.h"

#include <cstdio>
#include <cstdlib>

#if defined(_WIN32)
#include <windows.h>
// After windows.h.
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

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

bool startedInOwnConsole() {
#if defined(_WIN32)
    DWORD processes[2] = {};
    if (GetConsoleProcessList(processes, 2) == 1) {
        return true;
    }
    const char* simulated = std::getenv("CS_PREVIEW_TEST_OWN_CONSOLE");
    return simulated != nullptr && std::string(simulated) == "1";
#else
    return false;
#endif
}

std::string ownConsoleOutputFolder() {
#if defined(_WIN32)
    // The Documents folder where the user has put it (it may be moved or
    // redirected), else the profile's.
    std::string documents;
    wchar_t* known = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_CREATE, nullptr, &known) == S_OK) {
        documents = sim::utf8Text(known);
    }
    CoTaskMemFree(known);
    if (documents.empty()) {
        const wchar_t* profile = _wgetenv(L"USERPROFILE");
        if (profile == nullptr || *profile == L'\0') {
            return std::string();
        }
        documents = sim::joinPath(sim::utf8Text(profile), "Documents");
    }
    const std::string folder = sim::joinPath(documents, "ContactScope preview");
    return sim::makeFolders(folder).empty() ? folder : std::string();
#else
    return std::string();
#endif
}

void waitForEnter() {
    std::printf("\nPress Enter to close this window.\n");
    std::fflush(stdout);
    int c = 0;
    while ((c = std::getchar()) != '\n' && c != EOF) {
    }
}

}  // namespace cs::preview
