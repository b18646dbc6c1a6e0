#include "actionsets/ActionSet.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <utility>

#include "hostapi/FourCharCode.h"

namespace vlh {

namespace {

// The fewest stream bytes an Effect and an event can take (every text empty,
// no descriptor), so that a count the rest of the stream cannot hold fails
// before anything is read.
constexpr uint64_t kMinEffectBytes = 2 + 1 + 1 + 2 + 4 + 1 + 4;
constexpr uint64_t kMinEventBytes = 4 + 4 + 4 + 4 + 4;

constexpr int32_t kDescriptorFollows = -1;
constexpr int32_t kNoDescriptor = 0;

// A name longer than four characters that ends in a full stop and the letters
// A, T, N in either case loses that extension.
void RemoveSetExtension(std::string& name) {
    const size_t n = name.size();
    if (n <= 4 || name[n - 4] != '.') {
        return;
    }
    auto is = [](char c, char upper) { return c == upper || c == char(upper - 'A' + 'a'); };
    if (is(name[n - 3], 'A') && is(name[n - 2], 'T') && is(name[n - 1], 'N')) {
        name.resize(n - 4);
    }
}

bool ReadEvent(ActionEvent& event, StoredStreamReader& reader) {
    event.expanded = reader.ReadByte() != 0;
    event.enabled = reader.ReadByte() != 0;
    event.withDialog = reader.ReadByte() != 0;
    event.dialogOptions = reader.ReadByte();
    const uint64_t kindAt = reader.PlainOffset();
    const uint32_t kind = reader.ReadCode();
    if (kind != FourCC("TEXT")) {
        reader.NoteFaultAt("event identifier kind '" + FourCCText(kind) + "' is not 'TEXT'", kindAt);
        return false;
    }
    event.eventName = reader.ReadByteText();
    event.displayName = reader.ReadByteText();
    const uint64_t flagAt = reader.PlainOffset();
    const int32_t flag = reader.ReadInt32();
    if (flag == kNoDescriptor) {
        return true;
    }
    if (flag != kDescriptorFollows) {
        reader.NoteFaultAt("descriptor flag " + std::to_string(flag) + " is neither -1 nor 0", flagAt);
        return false;
    }
    event.descriptor = std::make_unique<DescriptorBody>();
    return ReadDescriptorBody(*event.descriptor, reader);
}

bool ReadEffect(Effect& effect, StoredStreamReader& reader) {
    effect.functionKeyIndex = reader.ReadInt16();
    effect.shift = reader.ReadByte() != 0;
    effect.command = reader.ReadByte() != 0;
    effect.colourIndex = reader.ReadInt16();
    effect.name = reader.ReadUnicodeText();
    effect.expanded = reader.ReadByte() != 0;
    const int32_t count = reader.ReadInt32();
    reader.CheckCount(count, kMinEventBytes, "an event count beyond the rest of the stream");
    for (int32_t i = 0; i < count; ++i) {
        // Appended before it is read, so a failed read leaves nothing unowned.
        effect.events.push_back(std::make_unique<ActionEvent>());
        if (!ReadEvent(*effect.events.back(), reader)) {
            return false;
        }
    }
    return true;
}

bool ReadSet(ActionSet& set, StoredStreamReader& reader) {
    const int32_t version = reader.ReadInt32();
    if (version != kActionSetVersion) {
        reader.NoteFaultAt("version " + std::to_string(version) + " is not 16", 0);
        return false;
    }
    set.name = reader.ReadUnicodeText();
    RemoveSetExtension(set.name);
    set.expanded = reader.ReadByte() != 0;
    const int32_t count = reader.ReadInt32();
    reader.CheckCount(count, kMinEffectBytes, "an Effect count beyond the rest of the stream");
    for (int32_t i = 0; i < count; ++i) {
        set.effects.push_back(std::make_unique<Effect>());
        if (!ReadEffect(*set.effects.back(), reader)) {
            return false;
        }
    }
    return true;
}

void Report(LoadDiagnostics* diagnostics, const StoredStreamReader& reader, const char* fallback) {
    if (diagnostics == nullptr) {
        return;
    }
    if (const ReadFault* fault = reader.Fault()) {
        diagnostics->what = fault->what;
        diagnostics->plainOffset = fault->plainOffset;
        diagnostics->storedOffset = fault->storedOffset;
    } else {
        diagnostics->what = fallback;
        diagnostics->plainOffset = reader.PlainOffset();
        diagnostics->storedOffset = reader.StoredOffset();
    }
}

} // namespace

bool LoadActionSet(ActionSet& set, const uint8_t* source, size_t size, LoadDiagnostics* diagnostics) {
    if (set.reader != nullptr) {
        if (diagnostics != nullptr) {
            *diagnostics = {"the Set has been loaded before", 0, 0};
        }
        return false;
    }
    try {
        set.reader = std::make_unique<StoredStreamReader>();
    } catch (...) {
        return false;
    }
    StoredStreamReader& reader = *set.reader;
    if (!reader.Open(source, size)) {
        if (diagnostics != nullptr) {
            *diagnostics = {"the inflater cannot be initialised", 0, 0};
        }
        return false;
    }
    bool complete = false;
    try {
        complete = ReadSet(set, reader);
        Report(diagnostics, reader, "the Set cannot be read");
    } catch (const std::bad_alloc&) {
        reader.NoteFault("out of memory");
        Report(diagnostics, reader, "out of memory");
    } catch (...) {
        Report(diagnostics, reader, "the Set cannot be read");
    }
    if (complete && diagnostics != nullptr) {
        *diagnostics = {{}, reader.PlainOffset(), reader.StoredOffset()};
    }
    reader.Close();
    return complete;
}

void AppendEffects(ActionSet& target, ActionSet& donor) {
    target.effects.insert(target.effects.end(), std::make_move_iterator(donor.effects.begin()),
                          std::make_move_iterator(donor.effects.end()));
    donor.effects.clear();
}

void MergeEqualSets(ActionSetList& sets) {
    for (size_t i = 0; i < sets.size(); ++i) {
        size_t j = i + 1;
        while (j < sets.size()) {
            if (sets[j]->name == sets[i]->name) {
                AppendEffects(*sets[i], *sets[j]);
                sets.erase(sets.begin() + std::ptrdiff_t(j)); // the next Set moves into place j
            } else {
                ++j;
            }
        }
    }
}

ActionSet* FindSet(const ActionSetList& sets, std::string_view name) {
    for (const std::unique_ptr<ActionSet>& set : sets) {
        if (set->name == name) {
            return set.get();
        }
    }
    return nullptr;
}

Effect* FindEffect(const ActionSet& set, std::string_view name) {
    for (const std::unique_ptr<Effect>& effect : set.effects) {
        if (effect->name == name) {
            return effect.get();
        }
    }
    return nullptr;
}

} // namespace vlh
