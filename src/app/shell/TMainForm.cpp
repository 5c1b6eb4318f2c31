#include "app/shell/TMainForm.h"

#include "app/common/AppContext.h"
#include "app/common/LanguageTexts.h"
#include "app/common/Version.h"
#include "app/project/TFileListBox.h"
#include "app/project/TProjectForm.h"
#include "app/shell/ActionIcons.h"
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
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <charconv>
#include <memory>
#include <stdexcept>

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

void SetCommandTexts(QAction* action, const QString& caption, const QString& hint) {
    action->setText(caption);
    action->setStatusTip(hint);
    action->setToolTip(hint);
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
    messages_ = QStringList(9, QString());
    resize(kBuiltInWidth, kBuiltInHeight);

    FormCreate();
    CenterOnScreen();
    if (startMaximized_)
        setWindowState(windowState() | Qt::WindowMaximized);

    connect(mdiArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
        if (window)
            WatchProjectForm(qobject_cast<TProjectForm*>(window->widget()));
        ActionList1Update();
    });
    connect(qApp, &QApplication::focusChanged, this, &TMainForm::ActionList1Update);
    idleTimer_ = new QTimer(this);
    connect(idleTimer_, &QTimer::timeout, this, &TMainForm::ActionList1Update);
    idleTimer_->start(kIdleRefreshMs);
    ActionList1Update();
}

TMainForm::~TMainForm() = default;

QAction* TMainForm::AddCommand(const QString& name, const QString& category, const QString& caption,
                               const QString& hint, Handler handler) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setProperty("category", category);
    if (!hint.isEmpty())
        SetCommandTexts(action, caption, hint);
    action->setIcon(ActionIcon(name));
    if (handler)
        connect(action, &QAction::triggered, this,
                [this, action, handler] { RunCommand(action, handler); });
    return action;
}

void TMainForm::CreateCommands() {
    actProjectNew = AddCommand("actProjectNew", "Project", "&New Project", "Create New Project",
                               &TMainForm::actProjectNewExecute);
    actProjectOpen = AddCommand("actProjectOpen", "Project", "&Open Project",
                                "Open existing project (directory with measurement data)",
                                &TMainForm::actProjectOpenExecute);
    actLoadData = AddCommand("actLoadData", "Project", "Load &Data", "Load measurement data",
                             &TMainForm::actLoadDataExecute);
    actLoadDataDevice =
        AddCommand("actLoadDataDevice", "Project", "Load from De&vice",
                   "Load measurement data from device", &TMainForm::actLoadDataDeviceExecute);
    actPrintPreview =
        AddCommand("actPrintPreview", "Print", "Print Pre&view", "Print preview of current profile",
                   &TMainForm::actPrintPreviewExecute);
    actPrintProfiles = AddCommand("actPrintProfiles", "Print", "Print Profile&S",
                                  "Print selected profiles", &TMainForm::actPrintProfilesExecute);
    actProfileCompare = AddCommand("actProfileCompare", "Profile", "Com&pare",
                                   "Compare two profiles", &TMainForm::actProfileCompareExecute);
    actProfileCopyTo = AddCommand("actProfileCopyTo", "Profile", "&Copy To",
                                  "Copy selected profile to another directory",
                                  &TMainForm::actProfileCopyToExecute);
    actProfileSave = AddCommand("actProfileSave", "Profile", "&Save", "Save profile changes",
                                &TMainForm::actProfileSaveExecute);
    actProfileDelete = AddCommand("actProfileDelete", "Profile", "&Delete",
                                  "Delete current profile", &TMainForm::actProfileDeleteExecute);
    actProfileSearch =
        AddCommand("actProfileSearch", "Profile", "Search",
                   "Search profiles in the current project", &TMainForm::actProfileSearchExecute);
    WindowCascade1 =
        AddCommand("WindowCascade1", "Window", "&Cascade", "", &TMainForm::WindowCascade1Execute);
    WindowTileHorizontal1 = AddCommand("WindowTileHorizontal1", "Window", "Tile &Horizontally", "",
                                       &TMainForm::WindowTileHorizontal1Execute);
    WindowTileVertical1 = AddCommand("WindowTileVertical1", "Window", "&Tile Vertically", "",
                                     &TMainForm::WindowTileVertical1Execute);
    actHelpManual1 =
        AddCommand("actHelpManual1", "Help", "Manual &1", "", &TMainForm::actHelpManual1Execute);
    actHelpManual2 =
        AddCommand("actHelpManual2", "Help", "Manual &2", "", &TMainForm::actHelpManual2Execute);
    UpdateDevice = AddCommand("UpdateDevice", "", "Update Device Software", "", nullptr);
    HelpAbout = AddCommand("HelpAbout", "Help", "&About...", "", &TMainForm::HelpAboutExecute);
    actApplicationExit =
        AddCommand("actApplicationExit", "", "E&xit", "", &TMainForm::actApplicationExitExecute);
    actLanguageEn = AddCommand("actLanguageEn", "", "EN", "", &TMainForm::actLanguageEnExecute);
    actLanguageNL = AddCommand("actLanguageNL", "", "NL", "", &TMainForm::actLanguageNLExecute);
    actLanguageES = AddCommand("actLanguageES", "", "ES", "", &TMainForm::actLanguageESExecute);
    actLanguageDE = AddCommand("actLanguageDE", "", "DE", "", &TMainForm::actLanguageDEExecute);
    actLanguageFR = AddCommand("actLanguageFR", "", "FR", "", &TMainForm::actLanguageFRExecute);

    for (QAction* action : {actLoadData, actLoadDataDevice, actPrintPreview, actProfileCopyTo,
                            actProfileSave, actProfileDelete, actProfileSearch})
        action->setEnabled(false);
    actLoadDataDevice->setVisible(false);
    UpdateDevice->setVisible(false);

    languageGroup_ = new QActionGroup(this);
    languageGroup_->setExclusive(true);
    for (QAction* action :
         {actLanguageEn, actLanguageNL, actLanguageES, actLanguageDE, actLanguageFR}) {
        action->setCheckable(true);
        languageGroup_->addAction(action);
    }
    actLanguageEn->setChecked(true);
    checkedLanguage_ = actLanguageEn;
}

