#include "DistinctSource.h"

#include <algorithm>
#include <set>

#include "Text.h"

namespace jet {

DistinctSource::DistinctSource(RowSource& rows, const Collation& collation) {
    Collation order = collation ? collation : [](const std::string& a, const std::string& b) {
        return a.compare(b);
    };
    auto compare = [&order](const std::vector<std::string>& a, const std::vector<std::string>& b) {
        for (std::size_t i = 0; i < a.size(); ++i)
            if (int result = order(a[i], b[i]))
                return result;
        return 0;
    };
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
    std::stable_sort(rows_.begin(), rows_.end(),
                     [&compare](const auto& a, const auto& b) { return compare(a, b) < 0; });
}

bool DistinctSource::fetch(std::vector<std::string>& row) {
    if (next_ >= rows_.size())
        return false;
    row = std::move(rows_[next_++]);
    return true;
}

} // namespace jet
