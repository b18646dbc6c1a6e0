// A module installed as a user would have it, with its manual: a copy of
// Honer.8li in a folder of its own (with blanks in its name) and
// vlh_help\Honer-Manual-123.pdf beside it; and, for the length of a test, the
// system's association of PDF documents with a recorder program, so a test
// sees which document the shell was asked to open.
#pragma once

#include "windows/tests/WineSupport.h"

#include <chrono>
#include <optional>
#include <string>

namespace vhost::wintest {

class InstalledModule {
public:
    InstalledModule();
    const std::string& Folder() const { return folder_.Path(); }
    const std::string& ModulePath() const { return module_; }
    // Where the module's Help looks: <folder>\vlh_help\Honer-Manual-123.pdf.
    std::string ManualPath() const;

private:
    ScratchFolder folder_;
    std::string module_;
};

class PdfAssociation {
public:
    // Opening a .pdf runs the recorder, which notes the document in record.
    explicit PdfAssociation(const std::string& record);
    // Puts back the association there was before.
    ~PdfAssociation();
    PdfAssociation(const PdfAssociation&) = delete;
    PdfAssociation& operator=(const PdfAssociation&) = delete;

    // The first document the recorder noted, once it has (waiting up to
    // timeout); none when it noted nothing.
    std::optional<std::string> WaitForOpened(std::chrono::milliseconds timeout) const;

private:
    std::string record_;
    std::optional<std::string> previous_;
};

} // namespace vhost::wintest
