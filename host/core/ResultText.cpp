#include "host/core/ResultText.h"

#include "host/core/Dump.h"

namespace vhost {

namespace {

struct Known {
    int32_t code;
    const char* words;
};

constexpr Known kKnown[] = {
    {0, "ok"},
    {1, "not confirmed"},
    {-1, "failed"},
    {-39, "end of data"},
    {-50, "parameter error"},
    {-108, "out of memory"},
    {-128, "user cancelled"},
    {-1703, "wrong data type"},
    {-1715, "missing parameter"},
    {-25920, "event not available"},
    {-25922, "reference not found"},
    {-25923, "invalid event parameters"},
    {-30900, "host insufficient"},
    {-30914, "host too old for 16-bit documents"},
    {0x5061726D, "bad parameter"},     // 'Parm'
    {0x21494D50, "unimplemented"},     // '!IMP'
    {0x53214664, "suite not found"},   // 'S!Fd'
    {0x50214664, "plug-in not found"}, // 'P!Fd'
    {0x42554646, "buffer too small"},  // 'BUFF'
    {0x73746F70, "user cancelled"},    // 'stop'
};

bool IsFourCharCode(int32_t code) {
    const auto u = static_cast<uint32_t>(code);
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned c = (u >> shift) & 0xFF;
        if (c < 0x20 || c > 0x7E) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string ResultWords(int32_t code) {
    for (const Known& k : kKnown) {
        if (k.code == code) {
            return k.words;
        }
    }
    return "";
}

std::string ResultText(int32_t code) {
    std::string s = IsFourCharCode(code) ? CodeText(static_cast<uint32_t>(code)) : std::to_string(code);
    const std::string words = ResultWords(code);
    return words.empty() ? s : s + " (" + words + ")";
}

} // namespace vhost
