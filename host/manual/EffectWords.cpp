#include "host/manual/EffectWords.h"

#include <algorithm>
#include <map>
#include <optional>

#include "host/engine/BlendMode.h"
#include "host/manual/EventFacts.h"
#include "host/manual/Pdf.h"
#include "hostapi/FourCharCode.h"

namespace vhost::manual {

namespace {

// Numbers and their units are joined by no-break spaces (U+00A0), so
// that a line never ends between them.

std::string Levels(int32_t n) {
    return std::to_string(n) + (n == 1 ? "\u00a0level" : "\u00a0levels");
}

std::string Quoted(const std::string& eightBit) {
    return "\u201c" + Utf8FromEightBit(eightBit) + "\u201d";
}

std::string NumberWord(size_t n) {
    static const char* const words[] = {"no",   "one", "two",   "three", "four",
                                        "five", "six", "seven", "eight", "nine"};
    return n < std::size(words) ? words[n] : std::to_string(n);
}

std::string Capitalised(std::string text) {
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') {
        text[0] = char(text[0] - 'a' + 'A');
    }
    return text;
}

// "a", "a and b", "a, b and c".
std::string JoinedWithAnd(const std::vector<std::string>& parts) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) {
        out += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    }
    return out;
}

// What a blend mode does to the image below, said once per Effect.
const std::map<std::string, const char*>& BlendModeMeanings() {
    static const std::map<std::string, const char*> meanings = {
        {"Lmns", "Luminosity blending takes only the lightness of the layer, so colours do not shift and "
                 "colour noise is not sharpened."},
        {"Drkn", "Darken mode shows the layer only where it is darker than the image below: the dark side "
                 "of each edge."},
        {"Lghn", "Lighten mode shows the layer only where it is lighter than the image below: the light "
                 "side of each edge."},
        {"SftL", "Soft light lightens the image where the layer is lighter than mid\u2011grey and darkens it "
                 "where it is darker, gently."},
        {"Ovrl",
         "Overlay lightens the image where the layer is lighter than mid\u2011grey and darkens it where "
         "it is darker, more strongly than soft light."},
        {"HrdL",
         "Hard light lightens or darkens the image by as much as the layer departs from mid\u2011grey, "
         "more strongly than overlay."},
        {"LnrL",
         "Linear light adds twice the layer's departure from mid\u2011grey to the image: the strongest "
         "of the contrast blends."},
        {"Scrn", "Screen mode only ever lightens: the layer glows over the image."},
        {"Mltp", "Multiply mode only ever darkens the image."},
        {"Nrml", "Normal blending covers the image with the layer as far as its opacity goes."},
        {"Dfrn", "Difference mode leaves how far the layer and the image below differ: flat areas turn "
                 "black, edges light."},
        {"linearDodge", "Linear dodge adds the layer to the image below."},
        {"linearBurn", "Linear burn adds the layer to the image below and takes away white."},
    };
    return meanings;
}

// The document's layers as the events leave them; ids stay with a layer.
struct SimLayer {
    int id = 0;
    std::string name;
    std::string mode = "Nrml";
    double opacity = 100;
};

constexpr int kOriginal = 0;    // the layer the Effect runs on
constexpr int kWholeImage = -1; // subjects that are not a layer
constexpr int kClipboard = -2;
constexpr int kFirstOther = -100; // each unknown event is its own subject

struct Clause {
    int subject = kOriginal;
    std::string subjectPhrase;
    std::string participle;  // "sharpened with ..."
    std::optional<int> copy; // a duplicate: the copy's id
};

class LayerWalk {
public:
    LayerWalk() { layers_.push_back({kOriginal, "", "Nrml", 100}); }

