#pragma once

#include "LikePattern.h"

#include <functional>
#include <memory>
#include <string>

namespace jet {

// A WHERE condition. Comparisons use the value's text form and ignore letter case; a NULL
// value makes a comparison unknown, and unknown rows are not returned (SQL's three values).
struct Condition {
    enum Kind { Equal, NotEqual, Like, NotLike, Not, And, Or };
    enum class Truth { False, True, Unknown };

    Kind kind = Equal;
    std::string column;
    std::size_t columnPosition = 0;
    std::size_t columnIndex = 0;
    std::string literal;
    std::unique_ptr<LikePattern> pattern;
    std::unique_ptr<Condition> left;
    std::unique_ptr<Condition> right;

    // `value(i)` gives the text of column i, or nullptr for NULL.
    using ValueOf = std::function<const std::string*(std::size_t)>;
    Truth evaluate(const ValueOf& value) const;

    // Calls `visit` on every comparison in the tree.
    void forEachComparison(const std::function<void(Condition&)>& visit);
};

} // namespace jet
