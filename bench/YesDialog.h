#pragma once

#include "model/OperatorDialog.h"

namespace torvex {

// An operator who says yes to everything and reads no message: benchmarks run
// tests through without stopping at a question.
class CYesDialog : public COperatorDialog {
public:
    void Message(const QString&) override {}
    bool AskOkCancel(const QString&) override { return true; }
    bool AskYesNo(const QString&) override { return true; }
    Answer AskYesNoCancel(const QString&) override { return Yes; }
    QString OpenFileName(const QString&, const QStringList&) override { return {}; }
    QString SaveFileName(const QString&, const QString&, const QStringList&, const QString&) override {
        return {};
    }
};

} // namespace torvex
