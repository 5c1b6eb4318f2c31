#pragma once
// The frame of the application: an MDI window whose children are project and comparison
// windows. It owns every command, reads the settings file at start and writes it at close,
// and enables the commands from the active project window.
#include "app/shell/Commands.h"

#include <QEvent>
#include <QList>
#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QMdiArea;
class QMenu;
class QTimer;
class LanguageTexts;
class TProjectForm;
class TAboutBox;
class TdlgPrintProfiles;
class TfrmCompReport;
class TSearchForm;

// The commands are actions named as in MainCommands(); find them with findChild.
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
    QString MessageText(int number) const { return texts_.Message(number); }
    // The commands' file dialogs as the language file and the settings file left them.
    const CommandTexts& Texts() const { return texts_; }
    // The search dialog, made right after the window itself, so that it reads the criteria of
    // the start language; tests put one they work in its place.
    TSearchForm& SearchForm() const { return *searchForm_; }
    void ReplaceSearchForm(std::unique_ptr<TSearchForm> dialog);

    // Opens the project of the first argument, if there is one (the command line without the
    // program's own name).
    void OnStart(const QStringList& arguments);
    // The availability rule: enables the commands from the active project window.
    void ActionList1Update();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void customEvent(QEvent* event) override;

  private:
    // The table of commands names the handlers.
    friend std::span<const Command> MainCommands();

    void FormCreate();
    // Closes the children and writes the settings; false when a child refused to close.
    bool FormClose();
    void CreateCommands();
    QAction* AddCommand(const QString& name, const QString& category, const QString& caption,
                        const QString& hint, std::function<void()> handler,
                        QKeySequence::StandardKey keys = QKeySequence::UnknownKey);
    void CreateMenus();
    void FillMenu(QMenu* menu, const MenuLayout& layout);
    void CreateToolBar();
    void RunCommand(QAction* action, const std::function<void()>& handler);
    QAction* CommandAction(const QString& name) const;
    void SetEnabled(const char* name, bool enabled);
    void ReadTexts(const LanguageTexts& texts);
    void ReadSettings();
    void CheckLanguageEntry(const QString& code);
    // Follows the window's state and loads the profile files dropped onto it.
    void WatchProjectForm(TProjectForm* form);
    // Load Data's work on the files dropped onto `form`.
    void LoadDroppedFiles(TProjectForm& form, const QStringList& files);

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
    void actSummaryExecute();
    void WindowCascade1Execute();
    void WindowTileHorizontal1Execute();
    void WindowTileVertical1Execute();
    void actHelpManual1Execute();
    void actHelpManual2Execute();
    void HelpAboutExecute();
    void actApplicationExitExecute();
    // Every language command.
    void ChooseLanguage(const QString& code);

    QMdiArea* mdiArea_ = nullptr;
    QHash<QString, QAction*> commands_;                 // by name, the language commands included
    QList<std::pair<QMenu*, const MenuLayout*>> menus_; // the language sub-menu included
    QActionGroup* languageGroup_ = nullptr;
    QAction* checkedLanguage_ = nullptr;
    bool startMaximized_ = false;
    QList<QAction*> windowListEntries_;
    QTimer* idleTimer_ = nullptr;
    CommandTexts texts_;
    std::unique_ptr<TSearchForm> searchForm_;
    // Owned as children.
    TAboutBox* aboutBox_ = nullptr;
    TdlgPrintProfiles* dlgPrintProfiles_ = nullptr;
    TfrmCompReport* compReport_ = nullptr;
};
