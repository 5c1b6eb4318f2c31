#include "app/project/TFileListBox.h"

#include <QDir>
#include <QLabel>
#include <QResizeEvent>

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, [this] {
        if (!reading_)
            emit Change();
    });
    narrowedNote_ = new QLabel(this);
    narrowedNote_->setObjectName("lblNarrowed");
    // The list is narrow: the note wraps rather than being cut off.
    narrowedNote_->setWordWrap(true);
    // Set apart from the entries, as a header is.
    narrowedNote_->setAutoFillBackground(true);
    narrowedNote_->setBackgroundRole(QPalette::Button);
    QFont italic = narrowedNote_->font();
    italic.setItalic(true);
    narrowedNote_->setFont(italic);
    narrowedNote_->setContentsMargins(3, 1, 3, 1);
    narrowedNote_->hide();
}

void TFileListBox::SetDirectory(const QString& directory) {
    directory_ = directory;
    if (!directory_.isEmpty() && !directory_.endsWith('/'))
        directory_ += '/';
    Refresh();
}

void TFileListBox::SetMask(const QString& mask) {
    mask_ = mask;
    narrowed_ = false;
    onlyNames_.clear();
    Refresh();
}

void TFileListBox::ShowOnly(const QStringList& names) {
    narrowed_ = true;
    onlyNames_ = QSet<QString>(names.begin(), names.end());
    Refresh();
}

void TFileListBox::Refresh() {
    ReadDirectory();
    emit Change();
}

void TFileListBox::ReadDirectory() {
    reading_ = true;
    clear();
    QStringList names;
    if (!directory_.isEmpty()) {
        QDir::setCurrent(directory_);
        QDir dir(directory_);
        dir.setNameFilters(mask_.split(';', Qt::SkipEmptyParts));
        // Without QDir::CaseSensitive the name filters match without regard to case.
        dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
        dir.setSorting(QDir::Name | QDir::IgnoreCase);
        names = dir.entryList();
    }
    const qsizetype total = names.size();
    if (narrowed_)
        names.removeIf([this](const QString& name) { return !onlyNames_.contains(name); });
    addItems(names);
    ShowNarrowedNote(names.size(), total);
    reading_ = false;
}

void TFileListBox::SetNarrowedText(const QString& text) {
    narrowedText_ = text;
}

void TFileListBox::ShowNarrowedNote(qsizetype shown, qsizetype total) {
    if (narrowed_)
        narrowedNote_->setText(QString(narrowedText_)
                                   .replace("%1", QString::number(shown))
                                   .replace("%2", QString::number(total)));
    narrowedNote_->setVisible(narrowed_);
    PlaceNarrowedNote();
}

void TFileListBox::PlaceNarrowedNote() {
    // The note takes a strip of the frame's inside above the entries, so it covers none.
    const QRect inside = contentsRect();
    const int height = narrowed_ ? narrowedNote_->heightForWidth(inside.width()) : 0;
    setViewportMargins(0, height, 0, 0);
    narrowedNote_->setGeometry(inside.left(), inside.top(), inside.width(), height);
}

void TFileListBox::resizeEvent(QResizeEvent* event) {
    QListWidget::resizeEvent(event);
    PlaceNarrowedNote();
}

QStringList TFileListBox::Entries() const {
    QStringList names;
    for (int i = 0; i < count(); ++i)
        names << item(i)->text();
    return names;
}

QString TFileListBox::SelectedEntry() const {
    const int row = currentRow();
    return row >= 0 && row < count() ? item(row)->text() : QString();
}

void TFileListBox::SelectQuietly(int index) {
    reading_ = true;
    setCurrentRow(index);
    reading_ = false;
}
