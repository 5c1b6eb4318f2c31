#include "app/shell/TMainForm.h"

#include "app/common/AppContext.h"
#include "app/common/LanguageTexts.h"
#include "app/common/Version.h"
#include "app/common/WindowPlacement.h"
#include "app/device/DeviceDownload.h"
#include "app/help/Manuals.h"
#include "app/help/TAboutBox.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/report/PrintCommands.h"
#include "app/report/TdlgPrintProfiles.h"
#include "app/report/TfrmCompReport.h"
#include "app/search/ProfileSearchCommand.h"
#include "app/search/TSearchForm.h"
#include "app/shell/ActionIcons.h"
#include "app/shell/MdiWindows.h"
#include "app/shell/ProfileFileCommands.h"
#include "app/shell/ProjectCommands.h"
#include "app/summary/TSummaryForm.h"
#include "core/IniFile.h"
#include "core/NumberText.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <charconv>
#include <memory>

namespace {

// The size a maximised start returns to when the user restores the window.
constexpr int kBuiltInWidth = 974;
constexpr int kBuiltInHeight = 658;
// The idle refresh of the availability rule.
constexpr int kIdleRefreshMs = 200;

std::string IntegerText(int value) {
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

QString FileVersionCaption() {
    QString version = QStringLiteral(OSTIVA_FILE_VERSION);
    const qsizetype lastDot = version.lastIndexOf('.');
    if (lastDot >= 0)
        version.truncate(lastDot);
    return version;
}

// The tooltip names the command's keys, "Save profile changes (Ctrl+S)"; a command without a
// hint shows its caption there.
void SetCommandTexts(QAction* action, const QString& caption, const QString& hint) {
    action->setText(caption);
    action->setStatusTip(hint);
    const QString keys = action->shortcut().toString(QKeySequence::NativeText);
    if (keys.isEmpty()) {
        action->setToolTip(hint);
        return;
    }
    QString tip = hint;
    if (tip.isEmpty())
        tip = QString(caption).remove(QRegularExpression("&(?!&)"));
    action->setToolTip(tip + " (" + keys + ")");
}

} // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MainForm");
    mdiArea_ = new QMdiArea(this);
    mdiArea_->setObjectName("MdiArea");
    setCentralWidget(mdiArea_);
    CreateCommands();
    CreateMenus();
    CreateToolBar();
    statusBar()->setObjectName("StatusBar1");
    // The stored size holds even below the size menus and tool bar would ask for.
    layout()->setSizeConstraint(QLayout::SetNoConstraint);
    resize(kBuiltInWidth, kBuiltInHeight);

    FormCreate();
    // The long-lived windows after the main window, which has set the language they read.
    dlgPrintProfiles_ = new TdlgPrintProfiles(this);
    aboutBox_ = new TAboutBox(this);
    searchForm_ = std::make_unique<TSearchForm>(this);
    compReport_ = new TfrmCompReport(*dlgPrintProfiles_, this);
    CenterOnScreen(*this);
    if (startMaximized_)
        setWindowState(windowState() | Qt::WindowMaximized);

    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window)
            WatchProjectForm(qobject_cast<TProjectForm*>(window->widget()));
        ActionList1Update();
    });
    connect(qApp, &QApplication::focusChanged, this, &TMainForm::ActionList1Update);
    // The download from the device has no menu entry or button (the device's own software is
    // the usual way); a shortcut reaches it wherever the availability rule allows it.
    auto* download = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), this);
    download->setObjectName("shortcutLoadDataDevice");
    connect(download, &QShortcut::activated, this, [this] {
        ActionList1Update();
        const TProjectForm* form = ActiveProjectForm();
        if (!form || !form->CanLoadFromDevice)
            return;
        try {
            actLoadDataDeviceExecute();
        } catch (const std::exception& e) {
            ShowError(this, QString::fromUtf8(e.what()));
        }
    });
    idleTimer_ = new QTimer(this);
    connect(idleTimer_, &QTimer::timeout, this, &TMainForm::ActionList1Update);
    idleTimer_->start(kIdleRefreshMs);
    ActionList1Update();
}

