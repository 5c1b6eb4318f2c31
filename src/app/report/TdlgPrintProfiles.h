#pragma once
// The print-selection dialog: a directory, any number of its profile files and one graph
// kind. It lives for the whole run and keeps its graph kind between uses; the Print Profiles
// command points it at the project directory every time.
#include "app/chart/GraphKinds.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;
class QPushButton;
class QRadioButton;

class TdlgPrintProfiles : public QDialog {
    Q_OBJECT
  public:
    explicit TdlgPrintProfiles(QWidget* parent = nullptr);

    // Shows the dialog modally, centred on the screen, and waits; true when OK closed it. The
    // seam of the tests: they override it to work the dialog without a modal loop.
    virtual bool Ask();

    // Shows `directory` in the drive selector, the directory list and the file list.
    void PointAt(const QString& directory);
    // Selects the entries named `name` (letter case ignored) and deselects every other one.
    void SelectOnly(const QString& name);

    QString Directory() const { return fileDirectory_; } // ends with a path separator
    QString Mask() const { return mask_; }
    QStringList Entries() const;
    // The full paths of the selected entries, in the order of the list.
    QStringList SelectedPaths() const;
    // The kind of the first checked radio button, and its caption.
    TGraphKind GraphKind() const;
    QString GraphCaption() const;

  private:
    void BuildControls();
    void FormCreate();
    void DirectoryListBoxChange();
    void ShowDirectoryList(const QString& directory);
    void ShowDrives();
    void ReadFileList();
    int CheckedIndex() const;

    QComboBox* drives_ = nullptr;
    QListWidget* directories_ = nullptr;
    QListWidget* files_ = nullptr;
    QList<QRadioButton*> kinds_; // one per graph kind, in the order of the kinds table
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QString directory_;     // the directory list's current directory, with a separator
    QString fileDirectory_; // the directory the file list shows, with a separator
    QString mask_ = "Zq*.xml";
};
