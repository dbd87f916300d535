#include "Statement.h"

#include "Text.h"
#include "jet/Error.h"

#include <cctype>

namespace jet {

namespace {

struct Token {
    enum Kind { Word, Name, Text, Symbol, End } kind = End;
    std::string value;      // word or symbol as written, name or text unquoted
    std::size_t offset = 0; // byte offset in the statement
    std::size_t length = 0;
};

class Parser {
public:
    explicit Parser(const std::string& sql) : sql_(sql) { advance(); }

    Statement parseSelect() {
        Statement statement;
        expectKeyword("SELECT");
        if (acceptKeyword("DISTINCT"))
            statement.distinct = true;
        if (!acceptSymbol("*")) {
            do
                statement.columns.push_back(name("a column name or *"));
            while (acceptSymbol(","));
        }
        expectKeyword("FROM");
        statement.table = name("a table name");
        if (acceptKeyword("WHERE"))
            statement.where = orCondition();
        acceptSymbol(";");
        if (token_.kind != Token::End)
            fail("the end of the statement");
        return statement;
    }

private:
    static bool isWordByte(unsigned char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_' || c >= 0x80;
    }

    std::size_t position(std::size_t offset) const {
        std::size_t characters = 0;
        for (std::size_t i = 0; i < offset && i < sql_.size(); ++i)
            if ((static_cast<unsigned char>(sql_[i]) & 0xC0) != 0x80)
                ++characters;
        return characters + 1;
    }

    // Up to 20 characters from `offset`, cut at a character boundary.
    std::string excerpt(std::size_t offset) const {
        std::size_t end = offset;
        for (int characters = 0; end < sql_.size() && characters < 20; ++characters) {
            ++end;
            while (end < sql_.size() && (static_cast<unsigned char>(sql_[end]) & 0xC0) == 0x80)
                ++end;
        }
        return sql_.substr(offset, end - offset);
    }

    [[noreturn]] void failAt(std::size_t offset, const std::string& problem) const {
        throw Error("syntax error " + problem + " at position " + std::to_string(position(offset)));
    }

    [[noreturn]] void fail(const std::string& expected) const {
        if (token_.kind == Token::End)
            throw Error("syntax error at the end of the statement (position " +
                        std::to_string(position(token_.offset)) + "): expected " + expected);
        throw Error("syntax error near '" + sql_.substr(token_.offset, token_.length) +
                    "' at position " + std::to_string(position(token_.offset)) + ": expected " +
                    expected);
    }

    // Reads text up to `close`; a doubled `close` stands for one.
    std::string quoted(std::size_t& at, char close, bool doubling, const char* what) {
        std::size_t start = at;
        std::string value;
        for (++at;; ++at) {
            if (at >= sql_.size())
                failAt(start, "near '" + excerpt(start) + "': " + what + " is not closed");
            if (sql_[at] == close) {
                if (doubling && at + 1 < sql_.size() && sql_[at + 1] == close) {
                    value += close;
                    ++at;
                    continue;
                }
                ++at;
                return value;
            }
            value += sql_[at];
        }
    }

    void advance() {
        std::size_t at = pos_;
        while (at < sql_.size() && std::string(" \t\r\n").find(sql_[at]) != std::string::npos)
            ++at;
        token_ = Token();
        token_.offset = at;
        if (at >= sql_.size()) {
            pos_ = at;
            return;
        }
        char c = sql_[at];
        if (c == '\'') {
            token_.kind = Token::Text;
            token_.value = quoted(at, '\'', true, "the text");
        } else if (c == '[') {
            token_.kind = Token::Name;
            token_.value = quoted(at, ']', false, "the bracketed name");
        } else if (isWordByte(static_cast<unsigned char>(c))) {
            token_.kind = Token::Word;
            while (at < sql_.size() && isWordByte(static_cast<unsigned char>(sql_[at])))
                token_.value += sql_[at++];
        } else if (sql_.compare(at, 2, "<>") == 0) {
            token_.kind = Token::Symbol;
            token_.value = "<>";
            at += 2;
        } else if (std::string("*,()=;").find(c) != std::string::npos) {
            token_.kind = Token::Symbol;
            token_.value = c;
            ++at;
        } else {
            std::size_t end = at + 1;
            while (end < sql_.size() && (static_cast<unsigned char>(sql_[end]) & 0xC0) == 0x80)
                ++end;
            failAt(at, "near '" + sql_.substr(at, end - at) + "'");
        }
        token_.length = at - token_.offset;
        pos_ = at;
    }

