// How to use the plug-ins: three pages of fixed text around what the module
// declares (its plug-ins, their scripting parameters, a Set and Effect to
// name as an example) and the size note's formats worked through.
#include <algorithm>
#include <cstdio>

#include "host/manual/Pages.h"

namespace vhost::manual {

namespace {

constexpr const char* kChapter = "Using the plug-ins";
constexpr const char* kOutputPlugin = "Vellicor Output Honer";

class Flow {
public:
    explicit Flow(PdfDocument& pdf) : pdf_(pdf) {}

    // The heading of a section of the chapter, which must fall on the page
    // the contents give for it.
    void Section(size_t index) {
        const UsageSectionPlace& section = UsageSections().at(index);
        if (section.usagePage != page_) {
            throw ManualError(std::string("the section \"") + section.title + "\" is on usage page " +
                              std::to_string(page_) + ", not " + std::to_string(section.usagePage));
        }
        y_ = DrawText(pdf_, Markup(section.title), HeadingStyle(13), kLeft, y_ + (first_ ? 0 : 12),
                      kTextWidth) +
             5;
        first_ = false;
    }
    void Paragraph(const std::string& markup) {
        y_ = DrawText(pdf_, markup, BodyStyle(), kLeft, y_, kTextWidth) + 6;
    }
    // Rows of two columns: a term and what it means.
    void Table(const std::vector<std::pair<std::string, std::string>>& rows, double termWidth) {
        TextStyle term = BodyStyle();
        term.font = "DejaVu Sans Bold 9.5";
        TextStyle meaning = BodyStyle();
        meaning.font = "DejaVu Sans 9.5";
        for (const auto& [left, right] : rows) {
            TextBlock a(pdf_, left, term, termWidth - 8);
            TextBlock b(pdf_, right, meaning, kTextWidth - termWidth - 12);
            a.Draw(kLeft + 12, y_);
            b.Draw(kLeft + 12 + termWidth, y_);
            y_ += std::max(a.Height(), b.Height()) + 3;
        }
        y_ += 4;
    }
    void DialogFigure(const ManualContent& content) { y_ = DrawDialogFigure(pdf_, content, y_ + 6) + 4; }
    void CheckFits() const {
        if (y_ > kBottom) {
            throw ManualError("the usage text runs past the foot of page " +
                              std::to_string(pdf_.PageNumber()));
        }
    }
    // Starts the next page of the chapter.
    void Start() {
        if (page_ >= 0) {
            pdf_.NextPage();
        }
        ++page_;
        DrawPageFrame(pdf_, kChapter);
        y_ = kTop;
        first_ = true;
    }
    void Title(const std::string& text) {
        y_ = DrawText(pdf_, Markup(text), HeadingStyle(20), kLeft, y_, kTextWidth) + 12;
    }

private:
    PdfDocument& pdf_;
    double y_ = kTop;
    bool first_ = true;
    int page_ = -1;
};

std::string Name(const std::string& eightBit) {
    return Markup(Utf8FromEightBit(eightBit));
}
std::string Quoted(const std::string& markup) {
    return "\u201c" + markup + "\u201d";
}

// The size readout for a document of 3000 x 2000 pixels at 300 ppi (720 x 480
// points), in the readout's own formats.
std::vector<std::pair<std::string, std::string>> SizeExamples() {
    const double w = 720, h = 480, r = 300;
    char text[6][96];
    std::snprintf(text[0], sizeof text[0], "%.0f pixels x %.0f pixels @ %.2f ppi", r * w / 72, r * h / 72, r);
    std::snprintf(text[1], sizeof text[1], "%.2f in. x %.2f in. @ %.2f ppi.", w / 72, h / 72, r);
    std::snprintf(text[2], sizeof text[2], "%.2f cm. x %.2f cm. @ %.2f ppcm.", w * 2.54 / 72, h * 2.54 / 72,
                  r / 2.54);
    std::snprintf(text[3], sizeof text[3], "%.2f mm. x %.2f mm. @ %.2f ppmm.", w * 25.4 / 72, h * 25.4 / 72,
                  r / 25.4);
    std::snprintf(text[4], sizeof text[4], "%.2f points x %.2f points @ %.2f ppi.", w, h, r);
    std::snprintf(text[5], sizeof text[5], "%.2f picas x %.2f picas @ %.2f ppi.", w / 12, h / 12, r);
    return {{"Pixels", text[0]},      {"Inches, per cent", text[1]}, {"Centimetres", text[2]},
            {"Millimetres", text[3]}, {"Points", text[4]},           {"Picas", text[5]}};
}

void PageOne(Flow& flow, const ManualContent& content) {
    flow.Title(kChapter);
    flow.Section(0);
    flow.Paragraph(
        "Vellicor Honer adds its plug-ins to the host's menu of automation plug-ins. Each offers a "
        "catalogue of sharpening recipes, grouped in <b>Sets</b> of <b>Effects</b>; the chapters "
        "after this one describe every Effect, with a crop of a picture before and after it.");
    std::vector<std::pair<std::string, std::string>> rows;
    for (const PluginEntry& plugin : content.plugins) {
        rows.emplace_back(Name(plugin.menuName), Markup(StageOfPlugin(plugin.name)));
    }
    flow.Table(rows, 170);
    flow.Paragraph("The plug-ins work on RGB images of 8 or 16 bits per channel; for images of any other "
                   "mode the host greys them out. They need version 6 or later of the host, and version 8 or "
                   "later for images of 16 bits per channel.");

    flow.Section(1);
    flow.Paragraph(
        "Open the image, make the layer to sharpen the current one and choose the plug-in from the "
        "host's menu. Pick a Set and an Effect in the dialog and click <b>OK</b>. The Effect plays "
        "on the current document as one step of its history, named after the Effect, so a single "
        "Undo takes it back.");
    flow.Paragraph(
        "While an Effect plays, the host's warnings about colour profiles are switched off, so that "
        "no question interrupts it; afterwards the colour settings are put back as they were. "
        "<b>Before it plays an Effect, the plug-in empties the clipboard</b>: copy anything you want "
        "to keep somewhere else first.");
}

void PageTwo(Flow& flow, const ManualContent& content) {
    flow.Section(2);
    flow.Paragraph("The dialog's title names the plug-in, for example " +
                   Quoted(Name(content.plugins.front().name) + " by Corvane Labs") + ".");
    flow.Table({{"Honer Set", "the Sets of the plug-in."},
                {"Honer Effect", "the Effects of the chosen Set."},
                {"OK (Alt+O)", "plays the chosen Effect."},
                {"Cancel (Alt+C, Escape)", "closes the dialog; nothing is played or remembered."},
                {"Help (Alt+H)", "closes the dialog and opens this manual."},
                {"Info", "closes the dialog and shows the product-information page."}},
               170);
    flow.Paragraph(
        "The dialog opens on the Set and the Effect of the plug-in's last run (letter case does not "
        "matter when it looks them up), or on the first Set and its first Effect. When you pick "
        "another Set, its Effect of the same name is chosen if it has one, else its first Effect. "
        "The dialog has no close box: leave it with OK, Cancel, Help, Info or Escape.");
    flow.DialogFigure(content);

    flow.Section(3);
    flow.Paragraph(
        "<b>Help</b> closes the dialog and opens this manual with the program your system uses for "
        "PDF files. The manual is the file <span allow_breaks=\"false\"><tt>Honer-Manual-123.pdf</tt></span> "
        "in the folder "
        "<span allow_breaks=\"false\"><tt>vlh_help</tt></span> beside the module file <span "
        "allow_breaks=\"false\"><tt>Honer.8li</tt></span>; keep the two together when "
        "you move the module. Nothing is played and nothing is remembered. While an action is "
        "being recorded, Help records a step that opens the manual whenever the action plays: its "
        "Set is \u201c**Help**\u201d and its Effect \u201c**Index**\u201d.");
    flow.Paragraph("<b>Info</b> closes the dialog without playing anything and asks the host to show the "
                   "product-information page in your web browser.");
}

void PageThree(Flow& flow, const ManualContent& content) {
    flow.Section(4);
    flow.Paragraph("Each plug-in can be recorded in an action and called from a script. It takes two "
                   "parameters, both text:");
    std::vector<std::pair<std::string, std::string>> rows;
    for (const ScriptingEntry& p : content.plugins.front().parameters) {
        rows.emplace_back(Name(p.name) + " ('" + Name(p.key) + "')",
                          p.key == "VlSt"   ? std::string("the name of the Set.")
                          : p.key == "VlAc" ? std::string("the name of the Effect within that Set.")
                                            : "a parameter of type '" + Name(p.type) + "'.");
    }
    flow.Table(rows, 170);
    const PluginEntry& example = content.plugins.front();
    std::string exampleText;
    if (!example.sets.empty() && !example.sets.front().effects.empty()) {
        exampleText = " For example, " + Name(example.name) + " with the Set " +
                      Quoted(Name(example.sets.front().name)) + " and the Effect " +
                      Quoted(Name(example.sets.front().effects.front().name)) + ".";
    }
    flow.Paragraph(
        "When you record an action, the plug-in hands the Set and the Effect of the run to the "
        "action, so that playing it does the same again." +
        exampleText +
        " When the action plays, the plug-in looks the names up exactly, letter case "
        "counting, and plays the Effect without showing its dialog, unless the step is set to show "
        "it: then the dialog opens on the recorded Set and Effect.");
    flow.Paragraph("A Set or Effect that the plug-in does not offer stops the action with a parameter error "
                   "and nothing is played; a step without the two parameters stops with the host's error. "
                   "The names of every Set and Effect are the headings of the chapters that follow.");

    flow.Section(5);
    flow.Paragraph(
        "Each plug-in remembers, for each user, the Set and the Effect of its last successful run, "
        "whether it ran from the dialog, an action or a script, and its dialog opens on them the "
        "next time. Nothing is remembered when you cancel, ask for Help, name a Set or Effect that "
        "does not exist, or when the Effect fails to play. Names of up to 254 characters are "
        "remembered.");
    flow.Paragraph("On Windows the choice is kept in the registry, under "
                   "<tt>HKEY_CURRENT_USER\\Software\\CorvaneLabs\\</tt><i>plug-in</i><tt>\\Parameters</tt>, "
                   "in the values <tt>Set</tt> and <tt>Action</tt>. Elsewhere the same keys and values are "
                   "folders and files under <tt>$XDG_CONFIG_HOME/vellicor-registry/HKEY_CURRENT_USER</tt> "
                   "(<tt>~/.config</tt> when <tt>XDG_CONFIG_HOME</tt> is not set). Delete the plug-in's key "
                   "to forget its choice.");
}

void PageFour(Flow& flow, const ManualContent& content, const ManualSample& sample) {
    flow.Section(6);
    flow.Paragraph(
        "Output sharpening must be applied to the picture at the size it will be printed or shown. "
        "The dialog of " +
        std::string(kOutputPlugin) +
        " reminds you of that with the note \u201cNOTE: The image must be at final output "
        "size!\u201d and shows the document's size after \u201cCurrent Size:\u201d, in the units of "
        "the host's rulers. A document of 3000 by 2000 pixels at 300 pixels per inch reads:");
    flow.Table(SizeExamples(), 130);
    flow.Paragraph(
        "With the Set \u201cWeb and Multimedia Honers\u201d chosen, the size is always given in "
        "whole pixels and without a resolution, whatever the rulers show: \u201c3000 pixels x 2000 "
        "pixels\u201d. The readout changes when you pick another Set. The dialogs of the other "
        "plug-ins show neither the note nor the size.");
    bool hasOutput = false;
    for (const PluginEntry& plugin : content.plugins) {
        hasOutput = hasOutput || plugin.name == kOutputPlugin;
    }
    if (!hasOutput) {
        flow.Paragraph("(This module has no " + std::string(kOutputPlugin) + ".)");
    }

    flow.Section(7);
    flow.Paragraph(
        "Each plug-in's chapter begins with a page about the plug-in and its Sets; then every Set "
        "lists its Effects, two to a page. For each Effect the manual says what it does, lists the "
        "steps it plays with their parameters, and shows a 100 % crop of a picture before and "
        "after it, enlarged twice so that single pixels can be seen. The crops were made by running "
        "each Effect through the module itself. The picture is " +
        Markup(sample.description) + ".");
    flow.Table(
        {{"Unsharp mask",
          "compares every pixel with a blurred copy of its surroundings and adds the difference back. "
          "<i>Amount</i> is how much of it, in per cent; <i>radius</i>, in pixels, is how wide the "
          "blur reaches and so how wide the halo along an edge; differences up to the "
          "<i>threshold</i>, in levels of 255, are left alone, which spares smooth areas and noise."},
         {"High pass", "keeps only what differs from a blur of the given radius, on mid\u2011grey: the edges "
                       "and the detail, ready to be blended back."},
         {"Gaussian blur", "softens by the given radius."},
         {"Blend mode, opacity", "how a layer is combined with the picture below it, and how strongly. "
                                 "A layer an Effect leaves can be tuned with both."}},
        110);
}

} // namespace

void DrawUsage(PdfDocument& pdf, const ManualContent& content, const ManualSample& sample) {
    static_assert(kUsagePages == 4, "the usage chapter has four pages of text");
    Flow flow(pdf);
    flow.Start();
    PageOne(flow, content);
    flow.CheckFits();
    flow.Start();
    PageTwo(flow, content);
    flow.CheckFits();
    flow.Start();
    PageThree(flow, content);
    flow.CheckFits();
    flow.Start();
    PageFour(flow, content, sample);
    flow.CheckFits();
}

} // namespace vhost::manual
