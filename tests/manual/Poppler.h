// A PDF read back with poppler's command-line tools (pdfinfo, pdftotext,
// pdfimages): a reader independent of the cairo and pango that wrote it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vlh::manualtest {

// A program found on PATH, or empty.
std::string FindProgram(const std::string& name);

// Runs a command (no shell), waits up to two minutes; its standard output,
// or std::nullopt when it could not run or did not exit with 0 (why in
// error).
std::optional<std::string> RunProgram(const std::vector<std::string>& argv, std::string& error);

// pdfinfo's fields ("Pages", "Title", "Page size", ...).
std::map<std::string, std::string> PdfInfo(const std::string& pdf);

// The text of each page, in reading order (pdftotext, raw mode); with
// layout, in the page's physical layout.
std::vector<std::string> PdfPages(const std::string& pdf, bool layout = false);

// One image drawn on a page, as pdfimages -list reports it.
struct PdfImage {
    int page = 0;
    int width = 0;
    int height = 0;
    int object = 0; // the image's object number: one image drawn twice has one
};
std::vector<PdfImage> PdfImages(const std::string& pdf);

// All whitespace (blanks, line ends, no-break spaces) turned into single
// blanks, so that names broken over lines still match.
std::string Collapsed(const std::string& text);

} // namespace vlh::manualtest
