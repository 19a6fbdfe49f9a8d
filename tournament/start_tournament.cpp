#include "tournament/start_tournament.h"

#include "tournament/files/host_files.h"
#include "tournament/files/journal.h"
#include "tournament/files/line_reader.h"
#include "tournament/files/round_state_file.h"
#include "tournament/files/tournament_change.h"
#include "tournament/files/tournament_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/random.h"
#include "tournament/round_robin.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"
#include "tournament/standings_order.h"
#include "tournament/tournament_window.h"

#include <algorithm>

namespace {

std::string RoundRobinCountText() {
    return "A round robin needs " + std::to_string(RoundRobinMinPlayers) + " to " +
           std::to_string(RoundRobinMaxPlayers) + " players";
}

// The tournament file's own name in its folder, without its extension.
std::string OwnName(const std::string& path, const std::string& folder) {
    const std::string name = path.substr(folder.size());
    return name.substr(0, name.rfind('.'));
}

// Whether the rounds that the tournament file at path says were saved can
// be read. Opened without them the tournament would stand at its open
// registration, and closing it would start the tournament anew over the
// rounds played and write its round-state file again; so the open is
// refused before anything is read or written, naming the file and the
// round snapshot to go on from. A round-state file missing where the base
// name is not the tournament file's own name is reported at the base name's
// line, which is likely the damaged one. A tournament file that cannot be
// read is left to the reader, which says why.
bool RoundsReadable(const std::string& path, const std::string& folder) {
    TournamentFileRounds rounds;
    if (!PeekTournamentFile(path, rounds) || rounds.savedRound == 0) return true;
    const std::string base = rounds.baseName;
    const std::string statePath = folder + base + ".rnd";
    std::string problem = RoundStateFileProblem(statePath, rounds.players, rounds.pairingSystem);
    if (problem.empty()) return true;
    const std::string ownName = OwnName(path, folder);
    if (ownName != base && HostFileKindOf(statePath) == HostFileKind::Missing)
        problem = path + ", line " + std::to_string(rounds.baseNameLine) + ": the base name \"" + base +
                  "\" is not the file's own name \"" + ownName + "\", and no \"" + base + ".rnd\" is in the folder";
    const std::string snapshot = NewestRoundSnapshot(folder, base);
    ShowAlert(MessageText(MsgCannotReadRoundFile) + "\n" + problem +
                  "\nThe tournament is not opened, so that its rounds are not started anew; nothing was written.\n" +
                  (snapshot.empty()
                       ? "No round file \"" + base + "<round>.rnd\" is in the folder."
                       : "Its newest round file is \"" + snapshot + "\": copy it to \"" + base +
                             ".rnd\" and open the tournament again;\n\"Load round file\" then loads any other round file."),
              MessageText(MsgClose));
    return false;
}

// A change of the tournament's files that was stopped (a save, a round's
// close, ...) is finished, or dropped when its new files are not whole, and
// the user is told which: the files are read as before the change or as
// after it, never mixed. The record is named after the tournament's base
// name, which a file renamed by hand no longer shares, so both are looked
// for. A record of the previous version cannot be checked and is dropped.
void RecoverTournamentFiles(const std::string& path, const std::string& folder) {
    const auto tell = [](const std::string& text) {
        if (!text.empty()) ShowAlert(text, MessageText(MsgClose));
    };
    tell(DropOldCommitRecord(path));
    const std::string ownName = OwnName(path, folder);
    tell(RecoverJournal(folder + ownName + ".journal"));
    TournamentFileRounds rounds;
    if (PeekTournamentFile(path, rounds) && !rounds.baseName.empty() && rounds.baseName != ownName)
        tell(RecoverJournal(folder + rounds.baseName + ".journal"));
}

} // namespace

std::vector<int> PairingNumberOrder(int count, int answer) {
    count = std::clamp(count, 0, MaxPlayers);
    std::vector<int> order;
    for (int id = 1; id <= count; ++id)
        order.push_back(id);
    if (answer == 0) {
        std::stable_sort(order.begin(), order.end(),
                         [](int a, int b) { return ComparePairingNumberOrder(a, b) < 0; });
    } else if (answer == 1) {
        // Each draw picks a place; a place already taken walks on to the
        // next free id, wrapping from count to 1.
        std::vector<bool> taken(count + 1, false);
        for (int j = 0; j < count; ++j) {
            const int r = NextRandom();
            const int b = static_cast<int>(static_cast<double>(count * r) / 32768.0);
            int id = b + 1;
            while (taken[id])
                id = id == count ? 1 : id + 1;
            taken[id] = true;
            order[j] = id;
        }
    }
    return order;
}

