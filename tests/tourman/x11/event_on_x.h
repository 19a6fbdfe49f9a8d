// The steps of a whole event in tourman on an X server, shared by the
// events' cases: a new tournament through the settings dialog, players typed
// into the form, each round paired and its results keyed, then every output
// and report of the finished event, and the checks of the files left.
#pragma once

#include "x_driver.h"

#include <string>
#include <vector>

namespace xev {

class EventOnX : public XProgramTest {
  protected:
    // The result key typed on the board in the round ('1', 'x', '0').
    static char ResultKey(int round, int board);
    // The New command, its dialog typed: the system as the field shows it
    // ("2: Round Robin S"), the base name, the rounds; the data folder is EventFolder(base).
    void NewEvent(const char* system, const std::string& base, int rounds);
    void TypePlayers(int players);
    void CloseRegistration(bool swiss);
    // Pairs the round (round 1 is paired by the close) and accepts a Swiss proposal.
    void PairRound(int round, bool swiss);
    // Opens the entry, keys ResultKey on each board and closes the entry.
    void EnterResults(int round, int boards);
    // Every output-page button, every Extras report and the USCF section
    // file of the finished event, with the section window's screenshot.
    void OutputsAndReports();
    // A screenshot of each page of the main window.
    void PagesPng(const std::string& base);
    // CR LF only in every text file; each result list as keyed; each
    // player's standings score the sum of his results.
    void CheckFiles(int players, int rounds, int boards);

    const std::string& Base() const { return base_; }
    std::string Data() const { return EventFolder(base_); }
    std::string base_;

  private:
    // The item under the bar title and item labels, clicked through the server.
    void PickMenu(const std::vector<std::string>& labels);
    void SectionFile();
    void CheckSectionCells();
    void ExtrasReports();
    void OutputButtons();
    void CheckNamedFiles();
    // The timeout that fills the file browser and the print dialog.
    static void FillDialog(int, void* self);
    WkObject* filled_ = nullptr;
    int fillTimeout_ = 0;
};

} // namespace xev
