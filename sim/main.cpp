#include "sim/SimProgram.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return RunSimProgram(app.arguments().mid(1), QStringLiteral("torvex-sim"));
}
