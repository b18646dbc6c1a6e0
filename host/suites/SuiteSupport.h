// What every suite routine shares: one barrier per routine that counts the
// call, logs it, applies planned faults and turns every exception into a
// status; and small helpers for argument details and handle casts.
// Internal to host/suites.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <new>
#include <string>

#include "host/core/Dump.h"
#include "host/core/Host.h"
#include "hostapi/HostInterface.h"

namespace vhost::suites {

// Statuses the host answers beyond those of HostInterface.h.
constexpr OSErr kEofErr = -39;                // no item at that index
constexpr OSErr kWrongTypeErr = -1703;        // the key holds a value of another type
constexpr OSErr kReferenceNotFound = -25922;  // errReferenceNotFound
constexpr OSErr kUnimplemented16 = -1;        // action-suite routine this host does not offer
constexpr SPErr kPluginNotFound = 0x50214664; // 'P!Fd'

// The status for a call made with no host, or after a host error.
template <typename Status>
constexpr Status FailureStatus() {
    if constexpr (sizeof(Status) == 2) {
        return paramErr;
    } else {
        return kSPBadParameterError;
    }
}

// Runs one routine that returns a status. detail(Host&) gives the argument
// text for the call log (computed only when the log is on); body(Host&) does
// the work.
template <typename Status, typename Detail, typename Body>
Status Run(const char* routine, Detail&& detail, Body&& body) {
    Host* host = Host::Current();
    if (host == nullptr) {
        return FailureStatus<Status>();
    }
    try {
        const auto [routineIndex, overallIndex] = host->Calls().Tally(routine);
        size_t position = SIZE_MAX;
        if (host->Calls().Enabled()) {
            position = host->Calls().Add({routine, detail(*host), routineIndex, overallIndex, 0, false});
        }
        if (auto code = host->FaultPlan().Check(routine, routineIndex, overallIndex)) {
            const auto status = static_cast<Status>(*code);
            host->Calls().Finish(position, status, true);
            return status;
        }
        const Status status = body(*host);
        host->Calls().Finish(position, status, false);
        return status;
    } catch (const std::bad_alloc&) {
        return static_cast<Status>(memFullErr);
    } catch (const std::exception& e) {
        host->Books().AddViolation(routine, std::string("host error: ") + e.what());
    } catch (...) {
        host->Books().AddViolation(routine, "host error: unknown exception");
    }
    return FailureStatus<Status>();
}

// Runs one routine that returns a plain value; a planned fault, a missing
// host or an exception answer `failed` instead.
template <typename T, typename Detail, typename Body>
T RunValue(const char* routine, T failed, Detail&& detail, Body&& body) {
    Host* host = Host::Current();
    if (host == nullptr) {
        return failed;
    }
    try {
        const auto [routineIndex, overallIndex] = host->Calls().Tally(routine);
        size_t position = SIZE_MAX;
        if (host->Calls().Enabled()) {
            position = host->Calls().Add({routine, detail(*host), routineIndex, overallIndex, 0, false});
        }
        if (host->FaultPlan().Check(routine, routineIndex, overallIndex)) {
            host->Calls().Finish(position, 0, true);
            return failed;
        }
        return body(*host);
    } catch (const std::bad_alloc&) {
        return failed;
    } catch (const std::exception& e) {
        host->Books().AddViolation(routine, std::string("host error: ") + e.what());
    } catch (...) {
        host->Books().AddViolation(routine, "host error: unknown exception");
    }
    return failed;
}

inline auto NoDetail() {
    return [](Host&) { return std::string(); };
}

// Argument texts for the call log.
inline std::string H(Host& host, const void* handle) {
    return host.Books().HandleName(handle);
}
inline std::string C(Host& host, uint32_t code) {
    return CodeText(code, &host.Terms());
}
inline std::string S(const char* text) {
    return text ? QuotedText(text) : std::string("null");
}

// A null out-pointer is the module's fault: record it, answer paramErr.
template <typename P>
bool NullOut(Host& host, const char* routine, P* out) {
    if (out == nullptr) {
        host.Books().AddViolation(routine, "null out pointer");
        return true;
    }
    return false;
}

// Bounded length of a C string the module passed (at most limit bytes read).
size_t BoundedLength(const char* text, size_t limit);
constexpr size_t kMaxText = size_t(1) << 24;

// The suite tables, handed out by Basic.AcquireSuite.
const SPBasicSuite& BasicSuiteTable();
const PSActionDescriptorProcs& DescriptorSuiteTable();
const PSActionReferenceProcs& ReferenceSuiteTable();
const PSActionListProcs& ListSuiteTable();
const PSActionControlProcs& ControlSuiteTable();
const ASZStringSuite& ZStringSuiteTable();
const PSUIHooksSuite1& UIHooksSuiteTable();
const PSGetFileListSuite4& FileListSuiteTable();
const SPPluginsSuite4& PluginsSuiteTable();

// Makes a new host string for the module (what GetPluginName, Copy, ... hand
// out); the module releases it.
ASZString NewHostString(Host& host, std::string text, const char* routine);

} // namespace vhost::suites
