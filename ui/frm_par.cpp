// The window: its pages placed, Form_Load, and the page command's outcome applied.
#include "ui/frm_par.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLocale>
#include <QRegularExpression>

#include "app/startup.h"
#include "ui/accuracy_page.h"
#include "ui/angle_panel.h"
#include "ui/controls.h"
#include "ui/custom_rack_frame.h"
#include "ui/file_page.h"
#include "ui/gear_icon.h"
#include "ui/pair_frame.h"
#include "ui/rack_choice.h"
#include "ui/report_page.h"
#include "ui/spline_page.h"
#include "ui/start_page.h"

namespace tarvo::ui {

namespace {

// The rectangle the pages share, and the window around it; sized for the longest captions of
// the custom rack frame in the form's font.
constexpr int kMargin = 8;
constexpr int kPageWidth = 880;
constexpr int kPageHeight = 420;
// The gear-pair page: the rack rows take the upper part of the right half, the mesh type the
// rest.
constexpr int kConturHeight = 312;
constexpr int kCommandWidth = 100;
constexpr int kCommandHeight = 30;

}  // namespace

std::pair<std::string, std::string> RegionalNow() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    QString date = locale.toString(now.date(), QLocale::ShortFormat);
    // The long time format carries the seconds, and on some systems a time zone, which a file
    // name does not need.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    QString time = locale.toString(now.time(), timeFormat.trimmed());
    // The page command turns "." and ":" into "_"; a "/" or "\" would make a folder of the
    // name's beginning, so they become "." first.
    for (QString* text : {&date, &time}) {
        text->replace(QLatin1Char('/'), QLatin1Char('.'));
        text->replace(QLatin1Char('\\'), QLatin1Char('.'));
    }
    return {ToCore(date), ToCore(time)};
}

FrmPar::FrmPar(MainMod& state, MessageSink* messages, Builder build)
    : state_(state), messages_(messages), build_(std::move(build)), clock_(RegionalNow) {
    if (messages_ == nullptr) {
        ownMessages_ = std::make_unique<MessageBoxSink>(this);
        messages_ = ownMessages_.get();
    }
    setObjectName(QStringLiteral("frmPar"));
    setWindowTitle(kDesignCaption);
    setWindowIcon(GearIcon());
    setFont(FormFont());
    Build();
    Form_Load();
}

FrmPar::~FrmPar() = default;