void TMainForm::CreateMenus() {
    mnuFile = menuBar()->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuFile->addAction(actProjectOpen);
    QAction* closeProject = mnuFile->addAction("&Close Project");
    closeProject->setObjectName("CloseProject1");
    closeProject->setVisible(false);
    mnuFile->addSeparator();
    mnuFile->addAction(actProfileCompare);
    QAction* addProfile = mnuFile->addAction("&Add Profile ");
    addProfile->setObjectName("AddProfile1");
    addProfile->setStatusTip("Add an existing profile to a profile comparison form");
    addProfile->setEnabled(false);
    mnuFile->addSeparator();
    mnuFile->addAction(actPrintPreview);
    mnuFile->addAction(actPrintProfiles);
    mnuFile->addSeparator();
    mnuFile->addAction(actProjectNew);
    mnuFile->addAction(actLoadData);
    mnuFile->addAction(actLoadDataDevice);
    mnuFile->addSeparator();
    mnuFile->addAction(actApplicationExit);

    mnuEdit = menuBar()->addMenu("&Edit");
    mnuEdit->setObjectName("mnuEdit");
    mnuEdit->addActions({actProfileCopyTo, actProfileSave, actProfileDelete});

    mnuTools = menuBar()->addMenu("Tools");
    mnuTools->setObjectName("mnuTools");
    mnuTools->addAction(actProfileSearch);
    mnuLanguage = mnuTools->addMenu("Language");
    mnuLanguage->setObjectName("mnuLanguage");
    mnuLanguage->addActions(
        {actLanguageEn, actLanguageNL, actLanguageDE, actLanguageES, actLanguageFR});

    mnuWindow = menuBar()->addMenu("&Window");
    mnuWindow->setObjectName("mnuWindow");
    mnuWindow->addActions({WindowTileHorizontal1, WindowTileVertical1, WindowCascade1});
    connect(mnuWindow, &QMenu::aboutToShow, this, &TMainForm::FillWindowMenu);

    mnuHelp = menuBar()->addMenu("&Help");
    mnuHelp->setObjectName("mnuHelp");
    // The hidden entry between two separators leaves both lines showing.
    mnuHelp->setSeparatorsCollapsible(false);
    mnuHelp->addActions({actHelpManual1, actHelpManual2});
    mnuHelp->addSeparator();
    mnuHelp->addAction(UpdateDevice);
    mnuHelp->addSeparator();
    mnuHelp->addAction(HelpAbout);
}

