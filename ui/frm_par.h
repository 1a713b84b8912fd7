// The window frmPar: the one window of Tarvo, and the owner of its pages.
//
// Which class owns which page: StartPage is the task choice (frStartOpt); the gear-pair page is
// three frames, PairFrame (frPar: module, helix angle, tooth numbers, shifts, backlash),
// RackChoice (frContur: the basic rack rows) and the mesh type frame frIntEx built here; the
// gear-pair page's two pop-ups are CustomRackFrame (frAltContur: the designer's own rack) and
// AnglePanel (frGradTrans: an angle in degrees, minutes and seconds); SplinePage (FrParSl) is
// the spline member; AccuracyPage (frAcc) the point counts; FilePage (frFile) the folder and
// name of the drawing, with its FolderList; ReportPage (frSave) the path written and beside it
// DrawingReport, the drawing read back from its file with its data sheet. FrmPar places
// them in one rectangle above the "OK" button and owns nothing else but that button.
//
// How a press of "OK" flows: ctlCom_Click reads the window into a PageInput (the page showing,
// which the window holds as a value set whenever it shows a page, the task choice, the option
// buttons, the texts of the boxes, the captions the messages quote, the folder list's opened and
// highlighted folders, the date and time), and hands it to CtlComClick in app/page_command, which
// checks and stores into MainMod and, on leaving the file page, calls one drawing builder (external
// pair, internal pair or spline) that writes the DXF file. What comes back is a PageRefusal
// (the message and the box to change; the page stays) or a PageOutcome, which says which frames
// to hide and show, which texts to write (the proposed file name, the emptied spline shift, the
// path on the report page), what message to show and which box gets the focus; ApplyOutcome
// carries either out. Leaving the file page runs on a
// worker thread, on a copy of MainMod: the page command makes the drawing and, when it is written,
// the worker reads the file back and makes its data sheet; meanwhile "OK" and "Назад" wait, the
// cursor is busy and a busy bar runs. The copy comes back on the window's thread, where the
// outcome is applied and the report page shows the drawing read back. "Назад" (cmBack_Click) shows
// the page before, storing nothing and keeping every entry. Leaving the gear-pair page either way
// applies the open pop-ups, as their own "OK" would.
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/page_command.h"
#include "profile/main_mod.h"
#include "report/data_sheet.h"
#include "ui/message_sink.h"
#include "ui/step_model.h"

namespace tarvo::ui {

class AccuracyPage;
class AnglePanel;
class CustomRackFrame;
class FilePage;
class PairFrame;
class RackChoice;
class ReportPage;
class SplinePage;
class StartPage;

// The caption the window is built with, replaced by the release caption before the
// window is first shown.
inline const QString kWindowCaption = QStringLiteral("Эвольвентный  контур");

class FrmPar : public QWidget {
    Q_OBJECT
  public:
    // `messages`: where messages go; null shows real message boxes over the window.
    // `build`: makes the drawing when the file page is left.
    FrmPar(MainMod& state, MessageSink* messages = nullptr, Builder build = RunBuilder);
    ~FrmPar() override;

    // Runs once as the window is created: only the start page shows, the task choice reads
    // "0", and the accuracy page shows the stored counts.
    void Form_Load();
    // The page command.
    void ctlCom_Click();
    // "Назад": the page before, entries kept, nothing stored.
    void cmBack_Click();
    // A drawing is being made on the worker thread.
    bool Building() const { return worker_ != nullptr; }
    // The page showing.
    Page CurrentPage() const { return page_; }

    // Keeps the window's entries in `file` between runs: restores them now (a file that is not
    // this program's settings is ignored) and writes them when the window closes.
    void UseSettings(const QString& file);
    // Writes the entries, the folder and the window's place into the settings file, if any.
    void SaveSettings() const;

    // "Сохранить расчёт..." and "Открыть расчёт..." without their file dialogs: false when the
    // file was not written or not taken (a message says why; the pages are then unchanged).
    bool SaveCalculation(const QString& path);
    bool OpenCalculation(const QString& path);

    // The current date and time as the default file name quotes them (regional short date,
    // time with seconds); tests may fix them.
    using Clock = std::function<std::pair<std::string, std::string>()>;
    void SetClock(Clock clock) { clock_ = std::move(clock); }

  protected:
    // Enter presses "OK" (or the focused button, or the open pop-up's own "OK").
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Build();
    void Connect();
    // The pages fill the window above the buttons, whatever its size.
    void PlacePages();
    // Applies the open pop-ups of the gear-pair page; false when the custom rack was refused
    // (its message says why, and it stays open).
    bool ClosePopUps();
    void StartBuild(const PageInput& input, const std::optional<StepChoice>& step);
    // The hand on the pair page and the accuracy designation on the accuracy page, checked
    // before the page command: a refusal shows why and keeps the page.
    bool TableInputAccepted();
    // What the data sheet takes from the pages beyond the drawing.
    SheetOptions SheetOptionsOfPages() const;
    void SetBusy(bool busy);
    // Shows `page` alone; the page command's own frames, without storing anything.
    void ShowPage(Page page);
    QWidget* FirstControl(Page page) const;
    void AfterPageChange();
    PageInput ReadWindow() const;
    void ApplyOutcome(const PageInput& input, const PageResult& result);
    // The pop-ups belong to the gear-pair page: shown while it shows and they are open.
    void SyncPopUps();
    QWidget* FrameWidget(Frame frame) const;
    QWidget* BoxWidget(Box box) const;
    // Whether the drawing may be written to `path`: no file there, or the designer agreed to
    // replace it.
    bool MayWrite(const std::string& path);
    // After settings or a calculation filled the controls: the task's Tag and the rack rows'
    // own rack follow what the controls show.
    void AfterFill();

    MainMod& state_;
    std::unique_ptr<MessageSink> ownMessages_;
    MessageSink* messages_;
    Builder build_;
    Clock clock_;

    StartPage* start_ = nullptr;
    PairFrame* pair_ = nullptr;
    RackChoice* rack_ = nullptr;
    QGroupBox* frIntEx_ = nullptr;
    std::array<QRadioButton*, 2> opTip_{};
    SplinePage* spline_ = nullptr;
    AccuracyPage* accuracy_ = nullptr;
    FilePage* file_ = nullptr;
    ReportPage* report_ = nullptr;
    CustomRackFrame* customRack_ = nullptr;
    AnglePanel* anglePanel_ = nullptr;
    QPushButton* ctlCom_ = nullptr;
    QPushButton* cmBack_ = nullptr;
    QLabel* label5_ = nullptr;
    QProgressBar* busy_ = nullptr;
    // The thread making the drawing, from the file page's "OK" until its outcome is applied.
    QThread* worker_ = nullptr;
    // The page showing: set with the frames each time a page is shown, never read back from
    // which frames are visible.
    Page page_ = Page::Start;
    // The last name the page command proposed and its stem.
    std::string proposedName_, proposedStem_;
    // Where the entries are kept between runs; empty keeps nothing.
    QString settingsFile_;
};

// The current date and time in the designer's regional form, with no character that would
// split a file name into folders.
std::pair<std::string, std::string> RegionalNow();

// Start-up without the event loop: the default accuracy into `state`, the window created and
// loaded, the release caption set and the gear icon given.
std::unique_ptr<FrmPar> StartWindow(MainMod& state, MessageSink* messages = nullptr,
                                    Builder build = RunBuilder);

}  // namespace tarvo::ui
