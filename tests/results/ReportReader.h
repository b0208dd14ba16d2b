#pragma once

// Reads a workbook back with openpyxl (Debian's Python), as another program
// would see it, and checks what every report must satisfy.

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <gtest/gtest.h>

namespace torvex {

struct REPORT_BOOK {
    bool m_bRead = false;
    QString m_strError;
    QStringList m_listSheets;
    QList<QJsonObject> m_listCells; // per sheet: "B2" -> {v, t, va, qp}

    QJsonObject Cell(int nSheet, const QString& ref) const {
        return m_listCells.value(nSheet).value(ref).toObject();
    }
    // The value as text: strings as they are, numbers as JSON prints them, blank as "".
    QString Text(int nSheet, const QString& ref) const {
        const QJsonValue v = Cell(nSheet, ref).value("v");
        if (v.isString()) return v.toString();
        if (v.isDouble()) return QString::number(v.toDouble(), 'g', 15);
        return QString();
    }
    bool Has(int nSheet, const QString& ref) const { return m_listCells.value(nSheet).contains(ref); }
};

inline REPORT_BOOK ReadReportBook(const QString& strPath) {
    REPORT_BOOK book;
    QProcess p;
    p.start("/usr/bin/python3", {QStringLiteral(TORVEX_TEST_DATA_DIR "/results/read_xlsx.py"), strPath});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        book.m_strError = QString::fromUtf8(p.readAllStandardError());
        return book;
    }
    const QJsonObject root = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    for (const QJsonValue& s : root.value("sheets").toArray()) {
        book.m_listSheets << s.toObject().value("name").toString();
        book.m_listCells << s.toObject().value("cells").toObject();
    }
    book.m_bRead = true;
    return book;
}

// Every written cell is aligned to the top, and no text carries the apostrophe
// a spreadsheet user would type to force text.
inline void ExpectEveryCellTopAligned(const REPORT_BOOK& book) {
    for (int s = 0; s < book.m_listCells.size(); ++s) {
        const QJsonObject& cells = book.m_listCells[s];
        for (auto it = cells.begin(); it != cells.end(); ++it) {
            const QJsonObject c = it.value().toObject();
            EXPECT_EQ(c.value("va").toString(), "top") << s << " " << it.key().toStdString();
            EXPECT_FALSE(c.value("qp").toBool()) << s << " " << it.key().toStdString();
            EXPECT_FALSE(c.value("v").toString().startsWith('\'')) << s << " " << it.key().toStdString();
        }
    }
}

// One expected cell: sheet position (0 = first), address, text ("" = blank), type.
struct EXPECTED_CELL {
    int m_nSheet;
    const char* m_pszRef;
    QString m_strText;
    char m_cType = 's';
};

inline void ExpectCells(const REPORT_BOOK& book, std::initializer_list<EXPECTED_CELL> cells) {
    for (const EXPECTED_CELL& e : cells) {
        SCOPED_TRACE(QString("sheet %1 %2").arg(e.m_nSheet).arg(e.m_pszRef).toStdString());
        EXPECT_TRUE(book.Has(e.m_nSheet, e.m_pszRef));
        EXPECT_EQ(book.Text(e.m_nSheet, e.m_pszRef), e.m_strText);
        EXPECT_EQ(book.Cell(e.m_nSheet, e.m_pszRef).value("t").toString(), QString(QChar(e.m_cType)));
    }
}

} // namespace torvex
