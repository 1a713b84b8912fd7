// What the report page shows beside the path: the drawing just written, read back from its
// file, and its data sheet with the warnings that apply.
#pragma once

#include <QWidget>

#include <string>

#include "app/page_command.h"
#include "profile/main_mod.h"
#include "ui/data_sheet_view.h"
#include "ui/drawing_preview.h"

namespace tarvo::ui {

class DrawingReport : public QWidget {
    Q_OBJECT
public:
    explicit DrawingReport(QWidget* parent = nullptr);

    // Reads the file `call` wrote at `path` once and shows it and its sheet; `state` holds the
    // rack and point counts it was drawn with. A file that cannot be read says why instead.
    void ShowDrawing(const MainMod& state, const BuilderCall& call, const std::string& path);
    void Clear();

    DrawingPreview* preview = nullptr;
    DataSheetView* sheet = nullptr;
};

// The decimal sign of the designer's regional settings, as the sheet's numbers show it.
char RegionalDecimalSign();

}  // namespace tarvo::ui
