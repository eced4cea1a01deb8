#include "TaskgateVersion.h"
#include "shell/Program.h"

#include <cstdio>
#include <cstring>

// Program entry. "--version" prints the version and ends before anything
// starts, so it needs no display; no other argument is read.
int main(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("taskgate %s\n", TASKGATE_VERSION);
            return 0;
        }
    }
    return tg::runProgram(argc, argv);
}
