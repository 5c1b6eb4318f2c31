#include "app/project/TFileListBox.h"

#include <QDir>

TFileListBox::TFileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, [this] {
        if (!reading_)
            emit Change();
    });
}

void TFileListBox::SetDirectory(const QString& directory) {
    directory_ = directory;
    if (!directory_.isEmpty() && !directory_.endsWith('/'))
        directory_ += '/';
    Refresh();
}

void TFileListBox::SetMask(const QString& mask) {
    mask_ = mask;
    Refresh();
}

void TFileListBox::Refresh() {
    ReadDirectory();
    emit Change();
}

void TFileListBox::ReadDirectory() {
    reading_ = true;
    clear();
    if (!directory_.isEmpty()) {
        QDir::setCurrent(directory_);
        QDir dir(directory_);
        const QStringList patterns = mask_.split(';', Qt::SkipEmptyParts);
        dir.setNameFilters(patterns);
        // Without QDir::CaseSensitive the name filters match without regard to case.
        dir.setFilter(QDir::Files | QDir::Hidden | QDir::System);
        dir.setSorting(QDir::Name | QDir::IgnoreCase);
        addItems(dir.entryList());
    }
    reading_ = false;
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
