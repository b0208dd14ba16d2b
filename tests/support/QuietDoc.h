#pragma once

#include "files/CollectingDialog.h"
#include "files/TorvexDoc.h"
#include "model/ExecData.h"

namespace torvex {

// A new K2 document of the test's own, which keeps its messages and recent
// files to itself.
struct QUIET_DOC {
    CCollectingDialog dialog;
    CTorvexDoc doc;
    QUIET_DOC() {
        doc.SetDialog(&dialog);
        doc.SetMachine(MODEL_K2, 0);
        doc.SetRecentFilesKept(false);
        doc.NewDocument();
    }
};

} // namespace torvex
