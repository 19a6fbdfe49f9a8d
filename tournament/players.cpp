#include "tournament/players.h"

#include "tournament/round_tables.h"
#include "tournament/settings.h"

#include <cctype>
#include <cstring>

Player Players[PlayerRows];
int PlayerCount = 0;

const Player& PlayerRecord(int id) {
    static const Player none{};
    return IsPlayerRow(id) ? Players[id] : none;
}

std::string ShownName(int id) {
    std::string name = PlayerRecord(id).name;
    name.erase(name.find_last_not_of(' ') + 1);
    return name;
}

void ResetByePlayer() {
    Players[0] = Player{};
    std::strcpy(Players[0].name, ByeName);
    Players[0].available = 1;
    PairingStates[0].dueColor = -1;
    PairingStates[0].colorFlexible = 1;
}

int RatingForChoice(const Player& player, int ratingChoice) {
    if (ratingChoice == 1 && player.fideRating != 0) return player.fideRating;
    return player.nationalRating;
}

void ApplyRatingRule(Player& player) {
    player.ratingUsed = RatingForChoice(player, Settings.RatingChoice);
}

namespace {

struct TitleRankEntry {
    int rank;
    const char* texts[6];
};

// First match wins; the comparison is exact, so " IM" and "IM" are both listed.
const TitleRankEntry TitleRanks[] = {
    {20, {"GM", "IGM"}},
    {18, {"WGM"}},
    {16, {" IM", "IM"}},
    {14, {"WIM"}},
    {12, {" FM", "FM"}},
    {10, {"WFM"}},
    {9, {"  M", "M", "-M"}},
    {8, {" CM", "CM"}},
    {5, {"  A", "A", " 1N", "1N"}},
    {4, {"  B", "B", " 2N", "2N"}},
    {3, {"  C", "C", " 3N", "3N"}},
    {2, {"  D", "D", " 1S", "1S"}},
    {1, {"  E", "E", " 2S", "2S"}},
};

} // namespace

int TitleRank(const char* title) {
    if (title == nullptr) return 0;
    for (const TitleRankEntry& entry : TitleRanks)
        for (const char* text : entry.texts)
            if (text != nullptr && std::strcmp(title, text) == 0) return entry.rank;
    return 0;
}

char* SkipLeadingBlanks(const char* source, char* destination, std::size_t destinationSize) {
    if (destinationSize == 0) return destination;
    while (*source != '\0' && std::isspace(static_cast<unsigned char>(*source)))
        ++source;
    std::size_t n = 0;
    while (source[n] != '\0' && n + 1 < destinationSize) {
        destination[n] = source[n];
        ++n;
    }
    destination[n] = '\0';
    return destination + n;
}

char* UpperNoComma(const char* source, char* destination, std::size_t destinationSize) {
    if (destinationSize == 0) return destination;
    std::size_t n = 0;
    for (; source[n] != '\0' && n + 1 < destinationSize; ++n) {
        char c = source[n];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c == ',')
            c = ' ';
        destination[n] = c;
    }
    destination[n] = '\0';
    return destination + n;
}

void ClearPlayers() {
    for (Player& player : Players)
        player = Player{};
    PlayerCount = 0;
}
