// The entry of every test executable.
#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv) {
  // A failing test must end, never wait on a system error dialog nobody can see.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
