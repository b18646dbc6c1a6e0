// What the module asked the host to do: every Play (event, dialog option,
// descriptor) and every SuspendHistory (the history state it made), in order.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/core/ObjectModel.h"

namespace vhost {

struct PlayRecord {
    uint32_t eventID = 0;
    std::string stringID;                 // the event's string ID when the host knows one, else empty
    int32_t options = 0;                  // the dialog option the module passed
    std::optional<Descriptor> descriptor; // a copy of what was played; empty when none was passed
    std::string dump;                     // readable descriptor ("" when none)
    int16_t result = 0;                   // what Play answered
};

struct HistoryRecord {
    std::string name;       // the history state's name (the module's host string)
    bool onDocument = true; // false: there was no document; the state went to the application
    int32_t procResult = 0; // the procedure's full 32-bit result
    bool added = false;     // a state was added (the procedure returned 0)
};

class EventLog {
public:
    void RecordPlay(PlayRecord r);
    void RecordHistory(HistoryRecord r);

    const std::vector<PlayRecord>& Plays() const { return plays_; }
    const std::vector<HistoryRecord>& Histories() const { return histories_; }
    // The string IDs (or codes) of the played events, in order.
    std::vector<std::string> PlayedEvents() const;
    // One line per entry, in the order they happened:
    //   play unsharpMask options=2 {'Amnt': 120 '#Prc', 'Rds ': 1 '#Pxl', 'Thsh': 0}
    //   history "Soft Focus" on document (result 0)
    std::vector<std::string> Lines() const;
    void Clear();

private:
    std::vector<PlayRecord> plays_;
    std::vector<HistoryRecord> histories_;
    std::vector<std::string> lines_;
};

} // namespace vhost
