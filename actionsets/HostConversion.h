// Turning recorded descriptors into the host's descriptor, reference and list
// objects through the suites in vlh::gHost. Every host object made on the way
// goes into the HostObjectList of the playback at once, so that it is released
// when the playback ends, whatever happens in between.
#pragma once

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "actionsets/DescriptorBody.h"
#include "hostapi/HostInterface.h"
#include "hostapi/HostObjects.h"

namespace vlh {

// A host routine failed (its code), or a value cannot be handed to the host
// (code 1). Never leaves PlayEffect.
class HostError : public std::exception {
public:
    explicit HostError(OSErr code) noexcept : code_(code) {}
    OSErr code() const noexcept { return code_; }
    const char* what() const noexcept override { return "host routine failed"; }

private:
    OSErr code_;
};

// The code of a value the host is not given: an alias, or a list element
// other than an integer, reference, object or text.
constexpr OSErr kUnsupportedValue = 1;

// Exactly one slot is filled. Released descriptor first, then reference,
// then list.
struct HostObjectTriple {
    HostObjectTriple() = default;
    HostObjectTriple(const HostObjectTriple&) = delete;
    HostObjectTriple& operator=(const HostObjectTriple&) = delete;
    ~HostObjectTriple();

    HostDescriptor descriptor;
    HostReference reference;
    HostList list;
};

// Every host object made for one playback, in the order it was made.
// Destroying the list releases them in that order.
class HostObjectList {
public:
    HostObjectList() = default;
    HostObjectList(const HostObjectList&) = delete;
    HostObjectList& operator=(const HostObjectList&) = delete;
    ~HostObjectList() { ReleaseAll(); }

    // Each takes ownership at once (freeing the object if the list cannot
    // grow) and returns the object, still owned by the list.
    PIActionDescriptor Adopt(HostDescriptor descriptor);
    PIActionReference Adopt(HostReference reference);
    PIActionList Adopt(HostList list);

    size_t size() const noexcept { return triples_.size(); }
    // Releases every object in list order and empties the list.
    void ReleaseAll() noexcept;

private:
    HostObjectTriple& Append();
    std::vector<std::unique_ptr<HostObjectTriple>> triples_;
};

// An ID of exactly four characters is that four-character code; any other is
// what the host's StringIDToTypeID gives (its result code is not examined; a
// host that leaves the ID alone gives 0).
DescriptorTypeID ToTypeID(const std::string& id);

// A new host descriptor holding the body's items, owned by list. Raises
// HostError.
PIActionDescriptor MakeHostDescriptor(HostObjectList& list, const DescriptorBody& body);
// A new host reference with the item's forms in stored order, owned by list.
PIActionReference MakeHostReference(HostObjectList& list, const ReferenceItem& item);
// Makes a host list of the item's elements (owned by list) and puts it into
// target under the item's key.
void PutHostList(HostObjectList& list, const ListItem& item, PIActionDescriptor target);

} // namespace vlh
