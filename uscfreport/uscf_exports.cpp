#include "uscfreport/uscf_exports.h"

#include "tournament/calendar_date.h"
#include "tournament/files/journal.h"
#include "tournament/files/line_reader.h"

#include <cstdio>
#include <string_view>

ReportDateTexts ReportDates;

namespace {

constexpr std::size_t kSectionFields = 14;
const char* const kExportNames[3] = {"thexport.txt", "tsexport.txt", "tdexport.txt"};

// Line 1 holds tourman's dates, "YYYYMMDD": the report orders them as numbers,
// so anything else would give the event another section's first or last day.
bool IsDate(const std::string& text) {
    CalendarDate date;
    return ParseDate(text, DateForm::UscfForm, date);
}

// The bytes of a line copied as read, NUL bytes included, and its line end.
void PutLine(std::FILE* file, const char* prefix, std::size_t section, const std::string& line) {
    std::fprintf(file, "%s\t%zu\t", prefix, section);
    std::fwrite(line.data(), 1, line.size(), file);
    std::fputs("\r\n", file);
}

long long DateValue(const std::string& date) {
    return std::stoll(date);
}

// The fields of a tab-separated line; the text after its last tab is the
// last field.
std::vector<std::string_view> TabFields(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t tab = line.find('\t', from);
        fields.push_back(line.substr(from, tab == std::string_view::npos ? tab : tab - from));
        if (tab == std::string_view::npos) return fields;
        from = tab + 1;
    }
}

// Line 2 as tourman writes it: the section's fourteen fields, none empty,
// each ended by a tab. A line with fewer would give USCF a record whose
// fields stand in the wrong columns.
bool IsSectionLine(const std::string& line) {
    const std::vector<std::string_view> fields = TabFields(line);
    if (fields.size() != kSectionFields + 1 || !fields.back().empty()) return false;
    for (std::size_t i = 0; i < kSectionFields; ++i)
        if (fields[i].empty()) return false;
    return true;
}

// A whole number right-aligned in at least width characters.
bool IsNumber(std::string_view text, std::size_t width, int& value) {
    return text.size() >= width && ParseInt(text, value);
}

// What player id's line lacks of what tourman writes, "" when nothing: the
// id, the USCF id, the name padded to 30 characters, the country's two, the
// rating, then a cell a round, a result letter and the opponent ("W12",
// "X0"). A line cut short loses a column or leaves a cell without its
// opponent; a letter USCF does not know, or an opponent outside the
// section, would reach USCF as a result of some other game.
std::string PlayerLineFault(const std::string& line, int id, int players) {
    const std::vector<std::string_view> fields = TabFields(line);
    int number = 0;
    if (fields.size() < 5 || !IsNumber(fields[0], 4, number) || number != id ||
        !IsNumber(fields[1], 8, number) || fields[2].size() != 30 || fields[3].size() != 2 ||
        !IsNumber(fields[4], 4, number))
        return "player " + std::to_string(id) + "'s line expected (line 1 announces " +
               std::to_string(players) +
               "):\nid, USCF id, name (30 characters), country (2), rating,\n"
               "then the rounds' cells and the line end";
    for (std::size_t i = 5; i < fields.size(); ++i) {
        const std::string_view cell = fields[i];
        int opponent = -1;
        if (cell.empty() || std::string_view("WLDXFZU").find(cell[0]) == std::string_view::npos ||
            cell.find_first_not_of("0123456789", 1) != std::string_view::npos ||
            !ParseInt(cell.substr(1), opponent) || opponent > players || opponent == id)
            return "player " + std::to_string(id) + "'s cell " + std::to_string(i - 4) +
                   " expected: W, L, D, X, F, Z or U, then an opponent from 0 to " + std::to_string(players) +
                   " other than " + std::to_string(id) + ", not \"" + std::string(cell) + "\"";
    }
    return "";
}

} // namespace

