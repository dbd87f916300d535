#include "Condition.h"

#include "Text.h"

namespace jet {

Condition::Truth Condition::evaluate(const ValueOf& value) const {
    switch (kind) {
    case Not: {
        Truth inner = left->evaluate(value);
        return inner == Truth::Unknown ? inner : inner == Truth::True ? Truth::False : Truth::True;
    }
    case And: {
        Truth a = left->evaluate(value);
        if (a == Truth::False)
            return a;
        Truth b = right->evaluate(value);
        if (b == Truth::False)
            return b;
        return a == Truth::True && b == Truth::True ? Truth::True : Truth::Unknown;
    }
    case Or: {
        Truth a = left->evaluate(value);
        if (a == Truth::True)
            return a;
        Truth b = right->evaluate(value);
        if (b == Truth::True)
            return b;
        return a == Truth::False && b == Truth::False ? Truth::False : Truth::Unknown;
    }
    default:
        break;
    }
    const std::string* text = value(columnIndex);
    if (!text)
        return Truth::Unknown;
    bool result;
    if (kind == Like || kind == NotLike)
        result = pattern->matches(*text) == (kind == Like);
    else
        result = text::equalIgnoringCase(*text, literal) == (kind == Equal);
    return result ? Truth::True : Truth::False;
}

void Condition::forEachComparison(const std::function<void(Condition&)>& visit) {
    if (kind == Not || kind == And || kind == Or) {
        left->forEachComparison(visit);
        if (right)
            right->forEachComparison(visit);
    } else {
        visit(*this);
    }
}

} // namespace jet
