#include "tourman/player_database.h"

#include "toolkit/core/object_attrs.h"
#include "toolkit/widgets/file_browser.h"
#include "tourman/column_filter.h"
#include "tourman/database_page.h"
#include "tourman/player_list.h"
#include "tournament/files/atomic_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/settings.h"

#include <cstdint>
#include <cstdio>

std::string PlayerDatabasePath;
int DatabaseFree = 1;

namespace {

// The browser's title and the input column's colour, by kind.
struct DatabaseKind {
    int title;
    int red, green, blue;
};
constexpr DatabaseKind kKinds[] = {
    {0, 0, 0, 0}, {24, 180, 180, 255}, {25, 255, 180, 180}, {26, 180, 255, 180}, {27, 180, 180, 255},
};

void Alert(int message) {
    ShowAlert(MessageText(message), MessageText(3));
}

} // namespace

void ChoosePlayerDatabase(WkMenuItem*, int, void* data) {
    const int kind = int(reinterpret_cast<std::intptr_t>(data));
    if (kind < ImportQuon || kind > ImportFsi) return;
    if (!DatabaseFree) {
        Alert(23);
        return;
    }
    if (kind == ImportFide) LoadColumnFilter(nullptr, nullptr, reinterpret_cast<void*>(1));
    std::string file, folder;
    if (!WkFileBrowser(MessageText(kKinds[kind].title).c_str(), "*.*", file, folder, 1)) return;
    // Only a choice that goes ahead changes the kind, so an open database
    // stays usable after a refusal or a cancel.
    PlayerDatabasePath = folder + file;
    ImportMode = kind;
    if (WkObject* input = DatabasePage.input) {
        WkObjectEnable(input);
        WkObjectSetBackgroundRGB(input, kKinds[kind].red, kKinds[kind].green, kKinds[kind].blue);
    }
    TournamentSaved = 0;
    DatabaseFree = 0;
}

void ExportPlayersCommand() {
    if (PlayerCount < 1) {
        Alert(10);
        return;
    }
    std::string file, folder;
    if (!WkFileBrowser(MessageText(30).c_str(), "*.csv", file, folder, 1)) return;
    // The file shows the list as it stands, the players typed since the last save too.
    if (!CommitPlayerList()) return;
    WritePlayersExport(folder + file);
}

bool WritePlayersExport(const std::string& path) {
    AtomicFileWriter writer(path);
    if (std::FILE* out = writer.stream()) {
        std::fputs("NAME;COUNTRY;BIRTHDAY;GENDER;TITLE;IDFIDE;ELOFIDE;IDNAT;ELONAT;KCOEFF\r\n", out);
        for (int id = 1; id <= PlayerCount; ++id) {
            const Player& p = Players[id];
            std::fprintf(out, "%-20s;%3.3s;%8.8s;%c;%3.3s;%8d;%5d;%8d;%5d;%2d\r\n", p.name, p.country, p.birthDate,
                         p.gender, p.title, p.fideId, p.fideRating, p.nationalId, p.nationalRating, p.k);
        }
    }
    if (writer.ok() && writer.commit()) return true;
    Alert(31);
    return false;
}
