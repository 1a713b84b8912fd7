// The window: its pages placed, Form_Load, and the page command's outcome applied.
#include "ui/frm_par.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <optional>

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include "app/basic_rack.h"
#include "app/calculation.h"
#include "app/custom_rack.h"
#include "app/startup.h"
#include "app/table_input.h"
#include "math/number_text.h"
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
#include "ui/step_model.h"
#include "ui/window_calculation.h"
#include "ui/window_settings.h"

namespace tarvo::ui {

namespace {

// The rectangle the pages share at the window's first size, and the window around it; sized for
// the longest captions of the custom rack frame in the form's font, and for every row of a
// pair's data sheet, labels whole, on the report page. The window may grow, never shrink.
constexpr int kMargin = 8;
constexpr int kPageWidth = 980;
constexpr int kPageHeight = 660;
// The gear-pair page: the rack rows take this much of the right half, the mesh type the rest.
constexpr int kConturHeight = 312;
constexpr int kCommandWidth = 100;
constexpr int kCommandHeight = 30;
// The busy bar beside the buttons while a drawing is made.
constexpr int kBusyWidth = 260;

// What the worker thread makes from the file page: the window's copy of the shared state goes
// in, the outcome and the state as the drawing left it come out.
struct BuildJob {
    MainMod state;
    PageInput input;
    std::optional<PageResult> outcome;    // the file page's press, once made
    std::optional<ReadBack> readBack;     // made once the drawing is written
    std::optional<StepChoice> step;       // the 3-D model asked for on the file page, if any
    std::optional<std::string> stepLine;  // what the report page adds about it
};

// A drawing was written and the report page will show it.
bool Written(const PageResult& result) {
    if (!result.ok()) {
        return false;
    }
    const PageOutcome& outcome = result.value();
    return outcome.next == Page::Report && outcome.call && outcome.drawn && outcome.drawn->ok();
}

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
    setWindowTitle(kWindowCaption);
    setWindowIcon(GearIcon());
    setFont(FormFont());
    Build();
    Connect();
    resize(kPageWidth + 2 * kMargin, kPageHeight + 3 * kMargin + kCommandHeight);
    PlacePages();
    Form_Load();
}

FrmPar::~FrmPar() {
    // A drawing still being made finishes before the state it works on goes away.
    if (worker_ != nullptr) {
        worker_->wait();
        delete worker_;
        QApplication::restoreOverrideCursor();
    }
}

void FrmPar::Build() {
    start_ = new StartPage(this);
    pair_ = new PairFrame(this);
    rack_ = new RackChoice(this, state_);
    frIntEx_ = MakeFrame(this, QStringLiteral("frIntEx"), QStringLiteral("Тип зацепления"));
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
    // Hidden from the start, where every other page waits for Form_Load to hide it.
    spline_->hide();
    accuracy_ = new AccuracyPage(this);
    file_ = new FilePage(this, *messages_);
    report_ = new ReportPage(this);
    customRack_ = new CustomRackFrame(this, state_, *messages_, {pair_, rack_});

    AngleTargets targets;
    targets.txtBeta = pair_->txtBeta;
    targets.txtm = pair_->txtm;
    targets.TextAlfa = customRack_->TextAlfa;
    targets.frPar = pair_;
    targets.frContur = rack_;
    targets.frAltContur = customRack_;
    anglePanel_ = new AnglePanel(this, targets);

    // "&" makes Alt+O and Alt+Н press the buttons; the captions still read "OK" and "Назад".
    ctlCom_ = MakeButton(this, QStringLiteral("ctlCom"), QStringLiteral("&OK"));
    ctlCom_->setDefault(true);
    ctlCom_->setToolTip(QStringLiteral("Следующая страница (Enter, Alt+O)"));
    cmBack_ = MakeButton(this, QStringLiteral("cmBack"), QStringLiteral("&Назад"));
    cmBack_->setToolTip(
        QStringLiteral("Предыдущая страница; введённые значения сохраняются (Alt+Н)"));
    label5_ =
        MakeLabel(this, QStringLiteral("Label5"),
                  FromCore(WindowCaption()) +
                      QStringLiteral(" — точный эвольвентный контур зубьев для чертежей DXF"));
    label5_->setForegroundRole(QPalette::PlaceholderText);
    busy_ = new QProgressBar(this);
    busy_->setObjectName(QStringLiteral("prBusy"));
    // No end known in advance: the bar runs to and fro until the drawing is made.
    busy_->setRange(0, 0);
    busy_->setFormat(QStringLiteral("Построение чертежа..."));
    busy_->setTextVisible(true);
    busy_->hide();
    setMinimumSize(kPageWidth + 2 * kMargin, kPageHeight + 3 * kMargin + kCommandHeight);
}

void FrmPar::PlacePages() {
    const int bottom = height() - kMargin - kCommandHeight;
    const QRect page(kMargin, kMargin, width() - 2 * kMargin, bottom - 2 * kMargin);
    // The parameters take the left half, or more when their captions and boxes need it.
    const int half = std::max(page.width() / 2, pair_->minimumSizeHint().width());
    const QRect left(page.left(), page.top(), half, page.height());
    const QRect right(page.left() + half, page.top(), page.width() - half, page.height());
    for (QWidget* whole :
         std::initializer_list<QWidget*>{start_, spline_, accuracy_, file_, report_}) {
        whole->setGeometry(page);
    }
    pair_->setGeometry(left);
    rack_->setGeometry(right.left(), right.top(), right.width(), kConturHeight);
    frIntEx_->setGeometry(right.left(), right.top() + kConturHeight, right.width(),
                          right.height() - kConturHeight);
    // Over the right half; wider, leftwards, when its captions need it.
    const int rackWidth = std::max(right.width(), customRack_->sizeHint().width());
    customRack_->setGeometry(page.right() + 1 - rackWidth, right.top(), rackWidth, right.height());

    ctlCom_->setGeometry(page.right() + 1 - kCommandWidth, bottom, kCommandWidth, kCommandHeight);
    cmBack_->setGeometry(ctlCom_->x() - kMargin - kCommandWidth, bottom, kCommandWidth,
                         kCommandHeight);
    label5_->setGeometry(page.left() + 2, bottom, cmBack_->x() - page.left() - 20, kCommandHeight);
    busy_->setGeometry(page.left(), bottom, std::min(kBusyWidth, label5_->width()), kCommandHeight);
}

void FrmPar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    PlacePages();
}

