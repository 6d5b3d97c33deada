#pragma once

// What the Production and Time calculation tests share: opening a calculation dialog over
// chosen colonies through the main window, and reading its panel and its message boxes.

#include "bench/Session.h"
#include "model/ColonyList.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

struct CalculationDialog
{
    const char* name; // for test names
    int command;
    const char* caption;
    int colonies;
    int add;
    int addAll;
    int remove;
    int clearAll;
    int selected;
    int calculate;
    int clear;
    int metalResult;
    // Production: the hours field; Time: the wanted amount of metal.
    int metalProbe;
    // What the user types in, in the order Clear empties them, and what Calculate shows.
    std::vector<int> entries;
    std::vector<int> results;
};

inline const CalculationDialog PRODUCTION_DIALOG = {
    "Production",
    IDM_PRODUCTION,
    "Production calculation",
    IDC_PROD_COLONY,
    IDC_PROD_ADD,
    IDC_PROD_ADDALL,
    IDC_PROD_REMOVE,
    IDC_PROD_CLEARALL,
    IDC_PROD_SELECTED,
    IDC_PROD_CALCULATE,
    IDC_PROD_CLEAR,
    IDC_PROD_METAL,
    IDC_PROD_HOURS,
    {IDC_PROD_DAYS, IDC_PROD_HOURS, IDC_PROD_MINUTES, IDC_PROD_SECONDS},
    {IDC_PROD_METAL, IDC_PROD_CRYSTAL, IDC_PROD_DEUTERIUM}};

inline const CalculationDialog TIME_DIALOG = {"Time",
                                              IDM_TIME,
                                              "Time calculation",
                                              IDC_TIME_COLONY,
                                              IDC_TIME_ADD,
                                              IDC_TIME_ADDALL,
                                              IDC_TIME_REMOVE,
                                              IDC_TIME_CLEARALL,
                                              IDC_TIME_SELECTED,
                                              IDC_TIME_CALCULATE,
                                              IDC_TIME_CLEAR,
                                              IDC_TIME_METAL,
                                              IDC_TIME_AMOUNT_METAL,
                                              {IDC_TIME_AMOUNT_METAL, IDC_TIME_AMOUNT_CRYSTAL,
                                               IDC_TIME_AMOUNT_DEUTERIUM, IDC_TIME_SUPPLY_METAL,
                                               IDC_TIME_SUPPLY_CRYSTAL, IDC_TIME_SUPPLY_DEUTERIUM},
                                              {IDC_TIME_METAL, IDC_TIME_CRYSTAL, IDC_TIME_DEUTERIUM}};

// Test names and failures name the dialog, not its bytes.
inline void PrintTo(const CalculationDialog& dialog, std::ostream* out)
{
    *out << dialog.name;
}

class CalculationDialogTest : public ::testing::Test
{
protected:
    // The colonies go straight into the program's list while its thread is idle: the dialog
    // reads nothing else, and two colonies of one name can come about only by renaming.
    HWND Open(const CalculationDialog& dialog, const std::vector<bench::ColonyRecord>& colonies)
    {
        if (m_session.WaitMainWindow() == nullptr || !m_session.Sync())
        {
            ADD_FAILURE() << "the main window did not come up";
            return nullptr;
        }
        g_ColonyList.RemoveAll();
        for (const bench::ColonyRecord& colony : colonies)
        {
            g_ColonyList.AddColony(colony.name, colony.metal, colony.crystal, colony.deuterium);
        }
        m_session.PostCommand(dialog.command);
        HWND window = m_session.WaitDialog(dialog.caption);
        EXPECT_NE(window, nullptr) << dialog.caption << " did not open";
        return window;
    }

    // Clicks and waits until the click has been handled, message boxes included.
    void Click(HWND window, int id)
    {
        ASSERT_TRUE(m_session.Click(window, id)) << "control " << id << " cannot be clicked";
        ASSERT_TRUE(m_session.Sync());
    }

    void SelectLine(HWND window, int listId, int index)
    {
        ASSERT_TRUE(m_session.SelectLine(window, listId, index));
        ASSERT_TRUE(m_session.Sync());
    }

    void SelectComboLine(HWND window, int comboId, int index)
    {
        ASSERT_TRUE(m_session.SelectComboLine(window, comboId, index));
        ASSERT_TRUE(m_session.Sync());
    }

    void SetText(HWND window, int id, const std::string& text)
    {
        m_session.SetText(window, id, text);
        ASSERT_TRUE(m_session.Sync());
    }

    void ExpectMessage(HWND owner, const std::string& caption, const std::string& text, UINT icon)
    {
        bench::ExpectMessages(m_session, {{owner, caption, text, icon}});
    }
    void ExpectNoMessage() { bench::ExpectNoMessage(m_session); }

    // Checks through the dialog's own calculation that the calculation list sums to this
    // metal rate: a Production over one hour shows a rate that is a multiple of 3600
    // exactly, and a Time for exactly that amount from nothing takes one hour only at that
    // rate.
    void ExpectMetalRate(const CalculationDialog& dialog, HWND window, std::uint32_t rate)
    {
        const bool production = dialog.command == IDM_PRODUCTION;
        SetText(window, dialog.metalProbe, production ? "1" : std::to_string(rate));
        Click(window, dialog.calculate);
        EXPECT_EQ(bench::ItemText(window, dialog.metalResult), production ? std::to_string(rate) : "01:00:00")
            << "for a summed metal rate of " << rate;
    }

    bench::UiSession m_session;
};
