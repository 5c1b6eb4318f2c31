// Turns one Markdown manual into an A4 PDF: ostiva-manual INPUT.md OUTPUT.pdf
// Images are found relative to the Markdown file and scaled down to the width of the text.
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>
#include <cstdio>

namespace {

// A4 with 20 mm margins at the sides and 18 mm at top and bottom; the document is laid out
// in its own units of 1/96 inch and scaled onto the page by the printer.
constexpr double kMarginX = 20.0, kMarginY = 18.0;
constexpr double kTextWidth = (210.0 - 2 * kMarginX) / 25.4 * 96.0;
constexpr double kTextHeight = (297.0 - 2 * kMarginY) / 25.4 * 96.0;
// Room kept above a repeated table header for the table's top rule.
constexpr double kHeaderRule = 8;

// False when a picture the text names cannot be read: a manual without its screenshots is not
// written.
bool FitImages(QTextDocument& document, const QDir& base) {
    bool complete = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QImage picture(base.filePath(image.name()));
            const QSize size = picture.size();
            if (picture.isNull()) {
                std::fprintf(stderr, "ostiva-manual: cannot read image %s\n",
                             qPrintable(image.name()));
                complete = false;
                continue;
            }
            const double width = std::min<double>(size.width(), kTextWidth);
            // Given to the document directly: printing must not depend on finding files.
            document.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
            image.setWidth(width);
            image.setHeight(width * size.height() / size.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
    return complete;
}

// Tables read as tables on paper only with their rules drawn.
void RuleTables(QTextDocument& document) {
    QList<QTextTable*> tables;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextTable* table = QTextCursor(block).currentTable();
        if (table && !tables.contains(table))
            tables << table;
    }
    for (QTextTable* table : tables) {
        QTextTableFormat format = table->format();
        // A table continued on the next page repeats its header row there.
        format.setHeaderRowCount(1);
        format.setBorder(1);
        format.setBorderBrush(QColor(120, 120, 120));
        format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
        format.setBorderCollapse(false);
        format.setCellPadding(4);
        format.setCellSpacing(0);
        format.setTopMargin(6);
        format.setBottomMargin(10);
        table->setFormat(format);
    }
}

void SetHeadingFont(QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 0)
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat sans;
        sans.setFontFamilies({"DejaVu Sans"});
        cursor.mergeCharFormat(sans);
    }
}

// The first heading of the manual names it: the PDF's title, so viewers and searches show it.
QString FirstHeading(const QTextDocument& document) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.blockFormat().headingLevel() > 0)
            return block.text().trimmed();
    return {};
}

// One piece the pages are cut between: a paragraph, heading, list item, image or table, with
// its place in the unpaginated layout.
struct Piece {
    double top = 0;
    double bottom = 0;
    // Never the last piece of a page: a heading, the text that introduces a table, a table's
    // header row.
    bool keepWithNext = false;
    // A row of a table cut across pages: its table's header row, repeated above it when it
    // starts a page.
    double headerTop = 0;
    double headerBottom = 0;
};

// The document's top-level pieces in reading order. A table is one piece (its rows, its
// header row with them, never split); only a table taller than a page is cut between rows.
QList<Piece> Pieces(const QTextDocument& document) {
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    QList<Piece> pieces;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame()) {
            const QRectF box = layout->frameBoundingRect(frame);
            auto* table = qobject_cast<QTextTable*>(frame);
            if (table && !pieces.isEmpty())
                pieces.last().keepWithNext = true;
            if (!table || box.height() <= kTextHeight) {
                pieces.append({box.top(), box.bottom()});
                continue;
            }
            const QTextTableFormat format = table->format();
            QList<double> rowTops{box.top()};
            for (int row = 1; row < table->rows(); ++row)
                rowTops << layout->blockBoundingRect(
                                     table->cellAt(row, 0).firstCursorPosition().block())
                                   .top() +
                               -format.cellPadding() - format.border();
            rowTops << box.bottom();
            pieces.append({rowTops[0], rowTops[1], true});
            for (int row = 1; row + 1 < rowTops.size(); ++row)
                pieces.append({rowTops[row], rowTops[row + 1], false, rowTops[0], rowTops[1]});
            continue;
        }
        const QTextBlock block = it.currentBlock();
        const QRectF box = layout->blockBoundingRect(block);
        pieces.append({box.top(), box.bottom(), block.blockFormat().headingLevel() > 0});
    }
    return pieces;
}

