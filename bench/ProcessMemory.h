#pragma once
// The benchmarks' view of this process's memory on Linux: a field of
// /proc/self/status in kB ("VmRSS:", "VmHWM:"), and the peak (VmHWM) reset to
// what is resident now.

#include <cstdio>
#include <cstdlib>
#include <cstring>

// -1 when the field or the file is missing.
inline long StatusKb(const char* field) {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    long kb = -1;
    const size_t n = std::strlen(field);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, n) == 0)
            kb = std::atol(line + n + 1);
    std::fclose(f);
    return kb;
}

// False where the kernel does not allow it.
inline bool ResetPeak() {
    FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f)
        return false;
    const bool ok = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && ok;
}
