#pragma once

#include "FakeClock.h"
#include "link/Link.h"
#include "sim/SimulatedCable.h"

// A link wired to the simulated cable with a fake clock, ready to talk to
// whatever peer a test puts at the calculator's end.
struct CLinkRig {
    explicit CLinkRig(ICablePeer* peer = nullptr, uint16_t base = 0x378)
        : cable(base), clock(0, 1), link(clock)
    {
        cable.SetPeer(peer);
        link.Open(cable.MakeBackend(), base, 1000);
    }

    CSimulatedCable cable;
    CFakeClock clock;
    CLink link;
};
