// The steps of a whole event in tourman on an X server, shared by the
// events' cases: a new tournament through the settings dialog, players typed
// into the form, each round paired and its results keyed, then every output
// and report of the finished event, and the checks of the files left.
#pragma once

#include "x_driver.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace xev {

class EventOnX : public XProgramTest {
  protected:
    // The result of the board in the round (a win, a draw or a forfeit) and
    // whether it is keyed or clicked, from a generator seeded with both.
    struct Result {
        int digit;
        bool button;
    };
    static Result ResultKey(int round, int board);
    // The New command, its dialog typed: the system as the field shows it
    // ("2: Round Robin S"), the base name, the rounds; the data folder is EventFolder(base).
    void NewEvent(const char* system, const std::string& base, int rounds);
    void TypePlayers(int players);
    void CloseRegistration(bool swiss);
    // Pairs the round (round 1 is paired by the close); a Swiss proposal is
    // checked, handed to the step given, checked again and accepted.
    void PairRound(int round, bool swiss, const std::function<void()>& proposal = {});
    // Opens the entry, enters ResultKey on each board but a BYE's, by key or
    // by button, and closes the entry.
    void EnterResults(int round);
    // The Swiss's own steps: a BYE for the next round through the player
    // list's popup; a player made (un)available in the player form; the
    // accepted round's colours improved in the colour window; a proposed
    // board's colours exchanged on the pairing page; the proposal cancelled
    // and paired by hand from its "pairs<n>.man".
    void GiveBye(int player, const char* result, double points);
    void SetAvailable(int player, bool on);
    void ImproveColours();
    void ExchangeColours();
    void PairByHand();
    // Every output-page button, every Extras report and the USCF section
    // file of the finished event, with the section window's screenshot.
    void OutputsAndReports();
    // A screenshot of each page of the main window.
    void PagesPng(const std::string& base);
    // CR LF only in every text file; each result list as the round's game
    // codes; each player's standings score the sum of his results, a player
    // on no board of a round counted as offBoard_ says.
    void CheckFiles(int players, int rounds);
    // After the last round: the outputs and reports, the pages' screenshots,
    // the files checked, and the event saved through File > Save.
    void FinishEvent(int players, int rounds);

    const std::string& Base() const { return base_; }
    std::string Data() const { return EventFolder(base_); }
    std::string base_;
    std::map<int, std::map<int, double>> offBoard_; // round: player on no board, his points
    std::string browse_;                            // the file the next file browser is to choose
    // The item under the bar title and item labels, clicked through the
    // server; the bar is tourman's unless another is given.
    void PickMenu(const std::vector<std::string>& labels, WkObject* bar = nullptr);
    // The timeout that has the file browser choose browse_ once it opens.
    static void Browse(int, void* self);
    // Has the open file browser choose the file at path (folder and name).
    void ChooseInBrowser(const std::string& path);

  private:
    void SectionFile();
    void CheckSectionCells();
    void ExtrasReports();
    void OutputButtons();
    void CheckNamedFiles();
    // The timeout that fills the file browser and the print dialog.
    static void FillDialog(int, void* self);
    WkNativeWindow filled_ = 0; // the dialog filled and clicked last
    std::chrono::steady_clock::time_point filledAt_;
    int fillTimeout_ = 0;
    // The screen point of a list's row, which must be in sight.
    std::string RowAt(WkObject* list, int row);
};

} // namespace xev
