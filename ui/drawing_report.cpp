// Drawing report: one read of the file serves the picture and the sheet.
#include "ui/drawing_report.h"

#include <QHBoxLayout>
#include <QLocale>

#include "report/data_sheet.h"
#include "report/read_text.h"
#include "drawing/dxf_reader.h"

namespace tarvo::ui {

char RegionalDecimalSign() {
    const QString sign = QLocale::system().decimalPoint();
    return sign.size() == 1 && sign[0].unicode() < 0x80 ? static_cast<char>(sign[0].unicode())
                                                        : '.';
}

DrawingReport::DrawingReport(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frDrawing"));
    preview = new DrawingPreview(this);
    sheet = new DataSheetView(this);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    row->addWidget(preview, 3);
    row->addWidget(sheet, 7);
}

ReadBack ReadBackDrawing(const MainMod& state, const BuilderCall& call, const std::string& path,
                         const SheetOptions& options) {
    ReadBack back{ReadDxfFile(path), {}};
    if (!back.drawing.ok()) {
        back.sheet = DataSheetResult::Failure("чертёж не прочитан: " +
                                              DescribeDxfRead(back.drawing.fault()));
        return back;
    }
    back.sheet = MakeDataSheet(state, call, back.drawing.value(), options);
    return back;
}

void DrawingReport::ShowDrawing(const MainMod& state, const BuilderCall& call,
                                const std::string& path) {
    Show(ReadBackDrawing(state, call, path));
}

void DrawingReport::Show(ReadBack readBack) {
    sheet->SetSheet(readBack.sheet, RegionalDecimalSign());
    if (!readBack.drawing.ok()) {
        preview->Clear(QStringLiteral("Чертёж не прочитан: ") +
                       QString::fromStdString(DescribeDxfRead(readBack.drawing.fault())));
        return;
    }
    preview->SetDrawing(std::move(readBack.drawing).value());
}

void DrawingReport::Clear() {
    preview->Clear(QString());
    sheet->Clear();
}

}  // namespace tarvo::ui
