// Typesets the operator's manual: Markdown text with pictures into an A4 PDF,
// with a table of contents and page numbers. Qt's own Markdown reader and PDF
// writer do the work, so the build needs nothing beyond Qt and the fonts.
//   torvex_manual_pdf INPUT.md PICTURE_FOLDER OUTPUT.pdf
// Pictures are named in the text by file name (![caption](main_manual.png)) and
// read from PICTURE_FOLDER; a missing picture fails the build.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextTable>
#include <cstdio>

namespace {

constexpr int kDpi = 300;
constexpr qreal kScreenDpi = 96.0;    // the pictures' own resolution
constexpr qreal kFooterPoints = 24.0; // room for the page number

struct HEADING {
    int m_nLevel;
    QString m_strText;
    int m_nPage; // 0-based page inside the body
};

int Fail(const QString& strText) {
    std::fprintf(stderr, "torvex_manual_pdf: %s\n", qPrintable(strText));
    return 1;
}

void SetUp(QTextDocument& doc, QPdfWriter& writer, const QSizeF& page) {
    doc.documentLayout()->setPaintDevice(&writer);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPointSizeF(10);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setPageSize(page);
}

// Pictures are read from the folder and scaled to at most the text width.
bool PlacePictures(QTextDocument& doc, const QString& strFolder, qreal rWidth, QString& strMissing) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            const QString strName = format.name();
            const QImage image(strFolder + u'/' + QFileInfo(strName).fileName());
            if (image.isNull()) {
                strMissing = strName;
                return false;
            }
            doc.addResource(QTextDocument::ImageResource, QUrl(strName), image);
            // Sizes count in screen pixels; the layout scales them to the writer's resolution.
            const qreal rMax = rWidth * kScreenDpi / kDpi;
            qreal w = image.width() * 0.6;
            if (w > rMax) w = rMax;
            format.setWidth(w);
            format.setHeight(w * image.height() / image.width());
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(format);
        }
    }
    return true;
}

// Headings of levels 1 and 2 with the page they start on; each level-1
// heading starts a new page.
QList<HEADING> Headings(QTextDocument& doc, qreal rPageHeight) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 1 && block != doc.begin()) {
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.setBlockFormat(format);
        }
    }
    QList<HEADING> headings;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int nLevel = block.blockFormat().headingLevel();
        if (nLevel < 1 || nLevel > 2) continue;
        const qreal y = doc.documentLayout()->blockBoundingRect(block).top();
        headings.append({nLevel, block.text(), int(y / rPageHeight)});
    }
    return headings;
}

void BuildContents(QTextDocument& toc, const QString& strTitle, const QList<HEADING>& headings, int nOffset) {
    QTextCursor cursor(&toc);
    QTextBlockFormat titleFormat;
    titleFormat.setHeadingLevel(1);
    titleFormat.setBottomMargin(18);
    QTextCharFormat titleChars;
    titleChars.setFontPointSize(18);
    titleChars.setFontWeight(QFont::Bold);
    cursor.setBlockFormat(titleFormat);
    cursor.insertText(strTitle, titleChars);
    // Heading and page number side by side: a table without borders.
    QTextTableFormat tableFormat;
    tableFormat.setBorder(0);
    tableFormat.setBorderStyle(QTextFrameFormat::BorderStyle_None);
    tableFormat.setCellPadding(1);
    tableFormat.setCellSpacing(0);
    tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    tableFormat.setColumnWidthConstraints(
        {QTextLength(QTextLength::PercentageLength, 90), QTextLength(QTextLength::PercentageLength, 10)});
    QTextTable* pTable = cursor.insertTable(int(headings.size()), 2, tableFormat);
    for (int i = 0; i < headings.size(); ++i) {
        const HEADING& h = headings[i];
        QTextCharFormat chars;
        chars.setFontWeight(h.m_nLevel == 1 ? QFont::Bold : QFont::Normal);
        QTextBlockFormat left;
        left.setIndent(h.m_nLevel - 1);
        left.setTopMargin(h.m_nLevel == 1 ? 6 : 0);
        QTextCursor cell = pTable->cellAt(i, 0).firstCursorPosition();
        cell.setBlockFormat(left);
        cell.insertText(h.m_strText, chars);
        QTextBlockFormat right;
        right.setAlignment(Qt::AlignRight);
        right.setTopMargin(left.topMargin());
        cell = pTable->cellAt(i, 1).firstCursorPosition();
        cell.setBlockFormat(right);
        cell.insertText(QString::number(h.m_nPage + nOffset + 1), chars);
    }
}

