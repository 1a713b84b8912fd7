// The folder list ctDir of the file page: the opened folder with its parents above it and its
// subfolders below. Highlighting an entry (a click, the arrow keys) only selects it; opening one
// (a double click, Enter) makes it the opened folder and lists its subfolders.
#pragma once

#include <QListWidget>
#include <QString>

#include "math/outcome.h"

namespace tarvo::ui {

class FolderList : public QListWidget {
    Q_OBJECT
  public:
    explicit FolderList(QWidget* parent);

    // Opens `folder`. When it cannot be read, the list stays as it was and the failure holds
    // the operating system's words.
    Outcome<Done, QString> Open(const QString& folder);

    // The opened folder.
    QString Path() const { return path_; }
    // The folder of the highlighted entry; the opened folder when nothing else is highlighted.
    QString Highlighted() const;
    // The entry of `folder`, or null.
    QListWidgetItem* Entry(const QString& folder) const;

  signals:
    // The opened folder changed (the file page then lists its drawing files).
    void opened();
    // An entry could not be opened; the list is unchanged.
    void openFailed(const QString& reason);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void OpenEntry(QListWidgetItem* item);

    QString path_;
};

// Whether a folder can be listed: done, or the operating system's words for why not.
Outcome<Done, QString> CanList(const QString& folder);

}  // namespace tarvo::ui
