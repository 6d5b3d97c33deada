// Names under the system's code page: the data file keeps a name's bytes in that code page, so a
// name it cannot hold is refused as typed, and a name whose bytes do not read back as they are
// (loaded from a file written elsewhere) still counts, and can still be deleted, as listed.
// Each suite runs in a process of its own code page (see CMakeLists.txt).
#include "CalculationDialogTest.h"
#include "ColonyDialogTest.h"

#include <string>

namespace
{

const char* const NOT_KEPT = "This colony name has characters that the data file cannot keep on this system. "
                             "Please use other characters.";
const char* const TOO_LONG =
    "This colony name is too long for the data file, which keeps 200 bytes of a name (some "
    "letters take two). Please use a shorter name.";
const char* const NO_SUCH_COLONY = "Colony with this name doesn't exist. Please, check spelling!";

// What an edit shows, as the player sees it whatever the code page.
std::wstring WideText(HWND dialog, int id)
{
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, &text[0], static_cast<int>(text.size()))));
    return text;
}

std::vector<std::wstring> WideListLines(HWND window, int id)
{
    HWND list = GetDlgItem(window, id);
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
    {
        std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        line.resize(static_cast<std::size_t>(
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&line[0]))));
        lines.push_back(line);
    }
    return lines;
}

template <UINT CODE_PAGE> class CodePageTest : public ColonyDialogTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(GetACP(), CODE_PAGE) << "this suite runs under code page " << CODE_PAGE;
        ColonyDialogTest::SetUp();
    }

    // Typed as a keyboard of any language types it, or pasted whole: a name wider than the edit
    // can only be pasted, as the edit takes no more keys once it is full.
    enum class Entry
    {
        TYPED,
        PASTED
    };

    void EnterName(HWND dialog, int id, const std::wstring& name, Entry entry = Entry::TYPED)
    {
        if (entry == Entry::TYPED)
        {
            m_session.Type(dialog, id, name);
        }
        else
        {
            m_session.SetText(dialog, id, name);
        }
        ASSERT_TRUE(m_session.Sync());
    }

    // The name, refused at OK with the dialog left open as it was and the list unchanged.
    void ExpectAddRefused(const std::wstring& name, Entry entry, const char* text, const Colonies& before)
    {
        HWND dialog = Open(IDM_ADDCOLONY, "Add colony");
        ASSERT_NE(dialog, nullptr);
        EnterName(dialog, IDC_ADD_NAME, name, entry);
        Type(dialog, IDC_ADD_METAL, "10");
        Type(dialog, IDC_ADD_CRYSTAL, "20");
        Type(dialog, IDC_ADD_DEUTERIUM, "30");
        Click(dialog, IDOK);
        ExpectMessage(dialog, "Error", text, MB_ICONHAND);
        EXPECT_TRUE(StaysOpen(dialog));
        EXPECT_EQ(WideText(dialog, IDC_ADD_NAME), name);
        EXPECT_EQ(bench::ItemText(dialog, IDC_ADD_DEUTERIUM), "30");
        EXPECT_EQ(ListContent(), before);
        Click(dialog, IDCANCEL);
        ASSERT_TRUE(m_session.WaitGone(dialog));
    }

    void AddNamed(const std::wstring& name, Entry entry)
    {
        HWND dialog = Open(IDM_ADDCOLONY, "Add colony");
        ASSERT_NE(dialog, nullptr);
        EnterName(dialog, IDC_ADD_NAME, name, entry);
        for (int field : {IDC_ADD_METAL, IDC_ADD_CRYSTAL, IDC_ADD_DEUTERIUM})
        {
            Type(dialog, field, "1");
        }
        Click(dialog, IDOK);
        ASSERT_TRUE(m_session.WaitGone(dialog));
        ExpectNoMessage();
    }

    void DeleteByName(const std::wstring& name, Entry entry = Entry::TYPED)
    {
        HWND dialog = Open(IDM_DELETECOLONY, "Delete colony");
        ASSERT_NE(dialog, nullptr);
        EnterName(dialog, IDC_DELETE_NAME, name, entry);
        Click(dialog, IDOK);
    }
};

