// Angle panel.
#include "ui/angle_panel.h"

#include <QGridLayout>
#include <QLabel>

#include <algorithm>

#include "math/number_text.h"
#include "ui/controls.h"
#include "ui/dms.h"

namespace tarvo::ui {

namespace {
// The unit marks stand out at this size, bold; minutes and seconds also italic.
constexpr double kMarkPointSize = 15.75;
// For the profile angle the panel's top edge is this many pixels above the box.
constexpr int kAboveProfileAngle = 10;
}  // namespace

AnglePanel::AnglePanel(QWidget* parent, const AngleTargets& targets)
    : QGroupBox(parent), targets_(targets) {
    setObjectName(QStringLiteral("frGradTrans"));
    setAutoFillBackground(true);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(3);
    grid->setVerticalSpacing(6);

    // The unit mark beside each box (italic from the minutes on), and the box's tooltip.
    struct Mark {
        QString name;
        const char* caption;
        const char* tip;
    };
    const Mark marks[3] = {{GroupName("Label1", 0), "°", "Градусы: целое число"},
                           {GroupName("Label2", 7), "'", "Минуты: от 0 до 59"},
                           {GroupName("Label3", 1), "''", "Секунды: от 0 до 60"}};
    for (int i = 0; i < 3; ++i) {
        QLineEdit* box = MakeBox(this, GroupName("Text1", i), QString::fromUtf8(marks[i].tip));
        box->setFixedWidth(44);
        box->setAlignment(Qt::AlignRight);
        Text1[static_cast<std::size_t>(i)] = box;
        QLabel* mark = MakeLabel(this, marks[i].name, QString::fromUtf8(marks[i].caption));
        mark->setFont(FormFont(kMarkPointSize, true, i > 0));
        mark->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(box, 0, 2 * i);
        grid->addWidget(mark, 0, 2 * i + 1);
    }
    ctlCommand = MakeButton(this, QStringLiteral("ctlCommand"), QStringLiteral("OK"));
    grid->addWidget(ctlCommand, 1, 0, 1, 6, Qt::AlignHCenter);
    connect(ctlCommand, &QPushButton::clicked, this, &AnglePanel::ctlCommand_Click);
    adjustSize();
}

void AnglePanel::cmGrad_Click(int index) {
    gradTarget_ = index + 1;
    QLineEdit* source = nullptr;
    if (index != 0) {
        source = targets_.TextAlfa;
        targets_.frAltContur->setEnabled(false);
    } else {
        source = targets_.txtBeta;
        targets_.frPar->setEnabled(false);
        targets_.frContur->setEnabled(false);
    }
    const double angle = FieldValue(ToCore(source->text()));
    if (angle != 0) {
        // An angle too large to split leaves the boxes as they are, like an angle of 0.
        if (const std::optional<Dms> parts = GradToDms(angle)) {
            Text1[0]->setText(QString::number(parts->degrees));
            Text1[1]->setText(QString::number(parts->minutes));
            Text1[2]->setText(QString::number(parts->seconds));
        }
    }
    Place(index);
    open_ = true;
    raise();
    show();
    Text1[0]->setFocus();
}

void AnglePanel::Place(int index) {
    QWidget* area = parentWidget();
    QPoint topLeft = pos();
    if (index == 0) {
        // Just below the module box, over the helix angle's row.
        topLeft = targets_.txtm->mapTo(area, QPoint(0, targets_.txtm->height()));
    } else if (index == 1) {
        // Over the profile angle's box, centred on its left edge.
        const QPoint box = targets_.TextAlfa->mapTo(area, QPoint(0, 0));
        topLeft = QPoint(box.x() - width() / 2, box.y() - kAboveProfileAngle);
    }
    // Kept whole inside the window, so every box of the panel can be reached.
    topLeft.setX(std::clamp(topLeft.x(), 0, std::max(0, area->width() - width())));
    topLeft.setY(std::clamp(topLeft.y(), 0, std::max(0, area->height() - height())));
    move(topLeft);
}

void AnglePanel::ctlCommand_Click() {
    QLineEdit* target = nullptr;
    if (gradTarget_ == 1) {
        target = targets_.txtBeta;
        targets_.frPar->setEnabled(true);
        targets_.frContur->setEnabled(true);
    } else if (gradTarget_ == 2) {
        target = targets_.TextAlfa;
        targets_.frAltContur->setEnabled(true);
    }
    if (target != nullptr) {
        target->setText(FromCore(DmsToGrad(ToCore(Text1[0]->text()), ToCore(Text1[1]->text()),
                                           ToCore(Text1[2]->text()))));
    }
    open_ = false;
    hide();
}

}  // namespace tarvo::ui
