// Test program entry: "--scenario=NAME" runs one runtime scenario as a child
// process; anything else runs the tests.
#include <gtest/gtest.h>

#include <cstring>

#include "spine_support.h"

int main(int argc, char **argv) {
    const char prefix[] = "--scenario=";
    if (argc >= 2 && std::strncmp(argv[1], prefix, sizeof prefix - 1) == 0) {
        return RunScenarioByName(argv[1] + sizeof prefix - 1);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
