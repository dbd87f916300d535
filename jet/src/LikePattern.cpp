#include "LikePattern.h"

#include "Text.h"
#include "jet/Error.h"

namespace jet {

LikePattern::LikePattern(const std::string& pattern) {
    std::u32string chars = text::folded(pattern);
    for (std::size_t i = 0; i < chars.size(); ++i) {
        Token token;
        token.kind = Token::Literal;
        char32_t c = chars[i];
        if (c == U'%') {
            token.kind = Token::AnyRun;
        } else if (c == U'_') {
            token.kind = Token::AnyOne;
        } else if (c == U'[') {
            token.kind = Token::Class;
            std::size_t j = i + 1;
            if (j < chars.size() && chars[j] == U'!') {
                token.negated = true;
                ++j;
            }
            while (j < chars.size() && chars[j] != U']') {
                char32_t low = chars[j];
                if (j + 2 < chars.size() && chars[j + 1] == U'-' && chars[j + 2] != U']') {
                    token.ranges.emplace_back(low, chars[j + 2]);
                    j += 3;
                } else {
                    token.ranges.emplace_back(low, low);
                    ++j;
                }
            }
            if (j >= chars.size())
                throw Error("invalid pattern in LIKE: '[' is not closed in '" + pattern + "'");
            if (token.ranges.empty())
                throw Error("invalid pattern in LIKE: empty brackets in '" + pattern + "'");
            i = j;
        } else {
            token.literal = c;
        }
        if (token.kind == Token::AnyRun && !tokens_.empty() && tokens_.back().kind == Token::AnyRun)
            continue;
        tokens_.push_back(std::move(token));
    }
    bool substring = tokens_.size() > 2 && tokens_.front().kind == Token::AnyRun &&
                     tokens_.back().kind == Token::AnyRun;
    for (std::size_t i = 1; substring && i + 1 < tokens_.size(); ++i) {
        substring = tokens_[i].kind == Token::Literal;
        substring_ += tokens_[i].literal;
    }
    if (!substring)
        substring_.clear();
}

bool LikePattern::Token::accepts(char32_t c) const {
    switch (kind) {
    case Literal:
        return c == literal;
    case AnyOne:
        return true;
    case Class:
        for (const auto& range : ranges)
            if (c >= range.first && c <= range.second)
                return !negated;
        return negated;
    case AnyRun:
        break;
    }
    return false;
}

// Greedy matching with one resume point: every token but % takes exactly one character, so
// resuming after the last % seen is enough.
bool LikePattern::matches(const std::string& utf8) const {
    text::decodeUtf8(utf8, scratch_);
    for (char32_t& c : scratch_)
        c = c >= 0x80 ? text::foldCase(c) : c >= U'A' && c <= U'Z' ? c + 32 : c;
    if (!substring_.empty())
        return scratch_.find(substring_) != std::u32string::npos;
    const std::u32string& value = scratch_;
    std::size_t t = 0, v = 0;
    std::size_t resumeToken = std::string::npos, resumeValue = 0;
    while (v < value.size()) {
        if (t < tokens_.size() && tokens_[t].kind == Token::AnyRun) {
            resumeToken = ++t;
            resumeValue = v;
        } else if (t < tokens_.size() && tokens_[t].accepts(value[v])) {
            ++t;
            ++v;
        } else if (resumeToken != std::string::npos) {
            t = resumeToken;
            v = ++resumeValue;
        } else {
            return false;
        }
    }
    while (t < tokens_.size() && tokens_[t].kind == Token::AnyRun)
        ++t;
    return t == tokens_.size();
}

} // namespace jet
