#pragma once
// The rows of the summary window: one per profile, at the profiles' own speeds or at one table
// speed, with the marks the window shows (indices above 1.00, the verdict, tracks whose
// profiles were stored at different speeds).
#include "core/ProfileSummary.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>
#include <vector>

class SummaryModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        File,
        LasNr,
        Plaats,
        Spoor,
        Wissel,
        Datum,
        Tijd,
        LasSer,
        Snelheid,
        QI,
        QIZij,
        Verdict,
        MaxSpeed,
        ColumnCount
    };
    // Numbers for the numeric columns (a missing one sorts first), dates by year, month and day,
    // the text otherwise.
    static constexpr int kSortRole = Qt::UserRole;
    // VerdictText() of the row, whatever the language.
    static constexpr int kVerdictRole = Qt::UserRole + 1;

    explicit SummaryModel(QObject* parent = nullptr);

    // The column captions, the three verdict texts (within, outside, no assessment) and the
    // tooltip of a mixed-speed mark, "%1" taking the speeds.
    void SetTexts(const QStringList& captions, const QStringList& verdicts,
                  const QString& mixedSpeeds);
    // The rows as read, each at its own speed.
    void SetRows(std::vector<ostiva::SummaryRow> rows);
    // Puts `row` (at its own speed) in place of the row of the same file; false when there is
    // none.
    bool ReplaceRow(ostiva::SummaryRow row);
    // Drops the rows of files not among `files` (deleted or moved away); false when none was.
    bool KeepFiles(const std::vector<std::string>& files);
    // -1: each profile's own speed; otherwise the index into the table speeds.
    void SetSpeed(int tableRow);
    int Speed() const { return speed_; }

    const std::vector<ostiva::SummaryRow>& Rows() const { return shown_; }
    int Count(ostiva::Verdict verdict) const;
    // The stored speeds of the row's track ("80, 160") when they differ; empty otherwise.
    QString MixedSpeeds(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    QVariant Display(const ostiva::SummaryRow& row, int column) const;

    std::vector<ostiva::SummaryRow> own_;
    std::vector<ostiva::SummaryRow> shown_;
    int speed_ = -1;
    QHash<QString, QString> mixed_; // track key -> its speeds, only tracks holding several
    QStringList captions_;
    QStringList verdicts_;
    QString mixedSpeeds_;
};
