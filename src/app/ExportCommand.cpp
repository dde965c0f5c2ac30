#include "app/CommandLine.h"

#include <cstdio>

int RunExport(int, char**, const QString&, const QString&) {
    std::fputs("tessamar: --export is not built yet\n", stderr);
    return 1;
}
