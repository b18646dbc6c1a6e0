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

// A subcommand's complaints, in its own name ("vellicor about: why").
// UsageError points to the command's --help and returns 2, bad usage;
// CommandFailure returns 1.
int UsageError(const std::string& command, const std::string& why);
int CommandFailure(const std::string& command, const std::string& why);

// The start every subcommand shares: a malformed line or an option not in
// known is bad usage, and --help prints help. Returns the exit status to end
// with now, or std::nullopt to go on.
std::optional<int> CheckLine(const std::string& command, const CommandLine& cl,
                             const std::vector<std::string>& known, void (*help)());

// A whole number in [min, max], or std::nullopt.
std::optional<long> ParseNumber(const std::string& text, long min, long max);

} // namespace vhost::cli
