#include "lumoimage/PictureMemoryReuse.h"

#include <algorithm>
#include <mutex>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

struct Block {
    void* address;
    std::size_t length;
};

struct Keeping {
    std::mutex mutex;
    std::vector<int> users; // the block counts of the living PictureMemoryReuse
    std::vector<Block> blocks;

    int Capacity() const {
        return users.empty() ? 0 : *std::max_element(users.begin(), users.end());
    }
};

Keeping& TheKeeping() {
    static Keeping keeping;
    return keeping;
}

void GiveBack(const Block& block) {
#ifdef __linux__
    munmap(block.address, block.length);
#else
    (void)block;
#endif
}

// Lets go of the blocks beyond the keeping's capacity; called with the lock held.
std::vector<Block> TakeSurplus(Keeping& keeping) {
    std::vector<Block> surplus;
    while (static_cast<int>(keeping.blocks.size()) > keeping.Capacity()) {
        surplus.push_back(keeping.blocks.back());
        keeping.blocks.pop_back();
    }
    return surplus;
}

} // namespace

PictureMemoryReuse::PictureMemoryReuse(int blocks) : m_blocks(std::max(1, blocks)) {
    Keeping& keeping = TheKeeping();
    std::lock_guard<std::mutex> lock(keeping.mutex);
    keeping.users.push_back(m_blocks);
}

PictureMemoryReuse::~PictureMemoryReuse() {
    Keeping& keeping = TheKeeping();
    std::vector<Block> surplus;
    {
        std::lock_guard<std::mutex> lock(keeping.mutex);
        // Any entry of this count will do: equal counts are alike.
        keeping.users.erase(std::find(keeping.users.begin(), keeping.users.end(), m_blocks));
        surplus = TakeSurplus(keeping);
    }
    for (const Block& block : surplus)
        GiveBack(block);
}

int PictureMemoryReuse::KeptBlocks() {
    Keeping& keeping = TheKeeping();
    std::lock_guard<std::mutex> lock(keeping.mutex);
    return static_cast<int>(keeping.blocks.size());
}

void PictureMemoryReuse::GiveBackKept() {
    Keeping& keeping = TheKeeping();
    std::vector<Block> kept;
    {
        std::lock_guard<std::mutex> lock(keeping.mutex);
        kept.swap(keeping.blocks);
    }
    for (const Block& block : kept)
        GiveBack(block);
}

void* TakeKeptPictureMemory(std::size_t length, std::size_t* mappedLength) {
    Keeping& keeping = TheKeeping();
    Block dropped{nullptr, 0};
    {
        std::lock_guard<std::mutex> lock(keeping.mutex);
        if (keeping.blocks.empty())
            return nullptr;
        // The smallest block that fits without wasting more than the picture.
        auto best = keeping.blocks.end();
        for (auto it = keeping.blocks.begin(); it != keeping.blocks.end(); ++it)
            if (it->length >= length && it->length / 2 <= length &&
                (best == keeping.blocks.end() || it->length < best->length))
                best = it;
        if (best != keeping.blocks.end()) {
            const Block taken = *best;
            keeping.blocks.erase(best);
            *mappedLength = taken.length;
            return taken.address;
        }
        // None fits: the smallest goes, so the new mapping does not add to
        // what is kept.
        auto smallest =
            std::min_element(keeping.blocks.begin(), keeping.blocks.end(),
                             [](const Block& a, const Block& b) { return a.length < b.length; });
        dropped = *smallest;
        keeping.blocks.erase(smallest);
    }
    GiveBack(dropped);
    return nullptr;
}

bool KeepPictureMemory(void* address, std::size_t mappedLength) {
    Keeping& keeping = TheKeeping();
    std::lock_guard<std::mutex> lock(keeping.mutex);
    if (static_cast<int>(keeping.blocks.size()) >= keeping.Capacity())
        return false;
    keeping.blocks.push_back(Block{address, mappedLength});
    return true;
}
