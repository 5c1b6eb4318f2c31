#include "app/summary/SummaryModel.h"

#include "core/NormQuality.h"
#include "core/SummaryText.h"

#include <QApplication>
#include <QBrush>
#include <QColor>
#include <QIcon>
#include <QRegularExpression>
#include <QStyle>
#include <algorithm>
#include <map>
#include <set>

using ostiva::SummaryRow;

// The exports add the message column after the table's.
static_assert(std::size(ostiva::kSummaryKeys) == SummaryModel::ColumnCount + 1);

namespace {

const QColor kOverLimit(200, 30, 30);
const QColor kWithin(20, 130, 40);
const QColor kNoAssessment(120, 120, 120);
const QColor kMixedBackground(255, 225, 150);

QString Text(const std::string& text) {
    return QString::fromStdString(text).trimmed();
}

// The index as its text reads; the texts never depend on the user's locale.
bool AboveLimit(const std::string& index) {
    bool ok = false;
    const double value = Text(index).toDouble(&ok);
    return ok && value > 1.0;
}

// A date as the device writes it, day-month-year, sorts as year-month-day; any other text as
// it stands.
QString DateSortKey(const std::string& date) {
    static const QRegularExpression dayMonthYear(R"(^(\d{1,2})[-./](\d{1,2})[-./](\d{4})$)");
    const QString text = Text(date);
    const QRegularExpressionMatch m = dayMonthYear.match(text);
    if (!m.hasMatch())
        return text;
    return QString("%1-%2-%3")
        .arg(m.captured(3), m.captured(2).rightJustified(2, '0'),
             m.captured(1).rightJustified(2, '0'));
}

QString TrackKey(const SummaryRow& row) {
    return Text(row.Plaats) + QChar(0) + Text(row.Spoor);
}

int VerdictIndex(ostiva::Verdict verdict) {
    switch (verdict) {
    case ostiva::Verdict::Within:
        return 0;
    case ostiva::Verdict::Outside:
        return 1;
    case ostiva::Verdict::NoAssessment:
        break;
    }
    return 2;
}

} // namespace

SummaryModel::SummaryModel(QObject* parent) : QAbstractTableModel(parent) {
    // The column keys of the exports, in the same order, are the built-in captions.
    for (int column = 0; column < ColumnCount; ++column)
        captions_ << ostiva::kSummaryKeys[column];
    verdicts_ = {"within", "outside", "no assessment"};
    mixedSpeeds_ = "Profiles of this track were stored at different speeds: %1 km/h";
}

