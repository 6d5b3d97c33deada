#include "ui/LineFill.h"

namespace
{

constexpr std::uint32_t LINES_PER_RESERVATION = 65536;

} // namespace

const CLineFill::SMessages CLineFill::LIST_BOX_MESSAGES = {LB_RESETCONTENT, LB_INITSTORAGE, LB_ADDSTRING,
                                                           LB_SETITEMDATA};
const CLineFill::SMessages CLineFill::COMBO_BOX_MESSAGES = {CB_RESETCONTENT, CB_INITSTORAGE, CB_ADDSTRING,
                                                            CB_SETITEMDATA};

CLineFill::CLineFill(HWND control, EControl kind, std::uint32_t lines)
    : m_control(control), m_messages(kind == EControl::LIST_BOX ? LIST_BOX_MESSAGES : COMBO_BOX_MESSAGES),
      m_lines(lines), m_added(0)
{
    SendMessageA(m_control, WM_SETREDRAW, FALSE, 0);
}

CLineFill::~CLineFill()
{
    SendMessageA(m_control, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_control, nullptr, TRUE);
}

void CLineFill::Clear()
{
    SendMessageA(m_control, m_messages.reset, 0, 0);
}

bool CLineFill::Add(const char* text)
{
    return AddLine(text) >= 0;
}

bool CLineFill::Add(const char* text, LPARAM data)
{
    const LRESULT line = AddLine(text);
    // Data set at a negative index would tag every line.
    if (line < 0)
    {
        return false;
    }
    SendMessageA(m_control, m_messages.setItemData, static_cast<WPARAM>(line), data);
    return true;
}

LRESULT CLineFill::AddLine(const char* text)
{
    if (m_added % LINES_PER_RESERVATION == 0 && m_added < m_lines)
    {
        SendMessageA(m_control, m_messages.initStorage, m_lines - m_added, 0);
    }
    ++m_added;
    return SendMessageA(m_control, m_messages.addString, 0, reinterpret_cast<LPARAM>(text));
}