// One printed page: a stretch of the unpaginated layout, below a repeated table header when
// the page continues a table.
struct Page {
    double top = 0;
    double bottom = 0;
    double headerTop = 0;
    double headerBottom = 0;
};

// A page ends before the first piece that does not fit; the pieces kept with it (its heading,
// a table's introduction) move on with it, so that no heading ends a page. Cutting only
// between pieces also means that no line is drawn, clipped, on two pages.
QList<Page> Pages(const QTextDocument& document) {
    const QList<Piece> pieces = Pieces(document);
    QList<Page> pages{{0.0, 0.0}};
    int first = 0; // first piece of the current page
    for (int i = 0; i < pieces.size(); ++i) {
        const Page& page = pages.last();
        const double room = kTextHeight - (page.headerBottom - page.headerTop) - kHeaderRule;
        if (pieces[i].bottom - page.top <= room || i == first)
            continue;
        int cut = i;
        while (cut - 1 > first && pieces[cut - 1].keepWithNext)
            --cut;
        pages.last().bottom = pieces[cut].top;
        pages.append({pieces[cut].top, 0.0, pieces[cut].headerTop, pieces[cut].headerBottom});
        first = cut;
        i = cut;
    }
    pages.last().bottom = document.size().height();
    return pages;
}

// Draws one stretch of the layout with its top at the painter's current origin.
void DrawStretch(QTextDocument& document, QPainter& painter, double top, double bottom) {
    const QRectF area(0, top, kTextWidth, bottom - top);
    painter.save();
    painter.translate(0, -top);
    // A rule lying on the cut (a table's top or a row's) belongs to the next stretch only.
    painter.setClipRect(area.adjusted(0, 0, 0, -0.5));
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = area.adjusted(0, 0, 0, -1);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
}

// Draws each page's share of the document onto the writer's pages.
void Print(QTextDocument& document, QPdfWriter& writer) {
    const QList<Page> pages = Pages(document);
    QPainter painter(&writer);
    const double scale = writer.resolution() / 96.0;
    painter.scale(scale, scale);
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        const Page& page = pages[i];
        const double header = page.headerBottom - page.headerTop;
        // The header row with the table's top rule just above it, then the page's rows.
        if (header > 0)
            DrawStretch(document, painter, page.headerTop - kHeaderRule, page.headerBottom + 1);
        painter.save();
        painter.translate(0, header > 0 ? header + kHeaderRule : 0);
        DrawStretch(document, painter, page.top, page.bottom);
        painter.restore();
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: ostiva-manual INPUT.md OUTPUT.pdf\n");
        return 2;
    }
    const QString input = QString::fromLocal8Bit(argv[1]);
    const QString output = QString::fromLocal8Bit(argv[2]);
    QFile source(input);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "ostiva-manual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QDir base = QFileInfo(input).absoluteDir();

    QTextDocument document;
    QFont font("DejaVu Serif");
    font.setPointSizeF(10.5);
    // Without ligatures "fi" stays two letters, which every PDF search and text extraction
    // finds.
    font.setStyleStrategy(QFont::PreferNoShaping);
    document.setDefaultFont(font);
    document.setBaseUrl(QUrl::fromLocalFile(base.absolutePath() + "/"));
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    if (!FitImages(document, base))
        return 1;
    RuleTables(document);
    SetHeadingFont(document);
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    root.setMargin(0);
    document.rootFrame()->setFrameFormat(root);
    // Laid out as one long page; Print cuts it into pages.
    document.setTextWidth(kTextWidth);

    QPdfWriter writer(output);
    writer.setTitle(FirstHeading(document));
    writer.setCreator("Ostiva");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginX, kMarginY, kMarginX, kMarginY),
                                     QPageLayout::Millimeter));
    Print(document, writer);
    if (!QFileInfo(output).isFile() || QFileInfo(output).size() == 0) {
        std::fprintf(stderr, "ostiva-manual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
