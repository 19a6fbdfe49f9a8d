#include "tournament/files/rounds_aside.h"

#include "tournament/files/atomic_file.h"
#include "tournament/files/host_files.h"
#include "tournament/files/journal.h"
#include "tournament/files/line_reader.h"
#include "tournament/files/tournament_file.h"
#include "tournament/players.h"
#include "tournament/settings.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string Folder() {
    return Settings.DataFolder;
}

std::string Base() {
    return Settings.BaseName;
}

std::string RecordName(const std::string& stem) {
    return stem + ".players";
}

std::string WithoutTrailingBlanks(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

// Whether any kept name of the stem is taken in the folder.
bool StemTaken(const std::set<std::string>& names, const std::string& stem) {
    if (names.count(stem + ".rnd") || names.count(RecordName(stem))) return true;
    const std::string snapshots = stem + "-round";
    const auto after = names.lower_bound(snapshots);
    return after != names.end() && after->compare(0, snapshots.size(), snapshots) == 0;
}

// The record of the players into out; a failed write shows at the commit,
// which then changes nothing.
void WriteRecord(AtomicFileWriter& out, const std::string& kept) {
    if (!out.ok()) return;
    std::fprintf(out.stream(), "Players of the rounds kept aside in \"%s\", by number\r\n%d\r\n", kept.c_str(),
                 PlayerCount);
    for (int id = 1; id <= PlayerCount; ++id)
        std::fprintf(out.stream(), "%s\r\n", FormatPlayerLine(Players[id]).c_str());
}

// The names a player line of the record gives, by number; the record's
// count must match its lines.
std::vector<std::string> ReadRecord(const std::string& path, std::vector<int>& lines) {
    LineReader reader(path);
    if (reader.irregular()) throw BadFile{path + ": the file cannot be opened: it is not a regular file"};
    if (!reader.ok()) throw BadFile{path + ": the file cannot be opened"};
    StrictLines in(reader);
    in.line("the heading of the players' record");
    int count = 0;
    if (!ParseInt(in.line("the number of players"), count) || count < 0 || count > MaxPlayers)
        in.fail("expected the number of players, 0 to " + std::to_string(MaxPlayers));
    std::vector<std::string> names;
    for (int id = 1; id <= count; ++id) {
        const std::string line = in.line("the line of player " + std::to_string(id));
        const std::size_t end = line.find(';');
        if (end == std::string::npos) in.fail("expected the line of player " + std::to_string(id) + ", fields split by ';'");
        names.push_back(WithoutTrailingBlanks(line.substr(0, end)));
        lines.push_back(reader.lineNumber());
    }
    in.end("the " + std::to_string(count) + " players");
    return names;
}

} // namespace

std::string KeptRoundFileName(const RoundsAside& aside) {
    return aside.mainKept ? aside.stem + ".rnd" : std::string();
}

std::string KeptSnapshotName(const std::string& stem, int round) {
    return stem + "-round" + std::to_string(round) + ".rnd";
}

int SnapshotRound(const std::string& name, const std::string& base) {
    if (name.size() <= base.size() + 4 || name.compare(0, base.size(), base) != 0 ||
        name.compare(name.size() - 4, 4, ".rnd") != 0)
        return 0;
    const std::string digits = name.substr(base.size(), name.size() - base.size() - 4);
    int round = 0;
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits[0] == '0' ||
        !ParseInt(digits, round))
        return 0;
    return round;
}

bool SetRoundsAside(Journal& change, RoundsAside& aside, std::string& problem) {
    aside = RoundsAside{};
    const std::string folder = Folder(), base = Base();
    std::set<std::string> names;
    std::vector<int> rounds;
    bool mainThere = false;
    std::error_code error;
    for (fs::directory_iterator it(HostFileName(folder.empty() ? "." : folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = FromHostFileName(it->path().filename().string());
        names.insert(name);
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        if (name == base + ".rnd") mainThere = true;
        else if (const int round = SnapshotRound(name, base)) rounds.push_back(round);
    }
    if (error) {
        problem = "the folder \"" + folder + "\" cannot be read";
        return false;
    }
    std::sort(rounds.begin(), rounds.end());
    if (!mainThere && rounds.empty()) return true;
    std::string stem;
    for (int n = 1; stem.empty() && n < 1000; ++n) {
        const std::string candidate = base + "-reopened" + (n == 1 ? "" : std::to_string(n));
        if (!StemTaken(names, candidate)) stem = candidate;
    }
    if (stem.empty()) {
        problem = "\"" + base + "-reopened<n>.rnd\" could not be made";
        return false;
    }
    aside.stem = stem;
    WriteRecord(change.write(folder + RecordName(stem)), stem + ".rnd");
    if (mainThere) change.link(folder + base + ".rnd", folder + stem + ".rnd");
    aside.mainKept = mainThere;
    for (int round : rounds)
        change.rename(folder + base + std::to_string(round) + ".rnd", folder + KeptSnapshotName(stem, round));
    aside.snapshots = rounds;
    return true;
}

std::string KeptPlayersProblem(const std::string& path) {
    if (path.size() < 4 || path.compare(path.size() - 4, 4, ".rnd") != 0) return std::string();
    std::string stem = path.substr(0, path.size() - 4);
    // A snapshot kept aside shares the record of its round file.
    const std::size_t mark = stem.rfind("-round");
    std::string record = RecordName(stem);
    if (HostFileKindOf(record) == HostFileKind::Missing && mark != std::string::npos &&
        stem.find_first_not_of("0123456789", mark + 6) == std::string::npos && mark + 6 < stem.size())
        record = RecordName(stem.substr(0, mark));
    if (HostFileKindOf(record) == HostFileKind::Missing) return std::string();
    std::vector<int> lines;
    std::vector<std::string> names;
    try {
        names = ReadRecord(record, lines);
    } catch (const BadFile& bad) {
        return bad.what;
    }
    if (static_cast<int>(names.size()) != PlayerCount)
        return path + ": its rounds were played by " + std::to_string(names.size()) + " players, as \"" + record +
               "\" lists them; the tournament has " + std::to_string(PlayerCount);
    for (int id = 1; id <= PlayerCount; ++id) {
        const std::string now = WithoutTrailingBlanks(PlayerFileText(Players[id].name));
        if (now == names[id - 1]) continue;
        return path + ": its rounds were played by another list of players: player " + std::to_string(id) +
               " was \"" + names[id - 1] + "\" (" + record + ", line " + std::to_string(lines[id - 1]) +
               "), the tournament's player " + std::to_string(id) + " is \"" + now + "\"";
    }
    return std::string();
}

int RoundFileRounds(const std::string& path) {
    LineReader reader(path);
    std::string line;
    if (!reader.ok() || !reader.next(line)) return -1;
    const std::vector<std::string> words = Words(line);
    int round = -1;
    return !words.empty() && ParseInt(words[0], round) && round >= 0 ? round : -1;
}
