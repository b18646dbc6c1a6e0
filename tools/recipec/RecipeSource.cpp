#include "tools/recipec/RecipeSource.h"

#include <cctype>
#include <charconv>
#include <optional>

namespace vtools {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLetter(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

// A fault of form on the current line; thrown to the line loop, which notes it.
struct LineFault {
    std::string what;
};

// Reads the parameters of one event line, left to right.
class EventLineReader {
public:
    explicit EventLineReader(std::string_view text) : text_(text) {}

    SourceEvent Read(int line) {
        SourceEvent event;
        event.line = line;
        event.stringId = Word();
        if (event.stringId.empty()) {
            throw LineFault{"expected an event name at \"" + std::string(Rest()) + "\""};
        }
        while (SkipBlanks()) {
            event.parameters.push_back(Parameter());
        }
        return event;
    }

private:
    // False at the end of the line or at a comment.
    bool SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
            ++pos_;
        }
        return pos_ < text_.size() && text_[pos_] != '#';
    }

    std::string_view Rest() const { return text_.substr(pos_); }

    std::string Word() {
        const size_t start = pos_;
        while (pos_ < text_.size() && (IsLetter(text_[pos_]) || IsDigit(text_[pos_]))) {
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    SourceParameter Parameter() {
        SourceParameter parameter;
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != '=' && !IsBlank(text_[pos_])) {
            ++pos_;
        }
        parameter.key = std::string(text_.substr(start, pos_ - start));
        if (pos_ >= text_.size() || text_[pos_] != '=') {
            throw LineFault{"expected key=value at \"" + parameter.key + "\""};
        }
        if (parameter.key.empty()) {
            throw LineFault{"a value without a key"};
        }
        ++pos_;
        parameter.value = Value(parameter.key);
        if (pos_ < text_.size() && !IsBlank(text_[pos_])) {
            throw LineFault{"unexpected \"" + std::string(Rest()) + "\" after the value of " + parameter.key};
        }
        return parameter;
    }

    SourceValue Value(const std::string& key) {
        if (pos_ >= text_.size() || IsBlank(text_[pos_])) {
            throw LineFault{"no value after " + key + "="};
        }
        const char first = text_[pos_];
        if (first == '"') {
            return Quoted(key);
        }
        if (IsDigit(first) || first == '-' || first == '+' || first == '.') {
            return Number(key);
        }
        if (IsLetter(first)) {
            SourceValue value;
            value.form = SourceValue::Form::Code;
            value.text = Token();
            return value;
        }
        throw LineFault{"cannot read the value \"" + Token() + "\" of " + key};
    }

    // Up to the next blank or comment.
    std::string Token() {
        const size_t start = pos_;
        while (pos_ < text_.size() && !IsBlank(text_[pos_]) && text_[pos_] != '#') {
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    SourceValue Quoted(const std::string& key) {
        SourceValue value;
        value.form = SourceValue::Form::Text;
        ++pos_; // opening quote
        while (pos_ < text_.size() && text_[pos_] != '"') {
            char c = text_[pos_++];
            if (c == '\\') {
                if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\\')) {
                    throw LineFault{"in the text of " + key + ": only \\\" and \\\\ may follow a backslash"};
                }
                c = text_[pos_++];
            }
            value.text += c;
        }
        if (pos_ >= text_.size()) {
            throw LineFault{"the text of " + key + " has no closing quote"};
        }
        ++pos_; // closing quote
        return value;
    }

    SourceValue Number(const std::string& key) {
        SourceValue value;
        value.form = SourceValue::Form::Number;
        value.text = Token();
        std::string_view digits = value.text;
        if (!digits.empty() && digits.front() == '+') {
            digits.remove_prefix(1);
        }
        size_t end = 0;
        while (end < digits.size() &&
               (IsDigit(digits[end]) || digits[end] == '.' || (end == 0 && digits[0] == '-'))) {
            ++end;
        }
        const std::string_view number = digits.substr(0, end);
        const auto [stop, error] =
            std::from_chars(number.data(), number.data() + number.size(), value.number);
        if (error != std::errc() || stop != number.data() + number.size()) {
            throw LineFault{"cannot read the number \"" + value.text + "\" of " + key};
        }
        value.integral = number.find('.') == std::string_view::npos;
        value.unit = std::string(digits.substr(end));
        return value;
    }

    std::string_view text_;
    size_t pos_ = 0;
};

std::optional<std::string_view> AfterLabel(std::string_view line, std::string_view label) {
    if (line.substr(0, label.size()) != label) {
        return std::nullopt;
    }
    return Trim(line.substr(label.size()));
}

class SourceReader {
public:
    SourceReader(const std::string& file, Diagnostics& found) : found_(found) { source_.file = file; }

    void Line(std::string_view raw, int line) {
        const std::string_view text = Trim(raw);
        if (text.empty() || text.front() == '#') {
            return;
        }
        try {
            if (auto setName = AfterLabel(text, "Set:")) {
                SetLine(*setName, line);
            } else if (auto effectName = AfterLabel(text, "Effect:")) {
                EffectLine(*effectName, line);
            } else {
                EventLine(text, line);
            }
        } catch (const LineFault& fault) {
            found_.Add(source_.file, line, fault.what);
        }
    }

    RecipeSource Take() { return std::move(source_); }

private:
    void SetLine(std::string_view name, int line) {
        if (source_.setLine != 0) {
            throw LineFault{"a second Set: line; the Set is already named on line " +
                            std::to_string(source_.setLine) + " (one Set per file)"};
        }
        source_.setLine = line;
        source_.setName = std::string(name);
    }

    void EffectLine(std::string_view name, int line) {
        if (source_.setLine == 0) {
            throw LineFault{"an Effect: line before the Set: line"};
        }
        source_.effects.push_back({line, std::string(name), {}});
    }

    void EventLine(std::string_view text, int line) {
        if (source_.effects.empty()) {
            throw LineFault{"an event outside any Effect (an Effect: line must come first)"};
        }
        source_.effects.back().events.push_back(EventLineReader(text).Read(line));
    }

    RecipeSource source_;
    Diagnostics& found_;
};

} // namespace

RecipeSource ParseRecipe(std::string_view text, const std::string& file, Diagnostics& found) {
    SourceReader reader(file, found);
    int line = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        ++line;
        reader.Line(text.substr(0, end), line);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return reader.Take();
}

} // namespace vtools