bool StartTournament(int count) {
    // Checked before anything is written: a round-robin file with another
    // count could not be read back, and the tournament would be lost.
    if (IsRoundRobin() && (count < RoundRobinMinPlayers || count > RoundRobinMaxPlayers)) {
        ShowAlert(RoundRobinCountText(), MessageText(MsgClose));
        return false;
    }
    // Every answer starts the tournament: a question left unanswered stops
    // it before anything is written, as does one of round 1's.
    const int answer = AskQuestion(MessageText(MsgPairingNumbersQuestion), MessageText(MsgNumbersByRating),
                                   MessageText(MsgNumbersByDraw), MessageText(MsgNumbersAsEntered), QuestionLeft);
    if (answer == QuestionLeft) return false;
    const int sortBefore = RandomSort;
    RandomSort = answer;
    if (TournamentWindow.askFirstRound && !TournamentWindow.askFirstRound()) {
        RandomSort = sortBefore;
        return false;
    }
    const std::vector<int> order = PairingNumberOrder(count, answer);

    // The tournament on disk changes in one step: the round-state file and
    // the tournament file that lists the players at their numbers and says
    // that a round state goes with it are committed together.
    const int savedBefore = IsSavedRound;
    if (IsRoundRobin()) {
        // The schedule goes by pairing number only, before the players have
        // theirs. A round robin accepts each round as it pairs it: its first
        // is in place in the round state written, as the window shows it.
        if (BuildRoundRobinPairings(count) == 0) {
            ShowAlert(RoundRobinCountText(), MessageText(MsgClose));
            return false;
        }
        SetCurrentRound(1);
        RoundAccepted();
    }
    PlayerNumbersFixed();
    const std::string statePath = RoundStatePath();
    TournamentChange change;
    WriteRoundStateFileInto(change.journal().write(statePath));
    WriteTournamentFileInto(change.journal().write(TournamentFilePath(0)), IsSavedRound, order);
    if (!change.commit()) {
        // The registration stays open, the folder as it was.
        RestoreSavedRound(savedBefore);
        SetCurrentRound(0);
        RoundsDeleted();
        return false;
    }
    TournamentMatchesFile();
    if (TournamentWindow.clearPlayerLists) TournamentWindow.clearPlayerLists();
    if (TournamentWindow.hidePlayerList) TournamentWindow.hidePlayerList();
    const bool read = ReadTournamentFile(TournamentFilePath(0));
    if (TournamentWindow.showPlayerList) TournamentWindow.showPlayerList();
    if (!read) return false;
    // A round robin's rounds are read back too, as an open would take
    // them: the pages show them put in place, nothing of before kept.
    if (IsRoundRobin() && !ReadRoundStateFile(statePath)) return false;
    if (TournamentWindow.pairFirstRound) TournamentWindow.pairFirstRound(PlayerCount);
    return true;
}

bool OpenTournament(const std::string& path) {
    const std::string folderBefore = Settings.DataFolder;
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    if (folder.size() >= sizeof Settings.DataFolder) {
        ShowAlert(MessageText(MsgCannotReadTournamentFile) + "\n" + path, MessageText(MsgClose));
        return false;
    }
    RecoverTournamentFiles(path, folder);
    if (!RoundsReadable(path, folder)) return false;
    // The tournament open before leaves nothing behind: its registration
    // state and its rounds belong to it alone.
    const int closedBefore = ClosedRegistration;
    ClosedRegistration = 0;
    if (!ReadTournamentFile(path)) {
        ClosedRegistration = closedBefore;
        return false;
    }
    CopyField(Settings.DataFolder, folder);
    const int savedRound = IsSavedRound;
    ResetTournament();
    RestoreSavedRound(savedRound);
    TournamentMatchesFile();

    // The round-state file goes with the tournament only when its file says
    // a round state was saved: one left beside a tournament whose
    // registration is open holds the rounds of another event, or of rounds
    // taken back, and would credit their games to the players listed now.
    // A refused round-state file leaves the reset tables in place.
    if (savedRound != 0) ReadRoundStateFile(RoundStatePath());
    return true;
}