void FrmPar::Connect() {
    connect(ctlCom_, &QPushButton::clicked, this, &FrmPar::ctlCom_Click);
    connect(cmBack_, &QPushButton::clicked, this, &FrmPar::cmBack_Click);
    connect(rack_, &RackChoice::customChosen, customRack_, &CustomRackFrame::Open);
    connect(customRack_, &CustomRackFrame::stored, this, [this] {
        // What the rows show is what is stored: the designer's own rack, kept for the next time
        // the page opens.
        rack_->Button(QStringLiteral("ctlOB5"))->setChecked(true);
        rack_->SetCustom(StoredRack(state_));
    });
    connect(start_->cmOpenCalc, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Открыть расчёт"), file_->ctDir->Path(),
            QStringLiteral("Расчёты Tarvo (*.tarvo.json);;Отчёты JSON (*.json);;Все файлы (*)"));
        if (!path.isEmpty()) {
            OpenCalculation(path);
        }
    });
    connect(report_->cmSaveCalc, &QPushButton::clicked, this, [this] {
        QString suggested = file_->txtFileName->text().trimmed();
        if (suggested.endsWith(QLatin1String(".dxf"), Qt::CaseInsensitive)) {
            suggested.chop(4);
        }
        QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Сохранить расчёт"),
            QDir(file_->ctDir->Highlighted()).filePath(suggested + QStringLiteral(".tarvo.json")),
            QStringLiteral("Расчёты Tarvo (*.tarvo.json)"));
        if (path.isEmpty()) {
            return;
        }
        if (!path.endsWith(QLatin1String(".tarvo.json"))) {
            path += QStringLiteral(".tarvo.json");
        }
        SaveCalculation(path);
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
    page_ = Page::Start;
    start_->ctlOptionTip_Click(0);
    accuracy_->Load(state_.AccEv, state_.AccPer);
    cmBack_->setEnabled(false);
}

