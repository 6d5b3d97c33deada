#pragma once

// The built ZerakCalc.exe, started from outside as the desktop starts it.

#include "bench/Files.h"
#include "bench/Program.h"

#ifndef ZERAK_CALC_EXE
#error "ZERAK_CALC_EXE must name the built ZerakCalc.exe"
#endif

inline const char* const MAIN_WINDOW_CLASS = "Velquin Window";

inline std::string ShippedProgramPath()
{
    return bench::WindowsPath(ZERAK_CALC_EXE);
}

// Starts it in folder with the show command and returns its main window once it is up and
// waits for input; null (with a test failure) otherwise.
HWND StartShipped(bench::Program& program, const std::string& folder, WORD show = SW_SHOWNORMAL);
