#pragma once

// radioset-cli's commands as a library, so tests and benchmarks can run them
// in-process against a simulated module in the same event loop.

#include <QStringList>
#include <QTextStream>

namespace radioset::cli {

enum ExitCode {
    ExitOk = 0,
    ExitInternal = 1,   // an error nobody expected
    ExitUsage = 2,      // bad arguments or plan contents; nothing was sent
    ExitPort = 3,       // port missing, cannot be opened, or lost
    ExitNoAnswer = 4,   // the module stayed silent through time-outs and retries
    ExitBadAnswer = 5,  // replies came, but none valid and expected
    ExitMismatch = 6,   // plan write --verify: the module holds something else
    ExitFile = 7,       // the plan file cannot be read or written
};

// Runs one command line (arguments[0] is the program name). Results go to
// `out`, progress and errors to `err`. Needs a QCoreApplication; runs the
// event loop while it waits for the module.
int Run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace radioset::cli