void TMainForm::CreateToolBar() {
    ToolBar1 = addToolBar("ToolBar1");
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->addAction(actProjectOpen);
    ToolBar1->addSeparator();
    ToolBar1->addActions({actProjectNew, actLoadData});
    ToolBar1->addSeparator();
    ToolBar1->addActions({actPrintPreview, actPrintProfiles});
    ToolBar1->addSeparator();
    ToolBar1->addActions({actProfileCopyTo, actProfileSave, actProfileDelete});
    ToolBar1->addSeparator();
    ToolBar1->addAction(actProfileCompare);
    ToolBar1->addSeparator();
    ToolBar1->addAction(actProfileSearch);
    ToolBar1->addSeparator();
    ToolBar1->addActions({WindowCascade1, WindowTileHorizontal1, WindowTileVertical1});
    ToolBar1->addSeparator();
}

void TMainForm::FormCreate() {
    UseFixedNumberFormat();
    setWindowTitle(App().ApplicationTitle + FileVersionCaption());
    try {
        ReadSettings();
        for (const char* code : ostiva::kLanguageCodes)
            if (!QFileInfo(Q(App().LanguageFile(code))).isFile())
                LanguageAction(code)->setEnabled(false);
        CheckLanguageEntry(App().LanguageCode);
        ReadTexts(LanguageTexts());
        dlgOpenProject.startFolder = App().RememberedDirectory;
        dlgLoadData.startFolder = App().RememberedDirectory;
        dlgNewProject.startFolder = App().RememberedDirectory;
    } catch (const std::exception& e) {
        Dialogs().Error(this, Q(e.what()), "Error");
    }
}

void TMainForm::ReadSettings() {
    const ostiva::IniFile settings(App().SettingsFile());
    App().LanguageCode = Q(settings.ReadString("Software", "Language", "EN"));
    App().RememberedDirectory =
        Q(settings.ReadString("Paths", "CurDir", S(App().ExecutableDirectory() + "/demo")));
    if (settings.ReadString("MainWindow", "Maximized", "Yes") == "Yes") {
        startMaximized_ = true;
    } else {
        resize(ostiva::ParseInteger(settings.ReadString("MainWindow", "Width", "300")),
               ostiva::ParseInteger(settings.ReadString("MainWindow", "Height", "100")));
    }
}

void TMainForm::ReadTexts(const LanguageTexts& texts) {
    const QList<QMenu*> menus{mnuFile, mnuEdit, mnuTools, mnuWindow, mnuHelp};
    for (int i = 0; i < menus.size(); ++i)
        menus[i]->setTitle(texts.Text(QString("Menu%1").arg(i + 1), "Caption"));

    const QList<std::pair<QAction*, const char*>> commands{
        {actProjectNew, "Action1"},     {actProjectOpen, "Action2"},
        {actLoadData, "Action4"},       {actLoadDataDevice, "Action5"},
        {actPrintPreview, "Action6"},   {actPrintProfiles, "Action7"},
        {actProfileCompare, "Action8"}, {actProfileCopyTo, "Action9"},
        {actProfileSave, "Action10"},   {actProfileDelete, "Action11"},
        {actProfileSearch, "Action12"}, {actHelpManual1, "Action13"},
        {actHelpManual2, "Action14"},   {mnuLanguage->menuAction(), "Action16"}};
    for (const auto& [action, section] : commands)
        SetCommandTexts(action, texts.Text(section, "Caption"), texts.Text(section, "Hint"));
    mnuLanguage->setTitle(mnuLanguage->menuAction()->text());

    const auto dialogText = [&texts](int key) {
        return texts.Text("Dialogs", QString::number(key));
    };
    dlgNewProject.title = dialogText(1);
    dlgNewProject.filter = dialogText(2);
    dlgOpenProject.title = dialogText(3);
    dlgOpenProject.filter = dialogText(4);
    dlgLoadData.title = dialogText(5);
    dlgLoadData.filter = dialogText(6);
    dlgCompare1.title = dialogText(7);
    dlgCompare1.filter = dialogText(8);
    dlgCompare2.title = dialogText(9);
    dlgCompare2.filter = dialogText(10);
    dlgCopyTo.filter = dialogText(11);
    dlgCopyTo.fileName = dialogText(12);
    dlgCopyTo.title = dialogText(13);

    for (int key = 1; key <= 9; ++key)
        messages_[key - 1] = texts.Text("Messages", QString::number(key));
}

