// The message dialog run for real: its buttons are clicked from timeouts on
// the virtual clock while the dialog's loop waits.
#include "input_fixture.h"

#include "toolkit/core/colors.h"
#include "toolkit/widgets/button_core.h"
#include "toolkit/widgets/label.h"
#include "toolkit/widgets/message_dialog.h"

#include <functional>
#include <list>

namespace wt {
namespace {

std::vector<WkObject*> Children(WkObject* form) {
    WkFormPage* page = WkFormCurrentPage(form);
    return {page->children, page->children + page->count};
}

struct Seen {
    std::vector<std::string> lines, captions;
};

class MessageDialog : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        Tick();
    }
    // Waiting moves the virtual clock by one tick.
    void Tick() {
        display->setIdleHook([this] {
            virtualNow.microseconds += 50000;
            virtualNow.seconds += virtualNow.microseconds / 1000000, virtualNow.microseconds %= 1000000;
            display->virtualClock()->advance(50);
            return true;
        });
    }
    void After(unsigned ms, std::function<void()> action) {
        WkAddTimeout(ms, [](int, void* d) { (*static_cast<std::function<void()>*>(d))(); }, &actions.emplace_back(action));
    }
    static WkObject* Newest() {
        WkObject* const* shells = nullptr;
        const int count = WkLiveShells(&shells);
        return shells[count - 1];
    }
    // Reads the newest dialog's lines and captions; returns its buttons.
    static std::vector<WkObject*> Look(Seen* seen) {
        std::vector<WkObject*> rows = Children(WkFormOf(Newest()));
        std::vector<WkObject*> buttons = Children(rows.back());
        rows.pop_back();
        for (WkObject* label : rows) seen->lines.push_back(WkLabelGetText(label));
        for (WkObject* button : buttons) seen->captions.push_back(WkButtonRecord(button)->text);
        return buttons;
    }
    void Click(WkObject* button) {
        int x, y;
        ScreenPoint(button, button->width / 2, button->height / 2, &x, &y);
        display->injectPointerMove(x, y);
        display->injectButton(x, y, plat::kLeftButton, true);
        display->injectButton(x, y, plat::kLeftButton, false);
    }
    // Clicks the button of that number in the newest dialog after ms.
    void Answer(unsigned ms, int number, Seen* seen) {
        After(ms, [this, number, seen] { Click(Look(seen).at(number)); });
    }
    std::list<std::function<void()>> actions;
};

TEST_F(MessageDialog, LinesAndButtonsComeFromTheBars) {
    const std::string text300 = std::string(99, 'a') + "|" + std::string(99, 'b') + "|" + std::string(100, 'c');
    const std::string caption60(60, 'x');
    std::string captions600 = caption60;
    for (int i = 1; i < 10; ++i) captions600 += "|" + caption60;
    const char* const further[] = {"c", "d", nullptr};
    struct Case {
        std::function<int()> run;
        int press;
        std::vector<std::string> lines, captions;
    } cases[] = {
        {[] { return WkRunMessageDialog("T", "a|b", "x|y"); }, 0, {"a", "b"}, {"x", "y"}},
        {[] { return WkRunMessageDialog("T", "a||b", "x"); }, 0, {"a", "", "b"}, {"x"}},
        {[] { return WkMessageDialog("T", "one", "Only", nullptr, "ignored", nullptr); }, 0, {"one"}, {"Only"}},
        {[] { return WkMessageDialog("T", "q", "a", "b", "c", nullptr); }, 2, {"q"}, {"a", "b", "c"}},
        {[&] { return WkMessageDialogArray("T", "q", "a", "b", further); }, 3, {"q"}, {"a", "b", "c", "d"}},
        {[&] { return WkRunMessageDialog("T", text300.c_str(), captions600.c_str()); }, 9,
         {std::string(99, 'a'), std::string(99, 'b'), std::string(100, 'c')}, std::vector<std::string>(10, caption60)},
    };
    for (const Case& c : cases) {
        Seen seen;
        Answer(100, c.press, &seen);
        EXPECT_EQ(c.run(), c.press);
        EXPECT_EQ(seen.lines, c.lines);
        EXPECT_EQ(seen.captions, c.captions);
        WkObject* const* shells;
        EXPECT_EQ(WkLiveShells(&shells), 0);
    }
}

// Escape and a close request (Alt+F4, or a close box that a window manager
// draws though the dialog asks for none) answer as the first button.
TEST_F(MessageDialog, EscapeAndACloseRequestAnswerAsTheFirstButton) {
    for (bool escape : {true, false}) {
        After(100, [this, escape] {
            display->holdModifiers(escape ? 0 : plat::kAlt);
            plat::KeyInfo key;
            key.scanCode = escape ? 0x01 : 0x3E;
            key.character = escape ? 0x1B : 0;
            display->injectKey(key);
            display->holdModifiers(0);
        });
        EXPECT_EQ(WkMessageDialog("T", "q", "a", "b", nullptr), 0) << escape;
        WkObject* const* shells;
        EXPECT_EQ(WkLiveShells(&shells), 0);
    }
}

TEST_F(MessageDialog, ADialogFromATimeoutKeepsItsOwnAnswer) {
    Seen outer, inner;
    int innerResult = -1;
    After(100, [&] { innerResult = WkRunMessageDialog("Inner", "i", "a|b|c"); });
    Answer(200, 2, &inner);
    Answer(300, 1, &outer);
    EXPECT_EQ(WkRunMessageDialog("Outer", "o", "a|b"), 1);
    EXPECT_EQ(innerResult, 2);
    EXPECT_EQ(inner.lines, std::vector<std::string>{"i"});
    EXPECT_EQ(outer.lines, std::vector<std::string>{"o"});
}

TEST_F(MessageDialog, ColoursAreGivenBackAndTheLookIsSet) {
    Stop();
    paletteMode = true;
    Start();
    WkInitFormClass();
    WkSetClock(VirtualClock);
    Tick();
    WkMessageDialogSetBackground(0, 0, 160);
    WkMessageDialogSetTextColor(255, 255, 0);
    Seen seen;
    After(100, [&] {
        WkObject* shell = Newest();
        std::vector<WkObject*> rows = Children(WkFormOf(shell));
        EXPECT_EQ(At(rows[0], 1, 1), plat::MakeRgb(0, 0, 160));
        SavePng(shell, "message_dialog.png");
        Click(Look(&seen).at(0));
    });
    EXPECT_EQ(WkMessageDialog("Question", "The tournament has changed.|Save it before closing?|Answer below.", " Not ",
                              " Yes ", " Save before ", nullptr),
              0);
    // The defaults the first window allocated for good are counted in.
    std::vector<int> before(256), after(256);
    for (int i = 0; i < 256; ++i) before[i] = WkColorUses(WkColor(i));
    Answer(100, 1, &seen);
    EXPECT_EQ(WkMessageDialog("Again", "q", "a", "b", nullptr), 1);
    for (int i = 0; i < 256; ++i) after[i] = WkColorUses(WkColor(i));
    EXPECT_EQ(after, before);
    WkMessageDialogSetBackground(112, 112, 80);
    WkMessageDialogSetTextColor(255, 255, 255);
}

} // namespace
} // namespace wt
