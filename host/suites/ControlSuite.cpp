// The action control suite: Play through the host's handler table, Get over
// the application and document objects, the terminology, and SuspendHistory.
//
// SuspendHistory returns the procedure's 32-bit result narrowed to 16 bits:
// a value inside the 16-bit range passes unchanged; any other value becomes
// kProcResultOutOfRange (-1), so a failure can never read as success. The
// event log keeps the full 32-bit value.
#include <climits>
#include <cstring>

#include "host/suites/SuiteSupport.h"

namespace vhost::suites {

namespace {

constexpr OSErr kProcResultOutOfRange = -1;

OSErr NarrowProcResult(int32_t r) {
    return r >= SHRT_MIN && r <= SHRT_MAX ? static_cast<OSErr>(r) : kProcResultOutOfRange;
}

std::string EventText(Host& h, DescriptorEventID event) {
    if (auto s = h.Terms().ToStringID(event)) {
        return *s;
    }
    return C(h, event);
}

OSErr VLH_API Play(PIActionDescriptor* result, DescriptorEventID event, PIActionDescriptor descriptor,
                   PIDialogPlayOptions options) {
    constexpr const char* kRoutine = "Control.Play";
    return Run<OSErr>(
        kRoutine,
        [&](Host& h) {
            return EventText(h, event) + " " + (descriptor ? H(h, descriptor) : std::string("none")) +
                   " options=" + std::to_string(options);
        },
        [&](Host& h) -> OSErr {
            if (result != nullptr) {
                *result = nullptr;
            }
            const Descriptor* d = nullptr;
            if (descriptor != nullptr) {
                d = h.Books().FindDescriptor(descriptor, kRoutine);
                if (d == nullptr) {
                    return paramErr;
                }
            }
            PlayRecord record;
            record.eventID = event;
            record.stringID = h.Terms().ToStringID(event).value_or("");
            record.options = options;
            if (d != nullptr) {
                record.descriptor = *d;
                record.dump = DumpDescriptor(*d, &h.Terms());
            }
            PlayCall call{event, record.stringID, record.descriptor ? &*record.descriptor : nullptr, options};
            PlayAnswer answer = h.Play(call);
            record.result = answer.result;
            h.Events().RecordPlay(std::move(record));
            if (answer.reply && result != nullptr) {
                *result = static_cast<PIActionDescriptor>(
                    h.Books().Register(std::make_unique<Descriptor>(std::move(*answer.reply)), kRoutine));
            }
            return answer.result;
        });
}

OSErr VLH_API Get(PIActionDescriptor* result, PIActionReference reference) {
    constexpr const char* kRoutine = "Control.Get";
    return Run<OSErr>(
        kRoutine,
        [&](Host& h) {
            const auto kind = h.Books().KindOf(reference);
            if (kind == ObjectKind::Reference) {
                return DumpReference(*h.Books().FindReference(reference, kRoutine), &h.Terms());
            }
            return H(h, reference);
        },
        [&](Host& h) -> OSErr {
            if (NullOut(h, kRoutine, result)) {
                return paramErr;
            }
            *result = nullptr;
            const Reference* ref = h.Books().FindReference(reference, kRoutine);
            if (ref == nullptr) {
                return paramErr;
            }
            auto answer = std::make_unique<Descriptor>();
            const int16_t status = h.Get(*ref, *answer);
            if (status != 0) {
                return status;
            }
            *result = static_cast<PIActionDescriptor>(h.Books().Register(std::move(answer), kRoutine));
            return noErr;
        });
}

OSErr VLH_API StringIDToTypeID(const char* stringID, DescriptorTypeID* typeID) {
    constexpr const char* kRoutine = "Control.StringIDToTypeID";
    return Run<OSErr>(
        kRoutine, [&](Host&) { return S(stringID); },
        [&](Host& h) -> OSErr {
            if (stringID == nullptr || NullOut(h, kRoutine, typeID)) {
                return paramErr;
            }
            const size_t n = BoundedLength(stringID, kMaxText);
            auto id = h.Terms().ToTypeID(std::string(stringID, n));
            if (!id) {
                return paramErr;
            }
            *typeID = *id;
            return noErr;
        });
}

// The string and its NUL must fit maxLength; otherwise paramErr and the
// buffer is left alone.
OSErr VLH_API TypeIDToStringID(DescriptorTypeID typeID, char* text, uint32_t maxLength) {
    constexpr const char* kRoutine = "Control.TypeIDToStringID";
    return Run<OSErr>(
        kRoutine, [&](Host& h) { return C(h, typeID); },
        [&](Host& h) -> OSErr {
            if (NullOut(h, kRoutine, text)) {
                return paramErr;
            }
            auto s = h.Terms().ToStringID(typeID);
            if (!s || s->size() + 1 > maxLength) {
                return paramErr;
            }
            std::memcpy(text, s->c_str(), s->size() + 1);
            return noErr;
        });
}

OSErr VLH_API AddNotify(SPPluginRef, DescriptorEventID, PIEventNotifier, void*) {
    return Run<OSErr>("Control.AddNotify", NoDetail(), [](Host&) { return kUnimplemented16; });
}

OSErr VLH_API RemoveNotify(SPPluginRef, DescriptorEventID) {
    return Run<OSErr>("Control.RemoveNotify", NoDetail(), [](Host&) { return kUnimplemented16; });
}

int32_t CallProcedure(Host& h, PISuspendProc proc, void* procData) {
    try {
        return proc(procData);
    } catch (...) {
        h.Books().AddViolation("Control.SuspendHistory", "an exception escaped the history procedure");
        return kProcResultOutOfRange;
    }
}

OSErr VLH_API SuspendHistory(PIActionReference reference, PISuspendProc proc, void* procData,
                             ASZString historyName) {
    constexpr const char* kRoutine = "Control.SuspendHistory";
    return Run<OSErr>(
        kRoutine, [&](Host& h) { return H(h, reference) + " " + H(h, historyName); },
        [&](Host& h) -> OSErr {
            const Reference* ref = h.Books().FindReference(reference, kRoutine);
            const HostString* name = h.Books().FindString(historyName, kRoutine);
            if (ref == nullptr || name == nullptr || proc == nullptr) {
                return paramErr;
            }
            HistoryRecord record;
            record.name = name->text; // copied: the procedure may not touch it, but need not be trusted
            record.onDocument = h.ActiveDocument() != nullptr;
            if (h.GetHistoryHooks().before) {
                h.GetHistoryHooks().before(h);
            }
            record.procResult = CallProcedure(h, proc, procData);
            if (h.GetHistoryHooks().after) {
                h.GetHistoryHooks().after(h, record.procResult);
            }
            if (record.procResult == 0) {
                // The document may have been closed by the procedure's events.
                Document* doc = h.ActiveDocument();
                (doc ? doc->history : h.App().history).push_back(record.name);
                record.onDocument = doc != nullptr;
                record.added = true;
            }
            const OSErr status = NarrowProcResult(record.procResult);
            h.Events().RecordHistory(std::move(record));
            return status;
        });
}

OSErr VLH_API MakeStringAlias(const char*, const char*) {
    return Run<OSErr>("Control.MakeStringAlias", NoDetail(), [](Host&) { return kUnimplemented16; });
}

const PSActionControlProcs kControlSuite = {
    Play, Get, StringIDToTypeID, TypeIDToStringID, AddNotify, RemoveNotify, SuspendHistory, MakeStringAlias,
};

} // namespace

const PSActionControlProcs& ControlSuiteTable() {
    return kControlSuite;
}

} // namespace vhost::suites
