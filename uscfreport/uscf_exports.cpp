#include "uscfreport/uscf_exports.h"

#include "tournament/calendar_date.h"
#include "tournament/files/atomic_file.h"
#include "tournament/files/line_reader.h"

#include <cstdio>

ReportDateTexts ReportDates;

namespace {

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

} // namespace

bool ReadSectionFile(const std::string& folder, bool whole, SectionFile& section, std::string& error,
                     const std::string& openFailure, bool naming) {
    const std::string path = folder + kSectionFileName;
    LineReader reader(path);
    if (!reader.ok()) {
        error = naming ? openFailure + "\n" + path : openFailure;
        return false;
    }
    std::string line;
    reader.next(line);
    const std::vector<std::string> words = Words(line);
    if (words.size() != 3 || !IsDate(words[0]) || !IsDate(words[1]) || !ParseInt(words[2], section.playerCount) ||
        section.playerCount < 0) {
        error = reader.error("the begin date, the end date (real dates: YYYYMMDD) and the number of players expected");
        return false;
    }
    section.beginDate = words[0];
    section.endDate = words[1];
    if (!whole) return true;
    if (!reader.next(section.sectionLine)) {
        error = reader.error("the section line expected");
        return false;
    }
    reader.next(line); // the empty line before the players
    section.playerLines.clear();
    while (int(section.playerLines.size()) < section.playerCount && reader.next(line))
        section.playerLines.push_back(line);
    return true;
}

void MergeReportDates(ReportDateTexts& dates, const SectionFile& section) {
    if (DateValue(section.beginDate) < DateValue(dates.earliestBegin)) dates.earliestBegin = section.beginDate;
    if (DateValue(section.endDate) > DateValue(dates.latestEnd)) dates.latestEnd = section.endDate;
}

bool WriteExportFiles(const std::string& folder, const std::vector<std::string>& fields,
                      const std::vector<SectionFile>& sections, std::string& error) {
    AtomicFileWriter header(folder + "thexport.txt");
    if (!header.ok()) {
        error = "Cannot save the Tournament Header File";
        return false;
    }
    AtomicFileWriter sectionExport(folder + "tsexport.txt"), detailExport(folder + "tdexport.txt");
    if (!sectionExport.ok() || !detailExport.ok()) {
        error = "Cannot save the Tournament Section File";
        return false;
    }
    const char* eventId = fields.empty() ? "" : fields[0].c_str();
    std::fputs("B\t", header.stream());
    for (const std::string& field : fields) std::fprintf(header.stream(), "%s\t", field.c_str());
    std::fputs("\r\n", header.stream());
    for (std::size_t k = 1; k <= sections.size(); ++k) {
        const SectionFile& section = sections[k - 1];
        PutLine(sectionExport.stream(), eventId, k, section.sectionLine);
        for (const std::string& line : section.playerLines) PutLine(detailExport.stream(), eventId, k, line);
    }
    // Nothing replaces an old export before all three new ones are on disk.
    for (AtomicFileWriter* file : {&header, &sectionExport, &detailExport})
        if (std::fflush(file->stream()) != 0 || std::ferror(file->stream())) {
            error = file == &header ? "Cannot save the Tournament Header File" : "Cannot save the Tournament Section File";
            return false;
        }
    if (!header.commit()) {
        error = "Cannot save the Tournament Header File";
        return false;
    }
    if (!sectionExport.commit() || !detailExport.commit()) {
        error = "Cannot save the Tournament Section File";
        return false;
    }
    return true;
}
