#include "windows/tests/ManualFixture.h"

#include <filesystem>
#include <fstream>

namespace vhost::wintest {

namespace {

constexpr const char* kProgId = "VellicorTest.Manual";

std::optional<std::string> DefaultText(HKEY root, const std::string& path) {
    const std::optional<RegistryValue> v = ReadRegistryValue(root, path, "");
    if (!v || v->type != REG_SZ) {
        return std::nullopt;
    }
    std::string text(v->bytes.begin(), v->bytes.end());
    while (!text.empty() && text.back() == '\0') {
        text.pop_back();
    }
    return text;
}

} // namespace

PdfAssociation::PdfAssociation(const std::string& record) : record_(record) {
    std::filesystem::remove(record_);
    previous_ = DefaultText(HKEY_CLASSES_ROOT, ".pdf");
    WriteDefaultText(HKEY_CLASSES_ROOT, ".pdf", kProgId);
    WriteDefaultText(HKEY_CLASSES_ROOT, std::string(kProgId) + "\\shell\\open\\command",
                     "\"" + SystemPath(VLH_OPEN_RECORDER) + "\" \"" + record_ + "\" \"%1\"");
}

PdfAssociation::~PdfAssociation() {
    DeleteKeyTree(HKEY_CLASSES_ROOT, kProgId);
    if (previous_) {
        WriteDefaultText(HKEY_CLASSES_ROOT, ".pdf", *previous_);
    } else {
        DeleteKeyTree(HKEY_CLASSES_ROOT, ".pdf");
    }
    std::error_code ignored;
    std::filesystem::remove(record_, ignored);
}

std::optional<std::string> PdfAssociation::WaitForOpened(std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    do {
        std::ifstream in(record_);
        std::string line;
        if (std::getline(in, line) && !line.empty()) {
            return line;
        }
        Sleep(50);
    } while (std::chrono::steady_clock::now() < end);
    return std::nullopt;
}

} // namespace vhost::wintest
