#pragma once
// The project window: one project directory with its profile list, the header fields of the
// selected profile, its chart in one of nine graph kinds and the parameter, norm-limit, speed
// and quality panels. The same class serves as the comparison window.
#include "app/chart/GraphKinds.h"

#include <QString>
#include <QStringList>
#include <QWidget>
#include <exception>
#include <memory>
#include <string>

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class TFileListBox;
struct ProjectFormControls;

namespace ostiva {
class TProjectData;
}

class TProjectForm : public QWidget {
    Q_OBJECT
  public:
    // Opens a new project window on the directory of `profilePath` with that file selected.
    // Throws std::runtime_error "Invalid file name - <path>" when the file does not exist.
    static TProjectForm* OpenProject(QMdiArea* area, const QString& profilePath);
    // Opens a new, empty project window on `directory` (ending with a path separator).
    static TProjectForm* NewProject(QMdiArea* area, const QString& directory);
    // Opens a read-only comparison window on the profile files `first` and `second` (full
    // paths). A file that cannot be read shows the record's error; the window still opens.
    static TProjectForm* OpenComparison(QMdiArea* area, const QString& first,
                                        const QString& second);

    ~TProjectForm() override;

    // Save profile: with `ask`, asks "File <path> is modified. Do you wish to save it?" first.
    // When another program wrote the file after it was shown, asks whether to overwrite it;
    // No shows the file as it is now instead. Returns false when saving failed (the error was
    // shown and Modified stays true).
    bool ProfileSave(bool ask);

    TFileListBox* FileListBox1 = nullptr;

    QString ProjectDir;  // ends with a path separator
    QString CurrentFile; // full path, empty before the first selection
    bool Modified = false;
    bool Editable = false;
    bool CanLoadData = false;
    bool CanLoadFromDevice = false;
    bool CanPrintPreview = false;
    bool CanPrintProfiles = false;
    bool CanDelete = false;
    bool CanSearch = false;
    bool CanCopyTo = false;

    const ostiva::TProjectData* CurrentProfile() const { return currentProfile_.get(); }
    // The comparison window's second profile; null in a project window.
    const ostiva::TProjectData* SecondProfile() const { return secondProfile_.get(); }
    TGraphKind GraphKind() const;
    // The window's controls, for the main window's commands and the tests.
    const ProjectFormControls& Controls() const { return *ui_; }

  signals:
    // Emitted whenever something the main window's availability rule reads may have changed.
    void StateChanged();
    // Profile files (full paths) dropped onto an editable project window.
    void FilesDropped(const QStringList& paths);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    explicit TProjectForm(bool editable, QWidget* parent = nullptr);
    std::unique_ptr<ProjectFormControls> ui_;
    bool headerEditable_;
    std::unique_ptr<ostiva::TProjectData> currentProfile_;
    std::unique_ptr<ostiva::TProjectData> secondProfile_;
    bool Loading = false;
    bool Selecting = false;
    bool headerTyped_ = false; // the header fields hold edits the record does not have
    int shownSpeedIndex_ = -1; // the speed list's entry of the shown profile

    void FormCreate();
    void FileListBox1Change();
    // Builds and shows the record of the selected entry; a non-empty speed replaces the file's.
    void ShowSelectedProfile(const QString& speedOverride);
    void AnyEditChange();
    void ShowProfile();
    void tabGraficTypeChange();
    void ShowPanelsOfKind();
    void UpdateHeaderAccess();
    void SetFieldText(const QString& field, const QString& text);
    void cbxVelInpChange();
    void edtAnyNormChange();
    void btnAnyNormChangeClick();
    void ShowNormLines();
    void CollectHeader();
    // Shows the file as it is on disk now, dropping what was typed.
    void ReloadShownProfile();
    bool ProjectClose();
    void ShowQuality();
    void SelectShownEntry();
    void ShowNoProfile();
    std::unique_ptr<ostiva::TProjectData> BuildRecord(const QString& path,
                                                      const QString& speedOverride);
    static QMdiSubWindow* AddToArea(QMdiArea* area, TProjectForm* form);
    // Used by both files of the window (TProjectFormComparison.cpp holds the comparison).
    static void ShowFailure(QWidget* parent, const std::exception& e);
    static void ShowQualityText(QLabel* label, const std::string& text);
    void ShowSecondProfile();
    void ShowRecordFields(const ostiva::TProjectData& record, bool secondColumn);
    void ArrangeComparisonColumns();
};
