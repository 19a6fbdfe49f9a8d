// The file browser run for real on a scratch folder: the filter field's
// kind and the listing, Ok without a name, a file chosen with Enter, the
// folder handed back, the ways out that choose nothing, the folder kept or
// restored, a second browser refused while one runs, and its picture.
#include "toolkit/widgets/file_browser.h"

#include "toolkit/core/folders.h"
#include "toolkit/core/image.h"
#include "toolkit/core/object_attrs.h"
#include "toolkit/core/startup.h"
#include "toolkit/core/timeouts.h"
#include "toolkit/widgets/combo_box.h"
#include "toolkit/widgets/list.h"
#include "toolkit/widgets/push_button.h"
#include "input_fixture.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <list>

namespace fs = std::filesystem;

namespace wt {
namespace {

WkObject* Part(void* p) { return static_cast<WkObject*>(p); }

std::vector<std::string> Listed() {
    std::vector<std::string> out;
    WkObject* list = Part(WkFileBrowserParts().list);
    for (int i = 0; i < WkListGetCount(list); ++i) out.push_back(WkListGetItem(list, i)->text);
    return out;
}

class FileBrowserTest : public InputTest {
protected:
    void SetUp() override {
        InputTest::SetUp();
        TickWhenIdle();
        top = std::string(TM_TEST_OUTPUT_DIR) + "/browser";
        fs::remove_all(top);
        fs::create_directories(top + "/sub");
        for (const char* f : {"a.TRN", "b.txt", "c.doc", ".hidden.trn"}) std::ofstream(top + "/" + f) << "x";
        start = WkGetCurrentDir();
    }
    void TearDown() override {
        WkSetCwd(start.c_str());
        InputTest::TearDown();
    }
    int After(unsigned ms, std::function<void()> action) {
        return WkAddTimeout(ms, [](int, void* d) { (*static_cast<std::function<void()>*>(d))(); },
                            &actions.emplace_back(action));
    }
    void Click(void* part) {
        WkObject* o = Part(part);
        int x, y;
        ScreenPoint(o, o->width / 2, o->height / 2, &x, &y);
        display->injectPointerMove(x, y);
        display->injectButton(x, y, plat::kLeftButton, true);
        display->injectButton(x, y, plat::kLeftButton, false);
    }
    std::string top, start;
    std::list<std::function<void()>> actions;
};

TEST_F(FileBrowserTest, FilterKindAndListing) {
    struct Case {
        const char* patterns;
        bool dropDown;
        std::vector<std::string> listed;
    } cases[] = {{"*.trn;*.txt", true, {".hidden.trn", "a.TRN"}}, {"*.*", false, {".hidden.trn", "a.TRN", "b.txt", "c.doc"}}};
    for (const Case& c : cases) {
        std::string file = "keep", folder = top;
        After(100, [&] {
            EXPECT_EQ(WkComboBoxGetList(Part(WkFileBrowserParts().filter)) != nullptr, c.dropDown) << c.patterns;
            EXPECT_EQ(Listed(), c.listed) << c.patterns;
            int percent = 0;
            EXPECT_TRUE(WkObjectInheritsBackground(Part(WkFileBrowserParts().filter), &percent));
            EXPECT_EQ(percent, 115); // fields lighter than the window
            EXPECT_EQ(WkObjectGetTransparency(Part(WkFileBrowserParts().list)), WK_TRANSPARENT);
            if (c.dropDown) {
                WkListSelectItem(Part(WkFileBrowserParts().list), 1);
                WkFlushEvents();
                SavePng(Part(WkFileBrowserParts().shell), "file_browser.png");
            }
            Click(WkFileBrowserParts().close);
        });
        EXPECT_EQ(WkFileBrowser("Open", c.patterns, file, folder, 0), 0);
        EXPECT_EQ(file, "keep");
        EXPECT_EQ(folder, top);
    }
}

TEST_F(FileBrowserTest, ChoosingAndLeaving) {
    const std::string deep = top + "/" + std::string(120, 'd') + "/" + std::string(120, 'e') + "/" + std::string(120, 'f');
    fs::create_directories(deep);
    std::ofstream(deep + "/" + std::string(200, 'n') + ".txt") << "x";
    struct Case {
        const char* name;
        std::string folder;
        std::function<void()> act;
        int result;
        std::string file, returned;
    } cases[] = {
        {"Ok with nothing stays", top + "/sub",
         [&] {
             Click(WkFileBrowserParts().ok);
             After(200, [&] {
                 WkObject* shell = Part(WkFileBrowserParts().shell);
                 EXPECT_NE(shell, nullptr);
                 if (shell) display->injectCloseRequest(WkObjectGetNativeWindow(shell));
             });
         },
         0, "", top + "/sub"},
        {"Enter on a file", top,
         [&] {
             WkObject* list = Part(WkFileBrowserParts().list);
             WkListSelectItem(list, 2);
             WkObjectSetFocus(list);
             Key(0x0D, 0x1C);
         },
         1, "b.txt", top + "/"},
        {"a deep folder and a long name", deep,
         [&] {
             WkListSelectItem(Part(WkFileBrowserParts().list), 0);
             Click(WkFileBrowserParts().ok);
         },
         1, std::string(200, 'n') + ".txt", deep + "/"},
        {"the root", "/", [&] { Click(WkFileBrowserParts().ok); }, 1, "x", "/"},
    };
    for (Case& c : cases) {
        std::string file, folder = c.folder;
        if (c.folder == "/") file = "x";
        After(100, c.act);
        EXPECT_EQ(WkFileBrowser("Open", "*.*", file, folder, 0), c.result) << c.name;
        EXPECT_EQ(file, c.file) << c.name;
        EXPECT_EQ(folder, c.returned) << c.name;
        EXPECT_EQ(std::string(WkGetCurrentDir()), start) << c.name;
    }
}

TEST_F(FileBrowserTest, EscapeLeavesWhereverTheFocusIs) {
    int round = 0;
    for (void* WkBrowserParts::*part :
         {&WkBrowserParts::list, &WkBrowserParts::name, &WkBrowserParts::ok, &WkBrowserParts::tree}) {
        std::string file = "keep", folder = top;
        ++round;
        int guard = 0; // closes a browser that Escape left open; gone once the browser returns
        After(100, [&, part] {
            WkObjectSetFocus(Part(WkFileBrowserParts().*part));
            Key(0x1B, 0x01);
            guard = After(300, [&] {
                if (!WkFileBrowserParts().shell) return;
                ADD_FAILURE() << "still open after Escape, case " << round;
                Click(WkFileBrowserParts().close);
            });
        });
        EXPECT_EQ(WkFileBrowser("Open", "*.*", file, folder, 0), 0) << round;
        WkClearTimeout(&guard);
        EXPECT_EQ(file, "keep") << round;
    }
}

TEST_F(FileBrowserTest, KeepFolderAndOneAtATime) {
    for (int keep : {0, 1}) {
        std::string folder = top + "/sub";
        int nested = -1;
        After(100, [&] {
            std::string other = top;
            nested = WkFolderBrowser("Inner", nullptr, other, 0);
            Click(WkFileBrowserParts().ok);
        });
        EXPECT_EQ(WkFolderBrowser("Folder", nullptr, folder, keep), 1);
        EXPECT_EQ(nested, 0);
        EXPECT_EQ(folder, top + "/sub/");
        EXPECT_EQ(std::string(WkGetCurrentDir()), keep ? top + "/sub/" : start);
        WkSetCwd(start.c_str());
    }
    // Closed without a choice, by its button or by the window, a browser
    // that keeps the folder of a choice leaves the current one as it was.
    for (bool window : {false, true}) {
        std::string folder = top + "/sub";
        After(100, [&] {
            WkObject* shell = Part(WkFileBrowserParts().shell);
            if (!window) Click(WkFileBrowserParts().close);
            else if (shell) display->injectCloseRequest(WkObjectGetNativeWindow(shell));
        });
        EXPECT_EQ(WkFolderBrowser("Folder", nullptr, folder, 1), 0) << window;
        EXPECT_EQ(folder, top + "/sub") << window;
        EXPECT_EQ(std::string(WkGetCurrentDir()), start) << window;
        WkSetCwd(start.c_str());
    }
}

TEST_F(FileBrowserTest, BackgroundImageAndPlainTree) {
    WkImage* image = WkCreateImage(8, 8, 24);
    for (std::uint8_t plain : {0, 1}) {
        WkBrowserOptions o;
        o.plainTree = plain;
        o.background = image;
        std::string folder = top;
        After(100, [&] {
            WkObject* tree = Part(WkFileBrowserParts().tree);
            EXPECT_EQ(WkObjectGetBackgroundImage(Part(WkFileBrowserParts().shell)), image);
            EXPECT_EQ(WkObjectGetTransparency(tree), plain ? WK_TRANSPARENT : 0);
            Click(WkFileBrowserParts().close);
        });
        EXPECT_EQ(WkFileBrowserWithOptions("Folder", nullptr, folder, &o), 0);
    }
    WkFreeImage(image);
}

} // namespace
} // namespace wt
