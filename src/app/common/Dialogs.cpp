#include "app/common/Dialogs.h"

#include "app/common/AppContext.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

namespace {

IDialogs* installedDialogs = nullptr;

struct FilterEntry {
    QString description;
    QStringList patterns;
};

// A filter whose last description has no pattern uses the description as its pattern, so
// that a bare "..." still means folders only.
QList<FilterEntry> ParseFilter(const QString& filter) {
    QList<FilterEntry> entries;
    if (filter.trimmed().isEmpty())
        return entries;
    const QStringList parts = filter.split('|');
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = i + 1 < parts.size() ? parts[i + 1] : parts[i];
        QStringList patterns;
        for (const QString& p : pattern.split(';', Qt::SkipEmptyParts))
            if (!p.trimmed().isEmpty())
                patterns << p.trimmed();
        entries.append({description, patterns});
    }
    return entries;
}

// The descriptions of a folder-only filter, as the instruction above the folders.
QString FilterDescriptions(const QString& filter) {
    QStringList descriptions;
    for (const FilterEntry& entry : ParseFilter(filter))
        if (entry.description != "...")
            descriptions << entry.description;
    return descriptions.join(' ');
}

// The folder itself when it exists, else its nearest existing parent.
QString ExistingFolder(QString folder) {
    while (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        const QString parent = QFileInfo(folder).absolutePath();
        if (parent == folder)
            return QString();
        folder = parent;
    }
    return folder;
}

// A question that only its Yes or No button answers. QMessageBox would take Escape and the
// close box for No.
class YesNoBox : public QMessageBox {
  public:
    using QMessageBox::QMessageBox;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    // A button's answer hides the box without a close event.
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

QStringList RunFileDialog(QWidget* parent, const FileDialogSpec& spec, QFileDialog::FileMode mode) {
    QFileDialog dialog(parent, spec.title, spec.startFolder);
    dialog.setFileMode(mode);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (IsFolderOnlyFilter(spec.filter)) {
        // The user opens the wanted folder and types the name; the platform dialogs cannot
        // hide files while still accepting a typed name.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    }
    if (!spec.filter.trimmed().isEmpty())
        dialog.setNameFilter(ToQtFilter(spec.filter));
    if (!spec.fileName.isEmpty())
        dialog.selectFile(spec.fileName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

} // namespace

FolderNameDialog::FolderNameDialog(QWidget* parent, const FileDialogSpec& spec) : QDialog(parent) {
    setObjectName("FolderNameDialog");
    setWindowTitle(spec.title);
    auto* instruction = new QLabel(FilterDescriptions(spec.filter), this);
    instruction->setObjectName("InstructionLabel");
    instruction->setWordWrap(true);
    instruction->setVisible(!instruction->text().isEmpty());

    model_ = new QFileSystemModel(this);
    model_->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    model_->setRootPath(QDir::rootPath());
    folders_ = new QTreeView(this);
    folders_->setObjectName("FolderView");
    folders_->setModel(model_);
    folders_->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column)
        folders_->hideColumn(column);
    folders_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);

    auto* nameLabel = new QLabel("&Name:", this);
    name_ = new QLineEdit(spec.fileName, this);
    name_->setObjectName("NameEdit");
    nameLabel->setBuddy(name_);
    chosenPath_ = new QLabel(this);
    chosenPath_->setObjectName("ChosenPathLabel");
    chosenPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName("Buttons");
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(instruction);
    layout->addWidget(folders_, 1);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(name_, 1);
    layout->addLayout(nameRow);
    layout->addWidget(chosenPath_);
    layout->addWidget(buttons);
    resize(520, 560);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(name_, &QLineEdit::textChanged, this, [this] { ShowChosenPath(); });
    connect(folders_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this] { ShowChosenPath(); });
    // Without a start folder the dialog opens where the process works, as file dialogs do.
    SetFolder(spec.startFolder.isEmpty() ? QDir::currentPath() : spec.startFolder);
    // The folders are read and sorted in the background, which moves the selected one about;
    // it is kept in sight until the user works the view.
    auto* keepInSight = new QTimer(this);
    keepInSight->setSingleShot(true);
    keepInSight->setInterval(0);
    connect(keepInSight, &QTimer::timeout, this, [this] {
        folders_->scrollTo(folders_->currentIndex(), QAbstractItemView::PositionAtCenter);
    });
    connect(model_, &QFileSystemModel::rowsInserted, keepInSight, qOverload<>(&QTimer::start));
    connect(model_, &QFileSystemModel::layoutChanged, keepInSight, qOverload<>(&QTimer::start));
    const auto stopFollowing = [this, keepInSight] { model_->disconnect(keepInSight); };
    connect(folders_, &QTreeView::pressed, keepInSight, stopFollowing);
    connect(folders_, &QTreeView::expanded, keepInSight, stopFollowing);
    connect(folders_->verticalScrollBar(), &QScrollBar::actionTriggered, keepInSight,
            stopFollowing);
    name_->selectAll();
    name_->setFocus();
    ShowChosenPath();
}