void TMainForm::CenterOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

QString TMainForm::MessageText(int number) const {
    return number >= 1 && number <= messages_.size() ? messages_[number - 1] : QString();
}

QAction* TMainForm::LanguageAction(const QString& code) const {
    const QList<std::pair<const char*, QAction*>> entries{{"EN", actLanguageEn},
                                                          {"NL", actLanguageNL},
                                                          {"DE", actLanguageDE},
                                                          {"ES", actLanguageES},
                                                          {"FR", actLanguageFR}};
    for (const auto& [entryCode, action] : entries)
        if (code == QLatin1String(entryCode))
            return action;
    return nullptr;
}

void TMainForm::CheckLanguageEntry(const QString& code) {
    if (QAction* action = LanguageAction(code)) {
        action->setChecked(true);
        checkedLanguage_ = action;
    }
}

void TMainForm::ChooseLanguage(const QString& code) {
    std::unique_ptr<ostiva::IniFile> settings;
    try {
        settings = std::make_unique<ostiva::IniFile>(App().SettingsFile());
    } catch (const std::exception& e) {
        // The entry the user clicked checked itself; the language stays as it was.
        checkedLanguage_->setChecked(true);
        Dialogs().Error(this, Q(e.what()), "Error");
        return;
    }
    App().LanguageCode = code;
    CheckLanguageEntry(code);
    settings->WriteString("Software", "Language", S(code));
    Dialogs().Information(this, App().ApplicationTitle, MessageText(9));
}

void TMainForm::RunCommand(QAction* action, Handler handler) {
    ActionList1Update();
    if (!action->isEnabled())
        return;
    try {
        (this->*handler)();
    } catch (const std::exception& e) {
        ShowError(this, Q(e.what()));
    }
    ActionList1Update();
}

QList<QMdiSubWindow*> TMainForm::OpenSubWindows() const {
    // Bottom of the stack first; a closed window may linger until its deletion runs.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::StackingOrder))
        if (!window->isHidden())
            windows.append(window);
    return windows;
}

TProjectForm* TMainForm::ActiveProjectForm() const {
    QMdiSubWindow* window = mdiArea_->activeSubWindow();
    if (!window || window->isHidden())
        window = mdiArea_->currentSubWindow();
    if (!window || window->isHidden()) {
        const QList<QMdiSubWindow*> windows = OpenSubWindows();
        window = windows.isEmpty() ? nullptr : windows.last();
    }
    return window ? qobject_cast<TProjectForm*>(window->widget()) : nullptr;
}

void TMainForm::WatchProjectForm(TProjectForm* form) {
    if (form)
        connect(form, &TProjectForm::StateChanged, this, &TMainForm::ActionList1Update,
                Qt::UniqueConnection);
}

void TMainForm::ActionList1Update() {
    const TProjectForm* form = ActiveProjectForm();
    const bool open = form != nullptr;
    actLoadData->setEnabled(open && form->CanLoadData);
    actLoadDataDevice->setEnabled(open && form->CanLoadFromDevice);
    actProfileSave->setEnabled(open && form->Editable && form->Modified);
    actPrintPreview->setEnabled(open && form->CanPrintPreview);
    actPrintProfiles->setEnabled(open && form->CanPrintProfiles);
    actProfileDelete->setEnabled(open && form->CanDelete);
    actProfileCopyTo->setEnabled(open && form->CanCopyTo);
    actProfileSearch->setEnabled(open && form->CanSearch && form->FileListBox1 &&
                                 form->FileListBox1->count() > 0);
    const bool anyWindow = !OpenSubWindows().isEmpty();
    for (QAction* action : {WindowCascade1, WindowTileHorizontal1, WindowTileVertical1})
        action->setEnabled(anyWindow);
}

