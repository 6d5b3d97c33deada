#include "WinHelpRecorder.h"

#include <mutex>

namespace
{

// The replacement is a plain function, so the calls are kept where it can reach them.
std::mutex g_lock;
std::vector<WinHelpRecorder::Call> g_calls;

BOOL WINAPI RecordWinHelp(HWND owner, LPCSTR file, UINT command, ULONG_PTR data)
{
    const std::lock_guard<std::mutex> hold(g_lock);
    g_calls.push_back({owner, file != nullptr ? file : "", command, data});
    return TRUE;
}

void* StartRecording()
{
    const std::lock_guard<std::mutex> hold(g_lock);
    g_calls.clear();
    return reinterpret_cast<void*>(&RecordWinHelp);
}

} // namespace

WinHelpRecorder::WinHelpRecorder() : m_swap("user32.dll", "WinHelpA", StartRecording()) {}

WinHelpRecorder::~WinHelpRecorder()
{
    const std::lock_guard<std::mutex> hold(g_lock);
    g_calls.clear();
}

std::vector<WinHelpRecorder::Call> WinHelpRecorder::Calls() const
{
    const std::lock_guard<std::mutex> hold(g_lock);
    return g_calls;
}
