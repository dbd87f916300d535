#pragma once

#include <string>
#include <vector>

namespace jet {

// A LIKE pattern as the Access ODBC driver takes it: % any run, _ one character, [abc],
// [!abc] and [a-z] classes; inside brackets % _ and [ are literal. Letter case is ignored.
class LikePattern {
public:
    // Throws jet::Error for an unclosed or empty bracket class.
    explicit LikePattern(const std::string& pattern);

    bool matches(const std::string& utf8) const;

private:
    struct Token {
        enum Kind { Literal, AnyOne, AnyRun, Class } kind = Literal;
        char32_t literal = 0;
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
        bool accepts(char32_t c) const;
    };

    std::vector<Token> tokens_;
    // For a pattern of the form %text% (a search for a substring): the folded text.
    std::u32string substring_;
    mutable std::u32string scratch_;
};

} // namespace jet
