#pragma once

namespace torvex {

// Every test program keeps away from the user's own settings, documents and
// serial devices: it gets a home folder of its own, only the serial ports a
// test names, and no display.
//
// ctest starts every test case as a process of its own and runs them side by
// side, so the home folder is made per process (under the folder the build
// made for the test program) and removed when the process ends; two cases
// never see each other's settings or recent files.
void ApplyTestEnvironment();

} // namespace torvex
