// The report's list of section folders: the scrolled list of the main
// window (SectionList), its count (SectionCount) and the table of paths by
// section number (SectionTable), with the operations that add and remove a
// section and keep the list in "template.txt" in the current folder.
//
// The list widget belongs to the main window; this module only holds its
// handle. Every path in the list ends in '/', so that a file name can be
// appended to it directly.
#pragma once

#include <string>

struct WkObject;

inline constexpr int kMaxSections = 8;
// The longest section path the list and the table hold, its '/' included.
inline constexpr int kMaxSectionPath = 150;

extern int SectionCount;
extern WkObject* SectionList;
// Entry k is section k's folder (1..SectionCount); entry 0 is not used.
extern char SectionTable[kMaxSections + 1][kMaxSectionPath + 1];

// Copies the list's items into SectionTable, item k-1 into entry k.
void FillSectionTable();
// The folder as a list item: the path with one '/' at its end.
std::string SectionItemText(const std::string& path);
// Appends the folder to the list; refuses (alert "Operation not valid", list
// unchanged) a ninth section, a path of two characters or fewer and a path
// too long for the list, and says so of a folder the list holds already.
bool AppendSection(const std::string& path);

// The buttons' callbacks: "Add Section" (user data: the folder tree) and
// "Remove Section", which asks before it removes the selected item.
void AddSection(WkObject* button, void* record, void* tree);
void RemoveSection(WkObject* button, void* record, void* userData);

// "template.txt": the section count on its first line, then one path a line.
// LoadTemplate replaces the list with the paths it holds (at most 8, none
// longer than the list takes or holding a NUL byte, each folder once); a
// template without its count, with fewer paths than it announces or with an
// empty one is refused by its line and the list kept.
// SaveTemplate writes the list; it returns false only when a list could not
// be written (an empty list has nothing to lose: it is refused with an alert
// and counts as done).
void LoadTemplate();
bool SaveTemplate();
