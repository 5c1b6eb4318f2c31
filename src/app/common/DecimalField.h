#pragma once
// A field the user types a decimal number into (the norm limits, the search's quality limits).
// The desktops this program serves type a decimal comma, which the files and the number
// reader take for the end of the number: a typed "," becomes "." at once, and while the field
// holds anything but a decimal number it is framed red and its tooltip says why, so that its
// window can refuse to use it. Texts the program puts in are left as they are.
#include <QObject>
#include <QString>

class QLineEdit;

class DecimalField : public QObject {
    Q_OBJECT
  public:
    // Watches `edit`, which also owns the watcher.
    explicit DecimalField(QLineEdit* edit);

    bool HoldsNumber() const { return holdsNumber_; }

    // Why `text` is no decimal number; empty when it is one: blanks, a sign, digits with an
    // optional "." and more digits, an optional exponent, blanks.
    static QString Problem(const QString& text);

  signals:
    // After every change of the field's text.
    void Checked(bool holdsNumber);

  private:
    void TurnCommas();
    void Check();

    QLineEdit* edit_;
    QString normalToolTip_;
    bool holdsNumber_ = true;
};
