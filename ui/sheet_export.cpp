// Data sheet export.
#include "ui/sheet_export.h"

#include <QPainter>
#include <QTextDocument>

#include <algorithm>

#include "report/sheet_text.h"

namespace tarvo::ui {

namespace {

QString FromCore(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList RowOf(const SheetRow& row) {
    QStringList cells{FromCore(row.label)};
    for (const std::string& cell : row.cells) {
        cells << FromCore(cell);
    }
    return cells;
}

QString CsvCell(const QString& cell) {
    const bool quote = cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('"')) ||
                       cell.contains(QLatin1Char('\n')) || cell.contains(QLatin1Char('\r'));
    if (!quote) {
        return cell;
    }
    QString doubled = cell;
    doubled.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

}  // namespace

SheetLines LinesOfSheet(const DataSheet& sheet, char separator) {
    const SheetTable table = MakeSheetTable(sheet, separator);
    SheetLines lines;
    lines.headings << QStringLiteral("Параметр");
    for (const std::string& heading : table.headings) {
        lines.headings << FromCore(heading);
    }
    for (const SheetRow& row : table.wheelRows) {
        lines.rows.push_back(RowOf(row));
    }
    for (const SheetRow& row : table.pairRows) {
        lines.rows.push_back(RowOf(row));
    }
    for (const std::string& warning : WarningLines(sheet, separator)) {
        lines.warnings << FromCore(warning);
    }
    return lines;
}

void AddParameterTables(SheetLines& lines, const std::vector<ParameterTable>& tables) {
    for (const ParameterTable& table : tables) {
        lines.rows.push_back(
            {QStringLiteral("Таблица параметров: ") + QString::fromStdString(table.wheel)});
        for (const ParameterRow& row : table.rows) {
            QString name = QString::fromStdString(row.name);
            if (!row.symbol.empty()) {
                name += QLatin1Char(' ') + QString::fromStdString(row.symbol);
            }
            lines.rows.push_back({name, QString::fromStdString(row.value)});
        }
    }
}

QString SheetTabText(const SheetLines& lines) {
    QString text = lines.headings.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const QStringList& row : lines.rows) {
        text += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    if (!lines.warnings.isEmpty()) {
        text += QLatin1Char('\n') + lines.warnings.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }
    return text;
}

QString SheetHtml(const SheetLines& lines) {
    const int columns = static_cast<int>(lines.headings.size());
    QString html = QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\" style=\"border-collapse:"
        "collapse\">\n<tr>");
    for (const QString& heading : lines.headings) {
        html += QStringLiteral("<th>") + heading.toHtmlEscaped() + QStringLiteral("</th>");
    }
    html += QStringLiteral("</tr>\n");
    for (const QStringList& row : lines.rows) {
        html += QStringLiteral("<tr><td>") + row.front().toHtmlEscaped() + QStringLiteral("</td>");
        const int cells = static_cast<int>(row.size()) - 1;
        for (int i = 1; i < row.size(); ++i) {
            // A pair's one value spans the wheel columns.
            const int span = i == row.size() - 1 ? columns - cells : 1;
            html += (span > 1 ? QStringLiteral("<td align=\"right\" colspan=\"%1\">").arg(span)
                              : QStringLiteral("<td align=\"right\">")) +
                    row[i].toHtmlEscaped() + QStringLiteral("</td>");
        }
        html += QStringLiteral("</tr>\n");
    }
    html += QStringLiteral("</table>\n");
    for (const QString& warning : lines.warnings) {
        html += QStringLiteral("<p style=\"color:#a01414\">") + warning.toHtmlEscaped() +
                QStringLiteral("</p>\n");
    }
    return html;
}

QByteArray SheetCsv(const SheetLines& lines) {
    QStringList out;
    const auto add = [&out](const QStringList& cells) {
        QStringList quoted;
        for (const QString& cell : cells) {
            quoted << CsvCell(cell);
        }
        out << quoted.join(QLatin1Char(';'));
    };
    add(lines.headings);
    for (const QStringList& row : lines.rows) {
        add(row);
    }
    for (const QString& warning : lines.warnings) {
        add({warning});
    }
    // The mark lets spreadsheet programs take the file as UTF-8 rather than the local code page.
    return QByteArray("\xEF\xBB\xBF") + out.join(QStringLiteral("\r\n")).toUtf8() +
           QByteArray("\r\n");
}

void PrintSheet(QPrinter& printer, const SheetLines& lines, const QImage& picture,
                const QString& title) {
    QPainter painter(&printer);
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    PaintSheetPage(painter, QRectF(0, 0, page.width(), page.height()), printer.resolution(), lines,
                   picture, title);
}

void PaintSheetPage(QPainter& painter, const QRectF& area, double resolution,
                    const SheetLines& lines, const QImage& picture, const QString& title) {
    painter.save();
    painter.translate(area.topLeft());
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Liberation Sans"), 9));
    document.setHtml(QStringLiteral("<h3>") + title.toHtmlEscaped() + QStringLiteral("</h3>") +
                     SheetHtml(lines));
    // The sheet laid out in screen units (96 to the inch) across the page, then scaled to the
    // printer's resolution.
    const double scale = resolution / 96.0;
    document.setTextWidth(area.width() / scale);
    const double sheetHeight = document.size().height() * scale;
    // The picture takes what the sheet leaves, at most half the page, its shape kept.
    const double room =
        std::max(0.0, std::min(area.height() / 2, area.height() - sheetHeight - 20));
    if (!picture.isNull() && room > 0) {
        QSizeF size = picture.size();
        size.scale(area.width(), room, Qt::KeepAspectRatio);
        painter.drawImage(QRectF(QPointF((area.width() - size.width()) / 2, 0), size), picture);
        painter.translate(0, size.height() + 20);
    }
    painter.scale(scale, scale);
    document.drawContents(&painter);
    painter.restore();
}

}  // namespace tarvo::ui
