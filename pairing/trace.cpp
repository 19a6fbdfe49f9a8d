#include "pairing/trace.h"

#include "tournament/run_options.h"

std::ostream* PairingTrace = nullptr;

std::ostream* ActivePairingTrace() {
    return VerboseOption != 0 ? PairingTrace : nullptr;
}
