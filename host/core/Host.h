// The host: application and document state, terminology, the objects lent to
// the module and their accounting, planned faults, the call and event logs,
// Play handlers, and the loaded modules with their plug-ins.
//
// The suite routines the module calls are plain C functions; they reach the
// host through one current-host pointer, Host::Current(), which a Host sets
// when it is made and clears when it is destroyed. Only one Host may exist at
// a time (making a second throws std::logic_error). A routine called with no
// Host answers an error and does nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/core/Accounting.h"
#include "host/core/AppState.h"
#include "host/core/CallLog.h"
#include "host/core/Document.h"
#include "host/core/EventLog.h"
#include "host/core/Faults.h"
#include "host/core/ObjectModel.h"
#include "host/core/Properties.h"
#include "host/core/Terminology.h"
#include "host/loader/Module.h"
#include "host/loader/PluginRecord.h"
#include "host/loader/Requests.h"
#include "hostapi/HostInterface.h"

namespace vhost {

class Host;

// One Play as a handler sees it.
struct PlayCall {
    uint32_t eventID = 0;
    std::string stringID;                   // the event's string ID, empty when the host knows none
    const Descriptor* descriptor = nullptr; // null when the module passed none
    int32_t options = 0;                    // dialog option
};

// A handler's answer: its status and, optionally, a result descriptor that the
// module receives (and must free).
struct PlayAnswer {
    int16_t result = 0;
    std::optional<Descriptor> reply;
};

// Returns std::nullopt to let the next handler (or the default: success with
// no result) answer.
using PlayHandler = std::function<std::optional<PlayAnswer>(Host&, const PlayCall&)>;

// Called around the procedure of SuspendHistory: before it runs, and after it
// with its 32-bit result (the engine snapshots the document and restores it
// when the result is not 0).
struct HistoryHooks {
    std::function<void(Host&)> before;
    std::function<void(Host&, int32_t procResult)> after;
};

class Host {
public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The Host that suite routines act on, or nullptr.
    static Host* Current();

    // ---- state -------------------------------------------------------------
    AppState& App() { return app_; }
    // The active document or nullptr.
    Document* ActiveDocument() { return document_ ? &*document_ : nullptr; }
    // Makes doc the active document (replacing any) and returns it.
    Document& OpenDocument(Document doc = {});
    void CloseDocument() { document_.reset(); }
    Terminology& Terms() { return terms_; }

    // ---- Get answers ('capp', 'Dcmn'; see Properties.h) ----------------------
    // Puts any value of any type in place of (or beside) the host's own
    // property value of class 'capp' or 'Dcmn' (or of any other class, which
    // then answers Get with just its overrides).
    void OverrideProperty(uint32_t classID, uint32_t key, Value v) {
        properties_.Override(classID, key, std::move(v));
    }
    // Takes a property away: Get asking for it fails with errReferenceNotFound.
    void RemoveProperty(uint32_t classID, uint32_t key) { properties_.Remove(classID, key); }
    void ClearPropertyOverrides() { properties_.Clear(); }
    // What Get answers for the whole object of a class; std::nullopt when
    // there is none.
    std::optional<Descriptor> ObjectOf(uint32_t classID);
    // Answers a Get reference: [property 'Prpr' key] + [enumerated class
    // 'Ordn' 'Trgt'], or the enumerated form alone (whole object). Returns 0
    // and fills out, or errReferenceNotFound (-25922) for another shape, an
    // absent object or an absent property.
    int16_t Get(const Reference& ref, Descriptor& out);

    // ---- Play ----------------------------------------------------------------
    // Handlers for one event ID, consulted in the order added; then the
    // fallback handlers; with no answer Play succeeds with no result.
    void AddPlayHandler(uint32_t eventID, PlayHandler handler);
    void AddPlayHandler(const std::string& stringID, PlayHandler handler);
    void AddFallbackPlayHandler(PlayHandler handler);
    void ClearPlayHandlers();
    // Runs the handlers for one call (what Control.Play does after checking
    // and recording it).
    PlayAnswer Play(const PlayCall& call);

    // ---- SuspendHistory ---------------------------------------------------------
    void SetHistoryHooks(HistoryHooks hooks) { historyHooks_ = std::move(hooks); }
    const HistoryHooks& GetHistoryHooks() const { return historyHooks_; }

    // ---- bookkeeping -------------------------------------------------------------
    Accounting& Books() { return books_; }
    Faults& FaultPlan() { return faults_; }
    CallLog& Calls() { return calls_; }
    EventLog& Events() { return events_; }
    // True when no object, block or suite is held and no violation happened.
    bool Clean() const { return books_.Clean(); }
    // Empty when Clean(); else one line per finding.
    std::string Report() const { return books_.Report(); }

    // ---- modules and plug-ins -----------------------------------------------------
    // Loads a module file (kept loaded for the life of the Host) and looks up
    // its entry point. nullptr and error filled on failure.
    const Module* LoadModule(const std::string& path, std::string& error,
                             const char* entryName = "PluginMain");
    // Registers a plug-in answered by a loaded module under its menu name
    // ("Vellicor Capture Honer..."). The record lives as long as the Host.
    PluginRecord& RegisterPlugin(const Module& module, const std::string& name);
    // The record behind a plug-in reference, or nullptr for anything else
    // (never dereferenced).
    PluginRecord* FindPlugin(SPPluginRef ref);
    PluginRecord* FindPlugin(const std::string& name);

    // ---- requests -------------------------------------------------------------------
    // The basic suite handed in with every message.
    SPBasicSuite* BasicSuite();
    // Sends caller/selector with the plain message record (SPAccessMessage for
    // "SP Access", with `when` 1 for "Reload" and 2 for "Unload"); returns what
    // PluginMain returned.
    SPErr SendRequest(PluginRecord& plugin, const char* caller, const char* selector);
    // The about request ("SP Interface" / "About").
    SPErr About(PluginRecord& plugin) {
        return SendRequest(plugin, kSPInterfaceCaller, kSPInterfaceAboutSelector);
    }
    // A "Do It" request. Afterwards the host takes back what the module left
    // in the parameters' descriptor (and the input, if the module replaced it
    // without freeing it); a handle there that is not a live descriptor is a
    // violation.
    DoItResult DoIt(PluginRecord& plugin, const DoItRequest& request);

private:
    SPErr CallEntry(PluginRecord& plugin, const char* caller, const char* selector, void* message);
    SPMessageData MessageData(PluginRecord& plugin);

    AppState app_;
    std::optional<Document> document_;
    Terminology terms_;
    Properties properties_;
    std::map<uint32_t, std::vector<PlayHandler>> playHandlers_;
    std::vector<PlayHandler> fallbackHandlers_;
    HistoryHooks historyHooks_;
    Accounting books_;
    Faults faults_;
    CallLog calls_;
    EventLog events_;
    std::vector<std::unique_ptr<Module>> modules_;
    std::vector<std::unique_ptr<PluginRecord>> plugins_;
};

} // namespace vhost
