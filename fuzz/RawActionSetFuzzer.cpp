// Action-set files through the inspector's reader, as `vellicor inspect`
// reads them: raw when the first byte is zero (made stored in memory, then
// loaded by the module's reader), stored otherwise. A raw file must read the
// same as its stored form: the same verdict, and when it loads the same tree
// (the raw report may add one line about bytes left after the Set).
#include <cstddef>
#include <cstdint>
#include <span>
#include <sstream>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "tools/actionwriter/ActionInspector.h"
#include "tools/actionwriter/ActionWriter.h"

namespace {

using vlh::fuzz::Require;

int Inspect(std::span<const uint8_t> bytes, std::string& report) {
    std::ostringstream out;
    const int result = vtools::InspectActionFile(bytes, out);
    report = out.str();
    Require(result == 0 || result == 1, "the inspector answers 0 or 1");
    Require(!report.empty() && report.back() == '\n', "the inspector always ends with a full line");
    Require(result == 1 || report.rfind("Set \"", 0) == 0, "a tree starts with its Set");
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    std::string report;
    const int result = Inspect(bytes, report);
    if (size == 0 || vtools::DetectActionFileForm(bytes) != vtools::ActionFileForm::Raw) {
        return 0;
    }
    const vtools::Bytes stored = vtools::RawToStored(bytes);
    std::string storedReport;
    const int storedResult = Inspect(stored, storedReport);
    Require(result == storedResult, "a raw file and its stored form get the same verdict");
    if (result == 0) {
        Require(report.compare(0, storedReport.size(), storedReport) == 0,
                "a raw file and its stored form print the same tree");
    }
    return 0;
}
