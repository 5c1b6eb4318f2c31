#include "app/report/TdlgPrintProfiles.h"

#include "app/common/Dialogs.h"
#include "app/common/LanguageTexts.h"
#include "app/common/WindowPlacement.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QVBoxLayout>

namespace {

constexpr const char* kSection = "PrintProfilesForm";
constexpr int kPathRole = Qt::UserRole;

QString WithSeparator(const QString& directory) {
    return directory.isEmpty() || directory.endsWith('/') ? directory : directory + '/';
}

} // namespace

TdlgPrintProfiles::TdlgPrintProfiles(QWidget* parent) : QDialog(parent) {
    setObjectName(kSection);
    setWindowTitle("Print Profiles");
    BuildControls();
    FormCreate();
    adjustSize();
    CenterOnScreen(*this);
}

void TdlgPrintProfiles::BuildControls() {
    // Without drive letters the selector offers the mounted volumes (a USB stick, a network
    // share), which is what a drive stands for there.
    drives_ = new QComboBox(this);
    drives_->setObjectName("DriveComboBox1");
    directories_ = new QListWidget(this);
    directories_->setObjectName("DirectoryListBox");
    directories_->setMinimumSize(220, 260);
    files_ = new QListWidget(this);
    files_->setObjectName("FileListBox");
    files_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    files_->setMinimumSize(180, 260);

    auto* kindBox = new QGroupBox(this);
    kindBox->setObjectName("rdbGraphKind");
    auto* kindLayout = new QVBoxLayout(kindBox);
    auto* kindGroup = new QButtonGroup(this);
    for (const GraphKindSpec& kind : GraphKinds()) {
        auto* button = new QRadioButton(kind.builtInCaption, kindBox);
        button->setObjectName(QString("rdbRdb%1").arg(int(kind.kind)));
        kindGroup->addButton(button, int(kind.kind));
        kindLayout->addWidget(button);
        kinds_.append(button);
    }
    kinds_.first()->setChecked(true);
    kindLayout->addStretch();

    okButton_ = new QPushButton("OK", this);
    okButton_->setObjectName("btnOK");
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton("Cancel", this);
    cancelButton_->setObjectName("BtnCancel");
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* pathColumn = new QVBoxLayout;
    pathColumn->addWidget(drives_);
    pathColumn->addWidget(directories_, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(pathColumn);
    lists->addWidget(files_);
    lists->addWidget(kindBox);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(drives_, &QComboBox::activated, this,
            [this](int index) { PointAt(drives_->itemData(index, kPathRole).toString()); });
    // A directory is opened as in a file dialog: double click or Enter.
    connect(directories_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        ShowDirectoryList(item->data(kPathRole).toString());
        DirectoryListBoxChange();
    });
}

void TdlgPrintProfiles::FormCreate() {
    mask_ = "zq*.xml";
    try {
        LanguageTexts texts;
        for (qsizetype i = 0; i < kinds_.size(); ++i)
            kinds_[i]->setText(texts.Text("ProjectForm", GraphKinds()[i].tabKey));
        setWindowTitle(texts.Text(kSection, "Title"));
    } catch (const std::exception& e) {
        ShowFileError(this, QString::fromUtf8(e.what()));
    }
}

void TdlgPrintProfiles::PointAt(const QString& directory) {
    ShowDirectoryList(directory);
    // Read afresh even when the directory is the one shown last time: files come and go
    // between two uses of the dialog.
    fileDirectory_ = directory_;
    ReadFileList();
}

void TdlgPrintProfiles::DirectoryListBoxChange() {
    if (directory_ == fileDirectory_)
        return; // keeps the selection
    fileDirectory_ = directory_;
    ReadFileList();
}

void TdlgPrintProfiles::ShowDirectoryList(const QString& directory) {
    directory_ = WithSeparator(QDir::cleanPath(QDir(directory).absolutePath()));
    directories_->clear();
    // The path down from the root, then the folders inside the directory.
    QStringList ancestors;
    for (QDir dir(directory_);;) {
        ancestors.prepend(dir.absolutePath());
        if (!dir.cdUp())
            break;
    }
    for (qsizetype depth = 0; depth < ancestors.size(); ++depth) {
        const QString path = ancestors[depth];
        const QString name = QFileInfo(path).fileName();
        auto* item = new QListWidgetItem(
            QString(int(depth) * 2, ' ') + (name.isEmpty() ? QDir::toNativeSeparators(path) : name),
            directories_);
        item->setData(kPathRole, path);
    }
    directories_->setCurrentRow(directories_->count() - 1);
    const QString indent(int(ancestors.size()) * 2, ' ');
    const QStringList folders =
        QDir(directory_)
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& folder : folders) {
        auto* item = new QListWidgetItem(indent + folder, directories_);
        item->setData(kPathRole, directory_ + folder);
    }
    ShowDrives();
}

void TdlgPrintProfiles::ShowDrives() {
    drives_->clear();
    int shown = -1;
    qsizetype shownLength = -1;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady())
            continue;
        const QString root = WithSeparator(volume.rootPath());
        drives_->addItem(QDir::toNativeSeparators(volume.rootPath()));
        drives_->setItemData(drives_->count() - 1, root, kPathRole);
        // The volume that holds the directory is the one with the longest root before it.
        if (directory_.startsWith(root) && root.size() > shownLength) {
            shown = drives_->count() - 1;
            shownLength = root.size();
        }
    }
    drives_->setCurrentIndex(shown);
}

void TdlgPrintProfiles::ReadFileList() {
    files_->clear();
    if (fileDirectory_.isEmpty())
        return;
    QDir dir(fileDirectory_);
    dir.setNameFilters(mask_.split(';', Qt::SkipEmptyParts));
    // Without QDir::CaseSensitive the name filters match without regard to case.
    dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    files_->addItems(dir.entryList());
}

void TdlgPrintProfiles::SelectOnly(const QString& name) {
    for (int i = 0; i < files_->count(); ++i)
        files_->item(i)->setSelected(files_->item(i)->text().compare(name, Qt::CaseInsensitive) ==
                                     0);
}

QStringList TdlgPrintProfiles::Entries() const {
    QStringList names;
    for (int i = 0; i < files_->count(); ++i)
        names << files_->item(i)->text();
    return names;
}

QStringList TdlgPrintProfiles::SelectedPaths() const {
    QStringList paths;
    for (int i = 0; i < files_->count(); ++i)
        if (files_->item(i)->isSelected())
            paths << fileDirectory_ + files_->item(i)->text();
    return paths;
}

int TdlgPrintProfiles::CheckedIndex() const {
    for (int i = 0; i < kinds_.size(); ++i)
        if (kinds_[i]->isChecked())
            return i;
    return 0;
}

TGraphKind TdlgPrintProfiles::GraphKind() const {
    return GraphKinds()[CheckedIndex()].kind;
}

QString TdlgPrintProfiles::GraphCaption() const {
    return kinds_[CheckedIndex()]->text();
}

bool TdlgPrintProfiles::Ask() {
    adjustSize();
    CenterOnScreen(*this);
    return exec() == QDialog::Accepted;
}
