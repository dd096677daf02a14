// Prints the settings file path of this executable, so that tests can run copies of it under
// other names and through links.

#include "settings/inipath.h"

#include <cstdio>

int main() {
    std::puts(vorlane::IniFilePath().c_str());
    return 0;
}
