#include "ui/MainWindow.h"

#include "model/ColonyList.h"
#include "res/resource.h"
#include "storage/ColonyFile.h"
#include "ui/DialogFields.h"
#include "ui/Help.h"
#include "ui/LineFill.h"
#include "ui/Messages.h"
#include "ui/WaitCursor.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/AddColonyDialog.h"
#include "ui/dialogs/DeleteColonyDialog.h"
#include "ui/dialogs/ModifyColonyDialog.h"
#include "ui/dialogs/ProductionCalcDialog.h"
#include "ui/dialogs/TimeCalcDialog.h"
#include "ui/dialogs/ViewColoniesDialog.h"

#include <commctrl.h>

#include <cstddef>
#include <iterator>
#include <string>

const char* const MAIN_WINDOW_CLASS = "Velquin Window";
const char* const MAIN_WINDOW_TITLE = "Kolvarn's Zerak Resources Calculator";

namespace
{

const char* const STARTUP_STATUS_TEXT = "Kolvarn's Zerak Resources Calculator standing by ...";

// Up to nine colonies can be reached by adding; the add commands are greyed at exactly nine.
constexpr std::uint32_t MOST_COLONIES_BY_ADDING = 9;

struct ChildWindow
{
    const char* className;
    const char* text;
    DWORD extendedStyle;
    DWORD style;
    int x;
    int y;
    int width;
    int height;
    int id;
    int icon; // 0: no picture
    bool startsDisabled;
    const char* failureText;
};

constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;

// In the order they are created, which is also the order of their failure messages.
const ChildWindow CHILD_WINDOWS[] = {
    {"LISTBOX", "", WS_EX_CLIENTEDGE, CHILD | WS_VSCROLL | LBS_NOTIFY, 7, 7, 240, 160, IDC_COLONYLIST, 0,
     false, "Failed to create main colony list!"},
    {"BUTTON", "", WS_EX_WINDOWEDGE, CHILD | BS_ICON, 7, 170, 40, 40, IDC_SAVEBUTTON, IDI_SAVE, false,
     "Failed to create Save colony list button !"},
    {"BUTTON", "", WS_EX_WINDOWEDGE, CHILD | BS_ICON, 57, 170, 40, 40, IDC_LOADBUTTON, IDI_LOAD, false,
     "Failed to create Load colony list button !"},
    {"BUTTON", "", WS_EX_WINDOWEDGE, CHILD | BS_ICON, 107, 170, 40, 40, IDC_ADDBUTTON, IDI_ADD, false,
     "Failed to create Add colony button !"},
    {"BUTTON", "", WS_EX_WINDOWEDGE, CHILD | BS_ICON, 157, 170, 40, 40, IDC_DELETEBUTTON, IDI_DELETE, true,
     "Failed to create Delete colony button !"},
    {"BUTTON", "", WS_EX_WINDOWEDGE, CHILD | BS_ICON, 207, 170, 40, 40, IDC_MODIFYBUTTON, IDI_MODIFY, true,
     "Failed to create Modify colony button !"},
    {"STATIC", "Metal / h :", WS_EX_WINDOWEDGE, CHILD, 255, 7, 170, 20, -1, 0, false,
     "Failed to create static control !"},
    {"STATIC", "", WS_EX_WINDOWEDGE, CHILD | SS_SUNKEN, 255, 30, 170, 20, IDC_METALRATE, 0, false,
     "Failed to create static control !"},
    {"STATIC", "Crystal / h :", WS_EX_WINDOWEDGE, CHILD, 255, 57, 170, 20, -1, 0, false,
     "Failed to create static control !"},
    {"STATIC", "", WS_EX_WINDOWEDGE, CHILD | SS_SUNKEN, 255, 80, 170, 20, IDC_CRYSTALRATE, 0, false,
     "Failed to create static control !"},
    {"STATIC", "Deuterium / h :", WS_EX_WINDOWEDGE, CHILD, 255, 107, 170, 20, -1, 0, false,
     "Failed to create static control !"},
    {"STATIC", "", WS_EX_WINDOWEDGE, CHILD | SS_SUNKEN, 255, 130, 170, 20, IDC_DEUTERIUMRATE, 0, false,
     "Failed to create static control !"},
};

const int RATE_FIELDS[] = {IDC_METALRATE, IDC_CRYSTALRATE, IDC_DEUTERIUMRATE};

const int LIST_COMMANDS[] = {IDM_MODIFYCOLONY, IDM_DELETECOLONY, IDM_VIEWCOLONIES, IDM_PRODUCTION, IDM_TIME};
const int LIST_BUTTONS[] = {IDC_DELETEBUTTON, IDC_MODIFYBUTTON};
const int ADD_COMMANDS[] = {IDM_ADDCOLONY};
const int ADD_BUTTONS[] = {IDC_ADDBUTTON};

enum class AfterStep
{
    None,
    Adding,
    Modifying,
    Deleting,
    Totals,
};

struct DialogCommand
{
    int command;
    int dialogTemplate;
    DLGPROC procedure;
    // Only Delete colony hands on the command's parameter (the Delete button's marker).
    bool passesCommandParameter;
    const char* failureText;
    AfterStep afterStep;
};

const DialogCommand DIALOG_COMMANDS[] = {
    {IDM_ADDCOLONY, IDD_ADDCOLONY, AddColonyDialogProc, false, "\"Add colony\" dialog failed !",
     AfterStep::Adding},
    {IDM_MODIFYCOLONY, IDD_MODIFYCOLONY, ModifyColonyDialogProc, false, "\"Modify colony\" dialog failed !",
     AfterStep::Modifying},
    {IDM_DELETECOLONY, IDD_DELETECOLONY, DeleteColonyDialogProc, true, "\"Delete colony\" dialog failed !",
     AfterStep::Deleting},
    {IDM_VIEWCOLONIES, IDD_VIEWCOLONIES, ViewColoniesDialogProc, false, "\"View colonies\" dialog failed!",
     AfterStep::Totals},
    {IDM_PRODUCTION, IDD_PRODUCTIONCALC, ProductionCalcDialogProc, false,
     "\"Production calculation\" dialog failed !", AfterStep::None},
    {IDM_TIME, IDD_TIMECALC, TimeCalcDialogProc, false, "\"Time calculation\" dialog failed !",
     AfterStep::None},
    {IDM_ABOUT, IDD_ABOUT, AboutDialogProc, false, "\"About dialog\" failed !", AfterStep::None},
};

HINSTANCE InstanceOf(HWND window)
{
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
}

HWND CreateChild(HWND window, const ChildWindow& child)
{
    return CreateWindowExA(child.extendedStyle, child.className, child.text, child.style, child.x, child.y,
                           child.width, child.height, window,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(child.id)), InstanceOf(window),
                           nullptr);
}

