// A replayer that keeps every drawing command the workbench hands it, per
// picture, and passes the list on to the platform's replayer so that the
// pictures are drawn as usual. Tests assert texts, boxes and colours from the
// commands instead of counting lit pixels.
//
//   auto recorder = std::make_unique<RecordingReplayer>();
//   RecordingReplayer* pictures = recorder.get();
//   bench.useReplayer(std::move(recorder));
//   bench.run(...);  pictures->lists[3].commands ...
#pragma once

#include <memory>
#include <vector>

#include "tools/workbench/Replayer.h"

namespace cs::workbench {

class RecordingReplayer final : public Replayer {
  public:
    RecordingReplayer() : inner_(makePlatformReplayer()) {}

    void replay(const DrawList& list, sim::Canvas& canvas) override {
        lists.push_back(list);
        // Images and canvases live only while the run does.
        for (DrawCommand& c : lists.back().commands) {
            c.image = nullptr;
            c.canvas = nullptr;
            for (ClipMask& m : c.masks) {
                m.image = nullptr;  // the <MaskImage>'s line says which it was
            }
        }
        inner_->replay(list, canvas);
    }
    const std::vector<std::string>& undrawn() const override { return inner_->undrawn(); }

    std::vector<DrawList> lists;  // one per picture, in order

  private:
    std::unique_ptr<Replayer> inner_;
};

}  // namespace cs::workbench