    void Add(const EventFacts& e) {
        switch (e.kind) {
        case EventKind::Duplicate:
            Duplicate(e);
            break;
        case EventKind::SetLayer:
            SetLayer(e);
            break;
        case EventKind::UnsharpMask:
            UnsharpMask(e);
            break;
        case EventKind::HighPass:
            Say(Target(), "filtered with a high pass of " + FormatNumber(e.radius.value_or(0)) + "\u00a0px");
            break;
        case EventKind::GaussianBlur:
            Say(Target(), "blurred by a Gaussian blur of " + FormatNumber(e.radius.value_or(0)) + "\u00a0px");
            break;
        case EventKind::Desaturate:
            Say(Target(), "turned grey");
            break;
        case EventKind::Invert:
            Say(Target(), "inverted");
            break;
        case EventKind::Select:
            Select(e);
            break;
        case EventKind::MergeDown:
            MergeDown();
            break;
        case EventKind::Flatten:
            layers_.erase(layers_.begin() + 1, layers_.end());
            layers_[0] = {kOriginal, "", "Nrml", 100};
            target_ = 0;
            flattened_ = true;
            clauses_.push_back({kWholeImage, "the image", "flattened into one layer", std::nullopt});
            break;
        case EventKind::Purge:
            clauses_.push_back({kClipboard, "the clipboard", "emptied", std::nullopt});
            break;
        case EventKind::Other:
            clauses_.push_back({kFirstOther - int(clauses_.size()),
                                "the event " + Quoted(e.displayName.empty() ? e.stringID : e.displayName),
                                "played", std::nullopt});
            break;
        }
    }

    const std::vector<Clause>& Clauses() const { return clauses_; }

    // Told once: the clauses since `mark` stand for `times` rounds of the
    // same steps.
    size_t Mark() const { return clauses_.size(); }
    void FoldRepeats(size_t firstRoundEnd, size_t mark, size_t steps, size_t times) {
        clauses_.erase(clauses_.begin() + std::ptrdiff_t(firstRoundEnd), clauses_.end());
        if (firstRoundEnd > mark) {
            clauses_.push_back({kWholeImage,
                                "the round of the last " + NumberWord(steps) + (steps == 1 ? " step" : " steps"),
                                "done " + NumberWord(times) + " times in all", std::nullopt});
        }
    }
    const std::vector<std::string>& ModesUsed() const { return modesUsed_; }
    bool Flattened() const { return flattened_; }

    std::vector<LayerLeft> LayersLeft() const {
        std::vector<LayerLeft> left;
        for (auto it = layers_.rbegin(); it != layers_.rend() && it->id != kOriginal; ++it) {
            left.push_back({it->name, BlendModeWords(it->mode), it->opacity});
        }
        return left;
    }

private:
    SimLayer& Target() { return layers_[target_]; }

    std::string Phrase(const SimLayer& layer) const {
        return layer.id == kOriginal ? "the layer" : Quoted(layer.name);
    }

    void Say(const SimLayer& layer, std::string participle, std::optional<int> copy = std::nullopt) {
        clauses_.push_back({layer.id, Phrase(layer), std::move(participle), copy});
    }

    void Duplicate(const EventFacts& e) {
        SimLayer copy = Target();
        copy.id = nextId_++;
        copy.name = e.name.value_or(Target().name.empty() ? "Layer copy" : Target().name + " copy");
        Say(Target(), "copied as " + Quoted(copy.name), copy.id);
        layers_.insert(layers_.begin() + std::ptrdiff_t(target_) + 1, copy);
        ++target_;
    }

    void SetLayer(const EventFacts& e) {
        if (e.name) {
            Say(Target(), "renamed " + Quoted(*e.name));
            Target().name = *e.name;
        }
        if (e.mode) {
            Target().mode = *e.mode;
            if (std::find(modesUsed_.begin(), modesUsed_.end(), *e.mode) == modesUsed_.end()) {
                modesUsed_.push_back(*e.mode);
            }
        }
        if (e.opacity) {
            Target().opacity = *e.opacity;
        }
        if (e.mode && e.opacity) {
            Say(Target(), "blended in " + BlendModeWords(*e.mode) + " mode at " + FormatNumber(*e.opacity) +
                              "\u00a0% opacity");
        } else if (e.mode) {
            Say(Target(), "blended in " + BlendModeWords(*e.mode) + " mode");
        } else if (e.opacity) {
            Say(Target(), "set to " + FormatNumber(*e.opacity) + "\u00a0% opacity");
        }
    }

