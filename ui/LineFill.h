#pragma once

#include <windows.h>

#include <cstdint>

// A list box, or a drop-down's list, being filled with many lines at once. Wine's list box
// grows its line array a few lines at a time and gives back a reservation at the next line it
// adds while the array is still small, so that each growth of a large array copies it whole:
// a million lines took minutes. Reserving the remaining lines again at intervals keeps the
// growth in place, and redrawing is held off until the fill ends (the object's end), when the
// control is redrawn once.
class CLineFill
{
public:
    enum class EControl
    {
        LIST_BOX,
        COMBO_BOX,
    };

    CLineFill(HWND control, EControl kind, std::uint32_t lines);
    ~CLineFill();
    CLineFill(const CLineFill&) = delete;
    CLineFill& operator=(const CLineFill&) = delete;

    // Takes away every line the control has.
    void Clear();
    // Appends a line; false when the control has no room for it.
    bool Add(const char* text);
    // Appends a line that carries the data; false, and no data set anywhere, when the control
    // has no room for it.
    bool Add(const char* text, LPARAM data);

private:
    struct SMessages
    {
        UINT reset;
        UINT initStorage;
        UINT addString;
        UINT setItemData;
    };

    static const SMessages LIST_BOX_MESSAGES;
    static const SMessages COMBO_BOX_MESSAGES;

    LRESULT AddLine(const char* text);

    HWND m_control;
    const SMessages& m_messages;
    std::uint32_t m_lines;
    std::uint32_t m_added;
};
