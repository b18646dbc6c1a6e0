// The objects Control.Get answers for: the application ('capp') and the active
// document ('Dcmn'), built from the host's state, with per-test overrides.
//
// 'capp': 'HstN' TEXT host name; 'HstV' object of class 'Vrsn' with 'VrsM' and
//   'VrsN' integers; 'RlrU' enumerated 'RlrU':<ruler units>; under the run-time
//   ID of "colorSettings" an object of that class with 'Nm  ' TEXT and the
//   booleans under the run-time IDs of "askMismatchOpening",
//   "askMismatchPasting", "askMissing".
// 'Dcmn' (only while a document is open): 'Dpth' integer; 'Wdth' and 'Hght'
//   unit floats in '#Pnt' (pixels * 72 / ppi); 'Rslt' unit float '#Rsl' (ppi);
//   under the run-time ID of "profile" the profile name as TEXT.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "host/core/AppState.h"
#include "host/core/Document.h"
#include "host/core/ObjectModel.h"
#include "host/core/Terminology.h"

namespace vhost {

class Properties {
public:
    // Puts a property value of any type in place of the host's own (or adds
    // it); later calls for the same key replace earlier ones.
    void Override(uint32_t classID, uint32_t key, Value v);
    // Takes a property away from the answers.
    void Remove(uint32_t classID, uint32_t key);
    void Clear() { ops_.clear(); }

    // The whole object of a class with the overrides applied; std::nullopt
    // when there is no such object ('Dcmn' with no document; any other class
    // without overrides).
    std::optional<Descriptor> ObjectOf(uint32_t classID, const AppState& app, const Document* doc,
                                       Terminology& terms) const;

private:
    struct Op {
        uint32_t classID;
        uint32_t key;
        std::optional<Value> value; // empty: remove
    };
    void Set(uint32_t classID, uint32_t key, std::optional<Value> v);
    std::vector<Op> ops_;
};

Descriptor ApplicationObject(const AppState& app, Terminology& terms);
Descriptor DocumentObject(const Document& doc, Terminology& terms);

} // namespace vhost