QString FolderNameDialog::Folder() const {
    const QModelIndex current = folders_->currentIndex();
    return current.isValid() ? model_->filePath(current) : QString();
}

void FolderNameDialog::SetFolder(const QString& folder) {
    const QModelIndex index = model_->index(ExistingFolder(QDir::cleanPath(folder)));
    folders_->setCurrentIndex(index);
    folders_->scrollTo(index);
    folders_->expand(index);
}

QString FolderNameDialog::ChosenPath() const {
    return PathInFolder(Folder(), name_->text());
}

void FolderNameDialog::ShowChosenPath() {
    const QString path = ChosenPath();
    chosenPath_->setText(QDir::toNativeSeparators(path));
    ok_->setEnabled(!path.isEmpty());
}

QString PathInFolder(const QString& folder, const QString& name) {
    const QString typed = name.trimmed();
    if (typed.isEmpty())
        return QString();
    if (QDir::isAbsolutePath(typed))
        return QDir::cleanPath(typed);
    return folder.isEmpty() ? QString() : QDir::cleanPath(folder + "/" + typed);
}

QString ToQtFilter(const QString& filter) {
    static const QRegularExpression trailingPatterns(R"(\s*\([^()]*\)\s*$)");
    QStringList qtFilters;
    for (const FilterEntry& entry : ParseFilter(filter)) {
        QString description = entry.description;
        description.remove(trailingPatterns);
        const QString patterns = entry.patterns.isEmpty() ? "*" : entry.patterns.join(' ');
        qtFilters << (description.isEmpty() ? patterns : description + " (" + patterns + ")");
    }
    return qtFilters.join(";;");
}

bool IsFolderOnlyFilter(const QString& filter) {
    const QList<FilterEntry> entries = ParseFilter(filter);
    if (entries.isEmpty())
        return false;
    for (const FilterEntry& entry : entries)
        if (entry.patterns != QStringList{"..."})
            return false;
    return true;
}

void QtDialogs::Error(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox::critical(parent, caption.isEmpty() ? QStringLiteral("Error") : caption, text,
                          QMessageBox::Ok);
}

void QtDialogs::Information(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::information(parent, caption, text, QMessageBox::Ok);
}

bool QtDialogs::AskYesNo(QWidget* parent, const QString& caption, const QString& text) {
    YesNoBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setObjectName("YesNoBox");
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

bool QtDialogs::AskOkCancel(QWidget* parent, const QString& caption, const QString& text) {
    return QMessageBox::question(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel) ==
           QMessageBox::Ok;
}

QString QtDialogs::OpenFile(QWidget* parent, const FileDialogSpec& spec) {
    const QStringList files = RunFileDialog(parent, spec, QFileDialog::ExistingFile);
    return files.isEmpty() ? QString() : files.first();
}

QStringList QtDialogs::OpenFiles(QWidget* parent, const FileDialogSpec& spec) {
    return RunFileDialog(parent, spec, QFileDialog::ExistingFiles);
}

QString QtDialogs::ChooseName(QWidget* parent, const FileDialogSpec& spec) {
    if (IsFolderOnlyFilter(spec.filter)) {
        FolderNameDialog dialog(parent, spec);
        return dialog.exec() == QDialog::Accepted ? dialog.ChosenPath() : QString();
    }
    const QStringList files = RunFileDialog(parent, spec, QFileDialog::AnyFile);
    return files.isEmpty() ? QString() : files.first();
}

QString QtDialogs::SaveFile(QWidget* parent, const FileDialogSpec& spec) {
    QFileDialog dialog(parent, spec.title, spec.startFolder);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!spec.filter.trimmed().isEmpty())
        dialog.setNameFilter(ToQtFilter(spec.filter));
    // A name typed without an extension takes the chosen type's: "night" saved as JSON becomes
    // "night.json", not a file whose missing extension leaves its type to a guess. The dialog
    // adds it itself, so that its question before replacing a file asks about that name.
    const auto followFilter = [&dialog](const QString& filter) {
        static const QRegularExpression firstSuffix(R"(\*\.([A-Za-z0-9]+))");
        dialog.setDefaultSuffix(firstSuffix.match(filter).captured(1));
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
    followFilter(dialog.selectedNameFilter());
    if (!spec.fileName.isEmpty())
        dialog.selectFile(spec.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

bool QtDialogs::OpenDocument(const QUrl& document) {
    return QDesktopServices::openUrl(document);
}

IDialogs& Dialogs() {
    static QtDialogs realDialogs;
    return installedDialogs ? *installedDialogs : realDialogs;
}

void SetDialogs(IDialogs* dialogs) {
    installedDialogs = dialogs;
}

void ShowError(QWidget* parent, const QString& text) {
    Dialogs().Error(parent, text, App().ApplicationTitle);
}

void ShowFileError(QWidget* parent, const QString& text) {
    Dialogs().Error(parent, text, QStringLiteral("Error"));
}

void QtDialogs::Warning(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox::warning(parent, caption, text, QMessageBox::Ok);
}