using CodePage1252Test = CodePageTest<1252>;
using CodePage932Test = CodePageTest<932>;

// Typed on a keyboard of another language or pasted, a name with a character code page 1252
// lacks would have been saved with "?" or a look-alike in it ("Łódź" as "Lódz", "Дом" as "???",
// and then "Мир" refused as a copy of it).
TEST_F(CodePage1252Test, ANameTheCodePageCannotHoldIsRefusedAsTyped)
{
    const Colonies before = {{"Aster", 1000, 600, 0}, {"???", 1, 2, 3}};
    Load(before);
    for (const Entry entry : {Entry::TYPED, Entry::PASTED})
    {
        for (const std::wstring name :
             {L"\x141\xF3\x64\x17A", L"\x414\x43E\x43C", L"\x41C\x438\x440", L"\x6570\x636E"})
        {
            SCOPED_TRACE(testing::Message() << (entry == Entry::TYPED ? "typed" : "pasted") << " name from U+"
                                            << std::hex << static_cast<unsigned>(name[0]));
            ExpectAddRefused(name, entry, NOT_KEPT, before);
        }
    }

    // What the code page holds is kept byte for byte, as before.
    AddNamed(L"Caf\xE9 M\xFCller \x20AC", Entry::TYPED);
    Colonies expected = before;
    expected.push_back({"Caf\xE9 M\xFCller \x80", 1, 1, 1});
    EXPECT_EQ(ListContent(), expected);
}

TEST_F(CodePage1252Test, ModifyRefusesSuchANameAndAppliesNothing)
{
    Load({{"Aster", 1000, 600, 0}});
    SelectColonyLine(0);
    ASSERT_TRUE(m_session.Click(m_main, IDC_MODIFYBUTTON));
    HWND dialog = m_session.WaitDialog("Modify colony data");
    ASSERT_NE(dialog, nullptr);
    EnterName(dialog, IDC_NEW_NAME, L"\x414\x43E\x43C");
    Type(dialog, IDC_NEW_METAL, "7");
    Click(dialog, IDC_APPLY);
    ExpectMessage(dialog, "Error", NOT_KEPT, MB_ICONHAND);
    EXPECT_EQ(bench::ItemText(dialog, IDC_CURRENT_NAME), "Aster");
    EXPECT_EQ(bench::ItemText(dialog, IDC_CURRENT_METAL), "1000");
    EXPECT_EQ(WideText(dialog, IDC_NEW_NAME), L"\x414\x43E\x43C");
    EXPECT_EQ(bench::ItemText(dialog, IDC_NEW_METAL), "7");
    EXPECT_EQ(ListContent(), Colonies({{"Aster", 1000, 600, 0}}));

    SetWindowTextW(GetDlgItem(dialog, IDC_NEW_NAME), L"");
    EnterName(dialog, IDC_NEW_NAME, L"\xC6r\xF8");
    Click(dialog, IDC_APPLY);
    ExpectNoMessage();
    EXPECT_EQ(ListContent(), Colonies({{"\xC6r\xF8", 7, 600, 0}}));
    Click(dialog, IDOK);
    ASSERT_TRUE(m_session.WaitGone(dialog));
}

// A typed name the code page cannot hold names no colony: it must not reach the colony its
// "?"s would spell.
TEST_F(CodePage1252Test, DeleteOfSuchANameRemovesNothing)
{
    const Colonies before = {{"???", 1, 2, 3}, {"Aster", 1000, 600, 0}};
    Load(before);
    DeleteByName(L"\x414\x43E\x43C");
    ExpectMessage(nullptr, "Error", NO_SUCH_COLONY, MB_ICONEXCLAMATION);
    EXPECT_EQ(ListContent(), before);
}

