#pragma once
// The profile list of a project window: the names of the files in one directory that match a
// mask of ";"-separated wildcard patterns (letter case ignored), sorted without regard to case.
// Reading the directory makes it the process's current directory.
#include <QListWidget>
#include <QString>

class TFileListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit TFileListBox(QWidget* parent = nullptr);

    QString Directory() const { return directory_; } // ends with a path separator
    QString Mask() const { return mask_; }
    // Each of these re-reads the directory and then emits Change().
    void SetDirectory(const QString& directory);
    void SetMask(const QString& mask);
    void Refresh();

    QStringList Entries() const;
    int SelectedIndex() const { return currentRow(); }
    QString SelectedEntry() const;
    // Selects an entry without emitting Change(); -1 clears the selection.
    void SelectQuietly(int index);

  signals:
    // The selection handling of the window: run after every re-read and whenever the user
    // selects another entry.
    void Change();

  private:
    void ReadDirectory();
    QString directory_;
    QString mask_ = "*.*";
    bool reading_ = false;
};
