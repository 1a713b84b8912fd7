// Start-up values and the release caption.
#include "app/startup.h"

namespace tarvo {

void InitMainMod(MainMod& state) {
    state.AccEv = kDefaultAccEv;
    state.AccPer = kDefaultAccPer;
}

std::string VersionText() {
    return std::to_string(TARVO_VERSION_MAJOR) + "." + std::to_string(TARVO_VERSION_MINOR) + "." +
           std::to_string(TARVO_VERSION_REVISION);
}

std::string WindowCaption() {
    return "Tarvo " + VersionText();
}

}  // namespace tarvo
