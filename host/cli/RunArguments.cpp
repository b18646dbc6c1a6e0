#include "host/cli/RunArguments.h"

#include <algorithm>

namespace vhost::cli {

namespace {

bool IsFlag(const std::string& name, const std::vector<std::string>& flags) {
    return std::find(flags.begin(), flags.end(), name) != flags.end();
}

// The option a word names ("--name" or "--name=value"), or empty.
std::string OptionName(const std::string& word) {
    if (word.size() <= 2 || word.rfind("--", 0) != 0) {
        return {};
    }
    return word.substr(2, word.find('=') == std::string::npos ? std::string::npos : word.find('=') - 2);
}

bool TakesNextWord(const std::string& word, const std::vector<std::string>& flags) {
    const std::string name = OptionName(word);
    return !name.empty() && word.find('=') == std::string::npos && !IsFlag(name, flags);
}

} // namespace

SplitArguments SplitImages(const std::vector<std::string>& args, const std::vector<std::string>& flags) {
    SplitArguments split;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--") {
            split.images.insert(split.images.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                args.end());
            break;
        }
        if (word == "-o" || (word.rfind("-o", 0) == 0 && word.size() > 2 && word[2] != '-')) {
            split.options.push_back("--output");
            if (word.size() > 2) {
                split.options.push_back(word.substr(2));
            } else if (i + 1 < args.size()) {
                split.options.push_back(args[++i]);
            }
            continue;
        }
        if (word.empty() || word[0] != '-') {
            split.images.push_back(word);
            continue;
        }
        split.options.push_back(word);
        if (TakesNextWord(word, flags) && i + 1 < args.size()) {
            split.options.push_back(args[++i]);
        }
    }
    return split;
}

std::vector<std::string> WithoutOptions(const std::vector<std::string>& options,
                                        const std::vector<std::string>& drop,
                                        const std::vector<std::string>& flags) {
    std::vector<std::string> kept;
    for (size_t i = 0; i < options.size(); ++i) {
        const std::string& word = options[i];
        const bool takesValue = TakesNextWord(word, flags);
        if (IsFlag(OptionName(word), drop)) {
            i += takesValue ? 1 : 0;
            continue;
        }
        kept.push_back(word);
        if (takesValue && i + 1 < options.size()) {
            kept.push_back(options[++i]);
        }
    }
    return kept;
}

} // namespace vhost::cli
