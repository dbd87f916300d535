#pragma once

#include "Condition.h"

#include <memory>
#include <string>
#include <vector>

namespace jet {

struct NameAt {
    std::string name;
    std::size_t position = 0; // 1-based character position in the statement
};

// A parsed SELECT. No columns means *.
struct Statement {
    bool distinct = false;
    std::vector<NameAt> columns;
    NameAt table;
    std::unique_ptr<Condition> where;

    // Throws jet::Error("syntax error near '...' at position N") and the like.
    static Statement parse(const std::string& sql);
};

} // namespace jet
