// Basic rack rows.
#include "ui/rack_choice.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "ui/controls.h"

namespace tarvo::ui {

namespace {

// How each row reads on the page: the values of kRackRows written with decimal commas, one
// blank between them; the row label sets them in columns aligned on the decimal comma.
struct RowCaption {
    const char* button;
    int label;  // index in the Label2 group
    const char* caption;
};
constexpr RowCaption kRowCaptions[] = {
    {"ctlOB7", 9, "18 1 1,2 0,28734 0,41585"},
    {"ctlOB1", 0, "20 1 1 0,25 0,38"},
    {"ctlOB6", 8, "22,5 1 1 0,4 0,28467"},
    {"ctlOB2", 1, "25 1 1 0,20328 0,35208"},
    {"ctlOB4", 3, "28 0,95 0,95 0,16840 0,31742"},
    {"ctlOB3", 2, "28 0,9 0,9 0,18438 0,34754"},
    {"ctlOB5", 6, "Другой..."},
};
static_assert(std::size(kRowCaptions) == kRackRows.size() + 1, "a caption for every row");

// Seven rows of this height fill the frame's height under the heads.
constexpr int kRowHeight = 29;

// Where the decimal comma (or the end of a whole number) of each column stands, in pixels from
// the row label's left edge: alpha, ha*, hf*, c*, rf*. Room for "22,5" before the first and for
// five decimals after each.
constexpr int kColumnAnchors[] = {18, 72, 122, 176, 250};
// The alpha head's width; the other heads start after it.
constexpr int kAlphaHeadWidth = 34;
// A head stands over the middle of its column's numbers, a little right of the comma.
constexpr int kHeadCentreShift = 8;

// A label whose blank-separated fields stand in the rack columns: a row's values each aligned
// on its decimal comma, so the digits of a column line up whatever the font, or the heads of
// the coefficient columns centred over them. A single field ("Другой...") reads as typed.
class ColumnLabel : public QLabel {
  public:
    ColumnLabel(QWidget* parent, const QString& name, const QString& caption, bool heads)
        : QLabel(parent), heads_(heads) {
        setObjectName(name);
        setTextFormat(Qt::PlainText);
        setText(caption);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        const QStringList fields = text().split(' ', Qt::SkipEmptyParts);
        QPainter painter(this);
        painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                       QPalette::WindowText));
        const QFontMetrics metrics(font());
        const int baseline = (height() + metrics.ascent() - metrics.descent()) / 2;
        if (fields.size() == 1) {
            painter.drawText(0, baseline, text());
            return;
        }
        const int first = heads_ ? 1 : 0;
        for (int i = 0; i < fields.size() && first + i < int(std::size(kColumnAnchors)); ++i) {
            const QString& field = fields[i];
            const int anchor = kColumnAnchors[first + i];
            if (heads_) {
                const int centre = anchor - kAlphaHeadWidth + kHeadCentreShift;
                painter.drawText(centre - metrics.horizontalAdvance(field) / 2, baseline, field);
            } else {
                const QString whole = field.section(',', 0, 0);
                painter.drawText(anchor - metrics.horizontalAdvance(whole), baseline, field);
            }
        }
    }

  private:
    bool heads_;
};

QFrame* MakeRule(QWidget* parent, int number) {
    auto* line = new QFrame(parent);
    line->setObjectName(QStringLiteral("Line") + QString::number(number));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Column heads: the profile angle alpha over the first column, the coefficients over the
// others. The alpha is written as the Greek letter itself in a font that has it.
QHBoxLayout* MakeHeadRow(QWidget* frame) {
    QLabel* alpha = MakeLabel(frame, GroupName("Label2", 4), QStringLiteral("α"));
    QFont alphaFont = FormFont(15.75);
    alphaFont.setFamilies({QStringLiteral("Liberation Serif"), QStringLiteral("Times New Roman")});
    alpha->setFont(alphaFont);
    alpha->setFixedWidth(kAlphaHeadWidth);
    // The heads over the coefficient columns, centred on their decimal commas.
    QLabel* heads =
        new ColumnLabel(frame, GroupName("Label2", 5), QStringLiteral("ha* hf* C* rf*"), true);
    heads->setFont(FormFont(12));
    heads->setMinimumWidth(kColumnAnchors[4] - kAlphaHeadWidth + 2 * kHeadCentreShift);
    auto* headRow = new QHBoxLayout;
    headRow->setSpacing(0);
    headRow->addWidget(alpha);
    headRow->addWidget(heads, 1);
    return headRow;
}

// The fixed row a radio button chooses; nullptr for the designer's own rack.
const RackRow* FixedRow(const QString& button) {
    const RackRow* fixed = nullptr;
    for (const RackRow& row : kRackRows) {
        if (QLatin1String(row.button) == button) {
            fixed = &row;
        }
    }
    return fixed;
}

}  // namespace

