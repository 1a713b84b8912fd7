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
    row->addWidget(preview, 4);
    row->addWidget(sheet, 6);
}

void DrawingReport::ShowDrawing(const MainMod& state, const BuilderCall& call,
                                const std::string& path) {
    DxfReadResult read = ReadDxfFile(path);
    if (!read.ok) {
        const QString why = QStringLiteral("Чертёж не прочитан: ") + QString::fromStdString(DescribeDxfRead(read));
        preview->Clear(why);
        DataSheet unread;
        unread.reason = "чертёж не прочитан: " + DescribeDxfRead(read);
        sheet->SetSheet(unread, RegionalDecimalSign());
        return;
    }
    sheet->SetSheet(MakeDataSheet(state, call, read.drawing), RegionalDecimalSign());
    preview->SetDrawing(std::move(read.drawing));
}

void DrawingReport::Clear() {
    preview->Clear(QString());
    sheet->Clear();
}

}  // namespace tarvo::ui
