// Turns one Markdown manual into an A4 PDF: ostiva-manual INPUT.md OUTPUT.pdf
// Images are found relative to the Markdown file and scaled down to the width of the text.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>
#include <cstdio>

namespace {

// A4 with 20 mm margins at the sides and 18 mm at top and bottom; the document is laid out
// in its own units of 1/96 inch and scaled onto the page by the printer.
constexpr double kMarginX = 20.0, kMarginY = 18.0;
constexpr double kTextWidth = (210.0 - 2 * kMarginX) / 25.4 * 96.0;
constexpr double kTextHeight = (297.0 - 2 * kMarginY) / 25.4 * 96.0;

void FitImages(QTextDocument& document, const QDir& base) {
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
    document.setDefaultFont(font);
    document.setDefaultStyleSheet("h1, h2, h3 { font-family: 'DejaVu Sans'; }");
    document.setBaseUrl(QUrl::fromLocalFile(base.absolutePath() + "/"));
    document.setMarkdown(QString::fromUtf8(source.readAll()));
    FitImages(document, base);
    RuleTables(document);
    QTextFrameFormat root = document.rootFrame()->frameFormat();
    root.setMargin(0);
    document.rootFrame()->setFrameFormat(root);
    // A paginated document is printed as laid out here, without extra margins.
    document.setPageSize(QSizeF(kTextWidth, kTextHeight));

    QPdfWriter writer(output);
    writer.setTitle(document.metaInformation(QTextDocument::DocumentTitle));
    writer.setCreator("Ostiva");
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(kMarginX, kMarginY, kMarginX, kMarginY),
                                     QPageLayout::Millimeter));
    document.print(&writer);
    if (!QFileInfo(output).isFile() || QFileInfo(output).size() == 0) {
        std::fprintf(stderr, "ostiva-manual: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
