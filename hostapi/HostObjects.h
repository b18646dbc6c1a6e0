// Move-only owners of host objects. Each frees its object with the suite that
// made it, exactly once, when it goes out of scope; release() hands the object
// on to a new owner (the host, or a caller) instead.
#pragma once

#include "hostapi/HostInterface.h"

namespace vlh {

template <typename Handle, void (*FreeFn)(Handle)>
class HostObject {
public:
    HostObject() noexcept = default;
    explicit HostObject(Handle adopted) noexcept : handle_(adopted) {}
    HostObject(const HostObject&) = delete;
    HostObject& operator=(const HostObject&) = delete;
    HostObject(HostObject&& other) noexcept : handle_(other.release()) {}
    HostObject& operator=(HostObject&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    ~HostObject() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

    // For a getter's out-parameter: frees what is held and lends the slot.
    Handle* out() noexcept {
        reset();
        return &handle_;
    }
    Handle release() noexcept {
        Handle h = handle_;
        handle_ = nullptr;
        return h;
    }
    void reset(Handle adopted = nullptr) noexcept {
        if (handle_ != nullptr) {
            FreeFn(handle_);
        }
        handle_ = adopted;
    }

private:
    Handle handle_ = nullptr;
};

void FreeHostDescriptor(PIActionDescriptor descriptor) noexcept;
void FreeHostReference(PIActionReference reference) noexcept;
void FreeHostList(PIActionList list) noexcept;
void ReleaseHostString(ASZString string) noexcept;

using HostDescriptor = HostObject<PIActionDescriptor, FreeHostDescriptor>;
using HostReference = HostObject<PIActionReference, FreeHostReference>;
using HostList = HostObject<PIActionList, FreeHostList>;
using HostString = HostObject<ASZString, ReleaseHostString>;

} // namespace vlh
