// Prints what the gauge reader made of each gauge file named on the command
// line, one line per piece, so that the Windows and the Linux build can be
// compared file by file: every node with its kind, line, box and scripts,
// every mouse area, the schema elements not modelled, and every problem with
// its line (file names left out: the two platforms spell paths differently).
#include <cstdio>
#include <filesystem>
#include <string>

#include "testsupport/GaugeTree.h"
#include "tools/gauge/GaugeReader.h"

using namespace cs::gauge;

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        Diagnostics d;
        GaugeFile g;
        const bool ok = readGaugeFile(argv[i], g, d);
        std::printf("file %s: %s, %s", std::filesystem::path(argv[i]).filename().string().c_str(),
                    ok ? "read" : "refused", cs::test::gaugeTree(g, true).c_str());
        for (const Problem& p : d.problems()) {
            std::printf("  problem %d line %d %s: %s\n", static_cast<int>(p.severity), p.line,
                        p.element.c_str(), p.message.c_str());
        }
    }
    return 0;
}
