// The "box lost the focus" notification the accuracy boxes need: QLineEdit has no such signal of
// its own, and editingFinished also fires on Enter and only for changed text.
#pragma once

#include <QObject>
#include <QWidget>

#include <functional>

namespace tarvo::ui {

// Runs `handler` each time `control` loses the input focus to another control of the program.
// Switching to another program's window is not leaving the control and is not reported.
void OnFocusLost(QWidget* control, std::function<void()> handler);

}  // namespace tarvo::ui
