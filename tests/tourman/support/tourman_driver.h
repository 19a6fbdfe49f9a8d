// The scripted driver of the tournament manager's tests.
//
// Each test runs the program's start-up on an offscreen display, in a
// scratch program folder (a copy of the build's) and with a scratch data
// folder. It finds widgets by name or caption, clicks them, types and
// presses keys. Every box and message dialog the program opens is answered
// from a script the
// test queues beforehand (the box's message number or text expected, the
// button to press); a box with nothing queued for it, a text that differs,
// or an answer still queued at the end fails the test. A PNG of every box
// and of each window the test asks for goes to TM_TEST_OUTPUT_DIR.
#pragma once

#include "toolkit/core/object.h"
#include "toolkit/platform/offscreen.h"
#include "toolkit/widgets/menu.h"
#include "tournament/message_numbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace tmt {

// What the Save item and the close's save ask while a round is proposed.
inline const std::string ProposedRoundQuestion =
    "The proposed round is not saved: a tournament opened again waits for its pairing.\n"
    "Accept the pairing before saving?";

// The button of an answer that asks the window system to close the box (Alt+F4).
inline constexpr int CloseRequest = -1;
// The "button" of an answer that presses Escape in the box.
inline constexpr int EscapeKey = -2;
// The button of an answer that clicks the close box a window manager draws
// though the box asks for none.
inline constexpr int CloseBox = -3;

struct Answer {
    std::string text; // what the box must say; for the file browser the path to choose
    int button;       // the position of the button to press, CloseRequest, EscapeKey or CloseBox
    bool browser = false;
    bool print = false;
};

// What a box or message dialog showed when the driver answered it (its
// label lines joined with line breaks).
struct BoxSeen {
    std::string text;
    int lines;                        // as its label lays the text out
    std::vector<std::string> buttons; // captions, left to right
    std::string statusLine;           // the main window's status line behind the box
    int width;
    std::string title;
};

class TourmanTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // AppMain's steps up to the event loop; false when the program ended.
    bool Start();
    // The next box must show the message's text (or this text; a text ending
    // in a line break: the box's first lines) and gets its button'th button
    // pressed.
    void Answer(int message, int button);
    void AnswerText(const std::string& text, int button);
    // The next modal window must be the file browser, which chooses the file
    // at path (folder and name), or is closed when path is empty.
    void ChooseFile(const std::string& path);
    // The next modal window must be the print dialog, which sends the job
    // to the PDF file at path, or to the default printer when path is empty.
    void PrintTo(const std::string& path);
    // Runs what is waiting, answering boxes as they open.
    void Flush();
    // The New command answered and its dialog filled: "Club Cup" in Pisa,
    // 1-3 May 2026, arbiter Neri, three rounds, the base name given, in the
    // test's data folder, the system as the drop-down names it ("1: Swiss
    // Dubov" when none is given); then OK.
    void NewClubCup(const std::string& baseName, const char* system = nullptr);
    // Extras > Tournament > Reopen the registration, Yes to both questions;
    // the rounds taken back are said to be kept as "<base><keptAs>.rnd" (and
    // the snapshots, when round 1's is there, as "<base><keptAs>-round<round>.rnd").
    void ReopenRegistration(const std::string& keptAs = "-reopened");
    // A Swiss of ten players rated 2400 down to 1500 (FIDE Dubov, five
    // rounds, file name "ten"), its registration closed, set straight into
    // the tables.
    void TenPlayerDubov();
    // White wins every game of the current round that is not a BYE; the
    // tables and scores follow and the round waits for its next pairing.
    static void WhiteWinsRound();

    // The first widget under root (every window's widgets when null) whose
    // name or caption is the text, or null.
    WkObject* Find(const std::string& nameOrCaption, WkObject* root = nullptr);
    // The widgets under root in creation order, depth first.
    static std::vector<WkObject*> Widgets(WkObject* root);
    static std::string Caption(WkObject* object);

    // The item under the label in the menu or any of its submenus, or null.
    static WkMenuItem* FindMenuItem(WkObject* menu, const std::string& label);

    void Click(WkObject* object, int button = plat::kLeftButton);
    void Type(const std::string& text);
    // The field emptied, clicked and the text typed into it.
    void Fill(WkObject* field, const std::string& text);
    // A key by its scan code with the character it types and the modifiers
    // held (plat::kCtrl, kAlt, kShift).
    void Press(std::uint8_t scan, std::uint8_t character = 0, std::uint32_t modifiers = 0,
               std::uint16_t virtualKey = 0);
    void SavePng(WkObject* window, const std::string& name);
    // The bytes of every file under a folder, by relative path.
    static std::vector<std::pair<std::string, std::string>> Snapshot(const std::string& folder);
    // The program ended and a fresh one started up to its event loop, with
    // the files of a Snapshot in its data folder, but the one left out.
    void Restart(const std::vector<std::pair<std::string, std::string>>& files, const std::string& leftOut = "");

    std::string programFolder, dataFolder;
    std::unique_ptr<plat::OffscreenDisplay> display;
    std::deque<tmt::Answer> script;
    std::vector<BoxSeen> boxes;

    // Answers the box open on top from the script; the display's idle hook.
    bool AnswerOpenBox();

  private:
    bool AnswerBrowser();
    bool AnswerPrintDialog(WkObject* dialog);
    std::string savedFolder_;
    char* argv_[2] = {};
    std::string program_;
};

} // namespace tmt