TMainForm::~TMainForm() {
    // The base class's destructor still moves the focus, after this part is gone.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
}

void TMainForm::ReplaceSearchForm(std::unique_ptr<TSearchForm> dialog) {
    searchForm_ = std::move(dialog);
}

QAction* TMainForm::AddCommand(const QString& name, const QString& category, const QString& caption,
                               const QString& hint, std::function<void()> handler,
                               QKeySequence::StandardKey keys) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setProperty("category", category);
    if (keys != QKeySequence::UnknownKey)
        action->setShortcuts(CommandKeys(keys));
    if (!hint.isEmpty() || keys != QKeySequence::UnknownKey)
        SetCommandTexts(action, caption, hint);
    action->setIcon(ActionIcon(name));
    if (handler)
        connect(action, &QAction::triggered, this,
                [this, action, handler = std::move(handler)] { RunCommand(action, handler); });
    return action;
}

void TMainForm::CreateCommands() {
    for (const Command& command : MainCommands()) {
        std::function<void()> handler;
        if (command.handler)
            handler = std::bind_front(command.handler, this);
        QAction* action = AddCommand(command.name, command.category, command.caption, command.hint,
                                     std::move(handler), command.keys);
        action->setEnabled(command.enabled);
        action->setVisible(command.visible);
    }

    languageGroup_ = new QActionGroup(this);
    languageGroup_->setExclusive(true);
    for (const char* code : ostiva::kLanguageCodes) {
        QAction* action = AddCommand(LanguageCommandName(code), "", code, "",
                                     [this, code] { ChooseLanguage(code); });
        action->setCheckable(true);
        languageGroup_->addAction(action);
    }
    CheckLanguageEntry("EN");
}

void TMainForm::CreateMenus() {
    for (const MenuLayout& layout : MainMenus())
        FillMenu(menuBar()->addMenu(layout.title), layout);
    auto* windowMenu = findChild<QMenu*>("mnuWindow");
    connect(windowMenu, &QMenu::aboutToShow, this,
            [this, windowMenu] { ListSubWindows(windowMenu, mdiArea_, windowListEntries_); });
}

void TMainForm::FillMenu(QMenu* menu, const MenuLayout& layout) {
    menu->setObjectName(layout.name);
    if (layout.keepSeparators)
        menu->setSeparatorsCollapsible(false);
    menus_.append({menu, &layout});
    for (const QString& entry : LayoutEntries(layout.entries)) {
        if (entry == kSeparator)
            menu->addSeparator();
        else if (entry == kLanguageMenu.name)
            FillMenu(menu->addMenu(kLanguageMenu.title), kLanguageMenu);
        else
            menu->addAction(CommandAction(entry));
    }
    if (&layout == &kLanguageMenu)
        for (const char* code : ostiva::kLanguageCodes)
            menu->addAction(CommandAction(LanguageCommandName(code)));
}

void TMainForm::CreateToolBar() {
    QToolBar* toolBar = addToolBar("ToolBar1");
    toolBar->setObjectName("ToolBar1");
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const QString& entry : ToolBarLayout()) {
        if (entry == kSeparator)
            toolBar->addSeparator();
        else
            toolBar->addAction(CommandAction(entry));
    }
}

void TMainForm::FormCreate() {
    UseFixedNumberFormat();
    setWindowTitle(App().ApplicationTitle + FileVersionCaption());
    try {
        ReadSettings();
        for (const char* code : ostiva::kLanguageCodes)
            if (!QFileInfo(QString::fromStdString(App().LanguageFile(code))).isFile())
                CommandAction(LanguageCommandName(code))->setEnabled(false);
        CheckLanguageEntry(App().LanguageCode);
        ReadTexts(LanguageTexts());
        texts_.dlgOpenProject.startFolder = App().RememberedDirectory;
        texts_.dlgLoadData.startFolder = App().RememberedDirectory;
        texts_.dlgNewProject.startFolder = App().RememberedDirectory;
    } catch (const std::exception& e) {
        Dialogs().Error(this, QString::fromUtf8(e.what()), "Error");
    }
}