PageInput FrmPar::ReadWindow() const {
    PageInput input;
    input.page = page_;
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
    input.chkTolerance = accuracy_->chkTolerance->isChecked();
    input.txtTolerance = ToCore(accuracy_->txtTolerance->text());
    input.txtFileName = ToCore(file_->txtFileName->text());
    input.dirPath = ToCore(file_->ctDir->Path());
    input.dirHighlighted = ToCore(file_->ctDir->Highlighted());

    input.rack = rack_->ChosenRack();
    input.proposedName = proposedName_;
    input.proposedStem = proposedStem_;

    const auto [date, time] = clock_();
    input.dateText = date;
    input.timeText = time;
    return input;
}

void FrmPar::ctlCom_Click() {
    // A press that waited in the queue while a drawing was made does nothing.
    if (Building()) {
        return;
    }
    if (page_ == Page::GearPair && !ClosePopUps()) {
        return;
    }
    if (page_ == Page::Accuracy) {
        // The counts are taken as the boxes would be on losing the focus, so a count typed
        // and confirmed without leaving its box still reaches the drawing in range.
        accuracy_->txtAccEv_LostFocus();
        accuracy_->txtAccPer_LostFocus();
    }
    if (!TableInputAccepted()) {
        return;
    }
    const PageInput input = ReadWindow();
    if (input.page == Page::File) {
        if (!MayWrite(OutputPath(input))) {
            // Nothing written: the name is there to change.
            file_->txtFileName->setFocus();
            file_->txtFileName->selectAll();
            return;
        }
        const auto read = ReadStepChoice(*file_);
        if (!read.ok()) {
            messages_->Show(read.fault());
            file_->txtFaceWidth->setFocus();
            return;
        }
        std::optional<StepChoice> step = read.value();
        if (step) {
            step->wheel1Hand = pair_->cboHand->currentIndex() == 1 ? Hand::Left : Hand::Right;
        }
        StartBuild(input, step);
        return;
    }
    ApplyOutcome(input, CtlComClick(state_, input, build_));
}

bool FrmPar::TableInputAccepted() {
    std::optional<std::string> problem;
    QWidget* box = nullptr;
    if (page_ == Page::GearPair && pair_->cboHand->isVisible()) {
        const Hand hand = pair_->cboHand->currentIndex() == 1 ? Hand::Left : Hand::Right;
        std::string beta = ToCore(pair_->txtBeta->text());
        std::replace(beta.begin(), beta.end(), ',', '.');
        problem = HandConflict(LeadingNumber(beta), hand);
        box = pair_->cboHand;
    } else if (page_ == Page::Accuracy) {
        problem = AccuracyTextProblem(ToCore(accuracy_->txtAccuracy->text()));
        box = accuracy_->txtAccuracy;
    }
    if (!problem) {
        return true;
    }
    messages_->Show({"Неверно задан параметр:\r\n" + *problem + " !", MessageIcon::Critical, ""});
    box->setFocus();
    return false;
}

SheetOptions FrmPar::SheetOptionsOfPages() const {
    SheetOptions options;
    options.hand = pair_->cboHand->currentIndex() == 1 ? Hand::Left : Hand::Right;
    const std::string accuracy = ToCore(accuracy_->txtAccuracy->text());
    if (!accuracy.empty()) {
        options.accuracy = accuracy;
    }
    options.spline =
        start_->TaskChoice() == QStringLiteral("2") ? SplineNorm::Ost100086 : SplineNorm::Gost6033;
    return options;
}

