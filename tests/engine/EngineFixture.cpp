#include "EngineFixture.h"

#include "host/engine/DocumentFiles.h"
#include "host/engine/EventTerms.h"

namespace vhost::engine::test {

void EngineFixture::SetUp() {
    SuiteFixture::SetUp();
    notes = InstallEngine(host);
}

Document& EngineFixture::OpenDocumentOf(const vips::VImage& image) {
    return host.OpenDocument(DocumentFromPicture(OpenPicture(image, "memory"), ""));
}

OSErr EngineFixture::Play(const std::string& stringID, const std::optional<Descriptor>& descriptor) {
    DescriptorTypeID event = 0;
    EXPECT_EQ(0, c->StringIDToTypeID(stringID.c_str(), &event));
    PIActionDescriptor handle = nullptr;
    if (descriptor) {
        handle = static_cast<PIActionDescriptor>(
            host.Books().Register(std::make_unique<Descriptor>(*descriptor), "test"));
    }
    PIActionDescriptor result = nullptr;
    const OSErr status = c->Play(&result, event, handle, plugInDialogSilent);
    if (handle != nullptr) {
        EXPECT_EQ(0, d->Free(handle));
    }
    if (result != nullptr) {
        EXPECT_EQ(0, d->Free(result));
    }
    return status;
}

Reference TargetLayer() {
    Reference r;
    r.Append(ReferenceForm{form::kEnumerated, terms::kLayer, terms::kOrdinal, terms::kTargetEnum, 0, 0, ""});
    return r;
}

Reference LayerNamed(const std::string& name) {
    Reference r;
    r.Append(ReferenceForm{form::kName, terms::kLayer, 0, 0, 0, 0, name});
    return r;
}

Reference LayerStep(const char (&ordinal)[5]) {
    Reference r;
    r.Append(ReferenceForm{form::kEnumerated, terms::kLayer, terms::kOrdinal, FourCC(ordinal), 0, 0, ""});
    return r;
}

Descriptor Keys(std::initializer_list<std::pair<const char*, Value>> items) {
    Descriptor d;
    for (const auto& [key, value] : items) {
        d.Put(vlh::FourCCFromBytes(key), value);
    }
    return d;
}

Value Percent(double v) {
    return Value::UnitFloat(terms::kPercent, v);
}
Value Px(double v) {
    return Value::UnitFloat(terms::kPixels, v);
}
Value Mode(const char (&code)[5]) {
    return Value::Enumerated(terms::kBlendMode, FourCC(code));
}
Value Ref(const Reference& reference) {
    return Value::ReferenceTo(reference);
}
Value LayerObject(const Descriptor& properties) {
    return Value::Object(terms::kLayer, properties);
}

Descriptor SetTarget(const Descriptor& properties) {
    return Keys({{"null", Ref(TargetLayer())}, {"T   ", LayerObject(properties)}});
}

Descriptor Sharpening(double amount, double radius, int32_t threshold) {
    return Keys({{"Amnt", Percent(amount)}, {"Rds ", Px(radius)}, {"Thsh", Value::Integer(threshold)}});
}

} // namespace vhost::engine::test