    void UnsharpMask(const EventFacts& e) {
        const std::string parameters =
            FormatNumber(e.amount.value_or(0)) + "\u00a0%, " + FormatNumber(e.radius.value_or(0)) +
            "\u00a0px" + (e.threshold.value_or(0) > 0 ? ", threshold " + Levels(*e.threshold) : "");
        if (parameters == lastUnsharpMask_) {
            Say(Target(), "sharpened the same way");
        } else {
            Say(Target(), "sharpened with an unsharp mask (" + parameters + ")");
        }
        lastUnsharpMask_ = parameters;
    }

    void Select(const EventFacts& e) {
        std::optional<size_t> next;
        if (e.ordinal == "Bckw" && target_ > 0) {
            next = target_ - 1;
        } else if (e.ordinal == "Frwr" && target_ + 1 < layers_.size()) {
            next = target_ + 1;
        } else if (e.layerName) {
            for (size_t i = layers_.size(); i-- > 0;) {
                if (layers_[i].name == *e.layerName) {
                    next = i;
                    break;
                }
            }
        }
        if (next) {
            target_ = *next;
        }
    }

    void MergeDown() {
        if (target_ == 0) {
            return; // nothing below: the host refuses it
        }
        Say(Target(), "merged down into " + Phrase(layers_[target_ - 1]));
        layers_.erase(layers_.begin() + std::ptrdiff_t(target_));
        --target_;
    }

    std::vector<SimLayer> layers_; // bottom first
    size_t target_ = 0;
    int nextId_ = 1;
    bool flattened_ = false;
    std::vector<Clause> clauses_;
    std::vector<std::string> modesUsed_;
    std::string lastUnsharpMask_;
};

// Sentences from the clauses: the clauses of one subject in a row share a
// sentence; a copy's own clauses that follow its making join it ("..., which
// is then ...").
std::string Narrate(const std::vector<Clause>& clauses) {
    std::string text;
    size_t i = 0;
    while (i < clauses.size()) {
        std::vector<std::string> participles;
        size_t j = i;
        for (; j < clauses.size() && clauses[j].subject == clauses[i].subject; ++j) {
            participles.push_back(clauses[j].participle);
        }
        std::string sentence = Capitalised(clauses[i].subjectPhrase) + " is " + JoinedWithAnd(participles);
        if (const std::optional<int> copy = clauses[j - 1].copy;
            copy && j < clauses.size() && clauses[j].subject == *copy) {
            std::vector<std::string> ofCopy;
            for (; j < clauses.size() && clauses[j].subject == *copy; ++j) {
                ofCopy.push_back(clauses[j].participle);
            }
            sentence += ", which is then " + JoinedWithAnd(ofCopy);
        }
        text += (text.empty() ? "" : " ") + sentence + ".";
        i = j;
    }
    return text;
}

std::string Outcome(const std::vector<LayerLeft>& left, bool flattened) {
    if (flattened && left.empty()) {
        return "Afterwards the image is one flattened layer.";
    }
    if (left.empty()) {
        return "The document keeps the layers it had: the result is in the layer the Effect ran on.";
    }
    std::vector<std::string> named;
    for (const LayerLeft& layer : left) {
        named.push_back(Quoted(layer.name) + " (" + layer.mode + ", " + FormatNumber(layer.opacity) +
                        "\u00a0%)");
    }
    const bool one = left.size() == 1;
    return "It leaves " + NumberWord(left.size()) + (one ? " layer" : " layers") +
           " above the layer it ran on, " + JoinedWithAnd(named) + ", to tune with " +
           (one ? "its" : "their") + " opacity or to remove.";
}