void FrmPar::StartBuild(const PageInput& input, const std::optional<StepChoice>& step) {
    auto job = std::make_shared<BuildJob>();
    job->state = state_;
    job->input = input;
    job->step = step;
    worker_ = QThread::create([job, build = build_, options = SheetOptionsOfPages()] {
        job->outcome = CtlComClick(job->state, job->input, build);
        if (Written(*job->outcome)) {
            const PageOutcome& written = job->outcome->value();
            job->readBack =
                ReadBackWritten(job->state, *written.call, written.drawn->value(), options);
            if (job->step) {
                job->stepLine = WriteStepBeside(job->state, *written.call, *job->step);
            }
        }
    });
    // Emitted on the worker thread, handled on the window's once the drawing is made.
    connect(worker_, &QThread::finished, this, [this, job] {
        worker_->wait();
        delete worker_;
        worker_ = nullptr;
        state_ = std::move(job->state);
        SetBusy(false);
        ApplyOutcome(job->input, *job->outcome);
        if (Written(*job->outcome)) {
            report_->drawing->Show(std::move(*job->readBack));
            // What made a drawing is kept at once, not only when the window closes.
            SaveSettings();
            if (job->stepLine) {
                report_->txtRep->appendPlainText(FromCore(*job->stepLine));
            }
        }
    });
    SetBusy(true);
    worker_->start();
}

void FrmPar::SetBusy(bool busy) {
    ctlCom_->setEnabled(!busy);
    cmBack_->setEnabled(!busy);
    // The file page's lists and name wait too, so what is written is what was chosen.
    file_->setEnabled(!busy);
    busy_->setVisible(busy);
    label5_->setVisible(!busy);
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

bool FrmPar::ClosePopUps() {
    // The angle first: it may be the custom rack's profile angle.
    if (anglePanel_->IsOpen()) {
        anglePanel_->ctlCommand_Click();
    }
    if (customRack_->IsOpen()) {
        customRack_->ComOK_Click();
    }
    return !customRack_->IsOpen();
}

void FrmPar::cmBack_Click() {
    if (Building()) {
        return;
    }
    switch (page_) {
        case Page::Start:
            return;
        case Page::GearPair:
            if (!ClosePopUps()) {
                return;
            }
            ShowPage(Page::Start);
            break;
        case Page::Spline:
            ShowPage(Page::Start);
            break;
        case Page::Accuracy:
            ShowPage(start_->TaskChoice() == QLatin1String("0") ? Page::GearPair : Page::Spline);
            break;
        case Page::File:
            ShowPage(Page::Accuracy);
            break;
        case Page::Report:
            ShowPage(Page::File);
            break;
    }
    AfterPageChange();
}

void FrmPar::ShowPage(Page page) {
    for (QWidget* frame : std::initializer_list<QWidget*>{start_, pair_, rack_, frIntEx_, spline_,
                                                          accuracy_, file_, report_}) {
        frame->hide();
    }
    page_ = page;
    switch (page) {
        case Page::Start:
            start_->show();
            break;
        case Page::GearPair:
            pair_->show();
            rack_->show();
            frIntEx_->show();
            break;
        case Page::Spline:
            spline_->show();
            break;
        case Page::Accuracy:
            accuracy_->show();
            break;
        case Page::File:
            file_->show();
            break;
        case Page::Report:
            report_->show();
            break;
    }
    FirstControl(page)->setFocus();
}

QWidget* FrmPar::FirstControl(Page page) const {
    switch (page) {
        case Page::Start:
            for (QRadioButton* option : start_->ctlOptionTip) {
                if (option->isChecked()) {
                    return option;
                }
            }
            return start_->ctlOptionTip[0];
        case Page::GearPair:
            return pair_->txtm;
        case Page::Spline:
            return spline_->txtmSL;
        case Page::Accuracy:
            return accuracy_->txtAccEv;
        case Page::File:
            return file_->txtFileName;
        case Page::Report:
            return ctlCom_;
    }
    return ctlCom_;
}

void FrmPar::AfterPageChange() {
    if (page_ == Page::File) {
        // Folders made and drawings written since the page was last shown appear in its lists.
        file_->Refresh();
    }
    SyncPopUps();
    cmBack_->setEnabled(page_ != Page::Start && !Building());
}

void FrmPar::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QWidget* focus = QApplication::focusWidget();
    if (!enter || focus == nullptr || qobject_cast<QAbstractItemView*>(focus) != nullptr) {
        // A list opens its entry on Enter; that is not a press of "OK".
        QWidget::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focus)) {
        button->click();
    } else if (anglePanel_->isAncestorOf(focus)) {
        anglePanel_->ctlCommand->click();
    } else if (customRack_->isAncestorOf(focus)) {
        customRack_->ComOK->click();
    } else if (ctlCom_->isEnabled()) {
        ctlCom_->click();
    }
    event->accept();
}