void TMainForm::FillWindowMenu() {
    qDeleteAll(windowListEntries_);
    windowListEntries_.clear();
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::CreationOrder);
    QMdiSubWindow* active = mdiArea_->currentSubWindow();
    bool first = true;
    int number = 0;
    for (QMdiSubWindow* window : windows) {
        if (window->isHidden())
            continue;
        if (first)
            windowListEntries_.append(mnuWindow->addSeparator());
        first = false;
        QAction* entry =
            mnuWindow->addAction(QString("&%1 %2").arg(++number).arg(window->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(window == active);
        const QPointer<QMdiSubWindow> target(window);
        connect(entry, &QAction::triggered, this, [this, target] {
            if (target)
                mdiArea_->setActiveSubWindow(target);
        });
        windowListEntries_.append(entry);
    }
}

void TMainForm::TileSubWindows(bool stacked) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : OpenSubWindows())
        if (!window->isMinimized())
            windows.prepend(window); // the one on top first
    if (windows.isEmpty())
        return;
    const QRect area = mdiArea_->viewport()->rect();
    const int count = int(windows.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* window = windows[i];
        if (window->isMaximized())
            window->showNormal();
        QRect cell;
        if (stacked) {
            const int top = area.top() + area.height() * i / count;
            const int bottom = area.top() + area.height() * (i + 1) / count;
            cell = QRect(area.left(), top, area.width(), bottom - top);
        } else {
            const int left = area.left() + area.width() * i / count;
            const int right = area.left() + area.width() * (i + 1) / count;
            cell = QRect(left, area.top(), right - left, area.height());
        }
        window->setGeometry(cell);
    }
}

void TMainForm::OnStart(const QStringList& arguments) {
    if (arguments.isEmpty())
        return;
    try {
        const QFileInfo profile(arguments.first());
        App().RememberedDirectory = profile.absolutePath() + "/";
        WatchProjectForm(TProjectForm::OpenProject(mdiArea_, profile.absoluteFilePath()));
    } catch (const std::exception& e) {
        ShowError(this, Q(e.what()));
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
    for (QMdiSubWindow* window : OpenSubWindows())
        if (!window->close())
            allClosed = false;
    try {
        ostiva::IniFile settings(App().SettingsFile());
        settings.WriteString("Paths", "CurDir", S(App().RememberedDirectory));
        settings.WriteString("MainWindow", "Left", IntegerText(x()));
        settings.WriteString("MainWindow", "Top", IntegerText(y()));
        settings.WriteString("MainWindow", "Width", IntegerText(width()));
        settings.WriteString("MainWindow", "Height", IntegerText(height()));
        settings.WriteString("MainWindow", "Maximized", isMaximized() ? "Yes" : "No");
    } catch (const std::exception& e) {
        Dialogs().Error(this, Q(e.what()), "Error");
    }
    return allClosed;
}

void TMainForm::actProjectOpenExecute() {
    const QString profile = Dialogs().OpenFile(this, dlgOpenProject);
    if (profile.isEmpty())
        return;
    App().RememberedDirectory = QFileInfo(profile).absolutePath() + "/";
    WatchProjectForm(TProjectForm::OpenProject(mdiArea_, profile));
}

void TMainForm::actProjectNewExecute() {
    QString directory = Dialogs().ChooseName(this, dlgNewProject);
    while (directory.size() > 1 && directory.endsWith('/'))
        directory.chop(1);
    if (directory.isEmpty())
        return;
    if (QFileInfo(directory).isDir()) {
        Dialogs().Information(this, App().ApplicationTitle,
                              MessageText(3) + " " + directory + " " + MessageText(4));
        return;
    }
    if (!QDir().mkdir(directory))
        throw std::runtime_error(S(MessageText(5) + " " + directory));
    WatchProjectForm(TProjectForm::NewProject(mdiArea_, directory + "/"));
}

void TMainForm::actProfileSaveExecute() {
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
    TileSubWindows(true);
}

void TMainForm::WindowTileVertical1Execute() {
    TileSubWindows(false);
}

// Arrives with the Load Data feature.
void TMainForm::actLoadDataExecute() {}

// Arrives with the device download feature.
void TMainForm::actLoadDataDeviceExecute() {}

// Arrives with the printing feature.
void TMainForm::actPrintPreviewExecute() {}

// Arrives with the printing feature.
void TMainForm::actPrintProfilesExecute() {}

// Arrives with the profile comparison feature.
void TMainForm::actProfileCompareExecute() {}

// Arrives with the Copy To feature.
void TMainForm::actProfileCopyToExecute() {}

// Arrives with the Delete feature.
void TMainForm::actProfileDeleteExecute() {}

// Arrives with the profile search feature.
void TMainForm::actProfileSearchExecute() {}

// Arrives with the manuals feature.
void TMainForm::actHelpManual1Execute() {}

// Arrives with the manuals feature.
void TMainForm::actHelpManual2Execute() {}

// Arrives with the about box feature.
void TMainForm::HelpAboutExecute() {}
