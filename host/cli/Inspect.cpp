// `vellicor inspect FILE`: an action-set stream, raw (the host's action-file
// layout) or stored (compressed and scrambled, as the module embeds it),
// printed as a readable tree; or one line saying what was wrong and where.
#include "host/cli/Commands.h"
#include "tools/actionwriter/ActionInspector.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

namespace vhost::cli {

namespace {

// Action-set streams are a few kilobytes; anything this large is not one.
constexpr std::streamoff kMaxFileSize = 64 << 20;

void Help() {
    std::printf("usage: vellicor inspect FILE\n"
                "\n"
                "Prints the Set in FILE as a tree: its Effects, their events with their flags,\n"
                "descriptors with keys, types and values, and references with their forms.\n"
                "FILE may be raw (the host's action-file layout) or stored (compressed and\n"
                "scrambled). Exit status: 0 when the Set was read, 1 when it was not, 2 for\n"
                "bad usage.\n");
}

} // namespace

int InspectCommand(const std::vector<std::string>& args) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        Help();
        return 0;
    }
    if (args.size() != 1 || args[0].rfind("--", 0) == 0) {
        std::fprintf(stderr, "vellicor inspect: one FILE is required\n(see vellicor inspect --help)\n");
        return 2;
    }
    std::ifstream in(args[0], std::ios::binary | std::ios::ate);
    if (!in) {
        std::fprintf(stderr, "vellicor inspect: cannot open %s\n", args[0].c_str());
        return 1;
    }
    const std::streamoff size = in.tellg();
    if (size < 0 || size > kMaxFileSize) {
        std::fprintf(stderr, "vellicor inspect: %s is not an action-set stream (too large)\n", args[0].c_str());
        return 1;
    }
    in.seekg(0);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        std::fprintf(stderr, "vellicor inspect: cannot read %s\n", args[0].c_str());
        return 1;
    }
    return vtools::InspectActionFile(bytes, std::cout);
}

} // namespace vhost::cli
