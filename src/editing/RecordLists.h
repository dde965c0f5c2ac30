#pragma once
// The edit model's list helpers: the record at an index, a record taken out
// with the selection rule, a change handed to the history.

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace recordlists {
template <class Record> Record* At(std::vector<Record>& list, int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= list.size())
        return nullptr;
    return &list[static_cast<size_t>(index)];
}

// Takes the record at `selected` out of `list`; the following record takes
// its place, after the last the new last, none (-1) when the list is empty.
template <class Record> Record TakeSelected(std::vector<Record>& list, int32_t& selected) {
    const int32_t count = static_cast<int32_t>(list.size());
    const int32_t taken = selected;
    Record removed = std::move(list[static_cast<size_t>(taken)]);
    list.erase(list.begin() + taken);
    if (taken > count - 2)
        selected = count - 2;
    return removed;
}

// Applies `change` to `record` (none: false) and hands what it was to `recorded`.
template <class Record, class Recorded>
bool ChangeRecord(Record* record, const std::function<void(Record&)>& change, Recorded recorded) {
    if (!record)
        return false;
    const Record before = *record;
    change(*record);
    recorded(before);
    return true;
}
} // namespace recordlists