void FrmPar::ApplyOutcome(const PageInput& input, const PageResult& result) {
    if (!result.ok()) {
        // Refused: the page stays; the box to change, or the page's first control, gets the
        // focus.
        const PageRefusal& refusal = result.fault();
        AfterPageChange();
        messages_->Show(refusal.message);
        (refusal.focus ? BoxWidget(*refusal.focus) : FirstControl(page_))->setFocus();
        return;
    }
    const PageOutcome& outcome = result.value();
    for (Frame frame : outcome.hide) {
        FrameWidget(frame)->hide();
    }
    for (Frame frame : outcome.show) {
        FrameWidget(frame)->show();
    }
    page_ = outcome.next;
    if (outcome.txtFileName) {
        file_->txtFileName->setText(FromCore(*outcome.txtFileName));
    }
    if (outcome.txtX) {
        spline_->txtX->setText(FromCore(*outcome.txtX));
    }
    if (outcome.txtRep) {
        report_->txtRep->setPlainText(FromCore(*outcome.txtRep));
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
    if (outcome.proposedStem && outcome.txtFileName) {
        proposedStem_ = *outcome.proposedStem;
        proposedName_ = *outcome.txtFileName;
    }
    AfterPageChange();
    if (outcome.message) {
        messages_->Show(*outcome.message);
    }
    if (outcome.focus) {
        BoxWidget(*outcome.focus)->setFocus();
    } else {
        // A new page starts with the focus on its first control, so Enter and typing go there;
        // the file page kept after a failure gets it back in the name box, which waited
        // disabled while the drawing was tried.
        FirstControl(outcome.next)->setFocus();
    }
}

void FrmPar::SyncPopUps() {
    const bool pairShowing = page_ == Page::GearPair;
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
        case Box::txtBeta:
            return pair_->txtBeta;
        case Box::txtx1:
            return pair_->txtx1;
        case Box::txtx2:
            return pair_->txtx2;
        case Box::txtJbn:
            return pair_->txtJbn;
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
        case Box::txtTolerance:
            return accuracy_->txtTolerance;
    }
    return nullptr;
}

bool FrmPar::MayWrite(const std::string& path) {
    const QFileInfo target(FromCore(path));
    // A folder of that name is refused by the writer with its own message.
    if (!target.exists() || target.isDir()) {
        return true;
    }
    return messages_->Ask(
        {"Файл " + path + " уже существует. Заменить его?", MessageIcon::Exclamation, "Внимание!"});
}

void FrmPar::closeEvent(QCloseEvent* event) {
    SaveSettings();
    QWidget::closeEvent(event);
}

// Settings keys beside the controls'.
namespace {
const QString kFolderKey = QStringLiteral("window/folder");
const QString kGeometryKey = QStringLiteral("window/geometry");
const QString kProposedNameKey = QStringLiteral("window/proposedName");
const QString kProposedStemKey = QStringLiteral("window/proposedStem");
}  // namespace

