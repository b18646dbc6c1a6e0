#include "host/core/Dump.h"

#include <charconv>
#include <cstdio>

#include "host/core/Terminology.h"

namespace vhost {

namespace {

bool IsPrintable(uint32_t code) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned c = (code >> shift) & 0xFF;
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

std::string Hex(uint32_t code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(code));
    return buf;
}

// Shortest text that reads back as the same double.
std::string Number(double v) {
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : std::string("?");
}

std::string FormText(const ReferenceForm& f, const Terminology* terms) {
    std::string s = CodeText(f.desiredClass, terms) + " ";
    switch (f.form) {
    case form::kClass:
        return s + "class";
    case form::kEnumerated:
        return s + "enum " + CodeText(f.code, terms) + ":" + CodeText(f.code2, terms);
    case form::kProperty:
        return s + "prop " + CodeText(f.code, terms);
    case form::kIndex:
        return s + "index " + std::to_string(f.number);
    case form::kIdentifier:
        return s + "id " + std::to_string(f.number);
    case form::kOffset:
        return s + "offset " + std::to_string(f.offset);
    case form::kName:
        return s + "name " + QuotedText(f.name);
    default:
        return s + "form " + CodeText(f.form, terms);
    }
}

} // namespace

std::string CodeText(uint32_t code, const Terminology* terms) {
    if (IsPrintable(code)) {
        return std::string{'\'', char(code >> 24), char(code >> 16), char(code >> 8), char(code), '\''};
    }
    if (terms != nullptr && Terminology::IsRuntimeID(code)) {
        if (auto s = terms->ToStringID(code)) {
            return "$" + *s;
        }
    }
    return Hex(code);
}

std::string QuotedText(const std::string& text) {
    std::string s = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            s += '\\';
            s += char(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            s += buf;
        } else {
            s += char(c);
        }
    }
    return s + "\"";
}

std::string DumpValue(const Value& v, const Terminology* terms) {
    switch (v.Type()) {
    case type::kInteger:
        return std::to_string(v.Integer());
    case type::kFloat:
        return Number(v.Float());
    case type::kUnitFloat:
        return Number(v.Float()) + " " + CodeText(v.Unit(), terms);
    case type::kText:
        return QuotedText(v.Text());
    case type::kBoolean:
        return v.Flag() ? "true" : "false";
    case type::kEnumerated:
        return CodeText(v.EnumType(), terms) + ":" + CodeText(v.EnumValue(), terms);
    case type::kClass:
        return "class " + CodeText(v.ClassID(), terms);
    case type::kGlobalClass:
        return "global class " + CodeText(v.ClassID(), terms);
    case type::kObject:
        return CodeText(v.ClassID(), terms) + " " + DumpDescriptor(v.Object(), terms);
    case type::kGlobalObject:
        return "global " + CodeText(v.ClassID(), terms) + " " + DumpDescriptor(v.Object(), terms);
    case type::kList:
        return DumpList(v.ListValue(), terms);
    case type::kReference:
        return DumpReference(v.ReferenceValue(), terms);
    case type::kAlias:
        return "alias(" + std::to_string(v.Text().size()) + " bytes)";
    case type::kPath:
        return "path(" + std::to_string(v.Text().size()) + " bytes)";
    case type::kData:
        return "data(" + std::to_string(v.Text().size()) + " bytes)";
    default:
        return "?" + CodeText(v.Type(), terms);
    }
}

std::string DumpDescriptor(const Descriptor& d, const Terminology* terms) {
    std::string s = "{";
    bool first = true;
    for (const auto& [key, value] : d.Items()) {
        s += first ? "" : ", ";
        first = false;
        s += CodeText(key, terms) + ": " + DumpValue(value, terms);
    }
    return s + "}";
}

std::string DumpList(const List& l, const Terminology* terms) {
    std::string s = "[";
    bool first = true;
    for (const Value& v : l.Elements()) {
        s += first ? "" : ", ";
        first = false;
        s += DumpValue(v, terms);
    }
    return s + "]";
}

std::string DumpReference(const Reference& r, const Terminology* terms) {
    std::string s = "ref(";
    bool first = true;
    for (const ReferenceForm& f : r.Forms()) {
        s += first ? "" : ", ";
        first = false;
        s += FormText(f, terms);
    }
    return s + ")";
}

} // namespace vhost
