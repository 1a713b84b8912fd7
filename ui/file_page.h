// The file page frFile: where the drawing goes. A drive list (on Linux the file-system root, the
// home folder and the mounted volumes), the folder list, the drawing files already in the opened
// folder, and the name of the file to write.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>

#include "ui/folder_list.h"
#include "ui/message_sink.h"

namespace tarvo::ui {

class FilePage : public QGroupBox {
    Q_OBJECT
  public:
    // Starts in the process's current folder.
    FilePage(QWidget* parent, MessageSink& messages);

    // A drive was chosen: the folder list moves to it, or, when it cannot be opened, the
    // message "<reason>!" titled "Внимание!" is shown, the lists stay and the focus returns to
    // the drive list.
    void ctDisc_Change();
    // The opened folder changed: the file list shows its drawing files.
    void ctDir_Change();
    // A file was clicked: its name goes into the name box.
    void ctFile_Click(QListWidgetItem* item);
    // Lists the opened folder's drawing files again (a drawing may have been added).
    void RefreshFiles();
    // Lists the opened folder's subfolders and drawing files again, keeping the highlighted
    // folder: what was made since the page was last shown appears.
    void Refresh();

    QComboBox* ctDisc = nullptr;
    FolderList* ctDir = nullptr;
    QListWidget* ctFile = nullptr;
    QLineEdit* txtFileName = nullptr;
    // The 3-D model beside the drawing: asked for, its face width b and the rim diameter of
    // internal teeth (empty: the root diameter plus 6 m). The boxes follow the check box.
    QCheckBox* chkStep = nullptr;
    QLineEdit* txtFaceWidth = nullptr;
    QLineEdit* txtRim = nullptr;

  private:
    void ShowFailure(const QString& reason);

    MessageSink& messages_;
};

// Whether the file list shows a file of this name: exactly the names ending in ".dxf" or ".DXF".
bool IsDrawingFileName(const QString& name);

}  // namespace tarvo::ui
