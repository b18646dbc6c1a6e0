#include "host/engine/IccProfile.h"

#include <cstdint>

namespace vhost::engine {

namespace {

constexpr size_t kHeaderSize = 128;
constexpr uint32_t kDescTag = 0x64657363;             // 'desc'
constexpr uint32_t kTextDescriptionType = 0x64657363; // 'desc'
constexpr uint32_t kMultiLocalizedType = 0x6D6C7563;  // 'mluc'

// Big-endian reads that answer std::nullopt past the end.
std::optional<uint32_t> U32(std::string_view bytes, size_t at) {
    if (at > bytes.size() || bytes.size() - at < 4) {
        return std::nullopt;
    }
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) {
        v = v << 8 | static_cast<uint8_t>(bytes[at + i]);
    }
    return v;
}

std::optional<std::string_view> Slice(std::string_view bytes, uint64_t at, uint64_t size) {
    if (at > bytes.size() || size > bytes.size() - at) {
        return std::nullopt;
    }
    return bytes.substr(static_cast<size_t>(at), static_cast<size_t>(size));
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\0' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16BE to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string FromUtf16(std::string_view bytes) {
    std::string out;
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t i) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[2 * i]) << 8 |
                                     static_cast<uint8_t>(bytes[2 * i + 1]));
    };
    for (size_t i = 0; i < units; ++i) {
        uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 1) - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(out, cp);
    }
    return out;
}

std::optional<std::string> TextDescription(std::string_view tag) {
    const auto count = U32(tag, 8);
    if (!count) {
        return std::nullopt;
    }
    const auto text = Slice(tag, 12, *count);
    if (!text) {
        return std::nullopt;
    }
    // The count includes the terminating NUL; stop at the first one.
    return Trimmed(std::string(text->substr(0, text->find('\0'))));
}

std::optional<std::string> MultiLocalized(std::string_view tag) {
    const auto records = U32(tag, 8);
    const auto recordSize = U32(tag, 12);
    if (!records || !recordSize || *records == 0 || *recordSize < 12) {
        return std::nullopt;
    }
    std::optional<uint64_t> chosen;
    for (uint64_t i = 0; i < *records; ++i) {
        const uint64_t at = 16 + i * *recordSize;
        if (!Slice(tag, at, 12)) {
            break;
        }
        const bool english = tag.substr(static_cast<size_t>(at), 2) == "en";
        if (!chosen || english) {
            chosen = at;
        }
        if (english) {
            break;
        }
    }
    if (!chosen) {
        return std::nullopt;
    }
    const auto length = U32(tag, static_cast<size_t>(*chosen + 4));
    const auto offset = U32(tag, static_cast<size_t>(*chosen + 8));
    const auto text = Slice(tag, *offset, *length);
    if (!text) {
        return std::nullopt;
    }
    return Trimmed(FromUtf16(*text));
}

} // namespace

std::optional<std::string> IccDescription(std::string_view profile) {
    const auto tagCount = U32(profile, kHeaderSize);
    if (profile.size() < kHeaderSize || !tagCount) {
        return std::nullopt;
    }
    for (uint64_t i = 0; i < *tagCount; ++i) {
        const uint64_t entry = kHeaderSize + 4 + i * 12;
        if (!Slice(profile, entry, 12)) {
            return std::nullopt;
        }
        if (*U32(profile, static_cast<size_t>(entry)) != kDescTag) {
            continue;
        }
        const auto tag = Slice(profile, *U32(profile, static_cast<size_t>(entry + 4)),
                               *U32(profile, static_cast<size_t>(entry + 8)));
        if (!tag) {
            return std::nullopt;
        }
        const auto type = U32(*tag, 0);
        if (type == kTextDescriptionType) {
            return TextDescription(*tag);
        }
        if (type == kMultiLocalizedType) {
            return MultiLocalized(*tag);
        }
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace vhost::engine
