// Stand-in for the program's entry that hands "sim" to RunSimCommand, so the sim command's
// tests can run it as a process of its own.
#include "sim/SimCommand.h"

int main(int argc, char** argv) {
    return sim::RunSimCommand(argc - 1, argv + 1);
}
