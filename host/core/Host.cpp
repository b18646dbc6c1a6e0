#include "host/core/Host.h"

#include "host/core/ApplicationEvents.h"

#include <stdexcept>

#include "hostapi/FourCharCode.h"

namespace vhost {

using vlh::FourCC;

namespace {

Host* gCurrentHost = nullptr;

constexpr int16_t kErrReferenceNotFound = -25922;

bool IsTargetForm(const ReferenceForm& f) {
    return f.form == form::kEnumerated && f.code == FourCC("Ordn") && f.code2 == FourCC("Trgt");
}

} // namespace

Host::Host() {
    if (gCurrentHost != nullptr) {
        throw std::logic_error("only one vhost::Host may exist at a time");
    }
    gCurrentHost = this;
    InstallApplicationEvents(*this);
}

Host::~Host() {
    if (gCurrentHost == this) {
        gCurrentHost = nullptr;
    }
}

Host* Host::Current() {
    return gCurrentHost;
}

Document& Host::OpenDocument(Document doc) {
    document_ = std::move(doc);
    return *document_;
}

std::optional<Descriptor> Host::ObjectOf(uint32_t classID) {
    return properties_.ObjectOf(classID, app_, ActiveDocument(), terms_);
}

int16_t Host::Get(const Reference& ref, Descriptor& out) {
    const auto& forms = ref.Forms();
    if (forms.empty() || forms.size() > 2 || !IsTargetForm(forms.back())) {
        return kErrReferenceNotFound;
    }
    std::optional<Descriptor> object = ObjectOf(forms.back().desiredClass);
    if (!object) {
        return kErrReferenceNotFound;
    }
    if (forms.size() == 1) {
        out = std::move(*object);
        return 0;
    }
    const ReferenceForm& property = forms.front();
    if (property.form != form::kProperty || property.desiredClass != FourCC("Prpr")) {
        return kErrReferenceNotFound;
    }
    const Value* value = object->Find(property.code);
    if (value == nullptr) {
        return kErrReferenceNotFound;
    }
    out.Clear();
    out.Put(property.code, *value);
    return 0;
}

void Host::AddPlayHandler(uint32_t eventID, PlayHandler handler) {
    playHandlers_[eventID].push_back(std::move(handler));
}

void Host::AddPlayHandler(const std::string& stringID, PlayHandler handler) {
    if (auto id = terms_.ToTypeID(stringID)) {
        AddPlayHandler(*id, std::move(handler));
    } else {
        throw std::invalid_argument("no event ID for \"" + stringID + "\"");
    }
}

void Host::AddFallbackPlayHandler(PlayHandler handler) {
    fallbackHandlers_.push_back(std::move(handler));
}

void Host::ClearPlayHandlers() {
    playHandlers_.clear();
    fallbackHandlers_.clear();
}

PlayAnswer Host::Play(const PlayCall& call) {
    if (auto it = playHandlers_.find(call.eventID); it != playHandlers_.end()) {
        for (PlayHandler& h : it->second) {
            if (auto answer = h(*this, call)) {
                return std::move(*answer);
            }
        }
    }
    for (PlayHandler& h : fallbackHandlers_) {
        if (auto answer = h(*this, call)) {
            return std::move(*answer);
        }
    }
    return {};
}

const Module* Host::LoadModule(const std::string& path, std::string& error, const char* entryName) {
    Module m = Module::Open(path, error, entryName);
    if (!m.Loaded()) {
        return nullptr;
    }
    modules_.push_back(std::make_unique<Module>(std::move(m)));
    return modules_.back().get();
}

PluginRecord& Host::RegisterPlugin(const Module& module, const std::string& name) {
    auto record = std::make_unique<PluginRecord>();
    record->name = name;
    record->modulePath = module.Path();
    record->entry = module.Entry();
    plugins_.push_back(std::move(record));
    return *plugins_.back();
}

PluginRecord* Host::FindPlugin(SPPluginRef ref) {
    for (auto& p : plugins_) {
        if (p->Ref() == ref) {
            return p.get();
        }
    }
    return nullptr;
}

PluginRecord* Host::FindPlugin(const std::string& name) {
    for (auto& p : plugins_) {
        if (p->name == name) {
            return p.get();
        }
    }
    return nullptr;
}

} // namespace vhost