void FrmPar::Build() {
    const QRect page(kMargin, kMargin, kPageWidth, kPageHeight);
    const int half = kPageWidth / 2;
    const QRect left(page.left(), page.top(), half, page.height());
    const QRect right(page.left() + half, page.top(), page.width() - half, page.height());

    start_ = new StartPage(this);
    start_->setGeometry(page);

    pair_ = new PairFrame(this);
    pair_->setGeometry(left);
    rack_ = new RackChoice(this, state_);
    rack_->setGeometry(right.left(), right.top(), right.width(), kConturHeight);
    frIntEx_ = MakeFrame(this, QStringLiteral("frIntEx"), QStringLiteral("Тип зацепления"));
    frIntEx_->setGeometry(right.left(), right.top() + kConturHeight, right.width(),
                          right.height() - kConturHeight);
    opTip_[0] = MakeOption(frIntEx_, GroupName("opTip", 0), QStringLiteral("Внешнее"));
    opTip_[1] = MakeOption(frIntEx_, GroupName("opTip", 1), QStringLiteral("Внутреннее"));
    opTip_[0]->setChecked(true);
    auto* mesh = new QHBoxLayout(frIntEx_);
    mesh->setContentsMargins(30, 10, 30, 10);
    mesh->addWidget(opTip_[0]);
    mesh->addStretch(1);
    mesh->addWidget(opTip_[1]);
    mesh->addStretch(1);

    spline_ = new SplinePage(this);
    spline_->setGeometry(page);
    // Hidden from the start, where every other page waits for Form_Load to hide it.
    spline_->hide();
    accuracy_ = new AccuracyPage(this);
    accuracy_->setGeometry(page);
    file_ = new FilePage(this, *messages_);
    file_->setGeometry(page);
    report_ = new ReportPage(this);
    report_->setGeometry(page);

    customRack_ = new CustomRackFrame(this, state_, *messages_, {pair_, rack_});
    // Over the right half; wider, leftwards, when its captions need it.
    const int rackWidth = std::max(right.width(), customRack_->sizeHint().width());
    customRack_->setGeometry(page.right() + 1 - rackWidth, right.top(), rackWidth, right.height());

    AngleTargets targets;
    targets.txtBeta = pair_->txtBeta;
    targets.txtm = pair_->txtm;
    targets.TextAlfa = customRack_->TextAlfa;
    targets.frPar = pair_;
    targets.frContur = rack_;
    targets.frAltContur = customRack_;
    anglePanel_ = new AnglePanel(this, targets);

    ctlCom_ = MakeButton(this, QStringLiteral("ctlCom"), QStringLiteral("OK"));
    ctlCom_->setGeometry(page.right() + 1 - kCommandWidth, page.bottom() + 1 + kMargin,
                         kCommandWidth, kCommandHeight);
    label5_ = MakeLabel(this, QStringLiteral("Label5"),
                        FromCore(WindowCaption()) +
                            QStringLiteral(" — точный эвольвентный контур зубьев для чертежей DXF"));
    label5_->setGeometry(page.left() + 2, ctlCom_->y(), page.width() - kCommandWidth - 20,
                         kCommandHeight);
    label5_->setForegroundRole(QPalette::PlaceholderText);
    setFixedSize(page.right() + 1 + kMargin, ctlCom_->geometry().bottom() + 1 + kMargin);

    connect(ctlCom_, &QPushButton::clicked, this, &FrmPar::ctlCom_Click);
    connect(rack_, &RackChoice::customChosen, customRack_, &CustomRackFrame::Open);
    connect(customRack_, &CustomRackFrame::stored, this, [this] {
        // What the rows show is what is stored: the designer's own rack.
        rack_->Button(QStringLiteral("ctlOB5"))->setChecked(true);
    });
    connect(pair_->cmGrad0, &QPushButton::clicked, anglePanel_,
            [this] { anglePanel_->cmGrad_Click(0); });
    connect(customRack_->cmGrad1, &QPushButton::clicked, anglePanel_,
            [this] { anglePanel_->cmGrad_Click(1); });
}

void FrmPar::Form_Load() {
    for (QWidget* frame : std::initializer_list<QWidget*>{rack_, pair_, report_, file_, anglePanel_,
                                                          customRack_, frIntEx_, accuracy_}) {
        frame->hide();
    }
    start_->show();
    start_->ctlOptionTip_Click(0);
    accuracy_->Load(state_.AccEv, state_.AccPer);
}

PageInput FrmPar::ReadWindow() const {
    PageInput input;
    input.page = FindPage(!start_->isHidden(), !spline_->isHidden(), !file_->isHidden(),
                          !report_->isHidden(), !accuracy_->isHidden());
    input.task = ToCore(start_->TaskChoice());
    input.external = opTip_[0]->isChecked();
    input.hub = spline_->opValVt[1]->isChecked();

    input.txtm = ToCore(pair_->txtm->text());
    input.txtZ1 = ToCore(pair_->txtZ1->text());
    input.txtZ2 = ToCore(pair_->txtZ2->text());
    input.txtBeta = ToCore(pair_->txtBeta->text());
    input.txtx1 = ToCore(pair_->txtx1->text());
    input.txtx2 = ToCore(pair_->txtx2->text());
    input.txtJbn = ToCore(pair_->txtJbn->text());
    input.txtmSL = ToCore(spline_->txtmSL->text());
    input.txtZ = ToCore(spline_->txtZ->text());
    input.txtX = ToCore(spline_->txtX->text());
    input.txtAccEv = ToCore(accuracy_->txtAccEv->text());
    input.txtAccPer = ToCore(accuracy_->txtAccPer->text());
    input.chkCutFillet = accuracy_->chkCutFillet->isChecked();
    input.txtFileName = ToCore(file_->txtFileName->text());
    input.dirPath = ToCore(file_->ctDir->Path());
    input.dirHighlighted = ToCore(file_->ctDir->Highlighted());

    input.lbM0 = ToCore(pair_->lbM0->text());
    input.lbM1 = ToCore(spline_->lbM1->text());
    input.lbZ1 = ToCore(pair_->lbZ1->text());
    input.lbZ2_0 = ToCore(pair_->lbZ2_0->text());
    input.lbZ2_1 = ToCore(spline_->lbZ2_1->text());

    const auto [date, time] = clock_();
    input.dateText = date;
    input.timeText = time;
    return input;
}

