#pragma once
// The profile list of a project window: the names of the files in one directory that match a
// mask of ";"-separated wildcard patterns (letter case ignored), sorted without regard to case.
// Reading the directory makes it the process's current directory. A search narrows the list to
// the exact names it found; a note above the entries then says how many of all are shown.
#include <QListWidget>
#include <QSet>
#include <QString>

class QLabel;

class TFileListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit TFileListBox(QWidget* parent = nullptr);

    QString Directory() const { return directory_; } // ends with a path separator
    QString Mask() const { return mask_; }
    // Each of these re-reads the directory and then emits Change().
    void SetDirectory(const QString& directory);
    // Also ends a narrowing: the list is whole again.
    void SetMask(const QString& mask);
    void Refresh();
    // Lists, of the files the mask admits, only those named exactly as one of `names`, whatever
    // characters the names hold; stays so through every refresh until the mask is set again.
    // Each name is looked up in a set, so a narrowing costs time linear in the directory's size.
    void ShowOnly(const QStringList& names);
    bool Narrowed() const { return narrowed_; }
    // The note's text, "%1" taking the profiles shown and "%2" all of them.
    void SetNarrowedText(const QString& text);

    QStringList Entries() const;
    int SelectedIndex() const { return currentRow(); }
    QString SelectedEntry() const;
    // Selects an entry without emitting Change(); -1 clears the selection.
    void SelectQuietly(int index);

  signals:
    // The selection handling of the window: run after every re-read and whenever the user
    // selects another entry.
    void Change();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ReadDirectory();
    // The note "7 of 30 profiles (search)" above the entries while narrowed.
    void ShowNarrowedNote(qsizetype shown, qsizetype total);
    void PlaceNarrowedNote();

    QString directory_;
    QString mask_ = "*.*";
    bool reading_ = false;
    bool narrowed_ = false;
    QSet<QString> onlyNames_;
    QLabel* narrowedNote_ = nullptr;
    QString narrowedText_ = "%1 of %2 profiles (search)";
};
