#include "actionsets/HostConversion.h"

#include <utility>

#include "hostapi/FourCharCode.h"
#include "hostapi/HostSuites.h"

namespace vlh {

namespace {

// A failed Make hands nothing over: what it may have left in the out slot is
// not the module's to free.
void Check(OSErr code) {
    if (code != noErr) {
        throw HostError(code);
    }
}

// A nested body is always there once read; a hand-built item without one is
// not handed to the host.
const DescriptorBody& NestedBody(const DescriptorItem& item) {
    const auto& object = static_cast<const ObjectItem&>(item);
    if (object.body == nullptr) {
        throw HostError(kUnsupportedValue);
    }
    return *object.body;
}

void PutItem(HostObjectList& list, const DescriptorItem& item, PIActionDescriptor target) {
    const PSActionDescriptorProcs& suite = *gHost.descriptor;
    switch (item.kind) {
    case ItemKind::Boolean: {
        const DescriptorTypeID key = ToTypeID(item.key);
        Check(suite.PutBoolean(target, key, static_cast<const BooleanItem&>(item).value ? 1 : 0));
        break;
    }
    case ItemKind::Double: {
        const DescriptorTypeID key = ToTypeID(item.key);
        Check(suite.PutFloat(target, key, static_cast<const DoubleItem&>(item).value));
        break;
    }
    case ItemKind::Enum: {
        const auto& value = static_cast<const EnumItem&>(item);
        const DescriptorTypeID key = ToTypeID(item.key);
        const DescriptorTypeID type = ToTypeID(value.type);
        const DescriptorTypeID enumValue = ToTypeID(value.value);
        Check(suite.PutEnumerated(target, key, type, enumValue));
        break;
    }
    case ItemKind::Integer: {
        const DescriptorTypeID key = ToTypeID(item.key);
        Check(suite.PutInteger(target, key, static_cast<const IntegerItem&>(item).value));
        break;
    }
    case ItemKind::Reference: {
        const DescriptorTypeID key = ToTypeID(item.key);
        const PIActionReference reference = MakeHostReference(list, static_cast<const ReferenceItem&>(item));
        Check(suite.PutReference(target, key, reference));
        break;
    }
    case ItemKind::Object: {
        const DescriptorBody& body = NestedBody(item);
        const DescriptorTypeID key = ToTypeID(item.key);
        const DescriptorTypeID classID = ToTypeID(body.classID);
        const PIActionDescriptor nested = MakeHostDescriptor(list, body);
        Check(suite.PutObject(target, key, classID, nested));
        break;
    }
    case ItemKind::Text: {
        const DescriptorTypeID key = ToTypeID(item.key);
        Check(suite.PutString(target, key, static_cast<const TextItem&>(item).text.c_str()));
        break;
    }
    case ItemKind::Class: {
        const DescriptorTypeID key = ToTypeID(item.key);
        const DescriptorTypeID classID = ToTypeID(static_cast<const ClassItem&>(item).classID);
        Check(suite.PutClass(target, key, classID));
        break;
    }
    case ItemKind::UnitDouble: {
        const auto& value = static_cast<const UnitDoubleItem&>(item);
        const DescriptorTypeID key = ToTypeID(item.key);
        const DescriptorTypeID unit = ToTypeID(value.unit);
        Check(suite.PutUnitFloat(target, key, unit, value.value));
        break;
    }
    case ItemKind::List:
        PutHostList(list, static_cast<const ListItem&>(item), target);
        break;
    case ItemKind::Alias:
        throw HostError(kUnsupportedValue);
    }
}

void PutElement(HostObjectList& list, const DescriptorItem& element, PIActionList target) {
    const PSActionListProcs& suite = *gHost.list;
    switch (element.kind) {
    case ItemKind::Integer:
        Check(suite.PutInteger(target, static_cast<const IntegerItem&>(element).value));
        break;
    case ItemKind::Reference:
        Check(
            suite.PutReference(target, MakeHostReference(list, static_cast<const ReferenceItem&>(element))));
        break;
    case ItemKind::Object: {
        const DescriptorBody& body = NestedBody(element);
        const DescriptorTypeID classID = ToTypeID(body.classID);
        const PIActionDescriptor nested = MakeHostDescriptor(list, body);
        Check(suite.PutObject(target, classID, nested));
        break;
    }
    case ItemKind::Text:
        Check(suite.PutString(target, static_cast<const TextItem&>(element).text.c_str()));
        break;
    default:
        throw HostError(kUnsupportedValue);
    }
}

void PutForm(const ReferenceForm& form, PIActionReference target) {
    const PSActionReferenceProcs& suite = *gHost.reference;
    const DescriptorTypeID classID = ToTypeID(form.classID);
    switch (form.kind) {
    case FormKind::Class:
        Check(suite.PutClass(target, classID));
        break;
    case FormKind::Enum: {
        const auto& enumForm = static_cast<const EnumForm&>(form);
        const DescriptorTypeID type = ToTypeID(enumForm.type);
        const DescriptorTypeID value = ToTypeID(enumForm.value);
        Check(suite.PutEnumerated(target, classID, type, value));
        break;
    }
    case FormKind::Index:
        Check(suite.PutIndex(target, classID, uint32_t(static_cast<const IndexForm&>(form).index)));
        break;
    case FormKind::Name:
        Check(suite.PutName(target, classID, static_cast<const NameForm&>(form).name.c_str()));
        break;
    case FormKind::Property:
        Check(suite.PutProperty(target, classID, ToTypeID(static_cast<const PropertyForm&>(form).key)));
        break;
    }
}

} // namespace

HostObjectTriple::~HostObjectTriple() {
    descriptor.reset();
    reference.reset();
    list.reset();
}

HostObjectTriple& HostObjectList::Append() {
    triples_.push_back(std::make_unique<HostObjectTriple>());
    return *triples_.back();
}

// The owner passed in frees the object if the list cannot grow.
PIActionDescriptor HostObjectList::Adopt(HostDescriptor descriptor) {
    HostObjectTriple& triple = Append();
    triple.descriptor = std::move(descriptor);
    return triple.descriptor.get();
}

PIActionReference HostObjectList::Adopt(HostReference reference) {
    HostObjectTriple& triple = Append();
    triple.reference = std::move(reference);
    return triple.reference.get();
}

PIActionList HostObjectList::Adopt(HostList list) {
    HostObjectTriple& triple = Append();
    triple.list = std::move(list);
    return triple.list.get();
}

void HostObjectList::ReleaseAll() noexcept {
    for (std::unique_ptr<HostObjectTriple>& triple : triples_) {
        triple.reset();
    }
    triples_.clear();
}

DescriptorTypeID ToTypeID(const std::string& id) {
    if (id.size() == 4) {
        return FourCCFromBytes(id.data());
    }
    DescriptorTypeID typeID = 0;
    gHost.control->StringIDToTypeID(id.c_str(), &typeID);
    return typeID;
}

PIActionDescriptor MakeHostDescriptor(HostObjectList& list, const DescriptorBody& body) {
    PIActionDescriptor made = nullptr;
    Check(gHost.descriptor->Make(&made));
    const PIActionDescriptor descriptor = list.Adopt(HostDescriptor(made));
    for (const std::unique_ptr<DescriptorItem>& item : body.items) {
        PutItem(list, *item, descriptor);
    }
    return descriptor;
}

PIActionReference MakeHostReference(HostObjectList& list, const ReferenceItem& item) {
    PIActionReference made = nullptr;
    Check(gHost.reference->Make(&made));
    const PIActionReference reference = list.Adopt(HostReference(made));
    for (const std::unique_ptr<ReferenceForm>& form : item.forms) {
        PutForm(*form, reference);
    }
    return reference;
}

void PutHostList(HostObjectList& list, const ListItem& item, PIActionDescriptor target) {
    PIActionList made = nullptr;
    Check(gHost.list->Make(&made));
    const PIActionList hostList = list.Adopt(HostList(made));
    for (const std::unique_ptr<DescriptorItem>& element : item.elements) {
        PutElement(list, *element, hostList);
    }
    Check(gHost.descriptor->PutList(target, ToTypeID(item.key), hostList));
}

} // namespace vlh
