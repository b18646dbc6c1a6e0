// The host string suite over 8-bit texts with a reference count.
//  - MakeFromUnicode counts UTF-16 units; units above 0xFF become '?'.
//  - MakeFromCString takes byteCount bytes, stopping early at a NUL.
//  - GetEmpty hands out a new empty string that the caller releases like any
//    other (stricter than a shared constant, so accounting stays exact).
//  - The Length* routines count the terminator (Pascal: the length byte), i.e.
//    the buffer size the As* routines need.
//  - As* with checkSize on answer kASBufferTooSmallErr, writing nothing, when
//    the text and its terminator do not fit; with it off they truncate.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "host/suites/SuiteSupport.h"

namespace vhost::suites {

namespace {

template <typename Detail, typename Body>
ASErr WithString(const char* routine, ASZString z, Detail detail, Body body) {
    return Run<ASErr>(
        routine, [&](Host& h) { return H(h, z) + detail(h); },
        [&](Host& h) -> ASErr {
            HostString* s = h.Books().FindString(z, routine);
            if (s == nullptr) {
                return kSPBadParameterError;
            }
            return body(h, *s);
        });
}

// A plain-value routine on a string: `failed` for a bad handle.
template <typename T, typename Body>
T StringValue(const char* routine, ASZString z, T failed, Body body) {
    return RunValue<T>(
        routine, failed, [&](Host& h) { return H(h, z); },
        [&](Host& h) -> T {
            const HostString* s = h.Books().FindString(z, routine);
            return s ? body(*s) : failed;
        });
}

// Hands a new string to the caller through out.
ASErr MakeString(Host& h, const char* routine, ASZString* out, std::string text) {
    if (NullOut(h, routine, out)) {
        return kSPBadParameterError;
    }
    *out = NewHostString(h, std::move(text), routine);
    return kSPNoError;
}

ASErr VLH_API MakeFromUnicode(ASUnicode* src, size_t count, ASZString* out) {
    constexpr const char* kRoutine = "ZString.MakeFromUnicode";
    return Run<ASErr>(
        kRoutine, [&](Host&) { return "count=" + std::to_string(count); },
        [&](Host& h) -> ASErr {
            if ((src == nullptr && count != 0) || count > kMaxText) {
                return kSPBadParameterError;
            }
            std::string text;
            for (size_t i = 0; i < count && src[i] != 0; ++i) {
                text += src[i] <= 0xFF ? char(src[i]) : '?';
            }
            return MakeString(h, kRoutine, out, std::move(text));
        });
}

ASErr VLH_API MakeFromCString(const char* src, size_t byteCount, ASZString* out) {
    constexpr const char* kRoutine = "ZString.MakeFromCString";
    return Run<ASErr>(
        kRoutine,
        [&](Host&) {
            return (src ? QuotedText(std::string(src, BoundedLength(src, byteCount))) : std::string("null")) +
                   " " + std::to_string(byteCount);
        },
        [&](Host& h) -> ASErr {
            if ((src == nullptr && byteCount != 0) || byteCount > kMaxText) {
                return kSPBadParameterError;
            }
            return MakeString(h, kRoutine, out, std::string(src ? src : "", BoundedLength(src, byteCount)));
        });
}

ASErr VLH_API MakeFromPascalString(const unsigned char* src, size_t byteCount, ASZString* out) {
    constexpr const char* kRoutine = "ZString.MakeFromPascalString";
    return Run<ASErr>(kRoutine, NoDetail(), [&](Host& h) -> ASErr {
        if (src == nullptr || byteCount == 0) {
            return kSPBadParameterError;
        }
        const size_t n = std::min<size_t>(src[0], byteCount - 1);
        return MakeString(h, kRoutine, out, std::string(reinterpret_cast<const char*>(src) + 1, n));
    });
}

ASErr VLH_API MakeRomanizationOfInteger(int32_t value, ASZString* out) {
    constexpr const char* kRoutine = "ZString.MakeRomanizationOfInteger";
    return Run<ASErr>(
        kRoutine, [&](Host&) { return std::to_string(value); },
        [&](Host& h) { return MakeString(h, kRoutine, out, std::to_string(value)); });
}

// value is 16.16 fixed point.
ASErr VLH_API MakeRomanizationOfFixed(int32_t value, int16_t places, ASBoolean trim, ASBoolean isSigned,
                                      ASZString* out) {
    constexpr const char* kRoutine = "ZString.MakeRomanizationOfFixed";
    return Run<ASErr>(kRoutine, NoDetail(), [&](Host& h) -> ASErr {
        const double v = isSigned ? value / 65536.0 : uint32_t(value) / 65536.0;
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", std::clamp<int>(places, 0, 10), v);
        std::string text = buf;
        if (trim && text.find('.') != std::string::npos) {
            text.erase(text.find_last_not_of('0') + 1);
            if (text.back() == '.') {
                text.pop_back();
            }
        }
        return MakeString(h, kRoutine, out, std::move(text));
    });
}

ASErr VLH_API MakeRomanizationOfDouble(double value, ASZString* out) {
    constexpr const char* kRoutine = "ZString.MakeRomanizationOfDouble";
    return Run<ASErr>(kRoutine, NoDetail(), [&](Host& h) -> ASErr {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%g", value);
        return MakeString(h, kRoutine, out, buf);
    });
}

ASZString VLH_API GetEmpty() {
    constexpr const char* kRoutine = "ZString.GetEmpty";
    return RunValue<ASZString>(kRoutine, nullptr, NoDetail(),
                               [](Host& h) { return NewHostString(h, std::string(), kRoutine); });
}

ASErr VLH_API Copy(ASZString source, ASZString* copy) {
    constexpr const char* kRoutine = "ZString.Copy";
    return WithString(
        kRoutine, source, [](Host&) { return std::string(); },
        [&](Host& h, HostString& s) { return MakeString(h, kRoutine, copy, s.text); });
}

// Replaces the placeholder "^<index>" with the replacement's text.
ASErr VLH_API Replace(ASZString z, uint32_t index, ASZString replacement) {
    constexpr const char* kRoutine = "ZString.Replace";
    return WithString(
        kRoutine, z, [&](Host& h) { return " ^" + std::to_string(index) + " " + H(h, replacement); },
        [&](Host& h, HostString& s) -> ASErr {
            const HostString* r = h.Books().FindString(replacement, kRoutine);
            if (r == nullptr) {
                return kSPBadParameterError;
            }
            const std::string placeholder = "^" + std::to_string(index);
            const size_t at = s.text.find(placeholder);
            if (at != std::string::npos) {
                s.text.replace(at, placeholder.size(), r->text);
            }
            return kSPNoError;
        });
}

ASErr VLH_API TrimEllipsis(ASZString z) {
    return WithString(
        "ZString.TrimEllipsis", z, [](Host&) { return std::string(); },
        [](Host&, HostString& s) -> ASErr {
            if (s.text.size() >= 3 && s.text.compare(s.text.size() - 3, 3, "...") == 0) {
                s.text.resize(s.text.size() - 3);
            }
            return kSPNoError;
        });
}

ASErr VLH_API TrimSpaces(ASZString z) {
    return WithString(
        "ZString.TrimSpaces", z, [](Host&) { return std::string(); },
        [](Host&, HostString& s) -> ASErr {
            const size_t first = s.text.find_first_not_of(' ');
            if (first == std::string::npos) {
                s.text.clear();
            } else {
                s.text = s.text.substr(first, s.text.find_last_not_of(' ') - first + 1);
            }
            return kSPNoError;
        });
}

// Drops menu accelerator marks: "&x" becomes "x", "&&" becomes "&".
ASErr VLH_API RemoveAccelerators(ASZString z) {
    return WithString(
        "ZString.RemoveAccelerators", z, [](Host&) { return std::string(); },
        [](Host&, HostString& s) -> ASErr {
            std::string out;
            for (size_t i = 0; i < s.text.size(); ++i) {
                if (s.text[i] == '&' && i + 1 < s.text.size()) {
                    ++i;
                }
                out += s.text[i];
            }
            s.text = std::move(out);
            return kSPNoError;
        });
}

ASErr VLH_API AddRef(ASZString z) {
    return WithString(
        "ZString.AddRef", z, [](Host&) { return std::string(); },
        [](Host&, HostString& s) -> ASErr {
            ++s.refCount;
            return kSPNoError;
        });
}

ASErr VLH_API Release(ASZString z) {
    constexpr const char* kRoutine = "ZString.Release";
    return WithString(
        kRoutine, z, [](Host&) { return std::string(); },
        [&](Host& h, HostString& s) -> ASErr {
            if (--s.refCount <= 0) {
                h.Books().Free(z, ObjectKind::HostString, kRoutine);
            }
            return kSPNoError;
        });
}

ASBoolean VLH_API IsAllWhiteSpace(ASZString z) {
    return StringValue<ASBoolean>("ZString.IsAllWhiteSpace", z, 0, [](const HostString& s) -> ASBoolean {
        return s.text.find_first_not_of(" \t\r\n") == std::string::npos;
    });
}

ASBoolean VLH_API IsEmpty(ASZString z) {
    return StringValue<ASBoolean>("ZString.IsEmpty", z, 0,
                                  [](const HostString& s) -> ASBoolean { return s.text.empty(); });
}

ASBoolean VLH_API WillReplace(ASZString z, uint32_t index) {
    return StringValue<ASBoolean>("ZString.WillReplace", z, 0, [&](const HostString& s) -> ASBoolean {
        return s.text.find("^" + std::to_string(index)) != std::string::npos;
    });
}

uint32_t VLH_API LengthAsUnicodeCString(ASZString z) {
    return StringValue<uint32_t>("ZString.LengthAsUnicodeCString", z, 0, [](const HostString& s) {
        return static_cast<uint32_t>(s.text.size() + 1);
    });
}

ASErr VLH_API AsUnicodeCString(ASZString z, ASUnicode* str, uint32_t strSize, ASBoolean checkStrSize) {
    constexpr const char* kRoutine = "ZString.AsUnicodeCString";
    return WithString(
        kRoutine, z, [&](Host&) { return " size=" + std::to_string(strSize); },
        [&](Host& h, HostString& s) -> ASErr {
            if (NullOut(h, kRoutine, str)) {
                return kSPBadParameterError;
            }
            if (checkStrSize && s.text.size() + 1 > strSize) {
                return kASBufferTooSmallErr;
            }
            if (strSize == 0) {
                return kSPNoError;
            }
            const size_t n = std::min<size_t>(s.text.size(), strSize - 1);
            for (size_t i = 0; i < n; ++i) {
                str[i] = static_cast<unsigned char>(s.text[i]);
            }
            str[n] = 0;
            return kSPNoError;
        });
}

uint32_t VLH_API LengthAsCString(ASZString z) {
    return StringValue<uint32_t>("ZString.LengthAsCString", z, 0, [](const HostString& s) {
        return static_cast<uint32_t>(s.text.size() + 1);
    });
}

ASErr VLH_API AsCString(ASZString z, char* str, uint32_t strSize, ASBoolean checkStrSize) {
    constexpr const char* kRoutine = "ZString.AsCString";
    return WithString(
        kRoutine, z,
        [&](Host&) { return " size=" + std::to_string(strSize) + (checkStrSize ? " checked" : ""); },
        [&](Host& h, HostString& s) -> ASErr {
            if (NullOut(h, kRoutine, str)) {
                return kSPBadParameterError;
            }
            if (checkStrSize && s.text.size() + 1 > strSize) {
                return kASBufferTooSmallErr;
            }
            if (strSize == 0) {
                return kSPNoError;
            }
            const size_t n = std::min<size_t>(s.text.size(), strSize - 1);
            std::memcpy(str, s.text.data(), n);
            str[n] = '\0';
            return kSPNoError;
        });
}

uint32_t VLH_API LengthAsPascalString(ASZString z) {
    return StringValue<uint32_t>("ZString.LengthAsPascalString", z, 0, [](const HostString& s) {
        return static_cast<uint32_t>(std::min<size_t>(s.text.size(), 255) + 1);
    });
}

ASErr VLH_API AsPascalString(ASZString z, char* str, uint32_t strSize, ASBoolean checkStrSize) {
    constexpr const char* kRoutine = "ZString.AsPascalString";
    return WithString(
        kRoutine, z, [&](Host&) { return " size=" + std::to_string(strSize); },
        [&](Host& h, HostString& s) -> ASErr {
            if (NullOut(h, kRoutine, str)) {
                return kSPBadParameterError;
            }
            const size_t length = std::min<size_t>(s.text.size(), 255);
            if (checkStrSize && (length + 1 > strSize || s.text.size() > 255)) {
                return kASBufferTooSmallErr;
            }
            if (strSize == 0) {
                return kSPNoError;
            }
            const size_t n = std::min<size_t>(length, strSize - 1);
            str[0] = static_cast<char>(n);
            std::memcpy(str + 1, s.text.data(), n);
            return kSPNoError;
        });
}

const ASZStringSuite kZStringSuite = {
    MakeFromUnicode,
    MakeFromCString,
    MakeFromPascalString,
    MakeRomanizationOfInteger,
    MakeRomanizationOfFixed,
    MakeRomanizationOfDouble,
    GetEmpty,
    Copy,
    Replace,
    TrimEllipsis,
    TrimSpaces,
    RemoveAccelerators,
    AddRef,
    Release,
    IsAllWhiteSpace,
    IsEmpty,
    WillReplace,
    LengthAsUnicodeCString,
    AsUnicodeCString,
    LengthAsCString,
    AsCString,
    LengthAsPascalString,
    AsPascalString,
};

} // namespace

const ASZStringSuite& ZStringSuiteTable() {
    return kZStringSuite;
}

} // namespace vhost::suites
