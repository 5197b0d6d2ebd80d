#pragma once

#include "cli/invocation.h"
#include "config/language.h"

// The four commands of efusectl. Each returns the exit status (cli/exitstatus.h); messages
// go to stderr, results (records, files, differences) to stdout.
namespace commands {

int run(const invocation::Invocation &invocation, Language language);

} // namespace commands
