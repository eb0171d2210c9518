// The preview's script of its report pages (the published values and the
// per-intruder timelines), compiled in from tools/preview/report/.
#pragma once

namespace cs::preview {

extern const char* const kPreviewScript;

}  // namespace cs::preview
