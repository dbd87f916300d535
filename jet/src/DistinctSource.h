#pragma once

#include "jet/Cursor.h"
#include "jet/Database.h"

#include <vector>

namespace jet {

// Collects all rows of another source, sorts them ascending column by column by the caller's
// collation keys (each value's key made once) and drops repeats, letter case ignored as in WHERE.
// NULL takes part as empty text.
class DistinctSource : public RowSource {
public:
    DistinctSource(RowSource& rows, const Collation& collation);

    bool fetch(std::vector<std::string>& row) override;

private:
    std::vector<std::vector<std::string>> rows_;
    std::size_t next_ = 0;
};

} // namespace jet
