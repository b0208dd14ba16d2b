#include "model/CodeTable.h"

#include <QStringList>

QString LookupCode(const CodeTable& table, int nCode) {
    for (const CODE_TABLE_ENTRY& e : table)
        if (e.nCode == nCode) return QString::fromUtf16(e.pszText);
    return {};
}

int IndexOfCode(const CodeTable& table, int nCode) {
    for (size_t i = 0; i < table.size(); ++i)
        if (table[i].nCode == nCode) return int(i);
    return 0;
}

const CodeTable& PolarityTable() {
    static const CodeTable t = {{u"+", 0}, {u"-", 1}, {u"+/-", 2}};
    return t;
}
const CodeTable& OutputPortTable() {
    static const CodeTable t = {{u"CDN", 0}, {u"PULSE OUT", 1}};
    return t;
}
const CodeTable& OutputDetailCdnTable() {
    static const CodeTable t = {{u"単相", 0}, {u"三相", 1}};
    return t;
}
const CodeTable& OutputDetailPulseTable() {
    static const CodeTable t = {{u"PULSE OUT", 0}};
    return t;
}
const CodeTable& LineCdnSingleTable() {
    static const CodeTable t = {{u"L", 0}, {u"N ", 1}, {u"PE", 2}};
    return t;
}
const CodeTable& LineCdnThreeTable() {
    static const CodeTable t = {{u"L1", 0}, {u"L2", 1}, {u"L3", 2}, {u"N ", 3}, {u"PE", 4}};
    return t;
}
const CodeTable& LinePulseTable() {
    static const CodeTable t = {{u"HOT - COM", 0}};
    return t;
}
const CodeTable& SyncTable() {
    static const CodeTable t = {{u"非同期", 0}, {u"同期", 1}};
    return t;
}
const CodeTable& JudgeTable() {
    static const CodeTable t = {{u"------", 0}, {u"不合格", 1}, {u"合格", 2}};
    return t;
}
const CodeTable& ValueTypeTable() {
    static const CodeTable t = {{u"単独", 0}, {u"スイープ", 1}, {u"複数", 2}};
    return t;
}
const CodeTable& SweepLabelTable() {
    static const CodeTable t = {{u"開始：", 0}, {u"終了：", 1}, {u"刻み：", 2}};
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
