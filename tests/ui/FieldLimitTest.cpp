// Long input in the edits a player types colonies and amounts into: the name edits keep what
// the data file can hold, and a paste of any length into a number edit returns at once.
#include "ColonyDialogTest.h"

#include <string>

namespace
{

constexpr std::size_t MOST_NAME_BYTES = 200;
// Without a limit an edit that does not scroll took 8 s to trim a paste this long to its width.
constexpr std::size_t LONG_PASTE_LETTERS = 8000;
constexpr std::size_t LONG_PASTE_DIGITS = 100000;

struct FieldCase
{
    int command;
    const char* caption;
    int field;
};

const FieldCase NAME_FIELDS[] = {
    {IDM_ADDCOLONY, "Add colony", IDC_ADD_NAME},
    {IDM_MODIFYCOLONY, "Modify colony data", IDC_NEW_NAME},
    {IDM_DELETECOLONY, "Delete colony", IDC_DELETE_NAME},
};

const FieldCase NUMBER_FIELDS[] = {
    {IDM_ADDCOLONY, "Add colony", IDC_ADD_METAL},
    {IDM_ADDCOLONY, "Add colony", IDC_ADD_DEUTERIUM},
    {IDM_MODIFYCOLONY, "Modify colony data", IDC_NEW_CRYSTAL},
    {IDM_PRODUCTION, "Production calculation", IDC_PROD_DAYS},
    {IDM_PRODUCTION, "Production calculation", IDC_PROD_SECONDS},
    {IDM_TIME, "Time calculation", IDC_TIME_AMOUNT_METAL},
    {IDM_TIME, "Time calculation", IDC_TIME_SUPPLY_DEUTERIUM},
};

// The text on the clipboard, as another program would have put it there.
bool PutOnClipboard(const std::string& text)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory == nullptr)
    {
        return false;
    }
    char* bytes = static_cast<char*>(GlobalLock(memory));
    std::copy(text.begin(), text.end(), bytes);
    bytes[text.size()] = '\0';
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr))
    {
        GlobalFree(memory);
        return false;
    }
    EmptyClipboard();
    const bool put = SetClipboardData(CF_TEXT, memory) != nullptr;
    CloseClipboard();
    if (!put)
    {
        GlobalFree(memory);
    }
    return put;
}

class FieldLimitTest : public ColonyDialogTest
{
protected:
    // Ctrl+V in the edit: the clipboard's text pasted where the caret is.
    void PasteFromClipboard(HWND dialog, int id, const std::string& text)
    {
        ASSERT_TRUE(PutOnClipboard(text));
        Focus(dialog, id);
        PostMessageA(GetDlgItem(dialog, id), WM_PASTE, 0, 0);
        // The deadline is the bench's usual one: a paste that trims slowly misses it.
        ASSERT_TRUE(m_session.Sync()) << "the paste did not return";
    }

    void CloseDialog(HWND dialog)
    {
        Press(dialog, VK_ESCAPE);
        if (IsWindow(dialog))
        {
            Click(dialog, IDOK);
        }
        ASSERT_TRUE(m_session.WaitGone(dialog));
    }
};

// What the player types or pastes is what is saved: no name longer than the file keeps, and
// a long paste returns at once. Each name edit keeps the player's characters as typed (on
// Windows an edit made through the narrow call keeps the code page's bytes, "?" for a letter it
// lacks), so that a name the file cannot keep is told apart.
TEST_F(FieldLimitTest, NameEditsTakeAtMost200BytesAsTyped)
{
    Load({{"Velquin Prime", 1500, 800, 300}});
    std::string longName;
    for (std::size_t i = 0; i < LONG_PASTE_LETTERS; ++i)
    {
        longName.push_back(static_cast<char>('a' + i % 26));
    }
    for (const FieldCase& c : NAME_FIELDS)
    {
        SCOPED_TRACE(c.caption);
        HWND dialog = Open(c.command, c.caption);
        ASSERT_NE(dialog, nullptr);
        // The limit the edit applies to whatever is typed or pasted. (Typing on at the end of
        // a text set wider than an edit without scrolling crashes Wine's edit.)
        EXPECT_EQ(SendDlgItemMessageA(dialog, c.field, EM_GETLIMITTEXT, 0, 0),
                  static_cast<LRESULT>(MOST_NAME_BYTES));
        EXPECT_TRUE(IsWindowUnicode(GetDlgItem(dialog, c.field)));
        PasteFromClipboard(dialog, c.field, longName);
        const std::string pasted = bench::ItemText(dialog, c.field);
        EXPECT_LE(pasted.size(), MOST_NAME_BYTES);
        EXPECT_EQ(pasted, longName.substr(0, pasted.size()));
        CloseDialog(dialog);
    }
}

// Under Wine an edit without automatic scrolling trims a paste to its width very slowly
// (100,000 digits took over 20 minutes); every digit a player can type is still kept.
TEST_F(FieldLimitTest, ALongPasteIntoANumberEditReturnsAtOnce)
{
    Load({{"Velquin Prime", 1500, 800, 300}});
    std::string digits;
    for (std::size_t i = 0; i < LONG_PASTE_DIGITS; ++i)
    {
        digits.push_back(static_cast<char>('1' + i % 9));
    }
    for (const FieldCase& c : NUMBER_FIELDS)
    {
        SCOPED_TRACE(std::string(c.caption) + ", field " + std::to_string(c.field));
        HWND dialog = Open(c.command, c.caption);
        ASSERT_NE(dialog, nullptr);
        PasteFromClipboard(dialog, c.field, digits);
        const std::string pasted = bench::ItemText(dialog, c.field);
        EXPECT_GE(pasted.size(), 1u);
        EXPECT_EQ(pasted, digits.substr(0, pasted.size()));
        // Every digit of the largest amount can still be typed, as far as the edit shows them.
        EXPECT_GT(SendDlgItemMessageA(dialog, c.field, EM_GETLIMITTEXT, 0, 0), 10);
        CloseDialog(dialog);
    }
}

} // namespace
