// Reading values from a settings file of 60,000 keys through the settings store,
// against reading them with QSettings the plain way (a QSettings for each read,
// as the store would without its own cache) and from one QSettings kept open.
#include "config/Profile.h"
#include "Median.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <cstdio>

using namespace torvex;

namespace {

// Short keys and values: the store refuses files over a megabyte.
const int kKeys = 60000;
const int kRounds = 5;

QString Key(int i) {
    return QStringLiteral("K%1").arg(i);
}

// Microseconds a read (median of the rounds), over nReads reads spread over the file.
template <class Fn> double MicrosPerRead(int nReads, Fn read) {
    std::vector<double> rounds;
    for (int r = 0; r < kRounds; ++r) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < nReads; ++i)
            read(i * (kKeys / nReads) + r);
        rounds.push_back(t.nsecsElapsed() / 1e3 / nReads);
    }
    return Median(rounds);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    const QString path = ProfilePath();
    {
        QByteArray content = "[INI_SECTION_TEST_INFO]\n";
        for (int i = 0; i < kKeys; ++i)
            content += Key(i).toLatin1() + "=v" + QByteArray::number(i) + "\n";
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    std::size_t nBad = 0;
    const auto store = [&](int i) {
        nBad += ReadProfileValue("INI_SECTION_TEST_INFO", Key(i), QString()) != QStringLiteral("v%1").arg(i);
    };

    // Right after a change the store compares the file's bytes at every read,
    // until the file's time stamp is old enough to tell the next change.
    QElapsedTimer first;
    first.start();
    store(0);
    const double dFirstMs = first.nsecsElapsed() / 1e6;
    const double dFresh = MicrosPerRead(200, store);
    QThread::sleep(3);
    const double dStore = MicrosPerRead(200, store);

    // Each of these parses the whole file.
    const double dPlain = MicrosPerRead(5, [&](int i) {
        QSettings settings(path, QSettings::IniFormat);
        nBad += settings.value("INI_SECTION_TEST_INFO/" + Key(i)).toString() != QStringLiteral("v%1").arg(i);
    });
    QSettings open(path, QSettings::IniFormat);
    const double dOpen = MicrosPerRead(200, [&](int i) {
        nBad += open.value("INI_SECTION_TEST_INFO/" + Key(i)).toString() != QStringLiteral("v%1").arg(i);
    });
    if (nBad) {
        std::fprintf(stderr, "%zu reads gave a wrong value\n", nBad);
        return 1;
    }

    std::printf("settings file: %d keys, %lld bytes; medians of %d rounds\n", kKeys,
                static_cast<long long>(QFile(path).size()), kRounds);
    std::printf("  store, first read (parses)        %10.1f ms\n", dFirstMs);
    std::printf("  store, just after a change        %10.1f us a read\n", dFresh);
    std::printf("  store                             %10.1f us a read\n", dStore);
    std::printf("  plain QSettings, one a read       %10.1f us a read  (%.0fx the store's time)\n", dPlain,
                dPlain / dStore);
    std::printf("  one QSettings kept open           %10.1f us a read  (%.1fx the store's time)\n", dOpen,
                dOpen / dStore);
    return 0;
}
