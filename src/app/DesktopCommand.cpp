#include "app/CommandLine.h"

#include <cstdio>

int RunDesktop(int, char**, const QString&) {
    std::fputs("tessamar: the window is not built yet; see --help\n", stderr);
    return 1;
}
