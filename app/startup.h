// What the program starts with: the default drawing accuracy and the window caption made from
// the release number.
#pragma once

#include <string>

#include "profile/main_mod.h"

namespace tarvo {

// Points on the involute and on the transition curve until the designer changes them.
constexpr int kDefaultAccEv = 6;
constexpr int kDefaultAccPer = 3;

// Sets the start-up values of the shared state.
void InitMainMod(MainMod& state);

// "Tarvo " + major.minor.revision of this release, each a plain decimal number: "Tarvo 3.0.4".
std::string WindowCaption();

// major.minor.revision alone, for tarvo-cli --version.
std::string VersionText();

}  // namespace tarvo
