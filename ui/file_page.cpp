// File page.
#include "ui/file_page.h"

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QStorageInfo>

#include "ui/controls.h"

namespace tarvo::ui {

namespace {

// The starting places a designer can choose on a system without drive letters: the root of the
// file system, the home folder and every mounted volume, each once.
void FillDrives(QComboBox* drives) {
    QStringList seen;
    const auto add = [&](const QString& text, const QString& folder) {
        const QString clean = QDir::cleanPath(folder);
        if (clean.isEmpty() || seen.contains(clean)) {
            return;
        }
        seen << clean;
        drives->addItem(text, clean);
    };
    add(QDir::rootPath(), QDir::rootPath());
    add(QStringLiteral("~  ") + QDir::homePath(), QDir::homePath());
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Single files bound into the tree (as containers do) are not places to save into.
        if (!volume.isValid() || !QFileInfo(volume.rootPath()).isDir()) {
            continue;
        }
        const QString name = volume.displayName();
        add(name == volume.rootPath() ? name
                                      : volume.rootPath() + QStringLiteral("  [") + name + ']',
            volume.rootPath());
    }
}

// The drive holding `folder`: the entry whose folder is the longest leading part of it.
int DriveOf(const QComboBox* drives, const QString& folder) {
    int best = 0;
    qsizetype bestLength = -1;
    for (int i = 0; i < drives->count(); ++i) {
        const QString root = drives->itemData(i).toString();
        const bool holds = folder == root || root == QDir::rootPath() ||
                           folder.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    return best;
}

}  // namespace

bool IsDrawingFileName(const QString& name) {
    return name.endsWith(QLatin1String(".dxf"), Qt::CaseSensitive) ||
           name.endsWith(QLatin1String(".DXF"), Qt::CaseSensitive);
}

FilePage::FilePage(QWidget* parent, MessageSink& messages)
    : QGroupBox(QStringLiteral("Сохранение файла DXF"), parent), messages_(messages) {
    setObjectName(QStringLiteral("frFile"));
    ctDisc = new QComboBox(this);
    ctDisc->setObjectName(QStringLiteral("ctDisc"));
    ctDir = new FolderList(this);
    ctFile = new QListWidget(this);
    ctFile->setObjectName(QStringLiteral("ctFile"));
    QLabel* nameLabel = MakeLabel(this, GroupName("Label3", 0), QStringLiteral("Имя файла:"));
    txtFileName = MakeBox(this, QStringLiteral("txtFileName"),
                          QStringLiteral("Имя файла чертежа в выбранной папке; если оно не "
                                         "кончается на .dxf или .DXF, .dxf добавляется"));
    nameLabel->setBuddy(txtFileName);
    chkStep = new QCheckBox(QStringLiteral("Сохранить также 3D-модель (STEP)"), this);
    chkStep->setObjectName(QStringLiteral("chkStep"));
    chkStep->setToolTip(QStringLiteral(
        "Каждое колесо — точным телом в файле STEP рядом с чертежом, под тем же именем"));
    QLabel* widthLabel =
        MakeLabel(this, QStringLiteral("lbFaceWidth"), QStringLiteral("Ширина венца b, мм"));
    txtFaceWidth =
        MakeBox(this, QStringLiteral("txtFaceWidth"), QStringLiteral("Ширина венца, больше нуля"));
    txtFaceWidth->setText(QStringLiteral("20"));
    widthLabel->setBuddy(txtFaceWidth);
    QLabel* rimLabel = MakeLabel(this, QStringLiteral("lbRim"),
                                 QStringLiteral("Диаметр обода (внутренние зубья), мм"));
    txtRim =
        MakeBox(this, QStringLiteral("txtRim"), QStringLiteral("Пусто: диаметр впадин плюс 6 m"));
    rimLabel->setBuddy(txtRim);
    const auto follow = [this](bool on) {
        txtFaceWidth->setEnabled(on);
        txtRim->setEnabled(on);
    };
    follow(false);
    connect(chkStep, &QCheckBox::toggled, this, follow);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(6);
    grid->addWidget(ctDisc, 0, 0);
    grid->addWidget(ctDir, 1, 0);
    grid->addWidget(ctFile, 0, 1, 2, 1);
    grid->addWidget(nameLabel, 2, 0, 1, 2);
    grid->addWidget(txtFileName, 3, 0, 1, 2);
    grid->addWidget(chkStep, 4, 0, 1, 2);
    grid->addWidget(widthLabel, 5, 0);
    grid->addWidget(txtFaceWidth, 5, 1);
    grid->addWidget(rimLabel, 6, 0);
    grid->addWidget(txtRim, 6, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    FillDrives(ctDisc);
    const QString start = QDir::currentPath();
    ctDisc->setCurrentIndex(DriveOf(ctDisc, start));
    if (!ctDir->Open(start).ok()) {
        // A current folder that cannot be listed: start at the root instead.
        (void)ctDir->Open(QDir::rootPath());
    }
    RefreshFiles();

    connect(ctDisc, &QComboBox::currentIndexChanged, this, &FilePage::ctDisc_Change);
    connect(ctDir, &FolderList::opened, this, &FilePage::ctDir_Change);
    connect(ctDir, &FolderList::openFailed, this, [this](const QString& failure) {
        ShowFailure(failure);
        ctDir->setFocus();
    });
    connect(ctFile, &QListWidget::itemClicked, this, &FilePage::ctFile_Click);
    connect(ctFile, &QListWidget::itemActivated, this, &FilePage::ctFile_Click);
}

void FilePage::ctDisc_Change() {
    const auto opened = ctDir->Open(ctDisc->currentData().toString());
    if (!opened.ok()) {
        ShowFailure(opened.fault());
        ctDisc->setFocus();
    }
}

void FilePage::ctDir_Change() {
    RefreshFiles();
}

void FilePage::ctFile_Click(QListWidgetItem* item) {
    if (item != nullptr) {
        txtFileName->setText(item->text());
    }
}

void FilePage::RefreshFiles() {
    ctFile->clear();
    const QStringList files =
        QDir(ctDir->Path())
            .entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : files) {
        if (IsDrawingFileName(name)) {
            ctFile->addItem(name);
        }
    }
}

void FilePage::Refresh() {
    const QString highlighted = ctDir->Highlighted();
    // A folder removed meanwhile cannot be listed: the lists then stay as they were.
    if (ctDir->Open(ctDir->Path()).ok()) {
        if (QListWidgetItem* entry = ctDir->Entry(highlighted)) {
            ctDir->setCurrentItem(entry);
        }
    }
    RefreshFiles();
}

void FilePage::ShowFailure(const QString& reason) {
    messages_.Show({ToCore(reason + '!'), MessageIcon::Exclamation, "Внимание!"});
}

}  // namespace tarvo::ui