void TMainForm::ReadSettings() {
    const ostiva::IniFile settings(App().SettingsFile());
    App().LanguageCode = QString::fromStdString(settings.ReadString("Software", "Language", "EN"));
    // The demo project lies beside a build's executable; an installed program starts at home.
    const QString firstFolder =
        App().KeepsFilesBeside() ? App().ExecutableDirectory() + "/demo" : QDir::homePath() + "/";
    App().RememberedDirectory =
        QString::fromStdString(settings.ReadString("Paths", "CurDir", firstFolder.toStdString()));
    if (settings.ReadString("MainWindow", "Maximized", "Yes") == "Yes") {
        startMaximized_ = true;
    } else {
        resize(ostiva::ParseInteger(settings.ReadString("MainWindow", "Width", "300")),
               ostiva::ParseInteger(settings.ReadString("MainWindow", "Height", "100")));
    }
}

void TMainForm::ReadTexts(const LanguageTexts& texts) {
    for (const auto& [menu, layout] : menus_) {
        // The language sub-menu stands in the command list, with a hint of its own.
        if (layout == &kLanguageMenu)
            SetCommandTexts(menu->menuAction(), texts.Text(layout->section, "Caption"),
                            texts.Text(layout->section, "Hint"));
        menu->setTitle(texts.Text(layout->section, "Caption"));
    }
    for (const Command& command : MainCommands())
        if (command.section)
            SetCommandTexts(CommandAction(command.name), texts.Text(command.section, "Caption"),
                            texts.Text(command.section, "Hint"));
    texts_.Read(texts);
}

void TMainForm::CheckLanguageEntry(const QString& code) {
    if (QAction* action = CommandAction(LanguageCommandName(code))) {
        action->setChecked(true);
        checkedLanguage_ = action;
    }
}

void TMainForm::ChooseLanguage(const QString& code) {
    std::unique_ptr<ostiva::IniFile> settings;
    try {
        settings = std::make_unique<ostiva::IniFile>(App().WritableSettingsFile());
    } catch (const std::exception& e) {
        // The entry the user clicked checked itself; the language stays as it was.
        checkedLanguage_->setChecked(true);
        Dialogs().Error(this, QString::fromUtf8(e.what()), "Error");
        return;
    }
    App().LanguageCode = code;
    CheckLanguageEntry(code);
    settings->WriteString("Software", "Language", code.toStdString());
    Dialogs().Information(this, App().ApplicationTitle, MessageText(9));
}

void TMainForm::RunCommand(QAction* action, const std::function<void()>& handler) {
    ActionList1Update();
    if (!action->isEnabled())
        return;
    try {
        handler();
    } catch (const std::exception& e) {
        ShowError(this, QString::fromUtf8(e.what()));
    }
    ActionList1Update();
}

TProjectForm* TMainForm::ActiveProjectForm() const {
    QMdiSubWindow* window = TopSubWindow(mdiArea_);
    return window ? qobject_cast<TProjectForm*>(window->widget()) : nullptr;
}

void TMainForm::WatchProjectForm(TProjectForm* form) {
    if (!form || form->property("watched").toBool())
        return;
    form->setProperty("watched", true);
    connect(form, &TProjectForm::StateChanged, this, &TMainForm::ActionList1Update);
    TSummaryForm::FollowSavesOf(mdiArea_, *form);
    connect(form, &TProjectForm::FilesDropped, this, [this, form](const QStringList& files) {
        // Handled once the drop is over, so that the questions and boxes do not keep the
        // program the files came from waiting.
        QTimer::singleShot(0, form, [this, form, files] { LoadDroppedFiles(*form, files); });
    });
}

