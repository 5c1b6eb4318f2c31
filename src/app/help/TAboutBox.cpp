#include "app/help/TAboutBox.h"

#include "app/common/Version.h"
#include "app/help/Manuals.h"

#include <QEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <functional>

const QString TAboutBox::kInternetAddress = "https://www.ostiva-rail.example/";
const QString TAboutBox::kEmailAddress = "support@ostiva-rail.example";

namespace {

// A label that acts on a click, as a link does.
class LinkLabel : public QLabel {
  public:
    LinkLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
        : QLabel(text, parent), onClick_(std::move(onClick)) {
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            onClick_();
    }

  private:
    std::function<void()> onClick_;
};

// A rail seen from the side with a weld in the middle, a one-metre straightedge lying on it
// and the measured profile dipping at the weld.
QPixmap AboutPicture() {
    QPixmap picture(112, 128);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(236, 240, 245));
    p.drawRoundedRect(QRectF(0.5, 0.5, 111, 127), 8, 8);

    // Rail: head, web, foot.
    const QColor steel(112, 122, 134);
    p.setBrush(steel);
    p.drawRect(QRectF(8, 58, 96, 14));
    p.setBrush(steel.lighter(120));
    p.drawRect(QRectF(8, 72, 96, 22));
    p.setBrush(steel.darker(115));
    p.drawRect(QRectF(4, 94, 104, 10));
    // Weld: a slightly raised bead across the rail.
    p.setBrush(QColor(196, 110, 40));
    QPainterPath bead;
    bead.moveTo(51, 104);
    bead.lineTo(51, 57);
    bead.quadTo(56, 54, 61, 57);
    bead.lineTo(61, 104);
    bead.closeSubpath();
    p.drawPath(bead);

    // Straightedge on the running surface.
    p.setBrush(QColor(40, 60, 90));
    p.drawRect(QRectF(6, 44, 100, 7));
    p.setPen(QPen(Qt::white, 1));
    for (int x = 12; x < 104; x += 8)
        p.drawLine(QPointF(x, 44), QPointF(x, x % 16 == 12 ? 48 : 46));

    // The measured profile: flat, with a dip at the weld.
    QPainterPath profile;
    profile.moveTo(8, 26);
    profile.cubicTo(40, 26, 46, 36, 56, 36);
    profile.cubicTo(66, 36, 72, 26, 104, 26);
    p.setPen(QPen(QColor(200, 30, 30), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(profile);
    p.setPen(QPen(QColor(30, 120, 30), 1.2, Qt::DashLine));
    p.drawLine(QPointF(8, 20), QPointF(104, 20));
    p.drawLine(QPointF(8, 40), QPointF(104, 40));
    return picture;
}

} // namespace

QString AboutVersionLine(const QString& fileVersion) {
    return fileVersion.isEmpty() ? QString() : "Version:    " + fileVersion;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About Ostiva");
    setModal(false);

    auto* picture = new QLabel(this);
    picture->setObjectName("ProgramIcon");
    picture->setPixmap(AboutPicture());
    picture->setAlignment(Qt::AlignTop);

    auto* product = new QLabel("OSTIVA", this);
    product->setObjectName("ProductName");
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    product->setFont(big);
    version_ = new QLabel(this);
    version_->setObjectName("Version");
    auto* notice = new QLabel("Copyright \u00A9 Ostiva Rail Systems. All rights reserved.", this);
    notice->setObjectName("Copyright");

    auto* internetLabel = new QLabel("Internet:", this);
    auto* internet = new LinkLabel(
        kInternetAddress, [this] { InternetAddressClick(); }, this);
    internet->setObjectName("InternetAddress");
    internet->setStyleSheet("color: blue; text-decoration: underline;");
    auto* emailLabel = new QLabel("E-mail:", this);
    auto* email = new LinkLabel(
        kEmailAddress, [this] { EmailAddressClick(); }, this);
    email->setObjectName("EmailAddress");
    email->setStyleSheet("color: blue;");

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TAboutBox::OKButtonClick);

    auto* texts = new QVBoxLayout;
    texts->addWidget(product);
    texts->addWidget(version_);
    texts->addWidget(notice);
    texts->addSpacing(8);
    auto* internetRow = new QHBoxLayout;
    internetRow->addWidget(internetLabel);
    internetRow->addWidget(internet);
    internetRow->addStretch();
    texts->addLayout(internetRow);
    auto* emailRow = new QHBoxLayout;
    emailRow->addWidget(emailLabel);
    emailRow->addWidget(email);
    emailRow->addStretch();
    texts->addLayout(emailRow);
    texts->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addSpacing(12);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    FormActivate();
    setFixedSize(sizeHint().expandedTo(QSize(440, 0)));
}

void TAboutBox::ShowAbout() {
    FormActivate();
    if (!isVisible()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

bool TAboutBox::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TAboutBox::FormActivate() {
    version_->setText(AboutVersionLine(QStringLiteral(OSTIVA_FILE_VERSION)));
}

void TAboutBox::InternetAddressClick() {
    OpenWithDesktop(this, QUrl(kInternetAddress));
}

void TAboutBox::EmailAddressClick() {
    OpenWithDesktop(this, QUrl("mailto:" + kEmailAddress));
}

void TAboutBox::OKButtonClick() {
    hide();
}
