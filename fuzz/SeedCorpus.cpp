// Writes the seed corpora of the fuzz targets, all made by the project's own
// writer and recipes:
//   stored_stream/       every recipe of the catalogue as the module stores
//                        it, and Sets that hold every value type and form
//   raw_action_set/      the same Sets in the raw layout
//   resource_section/    the module's resource section, as resgen builds it
//   stored_set_section/  the module's stored-Set section, as recipec lays it out
//
//   fuzz_seeds CATALOGUE OUTPUT-FOLDER
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/actionwriter/ActionModel.h"
#include "tools/actionwriter/ActionWriter.h"
#include "tools/recipec/Catalogue.h"
#include "tools/recipec/SetsSection.h"
#include "tools/resgen/ModuleResources.h"
#include "tools/resgen/SectionImage.h"

namespace vtools {

namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file, const Bytes& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
}

std::vector<FormModel> EveryForm() {
    return {
        FormModel::Class(IdField::Code("Lyr ")),
        FormModel::Enum(IdField::Code("Lyr "), IdField::Code("Ordn"), IdField::Code("Trgt")),
        FormModel::Index(IdField::Code("Lyr "), 2),
        FormModel::Name(IdField::Code("Lyr "), UnicodeText::Latin1("Sharpening")),
        FormModel::Property(IdField::Code("capp"), IdField::String("profile")),
    };
}

// One descriptor holding a value of every type, a nested object and a list
// of the element types a list may hold.
DescriptorModel EveryValue() {
    DescriptorModel inner = DescriptorModel::Of(
        IdField::Code("Lyr "),
        {{IdField::Code("Md  "), ValueModel::Enum(IdField::Code("BlnM"), IdField::Code("Ovrl"))},
         {IdField::Code("Opct"), ValueModel::UnitDouble("#Prc", 50)}});
    return DescriptorModel::Of(
        IdField::Code("null"),
        {
            {IdField::Code("null"), ValueModel::Reference(EveryForm())},
            {IdField::Code("T   "), ValueModel::Object(inner)},
            {IdField::Code("Amnt"), ValueModel::UnitDouble("#Prc", 120)},
            {IdField::Code("Rds "), ValueModel::UnitDouble("#Pxl", 0.8)},
            {IdField::Code("Thsh"), ValueModel::Integer(3)},
            {IdField::Code("Nm  "), ValueModel::Text(UnicodeText::Latin1("Layer 1"))},
            {IdField::Code("Usng"), ValueModel::Boolean(true)},
            {IdField::Code("Scl "), ValueModel::Double(1.5)},
            {IdField::String("profile"),
             ValueModel::Class(IdField::Code("Dcmn"), UnicodeText::Latin1("Document"))},
            {IdField::Code("Als "), ValueModel::Alias({1, 2, 3, 4})},
            {IdField::Code("Lst "),
             ValueModel::List({ValueModel::Integer(1), ValueModel::Reference(EveryForm()),
                               ValueModel::Object(inner), ValueModel::Text(UnicodeText::Latin1("element"))})},
        });
}

// The events of the recipes' vocabulary, with flags a recipe does not use.
SetModel EveryEventSet() {
    EventModel disabled = EventModel::Named("invert");
    disabled.enabled = 0;
    EventModel dialog = EventModel::Named(
        "gaussianBlur", DescriptorModel::Of(IdField::Code("null"),
                                            {{IdField::Code("Rds "), ValueModel::UnitDouble("#Pxl", 2)}}));
    dialog.withDialog = 1;
    dialog.dialogOptions = 2;
    return SetModel::Named("Every Value.ATN",
                           {EffectModel::Named("Every value", {EventModel::Named("set", EveryValue())}),
                            EffectModel::Named("Flags", {disabled, dialog, EventModel::Named("desaturate")}),
                            EffectModel::Named("Empty")});
}

void WriteActionSets(const Catalogue& catalogue, const fs::path& out) {
    std::vector<std::pair<std::string, SetModel>> models = {{"every-value", EveryEventSet()},
                                                            {"empty-set", SetModel::Named("Empty")}};
    for (const CataloguePlugin& plugin : catalogue.plugins) {
        for (const CompiledSet& set : plugin.sets) {
            const std::string name = fs::path(set.file).stem().string();
            Write(out / "stored_stream" / (fs::path(set.file).parent_path().string() + "-" + name + ".bin"),
                  set.stored);
            models.emplace_back(fs::path(set.file).parent_path().string() + "-" + name, set.model);
        }
    }
    for (const auto& [name, model] : models) {
        Write(out / "raw_action_set" / (name + ".bin"), SerialiseSet(model));
        Write(out / "stored_stream" / (name + ".bin"), WriteStoredSet(model));
    }
}

void WriteSections(const Catalogue& catalogue, const fs::path& out) {
    Write(out / "resource_section" / "honer-linux.bin",
          BuildSectionImage(BuildModuleResources(HonerModule(), EntryPointProperty::X86)));
    Write(out / "resource_section" / "honer-both-entry-points.bin",
          BuildSectionImage(BuildModuleResources(HonerModule(), EntryPointProperty::Both)));
    Write(out / "stored_set_section" / "honer.bin", BuildSetsSection(catalogue).image);
}

} // namespace

} // namespace vtools

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds CATALOGUE OUTPUT-FOLDER\n");
        return 2;
    }
    try {
        const vtools::Catalogue catalogue = vtools::CompileCatalogue(argv[1]);
        vtools::WriteActionSets(catalogue, argv[2]);
        vtools::WriteSections(catalogue, argv[2]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "fuzz_seeds: %s\n", error.what());
        return 1;
    }
    return 0;
}
