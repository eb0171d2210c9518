#include "tools/output/Terminal.h"

#include <cstdio>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace cs::preview {

bool stderrIsTerminal() {
#if defined(_WIN32)
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

void ProgressBar::show(double fraction, const std::string& label) {
    if (!enabled_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - start_ < std::chrono::milliseconds(700) ||
        (drawn_ && now - last_ < std::chrono::milliseconds(100))) {
        return;
    }
    last_ = now;
    drawn_ = true;
    fraction = fraction < 0.0 ? 0.0 : (fraction > 1.0 ? 1.0 : fraction);
    constexpr int kWidth = 30;
    const int filled = static_cast<int>(fraction * kWidth + 0.5);
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(kWidth - filled), '.');
    std::fprintf(stderr, "\r[%s] %3d%% %-28.28s", bar.c_str(),
                 static_cast<int>(fraction * 100.0 + 0.5), label.c_str());
    std::fflush(stderr);
}

void ProgressBar::finish() {
    if (drawn_) {
        std::fprintf(stderr, "\r%-70s\r", "");
        std::fflush(stderr);
        drawn_ = false;
    }
}

}  // namespace cs::preview
