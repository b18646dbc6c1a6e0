#include "tests/manual/Poppler.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <system_error>

#include "tests/dialogs/ChildProcess.h"

namespace vlh::manualtest {

namespace fs = std::filesystem;

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        const fs::path candidate = fs::path(folder) / name;
        std::error_code error;
        if (!folder.empty() && fs::is_regular_file(candidate, error) &&
            (fs::status(candidate, error).permissions() & fs::perms::owner_exec) != fs::perms::none) {
            return candidate.string();
        }
    }
    return {};
}

std::optional<std::string> RunProgram(const std::vector<std::string>& argv, std::string& error) {
    std::string pattern = (fs::temp_directory_path() / "vellicor-poppler-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        error = "no temporary folder";
        return std::nullopt;
    }
    std::optional<std::string> output;
    {
        dialogs::ChildProcess child(argv, {}, pattern);
        const std::optional<int> status = child.Wait(std::chrono::minutes(2));
        if (status == 0) {
            output = child.Output();
        } else {
            error = argv[0] + " failed (" + (status ? std::to_string(*status) : "no exit") +
                    "): " + child.Errors();
        }
    }
    std::error_code ignored;
    fs::remove_all(pattern, ignored);
    return output;
}

namespace {

std::string Run(const std::vector<std::string>& argv) {
    std::string error;
    const std::optional<std::string> output = RunProgram(argv, error);
    if (!output) {
        throw std::runtime_error(error);
    }
    return *output;
}

std::string Tool(const std::string& name) {
    const std::string path = FindProgram(name);
    if (path.empty()) {
        throw std::runtime_error(name + " is not installed (poppler-utils)");
    }
    return path;
}

} // namespace

std::map<std::string, std::string> PdfInfo(const std::string& pdf) {
    std::map<std::string, std::string> fields;
    std::stringstream lines(Run({Tool("pdfinfo"), pdf}));
    std::string line;
    while (std::getline(lines, line)) {
        const size_t colon = line.find(':');
        if (colon == std::string::npos) {
            continue;
        }
        const size_t value = line.find_first_not_of(' ', colon + 1);
        fields[line.substr(0, colon)] = value == std::string::npos ? "" : line.substr(value);
    }
    return fields;
}

std::vector<std::string> PdfPages(const std::string& pdf, bool layout) {
    std::vector<std::string> argv = {Tool("pdftotext"), "-enc", "UTF-8"};
    argv.push_back(layout ? "-layout" : "-raw");
    argv.push_back(pdf);
    argv.push_back("-");
    const std::string text = Run(argv);
    std::vector<std::string> pages;
    size_t start = 0;
    for (size_t feed = text.find('\f'); feed != std::string::npos; feed = text.find('\f', start)) {
        pages.push_back(text.substr(start, feed - start));
        start = feed + 1;
    }
    return pages;
}

std::vector<PdfImage> PdfImages(const std::string& pdf) {
    std::stringstream lines(Run({Tool("pdfimages"), "-list", pdf}));
    std::string line;
    std::vector<PdfImage> images;
    while (std::getline(lines, line)) {
        // page num type width height color comp bpc enc interp object ID ...
        std::stringstream fields(line);
        PdfImage image;
        int num = 0;
        std::string type, colour, comp, bpc, enc, interp;
        if (fields >> image.page >> num >> type >> image.width >> image.height >> colour >> comp >> bpc >>
            enc >> interp >> image.object) {
            images.push_back(image);
        }
    }
    return images;
}

std::string Collapsed(const std::string& text) {
    std::string out;
    bool blank = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool nbsp = text.compare(i, 2, "\xc2\xa0") == 0;
        const char c = text[i];
        if (nbsp || c == ' ' || c == '\n' || c == '\t' || c == '\r' || c == '\f') {
            blank = true;
            i += nbsp ? 1 : 0;
            continue;
        }
        if (blank && !out.empty()) {
            out += ' ';
        }
        blank = false;
        out += c;
    }
    return out;
}

} // namespace vlh::manualtest
