// The window's pages as a stored calculation: a table of rows, each an entry of the input
// object (under tarvo-cli's option name) and the control that holds it, so a control added to
// a page is saved and opened by adding its row. The basic rack and the task take a row of
// their own kind.
#pragma once

#include <QString>
#include <QWidget>

#include <optional>

#include "app/calculation.h"

namespace tarvo::ui {

// The data the pages hold, as tarvo-cli takes them: numbers as the drawing reads them from the
// boxes (a decimal comma counts), tooth counts rounded as the builders receive them.
Calculation CalculationOfWindow(const QWidget* window);

// Checks the whole calculation against the pages first and then fills them; on a fault nothing
// is changed and the Russian reason is returned. The task chosen is the one on the start page.
std::optional<std::string> FillWindow(QWidget* window, const Calculation& calculation);

}  // namespace tarvo::ui
