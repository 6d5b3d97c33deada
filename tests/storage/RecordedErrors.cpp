#include "storage/ShownErrors.h"

#include "storage/ColonyFile.h"

namespace
{

std::vector<std::string>* g_recorded = nullptr;

} // namespace

void ReportFileError(const char* text)
{
    if (g_recorded != nullptr)
    {
        g_recorded->push_back(text);
    }
}

std::vector<std::string> RunShowingErrors(const std::function<void()>& action)
{
    std::vector<std::string> recorded;
    g_recorded = &recorded;
    action();
    g_recorded = nullptr;
    return recorded;
}
