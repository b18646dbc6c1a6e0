#include "host/core/EventLog.h"

#include "host/core/Dump.h"

namespace vhost {

namespace {

std::string EventName(const PlayRecord& r) {
    return r.stringID.empty() ? CodeText(r.eventID) : r.stringID;
}

} // namespace

void EventLog::RecordPlay(PlayRecord r) {
    std::string line = "play " + EventName(r) + " options=" + std::to_string(r.options);
    if (r.descriptor) {
        line += " " + r.dump;
    }
    if (r.result != 0) {
        line += " -> " + std::to_string(r.result);
    }
    lines_.push_back(std::move(line));
    plays_.push_back(std::move(r));
}

void EventLog::RecordHistory(HistoryRecord r) {
    lines_.push_back("history " + QuotedText(r.name) + (r.onDocument ? " on document" : " on application") +
                     " (result " + std::to_string(r.procResult) + ")");
    histories_.push_back(std::move(r));
}

std::vector<std::string> EventLog::PlayedEvents() const {
    std::vector<std::string> out;
    for (const PlayRecord& r : plays_) {
        out.push_back(EventName(r));
    }
    return out;
}

std::vector<std::string> EventLog::Lines() const {
    return lines_;
}

void EventLog::Clear() {
    plays_.clear();
    histories_.clear();
    lines_.clear();
}

} // namespace vhost
