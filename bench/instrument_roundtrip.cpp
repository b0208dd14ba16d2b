// Round trip of one status query ("QB") through the program's transport against
// the simulator, next to a minimal exchange written directly on termios and
// poll() against a second simulator: medians and their ratio.
#include "Median.h"
#include "instrument/RsBasicProtocol.h"
#include "sim/TorvexSimulator.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

using namespace torvex;

namespace {

using Clock = std::chrono::steady_clock;

bool ReadByte(int fd, uint8_t& b) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 500) <= 0) return false;
    return read(fd, &b, 1) == 1;
}

// The same exchange as the transport makes, with nothing around it.
bool ReferenceQuery(int fd) {
    static const uint8_t frame[] = {0x02, 'Q', 'B', 0x03, uint8_t('Q' ^ 'B' ^ 0x03)};
    const uint8_t enq = 0x05, ack = 0x06;
    uint8_t b = 0;
    tcflush(fd, TCIFLUSH);
    if (write(fd, &enq, 1) != 1 || !ReadByte(fd, b) || b != ack) return false;
    if (write(fd, frame, sizeof frame) != sizeof frame || !ReadByte(fd, b) || b != 0x02) return false;
    uint8_t bcc = 0;
    while (ReadByte(fd, b) && b != 0x03)
        bcc ^= b;
    if (b != 0x03 || !ReadByte(fd, b) || b != (bcc ^ 0x03)) return false;
    return write(fd, &ack, 1) == 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int nRounds = argc > 1 ? std::max(10, atoi(argv[1])) : 2000;
    CTorvexSimulator simProgram, simReference;
    if (!simProgram.Start() || !simReference.Start()) {
        fprintf(stderr, "cannot create pseudo-terminals\n");
        return 1;
    }
    qputenv("TORVEX_PORTS_ONLY", "1");
    CRsBasicProtocol::SetExtraPorts({simProgram.DevicePath()});
    CRsBasicProtocol link;
    const int fd = open(simReference.DevicePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    termios tio{};
    if (!link.OpenPort(1) || fd < 0 || tcgetattr(fd, &tio) != 0) {
        fprintf(stderr, "cannot open the simulators' devices\n");
        return 1;
    }
    cfmakeraw(&tio);
    tcsetattr(fd, TCSANOW, &tio);

    // Interleaved blocks, so that both see the same load of a shared machine.
    std::vector<double> program, reference;
    int nFailed = 0;
    for (int nDone = 0; nDone < nRounds; nDone += 100) {
        for (int i = 0; i < 100; ++i) {
            const auto t0 = Clock::now();
            nFailed += !link.SendQuery("QB");
            program.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        }
        for (int i = 0; i < 100; ++i) {
            const auto t0 = Clock::now();
            nFailed += !ReferenceQuery(fd);
            reference.push_back(std::chrono::duration<double, std::micro>(Clock::now() - t0).count());
        }
    }
    close(fd);
    const double dProgram = Median(program), dReference = Median(reference);
    printf("QB round trip, %zu each, %d failed\n", program.size(), nFailed);
    printf("  transport (QSerialPort) median %8.1f us\n", dProgram);
    printf("  reference (termios+poll) median %8.1f us\n", dReference);
    printf("  ratio transport/reference       %8.2f\n", dProgram / dReference);
    return nFailed ? 1 : 0;
}
