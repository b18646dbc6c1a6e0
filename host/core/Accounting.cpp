#include "host/core/Accounting.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace vhost {

namespace {

// Handles are values outside the canonical address space of x86-64 and
// AArch64, so a module that dereferences one faults at once, and no handle
// can ever equal a real pointer. Layout: base | kind << 40 | serial << 4.
constexpr uintptr_t kHandleBase = uintptr_t(0x7EC0) << 48;
constexpr uintptr_t kSerialMask = (uintptr_t(1) << 36) - 1;

uintptr_t MakeHandle(ObjectKind kind, uint64_t serial) {
    return kHandleBase | uintptr_t(static_cast<unsigned>(kind)) << 40 |
           (uintptr_t(serial) & kSerialMask) << 4;
}

bool IsOurs(uintptr_t h) {
    return (h & ~((uintptr_t(0xF) << 40) | (kSerialMask << 4))) == kHandleBase;
}

ObjectKind KindFromHandle(uintptr_t h) {
    return static_cast<ObjectKind>((h >> 40) & 0xF);
}

uint64_t SerialFromHandle(uintptr_t h) {
    return (h >> 4) & kSerialMask;
}

const char* ShortKind(ObjectKind kind) {
    switch (kind) {
    case ObjectKind::Descriptor:
        return "desc";
    case ObjectKind::Reference:
        return "ref";
    case ObjectKind::List:
        return "list";
    case ObjectKind::HostString:
        return "str";
    }
    return "?";
}

} // namespace

const char* KindName(ObjectKind kind) {
    switch (kind) {
    case ObjectKind::Descriptor:
        return "descriptor";
    case ObjectKind::Reference:
        return "reference";
    case ObjectKind::List:
        return "list";
    case ObjectKind::HostString:
        return "host string";
    }
    return "object";
}

struct Accounting::Entry {
    ObjectKind kind;
    std::string origin;
    std::unique_ptr<Descriptor> descriptor;
    std::unique_ptr<Reference> reference;
    std::unique_ptr<List> list;
    std::unique_ptr<HostString> string;
};

Accounting::Accounting() = default;
Accounting::~Accounting() = default;

void* Accounting::Add(std::unique_ptr<Entry> e) {
    const uintptr_t h = MakeHandle(e->kind, nextSerial_++);
    live_.emplace(h, std::move(e));
    return reinterpret_cast<void*>(h);
}

void* Accounting::Register(std::unique_ptr<Descriptor> d, const std::string& origin) {
    auto e = std::make_unique<Entry>(Entry{ObjectKind::Descriptor, origin, std::move(d), {}, {}, {}});
    return Add(std::move(e));
}

void* Accounting::Register(std::unique_ptr<Reference> r, const std::string& origin) {
    auto e = std::make_unique<Entry>(Entry{ObjectKind::Reference, origin, {}, std::move(r), {}, {}});
    return Add(std::move(e));
}

void* Accounting::Register(std::unique_ptr<List> l, const std::string& origin) {
    auto e = std::make_unique<Entry>(Entry{ObjectKind::List, origin, {}, {}, std::move(l), {}});
    return Add(std::move(e));
}

void* Accounting::Register(std::unique_ptr<HostString> s, const std::string& origin) {
    auto e = std::make_unique<Entry>(Entry{ObjectKind::HostString, origin, {}, {}, {}, std::move(s)});
    return Add(std::move(e));
}

Accounting::Entry* Accounting::Lookup(const void* handle, ObjectKind kind, const std::string& routine) {
    const auto h = reinterpret_cast<uintptr_t>(handle);
    if (h == 0) {
        AddViolation(routine, std::string("null ") + KindName(kind));
        return nullptr;
    }
    auto it = live_.find(h);
    if (it == live_.end()) {
        if (IsOurs(h) && SerialFromHandle(h) < nextSerial_) {
            AddViolation(routine, HandleName(handle) + " used after it was freed");
        } else {
            AddViolation(routine, std::string("unknown ") + KindName(kind) + " " + HandleName(handle));
        }
        return nullptr;
    }
    if (it->second->kind != kind) {
        AddViolation(routine, HandleName(handle) + " is a " + KindName(it->second->kind) + ", not a " +
                                  KindName(kind));
        return nullptr;
    }
    return it->second.get();
}

Descriptor* Accounting::FindDescriptor(const void* handle, const std::string& routine) {
    Entry* e = Lookup(handle, ObjectKind::Descriptor, routine);
    return e ? e->descriptor.get() : nullptr;
}

Reference* Accounting::FindReference(const void* handle, const std::string& routine) {
    Entry* e = Lookup(handle, ObjectKind::Reference, routine);
    return e ? e->reference.get() : nullptr;
}

