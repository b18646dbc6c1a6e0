#include "host/core/Terminology.h"

#include "hostapi/FourCharCode.h"

namespace vhost {

namespace {

struct Term {
    const char* stringID;
    uint32_t code;
};

using vlh::FourCC;

// The string IDs this host knows with a four-character code. String-only
// terms ("colorSettings", "linearLight", "profile", ...) are deliberately
// absent: they get run-time IDs like any unknown string.
constexpr Term kTerms[] = {
    {"unsharpMask", FourCC("UnsM")},
    {"highPass", FourCC("HghP")},
    {"gaussianBlur", FourCC("GsnB")},
    {"duplicate", FourCC("Dplc")},
    {"set", FourCC("setd")},
    {"get", FourCC("getd")},
    {"select", FourCC("slct")},
    {"flattenImage", FourCC("FltI")},
    {"mergeLayersNew", FourCC("Mrg2")},
    {"mergeLayers", FourCC("MrgL")},
    {"desaturate", FourCC("Dstt")},
    {"invert", FourCC("Invr")},
    {"purge", FourCC("Prge")},
    {"make", FourCC("Mk  ")},
    {"delete", FourCC("Dlt ")},
    {"layer", FourCC("Lyr ")},
    {"document", FourCC("Dcmn")},
    {"application", FourCC("capp")},
    {"property", FourCC("Prpr")},
    {"ordinal", FourCC("Ordn")},
    {"targetEnum", FourCC("Trgt")},
    {"backwardEnum", FourCC("Bckw")},
    {"forwardEnum", FourCC("Frwr")},
    {"mode", FourCC("Md  ")},
    {"blendMode", FourCC("BlnM")},
    {"normal", FourCC("Nrml")},
    {"multiply", FourCC("Mltp")},
    {"screen", FourCC("Scrn")},
    {"luminosity", FourCC("Lmns")},
    {"overlay", FourCC("Ovrl")},
    {"softLight", FourCC("SftL")},
    {"hardLight", FourCC("HrdL")},
    {"darken", FourCC("Drkn")},
    {"lighten", FourCC("Lghn")},
    {"opacity", FourCC("Opct")},
    {"opacityClass", FourCC("Opac")},
    {"percentUnit", FourCC("#Prc")},
    {"pixelsUnit", FourCC("#Pxl")},
    {"pointsUnit", FourCC("#Pnt")},
    {"densityUnit", FourCC("#Rsl")},
    {"distanceUnit", FourCC("#Rlt")},
    {"amount", FourCC("Amnt")},
    {"radius", FourCC("Rds ")},
    {"threshold", FourCC("Thsh")},
    {"thresholdClassEvent", FourCC("Thrs")},
    {"thresholdEnum", FourCC("Thrh")},
    {"name", FourCC("Nm  ")},
    {"to", FourCC("T   ")},
    {"null", FourCC("null")},
    {"target", FourCC("null")},
    {"rulerUnits", FourCC("RlrU")},
    {"rulerPixels", FourCC("RrPx")},
    {"rulerInches", FourCC("RrIn")},
    {"rulerCm", FourCC("RrCm")},
    {"rulerPoints", FourCC("RrPt")},
    {"rulerPicas", FourCC("RrPi")},
    {"rulerPercent", FourCC("RrPr")},
    {"width", FourCC("Wdth")},
    {"height", FourCC("Hght")},
    {"resolution", FourCC("Rslt")},
    {"depth", FourCC("Dpth")},
    {"hostName", FourCC("HstN")},
    {"hostVersion", FourCC("HstV")},
    {"version", FourCC("Vrsn")},
    {"versionMajor", FourCC("VrsM")},
    {"versionMinor", FourCC("VrsN")},
    {"versionFix", FourCC("VrsF")},
    {"purgeItem", FourCC("PrgI")},
    {"clipboard", FourCC("Clpb")},
    {"profileSetup", FourCC("PrfS")},
    {"findEdges", FourCC("FndE")},
    {"median", FourCC("Mdn ")},
    {"levels", FourCC("Lvls")},
    {"channel", FourCC("Chnl")},
    {"selection", FourCC("fsel")},
    {"selectionClass", FourCC("csel")},
    {"selectionEnum", FourCC("Slct")},
    {"mask", FourCC("Msk ")},
    {"userMaskEnabled", FourCC("UsrM")},
    {"using", FourCC("Usng")},
    {"at", FourCC("At  ")},
    {"hide", FourCC("Hd  ")},
    {"show", FourCC("Shw ")},
};

} // namespace

Terminology::Terminology() {
    for (const Term& t : kTerms) {
        byString_.emplace(t.stringID, t.code);
        // The first string of a shared code is the one reported back ("null").
        byID_.emplace(t.code, t.stringID);
    }
}

std::optional<uint32_t> Terminology::ToTypeID(const std::string& stringID) {
    if (stringID.empty()) {
        return std::nullopt;
    }
    if (auto it = byString_.find(stringID); it != byString_.end()) {
        return it->second;
    }
    if (!IsRuntimeID(nextRuntime_)) {
        return std::nullopt; // run-time ID space used up
    }
    const uint32_t id = nextRuntime_++;
    byString_.emplace(stringID, id);
    byID_.emplace(id, stringID);
    return id;
}

std::optional<std::string> Terminology::ToStringID(uint32_t typeID) const {
    if (auto it = byID_.find(typeID); it != byID_.end()) {
        return it->second;
    }
    return std::nullopt;
}

} // namespace vhost