// Names whose bytes code page 932 does not read back as they are: a lone lead byte, a
// character of the NEC-selected rows that reads back as its IBM twin, and a name cut at 200 bytes
// in the middle of a character.
std::string CutName()
{
    std::string name;
    for (int i = 0; i < 99; ++i)
    {
        name += "\x82\xA0";
    }
    return name + "Z\x82";
}

const Colonies LOOSE_NAMES = {
    {"ABC\x82", 1, 0, 0},           {"\xED\x40X", 2, 0, 0},
    {CutName(), 4, 0, 0},           {"Kyoto", 8, 0, 0},
    {"\x93\x8C\x8B\x9E", 16, 0, 0}, {"Mars", 32, 0, 0},
    {"\x82\xA9\x82\xC8", 64, 0, 0}, {"Velquin", 128, 0, 0},
};

// Every listed colony counts in the sum, whether added one by one or all at once.
TEST_F(CodePage932Test, EveryListedColonyIsSummed)
{
    Load(LOOSE_NAMES);
    for (const CalculationDialog* d : {&PRODUCTION_DIALOG, &TIME_DIALOG})
    {
        SCOPED_TRACE(d->name);
        HWND dialog = Open(d->command, d->caption);
        ASSERT_NE(dialog, nullptr);
        for (int line = 0; line < static_cast<int>(LOOSE_NAMES.size()); ++line)
        {
            ASSERT_TRUE(m_session.SelectComboLine(dialog, d->colonies, line));
            Click(dialog, d->add);
            ExpectNoMessage();
        }
        EXPECT_EQ(WideListLines(dialog, d->selected), WideListLines(m_main, IDC_COLONYLIST));
        // One hour's production, or the time to make 255 metal: the same for the colonies added
        // one by one as for the whole list.
        Type(dialog, d->metalProbe, d == &PRODUCTION_DIALOG ? "1" : "255");
        Click(dialog, d->calculate);
        ExpectNoMessage();
        const std::string oneByOne = bench::ItemText(dialog, d->metalResult);
        EXPECT_NE(oneByOne, "");
        Click(dialog, d->addAll);
        Click(dialog, d->calculate);
        EXPECT_EQ(bench::ItemText(dialog, d->metalResult), oneByOne);
        Click(dialog, IDOK);
        ASSERT_TRUE(m_session.WaitGone(dialog));
    }
}

// The player types (or, for the long one, pastes) what the list shows, and that colony goes.
TEST_F(CodePage932Test, SuchAColonyIsDeletedByTheNameTheListShows)
{
    Load(LOOSE_NAMES);
    Colonies expected = LOOSE_NAMES;
    for (int line : {2, 1, 0})
    {
        SCOPED_TRACE(line);
        const std::wstring shown = WideListLines(m_main, IDC_COLONYLIST)[static_cast<std::size_t>(line)];
        DeleteByName(shown, line == 2 ? Entry::PASTED : Entry::TYPED);
        ExpectNoMessage();
        expected.erase(expected.begin() + line);
        EXPECT_EQ(ListContent(), expected);
    }
}

// Two bytes a letter: 100 hiragana fill the 200 bytes the file keeps; one more would be cut.
TEST_F(CodePage932Test, ANameLongerThanTheFileKeepsIsRefused)
{
    const std::wstring fits(100, L'\x3042');
    ExpectAddRefused(fits + L"\x3044", Entry::PASTED, TOO_LONG, {});
    ExpectAddRefused(L"\x141\xF3\x64\x17A", Entry::TYPED, NOT_KEPT, {});
    AddNamed(fits, Entry::PASTED);
    std::string bytes;
    for (int i = 0; i < 100; ++i)
    {
        bytes += "\x82\xA0";
    }
    EXPECT_EQ(ListContent(), Colonies({{bytes, 1, 1, 1}}));
}

} // namespace
