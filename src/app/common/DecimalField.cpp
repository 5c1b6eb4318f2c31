#include "app/common/DecimalField.h"

#include "core/NumberText.h"

#include <QLineEdit>
#include <algorithm>

namespace {

bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// The number of digits from `i` on; `i` moves past them.
int SkipDigits(const QString& text, qsizetype& i) {
    int digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        ++digits;
    return digits;
}

} // namespace

DecimalField::DecimalField(QLineEdit* edit)
    : QObject(edit), edit_(edit), normalToolTip_(edit->toolTip()) {
    connect(edit, &QLineEdit::textEdited, this, [this] { TurnCommas(); });
    connect(edit, &QLineEdit::textChanged, this, [this] { Check(); });
    Check();
}

QString DecimalField::Problem(const QString& text) {
    const QString example = QStringLiteral(" Type a decimal number such as 0.3 or -0.25.");
    qsizetype i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i == text.size())
        return "Empty." + example;
    if (text[i] == u'+' || text[i] == u'-')
        ++i;
    int digits = SkipDigits(text, i);
    if (i < text.size() && text[i] == u'.') {
        ++i;
        digits += SkipDigits(text, i);
    }
    const qsizetype mantissaEnd = i;
    bool number = digits > 0;
    if (number && i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        number = SkipDigits(text, i) > 0;
    }
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (number && i == text.size()) {
        // The reader gives 0 for a value beyond a double's range, so only a zero may read 0.
        const bool zero = !std::any_of(text.begin(), text.begin() + mantissaEnd,
                                       [](QChar c) { return c >= u'1' && c <= u'9'; });
        if (zero || ostiva::ParseDecimal(text.toStdString()) != 0)
            return QString();
        return "\"" + text + "\" is out of range." + example;
    }
    return "\"" + text + "\" is not a decimal number." + example;
}

void DecimalField::TurnCommas() {
    QString text = edit_->text();
    if (!text.contains(u','))
        return;
    const int cursor = edit_->cursorPosition();
    text.replace(u',', u'.');
    edit_->setText(text);
    edit_->setCursorPosition(cursor);
}

void DecimalField::Check() {
    const QString problem = Problem(edit_->text());
    holdsNumber_ = problem.isEmpty();
    edit_->setToolTip(holdsNumber_ ? normalToolTip_ : problem);
    edit_->setStyleSheet(holdsNumber_ ? QString()
                                      : QStringLiteral("QLineEdit { border: 2px solid red; }"));
    edit_->setProperty("decimalProblem", problem);
    emit Checked(holdsNumber_);
}
