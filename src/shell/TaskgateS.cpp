#include "shell/Program.h"

// Program entry: no argument is read.
int main(int argc, char **argv)
{
    return tg::runProgram(argc, argv);
}
