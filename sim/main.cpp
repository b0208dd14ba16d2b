#include "config/Language.h"
#include "sim/SimProgram.h"

#include <QCoreApplication>
#include <cstdio>

using namespace torvex;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString lang, error;
    if (!TakeLanguageOption(args, lang, error)) {
        std::fprintf(stderr, "torvex-sim: %s\n", error.toUtf8().constData());
        return 2;
    }
    InstallLanguage(lang);
    return RunSimProgram(args, QStringLiteral("torvex-sim"));
}
