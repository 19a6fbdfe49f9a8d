// Report writers run aside: each on a thread of its own while the caller
// goes on, for the standing reports that every recomputation of scores
// writes (on a large tournament the player cards alone run to megabytes).
//
// A writer run aside may only read the tournament: until AwaitWritersAside
// has returned, nothing may change what it reads, and no two writers aside
// may write the same file. Owns the writers' threads until they are waited
// for; at exit the writers still running are waited for.
#pragma once

#include <functional>

// Starts the writer, which returns whether it wrote its files; runs it here,
// before returning, when no thread can be had.
void WriteAside(std::function<bool()> writer);

// Waits for every writer run aside since the last wait; true when each of
// them wrote its files (also when there was none).
bool AwaitWritersAside();