bool ReadSectionFile(const std::string& folder, SectionFile& section, std::string& error,
                     const std::string& openFailure) {
    const std::string path = folder + kSectionFileName;
    LineReader reader(path);
    if (!reader.ok()) {
        error = openFailure + "\n" + reader.unopened();
        return false;
    }
    const auto refuse = [&](int line, const std::string& expected) {
        error = path + ", line " + std::to_string(line) + ": " + expected;
        return false;
    };
    std::string line;
    reader.next(line);
    const std::vector<std::string> words = Words(line);
    if (words.size() != 3 || !IsDate(words[0]) || !IsDate(words[1]) ||
        !ParseInt(words[2], section.playerCount) || section.playerCount < 0)
        return refuse(
            1, "the begin date, the end date (real dates: YYYYMMDD) and the number of players expected");
    if (DateValue(words[0]) > DateValue(words[1]))
        return refuse(1, "a begin date not after the end date expected");
    section.beginDate = words[0];
    section.endDate = words[1];
    if (!reader.next(section.sectionLine) || !IsSectionLine(section.sectionLine))
        return refuse(2, "the section line expected:\nits 14 fields, none empty, each ended by a tab");
    // Its fifth and sixth fields are the TDs' USCF ids: an id left at 0 would
    // reach USCF as a section nobody directed.
    const std::vector<std::string_view> fields = TabFields(section.sectionLine);
    for (const auto& [field, label] : {std::pair{4, "ID Chief TD"}, std::pair{5, "ID Assistant TD"}})
        if (fields[field].find_first_not_of('0') == std::string_view::npos)
            return refuse(2, std::string("the real USCF id in \"") + label + "\" expected, not " +
                                 std::string(fields[field]));
    if (reader.next(line) && line.find_first_not_of(" \t") != std::string::npos)
        return refuse(3, "an empty line expected");
    section.playerLines.clear();
    for (int id = 1; id <= section.playerCount; ++id) {
        const bool read = reader.next(line) && reader.lineEnded();
        if (const std::string fault = PlayerLineFault(read ? line : "", id, section.playerCount);
            !fault.empty())
            return refuse(id + 3, fault);
        section.playerLines.push_back(line);
    }
    return true;
}

void MergeReportDates(ReportDateTexts& dates, const SectionFile& section) {
    if (DateValue(section.beginDate) < DateValue(dates.earliestBegin)) dates.earliestBegin = section.beginDate;
    if (DateValue(section.endDate) > DateValue(dates.latestEnd)) dates.latestEnd = section.endDate;
}

std::string RecoverExports(const std::string& folder) {
    const std::string dropped = DropOldCommitRecord(folder + kExportNames[0]);
    const std::string recovered = RecoverJournal(ExportsJournalPath(folder));
    return dropped + (dropped.empty() || recovered.empty() ? "" : "\n") + recovered;
}

std::string ExportsJournalPath(const std::string& folder) {
    return folder + kExportNames[0] + ".journal";
}

bool WriteExportFiles(const std::string& folder, const std::vector<std::string>& fields,
                      const std::vector<SectionFile>& sections, std::string& error) {
    const std::string paths[3] = {folder + kExportNames[0], folder + kExportNames[1], folder + kExportNames[2]};
    static const char* const kinds[3] = {"Header", "Section", "Detail"};
    // The three replace the old ones together, also across a kill or a
    // power cut: a set mixed from two reports would give USCF sections and
    // players of another event ID. A change left standing by an earlier
    // Done is finished first (the caller has run RecoverExports).
    Journal journal(ExportsJournalPath(folder));
    AtomicFileWriter* const writers[3] = {&journal.write(paths[0]), &journal.write(paths[1]), &journal.write(paths[2])};
    const auto cannot = [&](const std::string& problem, Journal::Outcome outcome) {
        std::size_t i = 0;
        while (i < 3 && problem.compare(0, paths[i].size(), paths[i]) != 0) ++i;
        error = (i < 3 ? std::string("Cannot save the Tournament ") + kinds[i] + " File\n" + paths[i]
                       : "Cannot save the exports\n" + problem) +
                (outcome == Journal::Outcome::Stands
                     ? "\nThe three new exports are put in place at the next Done, or when uscfreport starts next."
                     : "\nThe three exports are as they were.");
        return false;
    };
    for (std::size_t i = 0; i < 3; ++i)
        if (!writers[i]->ok()) return cannot(paths[i], Journal::Outcome::Before);
    std::FILE* const header = writers[0]->stream();
    const char* eventId = fields.empty() ? "" : fields[0].c_str();
    std::fputs("B\t", header);
    for (const std::string& field : fields) std::fprintf(header, "%s\t", field.c_str());
    std::fputs("\r\n", header);
    for (std::size_t k = 1; k <= sections.size(); ++k) {
        const SectionFile& section = sections[k - 1];
        PutLine(writers[1]->stream(), eventId, k, section.sectionLine);
        for (const std::string& line : section.playerLines) PutLine(writers[2]->stream(), eventId, k, line);
    }
    std::string problem;
    const Journal::Outcome outcome = journal.commit(problem);
    return outcome == Journal::Outcome::After || cannot(problem, outcome);
}
