#pragma once

// Every test program keeps away from the user's own settings, documents and
// serial devices: it gets a home folder of its own (made by the build, one per
// test folder), only the serial ports a test names, and no display.
void ApplyTestEnvironment();
