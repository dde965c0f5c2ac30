#include "app/CommandLine.h"

#include <cstdio>

int RunPrintInfo(const QString& /*path*/) {
    std::fputs("tessamar: --print-info is not built yet\n", stderr);
    return 1;
}