// Code blocks wrap instead of running off the page, in a smaller type.
void WrapCode(QTextDocument& doc) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (!block.blockFormat().nonBreakableLines()) continue;
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        format.setNonBreakableLines(false);
        cursor.setBlockFormat(format);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat chars;
        chars.setFontPointSize(8.5);
        cursor.mergeCharFormat(chars);
    }
}

void PrintPages(QTextDocument& doc, QPdfWriter& writer, QPainter& painter, int& nPage, bool& bFirst) {
    const QSizeF page = doc.pageSize();
    const int nPages = doc.pageCount();
    QFont footerFont(QStringLiteral("Noto Sans CJK JP"));
    footerFont.setPointSizeF(9);
    for (int i = 0; i < nPages; ++i) {
        if (!bFirst) writer.newPage();
        bFirst = false;
        painter.save();
        painter.setClipRect(QRectF(0, 0, page.width(), page.height()));
        painter.translate(0, -i * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, i * page.height(), page.width(), page.height());
        doc.documentLayout()->draw(&painter, context);
        painter.restore();
        ++nPage;
        painter.setFont(footerFont);
        painter.drawText(QRectF(0, page.height(), page.width(), kFooterPoints * kDpi / 72.0),
                         Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("- %1 -").arg(nPage));
    }
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 4) return Fail(QStringLiteral("usage: torvex_manual_pdf INPUT.md PICTURE_FOLDER OUTPUT.pdf"));
    const QString strInput = QString::fromLocal8Bit(argv[1]);
    const QString strFolder = QString::fromLocal8Bit(argv[2]);
    const QString strOutput = QString::fromLocal8Bit(argv[3]);

    QFile input(strInput);
    if (!input.open(QIODevice::ReadOnly)) return Fail(QStringLiteral("cannot read ") + strInput);
    QString strText = QString::fromUtf8(input.readAll());
    // The first line, "# Title", heads the contents page; the body begins after it.
    QString strTitle;
    if (strText.startsWith(QLatin1String("# "))) {
        const qsizetype nEnd = strText.indexOf(u'\n');
        strTitle = strText.mid(2, nEnd < 0 ? -1 : nEnd - 2).trimmed();
        strText = nEnd < 0 ? QString() : strText.mid(nEnd + 1);
    }

    QPdfWriter writer(strOutput);
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(20, 18, 20, 14), QPageLayout::Millimeter);
    writer.setCreator(QStringLiteral("TORVEX_Pilot"));
    const QSizeF page(writer.width(), writer.height() - kFooterPoints * kDpi / 72.0);

    QTextDocument body;
    SetUp(body, writer, page);
    body.setMarkdown(strText, QTextDocument::MarkdownDialectGitHub);
    WrapCode(body);
    QString strMissing;
    if (!PlacePictures(body, strFolder, page.width(), strMissing))
        return Fail(QStringLiteral("picture not found: ") + strMissing);
    const QList<HEADING> headings = Headings(body, page.height());
    writer.setTitle(strTitle);

    // The contents come first; their length moves the body's page numbers.
    QTextDocument toc;
    SetUp(toc, writer, page);
    BuildContents(toc, strTitle, headings, 0);
    const int nTocPages = toc.pageCount();
    toc.clear();
    BuildContents(toc, strTitle, headings, nTocPages);

    QPainter painter;
    if (!painter.begin(&writer)) return Fail(QStringLiteral("cannot write ") + strOutput);
    int nPage = 0;
    bool bFirst = true;
    PrintPages(toc, writer, painter, nPage, bFirst);
    PrintPages(body, writer, painter, nPage, bFirst);
    painter.end();
    return 0;
}