void TMainForm::LoadDroppedFiles(TProjectForm& form, const QStringList& files) {
    if (!form.CanLoadData)
        return;
    try {
        if (SaveEditsFirst(form)) {
            CopyProfilesInto(this, form, files, texts_);
            TSummaryForm::RefreshAll(mdiArea_, form.ProjectDir);
        }
    } catch (const std::exception& e) {
        ShowError(this, QString::fromUtf8(e.what()));
    }
    ActionList1Update();
}

QAction* TMainForm::CommandAction(const QString& name) const {
    // Looked up among the children, which outlive the members while the base class closes the
    // window and reports the focus change to the availability rule.
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void TMainForm::SetEnabled(const char* name, bool enabled) {
    CommandAction(name)->setEnabled(enabled);
}

void TMainForm::ActionList1Update() {
    const TProjectForm* form = ActiveProjectForm();
    const bool open = form != nullptr;
    SetEnabled("actLoadData", open && form->CanLoadData);
    SetEnabled("actLoadDataDevice", open && form->CanLoadFromDevice);
    SetEnabled("actProfileSave", open && form->Editable && form->Modified);
    SetEnabled("actPrintPreview", open && form->CanPrintPreview);
    SetEnabled("actPrintProfiles", open && form->CanPrintProfiles);
    SetEnabled("actProfileDelete", open && form->CanDelete);
    SetEnabled("actProfileCopyTo", open && form->CanCopyTo);
    // An empty project has nothing to search or summarise.
    const bool profiles =
        open && form->CanSearch && form->FileListBox1 && form->FileListBox1->count() > 0;
    SetEnabled("actProfileSearch", profiles);
    SetEnabled("actSummary", profiles);
    const bool anyWindow = !OpenSubWindows(mdiArea_).isEmpty();
    for (const char* name : {"WindowCascade1", "WindowTileHorizontal1", "WindowTileVertical1"})
        SetEnabled(name, anyWindow);
}

void TMainForm::OnStart(const QStringList& arguments) {
    if (arguments.isEmpty())
        return;
    try {
        WatchProjectForm(
            OpenProfileProject(mdiArea_, QFileInfo(arguments.first()).absoluteFilePath()));
    } catch (const std::exception& e) {
        ShowError(this, QString::fromUtf8(e.what()));
    }
    ActionList1Update();
}

void TMainForm::customEvent(QEvent* event) {
    if (event->type() == kStartEvent)
        OnStart(QCoreApplication::arguments().mid(1));
    else
        QMainWindow::customEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // A child that could not save its edits stays open, and so does the program with it.
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

bool TMainForm::FormClose() {
    // The active window last; each may ask about unsaved edits.
    bool allClosed = true;
    for (QMdiSubWindow* window : OpenSubWindows(mdiArea_))
        if (!window->close())
            allClosed = false;
    try {
        ostiva::IniFile settings(App().WritableSettingsFile());
        settings.WriteString("Paths", "CurDir", App().RememberedDirectory.toStdString());
        settings.WriteString("MainWindow", "Left", IntegerText(x()));
        settings.WriteString("MainWindow", "Top", IntegerText(y()));
        settings.WriteString("MainWindow", "Width", IntegerText(width()));
        settings.WriteString("MainWindow", "Height", IntegerText(height()));
        settings.WriteString("MainWindow", "Maximized", isMaximized() ? "Yes" : "No");
    } catch (const std::exception& e) {
        Dialogs().Error(this, QString::fromUtf8(e.what()), "Error");
    }
    return allClosed;
}

void TMainForm::actProjectOpenExecute() {
    const QString profile = Dialogs().OpenFile(this, texts_.dlgOpenProject);
    if (!profile.isEmpty())
        WatchProjectForm(OpenProfileProject(mdiArea_, profile));
}

void TMainForm::actProjectNewExecute() {
    WatchProjectForm(NewProjectAsked(this, mdiArea_, texts_));
}

void TMainForm::actLoadDataExecute() {
    TProjectForm& form = *ActiveProjectForm();
    if (!SaveEditsFirst(form))
        return;
    texts_.dlgLoadData.title = kLoadDataTitle;
    const QStringList files = Dialogs().OpenFiles(this, texts_.dlgLoadData);
    if (!files.isEmpty()) {
        CopyProfilesInto(this, form, files, texts_);
        TSummaryForm::RefreshAll(mdiArea_, form.ProjectDir);
    }
}

void TMainForm::actProfileCopyToExecute() {
    const QString chosen = Dialogs().ChooseName(this, texts_.dlgCopyTo);
    if (chosen.isEmpty())
        return;
    TProjectForm& form = *ActiveProjectForm();
    const QString target = chosen.left(chosen.lastIndexOf('/') + 1);
    MoveListedProfiles(this, form, target, texts_);
    // Moved profiles leave their folder; the target may be another open project's folder.
    TSummaryForm::RefreshAll(mdiArea_, form.ProjectDir);
    if (QDir(target) != QDir(form.ProjectDir))
        TSummaryForm::RefreshAll(mdiArea_, target);
}

void TMainForm::actProfileDeleteExecute() {
    TProjectForm& form = *ActiveProjectForm();
    DeleteShownProfile(this, form, texts_);
    TSummaryForm::RefreshAll(mdiArea_, form.ProjectDir);
}

void TMainForm::actProfileCompareExecute() {
    // The profiles to compare are most likely those of the project being worked on.
    FileDialogSpec firstSpec = texts_.dlgCompare1, secondSpec = texts_.dlgCompare2;
    if (const TProjectForm* form = ActiveProjectForm())
        firstSpec.startFolder = secondSpec.startFolder = form->ProjectDir;
    const QString first = Dialogs().OpenFile(this, firstSpec);
    if (first.isEmpty())
        return;
    const QString second = Dialogs().OpenFile(this, secondSpec);
    if (!second.isEmpty())
        WatchProjectForm(TProjectForm::OpenComparison(mdiArea_, first, second));
}

void TMainForm::actProfileSearchExecute() {
    RunProfileSearch(this, *searchForm_, *ActiveProjectForm(), MessageText(8));
}

void TMainForm::actSummaryExecute() {
    TSummaryForm::Open(mdiArea_, *ActiveProjectForm());
}

void TMainForm::actProfileSaveExecute() {
    // An open summary follows the save through the window's state.
    if (TProjectForm* form = ActiveProjectForm())
        form->ProfileSave(false);
}

void TMainForm::actApplicationExitExecute() {
    close();
}

void TMainForm::WindowCascade1Execute() {
    mdiArea_->cascadeSubWindows();
}

void TMainForm::WindowTileHorizontal1Execute() {
    TileSubWindows(mdiArea_, true);
}

void TMainForm::WindowTileVertical1Execute() {
    TileSubWindows(mdiArea_, false);
}

// Filled by later work.
void TMainForm::actLoadDataDeviceExecute() {
    TProjectForm& form = *ActiveProjectForm();
    if (SaveEditsFirst(form))
        RunDeviceDownload(this, form);
    ActionList1Update();
}

void TMainForm::actPrintPreviewExecute() {
    PrintPreview(this, *ActiveProjectForm());
}

void TMainForm::actPrintProfilesExecute() {
    PrintProfiles(this, *ActiveProjectForm(), *dlgPrintProfiles_, *compReport_);
}

void TMainForm::actHelpManual1Execute() {
    OpenManual(this, 1);
}

void TMainForm::actHelpManual2Execute() {
    OpenManual(this, 2);
}

void TMainForm::HelpAboutExecute() {
    aboutBox_->ShowAbout();
}
