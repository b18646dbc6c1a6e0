// Who owns what between the host and the module. Every descriptor, reference,
// list and host string handed to the module is registered here under an opaque
// handle and stays live until the module (or the host) frees it; memory blocks
// of the basic suite likewise. Handles are never dereferenced: each use is a
// lookup, so a foreign pointer, a handle of another kind or a second free is
// answered with an error and recorded as a violation naming the routine.
// Suite acquisitions and releases are counted per name and version.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/core/ObjectModel.h"

namespace vhost {

enum class ObjectKind { Descriptor, Reference, List, HostString };

const char* KindName(ObjectKind kind);

struct Violation {
    std::string routine; // e.g. "Descriptor.Free"
    std::string what;    // e.g. "freed desc#3 twice"
};

class Accounting {
public:
    Accounting();
    ~Accounting();
    Accounting(const Accounting&) = delete;
    Accounting& operator=(const Accounting&) = delete;

    // Registers a new live object; returns its handle (never null, never
    // reused within this Accounting). origin names the routine that made it.
    void* Register(std::unique_ptr<Descriptor> d, const std::string& origin);
    void* Register(std::unique_ptr<Reference> r, const std::string& origin);
    void* Register(std::unique_ptr<List> l, const std::string& origin);
    void* Register(std::unique_ptr<HostString> s, const std::string& origin);

    // The live object behind a handle, or nullptr (with a violation recorded
    // against routine) when the handle is null, unknown, freed or of another
    // kind.
    Descriptor* FindDescriptor(const void* handle, const std::string& routine);
    Reference* FindReference(const void* handle, const std::string& routine);
    List* FindList(const void* handle, const std::string& routine);
    HostString* FindString(const void* handle, const std::string& routine);

    // Ends the life of a live object of the given kind. False (and a violation)
    // when the handle is not a live object of that kind; nothing is touched.
    bool Free(const void* handle, ObjectKind kind, const std::string& routine);

    // Takes a live descriptor out of the books without a violation check of the
    // caller (the host taking back what a request left behind). nullptr when
    // the handle is not a live descriptor.
    std::unique_ptr<Descriptor> TakeDescriptor(const void* handle);

    // The kind of a live handle; std::nullopt when it is not live.
    std::optional<ObjectKind> KindOf(const void* handle) const;

    // A short stable name for logs: "desc#3", "ref#4", "list#5", "str#6", or
    // the pointer in hex for anything this Accounting never handed out.
    std::string HandleName(const void* handle) const;

    // Basic-suite memory blocks (real memory the module writes to). Sizes
    // above kMaxBlockSize are refused with nullptr.
    static constexpr size_t kMaxBlockSize = size_t(1) << 30;
    void* AllocateBlock(size_t size);
    bool FreeBlock(void* block, const std::string& routine);
    bool HasBlock(const void* block) const { return blocks_.count(block) != 0; }
    void* ReallocateBlock(void* block, size_t size, const std::string& routine);

    // Suites: an acquisition adds one to name+version, a release takes one
    // away; releasing what is not held is a violation (and returns false).
    void SuiteAcquired(const std::string& name, int32_t version);
    bool SuiteReleased(const std::string& name, int32_t version, const std::string& routine);

    void AddViolation(const std::string& routine, const std::string& what);

    // What a test asks at the end.
    size_t LiveCount() const;                     // objects and blocks
    std::vector<std::string> LiveObjects() const; // "desc#3 (Control.Get)", "block of 16 bytes"
    const std::vector<Violation>& Violations() const { return violations_; }
    std::vector<std::string> UnreleasedSuites() const; // "AS ZString Suite v1 (held 1)"
    // True when nothing is live, nothing was violated and no suite is held.
    bool Clean() const;
    // Empty when Clean(); otherwise one line per finding.
    std::string Report() const;

private:
    struct Entry;
    void* Add(std::unique_ptr<Entry> e);
    Entry* Lookup(const void* handle, ObjectKind kind, const std::string& routine);

    std::map<uintptr_t, std::unique_ptr<Entry>> live_;
    std::map<const void*, std::unique_ptr<std::byte[]>> blocks_;
    std::map<const void*, size_t> blockSizes_;
    std::map<std::pair<std::string, int32_t>, int64_t> suites_;
    std::vector<Violation> violations_;
    uint64_t nextSerial_ = 1;
};

} // namespace vhost