void SummaryModel::SetTexts(const QStringList& captions, const QStringList& verdicts,
                            const QString& mixedSpeeds) {
    if (captions.size() == ColumnCount)
        captions_ = captions;
    if (verdicts.size() == 3)
        verdicts_ = verdicts;
    mixedSpeeds_ = mixedSpeeds;
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
    if (!shown_.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void SummaryModel::SetRows(std::vector<SummaryRow> rows) {
    own_ = std::move(rows);
    // The speeds as stored, whatever speed the table shows: a track judged at two speeds stays
    // marked while the engineer picks one for all of it.
    std::map<QString, std::map<double, QString>> speeds;
    for (const SummaryRow& row : own_) {
        const QString speed = Text(row.Snelheid);
        if (!speed.isEmpty())
            speeds[TrackKey(row)].emplace(speed.toDouble(), speed);
    }
    mixed_.clear();
    for (const auto& [track, list] : speeds) {
        if (list.size() < 2)
            continue;
        QStringList texts;
        for (const auto& entry : list)
            texts << entry.second;
        mixed_.insert(track, texts.join(", "));
    }
    SetSpeed(speed_);
}

bool SummaryModel::ReplaceRow(SummaryRow row) {
    for (SummaryRow& own : own_) {
        if (own.File == row.File) {
            own = std::move(row);
            SetRows(std::move(own_));
            return true;
        }
    }
    return false;
}

bool SummaryModel::KeepFiles(const std::vector<std::string>& files) {
    const std::set<std::string> kept(files.begin(), files.end());
    const auto gone = std::remove_if(own_.begin(), own_.end(), [&kept](const SummaryRow& row) {
        return !kept.contains(row.File);
    });
    if (gone == own_.end())
        return false;
    own_.erase(gone, own_.end());
    SetRows(std::move(own_));
    return true;
}

void SummaryModel::SetSpeed(int tableRow) {
    beginResetModel();
    speed_ = tableRow >= 0 && tableRow < int(ostiva::kSpeedTable.size()) ? tableRow : -1;
    if (speed_ < 0) {
        shown_ = own_;
    } else {
        shown_.clear();
        shown_.reserve(own_.size());
        for (const SummaryRow& row : own_)
            shown_.push_back(ostiva::RowAtTableSpeed(row, std::size_t(speed_)));
    }
    endResetModel();
}

int SummaryModel::Count(ostiva::Verdict verdict) const {
    int count = 0;
    for (const SummaryRow& row : shown_)
        count += row.verdict == verdict;
    return count;
}

QString SummaryModel::MixedSpeeds(int row) const {
    if (row < 0 || row >= int(shown_.size()))
        return {};
    return mixed_.value(TrackKey(shown_[std::size_t(row)]));
}

int SummaryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(shown_.size());
}

int SummaryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SummaryModel::Display(const SummaryRow& row, int column) const {
    switch (column) {
    case File:
        return Text(row.File);
    case LasNr:
        return Text(row.LasNr);
    case Plaats:
        return Text(row.Plaats);
    case Spoor:
        return Text(row.Spoor);
    case Wissel:
        return Text(row.Wissel);
    case Datum:
        return Text(row.Datum);
    case Tijd:
        return Text(row.Tijd);
    case LasSer:
        return Text(row.LasSer);
    case Snelheid:
        return Text(row.Snelheid);
    case QI:
        return Text(row.QI);
    case QIZij:
        return Text(row.QIZij);
    case Verdict:
        return verdicts_[VerdictIndex(row.verdict)];
    case MaxSpeed:
        return row.MaxSpeed ? QString::number(*row.MaxSpeed) : QString();
    default:
        return {};
    }
}

QVariant SummaryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(shown_.size()))
        return {};
    const SummaryRow& row = shown_[std::size_t(index.row())];
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return Display(row, column);
    case kSortRole:
        if (column == Snelheid || column == QI || column == QIZij || column == MaxSpeed) {
            bool ok = false;
            const double value = Display(row, column).toString().toDouble(&ok);
            return ok ? value : -1.0;
        }
        if (column == Datum)
            return DateSortKey(row.Datum);
        return Display(row, column);
    case kVerdictRole:
        return QString(ostiva::VerdictText(row.verdict));
    case Qt::ForegroundRole:
        if ((column == QI && AboveLimit(row.QI)) || (column == QIZij && AboveLimit(row.QIZij)))
            return QBrush(kOverLimit);
        if (column == Verdict)
            return QBrush(row.verdict == ostiva::Verdict::Within    ? kWithin
                          : row.verdict == ostiva::Verdict::Outside ? kOverLimit
                                                                    : kNoAssessment);
        return {};
    case Qt::BackgroundRole:
        if (column == Snelheid && !MixedSpeeds(index.row()).isEmpty())
            return QBrush(kMixedBackground);
        return {};
    case Qt::DecorationRole:
        if (column == Snelheid && !MixedSpeeds(index.row()).isEmpty())
            return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
        return {};
    case Qt::ToolTipRole:
        if (column == Snelheid && !MixedSpeeds(index.row()).isEmpty())
            return QString(mixedSpeeds_).replace("%1", MixedSpeeds(index.row()));
        if (column == File && !row.error.empty())
            return QString::fromStdString(row.error);
        return {};
    default:
        return {};
    }
}

QVariant SummaryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount)
        return captions_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}
