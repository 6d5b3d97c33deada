#include "exe/ShippedProgram.h"

#include <gtest/gtest.h>

HWND StartShipped(bench::Program& program, const std::string& folder, WORD show)
{
    if (!program.Start(ShippedProgramPath(), folder, show))
    {
        ADD_FAILURE() << "cannot start " << ShippedProgramPath() << ", error " << GetLastError();
        return nullptr;
    }
    HWND main = program.WaitForMainWindow(MAIN_WINDOW_CLASS);
    EXPECT_NE(main, nullptr) << "no visible \"" << MAIN_WINDOW_CLASS << "\"";
    EXPECT_TRUE(program.WaitForIdle());
    return main;
}
