// Planned failures. A routine can be told to fail on its n-th call (1-based,
// counted per routine from the host's start or the last CallLog::Clear), on
// every call, or the n-th host call overall can be told to fail, each with a
// chosen code. A failing call does none of its work and returns the code: an
// action-suite routine returns it narrowed to 16 bits, so choose a code that
// fits (e.g. -25920); routines without a status (IsEqual, GetEmpty, the
// Length* routines, MainAppWindow, TickCount, testAbort, ...) answer 0, false
// or null instead.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vhost {

class Faults {
public:
    // Fail the n-th call of routine ("Descriptor.PutString") with code.
    void FailOnCall(const std::string& routine, uint64_t n, int32_t code);
    // Fail every call of routine from now on.
    void FailEveryCall(const std::string& routine, int32_t code);
    // Fail the n-th host call overall, whatever its routine.
    void FailNthHostCall(uint64_t n, int32_t code);
    // Forget every plan (what already fired stays in Fired()).
    void Clear();

    // Asked by every routine with its indices; the code to fail with, if any.
    std::optional<int32_t> Check(const std::string& routine, uint64_t routineIndex, uint64_t overallIndex);

    // Faults that fired, as "routine #n".
    const std::vector<std::string>& Fired() const { return fired_; }

private:
    std::map<std::pair<std::string, uint64_t>, int32_t> onCall_;
    std::map<std::string, int32_t> always_;
    std::map<uint64_t, int32_t> overall_;
    std::vector<std::string> fired_;
};

} // namespace vhost
