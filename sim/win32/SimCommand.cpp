// "dtuconfig sim" needs a pseudo-terminal, which Windows does not have.
#include "sim/SimCommand.h"

#include <cstdio>

namespace sim {

int RunSimCommand(int, char**) {
    std::fprintf(stderr,
                 "dtuconfig sim: a virtual unit on a serial line of its own needs Linux; on "
                 "Windows, start the window with --simulate, which runs the unit inside the "
                 "program\n");
    return 1;
}

}  // namespace sim
