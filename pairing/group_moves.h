// Moving players of the FIDE Dubov and Swiss Quon engines between the lists
// and queues of the score groups.
//
// Every move goes through one of these operations, so that the score-group
// store always shows where each player stands and the pairing trace names
// every move as it happens. They own nothing: they change the groups of the
// store (score_groups.h) and the players' currentGroup and workingColor.
#pragma once

// Removes p from the white-due (fromWhite != 0) or black-due list of group
// from and files him in the white-due (toWhite != 0) or black-due list of
// group to; his currentGroup and workingColor follow.
void MovePlayerBetweenColorLists(int p, int from, int fromWhite, int to, int toWhite);

// Removes p from his colour list of group from and appends him to the
// downfloater queue (MoveToFloaterGroup) or the opponent queue
// (MoveToOpponentGroup) of group to; currentGroup becomes to and
// workingColor his colour due.
void MoveToFloaterGroup(int p, int from, int to);
void MoveToOpponentGroup(int p, int from, int to);

// 1 when p sits in the white-due list of group g, 0 when in the black-due
// one (or in neither). His workingColor names the list; a player found only
// in the other list is reported where he is.
int SitsInWhiteDueList(int p, int g);

// Players held by groups g..groupCount: colour lists, downfloater queues and
// opponent queues.
int PlayersInGroupsFrom(int g, int groupCount);