void CreateChildren(HWND window)
{
    InitCommonControls();
    if (CreateStatusWindowA(CHILD, STARTUP_STATUS_TEXT, window, IDC_STATUSBAR) == nullptr)
    {
        ShowFailure(window, "Cannot create a status bar!");
    }

    for (const ChildWindow& child : CHILD_WINDOWS)
    {
        HWND created = CreateChild(window, child);
        if (created == nullptr)
        {
            ShowFailure(window, child.failureText);
            continue;
        }
        if (child.icon != 0)
        {
            HICON icon = LoadIconA(InstanceOf(window), MAKEINTRESOURCEA(child.icon));
            SendMessageA(created, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        }
        if (child.startsDisabled)
        {
            EnableWindow(created, FALSE);
        }
    }
}

void UpdateStatusTotals(HWND window)
{
    const std::string totals = "M/h : " + FormatNumber(g_ColonyList.GetTotalMetal()) +
                               "     C/h : " + FormatNumber(g_ColonyList.GetTotalCrystal()) +
                               "     D/h : " + FormatNumber(g_ColonyList.GetTotalDeuterium());
    SetDlgItemTextA(window, IDC_STATUSBAR, totals.c_str());
}

void FillListBox(HWND listBox)
{
    CLineFill fill(listBox, CLineFill::EControl::LIST_BOX, g_ColonyList.GetCount());
    fill.Clear();
    for (CNode* node = g_ColonyList.GetHead(); node != nullptr; node = node->GetNext())
    {
        if (!fill.Add(node->GetName().c_str(), reinterpret_cast<LPARAM>(node)))
        {
            break;
        }
    }
}

void RebuildColonyListBox(HWND window)
{
    HWND listBox = GetDlgItem(window, IDC_COLONYLIST);
    if (listBox != nullptr)
    {
        const CWaitCursor waiting;
        FillListBox(listBox);
    }
    ClearFields(window, RATE_FIELDS);
}

void Refresh(HWND window)
{
    UpdateStatusTotals(window);
    RebuildColonyListBox(window);
}

void SetCommandsEnabled(HWND window, const int* commands, std::size_t commandCount, const int* buttons,
                        std::size_t buttonCount, bool enabled)
{
    HMENU menu = GetMenu(window);
    for (std::size_t i = 0; i < commandCount; ++i)
    {
        EnableMenuItem(menu, static_cast<UINT>(commands[i]),
                       MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    }
    for (std::size_t i = 0; i < buttonCount; ++i)
    {
        EnableWindow(GetDlgItem(window, buttons[i]), enabled ? TRUE : FALSE);
    }
}

void SetListCommandsEnabled(HWND window, bool enabled)
{
    SetCommandsEnabled(window, LIST_COMMANDS, std::size(LIST_COMMANDS), LIST_BUTTONS, std::size(LIST_BUTTONS),
                       enabled);
}

void SetAddCommandsEnabled(HWND window, bool enabled)
{
    SetCommandsEnabled(window, ADD_COMMANDS, std::size(ADD_COMMANDS), ADD_BUTTONS, std::size(ADD_BUTTONS),
                       enabled);
}

void AfterLoading(HWND window)
{
    if (!g_ColonyList.IsEmpty())
    {
        SetListCommandsEnabled(window, true);
        Refresh(window);
    }
    if (g_ColonyList.GetCount() < MOST_COLONIES_BY_ADDING)
    {
        SetAddCommandsEnabled(window, true);
    }
    else if (g_ColonyList.GetCount() == MOST_COLONIES_BY_ADDING)
    {
        SetAddCommandsEnabled(window, false);
    }
}

void AfterAdding(HWND window)
{
    if (!g_ColonyList.IsEmpty())
    {
        SetListCommandsEnabled(window, true);
        Refresh(window);
    }
    if (g_ColonyList.GetCount() == MOST_COLONIES_BY_ADDING)
    {
        SetAddCommandsEnabled(window, false);
    }
}

void AfterDeleting(HWND window)
{
    if (g_ColonyList.IsEmpty())
    {
        SetListCommandsEnabled(window, false);
    }
    if (g_ColonyList.GetCount() < MOST_COLONIES_BY_ADDING)
    {
        SetAddCommandsEnabled(window, true);
    }
    Refresh(window);
}

void RunAfterStep(HWND window, AfterStep step)
{
    switch (step)
    {
        case AfterStep::Adding:
            AfterAdding(window);
            break;
        case AfterStep::Modifying:
            Refresh(window);
            break;
        case AfterStep::Deleting:
            AfterDeleting(window);
            break;
        case AfterStep::Totals:
            UpdateStatusTotals(window);
            break;
        case AfterStep::None:
            break;
    }
}

void OpenDialog(HWND window, const DialogCommand& dialog, LPARAM commandParameter)
{
    const LPARAM parameter = dialog.passesCommandParameter ? commandParameter : 0;
    // Made through the wide call, a dialog's edits keep what the player types as typed: an edit
    // made through the narrow one keeps the code page's bytes, "?" for a letter it lacks, and
    // a name the data file cannot keep could not be told from one it can.
    const INT_PTR result = DialogBoxParamW(InstanceOf(window), MAKEINTRESOURCEW(dialog.dialogTemplate),
                                           window, dialog.procedure, parameter);
    if (result == -1)
    {
        ShowFailure(window, dialog.failureText);
    }
    else if (result == 1)
    {
        RunAfterStep(window, dialog.afterStep);
    }
}

void RunDialogCommand(HWND window, int command, LPARAM commandParameter)
{
    for (const DialogCommand& dialog : DIALOG_COMMANDS)
    {
        if (dialog.command == command)
        {
            OpenDialog(window, dialog, commandParameter);
            return;
        }
    }
}

// The node of the selected line, or null when no line is selected. Without a list box
// nothing can have been selected, so nothing is acted on.
CNode* SelectedColony(HWND window)
{
    HWND listBox = GetDlgItem(window, IDC_COLONYLIST);
    if (listBox == nullptr)
    {
        return nullptr;
    }
    const LRESULT line = SendMessageA(listBox, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR)
    {
        return nullptr;
    }
    const LRESULT data = SendMessageA(listBox, LB_GETITEMDATA, static_cast<WPARAM>(line), 0);
    if (data == LB_ERR)
    {
        return nullptr;
    }
    return reinterpret_cast<CNode*>(data);
}

void ShowSelectedRates(HWND window)
{
    const CNode* colony = SelectedColony(window);
    if (colony == nullptr)
    {
        return;
    }
    SetDlgItemTextA(window, IDC_METALRATE, FormatNumber(colony->GetMetal()).c_str());
    SetDlgItemTextA(window, IDC_CRYSTALRATE, FormatNumber(colony->GetCrystal()).c_str());
    SetDlgItemTextA(window, IDC_DEUTERIUMRATE, FormatNumber(colony->GetDeuterium()).c_str());
}

// The Modify and Delete buttons put the cursor on the selected colony, then run the menu
// command synchronously so that the dialog has ended when the click has been handled.
void RunOnSelectedColony(HWND window, int command, LPARAM parameter, const char* noSelectionText)
{
    CNode* colony = SelectedColony(window);
    if (colony == nullptr)
    {
        ShowInputError(window, noSelectionText);
        return;
    }
    g_ColonyList.SetCurrent(colony);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), parameter);
}

