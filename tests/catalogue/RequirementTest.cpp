// The requirement evaluator against a live host: each row is a postfix token
// list beside the answer it must give, with the host's version and document
// set up as the row says.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "catalogue/Requirement.h"
#include "hostapi/FourCharCode.h"
#include "tests/catalogue/HostFixture.h"

namespace vlh::test {
namespace {

struct Row {
    std::vector<const char*> tokens;
    bool expected;
    int32_t hostMajor = 24;
    std::optional<std::string> documentProfile{}; // none: no document open
};

std::string Show(const Row& row) {
    std::string text;
    for (const char* token : row.tokens) {
        text += std::string(text.empty() ? "" : " ") + "\"" + token + "\"";
    }
    return "[" + text + "] on host " + std::to_string(row.hostMajor) +
           (row.documentProfile ? " with document profile \"" + *row.documentProfile + "\""
                                : " without document");
}

class RequirementTest : public HostFixture {
protected:
    void Check(const std::vector<Row>& rows) {
        for (const Row& row : rows) {
            host.App().versionMajor = row.hostMajor;
            host.CloseDocument();
            if (row.documentProfile) {
                vhost::Document document;
                document.profile = *row.documentProfile;
                host.OpenDocument(document);
            }
            EXPECT_EQ(row.expected, EvaluateRequirement(row.tokens.data(), int32_t(row.tokens.size())))
                << Show(row);
        }
    }
};

TEST_F(RequirementTest, HostVersion) {
    Check({
        {{"PSVersion", "6", ">="}, true, 6},
        {{"PSVersion", "6", ">="}, true, 24},
        {{"PSVersion", "6", ">="}, false, 5},
        {{"PSVersion", "6", ">="}, false, 0},
        {{"PSVersion", "6", "<"}, true, 5},
        {{"PSVersion", "7", "=="}, true, 7},
        {{"PSVersion", "7", "!="}, false, 7},
        {{"PSVersion", "5", ">"}, true, 6},
        {{"PSVersion", "6", "<="}, true, 6},
        // A number compared with a string is an error.
        {{"PSVersion", "six", ">="}, false, 24},
    });
}

TEST_F(RequirementTest, StringOrderingIsByteWiseUnsigned) {
    Check({
        {{"abc", "abd", "<"}, true},
        {{"abd", "abc", "<"}, false},
        {{"abc", "abc", ">="}, true},
        {{"abc", "abc", "<="}, true},
        {{"ab", "abc", "<"}, true},
        // Capitals sort before small letters, byte for byte.
        {{"Zeta", "alpha", "<"}, true},
        {{"Same", "same", "=="}, false},
        // Bytes above 0x7F compare as unsigned: 0xE9 comes after 'z'.
        {{"a\xE9", "az", ">"}, true},
        // A string as the final value is an error.
        {{"abc"}, false},
    });
}

TEST_F(RequirementTest, ListsOfThreeWithEqualAndNotEqual) {
    const std::vector<const char*> isOneOf = {
        "DocProfile", "Adobe RGB (1998)", "sRGB IEC61966-2.1", "ProPhoto RGB", ",", ",", "=="};
    const std::vector<const char*> isNoneOf = {
        "DocProfile", "Adobe RGB (1998)", "sRGB IEC61966-2.1", "ProPhoto RGB", ",", ",", "!="};
    const std::vector<const char*> listOnTheLeft = {
        "Adobe RGB (1998)", "sRGB IEC61966-2.1", "ProPhoto RGB", ",", ",", "DocProfile", "=="};
    Check({
        {isOneOf, true, 24, "sRGB IEC61966-2.1"},
        {isOneOf, true, 24, "ProPhoto RGB"},
        {isOneOf, false, 24, "Display P3"},
        {isOneOf, false, 24, std::nullopt},
        {isNoneOf, false, 24, "Adobe RGB (1998)"},
        {isNoneOf, true, 24, "Display P3"},
        {listOnTheLeft, true, 24, "ProPhoto RGB"},
        {listOnTheLeft, false, 24, "Display P3"},
        {{"1", "2", "3", ",", ",", "2", "=="}, true},
        {{"1", "2", "3", ",", ",", "4", "=="}, false},
        {{"1", "2", "3", ",", ",", "4", "!="}, true},
        // Lists are flat: a list joined with a list holds all four values.
        {{"1", "2", ",", "3", "4", ",", ",", "4", "=="}, true},
        // Elements are compared in order and the first match answers, so a
        // later element of another kind is never reached...
        {{"2", "abc", ",", "2", "=="}, true},
        // ...but one reached before any match is an error.
        {{"1", "abc", ",", "2", "=="}, false},
        {{"1", "abc", ",", "2", "!="}, false},
        // A list cannot be ordered, nor be the final value.
        {{"1", "2", ",", "1", ">="}, false},
        {{"1", "2", ","}, false},
    });
}

TEST_F(RequirementTest, BooleansAndLogic) {
    Check({
        {{"1", "1", "==", "2", "2", "==", "&&"}, true},
        {{"1", "1", "==", "1", "2", "==", "&&"}, false},
        {{"1", "1", "==", "1", "2", "==", "||"}, true},
        {{"1", "2", "==", "1", "2", "==", "||"}, false},
        // Booleans are never compared, with each other or anything else.
        {{"1", "1", "==", "1", "1", "==", "=="}, false},
        {{"1", "1", "==", "1", "1", "==", "!="}, false},
        {{"1", "1", "==", "1", "=="}, false},
        {{"1", "1", "==", "1", ">="}, false},
        // Logic needs booleans.
        {{"1", "2", "&&"}, false},
        {{"abc", "abc", "||"}, false},
    });
}

TEST_F(RequirementTest, DocumentProfilePresetsNoneAndFitsTheBuffer) {
    char buffer[256];
    std::memset(buffer, 'x', sizeof buffer);
    GetDocumentProfile(buffer, sizeof buffer);
    EXPECT_STREQ("None", buffer);

    vhost::Document document;
    document.profile = std::string(300, 'p'); // longer than the buffer
    host.OpenDocument(document);
    GetDocumentProfile(buffer, sizeof buffer);
    EXPECT_STREQ("None", buffer) << "a profile that does not fit is not cut";

    host.CloseDocument();
    document.profile = "Display P3";
    host.OpenDocument(document);
    GetDocumentProfile(buffer, sizeof buffer);
    EXPECT_STREQ("Display P3", buffer);
}

} // namespace
} // namespace vlh::test
