#include "uscfreport/section_list.h"

#include "toolkit/core/folders.h"
#include "toolkit/core/startup.h"
#include "toolkit/widgets/dir_tree.h"
#include "toolkit/widgets/list.h"
#include "tournament/files/atomic_file.h"
#include "tournament/files/line_reader.h"
#include "tournament/message_box.h"
#include "uscfreport/report_window.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

int SectionCount = 0;
WkObject* SectionList = nullptr;
char SectionTable[kMaxSections + 1][kMaxSectionPath + 1] = {};

namespace {

constexpr const char* kTemplateName = "template.txt";

std::string TemplatePath() {
    return std::string(WkGetCurrentDir()) + kTemplateName;
}

std::string ItemText(int position) {
    WkListItem* item = WkListGetItem(SectionList, position);
    return item && item->text ? item->text : "";
}

// Two paths name one folder when they are equal once "//", "." and ".."
// are taken out, or when both lead to the same folder on disk (a link).
bool SameFolder(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    if (fs::path(a).lexically_normal() == fs::path(b).lexically_normal()) return true;
    return WkSameFile(a.c_str(), b.c_str()) != 0;
}

// The position of the list's item that names item's folder, -1 when none:
// a folder listed twice would have its section exported twice.
int ListedAt(const std::string& item) {
    for (int i = 0; i < SectionCount; ++i)
        if (SameFolder(ItemText(i), item)) return i;
    return -1;
}

void Add(const std::string& item) {
    WkListAddItem(SectionList, item.c_str(), 0);
    ++SectionCount;
    std::snprintf(SectionTable[SectionCount], sizeof SectionTable[0], "%s", item.c_str());
}

// The decimal number at the start of the line (blanks before it skipped); 0
// when there is none.
int LeadingCount(const std::string& line) {
    std::size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || !std::isdigit(static_cast<unsigned char>(line[at]))) return 0;
    long count = std::strtol(line.c_str() + at, nullptr, 10);
    return count > 1000000 ? 1000000 : int(count);
}

} // namespace

void FillSectionTable() {
    for (int k = 1; k <= SectionCount && k <= kMaxSections; ++k)
        std::snprintf(SectionTable[k], sizeof SectionTable[0], "%s", ItemText(k - 1).c_str());
}

std::string SectionItemText(const std::string& path) {
    return !path.empty() && path.back() == '/' ? path : path + "/";
}

bool AppendSection(const std::string& path) {
    const std::string item = SectionItemText(path);
    if (SectionCount >= kMaxSections || item.size() <= 3 || item.size() > std::size_t(kMaxSectionPath)) {
        ShowAlert("Operation not valid", "Close");
        return false;
    }
    if (const int at = ListedAt(item); at >= 0) {
        ShowAlert("This section is listed already:\n" + ItemText(at), "Close");
        return false;
    }
    WkListAddItem(SectionList, item.c_str(), 0);
    ++SectionCount;
    return true;
}

void AddSection(WkObject*, void*, void* tree) {
    AppendSection(WkDirTreeGetPath(static_cast<WkObject*>(tree)));
}

void RemoveSection(WkObject*, void*, void*) {
    if (SectionCount <= 0) return;
    if (AskThreeWay("Warning", "Are you sure do you want\nto remove the selected section?") != 1) return;
    WkListItem* item = WkListGetSelectedItem(SectionList);
    if (!item) return;
    const int position = item->position;
    --SectionCount;
    WkListDeleteItem(SectionList, position);
}

void LoadTemplate() {
    LineReader reader(TemplatePath());
    if (!reader.ok()) {
        ShowAlert("I can't read the file\n" + reader.unopened(), "Close");
        return;
    }
    // The count and its paths are read whole before the list is touched: a
    // template without its count, cut short or with an empty line would
    // leave a list other than the one saved, or list the folder "/".
    std::string line, problems;
    reader.next(line);
    int count = LeadingCount(line);
    if (count < 1) {
        ShowAlert(
            reader.error("the number of sections (at least 1) expected at its start; nothing is loaded"),
            "Close");
        return;
    }
    if (count > kMaxSections) {
        problems += reader.error("at most 8 sections expected; the first 8 are loaded") + "\n";
        count = kMaxSections;
    }
    std::vector<std::pair<std::string, int>> lines; // each path and its line
    for (int i = 1; i <= count; ++i) {
        const bool read = reader.next(line);
        if (!read || line.find_first_not_of(" \t") == std::string::npos) {
            const int at = read ? reader.lineNumber() : reader.lineNumber() + 1;
            ShowAlert(reader.name() + ", line " + std::to_string(at) + ": section folder " +
                          std::to_string(i) + " of " + std::to_string(count) + " expected; nothing is loaded",
                      "Close");
            return;
        }
        lines.emplace_back(line, reader.lineNumber());
    }
    WkListClear(SectionList);
    SectionCount = 0;
    std::vector<int> lineOf; // the template's line of each item loaded
    for (const auto& [path, number] : lines) {
        const std::string item = SectionItemText(path);
        const std::string at = reader.name() + ", line " + std::to_string(number) + ": ";
        int listed = -1;
        // The list would hold the path only up to a NUL byte: another folder.
        if (item.find('\0') != std::string::npos)
            problems += at + "a section path without a NUL byte expected; it is not loaded\n";
        else if (item.size() > std::size_t(kMaxSectionPath))
            problems += at + "a section path of at most 150 characters expected; it is not loaded\n";
        else if ((listed = ListedAt(item)) >= 0)
            problems += at + "a folder not listed yet expected (line " +
                        std::to_string(lineOf[std::size_t(listed)]) + " lists it); it is not loaded\n";
        else {
            Add(item);
            lineOf.push_back(number);
        }
    }
    if (!problems.empty()) ShowAlert(problems.substr(0, problems.size() - 1), "Close");
}

bool SaveTemplate() {
    if (SectionCount <= 0) {
        ShowAlert("There aren't Section to save", "Close");
        return true;
    }
    AtomicFileWriter file(TemplatePath());
    if (file.ok()) {
        std::fprintf(file.stream(), "%2d # number of sections\r\n", SectionCount);
        for (int k = 1; k <= SectionCount; ++k) std::fprintf(file.stream(), "%s\r\n", ItemText(k - 1).c_str());
    }
    if (!file.ok() || !file.commit()) {
        ShowAlert("I can't save the file", "Close");
        return false;
    }
    FillSectionTable();
    return true;
}
