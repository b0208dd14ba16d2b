#include "FuzzCheck.h"
#include "files/DataFile.h"

#include <cstddef>
#include <cstdint>

using namespace torvex;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
    CArchiveReader ar(reinterpret_cast<const char*>(pData), qint64(nSize));
    CSettingData cond;
    std::vector<CExecData> steps;
    const int32_t r = ReadDataFile(ar, MODEL_K2, cond, steps);
    if (r == READ_OK || r == READ_OTHER_MODEL) UseReadCondition(cond, steps);
    return 0;
}
