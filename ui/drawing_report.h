// What the report page shows beside the path: the drawing just written, read back from its
// file, and its data sheet with the warnings that apply.
#pragma once

#include <QPrinter>
#include <QWidget>

#include <string>
#include <vector>

#include "app/page_command.h"
#include "drawing/dxf_reader.h"
#include "profile/main_mod.h"
#include "report/data_sheet.h"
#include "ui/data_sheet_view.h"
#include "ui/drawing_preview.h"
#include "ui/outline_index.h"

namespace tarvo::ui {

// A drawing read back from its file with its data sheet: the slow part of a report (a wheel of
// thousands of teeth is millions of points and a mesh check), made with no window involved so
// it can run on the worker thread that made the drawing.
struct ReadBack {
    DxfReadResult drawing;  // the drawing, or why the file could not be read
    DataSheetResult sheet;  // its sheet, or why none could be made
    // The drawing's outlines indexed for the preview, made here too: a million vertices take
    // milliseconds the window's thread need not spend.
    std::vector<OutlineIndex> outlines;
};

// Reads the file `call` wrote at `path` once and makes its sheet; `state` holds the rack and
// point counts it was drawn with.
// `options` carries what the sheet takes from the pages beyond the drawing (hand, accuracy,
// spline standard).
ReadBack ReadBackDrawing(const MainMod& state, const BuilderCall& call, const std::string& path,
                         const SheetOptions& options = {});
// The same for a drawing just made, from the bytes written (held open since the write), never
// from what its path names by now.
ReadBack ReadBackWritten(const MainMod& state, const BuilderCall& call, const WrittenFile& written,
                         const SheetOptions& options = {});

class DrawingReport : public QWidget {
    Q_OBJECT
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void AddSheetActions();

  public:
  public:
    explicit DrawingReport(QWidget* parent = nullptr);

    // Reads the file `call` wrote at `path` once and shows it and its sheet; `state` holds the
    // rack and point counts it was drawn with. A file that cannot be read says why instead.
    void ShowDrawing(const MainMod& state, const BuilderCall& call, const std::string& path);
    // Shows a drawing already read back, or why it could not be.
    void Show(ReadBack readBack);
    void Clear();

    // The sheet taken out: the whole of it on the clipboard as tab-separated text and HTML
    // ("Копировать таблицу", Ctrl+C); into a file, CSV for a name ending in .csv and plain
    // text otherwise ("Сохранить таблицу..."); on paper or into a PDF file with the picture
    // ("Печать..."). False when there is no sheet or the file was not written.
    bool CopySheet() const;
    bool SaveSheet(const QString& path) const;
    bool PrintSheetTo(QPrinter& printer) const;

    DrawingPreview* preview = nullptr;
    DataSheetView* sheet = nullptr;
};

// The decimal sign of the designer's regional settings, as the sheet's numbers show it.
char RegionalDecimalSign();

}  // namespace tarvo::ui
