// For the length of a test, the system's association of PDF documents with a
// recorder program, so a test sees which document the shell was asked to open.
#pragma once

#include "windows/tests/WineSupport.h"

#include <chrono>
#include <optional>
#include <string>

namespace vhost::wintest {

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
