// The terminal side: whether stderr is a terminal, and a one-line progress bar.
#pragma once

#include <chrono>
#include <string>

namespace cs::preview {

bool stderrIsTerminal();

class ProgressBar {
  public:
    explicit ProgressBar(bool enabled) : enabled_(enabled) {}
    ~ProgressBar() { finish(); }
    // `fraction` of everything, with a label for the current piece. Shown only
    // once the work has run for a moment, and redrawn a few times a second.
    void show(double fraction, const std::string& label);
    void finish();

  private:
    bool enabled_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace cs::preview
