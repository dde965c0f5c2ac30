#pragma once
// Keeping the memory of large pictures for the next picture.
//
// A large picture's memory (PixelBuffer) is mapped and cleared by the system
// when it is made, and given back when the picture goes: for a 24-megapixel
// photo the clearing alone costs about as much as a third of its decode.
// Work that goes through many photos one after another (exporting many at
// once) keeps a PictureMemoryReuse alive: while it lives, the memory of a
// large picture that goes is kept, up to a number of blocks, and the next
// large picture that fits in a kept block gets it, with its old contents,
// instead of new memory. A picture never takes a block more than twice its
// size, and a picture that finds no block first lets one kept block go, so
// what is mapped never grows beyond what the pictures in use ever needed at
// once plus the kept blocks. When the last PictureMemoryReuse goes, so does
// the kept memory.

#include <cstddef>

class PictureMemoryReuse {
public:
    // Keeps up to `blocks` blocks (at least one). While another lives, the
    // larger of the two counts holds.
    explicit PictureMemoryReuse(int blocks);
    ~PictureMemoryReuse();
    PictureMemoryReuse(const PictureMemoryReuse&) = delete;
    PictureMemoryReuse& operator=(const PictureMemoryReuse&) = delete;

    // How many blocks are kept now (tests, benchmarks).
    static int KeptBlocks();
    // Gives every kept block back (benchmarks: memory as at the program's start).
    static void GiveBackKept();

private:
    int m_blocks;
};

// For PixelBuffer. A kept block of at least `length` bytes (and at most twice
// that), taken out of the keeping, with its whole length in `*mappedLength`;
// nullptr when there is none (then, while keeping, one kept block is let go
// to make room).
void* TakeKeptPictureMemory(std::size_t length, std::size_t* mappedLength);
// For PixelBuffer. True when the block was kept; false when it is for the
// caller to give back (nothing is kept now, or the keeping is full).
bool KeepPictureMemory(void* address, std::size_t mappedLength);
