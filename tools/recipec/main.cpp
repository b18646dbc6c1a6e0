// recipec: compiles recipe sources into stored action-set streams.
//
//   recipec compile SOURCE -o FILE [--raw]
//       one Set: its stored stream (compressed and scrambled), or with --raw
//       the plain action-set layout, as the host saves an action file
//   recipec check SOURCE...
//       compiles each source and reports every finding, writing nothing
//   recipec embed MANIFEST -o FILE [--depfile FILE]
//       the whole catalogue: the module source with the stored-Set section and
//       the arrays of resources/StoredSets.h; the depfile names every input
//
// Findings go to standard error as "file:line: what"; any finding makes the
// exit status 1, a usage fault 2.
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/actionwriter/ActionWriter.h"
#include "tools/recipec/Catalogue.h"
#include "tools/recipec/RecipeCompiler.h"
#include "tools/recipec/SetsSection.h"

namespace vtools {

namespace {

const char kUsage[] = "usage: recipec compile SOURCE -o FILE [--raw]\n"
                      "       recipec check SOURCE...\n"
                      "       recipec embed MANIFEST -o FILE [--depfile FILE]\n";

struct UsageError {
    std::string what;
};

struct Options {
    std::string command;
    std::vector<std::string> inputs;
    std::string output;
    std::string depfile;
    bool raw = false;
};

Options ParseOptions(int argc, char** argv) {
    if (argc < 2) {
        throw UsageError{"no command"};
    }
    Options options;
    options.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "-o" || arg == "--depfile") {
            if (i + 1 >= argc) {
                throw UsageError{"missing value after " + arg};
            }
            (arg == "-o" ? options.output : options.depfile) = argv[++i];
        } else if (arg == "--raw") {
            options.raw = true;
        } else if (!arg.empty() && arg.front() == '-') {
            throw UsageError{"unknown option " + arg};
        } else {
            options.inputs.push_back(arg);
        }
    }
    if (options.inputs.empty()) {
        throw UsageError{"no input"};
    }
    return options;
}

// Writes beside the target and renames, so a failed run never leaves half a file.
void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    const std::filesystem::path temporary = path.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out) {
            throw std::runtime_error("cannot write " + temporary.string());
        }
    }
    std::filesystem::rename(temporary, path);
}

std::string EscapeForDepfile(const std::string& path) {
    std::string escaped;
    for (char c : path) {
        if (c == ' ' || c == '#' || c == '$') {
            escaped += c == '$' ? '$' : '\\';
        }
        escaped += c;
    }
    return escaped;
}

int Compile(const Options& options) {
    if (options.inputs.size() != 1 || options.output.empty()) {
        throw UsageError{"compile takes one source and -o FILE"};
    }
    const std::filesystem::path source = options.inputs.front();
    const CompiledSet set = CompileRecipeFile(source, source.string());
    const Bytes bytes = options.raw ? SerialiseSet(set.model) : set.stored;
    WriteFile(options.output, std::string(bytes.begin(), bytes.end()));
    return 0;
}

int Check(const Options& options) {
    int status = 0;
    for (const std::string& input : options.inputs) {
        try {
            CompileRecipeFile(input, input);
        } catch (const RecipeError& error) {
            std::cerr << error.Found().Text();
            status = 1;
        }
    }
    return status;
}

int Embed(const Options& options) {
    if (options.inputs.size() != 1 || options.output.empty()) {
        throw UsageError{"embed takes one manifest and -o FILE"};
    }
    const Catalogue catalogue = CompileCatalogue(options.inputs.front());
    const SetsSection section = BuildSetsSection(catalogue);
    std::ostringstream source;
    WriteSetsSource(source, catalogue, section);
    WriteFile(options.output, source.str());
    if (!options.depfile.empty()) {
        std::string deps = EscapeForDepfile(options.output) + ":";
        for (const std::filesystem::path& input : catalogue.inputs) {
            deps +=
                " \\\n  " + EscapeForDepfile(std::filesystem::absolute(input).lexically_normal().string());
        }
        WriteFile(options.depfile, deps + "\n");
    }
    return 0;
}

int Run(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    if (options.command == "compile") {
        return Compile(options);
    }
    if (options.command == "check") {
        return Check(options);
    }
    if (options.command == "embed") {
        return Embed(options);
    }
    throw UsageError{"unknown command " + options.command};
}

} // namespace

} // namespace vtools

int main(int argc, char** argv) {
    try {
        return vtools::Run(argc, argv);
    } catch (const vtools::UsageError& error) {
        std::cerr << "recipec: " << error.what << '\n' << vtools::kUsage;
        return 2;
    } catch (const vtools::RecipeError& error) {
        std::cerr << error.Found().Text();
        return 1;
    } catch (const std::exception& error) {
        std::cerr << "recipec: " << error.what() << '\n';
        return 1;
    }
}
