#pragma once

#include <QString>
#include <vector>

namespace torvex {

// A code-to-text lookup: an ordered list of (text, code) pairs.
// The texts are the untranslated sources; CodeText gives the shown text.
struct CODE_TABLE_ENTRY {
    const char* pszText;
    int nCode;
};

using CodeTable = std::vector<CODE_TABLE_ENTRY>;

// The shown (translated) text of an entry.
QString CodeText(const CODE_TABLE_ENTRY& entry);
// The text of the first pair with the code; an empty text when none has it.
QString LookupCode(const CodeTable& table, int nCode);
// Index of the entry whose code equals nCode, or 0 when none does (choice lists).
int IndexOfCode(const CodeTable& table, int nCode);

const CodeTable& PolarityTable();
const CodeTable& OutputPortTable();
const CodeTable& OutputDetailCdnTable();
const CodeTable& OutputDetailPulseTable();
const CodeTable& LineCdnSingleTable();
const CodeTable& LineCdnThreeTable();
const CodeTable& LinePulseTable();
const CodeTable& SyncTable();
const CodeTable& JudgeTable();
const CodeTable& ValueTypeTable();
const CodeTable& SweepLabelTable();

// The line-name table of an output port and detail; null for a port other than 0 and 1.
const CodeTable* LineTable(int nPort, int nDetail);
// Names of the set bits of a mask, lowest bit first, joined by ", ".
QString LineNames(const CodeTable& table, uint32_t ulMask);

} // namespace torvex
