#include "host/resources/PluginListing.h"

#include "host/resources/ByteReader.h"

namespace vhost {

namespace {

void Line(std::ostream& out, const char* label, const std::string& value) {
    out << "  " << label << std::string(14 - std::string_view(label).size(), ' ') << value << '\n';
}

std::string Parameters(const PluginDescription& p) {
    std::string text;
    for (const ScriptingParameter& parameter : p.parameters) {
        if (!text.empty()) {
            text += ", ";
        }
        text += parameter.name + " (" + QuotedCode(parameter.key) + ", " + QuotedCode(parameter.type) + ")";
    }
    return text.empty() ? "none" : text;
}

void WritePlugin(const PluginDescription& p, std::ostream& out, const SetsAndEffectsWriter& setsAndEffects) {
    out << '\n' << p.menuName << '\n';
    Line(out, "category", p.category.empty() ? "(none)" : p.category);
    Line(out, "version", std::to_string(p.versionMajor) + "." + std::to_string(p.versionMinor));
    Line(out, "entry point", p.entryPoint);
    Line(out, "modes", p.modes ? DescribeModes(*p.modes) : "any");
    Line(out, "enabled when", p.enableExpression.empty() ? "always" : p.enableExpression);
    Line(out, "scripting",
         "event " + QuotedCode(p.eventID) + " of class " + QuotedCode(p.classID) + ", terminology " +
             std::to_string(p.terminologyID) + ", scope \"" + p.scope + "\"");
    Line(out, "parameters", Parameters(p));
    if (setsAndEffects) {
        setsAndEffects(p, out);
    }
}

} // namespace

void WritePluginListing(const std::string& moduleName, const std::vector<PluginDescription>& plugins,
                        std::ostream& out, const SetsAndEffectsWriter& setsAndEffects) {
    out << moduleName << ": " << plugins.size() << (plugins.size() == 1 ? " plug-in\n" : " plug-ins\n");
    for (const PluginDescription& p : plugins) {
        WritePlugin(p, out, setsAndEffects);
    }
}

} // namespace vhost
