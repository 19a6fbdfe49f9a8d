#include "tourman/results_file.h"

#include "toolkit/widgets/file_browser.h"
#include "tourman/result_entry.h"
#include "tourman/results_list.h"
#include "tournament/game_code.h"
#include "tournament/line_reader.h"
#include "tournament/message_box.h"
#include "tournament/message_table.h"
#include "tournament/round_state.h"
#include "tournament/round_tables.h"
#include "tournament/settings.h"

namespace {

constexpr const char* kOtherRound =
    "The selected file doens't correspond to the current round!\nPlease choose the correct one";

// The line's words as numbers, exactly count of them.
bool Numbers(const std::string& line, std::size_t count, int* values) {
    const std::vector<std::string> words = Words(line);
    if (words.size() != count) return false;
    for (std::size_t i = 0; i < count; ++i)
        if (!ParseInt(words[i], values[i])) return false;
    return true;
}

void Alert(const std::string& text) {
    ShowAlert(text, MessageText(3));
}

} // namespace

bool ReadResultsFile(const std::string& path, int round, std::vector<int>& codes) {
    codes.clear();
    LineReader reader(path);
    if (!reader.ok()) {
        Alert(MessageText(29));
        return false;
    }
    const int boards = RoundBoardCount(round);
    std::vector<int> read;
    std::string line;
    int head[2];
    if (!reader.next(line) || !Numbers(line, 2, head)) {
        Alert(reader.error("expected the number of boards and the round"));
        return false;
    }
    if (head[0] != boards || head[1] != CurrentRound) {
        Alert(kOtherRound);
        return false;
    }
    for (int board = 1; board <= boards; ++board) {
        int white, black, digit, game[3];
        DecodeGameCode(GameTable(board, round), white, black, digit);
        const std::string expected = "expected White " + std::to_string(white) + " and Black " +
                                     std::to_string(black) + " of board " + std::to_string(board) +
                                     " and a result digit 0 to 9";
        if (!reader.next(line)) {
            Alert(path + ": the file ends early; " + expected);
            return false;
        }
        if (!Numbers(line, 3, game) || game[0] != white || game[1] != black || game[2] < 0 || game[2] > 9) {
            Alert(reader.error(expected));
            return false;
        }
        read.push_back(EncodeGameCode(white, black, game[2]));
    }
    while (reader.next(line)) {
        if (!Words(line).empty()) {
            Alert(reader.error("expected the end of the file after board " + std::to_string(boards)));
            return false;
        }
    }
    codes = std::move(read);
    return true;
}

void LoadResultsFile() {
    if (!ResultEntryOpen()) {
        Alert("The result entry is closed: press \"" + MessageText(206) + "\" first.");
        return;
    }
    if (IsRoundRobin()) {
        Alert(MessageText(17));
        return;
    }
    std::string file, folder;
    if (!WkFileBrowser("Load File Results", "*.res", file, folder, 1)) return;
    std::vector<int> codes;
    if (!ReadResultsFile(folder + file, ShownRound, codes)) return;
    for (std::size_t i = 0; i < codes.size(); ++i) GameTable(int(i) + 1, ShownRound) = codes[i];
    ShowRound(ShownRound);
}
