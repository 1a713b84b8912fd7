// Named controls and the form's fonts.
#include "ui/controls.h"

#include <QStringList>
#include <QVariant>

#include <limits>

namespace tarvo::ui {

namespace {
// The point size of every caption and box.
constexpr double kFormPointSize = 9.75;
}  // namespace

QString GroupName(const char* group, int index) {
    return QString::fromLatin1(group) + QLatin1Char('(') + QString::number(index) +
           QLatin1Char(')');
}

QFont FormFont() {
    return FormFont(kFormPointSize);
}

QFont FormFont(double pointSize, bool bold, bool italic) {
    QFont font;
    // Liberation Sans first: where it is installed it is the metric-compatible Arial of
    // Linux; elsewhere Arial itself is found.
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& caption) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    return frame;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, bool underlined) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    if (underlined) {
        QFont font = label->font();
        font.setUnderline(true);
        label->setFont(font);
    }
    return label;
}

QLineEdit* MakeBox(QWidget* parent, const QString& name, const QString& tip) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setToolTip(tip);
    // QLineEdit's own limit is 32767 characters; the form's boxes take any length.
    box->setMaxLength(std::numeric_limits<int>::max());
    return box;
}

void FitNumbers(QLineEdit* box) {
    // The widest such text: every digit, a sign and a three-digit exponent.
    const QString widest = QStringLiteral("-8.88888888888888E-308");
    const QMargins text = box->textMargins();
    // The box's frame and the line edit's own inner margin, on each side.
    constexpr int kFrameAndPadding = 2 * (2 + 4);
    box->setFixedWidth(box->fontMetrics().horizontalAdvance(widest) + text.left() + text.right() +
                       kFrameAndPadding);
}

void AddNumberRow(QGridLayout* grid, int row, QLabel* label, QLineEdit* box, int boxColumn) {
    label->setBuddy(box);
    FitNumbers(box);
    grid->addWidget(label, row, 0);
    grid->addWidget(box, row, boxColumn);
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QRadioButton* MakeOption(QWidget* parent, const QString& name, const QString& caption) {
    auto* option = new QRadioButton(caption, parent);
    option->setObjectName(name);
    return option;
}

void SetTag(QObject* control, const QString& tag) {
    control->setProperty("Tag", tag);
}

QString Tag(const QObject* control) {
    return control->property("Tag").toString();
}

std::string ToCore(const QString& text) {
    return text.toStdString();
}

QString FromCore(const std::string& text) {
    return QString::fromStdString(text);
}

QString Caption(InputField field) {
    return QString::fromUtf8(FieldCaption(field));
}

}  // namespace tarvo::ui
