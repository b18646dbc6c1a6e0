// Randomly damaged streams, made from good ones with a fixed seed: bit flips,
// truncations and inserted bytes, in the stored form and in the raw layout.
// Every load must end in a clear result; run under the sanitizers this also
// shows that none reads or writes out of bounds or leaks.
#include <gtest/gtest.h>

#include <random>

#include "tests/actionsets/TestStreams.h"

namespace vlh::test {
namespace {

using vtools::DescriptorModel;
using vtools::FormModel;
using vtools::IdField;
using vtools::UnicodeText;
using vtools::ValueModel;

// A Set that uses every value type and form, nested objects and lists.
vtools::SetModel RichSet() {
    DescriptorModel layer = DescriptorModel::Of(
        IdField::Code("Lyr "),
        {{IdField::Code("Md  "), ValueModel::Enum(IdField::Code("BlnM"), IdField::Code("Ovrl"))},
         {IdField::Code("Opct"), ValueModel::UnitDouble("#Prc", 50)},
         {IdField::Code("Nm  "), ValueModel::Text(UnicodeText::Latin1("Sharpen layer"))}});
    DescriptorModel all = DescriptorModel::Of(
        IdField::Code("null"),
        {{IdField::Code("null"),
          ValueModel::Reference(
              {FormModel::Enum(IdField::Code("Lyr "), IdField::Code("Ordn"), IdField::Code("Trgt")),
               FormModel::Name(IdField::Code("Lyr "), UnicodeText::Latin1("Background")),
               FormModel::Index(IdField::Code("Chnl"), 2),
               FormModel::Property(IdField::Code("Prpr"), IdField::Code("Nm  ")),
               FormModel::Class(IdField::Code("Dcmn"))})},
         {IdField::Code("T   "), ValueModel::Object(layer)},
         {IdField::String("amount"), ValueModel::Double(1.5)},
         {IdField::Code("Thsh"), ValueModel::Integer(4)},
         {IdField::Code("bool"), ValueModel::Boolean(true)},
         {IdField::Code("Clss"), ValueModel::Class(IdField::Code("Lyr "), UnicodeText::Latin1("Layer"))},
         {IdField::Code("Als "), ValueModel::Alias({1, 2, 3, 4, 5, 6, 7, 8})},
         {IdField::Code("Lst "),
          ValueModel::List({ValueModel::Integer(1), ValueModel::Object(layer),
                            ValueModel::List({ValueModel::Text(UnicodeText::Latin1("x"))})})}});
    vtools::EventModel blur =
        vtools::EventModel::Named("gaussianBlur", OneItem(ValueModel::UnitDouble("#Pxl", 1.2)));
    return vtools::SetModel::Named(
        "Fuzz.atn", {vtools::EffectModel::Named("Everything", {vtools::EventModel::Named("set", all), blur}),
                     vtools::EffectModel::Named("Small", {vtools::EventModel::Named("invert")})});
}

size_t CountNodes(const DescriptorItem& item);

size_t CountNodes(const DescriptorBody& body) {
    size_t n = 1;
    for (const auto& item : body.items) {
        n += CountNodes(*item);
    }
    return n;
}

size_t CountNodes(const DescriptorItem& item) {
    size_t n = 1;
    if (item.kind == ItemKind::Object) {
        const auto& object = static_cast<const ObjectItem&>(item);
        EXPECT_NE(object.body, nullptr);
        n += object.body ? CountNodes(*object.body) : 0;
    } else if (item.kind == ItemKind::List) {
        for (const auto& element : static_cast<const ListItem&>(item).elements) {
            n += CountNodes(*element);
        }
    } else if (item.kind == ItemKind::Reference) {
        n += static_cast<const ReferenceItem&>(item).forms.size();
    }
    return n;
}

// Walks everything a load built, so that the sanitizers see every object.
size_t CountNodes(const ActionSet& set) {
    size_t n = 1 + set.name.size();
    for (const auto& effect : set.effects) {
        n += 1 + effect->name.size();
        for (const auto& event : effect->events) {
            n += 1 + event->eventName.size() + event->displayName.size();
            if (event->descriptor != nullptr) {
                n += CountNodes(*event->descriptor);
            }
        }
    }
    return n;
}

Bytes Damage(Bytes bytes, std::mt19937& engine) {
    auto pick = [&](size_t bound) { return bound == 0 ? size_t(0) : size_t(engine() % bound); };
    switch (engine() % 4) {
    case 0: // flip one to four bits
        for (size_t flips = 1 + pick(4); flips > 0 && !bytes.empty(); --flips) {
            bytes[pick(bytes.size())] ^= uint8_t(1u << pick(8));
        }
        break;
    case 1: // cut short
        bytes.resize(pick(bytes.size()));
        break;
    case 2: // insert one to eight bytes
        for (size_t n = 1 + pick(8); n > 0; --n) {
            bytes.insert(bytes.begin() + std::ptrdiff_t(pick(bytes.size() + 1)), uint8_t(engine()));
        }
        break;
    default: // overwrite a byte with an extreme value, as counts are damaged
        if (!bytes.empty()) {
            bytes[pick(bytes.size())] = (engine() & 1) ? 0xFF : 0x7F;
        }
        break;
    }
    return bytes;
}

TEST(DamagedStreams, TenThousandLoadsEndInAClearResult) {
    const Bytes raw = vtools::SerialiseSet(RichSet());
    const Bytes stored = vtools::RawToStored(raw);
    ASSERT_TRUE(LoadStored(stored).ok);

    std::mt19937 engine(20240611);
    size_t loaded = 0;
    size_t failed = 0;
    for (int i = 0; i < 10'000; ++i) {
        // Damage to the stored form mostly stops the inflater; damage to the
        // raw layout reaches the Set reader behind it.
        const bool inRaw = i % 2 == 0;
        const Bytes input = inRaw ? vtools::RawToStored(Damage(raw, engine)) : Damage(stored, engine);
        ActionSet set;
        LoadDiagnostics diagnostics;
        const bool ok = LoadActionSet(set, input.data(), input.size(), &diagnostics);
        ASSERT_NE(set.reader, nullptr);
        ASSERT_FALSE(set.reader->IsOpen()) << i;
        ASSERT_LE(diagnostics.storedOffset, input.size()) << i;
        if (ok) {
            ++loaded;
            ASSERT_EQ(diagnostics.what, "") << i;
            ASSERT_GT(CountNodes(set), 0u);
        } else {
            ++failed;
            ASSERT_FALSE(diagnostics.what.empty()) << i;
            if (inRaw) {
                ASSERT_LE(diagnostics.plainOffset, raw.size() + 8) << i;
            }
        }
    }
    // Both outcomes must really occur, or the damage tested nothing.
    EXPECT_GT(loaded, 500u);
    EXPECT_GT(failed, 5000u);
}

} // namespace
} // namespace vlh::test
