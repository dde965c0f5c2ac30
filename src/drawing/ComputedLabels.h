#pragma once
// The labels of dimensions without a value under the photo's reference
// ("≈2431 ±12" or "≈?", UTF-8), each computed once per change of what it
// depends on: the dimension's ends and its empty value, and the reference
// (the plane, or the reference dimension's ends and value). A paint only
// compares those, so edits, undo and reference changes need no call of their
// own: whatever changed is computed again at the next paint, nothing else.

#include "document/MeasureReference.h"
#include "document/Records.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

class ComputedLabels {
public:
    // Brings the labels up to `reference` and `dims`.
    void Update(const MeasureReference& reference, const std::vector<Dimension>& dims);
    // The label of dims[index] as of the last Update; empty: draw the value.
    const QByteArray& Label(size_t index) const;
    // Lengths computed so far by this object.
    uint64_t Computations() const { return m_computations; }

    // What a computed length depends on besides its own dimension (and what
    // the computed areas and angles depend on besides their own points).
    struct ReferenceKey {
        bool hasPlane = false;
        ReferencePlane plane;
        int dimension = -1; // usable reference dimension, -1: none
        POINT start, end;
        char value[sizeof Dimension::value] = {};
        bool operator==(const ReferenceKey& o) const;
    };
    static ReferenceKey KeyOf(const MeasureReference& reference,
                              const std::vector<Dimension>& dims);

private:
    struct Entry {
        bool known = false;
        POINT start, end;
        bool valueEmpty = false;
        QByteArray text;
    };

    ReferenceKey m_reference;
    bool m_hasReference = false;
    std::vector<Entry> m_entries;
    uint64_t m_computations = 0;
};
