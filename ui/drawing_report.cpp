// Drawing report: one read of the file serves the picture and the sheet.
#include "ui/drawing_report.h"

#include <QAction>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QSaveFile>

#include "drawing/dxf_reader.h"
#include "report/data_sheet.h"
#include "report/read_text.h"
#include "report/sheet_text.h"
#include "ui/sheet_export.h"

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
    // The sheet as wide as its labels and numbers need; the picture takes the rest, and all the
    // window gains.
    row->addWidget(preview, 1);
    row->addWidget(sheet, 0);
    AddSheetActions();
}

void DrawingReport::AddSheetActions() {
    QTableWidget* table = sheet->table;
    auto* copy = new QAction(QStringLiteral("Копировать таблицу"), table);
    copy->setObjectName(QStringLiteral("acCopySheet"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, [this] { CopySheet(); });
    auto* save = new QAction(QStringLiteral("Сохранить таблицу..."), table);
    save->setObjectName(QStringLiteral("acSaveSheet"));
    connect(save, &QAction::triggered, this, [this] {
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Сохранить таблицу"), QString(),
            QStringLiteral("CSV, точка с запятой (*.csv);;Текст (*.txt)"));
        if (!path.isEmpty() && !SaveSheet(path)) {
            QMessageBox::warning(
                this, QStringLiteral("Внимание!"),
                QStringLiteral("Таблица не сохранена: не удалось записать файл\n") + path);
        }
    });
    auto* print = new QAction(QStringLiteral("Печать..."), table);
    print->setObjectName(QStringLiteral("acPrintSheet"));
    connect(print, &QAction::triggered, this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() == QDialog::Accepted) {
            PrintSheetTo(printer);
        }
    });
    table->addActions({copy, save, print});
    table->setContextMenuPolicy(Qt::ActionsContextMenu);
    // The table's own Ctrl+C copies one cell; the whole sheet goes instead.
    table->installEventFilter(this);
}

bool DrawingReport::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sheet->table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        CopySheet();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool DrawingReport::CopySheet() const {
    const DataSheet* shown = sheet->Sheet();
    if (shown == nullptr) {
        return false;
    }
    SheetLines lines = LinesOfSheet(*shown, RegionalDecimalSign());
    AddParameterTables(lines, MakeParameterTables(*shown, RegionalDecimalSign()));
    auto* data = new QMimeData;
    data->setText(SheetTabText(lines));
    data->setHtml(SheetHtml(lines));
    QGuiApplication::clipboard()->setMimeData(data);
    return true;
}

bool DrawingReport::SaveSheet(const QString& path) const {
    const DataSheet* shown = sheet->Sheet();
    if (shown == nullptr) {
        return false;
    }
    const bool csv = path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
    // CSV with decimal commas, as Russian spreadsheet programs read it; text as tarvo-cli
    // --report prints it.
    SheetLines lines = LinesOfSheet(*shown, ',');
    AddParameterTables(lines, MakeParameterTables(*shown, ','));
    const QByteArray bytes =
        csv ? SheetCsv(lines) : QByteArray::fromStdString(DataSheetText(DataSheetResult(*shown)));
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

bool DrawingReport::PrintSheetTo(QPrinter& printer) const {
    const DataSheet* shown = sheet->Sheet();
    if (shown == nullptr) {
        return false;
    }
    SheetLines lines = LinesOfSheet(*shown, RegionalDecimalSign());
    AddParameterTables(lines, MakeParameterTables(*shown, RegionalDecimalSign()));
    PrintSheet(printer, lines, preview->grab().toImage(),
               QStringLiteral("Tarvo — данные для чертежа"));
    return true;
}

namespace {

ReadBack SheetOf(const MainMod& state, const BuilderCall& call, DxfReadResult read,
                 const SheetOptions& options) {
    DataSheetResult sheet =
        read.ok()
            ? MakeDataSheet(state, call, read.value(), options)
            : DataSheetResult::Failure("чертёж не прочитан: " + DescribeDxfRead(read.fault()));
    std::vector<OutlineIndex> outlines;
    if (read.ok()) {
        outlines = IndexOutlines(read.value());
    }
    return ReadBack{std::move(read), std::move(sheet), std::move(outlines)};
}

}  // namespace

ReadBack ReadBackDrawing(const MainMod& state, const BuilderCall& call, const std::string& path,
                         const SheetOptions& options) {
    return SheetOf(state, call, ReadDxfFile(path), options);
}

ReadBack ReadBackWritten(const MainMod& state, const BuilderCall& call, const WrittenFile& written,
                         const SheetOptions& options) {
    return SheetOf(state, call, ReadWrittenDrawing(written), options);
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
    preview->SetDrawing(std::move(readBack.drawing).value(), std::move(readBack.outlines));
}

void DrawingReport::Clear() {
    preview->Clear(QString());
    sheet->Clear();
}

}  // namespace tarvo::ui
