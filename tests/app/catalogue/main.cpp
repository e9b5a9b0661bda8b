// Test program entry: "--lock=PATH ..." holds a file open for a test as a
// child process; anything else runs the tests.
#include <gtest/gtest.h>

#include <cstring>

#include "catalogue_support.h"

int main(int argc, char **argv) {
    if (argc >= 2 && std::strncmp(argv[1], "--lock=", 7) == 0) {
        return RunLocker(argc, argv);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
