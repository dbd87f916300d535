#include "DistinctSource.h"

#include <algorithm>
#include <set>

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
    // Identical rows are dropped as they come, so memory and collation calls grow with the
    // number of different rows, not with the table.
    std::set<std::vector<std::string>> seen;
    std::vector<std::string> row;
    while (rows.fetch(row))
        if (seen.insert(row).second)
            rows_.push_back(row);
    std::stable_sort(rows_.begin(), rows_.end(),
                     [&compare](const auto& a, const auto& b) { return compare(a, b) < 0; });
    rows_.erase(
        std::unique(rows_.begin(), rows_.end(),
                    [&compare](const auto& a, const auto& b) { return compare(a, b) == 0; }),
        rows_.end());
}

bool DistinctSource::fetch(std::vector<std::string>& row) {
    if (next_ >= rows_.size())
        return false;
    row = std::move(rows_[next_++]);
    return true;
}

} // namespace jet
