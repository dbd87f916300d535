#include "DistinctSource.h"

#include <algorithm>
#include <set>
#include <utility>

#include "Text.h"

namespace jet {

DistinctSource::DistinctSource(RowSource& rows, const Collation& collation) {
    // Rows equal by Jet's text equality (letter case ignored, as in WHERE) count once; the first
    // seen is kept. Exact repeats are dropped before any folding, so folding and collation
    // calls grow with the number of different rows, not with the table.
    std::set<std::vector<std::string>> seen;
    std::set<std::vector<std::u32string>> seenFolded;
    std::vector<std::string> row;
    std::vector<std::u32string> key;
    while (rows.fetch(row)) {
        if (!seen.insert(row).second)
            continue;
        key.clear();
        for (const std::string& value : row)
            key.push_back(text::folded(value));
        if (seenFolded.insert(key).second)
            rows_.push_back(row);
    }
    if (!collation) {
        std::stable_sort(rows_.begin(), rows_.end());
        return;
    }
    // Each value's key is made once; rows whose keys are equal keep the order they came in.
    std::vector<std::pair<std::vector<std::string>, std::size_t>> keyed(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        for (const std::string& value : rows_[i])
            keyed[i].first.push_back(collation(value));
        keyed[i].second = i;
    }
    std::sort(keyed.begin(), keyed.end());
    std::vector<std::vector<std::string>> sorted;
    sorted.reserve(rows_.size());
    for (auto& entry : keyed)
        sorted.push_back(std::move(rows_[entry.second]));
    rows_ = std::move(sorted);
}

bool DistinctSource::fetch(std::vector<std::string>& row) {
    if (next_ >= rows_.size())
        return false;
    row = std::move(rows_[next_++]);
    return true;
}

} // namespace jet