StepLine Step(const EventFacts& e) {
    std::vector<std::string> parameters;
    StepLine line;
    switch (e.kind) {
    case EventKind::Duplicate:
        line.title = "Duplicate layer";
        if (e.name) {
            parameters.push_back("as " + Quoted(*e.name));
        }
        break;
    case EventKind::SetLayer:
        line.title = "Set layer";
        if (e.mode) {
            parameters.push_back("blend mode " + BlendModeWords(*e.mode));
        }
        if (e.opacity) {
            parameters.push_back("opacity " + FormatNumber(*e.opacity) + "\u00a0%");
        }
        if (e.name) {
            parameters.push_back("name " + Quoted(*e.name));
        }
        break;
    case EventKind::UnsharpMask:
        line.title = "Unsharp mask";
        if (e.amount) {
            parameters.push_back("amount " + FormatNumber(*e.amount) + "\u00a0%");
        }
        if (e.radius) {
            parameters.push_back("radius " + FormatNumber(*e.radius) + "\u00a0px");
        }
        if (e.threshold) {
            parameters.push_back("threshold " + Levels(*e.threshold));
        }
        break;
    case EventKind::HighPass:
    case EventKind::GaussianBlur:
        line.title = e.kind == EventKind::HighPass ? "High pass" : "Gaussian blur";
        if (e.radius) {
            parameters.push_back("radius " + FormatNumber(*e.radius) + "\u00a0px");
        }
        break;
    case EventKind::Desaturate:
        line.title = "Desaturate";
        break;
    case EventKind::Invert:
        line.title = "Invert";
        break;
    case EventKind::Select:
        line.title = "Select layer";
        if (e.ordinal) {
            parameters.push_back(*e.ordinal == "Bckw" ? "the layer below" : "the layer above");
        }
        if (e.layerName) {
            parameters.push_back(Quoted(*e.layerName));
        }
        break;
    case EventKind::MergeDown:
        line.title = "Merge down";
        parameters.push_back("into the layer below");
        break;
    case EventKind::Flatten:
        line.title = "Flatten image";
        break;
    case EventKind::Purge:
        line.title = "Purge";
        parameters.push_back("the clipboard");
        break;
    case EventKind::Other:
        line.title = Utf8FromEightBit(e.displayName.empty() ? e.stringID : e.displayName);
        break;
    }
    for (const std::string& unread : e.unread) {
        parameters.push_back(Utf8FromEightBit(unread));
    }
    for (const std::string& part : parameters) {
        line.parameters += (line.parameters.empty() ? "" : ", ") + part;
    }
    return line;
}

// The smallest and largest of a parameter over a Set.
struct Range {
    std::optional<double> low, high;
    void Add(std::optional<double> v) {
        if (v) {
            low = low ? std::min(*low, *v) : *v;
            high = high ? std::max(*high, *v) : *v;
        }
    }
    // "0.4 to 1.8 px", "2 px"; one level is "1 level".
    std::string Words(const std::string& unit) const {
        if (*low == *high) {
            return FormatNumber(*low) + "\u00a0" + (unit == "levels" && *low == 1 ? "level" : unit);
        }
        return FormatNumber(*low) + " to " + FormatNumber(*high) + "\u00a0" + unit;
    }
};

} // namespace

std::string BlendModeWords(const std::string& code) {
    // The engine's table of the host's modes names them; a code or string ID
    // it does not know is shown as it stands.
    const std::optional<engine::BlendMode> mode =
        code.size() == 4 ? engine::BlendModeFromCode(vlh::FourCCFromBytes(code.data())) : engine::BlendModeFromStringID(code);
    return mode ? std::string(engine::BlendModeName(*mode)) : Utf8FromEightBit(code);
}

namespace {

bool SameStep(const StepLine& a, const StepLine& b) {
    return a.title == b.title && a.parameters == b.parameters;
}

// How many times the steps [start, start + length) follow each other
// unchanged from start on.
size_t Rounds(const std::vector<StepLine>& steps, size_t start, size_t length) {
    size_t rounds = 1;
    while (start + (rounds + 1) * length <= steps.size()) {
        for (size_t i = 0; i < length; ++i) {
            if (!SameStep(steps[start + i], steps[start + rounds * length + i])) {
                return rounds;
            }
        }
        ++rounds;
    }
    return rounds;
}

// The longest stretch of repeated rounds from `start`: (round length,
// rounds); rounds is 1 where nothing repeats.
std::pair<size_t, size_t> RepeatAt(const std::vector<StepLine>& steps, size_t start) {
    constexpr size_t kLongestRound = 12;
    std::pair<size_t, size_t> best{1, 1};
    for (size_t length = 1; length <= kLongestRound && start + 2 * length <= steps.size(); ++length) {
        const size_t rounds = Rounds(steps, start, length);
        if (rounds > 1 && length * rounds > best.first * best.second) {
            best = {length, rounds};
        }
    }
    return best;
}

} // namespace

