// The column filter driven through its dialog: the menu item, saving and
// loading filter files through the browser, refused files, OK keeping a
// switched-off column's start, the default filter and the semicolon kinds.
#include "support/tourman_driver.h"

#include "toolkit/widgets/edit_field.h"
#include "toolkit/widgets/focus.h"
#include "toolkit/widgets/menu.h"
#include "toolkit/widgets/toggle.h"
#include "tourman/dialogs/column_filter.h"
#include "tourman/frame/window_frame.h"
#include "tournament/message_table.h"

#include <filesystem>
#include <fstream>

namespace tmt {
namespace {

class ColumnFilterTest : public TourmanTest {
  protected:
    void SetUp() override {
        TourmanTest::SetUp();
        for (ColumnFilterSlot& s : ColumnFilter) s = {0, 0};
        ImportMode = ImportNone;
    }
    void OpenDialog() {
        WkMenuActivateItem(MainWindow.columnFilterItem);
        Flush();
        ASSERT_NE(ColumnFilterDialog.window, nullptr);
    }
    void SetStart(ColumnSlot slot, const char* text) {
        WkObjectSetFocus(ColumnFilterDialog.starts[slot]);
        WkEditSelectAll(ColumnFilterDialog.starts[slot]);
        Type(text);
    }
    WkObject* DialogButton(int message) { return Find(MessageText(message), ColumnFilterDialog.window); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::string Slots() {
        std::string text;
        for (const ColumnFilterSlot& s : ColumnFilter) text += std::to_string(s.enabled) + ":" + std::to_string(s.start) + " ";
        return text;
    }
};

TEST_F(ColumnFilterTest, SavedLoadedRefusedAndKeptThroughOk) {
    ASSERT_TRUE(Start());
    OpenDialog();
    Click(ColumnFilterDialog.toggles[NameColumn]);
    Click(ColumnFilterDialog.toggles[RatingColumn]);
    SetStart(RatingColumn, "48");
    ChooseFile(dataFolder + "mine.flt");
    Click(DialogButton(MsgSaveFilter));
    EXPECT_EQ(Read(dataFolder + "mine.flt"), "1  48\r\n0  0\r\n0  0\r\n0  0\r\n0  0\r\n0  0\r\n1  0\r\n");
    const std::string saved = "1:48 0:0 0:0 0:0 0:0 0:0 1:0 ";

    // A failed save keeps the values taken from the dialog.
    std::filesystem::create_directories(dataFolder + "taken.flt/inside");
    ChooseFile(dataFolder + "taken.flt");
    AnswerText("The file cannot be created.\n" + dataFolder + "taken.flt", 0);
    Click(DialogButton(MsgSaveFilter));

    struct Case {
        const char* name;
        const char* text;
        std::string slots; // empty: refused with MsgCannotOpenFile, the filter as it was
    } cases[] = {
        {"one blank, LF", "1 48\n0 0\n0 0\n0 0\n0 0\n0 0\n1 0\n", saved},
        {"tabs and blank lines", "1\t7\n\n2 1\n0 0 \n1 3\n1 9\n1 17\n1 30\n\n", "1:7 2:1 0:0 1:3 1:9 1:17 1:30 "},
        {"six lines", "1 1\n1 2\n1 3\n1 4\n1 5\n1 6\n", ""},
        {"a start of 120", "1 120\n0 0\n0 0\n0 0\n0 0\n0 0\n1 0\n", ""},
        {"a word", "1 4\n0 x\n0 0\n0 0\n0 0\n0 0\n1 0\n", ""},
    };
    std::string expected = saved;
    for (const Case& c : cases) {
        std::ofstream(dataFolder + "case.flt", std::ios::binary) << c.text;
        ChooseFile(dataFolder + "case.flt");
        if (c.slots.empty()) Answer(MsgCannotOpenFile, 0);
        else expected = c.slots;
        Click(DialogButton(MsgLoadFilter));
        EXPECT_EQ(Slots(), expected) << c.name;
        EXPECT_EQ(WkToggleGetState(ColumnFilterDialog.toggles[CountryColumn]) != 0, ColumnFilter[CountryColumn].enabled != 0) << c.name;
        EXPECT_EQ(WkEditGetText(ColumnFilterDialog.starts[NameColumn]), std::to_string(ColumnFilter[NameColumn].start)) << c.name;
    }
    ChooseFile("");
    Click(DialogButton(MsgLoadFilter));
    EXPECT_EQ(Slots(), expected);

    // Off with OK keeps the start; on again restores it.
    Click(ColumnFilterDialog.toggles[BirthdayColumn]);
    Click(DialogButton(MsgOk));
    EXPECT_EQ(ColumnFilterDialog.window, nullptr);
    EXPECT_EQ(Slots(), "1:7 1:1 0:0 1:3 0:9 1:17 1:30 ");
    OpenDialog();
    EXPECT_FALSE(WkToggleGetState(ColumnFilterDialog.toggles[BirthdayColumn]));
    EXPECT_STREQ(WkEditGetText(ColumnFilterDialog.starts[BirthdayColumn]), "9");
    SavePng(ColumnFilterDialog.window, "dialog.png");
    Click(ColumnFilterDialog.toggles[BirthdayColumn]);
    SetStart(IdCodeColumn, "5");
    Click(DialogButton(MsgClose)); // closes without taking the values
    EXPECT_EQ(Slots(), "1:7 1:1 0:0 1:3 0:9 1:17 1:30 ");

    LoadColumnFilter(nullptr, nullptr, reinterpret_cast<void*>(1));
    EXPECT_EQ(Slots(), "1:53 1:44 0:0 1:48 0:0 1:0 1:10 ");
    for (int mode : {ImportQuon, ImportFsi}) {
        ImportMode = mode;
        Answer(MsgColumnFiltersNotUsed, 0);
        WkMenuActivateItem(MainWindow.columnFilterItem);
        EXPECT_EQ(ColumnFilterDialog.window, nullptr);
    }
}

} // namespace
} // namespace tmt
