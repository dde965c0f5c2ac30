#pragma once
// How much memory the system can give this program now without swapping.

#include <QtGlobal>

// The memory available for new work in bytes (Linux: MemAvailable, which
// counts the page cache the system can drop), or -1 when it cannot be told.
qint64 AvailableMemory();
