// Prints the settings file path of this executable, so that tests can run copies of it under
// other names and through links. With an argument it first says "waiting" and waits for a line
// on standard input, so that a test can replace the executable while it runs.

#include "settings/inipath.h"

#include <cstdio>

int main(int argc, char**) {
    if (argc > 1) {
        std::puts("waiting");
        std::fflush(stdout);
        char line[8];
        static_cast<void>(std::fgets(line, sizeof line, stdin));
    }
    std::puts(vorlane::IniFilePath().c_str());
    return 0;
}