EffectWords DescribeEffect(const vlh::Effect& effect) {
    EffectWords words;
    LayerWalk walk;
    std::vector<EventFacts> facts;
    std::vector<StepLine> steps;
    for (const auto& event : effect.events) {
        facts.push_back(ReadEventFacts(*event));
        steps.push_back(Step(facts.back()));
    }
    // Steps repeated round after round are listed and told once, with how
    // many rounds there are.
    for (size_t i = 0; i < steps.size();) {
        const auto [length, rounds] = RepeatAt(steps, i);
        const size_t mark = walk.Mark();
        const size_t firstListed = words.steps.size() + 1;
        for (size_t k = 0; k < length; ++k) {
            walk.Add(facts[i + k]);
            words.steps.push_back(steps[i + k]);
        }
        if (rounds > 1) {
            const size_t firstRoundEnd = walk.Mark();
            for (size_t k = length; k < length * rounds; ++k) {
                walk.Add(facts[i + k]);
            }
            walk.FoldRepeats(firstRoundEnd, mark, length, rounds);
            words.steps.push_back({"Repeat", (length == 1 ? "step " + std::to_string(firstListed)
                                                           : "steps " + std::to_string(firstListed) + " to " +
                                                                 std::to_string(firstListed + length - 1)) +
                                                 ", " + NumberWord(rounds) + " times in all"});
        }
        i += length * rounds;
    }
    words.layersLeft = walk.LayersLeft();
    words.flattened = walk.Flattened();
    words.summary = effect.events.empty() ? "This Effect records no events: it changes nothing."
                                          : Narrate(walk.Clauses());
    for (const std::string& mode : walk.ModesUsed()) {
        const auto meaning = BlendModeMeanings().find(mode);
        if (meaning != BlendModeMeanings().end()) {
            words.summary += std::string(" ") + meaning->second;
        }
    }
    if (!effect.events.empty()) {
        words.summary += " " + Outcome(words.layersLeft, words.flattened);
    }
    return words;
}

std::string DescribeSet(const vlh::ActionSet& set) {
    Range amount, usmRadius, threshold, highPass, blur, opacity;
    for (const auto& effect : set.effects) {
        for (const auto& event : effect->events) {
            const EventFacts e = ReadEventFacts(*event);
            if (e.kind == EventKind::UnsharpMask) {
                amount.Add(e.amount);
                usmRadius.Add(e.radius);
                threshold.Add(e.threshold ? std::optional<double>(*e.threshold) : std::nullopt);
            } else if (e.kind == EventKind::HighPass) {
                highPass.Add(e.radius);
            } else if (e.kind == EventKind::GaussianBlur) {
                blur.Add(e.radius);
            } else if (e.kind == EventKind::SetLayer) {
                opacity.Add(e.opacity);
            }
        }
    }
    const size_t n = set.effects.size();
    std::string text = std::to_string(n) + (n == 1 ? " Effect." : " Effects.");
    std::vector<std::string> usm;
    if (amount.low) {
        usm.push_back("amount " + amount.Words("%"));
    }
    if (usmRadius.low) {
        usm.push_back("radius " + usmRadius.Words("px"));
    }
    if (threshold.low) {
        usm.push_back("threshold " + threshold.Words("levels"));
    }
    if (!usm.empty()) {
        std::string joined;
        for (const std::string& part : usm) {
            joined += (joined.empty() ? "" : ", ") + part;
        }
        text += " Unsharp mask: " + joined + ".";
    }
    if (highPass.low) {
        text += " High pass: radius " + highPass.Words("px") + ".";
    }
    if (blur.low) {
        text += " Gaussian blur: radius " + blur.Words("px") + ".";
    }
    if (opacity.low) {
        text += " Layer opacity " + opacity.Words("%") + ".";
    }
    return text;
}

} // namespace vhost::manual
