// The bridge tests in one program: the user folders are isolated before the application exists, then
// every registered test class runs.
#include "isolateduserdirs.h"

int main(int argc, char *argv[])
{
    IsolatedUserDirs isolatedUserDirs;
    QApplication app(argc, argv);
    int failures = 0;
    for (const auto run : bridgeTests())
        failures += run(argc, argv);
    return failures == 0 ? 0 : 1;
}
