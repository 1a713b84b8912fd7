// The window's own icon: a spur gear drawn at start-up in the two sizes a title bar and a task
// bar ask for.
#pragma once

#include <QIcon>

namespace tarvo::ui {

// A steel-grey gear with a bore, drawn at 16x16 and 32x32 pixels.
QIcon GearIcon();

}  // namespace tarvo::ui
