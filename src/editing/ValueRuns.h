#pragma once
// One field of every dimension, kept as runs of equal consecutive values: an
// all-dimension change remembers the old colours or fonts this way, so a
// document whose dimensions mostly share a value costs a few runs, and one
// whose every dimension differs costs one value per dimension.

#include "document/Records.h"

#include <cstdint>
#include <vector>

template <class T> class ValueRuns {
public:
    // The values of `field` of `dims`, in list order.
    static ValueRuns Of(const std::vector<Dimension>& dims, T Dimension::*field) {
        ValueRuns runs;
        for (const Dimension& dim : dims) {
            if (!runs.m_runs.empty() && runs.m_runs.back().value == dim.*field)
                ++runs.m_runs.back().count;
            else
                runs.m_runs.push_back(Run{1, dim.*field});
        }
        runs.m_runs.shrink_to_fit();
        return runs;
    }

    // Writes the values back into `field` of the first Count() dimensions.
    void ApplyTo(std::vector<Dimension>& dims, T Dimension::*field) const {
        size_t i = 0;
        for (const Run& run : m_runs)
            for (uint32_t k = 0; k < run.count && i < dims.size(); ++k, ++i)
                dims[i].*field = run.value;
    }

    size_t Count() const {
        size_t n = 0;
        for (const Run& run : m_runs)
            n += run.count;
        return n;
    }
    // True when every value equals `value`.
    bool AllEqual(const T& value) const {
        for (const Run& run : m_runs)
            if (!(run.value == value))
                return false;
        return true;
    }

private:
    struct Run {
        uint32_t count;
        T value;
    };
    std::vector<Run> m_runs;
};
