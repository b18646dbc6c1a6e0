#include "host/core/CallLog.h"

#include <cstddef>
#include <cstdint>

namespace vhost {

std::pair<uint64_t, uint64_t> CallLog::Tally(const std::string& routine) {
    return {++counts_[routine], ++total_};
}

size_t CallLog::Add(CallRecord record) {
    if (!enabled_) {
        return SIZE_MAX;
    }
    records_.push_back(std::move(record));
    return records_.size() - 1;
}

void CallLog::Finish(size_t position, int32_t result, bool injected) {
    if (position < records_.size()) {
        records_[position].result = result;
        records_[position].injected = injected;
    }
}

uint64_t CallLog::Count(const std::string& routine) const {
    auto it = counts_.find(routine);
    return it == counts_.end() ? 0 : it->second;
}

std::string CallLine(const CallRecord& r) {
    std::string s = r.routine;
    if (!r.detail.empty()) {
        s += " " + r.detail;
    }
    if (r.result != 0) {
        s += " -> " + std::to_string(r.result);
    }
    if (r.injected) {
        s += " (injected)";
    }
    return s;
}

std::vector<std::string> CallLog::Lines() const {
    std::vector<std::string> out;
    for (const CallRecord& r : records_) {
        out.push_back(CallLine(r));
    }
    return out;
}

std::vector<std::string> CallLog::Lines(const std::string& routine) const {
    std::vector<std::string> out;
    for (const CallRecord& r : records_) {
        if (r.routine == routine) {
            out.push_back(CallLine(r));
        }
    }
    return out;
}

void CallLog::Clear() {
    total_ = 0;
    counts_.clear();
    records_.clear();
}

} // namespace vhost
