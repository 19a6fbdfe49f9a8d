// The image search path: the ordered folders (at most 32) in which picture
// files named without a folder are looked for, and opening a picture file
// through it.
//
// The path is built at its first use, from, in order:
// 1. the folders of the environment variable WOKU_IMAGE_PATH, split at ';'
//    and ':';
// 2. for each base folder that exists, in order "$HOME/woku", the folder
//    of the program file, the toolkit folder: its images/<program name>,
//    images/tiles and images subfolders where they exist, then the base
//    folder itself.
// Those are the built-in entries; pushed folders go above them and only
// they can be popped. Folder and file names are matched without regard to
// case where the exact spelling does not exist.
#pragma once

#include <cstdio>

inline constexpr int WK_IMAGE_PATH_SLOTS = 32;

// The first folder of the path holding a readable file of that name, or
// null. An absolute name (beginning with '/' or '\', or with a drive's
// colon as its second character) gets null without looking.
const char* WkFindImageFolder(const char* name);
// Appends a copy of the folder, within the 32 slots.
void WkPushImagePath(const char* folder);
// Removes the most recent pushed entry equal to the folder, ignoring case.
void WkPopImagePath(const char* folder);

// The folders now on the path and their count (the built-in count apart).
int WkImagePathCount();
int WkImagePathBuiltinCount();
const char* WkImagePathEntry(int index);
// Forgets the path; the next use builds it again (for a changed environment).
void WkResetImagePath();

// 1 for a name the search path does not apply to (see above).
int WkIsAbsoluteImageName(const char* name);
// Opens a picture file for reading bytes: the path as given (any case), else,
// for a name that is not absolute, the file of that name in the first
// folder of the search path that holds it. Null when none opens.
std::FILE* WkOpenImageFile(const char* path);
