#pragma once
// What the stand-in services (services_standin.mm) saw and will answer, for
// the GNUstep check's tests.

#include <cstdint>
#include <string>
#include <vector>

namespace ostrel::standin {

struct Services {
    // Launch Services: the URL of the last launch request, how many were
    // made, and the status the next one answers.
    std::string launchedUrl;
    int launches = 0;
    int32_t launchStatus = 0;
    // Quartz event source: the state and key asked for last, and the key
    // that reads as held down.
    int32_t askedState = -99;
    int askedKey = -1;
    int heldKey = -1;
    // The file extensions of the last content types given to a panel.
    std::vector<std::string> panelExtensions;
};

Services& services();

}  // namespace ostrel::standin
