// Gear-pair parameters frame.
#include "ui/pair_frame.h"

#include <QGridLayout>

#include <string>

#include "app/input_check.h"
#include "math/constants.h"
#include "math/number_text.h"
#include "ui/controls.h"

namespace tarvo::ui {

QPushButton* MakeAngleButton(QWidget* parent, int index) {
    QPushButton* button = MakeButton(parent, GroupName("cmGrad", index), QStringLiteral("° ' ''"));
    button->setFont(FormFont(11.25));
    button->setFixedSize(48, 26);
    button->setToolTip(QStringLiteral("Градусы, минуты, секунды"));
    return button;
}

namespace {

// Fills the frame's grid top down: a label with its box in the third column (the second is
// left for a button beside the box), or a heading across all three columns.
class GridRows {
  public:
    explicit GridRows(QGridLayout* grid) : grid_(grid) {}

    void Add(QLabel* label, QLineEdit* box, int indent) {
        label->setIndent(indent);
        AddNumberRow(grid_, row_, label, box, 2);
        ++row_;
    }

    void AddHeading(QLabel* label) {
        grid_->addWidget(label, row_, 0, 1, 3);
        ++row_;
    }

    // The grid row the next Add or AddHeading fills.
    int Next() const { return row_; }
    // A row filled by the caller.
    void Skip() { ++row_; }

  private:
    QGridLayout* grid_;
    int row_ = 0;
};

}  // namespace

PairFrame::PairFrame(QWidget* parent) : QGroupBox(QStringLiteral("Параметры зацепления"), parent) {
    setObjectName(QStringLiteral("frPar"));
    lbM0 = MakeLabel(this, GroupName("lbM", 0), Caption(InputField::Module), true);
    txtm = MakeBox(this, QStringLiteral("txtm"),
                   QStringLiteral("Нормальный модуль передачи, мм: число больше нуля"));
    QLabel* beta = MakeLabel(this, GroupName("Label1", 1), Caption(InputField::Helix));
    cmGrad0 = MakeAngleButton(this, 0);
    txtBeta =
        MakeBox(this, QStringLiteral("txtBeta"),
                QStringLiteral("Угол наклона зуба, градусы: больше −90 и меньше 90; 0 — прямые "
                               "зубья. Кнопка рядом — ввод в градусах, минутах и секундах"));
    QLabel* wheel1 = MakeLabel(this, GroupName("Label1", 2), QStringLiteral("Колесо 1:"));
    lbZ1 = MakeLabel(this, QStringLiteral("lbZ1"), Caption(InputField::Teeth1), true);
    txtZ1 = MakeBox(this, QStringLiteral("txtZ1"),
                    QStringLiteral("Число зубьев колеса 1: целое, от 1 до %1").arg(kMaxTeeth));
    QLabel* x1 = MakeLabel(this, GroupName("Label1", 4), Caption(InputField::Shift1));
    txtx1 =
        MakeBox(this, QStringLiteral("txtx1"),
                QStringLiteral("Коэффициент смещения колеса 1, в долях модуля (обычно от −1 до 1); "
                               "окружность вершин должна остаться вне основной окружности"));
    QLabel* wheel2 = MakeLabel(this, GroupName("Label1", 3), QStringLiteral("Колесо 2:"));
    lbZ2_0 = MakeLabel(this, GroupName("lbZ2", 0), Caption(InputField::Teeth2), true);
    txtZ2 = MakeBox(this, QStringLiteral("txtZ2"),
                    QStringLiteral("Число зубьев колеса 2: целое, от 1 до %1; во внутреннем "
                                   "зацеплении не равно Z1")
                        .arg(kMaxTeeth));
    QLabel* x2 = MakeLabel(this, GroupName("Label1", 7), Caption(InputField::Shift2));
    txtx2 =
        MakeBox(this, QStringLiteral("txtx2"),
                QStringLiteral("Коэффициент смещения колеса 2, в долях модуля (обычно от −1 до 1); "
                               "окружность вершин должна остаться вне основной окружности"));
    QLabel* jn = MakeLabel(this, GroupName("Label1", 11), Caption(InputField::Backlash));
    txtJbn = MakeBox(
        this, QStringLiteral("txtJbn"),
        QStringLiteral("Нормальный боковой зазор передачи, мм: 0 или больше, меньше толщины зуба"));

    lbHand = MakeLabel(this, QStringLiteral("lbHand"),
                       QStringLiteral("Направление линии зуба колеса 1"));
    cboHand = new QComboBox(this);
    cboHand->setObjectName(QStringLiteral("cboHand"));
    cboHand->addItems({QStringLiteral("правое"), QStringLiteral("левое")});
    cboHand->setToolTip(QStringLiteral(
        "Направление линии зуба колеса 1; у колеса 2 во внешнем зацеплении — противоположное, "
        "во внутреннем — такое же. Отрицательный угол наклона означает левое. На чертёж "
        "(торцовое сечение) не влияет"));
    connect(txtBeta, &QLineEdit::textChanged, this, [this] { txtBeta_Change(); });

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(14, 14, 14, 14);
    grid->setHorizontalSpacing(8);
    // Nine rows spread over most of the frame's height.
    grid->setVerticalSpacing(17);
    grid->setColumnStretch(0, 1);
    GridRows rows(grid);
    rows.Add(lbM0, txtm, 0);
    rows.Add(beta, txtBeta, 0);
    grid->addWidget(cmGrad0, rows.Next() - 1, 1);
    lbHand->setIndent(16);
    grid->addWidget(lbHand, rows.Next(), 0, 1, 2);
    grid->addWidget(cboHand, rows.Next(), 2);
    rows.Skip();
    rows.AddHeading(wheel1);
    rows.Add(lbZ1, txtZ1, 16);
    rows.Add(x1, txtx1, 16);
    rows.AddHeading(wheel2);
    rows.Add(lbZ2_0, txtZ2, 16);
    rows.Add(x2, txtx2, 16);
    rows.Add(jn, txtJbn, 0);
    grid->setRowStretch(rows.Next(), 1);
    txtBeta_Change();
}

void PairFrame::txtBeta_Change() {
    // Read as the page command reads the box: its leading number, a decimal comma taken as a
    // point.
    std::string text = txtBeta->text().toStdString();
    for (char& ch : text) {
        ch = ch == ',' ? '.' : ch;
    }
    const bool helical = LeadingNumber(text) != 0;
    lbHand->setVisible(helical);
    cboHand->setVisible(helical);
}

}  // namespace tarvo::ui
