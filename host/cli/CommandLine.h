// The command line of one subcommand: options "--name value" (or
// "--name=value") and bare flags, in any order.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vhost::cli {

class CommandLine {
public:
    // Parses args; flags names the options that take no value. On an unknown
    // shape (a value with no option) error says why and Ok() is false.
    CommandLine(const std::vector<std::string>& args, const std::vector<std::string>& flags);

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    bool Has(const std::string& name) const { return values_.count(name) != 0; }
    std::optional<std::string> Value(const std::string& name) const;
    // Options given that are not in known (for a clear complaint).
    std::vector<std::string> Unknown(const std::vector<std::string>& known) const;

private:
    std::map<std::string, std::string> values_;
    std::string error_;
};

// A whole number in [min, max], or std::nullopt.
std::optional<long> ParseNumber(const std::string& text, long min, long max);

} // namespace vhost::cli
