// A plug-in's chapter: its opening page, then its Sets, each Set beginning
// on a page of its own with its Effects two to a page.
#include <algorithm>
#include <map>

#include "host/manual/Pages.h"

namespace vhost::manual {

namespace {

std::string Name(const std::string& eightBit) {
    return Markup(Utf8FromEightBit(eightBit));
}
std::string Quoted(const std::string& markup) {
    return "\u201c" + markup + "\u201d";
}

// What the plug-in's Effects leave in the document, over all its Effects:
// "All 48 Effects work in place: ..." or one sentence per kind of outcome.
std::string Outcomes(const PluginEntry& plugin) {
    std::map<std::vector<std::string>, size_t> byLayers; // layer names left -> Effects
    size_t total = 0;
    for (const SetEntry& set : plugin.sets) {
        for (const EffectEntry& effect : set.effects) {
            std::vector<std::string> names;
            for (const LayerLeft& layer : effect.words.layersLeft) {
                names.push_back(layer.name);
            }
            ++byLayers[names];
            ++total;
        }
    }
    if (total == 0) {
        return "";
    }
    std::string text;
    for (const auto& [names, count] : byLayers) {
        const std::string who =
            count == total
                ? (total == 1 ? std::string("Its Effect") : "All " + std::to_string(total) + " Effects")
                : std::to_string(count) + (count == 1 ? " Effect" : " Effects");
        const bool one = count == 1;
        if (names.empty()) {
            text += who + (one ? " works" : " work") +
                    " in place: the document keeps its layers and the result is in the layer " +
                    (one ? "it ran on. " : "they ran on. ");
            continue;
        }
        std::string list;
        for (size_t i = 0; i < names.size(); ++i) {
            list += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + Quoted(Name(names[i]));
        }
        text += who + (one ? " leaves " : " leave ") + (names.size() == 1 ? "the layer " : "the layers ") +
                list + " above the layer " + (one ? "it ran on" : "they ran on") +
                (names.size() == 1 ? ", to tune with its opacity. " : ", to tune with their opacity. ");
    }
    text.pop_back();
    return text;
}

std::string Scripting(const PluginEntry& plugin) {
    if (plugin.parameters.empty()) {
        return "It declares no scripting parameters.";
    }
    std::string list;
    for (size_t i = 0; i < plugin.parameters.size(); ++i) {
        const ScriptingEntry& p = plugin.parameters[i];
        list += (i == 0                              ? ""
                 : i + 1 == plugin.parameters.size() ? " and "
                                                     : ", ") +
                Name(p.name) + " ('" + Name(p.key) + "', " +
                (p.type == "TEXT" ? std::string("text") : "'" + Name(p.type) + "'") + ")";
    }
    return "In actions and scripts it takes the parameters " + list + ".";
}

// The place of one Effect: a name, what it does, its steps, the crops.
class EffectBlock {
public:
    EffectBlock(PdfDocument& pdf, const EffectEntry& effect) : pdf_(pdf), effect_(effect) {}

    // Draws the block from y; returns the y below it.
    double Draw(double y, const PdfPicture& before, const PdfPicture& after) {
        pdf_.FillRect(kLeft, y + 2, 3, 12, kAmber);
        TextStyle name = HeadingStyle(11.5);
        name.red = name.green = name.blue = 0.1;
        y = DrawText(pdf_, Name(effect_.name), name, kLeft + 9, y, kTextWidth - 9) + 4;
        y = DrawText(pdf_, Markup(effect_.words.summary), Summary(), kLeft, y, kTextWidth) + 6;
        y = Steps(y) + 6;
        return Crops(y, before, after);
    }

private:
    static TextStyle Summary() {
        TextStyle style = BodyStyle();
        style.font = "DejaVu Sans 9";
        return style;
    }

    double Steps(double y) {
        if (IsLongRecipe(effect_.words)) {
            return StepsInOneParagraph(y);
        }
        constexpr double titleWidth = 96;
        TextStyle title = SmallStyle();
        title.font = "DejaVu Sans Bold 8";
        TextStyle parameters = SmallStyle();
        for (size_t i = 0; i < effect_.words.steps.size(); ++i) {
            const StepLine& step = effect_.words.steps[i];
            TextBlock a(pdf_, std::to_string(i + 1) + ". " + Markup(step.title), title, titleWidth);
            TextBlock b(pdf_, Markup(step.parameters), parameters, kTextWidth - titleWidth - 12);
            a.Draw(kLeft + 12, y);
            b.Draw(kLeft + 12 + titleWidth, y);
            y += std::max(a.Height(), b.Height()) + 0.5;
        }
        return y;
    }

    // A long recipe's steps run on in one paragraph.
    double StepsInOneParagraph(double y) {
        std::string text;
        for (size_t i = 0; i < effect_.words.steps.size(); ++i) {
            const StepLine& step = effect_.words.steps[i];
            text += (i == 0 ? "" : "   ") + std::string("<b>") + std::to_string(i + 1) + ". " + Markup(step.title) +
                    "</b>" + (step.parameters.empty() ? "" : " " + Markup(step.parameters));
        }
        return DrawText(pdf_, text, SmallStyle(), kLeft + 12, y, kTextWidth - 12);
    }

