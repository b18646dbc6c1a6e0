#include "host/cli/CommandLine.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace vhost::cli {

CommandLine::CommandLine(const std::vector<std::string>& args, const std::vector<std::string>& flags) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) != 0 || a.size() == 2) {
            error_ = "unexpected argument \"" + a + "\"";
            return;
        }
        std::string name = a.substr(2);
        if (auto eq = name.find('='); eq != std::string::npos) {
            values_[name.substr(0, eq)] = name.substr(eq + 1);
            continue;
        }
        if (std::find(flags.begin(), flags.end(), name) != flags.end()) {
            values_[name] = "";
            continue;
        }
        if (i + 1 >= args.size()) {
            error_ = "option --" + name + " needs a value";
            return;
        }
        values_[name] = args[++i];
    }
}

std::optional<std::string> CommandLine::Value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::vector<std::string> CommandLine::Unknown(const std::vector<std::string>& known) const {
    std::vector<std::string> out;
    for (const auto& [name, value] : values_) {
        if (std::find(known.begin(), known.end(), name) == known.end()) {
            out.push_back(name);
        }
    }
    return out;
}

int UsageError(const std::string& command, const std::string& why) {
    std::fprintf(stderr, "vellicor %s: %s\n(see vellicor %s --help)\n", command.c_str(), why.c_str(),
                 command.c_str());
    return 2;
}

int CommandFailure(const std::string& command, const std::string& why) {
    std::fprintf(stderr, "vellicor %s: %s\n", command.c_str(), why.c_str());
    return 1;
}

std::optional<int> CheckLine(const std::string& command, const CommandLine& cl,
                             const std::vector<std::string>& known, void (*help)()) {
    if (!cl.Ok()) {
        return UsageError(command, cl.Error());
    }
    if (cl.Has("help")) {
        help();
        return 0;
    }
    if (auto unknown = cl.Unknown(known); !unknown.empty()) {
        return UsageError(command, "unknown option --" + unknown.front());
    }
    return std::nullopt;
}

std::optional<long> ParseNumber(const std::string& text, long min, long max) {
    long v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || v < min || v > max) {
        return std::nullopt;
    }
    return v;
}

} // namespace vhost::cli
