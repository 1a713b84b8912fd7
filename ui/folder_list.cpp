// Folder list.
#include "ui/folder_list.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

#include <filesystem>
#include <system_error>

#include "app/os_reason.h"

namespace tarvo::ui {

namespace {
// Each level of the folder tree is indented by this many blanks.
constexpr int kIndentBlanks = 3;
}  // namespace

Outcome<Done, QString> CanList(const QString& folder) {
    std::error_code error;
    std::filesystem::directory_iterator listing(std::filesystem::path(folder.toStdString()), error);
    if (!error) {
        return Done{};
    }
    return Outcome<Done, QString>::Failure(QString::fromStdString(RussianOsReason(error)));
}

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setObjectName(QStringLiteral("ctDir"));
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemDoubleClicked, this, &FolderList::OpenEntry);
}

Outcome<Done, QString> FolderList::Open(const QString& folder) {
    const QString target = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (auto listed = CanList(target); !listed.ok()) {
        return listed;
    }
    path_ = target;

    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    // The chain from the root down to the opened folder, one level further in each time.
    QStringList chain;
    for (QDir dir(path_);;) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp()) {
            break;
        }
    }
    int depth = 0;
    for (const QString& ancestor : chain) {
        const QString name = QDir(ancestor).isRoot() ? QDir::toNativeSeparators(ancestor)
                                                     : QFileInfo(ancestor).fileName();
        auto* entry =
            new QListWidgetItem(openIcon, QString(depth * kIndentBlanks, ' ') + name, this);
        entry->setData(Qt::UserRole, ancestor);
        entry->setToolTip(QDir::toNativeSeparators(ancestor));
        ++depth;
    }
    QListWidgetItem* openedEntry = item(count() - 1);
    const QStringList subfolders =
        QDir(path_).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subfolders) {
        const QString sub = QDir(path_).filePath(name);
        auto* entry =
            new QListWidgetItem(closedIcon, QString(depth * kIndentBlanks, ' ') + name, this);
        entry->setData(Qt::UserRole, sub);
        entry->setToolTip(QDir::toNativeSeparators(sub));
    }
    setCurrentItem(openedEntry);
    scrollToItem(openedEntry);
    emit opened();
    return Done{};
}

QString FolderList::Highlighted() const {
    const QListWidgetItem* item = currentItem();
    return item == nullptr ? path_ : item->data(Qt::UserRole).toString();
}

QListWidgetItem* FolderList::Entry(const QString& folder) const {
    for (int i = 0; i < count(); ++i) {
        if (item(i)->data(Qt::UserRole).toString() == folder) {
            return item(i);
        }
    }
    return nullptr;
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentItem()) {
        OpenEntry(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}

void FolderList::OpenEntry(QListWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    const auto opened = Open(item->data(Qt::UserRole).toString());
    if (!opened.ok()) {
        emit openFailed(opened.fault());
    }
}

}  // namespace tarvo::ui
