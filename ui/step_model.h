// The 3-D model the file page can ask for beside the drawing: the check box and its boxes read
// into a choice, and the model written after the drawing, on the worker thread.
#pragma once

#include <optional>
#include <string>

#include "app/page_command.h"
#include "drawing/builder_call.h"
#include "math/outcome.h"
#include "profile/main_mod.h"
#include "profile/member_section.h"

namespace tarvo::ui {

class FilePage;

// The model asked for on the file page.
struct StepChoice {
    double faceWidth = 0;           // b, mm
    double rim = 0;                 // rim diameter of internal teeth, mm; 0: root diameter plus 6 m
    Hand wheel1Hand = Hand::Right;  // of a helical pair, as the pair page gives it
};

// The choice on the file page (nothing when no model is asked for), or the message that refuses
// it (b not a number above zero, a rim diameter typed that is not one).
Outcome<std::optional<StepChoice>, Message> ReadStepChoice(const FilePage& page);

// The model of the drawing just written to state.OutFile, into the same folder under the same
// name with ".step"; the line the report page adds: that it was written, or why not.
std::string WriteStepBeside(const MainMod& state, const BuilderCall& call,
                            const StepChoice& choice);

}  // namespace tarvo::ui