void FrmPar::UseSettings(const QString& file) {
    settingsFile_ = file;
    const QSettings settings(file, QSettings::IniFormat);
    if (!IsOurSettings(settings)) {
        return;
    }
    RestoreControls(this, settings);
    proposedName_ = ToCore(settings.value(kProposedNameKey).toString());
    proposedStem_ = ToCore(settings.value(kProposedStemKey).toString());
    const QString folder = settings.value(kFolderKey).toString();
    if (!folder.isEmpty() && file_->ctDir->Open(folder).ok()) {
        file_->RefreshFiles();
    }
    restoreGeometry(settings.value(kGeometryKey).toByteArray());
    AfterFill();
}

void FrmPar::SaveSettings() const {
    if (settingsFile_.isEmpty()) {
        return;
    }
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.clear();
    SaveControls(this, settings);
    settings.setValue(kFolderKey, file_->ctDir->Highlighted());
    settings.setValue(kGeometryKey, saveGeometry());
    settings.setValue(kProposedNameKey, FromCore(proposedName_));
    settings.setValue(kProposedStemKey, FromCore(proposedStem_));
    settings.sync();
}

void FrmPar::AfterFill() {
    for (int i = 0; i < 3; ++i) {
        if (start_->ctlOptionTip[static_cast<std::size_t>(i)]->isChecked()) {
            start_->ctlOptionTip_Click(i);
        }
    }
    if (rack_->ChosenButton() == QLatin1String("ctlOB5")) {
        // The designer's own rack, stored again from its boxes as its "OK" stored it.
        std::array<std::string, 5> texts;
        const std::array<QLineEdit*, 5> boxes = {customRack_->TextAlfa, customRack_->TextH,
                                                 customRack_->TextHf, customRack_->TextC,
                                                 customRack_->TextRo};
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            texts[i] = ToCore(boxes[i]->text());
        }
        MainMod scratch;
        if (StoreCustomRack(scratch, texts).ok()) {
            rack_->SetCustom(StoredRack(scratch));
        } else {
            rack_->SelectFirstRow();
        }
    }
    accuracy_->txtAccEv_LostFocus();
    accuracy_->txtAccPer_LostFocus();
}

bool FrmPar::SaveCalculation(const QString& path) {
    QSaveFile file(path);
    const QByteArray text =
        QByteArray::fromStdString(CalculationFileJson(CalculationOfWindow(this)));
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        messages_->Show({"Расчёт не сохранён: не удалось записать файл\r\n" + ToCore(path) +
                             "\r\n" + ToCore(file.errorString()),
                         MessageIcon::Exclamation, "Внимание!"});
        return false;
    }
    return true;
}

bool FrmPar::OpenCalculation(const QString& path) {
    QFile file(path);
    std::optional<std::string> problem;  // why the calculation was not taken
    if (!file.open(QIODevice::ReadOnly)) {
        problem = "файл не открывается: " + ToCore(file.errorString());
    } else {
        const CalculationRead read = ReadCalculation(file.readAll().toStdString());
        if (!read.ok()) {
            problem = read.fault();
        } else {
            problem = FillWindow(this, read.value());
        }
    }
    if (problem) {
        messages_->Show({"Расчёт не открыт: " + ToCore(path) + "\r\n" + *problem,
                         MessageIcon::Exclamation, "Внимание!"});
        return false;
    }
    AfterFill();
    // Round again from the start page with the task of the calculation chosen.
    ShowPage(Page::Start);
    AfterPageChange();
    return true;
}

std::unique_ptr<FrmPar> StartWindow(MainMod& state, MessageSink* messages, Builder build) {
    InitMainMod(state);
    auto window = std::make_unique<FrmPar>(state, messages, std::move(build));
    window->setWindowTitle(FromCore(WindowCaption()));
    return window;
}

}  // namespace tarvo::ui