void LoadData(HWND window)
{
    const CWaitCursor waiting;
    LoadColonies();
    AfterLoading(window);
}

void SaveData()
{
    const CWaitCursor waiting;
    SaveColonies();
}

void HandleCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    const int command = LOWORD(wParam);
    switch (command)
    {
        case IDM_SAVEDATA:
        case IDC_SAVEBUTTON:
            SaveData();
            break;
        case IDM_LOADDATA:
        case IDC_LOADBUTTON:
            LoadData(window);
            break;
        case IDM_EXIT:
            DestroyWindow(window);
            break;
        case IDM_HELP:
            ShowHelp(window);
            break;
        case IDC_ADDBUTTON:
            SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDM_ADDCOLONY, 0), 0);
            break;
        case IDC_MODIFYBUTTON:
            RunOnSelectedColony(window, IDM_MODIFYCOLONY, 0, "Please select a colony in order to modify it!");
            break;
        case IDC_DELETEBUTTON:
            RunOnSelectedColony(window, IDM_DELETECOLONY, DELETE_CURRENT_MARKER,
                                "Please select a colony in order to delete it!");
            break;
        case IDC_COLONYLIST:
            if (HIWORD(wParam) == LBN_SELCHANGE)
            {
                ShowSelectedRates(window);
            }
            break;
        default:
            RunDialogCommand(window, command, lParam);
            break;
    }
}

} // namespace

LRESULT CALLBACK MainWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
        case WM_CREATE:
            CreateChildren(hWnd);
            return 0;
        case WM_COMMAND:
            HandleCommand(hWnd, wParam, lParam);
            return 0;
        case WM_CLOSE:
            DestroyWindow(hWnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

int RunMainWindow(HINSTANCE hInstance, int nCmdShow)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = 0;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_APPLICATION_GLOBE));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDR_MAINMENU);
    windowClass.lpszClassName = MAIN_WINDOW_CLASS;
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageA(hInstance, MAKEINTRESOURCEA(IDI_APPLICATION_GLOBE), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));

    // Both start-up failures have always shown the exclamation icon, as input errors do.
    if (RegisterClassExA(&windowClass) == 0)
    {
        ShowInputError(nullptr, "Window class registration failed!");
        return 0;
    }

    HWND window = CreateWindowExA(0, MAIN_WINDOW_CLASS, MAIN_WINDOW_TITLE,
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 450, 300, nullptr, nullptr, hInstance, nullptr);
    if (window == nullptr)
    {
        ShowInputError(nullptr, "Window creation failed!");
        return 0;
    }

    ShowWindow(window, nCmdShow);
    UpdateWindow(window);

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
    {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
