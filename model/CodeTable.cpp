#include "model/CodeTable.h"

#include <QCoreApplication>
#include <QStringList>

namespace torvex {

QString CodeText(const CODE_TABLE_ENTRY& entry) {
    return QCoreApplication::translate("CodeTable", entry.pszText);
}

QString LookupCode(const CodeTable& table, int nCode) {
    for (const CODE_TABLE_ENTRY& e : table)
        if (e.nCode == nCode) return CodeText(e);
    return {};
}

int IndexOfCode(const CodeTable& table, int nCode) {
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].nCode == nCode) return int(i);
    return 0;
}

const CodeTable& PolarityTable() {
    static const CodeTable t = {{"+", 0}, {"-", 1}, {"+/-", 2}};
    return t;
}
const CodeTable& OutputPortTable() {
    static const CodeTable t = {{"CDN", 0}, {"PULSE OUT", 1}};
    return t;
}
const CodeTable& OutputDetailCdnTable() {
    static const CodeTable t = {{QT_TRANSLATE_NOOP("CodeTable", "単相"), 0},
                                {QT_TRANSLATE_NOOP("CodeTable", "三相"), 1}};
    return t;
}
const CodeTable& OutputDetailPulseTable() {
    static const CodeTable t = {{"PULSE OUT", 0}};
    return t;
}
const CodeTable& LineCdnSingleTable() {
    static const CodeTable t = {{"L", 0}, {"N ", 1}, {"PE", 2}};
    return t;
}
const CodeTable& LineCdnThreeTable() {
    static const CodeTable t = {{"L1", 0}, {"L2", 1}, {"L3", 2}, {"N ", 3}, {"PE", 4}};
    return t;
}
const CodeTable& LinePulseTable() {
    static const CodeTable t = {{"HOT - COM", 0}};
    return t;
}
const CodeTable& SyncTable() {
    static const CodeTable t = {{QT_TRANSLATE_NOOP("CodeTable", "非同期"), 0},
                                {QT_TRANSLATE_NOOP("CodeTable", "同期"), 1}};
    return t;
}
const CodeTable& JudgeTable() {
    static const CodeTable t = {{"------", 0},
                                {QT_TRANSLATE_NOOP("CodeTable", "不合格"), 1},
                                {QT_TRANSLATE_NOOP("CodeTable", "合格"), 2}};
    return t;
}
const CodeTable& ValueTypeTable() {
    static const CodeTable t = {{QT_TRANSLATE_NOOP("CodeTable", "単独"), 0},
                                {QT_TRANSLATE_NOOP("CodeTable", "スイープ"), 1},
                                {QT_TRANSLATE_NOOP("CodeTable", "複数"), 2}};
    return t;
}
const CodeTable& SweepLabelTable() {
    static const CodeTable t = {{QT_TRANSLATE_NOOP("CodeTable", "開始："), 0},
                                {QT_TRANSLATE_NOOP("CodeTable", "終了："), 1},
                                {QT_TRANSLATE_NOOP("CodeTable", "刻み："), 2}};
    return t;
}

const CodeTable* LineTable(int nPort, int nDetail) {
    if (nPort == 0) return nDetail == 1 ? &LineCdnThreeTable() : &LineCdnSingleTable();
    if (nPort == 1) return &LinePulseTable();
    return nullptr;
}

QString LineNames(const CodeTable& table, uint32_t ulMask) {
    QStringList names;
    for (int bit = 0; bit < 32; ++bit) {
        if (!(ulMask & (1u << bit))) continue;
        QString name = LookupCode(table, bit);
        if (!name.isEmpty()) names << name;
    }
    return names.join(", ");
}

} // namespace torvex