void FrmPar::ctlCom_Click() {
    if (!accuracy_->isHidden()) {
        // The counts are taken as the boxes would be on losing the focus, so a count typed
        // and confirmed without leaving its box still reaches the drawing in range.
        accuracy_->txtAccEv_LostFocus();
        accuracy_->txtAccPer_LostFocus();
    }
    const PageInput input = ReadWindow();
    const PageOutcome outcome = CtlComClick(state_, input, build_);
    ApplyOutcome(input, outcome);
}

void FrmPar::ApplyOutcome(const PageInput& input, const PageOutcome& outcome) {
    for (Frame frame : outcome.hide) {
        FrameWidget(frame)->hide();
    }
    for (Frame frame : outcome.show) {
        FrameWidget(frame)->show();
    }
    if (outcome.txtFileName) {
        file_->txtFileName->setText(FromCore(*outcome.txtFileName));
    }
    if (outcome.txtX) {
        spline_->txtX->setText(FromCore(*outcome.txtX));
    }
    if (outcome.txtRep) {
        report_->txtRep->setPlainText(FromCore(*outcome.txtRep));
    }
    if (outcome.next == Page::Report && outcome.call && outcome.drawn &&
        outcome.drawn->status == DrawStatus::Written) {
        report_->drawing->ShowDrawing(state_, *outcome.call, state_.OutFile);
    }
    if (outcome.txtAccEv) {
        accuracy_->txtAccEv->setText(FromCore(*outcome.txtAccEv));
    }
    if (outcome.txtAccPer) {
        accuracy_->txtAccPer->setText(FromCore(*outcome.txtAccPer));
    }
    if (input.page == Page::Start && outcome.next == Page::Spline) {
        spline_->ShowShiftRow(outcome.shiftRowVisible);
    }
    if (outcome.firstRackRowStored) {
        rack_->SelectFirstRow();
    }
    if (!file_->isHidden()) {
        // A drawing written on an earlier round shows among the files.
        file_->RefreshFiles();
    }
    SyncPopUps();
    if (outcome.message) {
        messages_->Show(*outcome.message);
    }
    if (outcome.focus) {
        BoxWidget(*outcome.focus)->setFocus();
    }
}

void FrmPar::SyncPopUps() {
    const bool pairShowing = !pair_->isHidden();
    customRack_->setVisible(pairShowing && customRack_->IsOpen());
    anglePanel_->setVisible(pairShowing && anglePanel_->IsOpen());
    customRack_->raise();
    anglePanel_->raise();
}

QWidget* FrmPar::FrameWidget(Frame frame) const {
    switch (frame) {
        case Frame::frStartOpt:
            return start_;
        case Frame::FrParSl:
            return spline_;
        case Frame::frFile:
            return file_;
        case Frame::frSave:
            return report_;
        case Frame::frAcc:
            return accuracy_;
        case Frame::frPar:
            return pair_;
        case Frame::frContur:
            return rack_;
        case Frame::frIntEx:
            return frIntEx_;
    }
    return nullptr;
}

QWidget* FrmPar::BoxWidget(Box box) const {
    switch (box) {
        case Box::txtm:
            return pair_->txtm;
        case Box::txtZ1:
            return pair_->txtZ1;
        case Box::txtZ2:
            return pair_->txtZ2;
        case Box::txtmSL:
            return spline_->txtmSL;
        case Box::txtZ:
            return spline_->txtZ;
        case Box::txtX:
            return spline_->txtX;
        case Box::txtFileName:
            return file_->txtFileName;
        case Box::txtAccEv:
            return accuracy_->txtAccEv;
        case Box::txtAccPer:
            return accuracy_->txtAccPer;
    }
    return nullptr;
}

std::unique_ptr<FrmPar> StartWindow(MainMod& state, MessageSink* messages) {
    InitMainMod(state);
    auto window = std::make_unique<FrmPar>(state, messages);
    window->setWindowTitle(FromCore(WindowCaption()));
    return window;
}

}  // namespace tarvo::ui
