#include "app/shell/ActionIcons.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace {

// Every picture is drawn on a 32 x 32 grid.
using Painter = std::function<void(QPainter&)>;

const QColor kInk(40, 40, 40);
const QColor kPaper(250, 250, 250);
const QColor kFolder(232, 190, 70);
const QColor kBlue(40, 100, 200);
const QColor kGreen(40, 150, 60);
const QColor kRed(200, 40, 40);
const QColor kGrey(150, 150, 150);

void Page(QPainter& p, QRectF r) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(r);
}

void Folder(QPainter& p, bool open) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kFolder.darker(115));
    p.drawPolygon(QPolygonF{{3, 8}, {12, 8}, {14, 11}, {28, 11}, {28, 27}, {3, 27}});
    p.setBrush(kFolder);
    if (open)
        p.drawPolygon(QPolygonF{{7, 15}, {31, 15}, {27, 27}, {3, 27}});
    else
        p.drawRect(QRectF(3, 14, 25, 13));
}

void Curve(QPainter& p, const QColor& colour, double baseY, double amplitude) {
    QPainterPath path(QPointF(8, baseY));
    path.cubicTo(12, baseY - amplitude, 16, baseY + amplitude, 24, baseY);
    p.setPen(QPen(colour, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour) {
    p.setPen(QPen(colour, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(from, to);
    const QLineF line(to, from);
    QLineF wing1 = line;
    wing1.setLength(7);
    wing1.setAngle(line.angle() + 35);
    QLineF wing2 = line;
    wing2.setLength(7);
    wing2.setAngle(line.angle() - 35);
    p.drawLine(wing1);
    p.drawLine(wing2);
}

void Magnifier(QPainter& p, QPointF centre, double radius) {
    p.setPen(QPen(kInk, 2.5));
    p.setBrush(QColor(190, 220, 250));
    p.drawEllipse(centre, radius, radius);
    p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
    const double d = radius * 0.72;
    p.drawLine(QPointF(centre.x() + d, centre.y() + d),
               QPointF(centre.x() + d + radius * 0.8, centre.y() + d + radius * 0.8));
}

void Device(QPainter& p) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kGrey);
    p.drawRoundedRect(QRectF(4, 3, 14, 26), 3, 3);
    p.setBrush(QColor(160, 210, 160));
    p.drawRect(QRectF(7, 6, 8, 7));
    p.setBrush(kInk);
    for (int row = 0; row < 3; ++row)
        p.drawRect(QRectF(7, 17 + row * 4, 8, 2));
}

void Window(QPainter& p, QRectF r) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setBrush(kBlue);
    p.drawRect(QRectF(r.x(), r.y(), r.width(), 4));
}

void Book(QPainter& p, const QString& number) {
    p.setPen(QPen(kInk, 1.2));
    p.setBrush(QColor(170, 60, 60));
    p.drawRoundedRect(QRectF(6, 3, 20, 26), 2, 2);
    p.setBrush(kPaper);
    p.drawRect(QRectF(8, 25, 18, 3));
    QFont font = p.font();
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kPaper);
    p.drawText(QRectF(6, 3, 20, 21), Qt::AlignCenter, number);
}

