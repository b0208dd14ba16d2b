#pragma once

#include <QByteArray>
#include <cstdint>

namespace torvex {

// The serial line's framing, shared by the program's transport and the
// instrument simulator: STX, text, ETX, then the check byte.
namespace frame {

constexpr uint8_t ENQ = 0x05;
constexpr uint8_t ACK = 0x06;
constexpr uint8_t STX = 0x02;
constexpr uint8_t ETX = 0x03;
// Longest command text a frame carries.
constexpr int kMaxTextBytes = 251;

// Exclusive-or of every text byte and ETX (STX is not included).
inline uint8_t Bcc(const QByteArray& text) {
    uint8_t bcc = ETX;
    for (char c : text)
        bcc ^= uint8_t(c);
    return bcc;
}

} // namespace frame

} // namespace torvex