    double Crops(double y, const PdfPicture& before, const PdfPicture& after) {
        const double width = before.Width() * kCropScale;
        const double height = before.Height() * kCropScale;
        const double gap = 24;
        const double x = kLeft + (kTextWidth - 2 * width - gap) / 2;
        pdf_.DrawPicture(before, x, y, kCropScale);
        pdf_.DrawPicture(after, x + width + gap, y, kCropScale);
        TextStyle caption = SmallStyle();
        DrawText(pdf_, "Before", caption, x, y + height + 2, width);
        return DrawText(pdf_, "After", caption, x + width + gap, y + height + 2, width);
    }

    PdfDocument& pdf_;
    const EffectEntry& effect_;
};

} // namespace

void DrawPluginOpening(PdfDocument& pdf, const PluginEntry& plugin, const std::vector<int>& setPages) {
    DrawPageFrame(pdf, Utf8FromEightBit(plugin.name));
    double y = DrawText(pdf, Name(plugin.name), HeadingStyle(22), kLeft, kTop, kTextWidth) + 4;
    pdf.FillRect(kLeft, y, 60, 3, kAmber);
    y += 16;
    TextStyle body = BodyStyle();
    y = DrawText(pdf, "Menu entry: <b>" + Name(plugin.menuName) + "</b>", body, kLeft, y, kTextWidth) + 8;
    y = DrawText(pdf, Markup(StageOfPlugin(plugin.name)), body, kLeft, y, kTextWidth) + 8;
    if (plugin.name == "Vellicor Output Honer") {
        y = DrawText(pdf,
                     "Its dialog reminds you that the image must be at its final output size, and shows the "
                     "document's current size (see \u201cThe Output plug-in's size note\u201d).",
                     body, kLeft, y, kTextWidth) +
            8;
    }
    if (const std::string outcomes = Outcomes(plugin); !outcomes.empty()) {
        y = DrawText(pdf, outcomes, body, kLeft, y, kTextWidth) + 8;
    }
    y = DrawText(pdf, Scripting(plugin), body, kLeft, y, kTextWidth) + 20;

    y = DrawText(pdf, "Its Sets", HeadingStyle(13), kLeft, y, kTextWidth) + 8;
    TextStyle row = BodyStyle();
    TextStyle count = SmallStyle();
    TextStyle page = BodyStyle();
    page.rightAligned = true;
    for (size_t s = 0; s < plugin.sets.size(); ++s) {
        const SetEntry& set = plugin.sets[s];
        TextBlock name(pdf, "<b>" + Name(set.name) + "</b>", row, kTextWidth - 60);
        name.Draw(kLeft, y);
        TextBlock number(pdf, "page " + std::to_string(setPages.at(s)), page, 60);
        number.Draw(kRight - 60, y);
        pdf.LinkToPage(kLeft, y, kTextWidth, name.Height(), setPages.at(s));
        y = DrawText(pdf, Markup(set.summary), count, kLeft + 12, y + name.Height() + 1, kTextWidth - 12) + 8;
    }
    if (y > kBottom) {
        throw ManualError("the opening page of " + plugin.name + " runs past its foot");
    }
}

void DrawSetPages(PdfDocument& pdf, const PluginEntry& plugin, const SetEntry& set,
                  const SetPictures& pictures) {
    const std::string chapter = Utf8FromEightBit(plugin.name) + " \u00b7 " + Utf8FromEightBit(set.name);
    const int perPage = EffectsPerPage(set);
    const int pages = PagesOfSet(set.effects.size(), perPage);
    // Every page has the same band at its top, so each Effect sits at the
    // same height on every page.
    constexpr double band = 52;
    const double slot = (kBottom - kTop - band) / perPage;
    for (int page = 0; page < pages; ++page) {
        if (page > 0) {
            pdf.NextPage();
        }
        DrawPageFrame(pdf, chapter);
        if (page == 0) {
            const double y = DrawText(pdf, Name(set.name), HeadingStyle(16), kLeft, kTop, kTextWidth) + 3;
            DrawText(pdf, Markup(set.summary), SmallStyle(), kLeft, y, kTextWidth);
        } else {
            DrawText(pdf, Name(set.name) + ", continued", HeadingStyle(11), kLeft, kTop, kTextWidth);
        }
        if (set.effects.empty()) {
            DrawText(pdf, "This Set holds no Effects.", BodyStyle(), kLeft, kTop + band, kTextWidth);
        }
        for (int i = 0; i < perPage; ++i) {
            const size_t e = size_t(page) * size_t(perPage) + size_t(i);
            if (e >= set.effects.size()) {
                break;
            }
            const double top = kTop + band + slot * i;
            if (i > 0) {
                pdf.Line(kLeft, top - 10, kRight, top - 10, 0.5, kRule);
            }
            EffectBlock block(pdf, set.effects[e]);
            const double end = block.Draw(top, *pictures.before, *pictures.after.at(e));
            if (end > top + slot - 14) {
                throw ManualError("the Effect \"" + set.effects[e].name + "\" of " + set.name +
                                  " needs more than its place on the page");
            }
        }
    }
}

} // namespace vhost::manual
