#include "FuzzCheck.h"
#include "files/DataFile.h"

#include <cstddef>
#include <cstdint>

using namespace torvex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    CArchiveReader ar(reinterpret_cast<const char*>(pData), qint64(nSize));
    SequenceEntries entries;
    if (ReadSequenceFile(ar, MODEL_K2, entries) == READ_OK) {
        for (auto& entry : entries) {
            // Sequence entries keep their stored steps; only their texts are shown.
            std::vector<CExecData> steps = entry->m_listExec;
            for (CExecData& step : steps)
                for (int col = 1; col <= COL_COUNT; ++col)
                    (void)step.GetText(col);
            (void)CountSteps(*entry);
        }
    }
    return 0;
}
