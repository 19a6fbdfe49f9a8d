#include "tournament/files/tournament_change.h"

#include "tournament/files/host_files.h"
#include "tournament/files/round_state_file.h"
#include "tournament/files/tournament_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/tournament_window.h"

#include <string>

namespace {

// The alert's first line: the round files' own where one of them failed.
std::string CannotWrite(const std::string& problem) {
    const std::string file = problem.substr(0, problem.find(": "));
    const bool roundFile = file.size() >= 4 && file.compare(file.size() - 4, 4, ".rnd") == 0;
    return MessageText(roundFile ? MsgCannotWriteRoundFile : MsgCannotWriteTournamentFile);
}

} // namespace

TournamentChange::TournamentChange() {
    journal_.emplace(TournamentJournalPath());
}

bool TournamentChange::commit(const std::string& asItWas) {
    if (!journal_->recovered().empty()) ShowAlert(journal_->recovered(), MessageText(MsgClose));
    std::string problem;
    const Journal::Outcome outcome = journal_->commit(problem);
    // What a change given up made goes before anything is said.
    journal_.reset();
    if (outcome == Journal::Outcome::After) return true;
    if (outcome == Journal::Outcome::Before) {
        ShowAlert(CannotWrite(problem) + "\n" + problem + "\n" + asItWas,
                  MessageText(MsgClose));
        return false;
    }
    // A step refused once is tried again; one refused again waits for the next open.
    RecoverJournal(TournamentJournalPath());
    if (HostFileKindOf(TournamentJournalPath()) != HostFileKind::Missing)
        ShowAlert(CannotWrite(problem) + "\n" + problem + "\nThe change is finished when the tournament is opened next.",
                  MessageText(MsgClose));
    return true;
}

bool TournamentChange::commitWithSave(bool keepUnchanged) {
    const bool tournamentFile = TournamentSaved == 0;
    if (tournamentFile) {
        if (TournamentWindow.commitPlayerList) TournamentWindow.commitPlayerList();
        PlayerNumbersFixed();
        WriteTournamentFileInto(journal_->write(TournamentFilePath(0), keepUnchanged));
    }
    WriteRoundStateFileInto(journal_->write(RoundStatePath()));
    if (!commit()) return false;
    if (tournamentFile) TournamentMatchesFile();
    return true;
}
