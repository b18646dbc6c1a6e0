// The current image size under the Output plug-in's choices: output sharpening
// belongs to the image at its final size, so the dialog shows that size in the
// units of the host's rulers.
#include "chooser/VellicorDlgClass.h"

#include "hostapi/FourCharCode.h"
#include "hostapi/HostSuites.h"
#include "hostapi/PropertyAccess.h"

#include <wx/choice.h>
#include <wx/stattext.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <string>

namespace vlh {

namespace {

constexpr char kOutputPluginName[] = "Vellicor Output Honer";
constexpr char kWebSetName[] = "Web and Multimedia Honers";

// Stored factors; each value is the product of its factors in the order the
// table gives them.
constexpr double kPerPoint = 0.013888888888888888;    // 1/72: points to inches
constexpr double kCmPerPoint = 0.035277777777777776;  // 2.54/72
constexpr double kInchPerCm = 0.39370078740157477;    // 1/2.54
constexpr double kMmPerPoint = 0.35277777777777775;   // 25.4/72
constexpr double kInchPerMm = 0.03937007874015748;    // 1/25.4
constexpr double kPicaPerPoint = 0.08333333333333333; // 1/12

// The document as the host reports it: width and height in points (1/72
// inch), resolution in pixels per inch, whatever unit the host names.
struct DocumentSize {
    double w = NAN;
    double h = NAN;
    double r = NAN;

    bool known() const { return !std::isnan(w) && !std::isnan(h) && !std::isnan(r); }
};

// printf with the C locale's full stop, whatever locale the host runs in.
std::string FormatNumbers(const char* format, ...) {
#if defined(_WIN32)
    _locale_t c = _create_locale(LC_NUMERIC, "C");
#else
    locale_t c = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    locale_t previous = c != nullptr ? uselocale(c) : nullptr;
#endif
    char text[1024] = {};
    va_list args;
    va_start(args, format);
#if defined(_WIN32)
    _vsnprintf_l(text, sizeof text - 1, format, c, args);
#else
    std::vsnprintf(text, sizeof text, format, args);
#endif
    va_end(args);
#if defined(_WIN32)
    _free_locale(c);
#else
    if (c != nullptr) {
        uselocale(previous);
        freelocale(c);
    }
#endif
    return text;
}

std::string PixelsText(const DocumentSize& d) {
    return FormatNumbers("%.0f pixels x %.0f pixels", d.r * d.w * kPerPoint, d.r * d.h * kPerPoint);
}

// The readout for a ruler unit's string ID; empty for a unit not listed.
std::string RulerText(const char* unit, const DocumentSize& d) {
    if (std::strcmp(unit, "rulerPixels") == 0) {
        return FormatNumbers("%.0f pixels x %.0f pixels @ %.2f ppi", d.r * d.w * kPerPoint,
                             d.r * d.h * kPerPoint, d.r);
    }
    if (std::strcmp(unit, "rulerInches") == 0 || std::strcmp(unit, "rulerPercent") == 0) {
        return FormatNumbers("%.2f in. x %.2f in. @ %.2f ppi.", d.w * kPerPoint, d.h * kPerPoint, d.r);
    }
    if (std::strcmp(unit, "rulerCm") == 0) {
        return FormatNumbers("%.2f cm. x %.2f cm. @ %.2f ppcm.", d.w * kCmPerPoint, d.h * kCmPerPoint,
                             d.r * kInchPerCm);
    }
    if (std::strcmp(unit, "rulerMm") == 0) {
        return FormatNumbers("%.2f mm. x %.2f mm. @ %.2f ppmm.", d.w * kMmPerPoint, d.h * kMmPerPoint,
                             d.r * kInchPerMm);
    }
    if (std::strcmp(unit, "rulerPoints") == 0) {
        return FormatNumbers("%.2f points x %.2f points @ %.2f ppi.", d.w, d.h, d.r);
    }
    if (std::strcmp(unit, "rulerPicas") == 0) {
        return FormatNumbers("%.2f picas x %.2f picas @ %.2f ppi.", d.w * kPicaPerPoint, d.h * kPicaPerPoint,
                             d.r);
    }
    return {};
}

// The string ID of the host's ruler unit ("rulerCm"); empty when the host
// cannot say.
void ReadRulerUnit(char (&unit)[256]) {
    DescriptorEnumID value = 0;
    DescriptorEnumTypeID enumType = 0;
    if (GetTargetProperty(FourCC("capp"), FourCC("RlrU"), &value, &enumType, FourCC("enum")) != 0) {
        return;
    }
    if (gHost.control->TypeIDToStringID(value, unit, sizeof unit) != noErr) {
        unit[0] = '\0';
    }
    unit[sizeof unit - 1] = '\0';
}

// One unit double of the active document; NaN when the host cannot give it.
double ReadDocumentNumber(DescriptorKeyID key) {
    double value = NAN;
    DescriptorUnitID unit = 0;
    if (GetTargetProperty(FourCC("Dcmn"), key, &value, &unit, FourCC("UntF")) != 0) {
        return NAN;
    }
    return value;
}

// True when the selected entry's text is name, byte for byte.
bool SelectedSetIs(const wxChoice& setChoice, const char* name) {
    const int selected = setChoice.GetSelection();
    if (selected == wxNOT_FOUND) {
        return false;
    }
    const wxCharBuffer text = setChoice.GetString(static_cast<unsigned>(selected)).To8BitData();
    return text.length() == std::strlen(name) && std::memcmp(text.data(), name, text.length()) == 0;
}

} // namespace

void VellicorDlg::UpdateSizeReadout() {
    if (std::strcmp(runContext_->pluginName, kOutputPluginName) != 0) {
        noteText_->Hide();
        sizeReadout_->Hide();
        sizeCaption_->Hide();
        return;
    }
    char unit[256] = {};
    ReadRulerUnit(unit);
    DocumentSize size;
    size.w = ReadDocumentNumber(FourCC("Wdth"));
    size.h = ReadDocumentNumber(FourCC("Hght"));
    size.r = ReadDocumentNumber(FourCC("Rslt"));

    // Without a document (or with a host that answers something else) there
    // is no size to show.
    std::string text;
    if (size.known()) {
        text = SelectedSetIs(*setChoice_, kWebSetName) ? PixelsText(size) : RulerText(unit, size);
    }
    sizeReadout_->SetLabel(wxString::FromAscii(text.c_str()));
}

} // namespace vlh
