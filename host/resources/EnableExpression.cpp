#include "host/resources/EnableExpression.h"

#include "host/resources/ResourceError.h"

#include <cctype>
#include <string>

namespace vhost {

namespace {

// Splits the expression into words and the punctuation "(", ")" and ",".
class Tokens {
public:
    explicit Tokens(std::string_view text) : text_(text) {}

    std::string_view Next() {
        SkipBlanks();
        if (pos_ == text_.size()) {
            return {};
        }
        size_t start = pos_;
        if (IsPunctuation(text_[pos_])) {
            ++pos_;
        } else {
            while (pos_ < text_.size() && !IsPunctuation(text_[pos_]) &&
                   !std::isspace(static_cast<unsigned char>(text_[pos_]))) {
                ++pos_;
            }
        }
        return text_.substr(start, pos_ - start);
    }

    bool AtEnd() {
        SkipBlanks();
        return pos_ == text_.size();
    }

private:
    static bool IsPunctuation(char c) { return c == '(' || c == ')' || c == ','; }
    void SkipBlanks() {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) {
            ++pos_;
        }
    }

    std::string_view text_;
    size_t pos_ = 0;
};

[[noreturn]] void Refuse(std::string_view expression, const std::string& why) {
    throw ResourceError("enable expression \"" + std::string(expression) + "\": " + why);
}

void Expect(Tokens& tokens, std::string_view expected, std::string_view expression) {
    std::string_view token = tokens.Next();
    if (token != expected) {
        Refuse(expression,
               "expected \"" + std::string(expected) + "\" but found \"" + std::string(token) + "\"");
    }
}

// After "in(": the mode variable, then one or more mode names and ")".
uint16_t ParseModeList(Tokens& tokens, std::string_view expression) {
    std::string_view variable = tokens.Next();
    if (variable != "PSHOP_ImageMode") {
        Refuse(expression, "\"" + std::string(variable) + "\" is not a value this host knows");
    }
    uint16_t allowed = 0;
    std::string_view separator = tokens.Next();
    while (separator == ",") {
        std::string_view name = tokens.Next();
        std::optional<ImageMode> mode = ModeFromExpressionName(name);
        if (!mode) {
            Refuse(expression, "\"" + std::string(name) + "\" is not an image mode");
        }
        allowed |= ModeFlag(*mode);
        separator = tokens.Next();
    }
    if (separator != ")") {
        Refuse(expression, "expected \",\" or \")\" but found \"" + std::string(separator) + "\"");
    }
    if (allowed == 0) {
        Refuse(expression, "names no image mode");
    }
    return allowed;
}

} // namespace

EnableCondition EnableCondition::Parse(std::string_view expression) {
    Tokens tokens(expression);
    EnableCondition condition;
    std::string_view first = tokens.Next();
    if (first == "true" || first == "false") {
        condition.constant_ = first == "true";
    } else if (first == "in") {
        Expect(tokens, "(", expression);
        condition.checksMode_ = true;
        condition.allowed_ = ParseModeList(tokens, expression);
    } else {
        Refuse(expression,
               first.empty() ? "it is empty" : "\"" + std::string(first) + "\" is not understood");
    }
    if (!tokens.AtEnd()) {
        Refuse(expression, "unexpected text after the condition");
    }
    return condition;
}

bool EnableCondition::Allows(std::optional<ImageMode> documentMode) const {
    if (!checksMode_) {
        return constant_;
    }
    return documentMode && (allowed_ & ModeFlag(*documentMode)) != 0;
}

} // namespace vhost
