// Custom rack frame.
#include "ui/custom_rack_frame.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLocale>

#include <utility>

#include "app/custom_rack.h"
#include "math/number_text.h"
#include "ui/controls.h"
#include "ui/pair_frame.h"

namespace tarvo::ui {

namespace {
// The designer's decimal separator, for the one message that shows a number.
char DecimalSeparator() {
    const QString point = QLocale::system().decimalPoint();
    return point.size() == 1 && point.at(0).unicode() < 0x80 ? point.at(0).toLatin1() : '.';
}
}  // namespace

CustomRackFrame::CustomRackFrame(QWidget* parent, MainMod& state, MessageSink& messages,
                                 std::vector<QWidget*> beneath)
    : QGroupBox(QStringLiteral("Исходный контур"), parent),
      state_(state),
      messages_(messages),
      beneath_(std::move(beneath)) {
    setObjectName(QStringLiteral("frAltContur"));
    // Opaque, so the rows beneath do not show through the pop-up.
    setAutoFillBackground(true);

    QLabel* alfa =
        MakeLabel(this, GroupName("Label1", 10), QStringLiteral("Угол профиля, град."), true);
    cmGrad1 = MakeAngleButton(this, 1);
    TextAlfa = MakeBox(this, QStringLiteral("TextAlfa"),
                       QStringLiteral("Угол профиля исходного контура α, градусы; не нуль"));
    QLabel* h =
        MakeLabel(this, GroupName("Label1", 9), QStringLiteral("Коэффициент высоты головки"), true);
    TextH = MakeBox(this, QStringLiteral("TextH"),
                    QStringLiteral("Коэффициент высоты головки ha*, в долях модуля; не нуль"));
    QLabel* hf =
        MakeLabel(this, GroupName("Label1", 12), QStringLiteral("Коэффициент высоты ножки"), true);
    TextHf = MakeBox(this, QStringLiteral("TextHf"),
                     QStringLiteral("Коэффициент высоты ножки hf*, в долях модуля; не нуль"));
    QLabel* c = MakeLabel(this, GroupName("Label1", 8),
                          QStringLiteral("Коэффициент радиального зазора"), true);
    TextC = MakeBox(this, QStringLiteral("TextC"),
                    QStringLiteral("Коэффициент радиального зазора c*, в долях модуля; не нуль"));
    QLabel* ro1 =
        MakeLabel(this, GroupName("Label1", 6), QStringLiteral("Коэффициент радиуса кривизны"));
    QLabel* ro2 = MakeLabel(this, GroupName("Label1", 5), QStringLiteral("переходной кривой"));
    TextRo =
        MakeBox(this, QStringLiteral("TextRo"),
                QStringLiteral("Коэффициент радиуса кривизны переходной кривой ρf*, в долях "
                               "модуля; слишком большой уменьшается до наибольшего возможного"));
    ComOK = MakeButton(this, QStringLiteral("ComOK"), QStringLiteral("OK"));
    ComOK->setFixedWidth(90);

    // Each box goes by the caption of its label; rf* by its two labels joined by a blank.
    names_ = {alfa->text(), h->text(), hf->text(), c->text(), ro1->text() + ' ' + ro2->text()};

    LayOut({alfa, h, hf, c, ro1, ro2});

    connect(ComOK, &QPushButton::clicked, this, &CustomRackFrame::ComOK_Click);
}

// Labels on the left, the angle button beside the profile angle's box, boxes on the right; rf*
// under its two-part caption; "OK" centred at the foot. `labels`: alpha, ha*, hf*, c* and the
// two parts of the rf* caption.
void CustomRackFrame::LayOut(const std::array<QLabel*, 6>& labels) {
    const auto& [alfa, h, hf, c, ro1, ro2] = labels;
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 14, 10, 10);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(22);
    grid->setColumnStretch(0, 1);
    const std::pair<QLabel*, QLineEdit*> rows[] = {
        {alfa, TextAlfa}, {h, TextH}, {hf, TextHf}, {c, TextC}};
    int row = 0;
    for (const auto& [label, box] : rows) {
        AddNumberRow(grid, row, label, box, 2);
        ++row;
    }
    grid->addWidget(cmGrad1, 0, 1);
    auto* roCaption = new QHBoxLayout;
    roCaption->setSpacing(4);
    roCaption->addWidget(ro1);
    roCaption->addWidget(ro2);
    roCaption->addStretch(1);
    FitNumbers(TextRo);
    grid->addLayout(roCaption, row, 0, 1, 2);
    grid->addWidget(TextRo, row, 2);
    ++row;
    grid->setRowStretch(row++, 1);
    grid->addWidget(ComOK, row, 0, 1, 3, Qt::AlignHCenter);
}

void CustomRackFrame::Open() {
    const double stored[5] = {state_.Alfa, state_.H, state_.Hf, state_.C, state_.Ro};
    const std::array<QLineEdit*, 5> boxes = Boxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->setText(FromCore(GeneralText(stored[i], '.')));
        SetTag(boxes[i], names_[i]);
    }
    for (QWidget* frame : beneath_) {
        frame->setEnabled(false);
    }
    open_ = true;
    raise();
    show();
}

void CustomRackFrame::ComOK_Click() {
    std::array<std::string, 5> texts;
    const std::array<QLineEdit*, 5> boxes = Boxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        texts[i] = ToCore(boxes[i]->text());
    }
    const CustomRackOutcome outcome = StoreCustomRack(state_, texts);
    if (!outcome.ok()) {
        messages_.Show({ZeroParameterMessage(outcome.fault()), MessageIcon::Exclamation, ""});
        boxes[static_cast<std::size_t>(outcome.fault())]->setFocus();
        return;
    }
    if (outcome->roReduced) {
        messages_.Show(
            {ReducedRoMessage(state_.Ro, DecimalSeparator()), MessageIcon::Information, ""});
    }
    for (QWidget* frame : beneath_) {
        frame->setEnabled(true);
    }
    open_ = false;
    hide();
    emit stored();
}

}  // namespace tarvo::ui
