// Live and total counts of operator new allocations in the soak program, and
// the process's resident memory.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdio>

namespace cs::soak {

long liveAllocations();
long liveBytes();  // usable size of the live allocations
long totalAllocations();
// The largest single request (also the refused ones) since the last reset.
std::size_t largestAllocation();
void resetLargestAllocation();

// Resident set size in kilobytes, from /proc/self/statm; 0 if unreadable.
inline long residentKilobytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace cs::soak