void RowButton::mouseDoubleClickEvent(QMouseEvent* event) {
    QRadioButton::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit doubleClicked();
    }
}

RackChoice::RackChoice(QWidget* parent, MainMod& state)
    : QGroupBox(QStringLiteral("Исходный контур:"), parent), state_(state) {
    setObjectName(QStringLiteral("frContur"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 6, 12, 8);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);

    grid->addLayout(MakeHeadRow(this), 0, 1);

    // The seven rules: one under the heads and one between each pair of rows; none under the
    // last row, which the frame's border closes.
    int gridRow = 1;
    int lineNumber = 1;
    for (const RowCaption& caption : kRowCaptions) {
        grid->addWidget(MakeRule(this, lineNumber++), gridRow++, 0, 1, 2);
        auto* button = new RowButton(this);
        button->setObjectName(QString::fromLatin1(caption.button));
        QLabel* label = new ColumnLabel(this, GroupName("Label2", caption.label),
                                        QString::fromUtf8(caption.caption), false);
        button->setAccessibleName(label->text());
        // A click on a row's values chooses the row, as a click on its button does.
        label->setProperty("rowButton", QVariant::fromValue<QObject*>(button));
        label->installEventFilter(this);
        grid->addWidget(button, gridRow, 0);
        grid->addWidget(label, gridRow, 1);
        grid->setRowMinimumHeight(gridRow, kRowHeight);
        ++gridRow;
        buttons_[button->objectName()] = button;

        const RackRow* fixed = FixedRow(button->objectName());
        if (fixed != nullptr) {
            connect(button, &QRadioButton::clicked, this, [this, fixed] { StoreRow(*fixed); });
        } else {
            connect(button, &QRadioButton::clicked, this, &RackChoice::customChosen);
            connect(button, &RowButton::doubleClicked, this, &RackChoice::customChosen);
        }
    }
    grid->setRowStretch(gridRow, 1);
    SelectFirstRow();
}

void RackChoice::StoreRow(const RackRow& row) {
    StoreRack(state_, row.rack);
}

void RackChoice::SelectFirstRow() {
    Button(QLatin1String(kDefaultRackRow.button))->setChecked(true);
}

QString RackChoice::ChosenButton() const {
    for (const auto& [name, button] : buttons_) {
        if (button->isChecked()) {
            return name;
        }
    }
    return QLatin1String(kDefaultRackRow.button);
}

BasicRack RackChoice::ChosenRack() const {
    const RackRow* fixed = FixedRow(ChosenButton());
    if (fixed != nullptr) {
        return fixed->rack;
    }
    return custom_.value_or(kDefaultRackRow.rack);
}

QRadioButton* RackChoice::Button(const QString& name) const {
    const auto found = buttons_.find(name);
    return found == buttons_.end() ? nullptr : found->second;
}

bool RackChoice::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (auto* button =
                qobject_cast<QRadioButton*>(watched->property("rowButton").value<QObject*>())) {
            if (button->isEnabled()) {
                button->click();
            }
        }
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (auto* row = qobject_cast<RowButton*>(watched->property("rowButton").value<QObject*>());
            row != nullptr && row->isEnabled()) {
            emit row->doubleClicked();
        }
    }
    return QGroupBox::eventFilter(watched, event);
}

}  // namespace tarvo::ui
