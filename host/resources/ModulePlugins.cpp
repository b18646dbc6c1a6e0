#include "host/resources/ModulePlugins.h"

#include "host/resources/ByteReader.h"
#include "host/resources/PropertyListReader.h"
#include "host/resources/ResourceDirectory.h"
#include "host/resources/ResourceError.h"
#include "hostapi/FourCharCode.h"

#include <algorithm>
#include <cctype>

namespace vhost {

namespace {

using vlh::FourCC;

constexpr uint32_t kAutomationKind = FourCC("8LIZ");
constexpr uint32_t kTextType = FourCC("TEXT");
constexpr uint16_t kInterfaceMajor = 1;

[[noreturn]] void Refuse(const std::string& what, const std::string& why) {
    throw ResourceError(what + ": " + why);
}

bool IsIdentifier(const std::string& name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) {
        return false;
    }
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

bool HasControlCharacters(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

void CheckKind(const PropertyList& list, const std::string& what) {
    if (!list.kind) {
        Refuse(what, "has no 'kind' property");
    }
    if (*list.kind != kAutomationKind) {
        Refuse(what, "kind " + QuotedCode(*list.kind) + " is not an automation plug-in ('8LIZ')");
    }
}

std::string MenuName(const PropertyList& list, const std::string& what) {
    if (!list.name || list.name->empty()) {
        Refuse(what, "has no menu name ('name')");
    }
    if (HasControlCharacters(*list.name)) {
        Refuse(what, "menu name holds control characters");
    }
    return *list.name;
}

// A 64-bit host takes '8664' when the list has it, as on Windows; the ELF
// module names its entry point with 'wx86'.
std::string EntryPoint(const PropertyList& list, const std::string& what) {
    const std::optional<std::string>& name = list.entryX64 ? list.entryX64 : list.entryX86;
    if (!name) {
        Refuse(what, "names no entry point ('8664' or 'wx86')");
    }
    if (!IsIdentifier(*name)) {
        Refuse(what, "entry point \"" + *name + "\" is not a function name");
    }
    return *name;
}

void CheckVersion(const PropertyList& list, const std::string& what, PluginDescription& plugin) {
    if (!list.version) {
        Refuse(what, "has no interface version ('vers')");
    }
    plugin.versionMajor = uint16_t(*list.version >> 16);
    plugin.versionMinor = uint16_t(*list.version);
    if (plugin.versionMajor != kInterfaceMajor) {
        Refuse(what, "interface version " + std::to_string(plugin.versionMajor) + "." +
                         std::to_string(plugin.versionMinor) + " is not 1.x");
    }
}

void CheckModes(const PropertyList& list, const std::string& what, PluginDescription& plugin) {
    if (list.modes && *list.modes == 0) {
        Refuse(what, "mode flags accept no image mode");
    }
    plugin.modes = list.modes;
    if (list.enable) {
        try {
            plugin.enable = EnableCondition::Parse(*list.enable);
        } catch (const ResourceError& e) {
            Refuse(what, e.what());
        }
        plugin.enableExpression = *list.enable;
    }
}

const ScriptingParameter* FindParameter(const TerminologyEvent& event, uint32_t key) {
    for (const ScriptingParameter& p : event.parameters) {
        if (p.key == key) {
            return &p;
        }
    }
    return nullptr;
}

void CheckTextParameter(const TerminologyEvent& event, uint32_t key, const std::string& what) {
    const ScriptingParameter* p = FindParameter(event, key);
    if (p == nullptr) {
        Refuse(what, "declares no parameter " + QuotedCode(key));
    }
    if (p->type != kTextType) {
        Refuse(what, "parameter " + QuotedCode(key) + " has type " + QuotedCode(p->type) + ", not 'TEXT'");
    }
}

void ReadScripting(const std::vector<ResourceEntry>& entries, const PropertyList& list,
                   const std::string& what, PluginDescription& plugin) {
    if (!list.terminology) {
        Refuse(what, "has no terminology link ('hstm'); the host cannot script it");
    }
    const TerminologyLink& link = *list.terminology;
    if (link.scope.empty()) {
        Refuse(what, "terminology scope string is empty");
    }
    const ResourceEntry* entry = FindResource(entries, "AETE", link.terminologyID);
    if (entry == nullptr) {
        Refuse(what, "terminology " + std::to_string(link.terminologyID) + " named by 'hstm' is missing");
    }
    std::string termWhat = "terminology " + std::to_string(link.terminologyID);
    TerminologyResource terminology = ReadTerminology(entry->bytes, termWhat);
    const TerminologyEvent* event = FindEvent(terminology, link.classID, link.eventID);
    if (event == nullptr) {
        Refuse(termWhat, "has no event " + QuotedCode(link.eventID) + " of class " +
                             QuotedCode(link.classID) + " as 'hstm' of " + what + " says");
    }
    CheckTextParameter(*event, kSetKey, termWhat);
    CheckTextParameter(*event, kEffectKey, termWhat);
    plugin.classID = link.classID;
    plugin.eventID = link.eventID;
    plugin.terminologyID = link.terminologyID;
    plugin.scope = link.scope;
    plugin.parameters = event->parameters;
}

PluginDescription DescribePlugin(const std::vector<ResourceEntry>& entries, const ResourceEntry& entry) {
    std::string what = "property list " + std::to_string(entry.id);
    PropertyList list = ReadPropertyList(entry.bytes, what);
    PluginDescription plugin;
    plugin.resourceID = entry.id;
    CheckKind(list, what);
    plugin.menuName = MenuName(list, what);
    what += " (\"" + plugin.menuName + "\")";
    plugin.category = list.category.value_or("");
    CheckVersion(list, what, plugin);
    plugin.entryPoint = EntryPoint(list, what);
    CheckModes(list, what, plugin);
    ReadScripting(entries, list, what, plugin);
    return plugin;
}

bool Registered(const std::vector<PluginDescription>& plugins, uint16_t resourceID) {
    return std::any_of(plugins.begin(), plugins.end(),
                       [&](const PluginDescription& p) { return p.resourceID == resourceID; });
}

void CheckUniqueName(const std::vector<PluginDescription>& plugins, const PluginDescription& plugin) {
    for (const PluginDescription& other : plugins) {
        if (other.menuName == plugin.menuName) {
            Refuse("property lists " + std::to_string(other.resourceID) + " and " +
                       std::to_string(plugin.resourceID),
                   "both name \"" + plugin.menuName + "\"");
        }
    }
}

} // namespace

std::vector<PluginDescription> DescribePlugins(std::span<const uint8_t> section) {
    return DescribePlugins(ParseResourceDirectory(section));
}

std::vector<PluginDescription> DescribePlugins(const std::vector<ResourceEntry>& entries) {
    std::vector<PluginDescription> plugins;
    for (const ResourceEntry& entry : entries) {
        // One plug-in per property-list ID: further languages of it are translations.
        if (entry.type != "PIPL" || Registered(plugins, entry.id)) {
            continue;
        }
        PluginDescription plugin = DescribePlugin(entries, entry);
        CheckUniqueName(plugins, plugin);
        plugins.push_back(std::move(plugin));
    }
    if (plugins.empty()) {
        Refuse("resource section", "holds no plug-in property list");
    }
    return plugins;
}

} // namespace vhost
