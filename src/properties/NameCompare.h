// Names from gauges and from the host are compared ignoring ASCII case only:
// the host hands over narrow strings of an unknown code page, so bytes above
// 0x7F are compared exactly rather than through the C library's locale.
#pragma once

namespace cs {

// True when both names are non-null and equal apart from the case of the ASCII
// letters. Stops at the first terminator of either name, so it never reads
// past the end of the shorter one.
bool namesEqualIgnoringCase(const char* a, const char* b);

}  // namespace cs
