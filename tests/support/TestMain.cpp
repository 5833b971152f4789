// The test programs' entry point. It first tells the rig that the program really started
// (tests/rig/wine-exec.sh starts one again that never got here), then runs the tests.
#include <gtest/gtest.h>

#include <windows.h>

int main(int argc, char** argv) {
    char marker[MAX_PATH] = "";
    const DWORD length = GetEnvironmentVariableA("JUKELET_TEST_STARTED", marker, sizeof(marker));
    if (length > 0 && length < sizeof(marker)) {
        HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
