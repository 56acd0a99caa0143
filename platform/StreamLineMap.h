#pragma once
// Where the parts of a binary form came from in its text twin: each entry says that the
// bytes from an offset on were written for a line. Errors found while reading the binary
// form can so name the line of the text.
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace vandora {

class TStreamLineMap {
public:
    // Offsets must not decrease from one call to the next.
    void Add(std::size_t offset, int line)
    {
        if (!entries_.empty() && entries_.back().first == offset)
            entries_.back().second = line;
        else
            entries_.emplace_back(offset, line);
    }

    // The line of the last part starting at or before the offset (1 when none does).
    int LineAt(std::size_t offset) const
    {
        const auto it = std::upper_bound(entries_.begin(), entries_.end(), offset,
                                         [](std::size_t value, const auto& entry) { return value < entry.first; });
        return it == entries_.begin() ? 1 : std::prev(it)->second;
    }

    bool Empty() const { return entries_.empty(); }

private:
    std::vector<std::pair<std::size_t, int>> entries_;
};

} // namespace vandora