    bool isKeyword(const char* keyword) const {
        if (token_.kind != Token::Word ||
            token_.value.size() != std::char_traits<char>::length(keyword))
            return false;
        for (std::size_t i = 0; i < token_.value.size(); ++i)
            if (std::toupper(static_cast<unsigned char>(token_.value[i])) != keyword[i])
                return false;
        return true;
    }

    bool isAnyKeyword() const {
        for (const char* keyword :
             {"SELECT", "DISTINCT", "FROM", "WHERE", "AND", "OR", "NOT", "LIKE"})
            if (isKeyword(keyword))
                return true;
        return false;
    }

    bool acceptKeyword(const char* keyword) {
        if (!isKeyword(keyword))
            return false;
        advance();
        return true;
    }

    void expectKeyword(const char* keyword) {
        if (!acceptKeyword(keyword))
            fail(keyword);
    }

    bool acceptSymbol(const char* symbol) {
        if (token_.kind != Token::Symbol || token_.value != symbol)
            return false;
        advance();
        return true;
    }

    NameAt name(const char* expected) {
        if (!(token_.kind == Token::Name || (token_.kind == Token::Word && !isAnyKeyword())))
            fail(expected);
        NameAt result{token_.value, position(token_.offset)};
        advance();
        return result;
    }

    std::unique_ptr<Condition> join(Condition::Kind kind, std::unique_ptr<Condition> left,
                                    std::unique_ptr<Condition> right) {
        auto node = std::make_unique<Condition>();
        node->kind = kind;
        node->left = std::move(left);
        node->right = std::move(right);
        return node;
    }

    std::unique_ptr<Condition> orCondition() {
        auto left = andCondition();
        while (acceptKeyword("OR"))
            left = join(Condition::Or, std::move(left), andCondition());
        return left;
    }

    std::unique_ptr<Condition> andCondition() {
        auto left = notCondition();
        while (acceptKeyword("AND"))
            left = join(Condition::And, std::move(left), notCondition());
        return left;
    }

    std::unique_ptr<Condition> notCondition() {
        if (acceptKeyword("NOT"))
            return join(Condition::Not, notCondition(), nullptr);
        if (acceptSymbol("(")) {
            auto inner = orCondition();
            if (!acceptSymbol(")"))
                fail("')'");
            return inner;
        }
        return comparison();
    }

    std::unique_ptr<Condition> comparison() {
        auto node = std::make_unique<Condition>();
        NameAt column = name("a column name");
        node->column = column.name;
        node->columnPosition = column.position;
        if (acceptSymbol("="))
            node->kind = Condition::Equal;
        else if (acceptSymbol("<>"))
            node->kind = Condition::NotEqual;
        else if (acceptKeyword("LIKE"))
            node->kind = Condition::Like;
        else if (acceptKeyword("NOT")) {
            expectKeyword("LIKE");
            node->kind = Condition::NotLike;
        } else
            fail("=, <> or LIKE");
        if (token_.kind != Token::Text)
            fail("a quoted text");
        node->literal = token_.value;
        if (node->kind == Condition::Like || node->kind == Condition::NotLike)
            node->pattern = std::make_unique<LikePattern>(node->literal);
        advance();
        return node;
    }

    const std::string& sql_;
    std::size_t pos_ = 0;
    Token token_;
};

} // namespace

Statement Statement::parse(const std::string& sql) {
    return Parser(sql).parseSelect();
}

} // namespace jet
