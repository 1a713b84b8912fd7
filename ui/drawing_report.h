// What the report page shows beside the path: the drawing just written, read back from its
// file, and its data sheet with the warnings that apply.
#pragma once

#include <QWidget>

#include <string>

#include "app/page_command.h"
#include "drawing/dxf_reader.h"
#include "profile/main_mod.h"
#include "report/data_sheet.h"
#include "ui/data_sheet_view.h"
#include "ui/drawing_preview.h"

namespace tarvo::ui {

// A drawing read back from its file with its data sheet: the slow part of a report (a wheel of
// thousands of teeth is millions of points and a mesh check), made with no window involved so
// it can run on the worker thread that made the drawing.
struct ReadBack {
    DxfReadResult drawing;  // the drawing, or why the file could not be read
    DataSheetResult sheet;  // its sheet, or why none could be made
};

// Reads the file `call` wrote at `path` once and makes its sheet; `state` holds the rack and
// point counts it was drawn with.
// `options` carries what the sheet takes from the pages beyond the drawing (hand, accuracy,
// spline standard).
ReadBack ReadBackDrawing(const MainMod& state, const BuilderCall& call, const std::string& path,
                         const SheetOptions& options = {});

class DrawingReport : public QWidget {
    Q_OBJECT
public:
    explicit DrawingReport(QWidget* parent = nullptr);

    // Reads the file `call` wrote at `path` once and shows it and its sheet; `state` holds the
    // rack and point counts it was drawn with. A file that cannot be read says why instead.
    void ShowDrawing(const MainMod& state, const BuilderCall& call, const std::string& path);
    // Shows a drawing already read back, or why it could not be.
    void Show(ReadBack readBack);
    void Clear();

    DrawingPreview* preview = nullptr;
    DataSheetView* sheet = nullptr;
};

// The decimal sign of the designer's regional settings, as the sheet's numbers show it.
char RegionalDecimalSign();

}  // namespace tarvo::ui
