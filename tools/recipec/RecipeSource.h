// The recipe source format: one Set per file, its Effects, their events.
//
//   # a comment line
//   Set: Digital Camera Honers
//   Effect: 8 to 16 MP, Narrow Edges
//       duplicate Nm="Capture Honing"
//       unsharpMask Amnt=140% Rds=0.5px Thsh=2   # a comment after an event
//       set Md=Lmns
//       mergeLayersNew
//
// A "Set:" or "Effect:" line names what follows, to the end of the line. Every
// other line is an event: its string ID, then key=value parameters. A value is
// a number with its unit (120%, 0.8px), a plain integer (4), a quoted text
// ("Dark Halos", with \" and \\ inside) or a code (Lmns, Bckw).
//
// This file only reads the text; what the events and values mean is checked
// against the vocabulary by the compiler (RecipeCompiler.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/recipec/Diagnostics.h"

namespace vtools {

struct SourceValue {
    enum class Form { Number, Text, Code };
    Form form = Form::Code;
    std::string text;     // Text: the text, escapes resolved; Code: the code; Number: as written
    double number = 0;    // Number
    bool integral = true; // Number: written without a decimal point
    std::string unit;     // Number: what follows the digits ("%", "px", or anything else)
};

struct SourceParameter {
    std::string key;
    SourceValue value;
};

struct SourceEvent {
    int line = 0;
    std::string stringId;
    std::vector<SourceParameter> parameters;
};

struct SourceEffect {
    int line = 0;
    std::string name;
    std::vector<SourceEvent> events;
};

struct RecipeSource {
    std::string file;
    int setLine = 0; // 0 when the file names no Set
    std::string setName;
    std::vector<SourceEffect> effects;
};

// Reads a source. Faults of form go to found with the file and line; reading
// goes on with the next line, so one pass reports them all.
RecipeSource ParseRecipe(std::string_view text, const std::string& file, Diagnostics& found);

} // namespace vtools
