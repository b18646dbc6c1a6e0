#include "host/core/Faults.h"

namespace vhost {

void Faults::FailOnCall(const std::string& routine, uint64_t n, int32_t code) {
    onCall_[{routine, n}] = code;
}

void Faults::FailEveryCall(const std::string& routine, int32_t code) {
    always_[routine] = code;
}

void Faults::FailNthHostCall(uint64_t n, int32_t code) {
    overall_[n] = code;
}

void Faults::Clear() {
    onCall_.clear();
    always_.clear();
    overall_.clear();
}

std::optional<int32_t> Faults::Check(const std::string& routine, uint64_t routineIndex,
                                     uint64_t overallIndex) {
    std::optional<int32_t> code;
    if (auto it = onCall_.find({routine, routineIndex}); it != onCall_.end()) {
        code = it->second;
    } else if (auto a = always_.find(routine); a != always_.end()) {
        code = a->second;
    } else if (auto o = overall_.find(overallIndex); o != overall_.end()) {
        code = o->second;
    }
    if (code) {
        fired_.push_back(routine + " #" + std::to_string(routineIndex));
    }
    return code;
}

} // namespace vhost
