#include "tools/actionwriter/ActionInspector.h"

#include <charconv>
#include <ostream>
#include <sstream>

#include "actionsets/ActionSet.h"
#include "hostapi/FourCharCode.h"
#include "tools/actionwriter/ActionWriter.h"

namespace vtools {

namespace {

// Printable ASCII stays, everything else is \xNN; the backslash and the
// quote in use are escaped, so a name always reads back unambiguously.
std::string Escaped(std::string_view text, char quote = '\0') {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (char c : text) {
        const auto byte = uint8_t(c);
        if (c == '\\' || (quote != '\0' && c == quote)) {
            out += '\\';
            out += c;
        } else if (byte >= 0x20 && byte < 0x7F) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

std::string Quoted(std::string_view text) {
    return '"' + Escaped(text, '"') + '"';
}

// An ID of four characters is taken as a code, any other as a string ID.
std::string IdText(std::string_view id) {
    return id.size() == 4 ? '\'' + Escaped(id, '\'') + '\'' : Quoted(id);
}

std::string Number(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

const char* YesNo(bool flag) {
    return flag ? "yes" : "no";
}

class TreePrinter {
public:
    std::string Print(const vlh::ActionSet& set) {
        Line(0) << "Set " << Quoted(set.name) << ": expanded " << YesNo(set.expanded) << ", "
                << set.effects.size() << " Effect" << (set.effects.size() == 1 ? "" : "s");
        for (const auto& effect : set.effects) {
            PrintEffect(*effect);
        }
        return out_.str();
    }

private:
    std::ostream& Line(int depth) {
        if (out_.tellp() > 0) {
            out_ << '\n';
        }
        return out_ << std::string(size_t(depth) * 2, ' ');
    }

    void PrintEffect(const vlh::Effect& effect) {
        Line(1) << "Effect " << Quoted(effect.name) << ": function key " << effect.functionKeyIndex
                << ", shift " << YesNo(effect.shift) << ", command " << YesNo(effect.command) << ", colour "
                << effect.colourIndex << ", expanded " << YesNo(effect.expanded) << ", "
                << effect.events.size() << " event" << (effect.events.size() == 1 ? "" : "s");
        for (const auto& event : effect.events) {
            PrintEvent(*event);
        }
    }

    void PrintEvent(const vlh::ActionEvent& event) {
        Line(2) << "Event " << Quoted(event.eventName) << " (display " << Quoted(event.displayName)
                << "): enabled " << YesNo(event.enabled) << ", with dialog " << YesNo(event.withDialog)
                << ", dialog options " << int(event.dialogOptions) << ", expanded " << YesNo(event.expanded);
        if (event.descriptor == nullptr) {
            Line(3) << "no descriptor";
        } else {
            PrintBody(*event.descriptor, 3);
        }
    }

    void PrintBody(const vlh::DescriptorBody& body, int depth) {
        Line(depth) << "descriptor of class " << IdText(body.classID) << " (name " << Quoted(body.className)
                    << "), " << body.items.size() << " item" << (body.items.size() == 1 ? "" : "s");
        for (const auto& item : body.items) {
            PrintItem(*item, depth + 1, IdText(item->key) + ": ");
        }
    }

    void PrintItem(const vlh::DescriptorItem& item, int depth, const std::string& label) {
        std::ostream& line = Line(depth) << label << vlh::FourCCText(vlh::TypeCodeOf(item.kind)) << ' ';
        switch (item.kind) {
        case vlh::ItemKind::Alias:
            line << static_cast<const vlh::AliasItem&>(item).data.size() << " bytes of alias data";
            break;
        case vlh::ItemKind::Boolean:
            line << (static_cast<const vlh::BooleanItem&>(item).value ? "true" : "false");
            break;
        case vlh::ItemKind::Double:
            line << Number(static_cast<const vlh::DoubleItem&>(item).value);
            break;
        case vlh::ItemKind::Enum: {
            const auto& value = static_cast<const vlh::EnumItem&>(item);
            line << IdText(value.type) << ' ' << IdText(value.value);
            break;
        }
        case vlh::ItemKind::Integer:
            line << static_cast<const vlh::IntegerItem&>(item).value;
            break;
        case vlh::ItemKind::Reference: {
            const auto& value = static_cast<const vlh::ReferenceItem&>(item);
            line << value.forms.size() << " form" << (value.forms.size() == 1 ? "" : "s");
            for (const auto& form : value.forms) {
                PrintForm(*form, depth + 1);
            }
            break;
        }
        case vlh::ItemKind::Object:
            line << "object";
            PrintBody(*static_cast<const vlh::ObjectItem&>(item).body, depth + 1);
            break;
        case vlh::ItemKind::Text:
            line << Quoted(static_cast<const vlh::TextItem&>(item).text);
            break;
        case vlh::ItemKind::Class: {
            const auto& value = static_cast<const vlh::ClassItem&>(item);
            line << IdText(value.classID) << " (name " << Quoted(value.className) << ')';
            break;
        }
        case vlh::ItemKind::UnitDouble: {
            const auto& value = static_cast<const vlh::UnitDoubleItem&>(item);
            line << '\'' << Escaped(value.unit, '\'') << "' " << Number(value.value);
            break;
        }
        case vlh::ItemKind::List: {
            const auto& value = static_cast<const vlh::ListItem&>(item);
            line << value.elements.size() << " element" << (value.elements.size() == 1 ? "" : "s");
            for (size_t i = 0; i < value.elements.size(); ++i) {
                PrintItem(*value.elements[i], depth + 1, '[' + std::to_string(i) + "] ");
            }
            break;
        }
        }
    }

    void PrintForm(const vlh::ReferenceForm& form, int depth) {
        std::ostream& line = Line(depth) << vlh::FourCCText(vlh::FormCodeOf(form.kind)) << " class "
                                         << IdText(form.classID);
        switch (form.kind) {
        case vlh::FormKind::Class:
            break;
        case vlh::FormKind::Enum: {
            const auto& value = static_cast<const vlh::EnumForm&>(form);
            line << ", " << IdText(value.type) << ' ' << IdText(value.value);
            break;
        }
        case vlh::FormKind::Index:
            line << ", index " << static_cast<const vlh::IndexForm&>(form).index;
            break;
        case vlh::FormKind::Name:
            line << ", name " << Quoted(static_cast<const vlh::NameForm&>(form).name);
            break;
        case vlh::FormKind::Property:
            line << ", property " << IdText(static_cast<const vlh::PropertyForm&>(form).key);
            break;
        }
    }

    std::ostringstream out_;
};

} // namespace

ActionFileForm DetectActionFileForm(std::span<const uint8_t> bytes) {
    return !bytes.empty() && bytes[0] == 0 ? ActionFileForm::Raw : ActionFileForm::Stored;
}

std::string FormatActionSet(const vlh::ActionSet& set) {
    return TreePrinter().Print(set);
}

int InspectActionFile(std::span<const uint8_t> bytes, std::ostream& out) {
    if (bytes.empty()) {
        out << "the file is empty\n";
        return 1;
    }
    const ActionFileForm form = DetectActionFileForm(bytes);
    const Bytes stored = form == ActionFileForm::Raw ? RawToStored(bytes) : Bytes(bytes.begin(), bytes.end());
    vlh::ActionSet set;
    vlh::LoadDiagnostics diagnostics;
    if (!vlh::LoadActionSet(set, stored.data(), stored.size(), &diagnostics)) {
        out << Escaped(diagnostics.what) << " at byte " << diagnostics.plainOffset;
        if (form == ActionFileForm::Raw) {
            out << " of the file\n";
        } else {
            out << " of the inflated data (stored byte " << diagnostics.storedOffset << ")\n";
        }
        return 1;
    }
    out << FormatActionSet(set) << '\n';
    if (form == ActionFileForm::Raw && diagnostics.plainOffset < bytes.size()) {
        out << (bytes.size() - diagnostics.plainOffset) << " bytes after the Set were not read\n";
    }
    return 0;
}

} // namespace vtools
