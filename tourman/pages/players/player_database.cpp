#include "tourman/pages/players/player_database.h"

#include "toolkit/widgets/file_browser.h"
#include "tourman/pages/players/player_list.h"
#include "tournament/files/atomic_file.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/players.h"
#include "tournament/settings.h"

#include <cstdio>

std::string PlayerDatabasePath;
int DatabaseFree = 1;

namespace {

void Alert(MessageNumber message) {
    ShowAlert(MessageText(message), MessageText(MsgClose));
}

} // namespace

void ExportPlayersCommand() {
    if (PlayerCount < 1) {
        Alert(MsgNoPlayerRegistered);
        return;
    }
    std::string file, folder;
    if (!WkFileBrowser(MessageText(MsgSaveAs).c_str(), "*.csv", file, folder, 1)) return;
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
    ShowAlert(MessageText(MsgCannotCreateFile) + "\n" + path, MessageText(MsgClose));
    return false;
}
