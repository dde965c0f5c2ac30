#include "lumoimage/PixelBuffer.h"

#include "lumoimage/PictureMemoryReuse.h"

#ifdef __linux__
#include <cerrno>
#include <sys/mman.h>
#endif

namespace {

// Below this the ordinary allocator is as fast.
constexpr qsizetype kMapThreshold = qsizetype(8) << 20;

#ifdef __linux__
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14; older kernels refuse it harmlessly
#endif

struct Mapping {
    void* address;
    size_t length;
};

void ReleaseMapping(void* info) {
    auto* mapping = static_cast<Mapping*>(info);
    if (!KeepPictureMemory(mapping->address, mapping->length))
        munmap(mapping->address, mapping->length);
    delete mapping;
}

// New memory, or memory kept from an earlier picture (PictureMemoryReuse),
// which is committed already; nullptr when there is none.
void* MapMemory(size_t length, bool populate, size_t* mappedLength) {
    if (void* kept = TakeKeptPictureMemory(length, mappedLength))
        return kept;
    void* address =
        mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (address == MAP_FAILED)
        return nullptr;
    madvise(address, length, MADV_HUGEPAGE);
    // Populating commits the memory now, so a picture too large for the
    // machine fails here cleanly instead of at some later page fault.
    // (Kernels without MADV_POPULATE_WRITE answer EINVAL: fault lazily then.)
    if (populate && madvise(address, length, MADV_POPULATE_WRITE) != 0 && errno == ENOMEM) {
        munmap(address, length);
        return nullptr;
    }
    *mappedLength = length;
    return address;
}

QImage MapRgb32(int width, int height, qsizetype bytesPerLine, bool populate) {
    size_t length = size_t(bytesPerLine) * size_t(height);
    void* address = MapMemory(length, populate, &length);
    if (!address)
        return QImage();
    auto* mapping = new Mapping{address, length};
    QImage image(static_cast<uchar*>(address), width, height, bytesPerLine, QImage::Format_RGB32,
                 ReleaseMapping, mapping);
    if (image.isNull())
        ReleaseMapping(mapping);
    return image;
}
#endif

} // namespace

QImage AllocateRgb32(int width, int height, bool populate) {
    if (width <= 0 || height <= 0)
        return QImage();
    const qsizetype bytesPerLine = qsizetype(width) * 4;
    if (bytesPerLine > (qsizetype(1) << 40) / height)
        return QImage();
#ifdef __linux__
    if (bytesPerLine * height >= kMapThreshold)
        return MapRgb32(width, height, bytesPerLine, populate);
#else
    Q_UNUSED(populate);
#endif
    return QImage(width, height, QImage::Format_RGB32);
}
