// Test program entry: "--scenario=NAME ..." runs one location scenario as a
// child process; anything else runs the tests.
#include <gtest/gtest.h>

#include <cstring>

#include "location_support.h"

int main(int argc, char **argv) {
    if (argc >= 2 && std::strncmp(argv[1], "--scenario=", 11) == 0) {
        return RunChildScenario(argc, argv);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
