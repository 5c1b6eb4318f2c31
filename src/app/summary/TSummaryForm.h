#pragma once
// The summary window of a project: one row per profile with its header fields, indices,
// verdict and the highest table speed at which the weld is within the norm; sortable, filtered
// by verdict, at the profiles' own speeds or at one table speed, exported as CSV or JSON.
#include <QPointer>
#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;
class QMdiArea;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class SummaryModel;
class TProjectForm;

class TSummaryForm : public QWidget {
    Q_OBJECT
  public:
    // The summary window of `project`, made and filled when there is none yet, brought to the
    // front and filled afresh otherwise. nullptr when the first filling was cancelled.
    static TSummaryForm* Open(QMdiArea* area, TProjectForm& project);
    // Fills every summary window of `folder` afresh (its profiles were added or removed), from
    // whichever project window on that folder it was opened.
    static void RefreshAll(const QMdiArea* area, const QString& folder);
    // From now on, whenever `project` saves its profile or drops its edits, every summary
    // window of the folder in `area` reads that profile again.
    static void FollowSavesOf(QMdiArea* area, TProjectForm& project);

    TProjectForm* Project() const { return project_; }
    const SummaryModel& Model() const { return *model_; }

    // Reads the folder's profiles again, with a progress box ("SummaryProgress") and Cancel;
    // false when cancelled (the table keeps what it showed of the profiles still there).
    bool Refresh();
    // Shows the profile of the table's row in the project window, as a click on its entry of
    // the profile list does (the save question included).
    void ShowProfile(int modelRow);
    // Asks for a file name and writes the table at the chosen speed, in the folder's order, as
    // JSON when the name ends in ".json" and as CSV otherwise.
    void Export();
    // Shows the table as shown (sorted, filtered, at the chosen speed) as A4 landscape pages in
    // the report's preview, which prints them or saves them as PDF.
    void PrintPreview();

  private:
    // The summary windows in `area` of `folder`, whichever project window opened them.
    static QList<TSummaryForm*> SummariesOf(const QMdiArea* area, const QString& folder);
    TSummaryForm(TProjectForm& project, QWidget* parent = nullptr);
    void ReadTexts();
    void SpeedChanged();
    void FilterChanged();
    void UpdateCounts();
    void ReadProfileAgain(const QString& name);

    QPointer<TProjectForm> project_;
    QString directory_;
    SummaryModel* model_ = nullptr;
    QSortFilterProxyModel* proxy_ = nullptr;
    QComboBox* cbxSpeed_ = nullptr;
    QComboBox* cbxFilter_ = nullptr;
    QLabel* lblCounts_ = nullptr;
    QPushButton* btnExport_ = nullptr;
    QPushButton* btnPrintPreview_ = nullptr;
    QTableView* tblSummary_ = nullptr;
    QString countsText_;
    QString exportTitle_;
    QString exportFilter_;
    QString progressText_;
    QString cancelText_;
    QString title_;
    QString speedText_;
    QString pageText_;
};
