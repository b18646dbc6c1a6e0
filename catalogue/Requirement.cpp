#include "catalogue/Requirement.h"

#include "hostapi/FourCharCode.h"
#include "hostapi/HostSuites.h"
#include "hostapi/HostValues.h"
#include "hostapi/PropertyAccess.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace vlh {

namespace {

using Kind = RequirementValue::Kind;

// Any evaluation error; it ends the evaluation with the answer false and
// never leaves this file.
struct EvaluationError {};

RequirementValue MakeBoolean(bool value) {
    RequirementValue v;
    v.kind = Kind::Boolean;
    v.boolean = value;
    return v;
}

RequirementValue MakeNumber(double value) {
    RequirementValue v;
    v.kind = Kind::Number;
    v.number = value;
    return v;
}

RequirementValue MakeString(std::string text) {
    RequirementValue v;
    v.kind = Kind::String;
    v.text = std::move(text);
    return v;
}

int CompareBytes(const std::string& left, const std::string& right) {
    return std::strcmp(left.c_str(), right.c_str()); // compares as unsigned bytes
}

// "==" with the list rule: a list on either side matches when one of its
// elements does.
bool Equal(const RequirementValue& left, const RequirementValue& right) {
    if (left.kind == Kind::List) {
        for (const RequirementValue& element : left.elements) {
            if (Equal(element, right)) {
                return true;
            }
        }
        return false;
    }
    if (right.kind == Kind::List) {
        for (const RequirementValue& element : right.elements) {
            if (Equal(left, element)) {
                return true;
            }
        }
        return false;
    }
    if (left.kind == Kind::Number && right.kind == Kind::Number) {
        return left.number == right.number;
    }
    if (left.kind == Kind::String && right.kind == Kind::String) {
        return CompareBytes(left.text, right.text) == 0;
    }
    throw EvaluationError{};
}

// The sign of left minus right, for the four ordering operators.
int Order(const RequirementValue& left, const RequirementValue& right) {
    if (left.kind == Kind::Number && right.kind == Kind::Number) {
        return left.number < right.number ? -1 : (left.number > right.number ? 1 : 0);
    }
    if (left.kind == Kind::String && right.kind == Kind::String) {
        return CompareBytes(left.text, right.text);
    }
    throw EvaluationError{};
}

bool Logical(const RequirementValue& left, const RequirementValue& right, bool isAnd) {
    if (left.kind != Kind::Boolean || right.kind != Kind::Boolean) {
        throw EvaluationError{};
    }
    return isAnd ? (left.boolean && right.boolean) : (left.boolean || right.boolean);
}

void AppendFlat(std::vector<RequirementValue>& list, RequirementValue&& value) {
    if (value.kind == Kind::List) {
        for (RequirementValue& element : value.elements) {
            list.push_back(std::move(element));
        }
    } else {
        list.push_back(std::move(value));
    }
}

RequirementValue MakeList(RequirementValue&& left, RequirementValue&& right) {
    RequirementValue list;
    list.kind = Kind::List;
    AppendFlat(list.elements, std::move(left));
    AppendFlat(list.elements, std::move(right));
    return list;
}

// NaN is not zero, so it counts as true, like any other number but 0.
bool ToAnswer(const RequirementValue& value) {
    switch (value.kind) {
    case Kind::Boolean:
        return value.boolean;
    case Kind::Number:
        return value.number != 0;
    default:
        throw EvaluationError{};
    }
}

class Evaluation {
public:
    void Token(const char* token) {
        if (token == nullptr) {
            throw EvaluationError{};
        }
        const auto first = static_cast<unsigned char>(token[0]);
        if (std::isalpha(first)) {
            stack_.push_back(Word(token));
        } else if (std::isdigit(first)) {
            stack_.push_back(MakeNumber(std::strtod(token, nullptr)));
        } else {
            Operator(token);
        }
    }

    bool Answer() {
        return ToAnswer(Pop());
    }

private:
    static RequirementValue Word(const char* token) {
        const std::string_view word(token);
        if (word == "PSVersion") {
            return MakeNumber(GetHostMajorVersion());
        }
        if (word == "DocProfile") {
            char profile[256] = {};
            GetDocumentProfile(profile, sizeof profile);
            return MakeString(profile);
        }
        return MakeString(token);
    }

    void Operator(std::string_view op) {
        static constexpr std::string_view kOperators[] = {"==", "!=", ">=", "<=", ">", "<", "&&", "||", ","};
        bool known = false;
        for (std::string_view candidate : kOperators) {
            known = known || op == candidate;
        }
        if (!known) {
            throw EvaluationError{};
        }
        RequirementValue right = Pop();
        RequirementValue left = Pop();
        if (op == "==") {
            stack_.push_back(MakeBoolean(Equal(left, right)));
        } else if (op == "!=") {
            stack_.push_back(MakeBoolean(!Equal(left, right)));
        } else if (op == ">=") {
            stack_.push_back(MakeBoolean(Order(left, right) >= 0));
        } else if (op == "<=") {
            stack_.push_back(MakeBoolean(Order(left, right) <= 0));
        } else if (op == ">") {
            stack_.push_back(MakeBoolean(Order(left, right) > 0));
        } else if (op == "<") {
            stack_.push_back(MakeBoolean(Order(left, right) < 0));
        } else if (op == "&&" || op == "||") {
            stack_.push_back(MakeBoolean(Logical(left, right, op == "&&")));
        } else {
            stack_.push_back(MakeList(std::move(left), std::move(right)));
        }
    }

    RequirementValue Pop() {
        if (stack_.empty()) {
            throw EvaluationError{};
        }
        RequirementValue top = std::move(stack_.back());
        stack_.pop_back();
        return top;
    }

    std::vector<RequirementValue> stack_;
};

} // namespace

bool EvaluateRequirement(const char* const* tokens, int32_t count) {
    if (tokens == nullptr && count > 0) {
        return false;
    }
    try {
        Evaluation evaluation;
        for (int32_t i = 0; i < count; ++i) {
            evaluation.Token(tokens[i]);
        }
        return evaluation.Answer();
    } catch (const EvaluationError&) {
        return false;
    }
}

void GetDocumentProfile(char* buffer, uint32_t capacity) {
    if (buffer == nullptr || capacity < 5) {
        return;
    }
    std::memcpy(buffer, "None", 5);
    DescriptorKeyID profileKey = 0;
    // Without its key there is nothing to ask for; asking with key 0 would
    // hand over the whole document object instead of a text.
    if (gHost.control->StringIDToTypeID("profile", &profileKey) != noErr || profileKey == 0) {
        return;
    }
    uint32_t size = capacity;
    GetTargetProperty(FourCC("Dcmn"), profileKey, buffer, &size, FourCC("TEXT"));
}

} // namespace vlh
