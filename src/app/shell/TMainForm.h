#pragma once
// The frame of the application: an MDI window whose children are project and comparison
// windows. It owns every command, reads the settings file at start and writes it at close,
// and enables the commands from the active project window.
#include "app/common/Dialogs.h"

#include <QEvent>
#include <QMainWindow>
#include <QString>
#include <QStringList>

class QAction;
class QActionGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class LanguageTexts;
class TProjectForm;

class TMainForm : public QMainWindow {
    Q_OBJECT
  public:
    // The start message, posted once the long-lived windows exist.
    static constexpr QEvent::Type kStartEvent = QEvent::User;

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    QMdiArea* MdiArea() const { return mdiArea_; }
    // The project or comparison window on top; nullptr when no child window is open.
    TProjectForm* ActiveProjectForm() const;
    // Message text 1..9 as read from the language file at start.
    QString MessageText(int number) const;

    // Opens the project of the first argument, if there is one (the command line without the
    // program's own name).
    void OnStart(const QStringList& arguments);
    // The availability rule: enables the commands from the active project window.
    void ActionList1Update();

    // File dialogs of the commands; their texts come from the language file.
    FileDialogSpec dlgNewProject{"New Project",
                                 "Select parent directory and enter project name|...", "", ""};
    FileDialogSpec dlgOpenProject{"Open Project", "Ostiva files (zq*.*)|zq*.*", "", ""};
    FileDialogSpec dlgLoadData{"", "Ostiva files (zq*.*)|zq*.*", "", ""};
    FileDialogSpec dlgCompare1;
    FileDialogSpec dlgCompare2;
    FileDialogSpec dlgCopyTo{"", "...", "", "Select directory"};

    // Commands.
    QAction* actProjectNew = nullptr;
    QAction* actProjectOpen = nullptr;
    QAction* actLoadData = nullptr;
    QAction* actLoadDataDevice = nullptr;
    QAction* actPrintPreview = nullptr;
    QAction* actPrintProfiles = nullptr;
    QAction* actProfileCompare = nullptr;
    QAction* actProfileCopyTo = nullptr;
    QAction* actProfileSave = nullptr;
    QAction* actProfileDelete = nullptr;
    QAction* actProfileSearch = nullptr;
    QAction* WindowCascade1 = nullptr;
    QAction* WindowTileHorizontal1 = nullptr;
    QAction* WindowTileVertical1 = nullptr;
    QAction* actHelpManual1 = nullptr;
    QAction* actHelpManual2 = nullptr;
    QAction* UpdateDevice = nullptr;
    QAction* HelpAbout = nullptr;
    QAction* actApplicationExit = nullptr;
    QAction* actLanguageEn = nullptr;
    QAction* actLanguageNL = nullptr;
    QAction* actLanguageES = nullptr;
    QAction* actLanguageDE = nullptr;
    QAction* actLanguageFR = nullptr;

    // Command handlers.
    void actProjectNewExecute();
    void actProjectOpenExecute();
    void actLoadDataExecute();
    void actLoadDataDeviceExecute();
    void actPrintPreviewExecute();
    void actPrintProfilesExecute();
    void actProfileCompareExecute();
    void actProfileCopyToExecute();
    void actProfileSaveExecute();
    void actProfileDeleteExecute();
    void actProfileSearchExecute();
    void WindowCascade1Execute();
    void WindowTileHorizontal1Execute();
    void WindowTileVertical1Execute();
    void actHelpManual1Execute();
    void actHelpManual2Execute();
    void HelpAboutExecute();
    void actApplicationExitExecute();
    void actLanguageEnExecute() { ChooseLanguage("EN"); }
    void actLanguageNLExecute() { ChooseLanguage("NL"); }
    void actLanguageESExecute() { ChooseLanguage("ES"); }
    void actLanguageDEExecute() { ChooseLanguage("DE"); }
    void actLanguageFRExecute() { ChooseLanguage("FR"); }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void customEvent(QEvent* event) override;

  private:
    using Handler = void (TMainForm::*)();

    void FormCreate();
    // Closes the children and writes the settings; false when a child refused to close.
    bool FormClose();
    void CreateCommands();
    void CreateMenus();
    void CreateToolBar();
    QAction* AddCommand(const QString& name, const QString& category, const QString& caption,
                        const QString& hint, Handler handler);
    void RunCommand(QAction* action, Handler handler);
    void ReadTexts(const LanguageTexts& texts);
    void ReadSettings();
    void CenterOnScreen();
    void ChooseLanguage(const QString& code);
    void CheckLanguageEntry(const QString& code);
    QAction* LanguageAction(const QString& code) const;
    void FillWindowMenu();
    // Stacked: one above the other; otherwise side by side.
    void TileSubWindows(bool stacked);
    QList<QMdiSubWindow*> OpenSubWindows() const;
    void WatchProjectForm(TProjectForm* form);

    QMdiArea* mdiArea_ = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QMenu* mnuFile = nullptr;
    QMenu* mnuEdit = nullptr;
    QMenu* mnuTools = nullptr;
    QMenu* mnuLanguage = nullptr;
    QMenu* mnuWindow = nullptr;
    QMenu* mnuHelp = nullptr;
    QActionGroup* languageGroup_ = nullptr;
    QAction* checkedLanguage_ = nullptr;
    bool startMaximized_ = false;
    QList<QAction*> windowListEntries_;
    QTimer* idleTimer_ = nullptr;
    QStringList messages_; // texts 1..9 at 0..8
};
