// The reference of bench_startup: a Qt Widgets hello-world, a main window of
// the desktop program's size with one label, watched for its first paint the
// same way.
#include "gui/app/FirstPaint.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Hello, world")));
    window.resize(1366, 768);
    torvex::WatchFirstPaint(&window);
    window.show();
    return app.exec();
}
