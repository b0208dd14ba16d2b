#include "FilesTestUtil.h"

#include "files/TorvexDoc.h"
#include "model/StepExpansion.h"

#include <QDir>
#include <gtest/gtest.h>

namespace torvex {

// Replays the inputs the fuzzer kept (and the seeds it started from) through
// both readers and the document on the tabs that read files differently.
TEST(FuzzCorpus, EveryInputLoadsOrFailsCleanly) {
    const QDir dir(TORVEX_TEST_DATA_DIR "/files/corpus");
    const QStringList names = dir.entryList(QDir::Files);
    ASSERT_FALSE(names.isEmpty());
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QString path = dir.filePath(name);
        const QByteArray bytes = ReadBytes(path);
        for (uint32_t model : {uint32_t(MODEL_K2), uint32_t(MODEL_K1)}) {
            CArchiveReader data(bytes);
            CSettingData cond;
            std::vector<CExecData> steps;
            if (ReadDataFile(data, model, cond, steps) == READ_OK) {
                ExpandSteps(cond);
                for (CExecData& s : cond.m_listExec)
                    for (int col = 1; col <= COL_COUNT; ++col)
                        s.GetText(col);
            }
            CArchiveReader seq(bytes);
            SequenceEntries entries;
            ReadSequenceFile(seq, model, entries);
        }
        for (int tab : {TAB_MANUAL, TAB_SEQUENCE}) {
            CCollectingDialog dialog;
            CTorvexDoc doc;
            doc.SetDialog(&dialog);
            doc.SetRecentFilesKept(false);
            doc.SetTab(tab);
            doc.NewDocument();
            const bool bRead = doc.ReadDocument(path);
            const bool bSeq = doc.ReadSequenceFile(path);
            // Every failure told the operator once; no success did.
            EXPECT_EQ(dialog.m_listMessages.size(), int(!bRead) + int(!bSeq));
        }
    }
}

} // namespace torvex