List* Accounting::FindList(const void* handle, const std::string& routine) {
    Entry* e = Lookup(handle, ObjectKind::List, routine);
    return e ? e->list.get() : nullptr;
}

HostString* Accounting::FindString(const void* handle, const std::string& routine) {
    Entry* e = Lookup(handle, ObjectKind::HostString, routine);
    return e ? e->string.get() : nullptr;
}

bool Accounting::Free(const void* handle, ObjectKind kind, const std::string& routine) {
    if (Lookup(handle, kind, routine) == nullptr) {
        return false;
    }
    live_.erase(reinterpret_cast<uintptr_t>(handle));
    return true;
}

std::unique_ptr<Descriptor> Accounting::TakeDescriptor(const void* handle) {
    auto it = live_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == live_.end() || it->second->kind != ObjectKind::Descriptor) {
        return nullptr;
    }
    auto d = std::move(it->second->descriptor);
    live_.erase(it);
    return d;
}

std::optional<ObjectKind> Accounting::KindOf(const void* handle) const {
    auto it = live_.find(reinterpret_cast<uintptr_t>(handle));
    if (it == live_.end()) {
        return std::nullopt;
    }
    return it->second->kind;
}

std::string Accounting::HandleName(const void* handle) const {
    const auto h = reinterpret_cast<uintptr_t>(handle);
    if (h != 0 && IsOurs(h)) {
        return std::string(ShortKind(KindFromHandle(h))) + "#" + std::to_string(SerialFromHandle(h));
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%p", handle);
    return buf;
}

void* Accounting::AllocateBlock(size_t size) {
    if (size > kMaxBlockSize) {
        return nullptr;
    }
    auto storage = std::make_unique<std::byte[]>(size == 0 ? 1 : size);
    void* p = storage.get();
    blocks_.emplace(p, std::move(storage));
    blockSizes_[p] = size;
    return p;
}

bool Accounting::FreeBlock(void* block, const std::string& routine) {
    if (blocks_.erase(block) == 0) {
        AddViolation(routine, "unknown block " + HandleName(block));
        return false;
    }
    blockSizes_.erase(block);
    return true;
}

void* Accounting::ReallocateBlock(void* block, size_t size, const std::string& routine) {
    if (block == nullptr) {
        return AllocateBlock(size);
    }
    auto it = blockSizes_.find(block);
    if (it == blockSizes_.end()) {
        AddViolation(routine, "unknown block " + HandleName(block));
        return nullptr;
    }
    void* moved = AllocateBlock(size);
    if (moved == nullptr) {
        return nullptr; // the old block stays valid, as with realloc
    }
    std::memcpy(moved, block, std::min(size, it->second));
    blocks_.erase(block);
    blockSizes_.erase(block);
    return moved;
}

void Accounting::SuiteAcquired(const std::string& name, int32_t version) {
    ++suites_[{name, version}];
}

bool Accounting::SuiteReleased(const std::string& name, int32_t version, const std::string& routine) {
    auto it = suites_.find({name, version});
    if (it == suites_.end() || it->second <= 0) {
        AddViolation(routine, "released \"" + name + "\" v" + std::to_string(version) + " that was not held");
        return false;
    }
    --it->second;
    return true;
}

void Accounting::AddViolation(const std::string& routine, const std::string& what) {
    violations_.push_back({routine, what});
}

size_t Accounting::LiveCount() const {
    return live_.size() + blocks_.size();
}

std::vector<std::string> Accounting::LiveObjects() const {
    std::vector<std::string> out;
    for (const auto& [h, e] : live_) {
        out.push_back(HandleName(reinterpret_cast<const void*>(h)) + " (" + e->origin + ")");
    }
    for (const auto& [p, size] : blockSizes_) {
        out.push_back("block of " + std::to_string(size) + " bytes");
    }
    return out;
}

std::vector<std::string> Accounting::UnreleasedSuites() const {
    std::vector<std::string> out;
    for (const auto& [key, count] : suites_) {
        if (count != 0) {
            out.push_back("\"" + key.first + "\" v" + std::to_string(key.second) + " (held " +
                          std::to_string(count) + ")");
        }
    }
    return out;
}

bool Accounting::Clean() const {
    return LiveCount() == 0 && violations_.empty() && UnreleasedSuites().empty();
}

std::string Accounting::Report() const {
    std::string r;
    for (const std::string& s : LiveObjects()) {
        r += "live: " + s + "\n";
    }
    for (const Violation& v : violations_) {
        r += "violation: " + v.routine + ": " + v.what + "\n";
    }
    for (const std::string& s : UnreleasedSuites()) {
        r += "suite held: " + s + "\n";
    }
    return r;
}

} // namespace vhost
