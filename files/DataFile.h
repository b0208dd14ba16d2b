#pragma once

#include "files/TaggedArchive.h"

#include <functional>
#include <memory>
#include <vector>

namespace torvex {

// The two file kinds: a data file (.tvx) holds one condition and its steps, a
// sequence file (.tvxs) a list of named conditions, each with its steps. Both are
// a plain item sequence with no header, length or checksum.

extern const QString kDataFileMagic;     // "Kelvora TORVEX Data File"
extern const QString kSequenceFileMagic; // "Kelvra TORVEX Sequence Data File"
extern const QString kFileVersion;       // "File Ver.1.0.1.0"

void WriteDataFile(const CSettingData& cond, CArchiveWriter& ar);

// Reads a data file into cond (which should be a fresh condition) and steps
// (each step gets ulModel as its model type). READ_OK, READ_NOT_OURS,
// READ_NEWER_VERSION, READ_OTHER_MODEL (condition read, steps not) or
// READ_MALFORMED. Only READ_OK means cond and steps are complete.
int32_t ReadDataFile(CArchiveReader& ar, uint32_t ulModel, CSettingData& cond, std::vector<CExecData>& steps);

using SequenceEntries = std::vector<std::unique_ptr<CSettingData>>;

void WriteSequenceFile(const SequenceEntries& entries, CArchiveWriter& ar);

// Reads a sequence file; entries gets every entry only when all were read (a
// count below 1 gives READ_OK and no entry: the list stays as it was).
int32_t ReadSequenceFile(CArchiveReader& ar, uint32_t ulModel, SequenceEntries& entries);

// Called with each entry of a sequence file as soon as it is read: its
// position (from 0), the number of entries the file declares, and the entry
// with its name and steps (the callee may take them).
using SequenceEntryFn = std::function<void(int32_t nEntry, int32_t nCount, CSettingData& cond)>;

// Reads a sequence file entry by entry, with the checks and results of
// ReadSequenceFile, holding only one entry at a time. Entries before a failure
// have been handed on already: check a file first (with an fnEntry that does
// nothing) where that matters.
int32_t ReadSequenceEntries(CArchiveReader& ar, uint32_t ulModel, const SequenceEntryFn& fnEntry);
// The same walk with the same result, but the entries come without their steps
// (checked, not kept): what a reader checks before it starts using a file.
int32_t CheckSequenceEntries(CArchiveReader& ar, uint32_t ulModel, const SequenceEntryFn& fnEntry);

// The parts of a sequence file for a reader that takes its entries one at a
// time from where a check found them: the head (magic, version and the
// number of entries), and one entry after it (name, condition and steps).
int32_t ReadSequenceHead(CArchiveReader& ar, int32_t& nCount);
int32_t ReadSequenceEntry(CArchiveReader& ar, uint32_t ulModel, CSettingData& cond);

// The operator's message for a reader result 1 to 3 or a malformed file; empty
// for READ_OK.
QString ReadResultMessage(int32_t nResult);

// Name of a condition read from a file: the file name without its folder, cut
// before the first '.' ("abc.def.tvx" gives "abc"; a name without '.' is kept whole).
QString ConditionNameOf(const QString& strPath);

} // namespace torvex