const QHash<QString, Painter>& Painters() {
    static const QHash<QString, Painter> painters{
        {"actProjectOpen", [](QPainter& p) { Folder(p, true); }},
        {"actProjectNew",
         [](QPainter& p) {
             Folder(p, false);
             p.setPen(QPen(kGreen, 4));
             p.drawLine(QPointF(23, 2), QPointF(23, 14));
             p.drawLine(QPointF(17, 8), QPointF(29, 8));
         }},
        {"actLoadData",
         [](QPainter& p) {
             Page(p, QRectF(4, 10, 20, 20));
             Curve(p, kRed, 22, 8);
             Arrow(p, QPointF(24, 1), QPointF(24, 16), kBlue);
         }},
        {"actLoadDataDevice",
         [](QPainter& p) {
             Device(p);
             Arrow(p, QPointF(19, 16), QPointF(30, 16), kBlue);
         }},
        {"actPrintPreview",
         [](QPainter& p) {
             Page(p, QRectF(3, 2, 20, 26));
             Curve(p, kRed, 10, 6);
             Magnifier(p, QPointF(17, 18), 6);
         }},
        {"actPrintProfiles",
         [](QPainter& p) {
             Page(p, QRectF(9, 2, 14, 12));
             p.setBrush(kGrey);
             p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
             Page(p, QRectF(9, 20, 14, 10));
             p.setBrush(kGreen);
             p.drawEllipse(QPointF(25, 16), 1.5, 1.5);
         }},
        {"actProfileCompare",
         [](QPainter& p) {
             Page(p, QRectF(2, 2, 18, 20));
             Curve(p, kRed, 12, 10);
             Page(p, QRectF(12, 10, 18, 20));
             p.translate(8, 8);
             Curve(p, kBlue, 12, 10);
             p.translate(-8, -8);
         }},
        {"actProfileCopyTo",
         [](QPainter& p) {
             Page(p, QRectF(2, 2, 14, 18));
             p.translate(8, 6);
             p.scale(0.75, 0.75);
             Folder(p, false);
             p.resetTransform();
             Arrow(p, QPointF(9, 12), QPointF(20, 21), kGreen);
         }},
        {"actProfileSave",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.2));
             p.setBrush(kBlue);
             p.drawPolygon(QPolygonF{{3, 3}, {25, 3}, {29, 7}, {29, 29}, {3, 29}});
             p.setBrush(kPaper);
             p.drawRect(QRectF(8, 3, 14, 9));
             p.drawRect(QRectF(7, 17, 18, 12));
             p.setBrush(kInk);
             p.drawRect(QRectF(17, 5, 3, 5));
         }},
        {"actProfileDelete",
         [](QPainter& p) {
             p.setPen(QPen(kRed, 5, Qt::SolidLine, Qt::RoundCap));
             p.drawLine(QPointF(7, 7), QPointF(25, 25));
             p.drawLine(QPointF(25, 7), QPointF(7, 25));
         }},
        {"actProfileSearch", [](QPainter& p) { Magnifier(p, QPointF(13, 13), 9); }},
        {"actSummary",
         [](QPainter& p) {
             // A table whose rows carry a verdict mark each.
             Page(p, QRectF(3, 4, 26, 24));
             p.setPen(QPen(kGrey, 1));
             for (int row = 0; row < 4; ++row)
                 p.drawLine(QPointF(4, 10 + row * 5), QPointF(28, 10 + row * 5));
             p.drawLine(QPointF(20, 5), QPointF(20, 27));
             p.setPen(Qt::NoPen);
             for (int row = 0; row < 4; ++row) {
                 p.setBrush(row == 2 ? kRed : kGreen);
                 p.drawEllipse(QPointF(24, 12.5 + row * 5), 1.8, 1.8);
             }
             p.setBrush(kBlue);
             p.drawRect(QRectF(4, 5, 24, 4));
         }},
        {"WindowCascade1",
         [](QPainter& p) {
             Window(p, QRectF(2, 2, 17, 13));
             Window(p, QRectF(7, 9, 17, 13));
             Window(p, QRectF(12, 16, 17, 13));
         }},
        {"WindowTileHorizontal1",
         [](QPainter& p) {
             Window(p, QRectF(3, 3, 26, 12));
             Window(p, QRectF(3, 17, 26, 12));
         }},
        {"WindowTileVertical1",
         [](QPainter& p) {
             Window(p, QRectF(3, 3, 12, 26));
             Window(p, QRectF(17, 3, 12, 26));
         }},
        {"actHelpManual1", [](QPainter& p) { Book(p, "1"); }},
        {"actHelpManual2", [](QPainter& p) { Book(p, "2"); }},
        {"HelpAbout",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.2));
             p.setBrush(kBlue);
             p.drawEllipse(QPointF(16, 16), 13, 13);
             p.setPen(Qt::NoPen);
             p.setBrush(kPaper);
             p.drawEllipse(QPointF(16, 9.5), 2.2, 2.2);
             p.drawRect(QRectF(14, 14, 4, 11));
         }},
        {"actApplicationExit",
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1.2));
             p.setBrush(QColor(150, 100, 60));
             p.drawRect(QRectF(4, 3, 14, 26));
             p.setBrush(kFolder);
             p.drawEllipse(QPointF(15, 17), 1.5, 1.5);
             Arrow(p, QPointF(14, 16), QPointF(30, 16), kRed);
         }},
        {"UpdateDevice",
         [](QPainter& p) {
             Device(p);
             Arrow(p, QPointF(25, 30), QPointF(25, 12), kGreen);
         }},
    };
    return painters;
}

} // namespace

QIcon ActionIcon(const QString& commandName) {
    static QHash<QString, QIcon> cache;
    if (const auto cached = cache.constFind(commandName); cached != cache.constEnd())
        return *cached;
    const auto painter = Painters().constFind(commandName);
    if (painter == Painters().constEnd())
        return {};
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        (*painter)(p);
    }
    const QIcon icon(pixmap);
    cache.insert(commandName, icon);
    return icon;
}
