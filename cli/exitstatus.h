#pragma once

// What efusectl returns to the calling script.
enum ExitStatus {
    ExitDone = 0,
    ExitUsage = 2,               // wrong arguments
    ExitNoAnswer = 3,            // no answer after the retries, or a silent line
    ExitFileError = 4,           // configuration file rejected or not written
    ExitOtherFamily = 5,         // file or module of the other family
    ExitVerifyDifferences = 6,   // the module holds something else than was written
    ExitPortUnusable = 7,        // port absent or held by another program
};
