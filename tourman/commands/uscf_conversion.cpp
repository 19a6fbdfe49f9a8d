#include "tourman/commands/uscf_conversion.h"

#include "toolkit/widgets/file_browser.h"
#include "tournament/files/atomic_file.h"
#include "tournament/files/line_reader.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kFieldCount = 6;

// The fields between tabs; a run of tabs separates once, so no field is empty.
std::vector<std::string> TabFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    while ((at = line.find_first_not_of('\t', at)) != std::string::npos) {
        const std::size_t end = line.find('\t', at);
        fields.push_back(line.substr(at, end == std::string::npos ? std::string::npos : end - at));
        at = end;
    }
    return fields;
}

// The whole number a field starts with (0 when it starts with none).
int Number(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : int(value);
}

void Alert(MessageNumber message) {
    ShowAlert(MessageText(message), MessageText(MsgClose));
}

} // namespace

std::string UscfFixedWidthLine(const std::string& line) {
    std::vector<std::string> f = TabFields(line);
    // A missing field is blank, or 0 as a number: never the line before's.
    f.resize(std::max<std::size_t>(f.size(), kFieldCount));
    char head[64];
    std::snprintf(head, sizeof head, "%-40.40s%8d  %-10.10s ", f[0].c_str(), Number(f[1]), f[2].c_str());
    // The fourth field takes its three columns and no more, so that the
    // ratings stay where a column filter reads them.
    char tail[48];
    std::snprintf(tail, sizeof tail, "%3.3s %4d %4d", f[3].c_str(), Number(f[4]), Number(f[5]));
    return std::string(head) + tail;
}

void ConvertUscfDatabase() {
    std::string file, folder;
    if (!WkFileBrowser("USCF DB", "*.*", file, folder, 1)) return;
    LineReader reader(folder + file);
    if (!reader.ok()) {
        Alert(MsgCannotOpenFile);
        return;
    }
    AtomicFileWriter writer(folder + file + ".fix");
    std::string line;
    while (writer.ok() && reader.next(line)) std::fprintf(writer.stream(), "%s\r\n", UscfFixedWidthLine(line).c_str());
    if (!writer.ok() || !writer.commit())
        ShowAlert(MessageText(MsgCannotCreateFile) + "\n" + folder + file + ".fix", MessageText(MsgClose));
}
