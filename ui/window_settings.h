// What the window keeps between runs, in one settings file: the task, every entry of every page,
// the rack row and the designer's own rack, the point counts and the rack-cut box, the last
// folder, the last proposed name, and the window's size and place. The entries are a table of
// control names, so a control added to a page is kept by adding its name.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace tarvo::ui {

// The controls kept, by object name: text boxes keep their text, option buttons and check boxes
// whether they are chosen.
const QStringList& KeptControls();

// The settings file in the user's configuration folder.
QString DefaultSettingsFile();

// A settings file this program wrote: it carries the format mark. Anything else (a corrupt or
// foreign file, or none) is taken as no settings at all.
bool IsOurSettings(const QSettings& settings);

// Writes the kept controls under `window` and the format mark.
void SaveControls(const QWidget* window, QSettings& settings);

// Restores the kept controls found in `settings` (a value of the wrong kind is skipped). Option
// buttons are only ever chosen, never cleared, so each group keeps one chosen.
void RestoreControls(QWidget* window, const QSettings& settings);

}  // namespace tarvo::ui
