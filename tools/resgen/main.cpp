// resgen: writes the module's resources from the module table.
//
//   resgen --section-source FILE [--entry-point wx86|8664|both]
//       the C++ source that places the resource section in the ELF module
//   resgen --resource-dir DIR [--entry-point wx86|8664|both]
//       each resource as DIR/<type>_<id>.bin, for a resource compiler
//
// The Linux module names its entry point with 'wx86' alone (the default); a
// 64-bit Windows build asks for '8664' or both.
#include "tools/resgen/ByteWriter.h"
#include "tools/resgen/ModuleData.h"
#include "tools/resgen/ModuleResources.h"
#include "tools/resgen/SectionImage.h"
#include "tools/resgen/SectionSource.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace vtools {

namespace {

struct Options {
    std::optional<std::string> sectionSource;
    std::optional<std::string> resourceDir;
    EntryPointProperty entryPoint = EntryPointProperty::X86;
};

const char kUsage[] =
    "usage: resgen (--section-source FILE | --resource-dir DIR) [--entry-point wx86|8664|both]\n";

EntryPointProperty ParseEntryPoint(const std::string& text) {
    if (text == "wx86") {
        return EntryPointProperty::X86;
    }
    if (text == "8664") {
        return EntryPointProperty::X64;
    }
    if (text == "both") {
        return EntryPointProperty::Both;
    }
    throw GeneratorError("unknown entry-point property \"" + text + "\"");
}

Options ParseOptions(const std::vector<std::string>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (i + 1 >= args.size()) {
            throw GeneratorError("missing value after " + arg);
        }
        const std::string& value = args[++i];
        if (arg == "--section-source") {
            options.sectionSource = value;
        } else if (arg == "--resource-dir") {
            options.resourceDir = value;
        } else if (arg == "--entry-point") {
            options.entryPoint = ParseEntryPoint(value);
        } else {
            throw GeneratorError("unknown option " + arg);
        }
    }
    if (!options.sectionSource && !options.resourceDir) {
        throw GeneratorError("nothing to write");
    }
    return options;
}

std::ofstream OpenOutput(const std::filesystem::path& path) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw GeneratorError("cannot write " + path.string());
    }
    return out;
}

void Finish(std::ofstream& out, const std::filesystem::path& path) {
    out.close();
    if (!out) {
        throw GeneratorError("cannot write " + path.string());
    }
}

// Written beside the target and renamed into place, so an interrupted build
// never leaves a half-written source that looks up to date.
void WriteSectionSourceFile(const std::filesystem::path& path, const std::vector<Resource>& resources) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    std::ofstream out = OpenOutput(temporary);
    WriteSectionSource(out, kSectionName, BuildSectionImage(resources));
    Finish(out, temporary);
    std::filesystem::rename(temporary, path);
}

void WriteResourceFiles(const std::filesystem::path& dir, const std::vector<Resource>& resources) {
    std::filesystem::create_directories(dir);
    for (const Resource& r : resources) {
        std::filesystem::path path = dir / (r.type + "_" + std::to_string(r.id) + ".bin");
        std::ofstream out = OpenOutput(path);
        out.write(reinterpret_cast<const char*>(r.bytes.data()), std::streamsize(r.bytes.size()));
        Finish(out, path);
    }
}

int Run(const std::vector<std::string>& args) {
    Options options = ParseOptions(args);
    std::vector<Resource> resources = BuildModuleResources(HonerModule(), options.entryPoint);
    if (options.sectionSource) {
        WriteSectionSourceFile(*options.sectionSource, resources);
    }
    if (options.resourceDir) {
        WriteResourceFiles(*options.resourceDir, resources);
    }
    return 0;
}

} // namespace

} // namespace vtools

int main(int argc, char** argv) {
    try {
        return vtools::Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const vtools::GeneratorError& e) {
        std::cerr << "resgen: " << e.what() << '\n' << vtools::kUsage;
    } catch (const std::exception& e) {
        std::cerr << "resgen: " << e.what() << '\n';
    }
    return 1;
}
