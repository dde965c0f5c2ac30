#pragma once
// Memory for large 32-bit pictures.
//
// A 24-megapixel photo needs 96 MB. Taken from malloc, those pages are
// faulted in 4 KiB at a time while the decoder first writes them, which on
// some systems costs more than the decode itself. Large pictures are
// therefore mapped directly, asked for transparent huge pages and populated
// in one call; the QImage releases the mapping when its last copy goes.

#include <QImage>

// A Format_RGB32 picture of the given size with unspecified contents, or a
// null image when the memory could not be had. Sizes must be positive.
// `populate` = false leaves the pages to be faulted in on first use; callers
// pass it when the picture may never be filled (a header that claims far more
// pixels than its file could hold), so no memory is committed in vain.
QImage AllocateRgb32(int width, int height, bool populate = true);
