// Every suite routine call the module makes, counted per routine and overall
// (both 1-based), and, when enabled, logged with a short readable detail of its
// arguments and its result, e.g.
//   Reference.PutEnumerated ref#2 class='Dcmn' type='Ordn' value='Trgt'
// Routine names are "<Suite>.<Routine>": Basic.AcquireSuite,
// Descriptor.PutString, Control.Play, ZString.AsCString, UIHooks.GetPluginName,
// FileList.BrowseUrl, Plugins.GetPluginFileSpecification, ...
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vhost {

struct CallRecord {
    std::string routine;
    std::string detail;
    uint64_t routineIndex = 0; // this routine's n-th call
    uint64_t overallIndex = 0; // the n-th host call of any routine
    int32_t result = 0;        // status the routine returned (0 for routines without one)
    bool injected = false;     // the result came from a planned fault
};

class CallLog {
public:
    // Logging records details; counting always happens.
    void Enable(bool on) { enabled_ = on; }
    bool Enabled() const { return enabled_; }

    // Counts a call; returns {routine index, overall index}, both 1-based.
    std::pair<uint64_t, uint64_t> Tally(const std::string& routine);
    // Appends a record (only when enabled); returns its position or SIZE_MAX.
    size_t Add(CallRecord record);
    // Sets the result of a record added before.
    void Finish(size_t position, int32_t result, bool injected);

    uint64_t Count(const std::string& routine) const; // calls so far
    uint64_t Total() const { return total_; }
    const std::map<std::string, uint64_t>& Counts() const { return counts_; }
    const std::vector<CallRecord>& Records() const { return records_; }
    // "routine detail", with " -> code" appended for a non-zero result and
    // " (injected)" for a planned fault.
    std::vector<std::string> Lines() const;
    // Lines of the records of one routine only.
    std::vector<std::string> Lines(const std::string& routine) const;
    void Clear();

private:
    bool enabled_ = false;
    uint64_t total_ = 0;
    std::map<std::string, uint64_t> counts_;
    std::vector<CallRecord> records_;
};

std::string CallLine(const CallRecord& r);

} // namespace vhost
